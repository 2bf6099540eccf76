// The editor's real main frame is wired to what is built: every service slot holds the window
// layer's object, and every command of the ribbon, the tool bars, their menus, the context
// menus and the main window's keys reaches a handler, not a placeholder.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "layout/ui/CRichTextDlg.h"
#include "layout/ui/dialogs/ChordDialogWindows.h"
#include "layout/ui/dialogs/SectionDialogWindows.h"
#include "midi/MidiDialogs.h"
#include "midi/ui/WxMidiDialogs.h"
#include "model/voice/EntryForms.h"
#include "model/text/RichTextEditor.h"
#include "model/score/SectionEditor.h"
#include "model/score/StaveRenderer.h"
#include "platform/ServiceSlots.h"
#include "platform/io/ProgramLauncher.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/commands/CommandRoute.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/EditorRun.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/ScoreDialogsBridge.h"
#include "shell/ui/WxProgramLauncher.h"
#include "support/ScriptedPrompts.h"
#include "view/FramePanes.h"
#include "view/commands/ScoreDialogs.h"
#include "view/entry/ChordClipboard.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/settings/SettingsCommands.h"
#include "view/ui/DesktopChordClipboard.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/charts/AlfabetoFunctionDialog.h"
#include "view/ui/facsimile/ImageView.h"
#include "view/ui/facsimile/WxFacsimileWindows.h"
#include "view/ui/instrument/InstrumentSectionEditor.h"
#include "view/ui/settings/DocumentSettingsWindows.h"
#include "view/ui/titlepage/TitlePageCanvas.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

struct EditorWiring : ::testing::Test {
  testing::TemporaryHome home;
  testing::ScriptedPrompts prompts;
  EditorWiring() { fs::create_directories(home.Path() + "Documents/VornelFiles"); }
};

template <typename Window, typename Service>
bool Is(Service& service) {
  return dynamic_cast<Window*>(&service) != nullptr;
}

TEST_F(EditorWiring, EveryServiceIsTheWindowLayersOwn) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  EXPECT_EQ(run.Services().Missing(), std::vector<std::string>{});
  EXPECT_GE(ServiceSlots().size(), 30u);
  // No default said it was missing at start-up.
  for (const std::string& message : prompts.messages) EXPECT_EQ(message.find(" is installed"), std::string::npos) << message;
  // A few by their kind: what a user meets first.
  EXPECT_TRUE(Is<WxRichTextEditor>(RichTextEditors()));
  EXPECT_TRUE(Is<view::WxFacsimileWindows>(view::Facsimiles()));
  EXPECT_TRUE(Is<InstrumentSectionEditor>(SectionEditors()));
  EXPECT_TRUE(Is<WxSectionDialogs>(SectionEditingDialogs()));
  EXPECT_TRUE(Is<WxChordDialogs>(ChordEditingDialogs()));
  EXPECT_TRUE(Is<WxSettingsDialogs>(CurrentSettingsDialogs()));
  EXPECT_TRUE(Is<WindowScoreDialogs>(view::ScoreCommandDialogs()));
  EXPECT_TRUE(Is<WxMidiDialogs>(MidiEditors()));
  EXPECT_TRUE(Is<AlfabetoEntryForms>(EntryFormsInForce()));
  EXPECT_TRUE(Is<view::DesktopChordClipboard>(view::ChordClipboards()));
  EXPECT_TRUE(Is<WxProgramLauncher>(Programs()));
  EXPECT_TRUE(Is<DrawingStaveRenderer>(StaveRenderers()));
  EXPECT_EQ(&view::Panes(), static_cast<view::FramePanes*>(&run.Frame()));
  // The tab's views are the real ones.
  CChildFrame* child = run.Frame().ActiveChild();
  ASSERT_NE(child, nullptr);
  EXPECT_NE(dynamic_cast<view::ScoreCanvas*>(child->Canvas()), nullptr);
  EXPECT_NE(dynamic_cast<view::ImageView*>(child->FacsimilePane()), nullptr);
  ASSERT_TRUE(child->ShowTitlePage());
  EXPECT_NE(dynamic_cast<view::TitlePageCanvas*>(child->Canvas()), nullptr);
}

// Each id the windows send, and each key of the main window, is run by a handler of the route
// as it stands with the score active; the title page's own ids, with the title page active.
TEST_F(EditorWiring, EveryCommandOfTheWindowsAndKeysReachesAHandler) {
  EditorRun run(home, {WriteDocument(home.Path() + "Suite.btxml")});
  CMainFrame& frame = run.Frame();
  std::vector<int> ids = WindowCommandIds();
  ASSERT_FALSE(frame.KeyCommands().empty());
  ids.insert(ids.end(), frame.KeyCommands().begin(), frame.KeyCommands().end());
  std::vector<int> otherView;
  std::vector<std::string> unreached;
  for (const UnreachedCommand& command : UnreachedCommands(frame.CommandRoute(), ids)) {
    const bars::PendingCommands* entry = bars::FindPendingCommand(command.id);
    if (entry != nullptr && entry->availability == bars::Availability::kOtherView) {
      otherView.push_back(command.id);
    } else {
      unreached.push_back(std::to_string(command.id) + " " + command.reason);
    }
  }
  EXPECT_EQ(unreached, std::vector<std::string>{});
  ASSERT_FALSE(otherView.empty());
  // "Edit title page" makes the title page the active view.
  ASSERT_TRUE(frame.DispatchCommand(32966));
  ASSERT_TRUE(frame.ActiveChild()->TitlePageView());
  for (const int id : otherView) EXPECT_EQ(ReachOf(frame.CommandRoute(), id), Reach::kHandled) << id;
}

}  // namespace
}  // namespace vornel
