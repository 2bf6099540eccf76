#include "layout/dialogs/RhythmPatternPreview.h"

#include <algorithm>

#include "platform/draw/DeviceContext.h"

namespace vornel {

RhythmPatternPreview::RhythmPatternPreview(const CInstrumentDlg* definition) {
  if (definition != nullptr) definition_.CopyFrom(*definition);
  BuildLine();
}

void RhythmPatternPreview::BuildLine() {
  definition_.EnsureStave();
  line_ = std::make_unique<CInstrument>(definition_);
  line_->selectedVoice = 0;
}

void RhythmPatternPreview::Rebuild(const CRhythmPattern& fields) {
  // The rhythm is shown on a staff of notation, whatever the instrument's first stave.
  Fill(fields.Pattern(std::clamp(fields.bars, 0, CRhythmPattern::kPreviewBars)), false);
}

void RhythmPatternPreview::ShowSample(const CInstrumentDlg& definition, bool tablature) {
  definition_.CopyFrom(definition);
  definition_.currentStave = 0;
  BuildLine();
  line_->activeStave = 0;
  CInstrument::RhythmPattern sample;
  sample.bars = 1;
  Fill(sample, tablature);
}

void RhythmPatternPreview::Fill(const CInstrument::RhythmPattern& pattern, bool tablature) {
  CInstrument& line = *line_;
  if (line.staves.size() == 0) return;
  CClef& stave = *line.GetCurrentStave();
  stave.type = tablature ? CClef::kTablature : CClef::kStaff;
  if (!tablature) stave.lines = 5;
  line.selectedVoice = 0;
  line.DeleteAllChords();
  line.rhythmPattern = pattern;
  line.GenerateRhythmPattern();
}

void RhythmPatternPreview::Paint(DeviceContext& dc, Size size) {
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
