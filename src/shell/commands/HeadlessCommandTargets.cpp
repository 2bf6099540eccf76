#include "shell/commands/HeadlessCommandTargets.h"

#include "document/CVornelTabDoc.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/AreaCommands.h"
#include "shell/commands/FrameCommands.h"
#include "shell/commands/Metronome.h"
#include "shell/library/DocumentGroupPane.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"

namespace vornel {

namespace {

// A main window that does nothing: the commands are only registered, never run.
class NoWindows : public DocumentWindows, public FrameControls, public MetronomeTimer {
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
  void Start(int) override {}
  void Stop() override {}
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
  AddApplicationCommands(p.application, p.app, p.windows);
  AddAreaApplicationCommands(p.application);
  AddFrameCommands(p.frame, p.windows, p.app, p.metronome);
  AddDocumentGroupCommands(p.frame, {});  // the group pane's, which has no window here
  AddDocumentCommands(p.document, p.app, p.windows, p.doc);
  AddAreaDocumentCommands(p.document, p.app, p.doc);
  bars::AddPendingCommands(p.pending);
}

HeadlessCommandTargets::~HeadlessCommandTargets() = default;

std::vector<const view::CommandTable*> HeadlessCommandTargets::Targets() const {
  return {&parts_->scoreView.Commands(), &parts_->document, &parts_->frame, &parts_->application};
}

const view::CommandTable& HeadlessCommandTargets::Pending() const { return parts_->pending; }

}  // namespace vornel
