#include "layout/dialogs/StaffPreview.h"

#include <algorithm>

#include "platform/draw/DeviceContext.h"

namespace vornel {

StaffPreview::StaffPreview(const CInstrumentDlg* definition) { BuildLine(definition); }

void StaffPreview::BuildLine(const CInstrumentDlg* definition) {
  // The line goes first: it points to the definition about to be replaced.
  line_.reset();
  definition_ = std::make_unique<CInstrumentDlg>();
  if (definition != nullptr) {
    definition_->CopyFrom(*definition);
    definition_->CopyStavesFrom(*definition);
  }
  definition_->EnsureStave();
  line_ = std::make_unique<CInstrument>(*definition_);
  line_->selectedVoice = 0;
}

void StaffPreview::ShowDefinition(const CInstrumentDlg& definition, bool notation) {
  BuildLine(&definition);
  CInstrument& line = *line_;
  if (line.staves.size() == 0) return;
  CClef& stave = *line.GetCurrentStave();
  if (notation && stave.IsTablature()) {
    stave.type = CClef::kStaff;
    stave.lines = 5;
  } else if (!notation && !stave.IsTablature()) {
    stave.type = CClef::kTablature;
  }
  line.DeleteAllChords();
  line.rhythmPattern = CInstrument::RhythmPattern{};
  line.rhythmPattern.bars = kSampleBars;
  line.GenerateRhythmPattern();
}

void StaffPreview::Rebuild(const CRhythmPattern& fields) {
  CInstrument& line = *line_;
  if (line.staves.size() == 0) return;
  // The preview shows the rhythm on a staff of notation, whatever the instrument's first stave.
  CClef& stave = *line.GetCurrentStave();
  stave.type = 0;
  stave.lines = 5;
  line.selectedVoice = 0;
  line.DeleteAllChords();
  line.rhythmPattern = fields.Pattern(std::clamp(fields.bars, 0, CRhythmPattern::kPreviewBars));
  line.GenerateRhythmPattern();
}

void StaffPreview::Paint(DeviceContext& dc, Size size) {
  const Rect client{0, 0, size.cx, size.cy};
  dc.SelectClipRect(&client);
  dc.FillSolidRect(client, kBackground);
  const int32_t count = static_cast<int32_t>(ElementCount());
  columnWidth_ = std::max<int32_t>((size.cx - 60) / (count + 1), 1);
  Rect rect{80, size.cy / 3, size.cx - 20, size.cy};
  line_->columnCount = count;
  line_->LayoutAndDraw(dc, rect, 0, 0, 50, columnWidth_, CInstrument::kFullSize);
  dc.SelectClipRect(nullptr);
}

}  // namespace vornel
