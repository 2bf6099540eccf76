#include "shell/ui/panes/FramePaneContents.h"

#include <wx/sizer.h>

#include <filesystem>

#include "document/CVornelTabDoc.h"
#include "document/instruments/InstrumentBaseUse.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/UserPrompts.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/InstrumentBaseCommands.h"
#include "shell/files/FileHelpers.h"
#include "shell/palettes/PaletteCommands.h"
#include "shell/ui/CChildFrame.h"
#include "shell/files/PathHelpers.h"
#include "shell/ui/MainFrame.h"
#include "shell/ui/panes/DatabaseBar.h"
#include "shell/ui/panes/ListPanes.h"
#include "shell/ui/panes/PaletteWindows.h"
#include "shell/ui/panes/PaneTools.h"
#include "shell/ui/panes/PropertiesPane.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/text/CFacsimileListDlg.h"
#include "model/score/CSystemArray.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/ui/ScoreCanvas.h"
#include "view/ui/charts/ChordPalette.h"

namespace vornel {

namespace {

constexpr int kSectionTools[] = {33297, 33300, 33299, 32991, 33302};
constexpr int kFacsimileTools[] = {33836, 33833, 33834, 33835, 33838, 33837};
constexpr int kTemplateTools[] = {34111, 34112, 34115, 34113, 34114};
constexpr int kInstrumentTools[] = {34109, 34108, 34105, 34104, 34107, 34106, 34110};
constexpr int kOpenFacsimileImage = 33023;

void PutInHost(wxWindow* host, wxWindow* pane) {
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  sizer->Add(pane, 1, wxEXPAND);
  host->SetSizer(sizer);
  host->Layout();
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace

// The active tab's document as the panes' tablature view.
class FramePaneContents::ChildView : public panes::TabView {
 public:
  explicit ChildView(CMainFrame& frame) : frame_(frame) {}
  CChildFrame* child = nullptr;

  CVornelTabDoc& Document() override { return child->Document(); }
  void OnSectionListDblClk(int index) override {
    CVornelTabDoc& doc = child->Document();
    if (doc.SetActiveSection(index) != 0) doc.UpdateSectionList();
  }
  void OnFacsimileListDblClk(int index) override {
    if (index < 0) {
      frame_.DispatchCommand(kOpenFacsimileImage);
    } else {
      // The entry's picture in the tab's image viewer, whose pane shows.
      view::ViewFacsimile(child->Document(), static_cast<size_t>(index));
    }
  }
  // The base's entry in the instrument sheet; the list shows the base as saved after it.
  void EditLibraryInstrument(int index) override {
    if (view::EditLibraryInstrument(index)) refillInstruments();
  }
  // "Apply this instrument definition": the active line's definition becomes the entry's.
  void ReplaceInstrumentFromLibrary(int index) override {
    if (auto* canvas = dynamic_cast<view::ScoreCanvas*>(child->Canvas())) {
      view::ReplaceInstrumentFromLibrary(canvas->View(), index);
    }
  }

  std::function<void()> refillInstruments;

 private:
  CMainFrame& frame_;
};

FramePaneContents::FramePaneContents(CMainFrame& frame, CVornelTabApp& app)
    : frame_(frame), app_(app), view_(std::make_unique<ChildView>(frame)) {
  explorer_ = new FileExplorerPane(frame.PaneHost(CMainFrame::kFileExplorer), *this,
                                   [this](const std::string& path) { OpenDocumentFile(app_, frame_, path); });
  PutInHost(frame.PaneHost(CMainFrame::kFileExplorer), explorer_);

  BuildWhenShown(CMainFrame::kSections, [this] { Sections(); });

  templates_ = new SplitListPane(frame.PaneHost(CMainFrame::kTemplates), "Templates",
                                 {panes::ListId::kTemplates, "Document Templates", kTemplateTools},
                                 {panes::ListId::kInstruments, "Instruments", kInstrumentTools}, *this);
  templates_->Top()->refill = [this] { FillTemplates(); };
  templates_->Bottom()->refill = [this] { templates_->Bottom()->Fill(InstrumentBaseNames()); };
  view_->refillInstruments = [this] { templates_->Bottom()->Fill(InstrumentBaseNames()); };
  PutInHost(frame.PaneHost(CMainFrame::kTemplates), templates_);

  BuildWhenShown(CMainFrame::kProperties, [this] { Properties(); });

  PaletteRouting routing;
  routing.send = [this](const view::CommandEvent& event) { frame_.DispatchCommand(event); };
  routing.state = [this](int id) { return frame_.CommandStateOf(id); };
  palettes_ = new SplitPalettePane(frame.PaneHost(CMainFrame::kPalettes), frame.DockManager(), routing);
  PutInHost(frame.PaneHost(CMainFrame::kPalettes), palettes_);

  BuildWhenShown(CMainFrame::kChordCharts, [this] { ChordPalette(); });
  database_ = new CDatabaseBar(
      frame.PaneHost(CMainFrame::kDocumentGroup), app_.xmlFolder, app_.dataFolder,
      GetDocumentRootUrl(app_.htmlRoot, app_.xmlFolder), [this](int id) { frame_.DispatchCommand(id); },
      [this](const std::string& path) { return OpenDocumentFile(app_, frame_, path); });
  PutInHost(frame.PaneHost(CMainFrame::kDocumentGroup), database_);

  explorer_->ShowFolder(app_.dataFolder.empty() ? std::filesystem::current_path().string() : app_.dataFolder);
  FillTemplates();
  // The instrument base is read when its list first shows.
  WhenFirstShown(frame.PaneHost(CMainFrame::kTemplates), [this] { templates_->Bottom()->Fill(InstrumentBaseNames()); });
  RefreshProperties();
}

FramePaneContents::~FramePaneContents() { *alive_ = false; }

void FramePaneContents::BuildWhenShown(int page, std::function<void()> build) {
  std::weak_ptr<bool> alive = alive_;
  WhenFirstShown(frame_.PaneHost(static_cast<CMainFrame::LeftPane>(page)), [alive, build = std::move(build)] {
    if (!alive.expired()) build();
  });
}

bool FramePaneContents::Built(int page) const {
  switch (page) {
    case CMainFrame::kSections: return sections_ != nullptr;
    case CMainFrame::kProperties: return properties_ != nullptr;
    case CMainFrame::kChordCharts: return chordPalette_ != nullptr;
    default: return true;
  }
}

SplitListPane* FramePaneContents::Sections() {
  if (sections_ != nullptr) return sections_;
  wxWindow* host = frame_.PaneHost(CMainFrame::kSections);
  sections_ = new SplitListPane(host, "Sections", {panes::ListId::kSections, "Sections", kSectionTools},
                                {panes::ListId::kFacsimiles, "Facsimiles", kFacsimileTools}, *this);
  PutInHost(host, sections_);
  sections_->Top()->Fill(sectionLines_, activeSection_);
  sections_->Bottom()->Fill(facsimileNames_);
  return sections_;
}

PropertiesPane* FramePaneContents::Properties() {
  if (properties_ != nullptr) return properties_;
  wxWindow* host = frame_.PaneHost(CMainFrame::kProperties);
  properties_ = new PropertiesPane(host, [this](int id) { SendCommand(id); }, [this] { frame_.RequestLayoutReset(); });
  PutInHost(host, properties_);
  FillProperties();
  return properties_;
}

CChordPalette* FramePaneContents::ChordPalette() {
  if (chordPalette_ != nullptr) return chordPalette_;
  wxWindow* host = frame_.PaneHost(CMainFrame::kChordCharts);
  // The chord palette shows the alfabeto of the active document's active line.
  chordPalette_ = new CChordPalette(
      host,
      [this]() -> CTabInstrument* {
        CChildFrame* child = frame_.ActiveChild();
        CInstrument* line = child != nullptr ? child->Document().GetActiveInstrument() : nullptr;
        return line != nullptr && line->definition != nullptr ? &line->definition->tabInstrument : nullptr;
      },
      [this](int id) { return frame_.Picture(id, 16); });
  PutInHost(host, chordPalette_);
  chordPalette_->Reload();
  return chordPalette_;
}

palettes::PaletteTarget& FramePaneContents::PaletteCommandTarget() { return *palettes_; }

void FramePaneContents::RunDocumentGroupCommand(int id) {
  CChildFrame* child = frame_.ActiveChild();
  database_->RunCommand(id, child != nullptr ? &child->Document() : nullptr);
}

void FramePaneContents::RefreshProperties() {
  if (propertiesQueued_) return;
  propertiesQueued_ = true;
  std::weak_ptr<bool> alive = alive_;
  frame_.CallAfter([this, alive] {
    if (alive.expired()) return;
    propertiesQueued_ = false;
    UpdateProperties();
  });
}

void FramePaneContents::UpdateProperties() {
  // The chord palette follows the active document's line.
  if (chordPalette_ != nullptr) chordPalette_->Reload();
  FillProperties();
}

void FramePaneContents::FillProperties() {
  if (properties_ == nullptr) return;
  CChildFrame* child = frame_.ActiveChild();
  if (child == nullptr || child->Document().sections.empty()) {
    properties_->UpdatePropList(nullptr, nullptr);
    return;
  }
  CVornelTabDoc& doc = child->Document();
  doc.sections.ClampActiveSection();
  properties_->UpdatePropList(&doc, doc.GetActiveSection());
}

void FramePaneContents::ShowSections(const std::vector<std::string>& lines, int active) {
  sectionLines_ = lines;
  activeSection_ = active;
  if (sections_ != nullptr) sections_->Top()->Fill(lines, active);
  // The active section's facsimiles by their file names.
  std::vector<std::string> facsimiles;
  if (CChildFrame* child = frame_.ActiveChild(); child != nullptr && !child->Document().sections.empty()) {
    CVornelTabDoc& doc = child->Document();
    doc.sections.ClampActiveSection();
    const CFacsimileListDlg& list = doc.GetActiveSection()->facsimiles;
    for (size_t i = 0; i < list.size(); ++i) facsimiles.push_back(list.GetImageName(i));
  }
  ShowFacsimiles(facsimiles);
  RefreshProperties();
}

void FramePaneContents::ShowFacsimiles(const std::vector<std::string>& names) {
  facsimileNames_ = names;
  if (sections_ != nullptr) sections_->Bottom()->Fill(names);
}

void FramePaneContents::FillTemplates() {
  const std::string folder = app_.options.templatesFolder;
  std::error_code error;
  std::vector<std::string> names;
  if (!folder.empty() && std::filesystem::is_directory(folder, error)) {
    if (const auto listed = ListTemplateFiles(folder)) names = *listed;
  }
  templates_->Top()->Fill(names);
}

// --- PaneServices

panes::TabView* FramePaneContents::ActiveTabView() {
  CChildFrame* child = frame_.ActiveChild();
  if (child == nullptr || child->TitlePageView()) return nullptr;
  view_->child = child;
  return view_.get();
}

void FramePaneContents::SendCommand(int id) { frame_.DispatchCommand(id); }

void FramePaneContents::NewDocumentFromTemplate(const std::string& name) {
  OpenTemplateAsNewDocument(app_, frame_, WithSlash(app_.options.templatesFolder) + name);
}

void FramePaneContents::ApplyTemplate(const std::string& name) {
  if (CChildFrame* child = frame_.ActiveChild()) child->Document().ApplyTemplate(WithSlash(app_.options.templatesFolder) + name);
}

bool FramePaneContents::DeleteTemplate(const std::string& name) {
  std::error_code error;
  return std::filesystem::remove(std::filesystem::path(WithSlash(app_.options.templatesFolder) + name), error) && !error;
}

void FramePaneContents::ChooseTemplatesFolder() {
  const auto folder = Prompts().PromptFolder("Templates", app_.options.templatesFolder);
  if (!folder) return;
  app_.options.templatesFolder = WithSlash(*folder);
  app_.Profile().WriteText(kSessionProfile, "TemplatesPath", app_.options.templatesFolder);
}

// The templates dialog over the base; the list then shows the base as saved.
void FramePaneContents::SelectInstrumentBase() {
  CInstrumentDlg scratch;
  ChooseFromTemplates(scratch);
  templates_->Bottom()->Fill(InstrumentBaseNames());
}

void FramePaneContents::DeleteInstrument(int index) {
  if (DeleteBaseInstrument(index)) templates_->Bottom()->Fill(InstrumentBaseNames());
}

void FramePaneContents::AddLibraryInstrumentToSection(int index) {
  AddBaseInstrumentToSection(app_, index, [this](int command) { frame_.DispatchCommand(command); });
}
void FramePaneContents::RemoveFacsimile(int index) {
  CChildFrame* child = frame_.ActiveChild();
  if (child == nullptr || index < 0) return;
  view::RemoveFacsimile(child->Document(), static_cast<size_t>(index));
}

void FramePaneContents::GoToXmlFolder() { explorer_->ShowFolder(app_.xmlFolder); }

}  // namespace vornel
