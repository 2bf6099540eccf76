#include "shell/commands/HeadlessCommandTargets.h"

#include "document/CVornelTabDoc.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/CommandRoute.h"
#include "shell/commands/FrameCommands.h"
#include "shell/commands/Metronome.h"
#include "shell/palettes/PaletteCommands.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"

namespace vornel {

namespace {

// A main window that does nothing: the commands are only registered, never run.
class NoWindows : public DocumentWindows, public FrameControls, public MetronomeTimer, public palettes::PaletteTarget {
 public:
  void ShowDocument(std::unique_ptr<CVornelTabDoc>) override {}
  bool ActivateDocument(const std::string&) override { return false; }
  std::vector<CVornelTabDoc*> Documents() const override { return {}; }
  bool CloseDocument(CVornelTabDoc&) override { return false; }
  void SwitchPaletteTab(std::string_view) override {}
  void Exit() override {}
  bool IsOn(FrameSwitch) const override { return false; }
  void Switch(FrameSwitch, bool) override {}
  size_t DocumentCount() const override { return 0; }
  void ShowWindowsDialog() override {}
  void ApplyLook(int) override {}
  void RunPreferences() override {}
  void ShowAllPanes() override {}
  void ShowPaletteMenu() override {}
  void CustomizeToolbars() override {}
  void FloatMidiToolbar() override {}
  void ShowMidiPlaylist() override {}
  void Start(int) override {}
  void Stop() override {}
  void SelectPalette(int) override {}
  int CurrentPalette(int) const override { return 0; }
  void FloatPalette(int) override {}
  int Columns() const override { return 0; }
  void SetColumns(int) override {}
  void SendCommand(int) override {}
};

}  // namespace

struct HeadlessCommandTargets::Parts {
  MemoryProfile profile;
  CVornelTabApp app{profile};
  NoWindows windows;
  Metronome metronome{windows};
  CVornelTabDoc doc;
  // The active view's table, first in routing order; the view is never shown or updated.
  view::HeadlessViewWindow viewWindow;
  view::CBriotabView scoreView{doc, viewWindow};
  view::CommandTable application;
  view::CommandTable frame;
  view::CommandTable document;
  view::CommandTable pending;
};

HeadlessCommandTargets::HeadlessCommandTargets() : parts_(std::make_unique<Parts>()) {
  Parts& p = *parts_;
  // The group pane has no window here: its commands are carried and do nothing.
  FillFrameTables(p.application, p.frame, {p.windows, p.windows, p.app, p.metronome, p.windows, [](int) {}});
  FillDocumentTable(p.document, p.app, p.windows, p.doc, p.scoreView.Player());
  bars::AddPendingCommands(p.pending);
}

HeadlessCommandTargets::~HeadlessCommandTargets() = default;

std::vector<const view::CommandTable*> HeadlessCommandTargets::Route() const {
  // As the main frame routes with a document's score view active (its tab carries nothing).
  return {&parts_->scoreView.Commands(), &parts_->document, &parts_->frame, &parts_->application, &parts_->pending};
}

const view::CommandTable& HeadlessCommandTargets::Pending() const { return parts_->pending; }

}  // namespace vornel
