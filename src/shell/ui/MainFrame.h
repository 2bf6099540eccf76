#pragma once
// The main window: the quick-access bar, the ribbon and the tool bars above, the document tabs
// in the centre, the left pane group (file explorer, sections, templates, properties, palettes,
// document groups, chord charts) as tabs of one docked pane, the keyboard console and the
// output pane at the bottom (hidden at first) and the 19-slot status bar. Commands from the
// ribbon, the bars and menus reach their handlers through the command router (active view, its
// document, its tab, this frame, the application, then the catalogue of commands still to come,
// which shows them disabled); the frame carries the pane, bar, look, metronome and help
// commands.

#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/timer.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/CMidiPlaylist.h"
#include "shell/app/AutoSave.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/FrameCommands.h"
#include "shell/commands/Metronome.h"
#include "shell/frame/CViewManager.h"
#include "shell/ui/MenuCommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "shell/ui/bars/CommandBitmaps.h"
#include "view/FramePanes.h"
#include "view/commands/CommandTable.h"

class wxAuiNotebook;
class wxAuiNotebookEvent;
class wxMenu;

namespace vornel {

class CChildFrame;
class CMyKeyboardBar;
class COutputWnd;
class OutputPaneWarnings;
class CVornelTabApp;
class FrameBars;
class FramePaneContents;
class MidiPlaylistWindow;
class PreferencesEditor;

// The frame's private requests, queued to it: a tab became active, the panes are laid out
// again, the tempo changed (the event's integer).
wxDECLARE_EVENT(EVT_CHILD_ACTIVATED, wxCommandEvent);
wxDECLARE_EVENT(EVT_LAYOUT_RESET, wxCommandEvent);
wxDECLARE_EVENT(EVT_TEMPO_CHANGED, wxCommandEvent);

class CMainFrame : public wxFrame,
                   public DocumentWindows,
                   public view::FramePanes,
                   public FrameControls,
                   public BarCommands,
                   private MetronomeTimer,
                   private TabStrip {
 public:
  // The panes of the left group, in their tab order.
  enum LeftPane : int {
    kFileExplorer,
    kSections,
    kTemplates,
    kProperties,
    kPalettes,
    kDocumentGroup,
    kChordCharts,
    kLeftPaneCount
  };
  static constexpr int kStatusSlots = 21;

  // `preferences` edits the session options (the dialog of the window layer by default).
  CMainFrame(CVornelTabApp& app, PreferencesEditor* preferences = nullptr);
  ~CMainFrame() override;

  // --- DocumentWindows
  void ShowDocument(std::unique_ptr<CVornelTabDoc> document) override;
  bool ActivateDocument(const std::string& path) override;
  std::vector<CVornelTabDoc*> Documents() const override;
  bool CloseDocument(CVornelTabDoc& document) override;
  void SwitchPaletteTab(std::string_view title) override;
  void Exit() override;

  // --- FramePanes (the view and the documents write through these)
  void SetStatusText(int slot, std::string_view text) override;
  void RefreshProperties() override;
  void ShowSections(const std::vector<std::string>& lines, int active) override;
  void ShowFacsimiles(const std::vector<std::string>& names) override;
  void TempoChanged(int beatsPerMinute) override;
  void RequestLayoutReset() override;
  void ShowToolbarMenu(int x, int y) override;
  void EnableMainWindow(bool enable) override { Enable(enable); }
  void ShowSectionTree(CBriotabDoc& doc) override;
  void ShowTitlePageView(CBriotabDoc& doc) override;
  void AddToMidiPlaylist(const std::string& path) override;

  // --- FrameControls (the frame's commands ask through these)
  bool IsOn(FrameSwitch which) const override;
  void Switch(FrameSwitch which, bool on) override;
  size_t DocumentCount() const override;
  void ShowWindowsDialog() override;
  void RunPreferences() override;
  void ShowAllPanes() override;
  void ShowPaletteMenu() override;
  void CustomizeToolbars() override;
  void FloatMidiToolbar() override;

  // --- BarCommands (the ribbon and the bars ask through these)
  bool Dispatch(const view::CommandEvent& event) override;
  view::CommandState StateOf(int id) const override { return CommandStateOf(id); }
  int MenuId(int command) override { return Id(command); }
  std::vector<std::string> RecentFiles() const override;
  wxBitmap Picture(int id, int size) override;
  std::vector<bars::SliderSetting> MidiSliders() const override;
  std::vector<std::string> UndoNames(bool redo) const override;

  // --- commands
  // Runs a command on the route; the document's snapshots it takes are named after it.
  bool DispatchCommand(int id) override;
  bool DispatchToActiveDocument(int id) override { return ActiveChild() != nullptr && DispatchCommand(id); }
  bool DispatchCommand(const view::CommandEvent& event);
  bool DispatchCommandEvent(const view::CommandEvent& event) override { return DispatchCommand(event); }
  view::CommandState CommandStateOf(int id) const override;
  view::CommandTable& FrameCommands() { return frameCommands_; }
  // The targets a command goes through now, in routing order (the catalogue last).
  const std::vector<const view::CommandTable*>& CommandRoute() const { return router_.Route(); }
  // The commands of the main window's keys (its accelerator table).
  const std::vector<int>& KeyCommands() const { return keyCommands_; }
  view::CommandTable& ApplicationCommandTable() { return applicationCommands_; }

  // --- parts, for the other areas and for tests
  wxAuiManager& DockManager() { return dock_; }
  wxAuiNotebook* DocumentTabs() const { return documents_; }
  wxAuiNotebook* LeftGroup() const { return leftGroup_; }
  // The empty host of a pane, filled by the panes and palettes.
  wxWindow* PaneHost(LeftPane pane) const { return leftPages_[pane].window; }
  wxWindow* KeyboardConsoleHost() const { return console_; }
  wxWindow* OutputHost() const { return output_; }
  // What fills the left group's panes (explorer, sections, templates, properties, palettes).
  FramePaneContents* PaneContents() const { return paneContents_.get(); }
  FrameBars& Bars() { return *bars_; }
  // The output pane's contents, built when it first shows or when first asked for.
  COutputWnd* OutputPane();
  // "MIDI Play list": null until first shown, then kept (closing it only hides it).
  MidiPlaylistWindow* MidiPlaylist() const { return playlistWindow_; }
  const CMidiPlaylist& MidiPlaylistFiles() const { return playlist_; }
  // Activates the play list window, made on first use.
  void ShowMidiPlaylist() override;
  CMyKeyboardBar* KeyboardConsole() const { return keyboard_; }
  CommandBitmaps& Pictures() { return pictures_; }
  CChildFrame* ActiveChild() const;
  CChildFrame* ChildAt(size_t index) const;
  const CViewManager& Views() const { return views_; }
  const Metronome& GetMetronome() const { return metronome_; }
  const std::vector<std::string>& SectionLines() const { return sectionLines_; }
  bool LeftPaneShown(LeftPane pane) const;
  void ShowLeftPane(LeftPane pane, bool show);

  // Looks 210-219: panes and tabs take the look's colours; kept as "ApplicationLook".
  void ApplyLook(int id);
  // The layout of the panes, the left group's tabs and the status bar, kept in the profile.
  void SaveLayout();
  void RestoreLayout();
  // Autosave at the application's interval (0: none).
  void StartAutoSave();
  // Offers the recovery copies of a run that did not close, and opens the ones taken.
  void OfferRecoveryCopies();

 private:
  struct LeftPage {
    wxWindow* window = nullptr;
    const char* title = "";
    bool shown = true;
  };

  // The menu id of a command.
  int Id(int command);
  void BuildStatusBar();
  void BuildPanes();
  void BuildConsolePanes();
  void BuildAccelerators();
  void UpdateRoute();
  void RefreshTitles();
  // The tabs' texts and the window's title from the documents' names and modified marks.
  void RefreshTabTexts();
  void ShowBottomPane(const char* name, bool show);

  void OnMenu(wxCommandEvent& event);
  void OnUpdateUI(wxUpdateUIEvent& event);
  void OnIdle(wxIdleEvent& event);
  void OnClose(wxCloseEvent& event);
  void OnTabChanged(wxAuiNotebookEvent& event);
  void OnTabClose(wxAuiNotebookEvent& event);
  void OnChildActivated(wxCommandEvent& event);
  void OnLayoutReset(wxCommandEvent& event);
  void OnTempoChanged(wxCommandEvent& event);
  void OnLockKeys(wxTimerEvent& event);
  void OnAutoSave(wxTimerEvent& event);

  CChildFrame* ChildOf(const CVornelTabDoc& document) const;

  // MetronomeTimer
  void Start(int periodMs) override;
  void Stop() override;
  // TabStrip
  void InsertTab(std::string_view title, const void* view) override;
  void DeleteTab(const void* view) override;
  void ResizeTabs() override;

  CVornelTabApp& app_;
  PreferencesEditor* preferences_;
  std::unique_ptr<PreferencesEditor> ownPreferences_;
  wxAuiManager dock_;
  wxAuiNotebook* documents_ = nullptr;
  wxAuiNotebook* leftGroup_ = nullptr;
  std::array<LeftPage, kLeftPaneCount> leftPages_;
  wxWindow* console_ = nullptr;
  wxWindow* output_ = nullptr;
  COutputWnd* outputPane_ = nullptr;
  // The importers' warnings, shown in the output pane.
  std::unique_ptr<OutputPaneWarnings> importWarnings_;
  CMyKeyboardBar* keyboard_ = nullptr;
  MenuCommandIds menuIds_;
  std::vector<int> keyCommands_;
  CommandBitmaps pictures_;
  std::unique_ptr<FrameBars> bars_;

  view::CommandTable frameCommands_;
  view::CommandTable applicationCommands_;
  view::CommandTable pendingCommands_;
  view::CommandRouter router_;
  CViewManager views_;

  Metronome metronome_{*this};
  wxTimer metronomeTimer_;
  wxTimer lockKeysTimer_;
  wxTimer autoSaveTimer_;
  AutoSaveStore autoSave_;
  std::unique_ptr<view::ScopedFramePanes> panesScope_;
  std::unique_ptr<FramePaneContents> paneContents_;
  std::vector<std::string> sectionLines_;
  std::vector<std::string> facsimileNames_;
  CMidiPlaylist playlist_;
  MidiPlaylistWindow* playlistWindow_ = nullptr;
  int nextKey_ = 1;
  bool editMode_ = false;
  bool closing_ = false;
};

}  // namespace vornel
