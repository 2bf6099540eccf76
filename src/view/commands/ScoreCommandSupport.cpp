#include "view/commands/ScoreCommandSupport.h"

#include "model/CClef.h"
#include "model/CInstrument.h"
#include "model/CInstrumentDlg.h"
#include "model/CSystemArray.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "view/core/CBriotabView.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel::view {

namespace {
constexpr int kScreenDpi = 96;
}

CInstrumentDlg* ActiveDefinitionOf(const CBriotabView& view) {
  const CInstrument* line = view.ActiveLine();
  return line != nullptr ? line->definition : nullptr;
}

nChord* CursorChordOf(const CBriotabView& view) {
  CInstrument* line = view.ActiveLine();
  const CClef* stave = view.ActiveStave();
  if (line == nullptr || stave == nullptr || stave->cursorColumn < 0) return nullptr;
  nChordArray& voice = line->GetSelectedVoice();
  const size_t column = static_cast<size_t>(stave->cursorColumn);
  return column < voice.size() ? voice[column] : nullptr;
}

bool HasActiveLine(const CBriotabView& view) { return ActiveDefinitionOf(view) != nullptr; }

bool InTablature(const CBriotabView& view) {
  const CClef* stave = view.ActiveStave();
  return stave != nullptr && stave->IsTablature();
}

bool InNotation(const CBriotabView& view) {
  const CClef* stave = view.ActiveStave();
  return stave != nullptr && !stave->IsTablature();
}

void SnapshotEdit(CBriotabDoc& doc, int hint, const std::function<void()>& edit) {
  doc.SaveSnapshot();
  edit();
  doc.NotifyChanged(hint);
}

bool SnapshotEditIf(CBriotabDoc& doc, int hint, const std::function<bool()>& edit) {
  doc.SaveSnapshot();
  if (!edit()) {
    doc.undoStack.PopFront();
    return false;
  }
  doc.NotifyChanged(hint);
  return true;
}

void ReformatActiveSection(CBriotabDoc& doc, bool snapshot) {
  CSystemArray& section = *doc.GetActiveSection();
  if (snapshot) doc.SaveSnapshot();
  const size_t run = static_cast<size_t>(doc.settings.GetCursorStepsPerPage());
  if (!section.systems.empty()) {
    section.ReflowSystems(true, run);
    section.ReflowSystems(false, run);
  }
  doc.SetModifiedFlag(true);
}

void RecomputeSystemsPerPageOnScreen(CBriotabDoc& doc) {
  RecordingDevice screen(kScreenDpi, false, PangoTextEngine::Shared());
  screen.SetRecording(false);
  RecomputeSystemsPerPage(doc, screen);
}

}  // namespace vornel::view
