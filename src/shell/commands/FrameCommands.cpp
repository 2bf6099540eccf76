#include "shell/commands/FrameCommands.h"

#include "shell/app/CVornelTabApp.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/commands/HelpPages.h"
#include "shell/commands/Metronome.h"

namespace vornel {

namespace {

void AddSwitch(view::CommandTable& table, int id, FrameControls& frame, FrameSwitch which) {
  table.Add(
      id, [&frame, which](const view::CommandEvent&) { frame.Switch(which, !frame.IsOn(which)); }, {},
      [&frame, which] { return frame.IsOn(which); });
}

}  // namespace

void AddFrameCommands(view::CommandTable& t, FrameControls& frame, CVornelTabApp& app, Metronome& metronome) {
  using view::CommandEvent;
  t.Add(commands::kWindowsDialog, [&frame](const CommandEvent&) { frame.ShowWindowsDialog(); },
        [&frame] { return frame.DocumentCount() > 0; });
  t.AddRange(
      commands::kFirstLookCommand, commands::kLastLookCommand, [&frame](const CommandEvent& e) { frame.ApplyLook(e.id); },
      {}, [&app](int id) { return app.look == id; });
  AddSwitch(t, commands::kStatusBar, frame, FrameSwitch::kStatusBar);
  AddSwitch(t, commands::kEditMode, frame, FrameSwitch::kEditMode);
  AddSwitch(t, commands::kPropertiesView, frame, FrameSwitch::kPropertiesPane);
  AddSwitch(t, commands::kOutputView, frame, FrameSwitch::kOutputPane);
  AddSwitch(t, commands::kFullScreen, frame, FrameSwitch::kFullScreen);
  AddSwitch(t, commands::kKeyboardConsole, frame, FrameSwitch::kKeyboardConsole);
  AddSwitch(t, commands::kToggleToolbars, frame, FrameSwitch::kToolbars);
  // The check mark shows the ribbon pinned open.
  AddSwitch(t, commands::kToggleRibbon, frame, FrameSwitch::kRibbonPanels);
  t.Add(commands::kPreferences, [&frame](const CommandEvent&) { frame.RunPreferences(); });
  t.Add(commands::kToolbarColumns, [](const CommandEvent&) {});
  t.Add(commands::kCustomize, [&frame](const CommandEvent&) { frame.CustomizeToolbars(); });
  t.Add(commands::kFloatMidiToolbar, [&frame](const CommandEvent&) { frame.FloatMidiToolbar(); });
  t.Add(commands::kMidiPlaylist, [&frame](const CommandEvent&) { frame.ShowMidiPlaylist(); });
  t.Add(
      commands::kRunMetronome, [&metronome](const CommandEvent&) { metronome.Toggle(); },
      [&app] { return app.waveResourcesLoaded; }, [&metronome] { return metronome.Running(); });
  t.Add(commands::kViewAllPanes, [&frame](const CommandEvent&) { frame.ShowAllPanes(); });
  t.Add(commands::kSwitchPaletteTab, [&frame](const CommandEvent&) { frame.SwitchPaletteTab("Sections"); });
  t.Add(commands::kPaletteMenu, [&frame](const CommandEvent&) { frame.ShowPaletteMenu(); });
  t.AddRange(commands::kFirstHelpPage, commands::kLastHelpPage, [&app](const CommandEvent& e) {
    if (const auto page = FindHelpPage(e.id, app.shippedDataFolder + "Documentation")) {
      Programs().OpenWithDefault(*page);
    }
  });
}

}  // namespace vornel
