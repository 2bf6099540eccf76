#pragma once
// The contents of the main frame's panes: the file explorer, the sections and templates
// panes, the properties window, the palettes and the document groups, each put into its host in the left group.
// It is what the panes reach of the frame and the application (the active tablature view,
// command routing, templates, documents), and it refills the panes when the frame is told of
// a change (sections, facsimiles, properties). The sections lists, the properties window and
// the chord palette are built when their page first shows (or when first asked for); what
// they will show is kept until then.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/panes/PaneActions.h"

namespace vornel {

namespace palettes {
class PaletteTarget;
}

class CChildFrame;
class CDatabaseBar;
class CMainFrame;
class CVornelTabApp;
class FileExplorerPane;
class CChordPalette;
class PropertiesPane;
class SplitListPane;
class SplitPalettePane;

class FramePaneContents : private panes::PaneServices {
 public:
  FramePaneContents(CMainFrame& frame, CVornelTabApp& app);
  ~FramePaneContents() override;

  // The properties window shows the active document and its active section again (once the
  // current event is over, so that an edit in the grid is never pulled away under it).
  void RefreshProperties();
  void ShowSections(const std::vector<std::string>& lines, int active);
  void ShowFacsimiles(const std::vector<std::string>& names);
  void FillTemplates();

  FileExplorerPane* Explorer() const { return explorer_; }
  // These three build their pane when it is not built yet.
  SplitListPane* Sections();
  PropertiesPane* Properties();
  CChordPalette* ChordPalette();
  SplitListPane* Templates() const { return templates_; }
  SplitPalettePane* Palettes() const { return palettes_; }
  // True once the pane on `page` (a CMainFrame::LeftPane) was built.
  bool Built(int page) const;
  CDatabaseBar* DocumentGroups() const { return database_; }
  panes::PaneServices& Services() { return *this; }
  // What the palettes pane's commands act on, and the document groups pane's commands on its
  // selection (the main frame's table carries both).
  palettes::PaletteTarget& PaletteCommandTarget();
  void RunDocumentGroupCommand(int id);

 private:
  class ChildView;

  // --- PaneServices
  panes::TabView* ActiveTabView() override;
  void SendCommand(int id) override;
  void NewDocumentFromTemplate(const std::string& name) override;
  void ApplyTemplate(const std::string& name) override;
  bool DeleteTemplate(const std::string& name) override;
  void ChooseTemplatesFolder() override;
  void SelectInstrumentBase() override;
  void DeleteInstrument(int index) override;
  void AddLibraryInstrumentToSection(int index) override;
  void RemoveFacsimile(int index) override;
  void GoToXmlFolder() override;

  void UpdateProperties();
  // The properties window shows the active document's section.
  void FillProperties();
  // Builds the pane of `page` when it first shows.
  void BuildWhenShown(int page, std::function<void()> build);

  CMainFrame& frame_;
  CVornelTabApp& app_;
  std::unique_ptr<ChildView> view_;
  FileExplorerPane* explorer_ = nullptr;
  SplitListPane* sections_ = nullptr;
  SplitListPane* templates_ = nullptr;
  PropertiesPane* properties_ = nullptr;
  SplitPalettePane* palettes_ = nullptr;
  CChordPalette* chordPalette_ = nullptr;
  CDatabaseBar* database_ = nullptr;
  bool propertiesQueued_ = false;
  // What the sections lists show, kept while they are not built.
  std::vector<std::string> sectionLines_;
  int activeSection_ = -1;
  std::vector<std::string> facsimileNames_;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace vornel
