#include "shell/ui/MainFrame.h"

#include <wx/app.h>
#include <wx/aui/auibook.h>
#include <wx/accel.h>
#include <wx/aui/dockart.h>
#include <wx/choicdlg.h>
#include <wx/dnd.h>
#include <wx/menu.h>
#include <wx/ribbon/art.h>
#include <wx/sizer.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include <algorithm>
#include <exception>
#include <filesystem>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "layout/ui/dialogs/SectionTreeDialog.h"
#include "midi/ui/MidiPlaylistWindow.h"
#include "platform/UserPrompts.h"
#include "shell/app/ApplicationLooks.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/app/XdgFolders.h"
#include "shell/commands/CommandRoute.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/DocumentLibraryCommands.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/commands/ProgramCommands.h"
#include "shell/bars/CommandCatalogue.h"
#include "shell/bars/RibbonTable.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/bars/ZoomTable.h"
#include "shell/console/ConsoleTable.h"
#include "shell/ui/CChildFrame.h"
#include "shell/ui/MenuCommandIds.h"
#include "shell/ui/SessionOptionsDialog.h"
#include "shell/ui/WindowTabArt.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/RibbonBar.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/console/KeyboardConsole.h"
#include "shell/ui/console/OutputPane.h"
#include "shell/ui/panes/FramePaneContents.h"
#include "shell/ui/panes/PaneTools.h"
#include "view/commands/Accelerators.h"
#include "view/commands/MidiCommands.h"
#include "view/ui/ScoreCanvas.h"

namespace vornel {

wxDEFINE_EVENT(EVT_CHILD_ACTIVATED, wxCommandEvent);
wxDEFINE_EVENT(EVT_LAYOUT_RESET, wxCommandEvent);
wxDEFINE_EVENT(EVT_TEMPO_CHANGED, wxCommandEvent);

namespace {

constexpr const char* kDocumentsPane = "documents";
constexpr const char* kLeftPane = "left";
constexpr const char* kConsolePane = "console";
constexpr const char* kOutputPane = "output";
constexpr size_t kTitlePageRibbonPage = 2;  // "Book Settings"

wxString FromUtf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

// A document's name with the asterisk of a modified document before it.
std::string MarkedTitle(const CBriotabDoc& doc) { return (doc.IsModified() ? "*" : "") + doc.GetTitle(); }

wxColour Colour(uint32_t rgb) { return wxColour((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

// A status bar whose new texts show with the window's next paint. The toolkit's own bar
// repaints a field at once when its text changes, and the score sets its fields with every
// key it takes: a keystroke would wait for the bar to be drawn.
class DeferredStatusBar : public wxStatusBar {
 public:
  explicit DeferredStatusBar(wxWindow* parent) : wxStatusBar(parent, wxID_ANY, wxSTB_DEFAULT_STYLE) {}

 protected:
  void DoUpdateStatusText(int number) override {
    wxRect field;
    if (GetFieldRect(number, field)) RefreshRect(field);
  }
};

// The status bar's labels; the value slots between them are written by the view.
struct StatusSlot {
  const char* label;  // null: a value slot
  int width;          // 0: as wide as the label
};
constexpr std::array<StatusSlot, CMainFrame::kStatusSlots> kStatusLayout = {{
    {nullptr, -1},  // stretches
    {"Caret position", 0}, {nullptr, 150}, {"Instrument", 0}, {nullptr, 200}, {"Section", 0}, {nullptr, 100},
    {"KEY", 0},            {nullptr, 70},  {"Tempo", 0},      {nullptr, 70},  {"ZOOM", 0},    {nullptr, 50},
    {"AUTOFWD", 0},        {nullptr, 50},  {"VALUE", 0},      {nullptr, 130}, {"CAP", 0},     {"NUM", 0},
    {"SCRL", 0},           {nullptr, 16},
}};
constexpr int kCapsSlot = 17;

class DocumentDropTarget : public wxFileDropTarget {
 public:
  DocumentDropTarget(CVornelTabApp& app, DocumentWindows& windows) : app_(app), windows_(windows) {}
  bool OnDropFiles(wxCoord, wxCoord, const wxArrayString& files) override {
    for (const wxString& file : files) OpenDocumentFile(app_, windows_, std::string(file.utf8_str()));
    return true;
  }

 private:
  CVornelTabApp& app_;
  DocumentWindows& windows_;
};

}  // namespace

CMainFrame::CMainFrame(CVornelTabApp& app, PreferencesEditor* preferences)
    : wxFrame(nullptr, wxID_ANY, kApplicationName, wxDefaultPosition, wxSize(1200, 800)),
      app_(app),
      preferences_(preferences),
      autoSave_(AutoSaveFolder()) {
  if (preferences_ == nullptr) {
    ownPreferences_ = std::make_unique<SessionOptionsEditor>(this, app_);
    preferences_ = ownPreferences_.get();
  }
  dock_.SetManagedWindow(this);
  bars::AddPendingCommands(pendingCommands_);
  views_.SetTabStrip(this);

  BuildStatusBar();
  bars_ = std::make_unique<FrameBars>(*this, dock_, *this, app_.Profile());
  BuildPanes();
  BuildAccelerators();
  UpdateRoute();
  paneContents_ = std::make_unique<FramePaneContents>(*this, app_);
  FillFrameTables(applicationCommands_, frameCommands_,
                  {*this, *this, app_, metronome_, paneContents_->PaletteCommandTarget(),
                   [this](int id) { paneContents_->RunDocumentGroupCommand(id); }});

  Bind(wxEVT_MENU, &CMainFrame::OnMenu, this);
  Bind(wxEVT_UPDATE_UI, &CMainFrame::OnUpdateUI, this);
  Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
  Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
  Bind(EVT_CHILD_ACTIVATED, &CMainFrame::OnChildActivated, this);
  Bind(EVT_LAYOUT_RESET, &CMainFrame::OnLayoutReset, this);
  Bind(EVT_TEMPO_CHANGED, &CMainFrame::OnTempoChanged, this);
  documents_->Bind(wxEVT_AUINOTEBOOK_PAGE_CHANGED, &CMainFrame::OnTabChanged, this);
  documents_->Bind(wxEVT_AUINOTEBOOK_PAGE_CLOSE, &CMainFrame::OnTabClose, this);

  metronomeTimer_.SetOwner(this);
  Bind(wxEVT_TIMER, [this](wxTimerEvent&) { app_.MetronomeTick(); }, metronomeTimer_.GetId());
  lockKeysTimer_.SetOwner(this);
  Bind(wxEVT_TIMER, &CMainFrame::OnLockKeys, this, lockKeysTimer_.GetId());
  lockKeysTimer_.Start(500);
  autoSaveTimer_.SetOwner(this);
  Bind(wxEVT_TIMER, &CMainFrame::OnAutoSave, this, autoSaveTimer_.GetId());
  app_.onAutoSaveIntervalChanged = [this](uint32_t) { StartAutoSave(); };

  SetDropTarget(new DocumentDropTarget(app_, *this));
  panesScope_ = std::make_unique<view::ScopedFramePanes>(*this);
  ApplyLook(app_.look);
  dock_.Update();
  // The output pane is built when it first shows.
  WhenFirstShown(output_, [this] { OutputPane(); });
}

CMainFrame::~CMainFrame() {
  importWarnings_.reset();
  app_.onAutoSaveIntervalChanged = nullptr;
  paneContents_.reset();
  panesScope_.reset();
  dock_.UnInit();
}

// --------------------------------------------------------------------------------------------
// Building

void CMainFrame::BuildStatusBar() {
  wxStatusBar* bar = new DeferredStatusBar(this);
  bar->SetFieldsCount(kStatusSlots);
  SetStatusBar(bar);
  std::array<int, kStatusSlots> widths{};
  for (int i = 0; i < kStatusSlots; ++i) {
    const StatusSlot& slot = kStatusLayout[static_cast<size_t>(i)];
    widths[static_cast<size_t>(i)] = slot.width != 0 ? slot.width : bar->GetTextExtent(slot.label).x + 12;
    if (slot.label != nullptr && i < kCapsSlot) bar->SetStatusText(slot.label, i);
  }
  bar->SetStatusWidths(kStatusSlots, widths.data());
}

void CMainFrame::BuildPanes() {
  documents_ = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                 wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS |
                                     wxAUI_NB_CLOSE_ON_ACTIVE_TAB | wxAUI_NB_TAB_FIXED_WIDTH |
                                     wxAUI_NB_WINDOWLIST_BUTTON);
  documents_->SetArtProvider(new WindowTabArt);
  dock_.AddPane(documents_, wxAuiPaneInfo().Name(kDocumentsPane).CenterPane().PaneBorder(false));

  leftGroup_ = new wxAuiNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(200, 800),
                                 wxAUI_NB_TOP | wxAUI_NB_TAB_MOVE | wxAUI_NB_SCROLL_BUTTONS);
  constexpr std::array<const char*, kLeftPaneCount> kTitles = {
      "File explorer", "Sections", "Templates", "Properties", "Palettes", "Vornel files group", "Chord charts"};
  for (int i = 0; i < kLeftPaneCount; ++i) {
    LeftPage& page = leftPages_[static_cast<size_t>(i)];
    page.title = kTitles[static_cast<size_t>(i)];
    page.window = new wxPanel(leftGroup_, wxID_ANY);
    page.window->SetName(page.title);
    leftGroup_->AddPage(page.window, page.title, false);
  }
  leftGroup_->SetSelection(kSections);
  dock_.AddPane(leftGroup_, wxAuiPaneInfo()
                                .Name(kLeftPane)
                                .Caption("File explorer")
                                .Left()
                                .Layer(1)
                                .BestSize(200, 800)
                                .MinSize(120, 100)
                                .CloseButton(true)
                                .MaximizeButton(false));

  console_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(250, 125));
  console_->SetName("Keyboard console");
  dock_.AddPane(console_, wxAuiPaneInfo().Name(kConsolePane).Caption("Keyboard console").Bottom().BestSize(250, 125).Hide());
  output_ = new wxPanel(this, wxID_ANY, wxDefaultPosition, wxSize(100, 100));
  output_->SetName("Output");
  dock_.AddPane(output_, wxAuiPaneInfo().Name(kOutputPane).Caption("Output").Bottom().BestSize(100, 100).Hide());
  BuildConsolePanes();
}

void CMainFrame::BuildConsolePanes() {
  importWarnings_ = std::make_unique<OutputPaneWarnings>([this]() -> COutputWnd& { return *OutputPane(); },
                                                         [this] { ShowBottomPane(kOutputPane, true); });
  ConsoleTarget target;
  target.viewCommands = [this]() -> const view::CommandTable* {
    CChildFrame* child = ActiveChild();
    return child != nullptr ? child->ViewCommands() : nullptr;
  };
  target.inputPianoKey = [this](uint8_t pitch) {
    CChildFrame* child = ActiveChild();
    if (child != nullptr && child->CanvasParts().inputPianoKey) child->CanvasParts().inputPianoKey(pitch);
  };
  keyboard_ = new CMyKeyboardBar(console_, *this, std::move(target));
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(keyboard_, 1, wxEXPAND);
  console_->SetSizer(sizer);
  bars_->AdoptConsoleBar(
      keyboard_->EditingBar(), [this](bool show) { keyboard_->ShowEditingBar(show); },
      [this] { return keyboard_->EditingBarShown(); });
  keyboard_->EditingBar()->onChanged = [this](CToolBarEx&) { keyboard_->ShowEditingBar(keyboard_->EditingBarShown()); };
}

COutputWnd* CMainFrame::OutputPane() {
  if (outputPane_ != nullptr) return outputPane_;
  outputPane_ = new COutputWnd(output_, [this] {
    ShowBottomPane(kOutputPane, false);
    SetFocus();
  });
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(outputPane_, 1, wxEXPAND);
  output_->SetSizer(sizer);
  output_->Layout();
  return outputPane_;
}

void CMainFrame::BuildAccelerators() {
  // With no menu bar the keys need a table of their own: the program's table of keys. Its
  // typed characters ('{', '}') are the score view's.
  std::vector<wxAcceleratorEntry> entries;
  for (const view::Accelerator& key : view::Accelerators()) {
    wxAcceleratorEntry entry;
    if (key.IsCharacter() || !entry.FromString(FromUtf8(key.keys))) continue;
    entries.emplace_back(entry.GetFlags(), entry.GetKeyCode(), Id(key.command));
  }
  keyCommands_.clear();
  for (const wxAcceleratorEntry& entry : entries) keyCommands_.push_back(menuIds_.ToCommand(entry.GetCommand()));
  SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

// --------------------------------------------------------------------------------------------
// Documents

void CMainFrame::ShowDocument(std::unique_ptr<CVornelTabDoc> document) {
  const std::string title = document->GetTitle();
  auto* child = new CChildFrame(documents_, std::move(document), app_, *this, nextKey_++);
  // The tab's score and title page take turns as the first target of the route.
  child->onViewChanged = [this, child] {
    if (child != ActiveChild()) return;
    UpdateRoute();
    QueueEvent(new wxCommandEvent(EVT_CHILD_ACTIVATED));
  };
  views_.AddView(child, title);
  UpdateRoute();
  child->Activated();
  QueueEvent(new wxCommandEvent(EVT_CHILD_ACTIVATED));
  // Keys go to the new document's score.
  CallAfter([this, child] {
    if (ActiveChild() == child && child->Canvas() != nullptr) child->Canvas()->SetFocus();
  });
}

bool CMainFrame::ActivateDocument(const std::string& path) {
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
    if (ChildAt(i)->Document().GetPathName() == path) {
      documents_->SetSelection(i);
      UpdateRoute();
      return true;
    }
  }
  return false;
}

std::vector<CVornelTabDoc*> CMainFrame::Documents() const {
  std::vector<CVornelTabDoc*> list;
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) list.push_back(&ChildAt(i)->Document());
  return list;
}

bool CMainFrame::CloseDocument(CVornelTabDoc& document) {
  CChildFrame* child = ChildOf(document);
  if (child == nullptr) return false;
  if (!SaveModifiedBeforeClose(app_, document)) return false;
  autoSave_.RemoveCopy(child->Key());
  views_.RemoveView(child);
  UpdateRoute();
  // The last tab gone: the panes show no document, and the keys its score had come to the
  // frame, whose table of keys still opens and makes documents.
  if (documents_->GetPageCount() == 0) {
    ShowSections({}, -1);
    CallAfter([this] {
      if (documents_->GetPageCount() == 0 && !closing_) SetFocus();
    });
  }
  return true;
}

void CMainFrame::SwitchPaletteTab(std::string_view title) {
  for (size_t i = 0; i < leftGroup_->GetPageCount(); ++i) {
    if (leftGroup_->GetPageText(i) == FromUtf8(title)) {
      leftGroup_->SetSelection(i);
      return;
    }
  }
}

void CMainFrame::Exit() { Close(); }

CChildFrame* CMainFrame::ChildAt(size_t index) const {
  return index < documents_->GetPageCount() ? static_cast<CChildFrame*>(documents_->GetPage(index)) : nullptr;
}

CChildFrame* CMainFrame::ActiveChild() const {
  const int selected = documents_->GetSelection();
  return selected < 0 ? nullptr : ChildAt(static_cast<size_t>(selected));
}

CChildFrame* CMainFrame::ChildOf(const CVornelTabDoc& document) const {
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
    if (&ChildAt(i)->Document() == &document) return ChildAt(i);
  }
  return nullptr;
}

void CMainFrame::InsertTab(std::string_view title, const void* view) {
  auto* child = static_cast<CChildFrame*>(const_cast<void*>(view));
  documents_->AddPage(child, FromUtf8(title), true);
}

void CMainFrame::DeleteTab(const void* view) {
  auto* child = static_cast<CChildFrame*>(const_cast<void*>(view));
  const int index = documents_->GetPageIndex(child);
  if (index == wxNOT_FOUND) return;
  // A command of the tab's own document may be closing it: the page goes once that is over.
  documents_->RemovePage(static_cast<size_t>(index));
  child->Hide();
  wxTheApp->ScheduleForDestruction(child);
}

void CMainFrame::ResizeTabs() { documents_->Refresh(); }

void CMainFrame::UpdateRoute() {
  CChildFrame* child = ActiveChild();
  // The catalogue comes last: a command still to come shows disabled until a target carries it.
  if (child == nullptr) {
    router_.SetRoute({nullptr, nullptr, nullptr, &frameCommands_, &applicationCommands_, &pendingCommands_});
    RefreshTabTexts();
    return;
  }
  // While the facsimile pane is the active view its commands (print, preview) come first.
  router_.SetRoute({child->FacsimileCommands(), child->ViewCommands(), &child->DocumentCommands(), &child->FrameCommands(), &frameCommands_,
                    &applicationCommands_, &pendingCommands_});
  // The document's name stands before the application's.
  RefreshTabTexts();
}

// --------------------------------------------------------------------------------------------
// Commands

bool CMainFrame::DispatchCommand(int id) { return DispatchCommand(view::CommandEvent{id, std::nullopt, {}}); }

bool CMainFrame::DispatchCommand(const view::CommandEvent& event) {
  bool ran = false;
  if (CChildFrame* child = ActiveChild()) {
    // The snapshots the command takes are named after it in the undo list.
    const CBriotabDoc::ActionName name(child->Document(), bars::CommandLabel(event.id));
    ran = router_.Dispatch(event);
  } else {
    ran = router_.Dispatch(event);
  }
  if (ran) RefreshTitles();
  return ran;
}

bool CMainFrame::Dispatch(const view::CommandEvent& event) { return DispatchCommand(event); }

void CMainFrame::ShowSectionTree(CBriotabDoc& doc) {
  SectionTreeDialog dialog(this, doc);
  dialog.ShowModal();
}

void CMainFrame::ShowTitlePageView(CBriotabDoc& doc) {
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
    CChildFrame* child = ChildAt(i);
    if (static_cast<CBriotabDoc*>(&child->Document()) != &doc) continue;
    if (documents_->GetSelection() != static_cast<int>(i)) documents_->SetSelection(i);
    if (!child->ShowTitlePage()) return;
    UpdateRoute();
    // The title page's commands are on the ribbon's third page.
    if (bars_->Ribbon()->GetPageCount() > kTitlePageRibbonPage) bars_->Ribbon()->SetActivePage(kTitlePageRibbonPage);
    return;
  }
}

void CMainFrame::ShowMidiPlaylist() {
  if (playlistWindow_ == nullptr) {
    // The window's buttons act for the active document: its folder and its web page.
    MidiPlaylistWindow::Owner owner;
    owner.playerCommand = [this] { return GetMidiToWavProgramPath(app_); };
    owner.documentFolder = [this] {
      CChildFrame* child = ActiveChild();
      const std::string path = child != nullptr ? child->Document().GetPathName() : std::string();
      return path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
    };
    owner.htmlExport = [this]() -> std::function<bool()> {
      if (ActiveChild() == nullptr) return {};
      return [this] { return DispatchCommand(kExportToWebSite); };
    };
    playlistWindow_ = new MidiPlaylistWindow(this, playlist_, std::move(owner));
  }
  playlistWindow_->Show();
  playlistWindow_->Raise();
}

void CMainFrame::AddToMidiPlaylist(const std::string& path) {
  ShowMidiPlaylist();
  playlistWindow_->AddFile(path);
}

void CMainFrame::RefreshTitles() {
  if (closing_) return;
  RefreshTabTexts();
  UpdateRoute();
}

void CMainFrame::RefreshTabTexts() {
  // A document saved under another name takes it into its tab and the window's title; a
  // modified one is marked with an asterisk there until it is saved, or undone back to what
  // was saved.
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
    CChildFrame* child = ChildAt(i);
    const CVornelTabDoc& doc = child->Document();
    const wxString text = FromUtf8(MarkedTitle(doc));
    if (documents_->GetPageText(i) != text) {
      documents_->SetPageText(i, text);
      views_.RenameView(child, doc.GetTitle());
    }
  }
  CChildFrame* active = ActiveChild();
  const wxString title =
      active == nullptr ? wxString(kApplicationName) : FromUtf8(MarkedTitle(active->Document())) + " - " + kApplicationName;
  if (GetTitle() != title) SetTitle(title);
}

view::CommandState CMainFrame::CommandStateOf(int id) const { return router_.State(id); }

int CMainFrame::Id(int command) { return menuIds_.ToWindowId(command); }

void CMainFrame::OnMenu(wxCommandEvent& event) {
  if (!DispatchCommand(menuIds_.ToCommand(event.GetId()))) event.Skip();
}

void CMainFrame::OnUpdateUI(wxUpdateUIEvent& event) {
  // Only the menus' items are ours to enable here; the bars handle their own, other windows
  // keep their state.
  auto* menu = dynamic_cast<wxMenu*>(event.GetEventObject());
  if (menu == nullptr) {
    event.Skip();
    return;
  }
  // A submenu's own item opens it: it stays enabled, whatever its id.
  if (const wxMenuItem* item = menu->FindItem(event.GetId()); item != nullptr && item->IsSubMenu()) return;
  const view::CommandState state = router_.State(menuIds_.ToCommand(event.GetId()));
  event.Enable(state.handled && state.enabled);
  if (state.checked) event.Check(*state.checked);
}

void CMainFrame::OnIdle(wxIdleEvent& event) {
  event.Skip();
  if (closing_) return;
  // Keys typed into the score change documents without a command of the frame's.
  RefreshTabTexts();
  bars_->CheckSideDocking();
  // The zoom box shows the active view's zoom, 120% without one.
  if (CToolBarEx* zoom = bars_->Bar(bars::kZoomBar)) {
    CChildFrame* child = ActiveChild();
    const bool viewZoom = child != nullptr && child->CanvasParts().zoomPercent;
    zoom->ShowZoom(viewZoom ? child->CanvasParts().zoomPercent() : bars::kZoomPercentages[bars::kDefaultZoomIndex]);
  }
  bars_->Ribbon()->RefreshSliders();
  app_.KeepChangedSettings();
}

void CMainFrame::ShowBottomPane(const char* name, bool show) {
  wxAuiPaneInfo& pane = dock_.GetPane(name);
  if (show == pane.IsShown()) return;
  if (show) {
    // A hidden pane comes back docked where it belongs.
    pane.Dock().Bottom().Show();
  } else {
    pane.Hide();
  }
  dock_.Update();
}

bool CMainFrame::IsOn(FrameSwitch which) const {
  auto& dock = const_cast<wxAuiManager&>(dock_);
  switch (which) {
    case FrameSwitch::kStatusBar: return GetStatusBar()->IsShown();
    case FrameSwitch::kEditMode: return editMode_;
    case FrameSwitch::kPropertiesPane: return LeftPaneShown(kProperties);
    case FrameSwitch::kOutputPane: return dock.GetPane(kOutputPane).IsShown();
    case FrameSwitch::kFullScreen: return IsFullScreen();
    case FrameSwitch::kKeyboardConsole: return dock.GetPane(kConsolePane).IsShown();
    case FrameSwitch::kToolbars: return bars_->ToolbarsShown();
    case FrameSwitch::kRibbonPanels: return bars_->RibbonPanelsShown();
  }
  return false;
}

void CMainFrame::Switch(FrameSwitch which, bool on) {
  switch (which) {
    case FrameSwitch::kStatusBar:
      GetStatusBar()->Show(on);
      SendSizeEvent();
      break;
    case FrameSwitch::kEditMode:
      editMode_ = on;
      dock_.Update();
      break;
    case FrameSwitch::kPropertiesPane: ShowLeftPane(kProperties, on); break;
    case FrameSwitch::kOutputPane: ShowBottomPane(kOutputPane, on); break;
    case FrameSwitch::kFullScreen: ShowFullScreen(on); break;
    case FrameSwitch::kKeyboardConsole: ShowBottomPane(kConsolePane, on); break;
    case FrameSwitch::kToolbars: bars_->ShowToolbars(on); break;
    case FrameSwitch::kRibbonPanels: bars_->ShowRibbonPanels(on); break;
  }
}

size_t CMainFrame::DocumentCount() const { return documents_->GetPageCount(); }

void CMainFrame::ShowAllPanes() {
  for (int pane = 0; pane < kLeftPaneCount; ++pane) ShowLeftPane(static_cast<LeftPane>(pane), true);
}

void CMainFrame::CustomizeToolbars() { bars_->Customize(bars::kEditingOptionsBar); }

void CMainFrame::FloatMidiToolbar() { bars_->FloatMidiBar(); }

void CMainFrame::ShowToolbarMenu(int x, int y) { bars_->ShowToolbarMenu(wxPoint(x, y)); }

std::vector<std::string> CMainFrame::RecentFiles() const { return app_.recentFiles.Paths(); }

wxBitmap CMainFrame::Picture(int id, int size) { return pictures_.Get(id, size, bars::ToolbarButtonLabel(id)); }

std::vector<bars::SliderSetting> CMainFrame::MidiSliders() const {
  CChildFrame* child = ActiveChild();
  return child != nullptr ? bars::ActiveLineSliderSettings(child->Document()) : std::vector<bars::SliderSetting>{};
}

std::vector<std::string> CMainFrame::UndoNames(bool redo) const {
  CChildFrame* child = ActiveChild();
  if (child == nullptr) return {};
  return redo ? child->Document().RedoNames() : child->Document().UndoNames();
}

bool CMainFrame::LeftPaneShown(LeftPane pane) const {
  return leftPages_[pane].shown && const_cast<wxAuiManager&>(dock_).GetPane(kLeftPane).IsShown();
}

void CMainFrame::ShowLeftPane(LeftPane pane, bool show) {
  LeftPage& page = leftPages_[pane];
  wxAuiPaneInfo& group = dock_.GetPane(kLeftPane);
  if (show) {
    if (!page.shown) {
      size_t position = 0;
      for (int i = 0; i < pane; ++i) position += leftPages_[static_cast<size_t>(i)].shown ? 1 : 0;
      leftGroup_->InsertPage(position, page.window, page.title, false);
      page.shown = true;
    }
    leftGroup_->SetSelection(static_cast<size_t>(leftGroup_->GetPageIndex(page.window)));
    group.Show();
  } else if (page.shown) {
    leftGroup_->RemovePage(static_cast<size_t>(leftGroup_->GetPageIndex(page.window)));
    page.window->Hide();
    page.shown = false;
    if (leftGroup_->GetPageCount() == 0) group.Hide();
  }
  dock_.Update();
}

void CMainFrame::ShowPaletteMenu() {
  wxMenu menu;
  for (size_t i = 0; i < leftGroup_->GetPageCount(); ++i) menu.Append(static_cast<int>(i) + 1, leftGroup_->GetPageText(i));
  const int chosen = GetPopupMenuSelectionFromUser(menu, ScreenToClient(wxGetMousePosition()));
  if (chosen > 0) leftGroup_->SetSelection(static_cast<size_t>(chosen - 1));
}

void CMainFrame::ShowWindowsDialog() {
  wxArrayString titles;
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) titles.Add(documents_->GetPageText(i));
  wxSingleChoiceDialog dialog(this, "Windows", "Windows", titles);
  if (documents_->GetSelection() >= 0) dialog.SetSelection(documents_->GetSelection());
  if (dialog.ShowModal() == wxID_OK) documents_->SetSelection(static_cast<size_t>(dialog.GetSelection()));
}

void CMainFrame::RunPreferences() {
  if (!app_.ShowPreferences(*preferences_)) return;
  Refresh();
  if (CChildFrame* child = ActiveChild(); child != nullptr && child->Canvas() != nullptr) child->Canvas()->Refresh();
}

// --------------------------------------------------------------------------------------------
// Panes and private requests

void CMainFrame::SetStatusText(int slot, std::string_view text) {
  if (slot < 0 || slot >= kStatusSlots) return;
  const wxString value = FromUtf8(text);
  if (GetStatusBar()->GetStatusText(slot) == value) return;
  // The status bar repaints at once when its text changes; the score sets its panes while it
  // paints, and a paint nested in that paint crashes the toolkit: the text waits until after.
  if (view::ScoreCanvas::AnyPainting()) {
    CallAfter([this, slot, value] { GetStatusBar()->SetStatusText(value, slot); });
    return;
  }
  GetStatusBar()->SetStatusText(value, slot);
}

void CMainFrame::RefreshProperties() {
  if (paneContents_ != nullptr) paneContents_->RefreshProperties();
}

void CMainFrame::ShowSections(const std::vector<std::string>& lines, int active) {
  sectionLines_ = lines;
  if (paneContents_ != nullptr) paneContents_->ShowSections(lines, active);
}

void CMainFrame::ShowFacsimiles(const std::vector<std::string>& names) {
  facsimileNames_ = names;
  if (paneContents_ != nullptr) paneContents_->ShowFacsimiles(names);
}

void CMainFrame::TempoChanged(int beatsPerMinute) {
  auto* event = new wxCommandEvent(EVT_TEMPO_CHANGED);
  event->SetInt(std::max(1, beatsPerMinute));
  QueueEvent(event);
}

void CMainFrame::RequestLayoutReset() { QueueEvent(new wxCommandEvent(EVT_LAYOUT_RESET)); }

void CMainFrame::OnTabChanged(wxAuiNotebookEvent& event) {
  UpdateRoute();
  if (CChildFrame* child = ActiveChild()) {
    child->Activated();
    // Keys go to the document whose tab was chosen, once the tab strip has had its click.
    CallAfter([this, child] {
      if (ActiveChild() == child && child->Canvas() != nullptr) child->Canvas()->SetFocus();
    });
  }
  QueueEvent(new wxCommandEvent(EVT_CHILD_ACTIVATED));
  event.Skip();
}

void CMainFrame::OnTabClose(wxAuiNotebookEvent& event) {
  // The tab goes through the document's own close, which asks to save it.
  event.Veto();
  if (CChildFrame* child = ChildAt(static_cast<size_t>(event.GetSelection()))) CloseDocument(child->Document());
}

void CMainFrame::OnChildActivated(wxCommandEvent&) {
  PaneHost(kSections)->Refresh();
  RefreshProperties();
}

void CMainFrame::OnLayoutReset(wxCommandEvent&) {
  dock_.Update();
  Refresh();
  // The active view formats its section for the new space.
  QueueEvent(new wxCommandEvent(wxEVT_MENU, Id(commands::kFormatSystem)));
}

void CMainFrame::OnTempoChanged(wxCommandEvent& event) { metronome_.TempoChanged(event.GetInt()); }

void CMainFrame::Start(int periodMs) { metronomeTimer_.Start(periodMs); }

void CMainFrame::Stop() { metronomeTimer_.Stop(); }

void CMainFrame::OnLockKeys(wxTimerEvent&) {
  wxStatusBar* bar = GetStatusBar();
  if (bar == nullptr || !bar->IsShown()) return;
  const std::array<std::pair<wxKeyCode, const char*>, 3> keys = {
      {{WXK_CAPITAL, "CAP"}, {WXK_NUMLOCK, "NUM"}, {WXK_SCROLL, "SCRL"}}};
  for (size_t i = 0; i < keys.size(); ++i) {
    const wxString text = wxGetKeyState(keys[i].first) ? keys[i].second : "";
    const int slot = kCapsSlot + static_cast<int>(i);
    if (bar->GetStatusText(slot) != text) bar->SetStatusText(text, slot);
  }
}

// --------------------------------------------------------------------------------------------
// Looks, layout, autosave, close

void CMainFrame::ApplyLook(int id) {
  wxBusyCursor busy;
  app_.look = ValidLook(id);
  const ApplicationLook& look = LookFor(app_.look);
  wxAuiDockArt* art = dock_.GetArtProvider();
  art->SetColour(wxAUI_DOCKART_BACKGROUND_COLOUR, Colour(look.tertiary));
  art->SetColour(wxAUI_DOCKART_SASH_COLOUR, Colour(look.secondary));
  art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_COLOUR, Colour(look.primary));
  art->SetColour(wxAUI_DOCKART_ACTIVE_CAPTION_GRADIENT_COLOUR, Colour(look.secondary));
  art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_COLOUR, Colour(look.secondary));
  art->SetColour(wxAUI_DOCKART_INACTIVE_CAPTION_GRADIENT_COLOUR, Colour(look.tertiary));
  for (wxAuiNotebook* book : {documents_, leftGroup_}) {
    book->GetArtProvider()->SetColour(Colour(look.secondary));
    book->GetArtProvider()->SetActiveColour(Colour(look.tertiary));
    book->Refresh();
  }
  bars_->Ribbon()->GetArtProvider()->SetColourScheme(Colour(look.primary), Colour(look.secondary),
                                                     Colour(look.tertiary));
  bars_->Ribbon()->Refresh();
  dock_.Update();
  Refresh();
  app_.Profile().WriteInt(kWorkspaceSection, kLookKey, app_.look);
}

void CMainFrame::SaveLayout() {
  ProfileStore& profile = app_.Profile();
  profile.WriteText(kWorkspaceSection, "Perspective", std::string(dock_.SavePerspective().utf8_str()));
  std::string shown;
  for (const LeftPage& page : leftPages_) shown += page.shown ? '1' : '0';
  profile.WriteText(kWorkspaceSection, "LeftPanes", shown);
  const int selected = leftGroup_->GetSelection();
  profile.WriteText(kWorkspaceSection, "LeftActive",
                    selected >= 0 ? std::string(leftGroup_->GetPageText(static_cast<size_t>(selected)).utf8_str())
                                  : std::string());
  profile.WriteInt(kWorkspaceSection, "StatusBar", GetStatusBar()->IsShown() ? 1 : 0);
  profile.WriteInt(kWorkspaceSection, kLookKey, app_.look);
}

void CMainFrame::RestoreLayout() {
  const ProfileStore& profile = app_.Profile();
  const std::string shown = profile.GetText(kWorkspaceSection, "LeftPanes");
  if (shown.size() == kLeftPaneCount) {
    for (int pane = 0; pane < kLeftPaneCount; ++pane) {
      if (shown[static_cast<size_t>(pane)] == '0') ShowLeftPane(static_cast<LeftPane>(pane), false);
    }
  }
  const std::string perspective = profile.GetText(kWorkspaceSection, "Perspective");
  if (!perspective.empty()) dock_.LoadPerspective(FromUtf8(perspective), false);
  // The panes keep the captions and kinds of this build whatever the profile says.
  dock_.GetPane(kDocumentsPane).CenterPane();
  bars_->FitPanes();
  const std::string active = profile.GetText(kWorkspaceSection, "LeftActive");
  if (!active.empty()) SwitchPaletteTab(active);
  if (profile.GetInt(kWorkspaceSection, "StatusBar", 1) == 0) GetStatusBar()->Hide();
  dock_.Update();
}

void CMainFrame::StartAutoSave() {
  autoSaveTimer_.Stop();
  if (app_.autoSaveIntervalMs > 0) autoSaveTimer_.Start(static_cast<int>(app_.autoSaveIntervalMs));
}

void CMainFrame::OnAutoSave(wxTimerEvent&) {
  for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
    CChildFrame* child = ChildAt(i);
    if (child->Document().IsModified()) {
      autoSave_.SaveCopy(child->Document(), child->Key());
    } else {
      autoSave_.RemoveCopy(child->Key());
    }
  }
}

void CMainFrame::OfferRecoveryCopies() {
  const std::vector<RecoveryCopy> copies = autoSave_.Leftovers();
  if (copies.empty()) return;
  if (Prompts().Ask(AutoSaveStore::kRecoverQuestion, Buttons::kYesNo) == Answer::kYes) {
    for (const RecoveryCopy& copy : copies) {
      OpenedDocument opened = vornel::OpenDocumentFile(copy.copyPath);
      if (!opened.document) {
        Prompts().ShowMessage(opened.message, MessageKind::kError);
        continue;
      }
      if (copy.originalPath.empty()) {
        opened.document->ClearPathName();
      } else {
        opened.document->SetPathName(copy.originalPath);
      }
      opened.document->SetTitle(copy.title);
      opened.document->SetModifiedFlag(true);
      ShowDocument(std::move(opened.document));
    }
  }
  autoSave_.DiscardLeftovers();
}

void CMainFrame::OnClose(wxCloseEvent& event) {
  bool keepCopies = false;
  if (event.CanVeto()) {
    for (CVornelTabDoc* document : Documents()) {
      if (!SaveModifiedBeforeClose(app_, *document)) {
        event.Veto();
        return;
      }
    }
  } else {
    // A close that cannot wait for answers keeps what was not saved as recovery copies.
    for (size_t i = 0; i < documents_->GetPageCount(); ++i) {
      CChildFrame* child = ChildAt(i);
      if (child->Document().IsModified()) keepCopies = autoSave_.SaveCopy(child->Document(), child->Key()) || keepCopies;
    }
  }
  closing_ = true;
  metronome_.Stop();
  lockKeysTimer_.Stop();
  autoSaveTimer_.Stop();
  SaveLayout();
  if (!keepCopies) autoSave_.RemoveAll();
  views_.SetClosing(true);
  app_.CleanUp();
  Destroy();
}

}  // namespace vornel
