#include "shell/ui/ScoreDialogsBridge.h"

#include <wx/app.h>
#include <wx/weakref.h>

#include "document/CBriotabDoc.h"
#include "document/InstrumentChooser.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/SectionEditor.h"
#include "model/dialogs/TuningDialogs.h"
#include "platform/UserPrompts.h"
#include "shell/app/CVornelTabApp.h"
#include "view/settings/SettingsCommands.h"
#include "view/ui/charts/ChordChartDialog.h"
#include "view/ui/charts/MusicOrnamentDialog.h"
#include "view/ui/dialogs/CustomOrnamentDialog.h"

namespace vornel {

// The chart window keeps its own copy of the settings it shows, and the core the window edits.
struct WindowScoreDialogs::ChartWindow {
  CTabInstrument instrument;
  std::unique_ptr<CChordChartDlg> core;
  wxWeakRef<ChordChartDialog> window;

  void Close() {
    if (window) window->Destroy();
    window = nullptr;
    core.reset();
  }
};

WindowScoreDialogs::WindowScoreDialogs(CVornelTabApp* app) : app_(app) {}

WindowScoreDialogs::~WindowScoreDialogs() {
  if (chart_ != nullptr) chart_->Close();
}

bool WindowScoreDialogs::ToggleChordChart(const CTabInstrument& instrument) {
  if (chart_ == nullptr) chart_ = std::make_unique<ChartWindow>();
  if (chart_->window && chart_->window->IsShown()) {
    chart_->window->Hide();
    return true;
  }
  // A fresh window on the line's settings as they are now.
  chart_->Close();
  chart_->instrument.CopyFrom(instrument);
  chart_->core = std::make_unique<CChordChartDlg>(&chart_->instrument);
  chart_->window = new ChordChartDialog(wxTheApp != nullptr ? wxTheApp->GetTopWindow() : nullptr, *chart_->core);
  chart_->window->TransferDataToWindow();
  chart_->window->Show();
  return true;
}

bool WindowScoreDialogs::ChooseTextureBitmap() { return app_ != nullptr && app_->ChooseTextureBitmap(); }

bool WindowScoreDialogs::TextureOn() { return app_ != nullptr && app_->options.useTexture != 0; }

bool WindowScoreDialogs::EditTuning(CInstrumentDlg& definition) {
  return SectionEditors().EditTuning(definition.tabInstrument.tuning);
}

bool WindowScoreDialogs::ChooseCourseTuning(const CInstrumentDlg& definition, view::CourseTuningChoice& choice) {
  CBourdonTuningDlg dialog;
  dialog.Load(definition.tabInstrument.tuning);
  if (!CurrentSettingsDialogs().ChangeCourseTuning(definition.tabInstrument.tuning, dialog)) return false;
  if (dialog.courseIndex < 0) return false;
  choice.course = dialog.courseIndex;
  choice.pitch = dialog.newPitch;
  choice.allSections = dialog.applyToAll;
  return true;
}

bool WindowScoreDialogs::ChooseGlobalTuningShift(int& halfSteps) {
  const std::optional<long> shift = Prompts().PromptNumber(
      "Global tuning", "Raise/lower instrument global tuning (in half-steps):", -12, 12, halfSteps);
  if (!shift) return false;
  halfSteps = static_cast<int>(*shift);
  return true;
}

CInstrumentArray* WindowScoreDialogs::InstrumentBase() {
  base_ = CInstrumentTemplates();
  base_.OpenConfiguredBase();
  return &base_.instruments;
}

bool WindowScoreDialogs::SaveInstrumentBase() { return base_.SaveInstrumentBase(); }

std::unique_ptr<CInstrumentDlg> WindowScoreDialogs::ChooseFromTemplates(const CInstrumentDlg& current) {
  auto chosen = std::make_unique<CInstrumentDlg>(current);
  if (!InstrumentChoosers().ChooseInstrumentDefinition(*chosen)) return nullptr;
  return chosen;
}

bool WindowScoreDialogs::EditDocumentFonts(CBriotabDoc& doc) {
  return CurrentSettingsDialogs().EditDocumentFonts(doc.settings.pageSettings);
}

bool WindowScoreDialogs::CustomizeOrnaments(CInstrumentDlg& definition) {
  return ShowCustomOrnamentDialog(nullptr, definition.ornaments,
                                  [](COrnamentProps& entry) { return EditOrnamentProperties(entry); });
}

}  // namespace vornel
