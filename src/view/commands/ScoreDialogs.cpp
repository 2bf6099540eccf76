#include "view/commands/ScoreDialogs.h"

#include "layout/dialogs/SmallDialogs.h"
#include "model/CInstrumentDlg.h"

namespace vornel::view {

namespace {
ScoreDialogs& Fallback() {
  static ScoreDialogs cancelling;
  return cancelling;
}
ScoreDialogs* current = nullptr;
}  // namespace

bool ScoreDialogs::EditTuning(CInstrumentDlg&) { return false; }
bool ScoreDialogs::ChooseCourseTuning(const CInstrumentDlg&, CourseTuningChoice&) { return false; }
bool ScoreDialogs::ChooseGlobalTuningShift(int&) { return false; }
// The octave and bar range windows are the small editing dialogs the front end installs; an
// answer out of range counts as Cancel.
bool ScoreDialogs::ChooseOctaveLimit(COctaveDlg& dialog) {
  return SmallEditingDialogs().Octave(dialog) && dialog.Validate().empty();
}
bool ScoreDialogs::ChooseBarRange(CBarRangeDlg& dialog) {
  return SmallEditingDialogs().BarRange(dialog) && dialog.Validate().empty();
}
CInstrumentArray* ScoreDialogs::InstrumentBase() { return nullptr; }
bool ScoreDialogs::SaveInstrumentBase() { return false; }
std::unique_ptr<CInstrumentDlg> ScoreDialogs::ChooseFromTemplates(const CInstrumentDlg&) { return nullptr; }
bool ScoreDialogs::CustomizeOrnaments(CInstrumentDlg&) { return false; }
bool ScoreDialogs::EditDocumentFonts(CBriotabDoc&) { return false; }
bool ScoreDialogs::ChooseTextureBitmap() { return false; }
bool ScoreDialogs::ToggleChordChart(const CTabInstrument&) { return false; }
bool ScoreDialogs::TextureOn() { return false; }

ScoreDialogs& ScoreCommandDialogs() { return current != nullptr ? *current : Fallback(); }

ScopedScoreDialogs::ScopedScoreDialogs(ScoreDialogs& dialogs) : previous_(current) { current = &dialogs; }
ScopedScoreDialogs::~ScopedScoreDialogs() { current = previous_; }

}  // namespace vornel::view
