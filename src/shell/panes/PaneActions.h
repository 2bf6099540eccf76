#pragma once
// What the file explorer, templates and sections panes do, without their windows: opening the
// selected entry of a list (Enter, double-click), the commands of each list's tool bar and of
// the explorer's. They act through the active tablature view, the main window's command
// routing and the application; a title-page view, or no document at all, leaves every view
// action undone while the templates still act.

#include <string>
#include <string_view>

namespace vornel {

class CVornelTabDoc;

namespace panes {

// The list windows' ids, which tell the lists apart.
enum class ListId : int { kSections = 59432, kFacsimiles = 59433, kTemplates = 59434, kInstruments = 59435 };

// The active tablature view as the panes use it.
class TabView {
 public:
  virtual ~TabView() = default;
  virtual CVornelTabDoc& Document() = 0;
  // Makes the section of the sections list's entry the active one.
  virtual void OnSectionListDblClk(int index) = 0;
  // Views the facsimile of the entry, or starts adding one when none is chosen (-1).
  virtual void OnFacsimileListDblClk(int index) = 0;
  // Opens the instrument base's instrument for editing; replaces the active line's definition
  // by it (after asking).
  virtual void EditLibraryInstrument(int index) = 0;
  virtual void ReplaceInstrumentFromLibrary(int index) = 0;
};

// What the panes need of the main window and the application.
class PaneServices {
 public:
  virtual ~PaneServices() = default;
  // The active child's view when it is a tablature view; null for the title-page view or
  // without a document.
  virtual TabView* ActiveTabView() = 0;
  // Sends a command to the main window, which routes it to the view, the document, the frame
  // and the application.
  virtual void SendCommand(int id) = 0;
  // --- the application
  virtual void NewDocumentFromTemplate(const std::string& name) = 0;
  // Applies the template to the active document.
  virtual void ApplyTemplate(const std::string& name) = 0;
  // Deletes the template file; false when that failed.
  virtual bool DeleteTemplate(const std::string& name) = 0;
  virtual void ChooseTemplatesFolder() = 0;
  virtual void SelectInstrumentBase() = 0;
  virtual void DeleteInstrument(int index) = 0;
  virtual void AddLibraryInstrumentToSection(int index) = 0;
  // Removes the facsimile of the index from the active section (the document asks first).
  virtual void RemoveFacsimile(int index) = 0;
  // Shows the database (XML) folder in the explorer.
  virtual void GoToXmlFolder() = 0;
};

// The selected entry of a list: its index (-1 for none) and its text.
struct ListSelection {
  int index = -1;
  std::string text;
  bool Selected() const { return index >= 0; }
};

inline constexpr std::string_view kDeleteInstrumentQuestion = "Do you really want to delete this instrument?";
inline constexpr std::string_view kDeleteTemplateQuestion =
    "This operation will completely delete the template file %s from your system.\nOK to proceed?";
inline constexpr std::string_view kTemplateDeletedMessage = "This template has been succesfully deleted.";
inline constexpr std::string_view kTemplateNotDeletedMessage = "Operation failed: unable to delete template";

// Opens the selected entry (Enter, double-click, and the "open" buttons of the lists).
void OpenEntry(PaneServices& services, ListId list, const ListSelection& selection);

// What a list pane does after one of its tool bar commands.
struct ListCommandResult {
  bool handled = false;  // the command belongs to this list
  bool refill = false;   // the list is filled again
  bool removeSelection = false;  // the selected entry leaves the list
};
ListCommandResult RunListCommand(PaneServices& services, ListId list, int command, const ListSelection& selection);

// The explorer's tool bar commands (34100-34103); false for another command.
bool RunExplorerCommand(PaneServices& services, int command);

}  // namespace panes
}  // namespace vornel
