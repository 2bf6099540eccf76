#pragma once
// The commands of the application and the framework's document commands (save, save as,
// close): opening documents into tabs, new documents from templates, saving, the external
// programs and the metronome switches. They work on the application's state and ask the main
// window for tabs through DocumentWindows, so that every command runs headless in tests.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;

// What the commands ask of the main window.
class DocumentWindows {
 public:
  virtual ~DocumentWindows() = default;
  // Shows the document in a new tab, which becomes the active one.
  virtual void ShowDocument(std::unique_ptr<CVornelTabDoc> document) = 0;
  // Activates the tab of the open document with that path; false when none has it.
  virtual bool ActivateDocument(const std::string& path) = 0;
  // The open documents, in tab order.
  virtual std::vector<CVornelTabDoc*> Documents() const = 0;
  // Closes the document's tab after asking to save it; false when it stays open.
  virtual bool CloseDocument(CVornelTabDoc& document) = 0;
  // Activates the tab of the left pane group with that title ("Sections").
  virtual void SwitchPaletteTab(std::string_view title) = 0;
  // Closes the main window (asking to save each modified document).
  virtual void Exit() = 0;
  // Runs a command on the active document's targets; false when none ran it.
  virtual bool DispatchToActiveDocument(int) { return false; }
};

inline constexpr std::string_view kFailedToCreateMessage = "Failed to create empty document.";
inline constexpr std::string_view kDocumentPattern = "*.btz;*.btxml;*.btb;*.btt;*.bttx";

// Opens a document file in a tab of its own and adds it to the recent files; an open document
// of that path is activated instead. The document, or null after the system's message.
CVornelTabDoc* OpenDocumentFile(CVornelTabApp& app, DocumentWindows& windows, const std::string& path);
// A new, untitled document made from a template file, in a tab of its own.
CVornelTabDoc* OpenTemplateAsNewDocument(CVornelTabApp& app, DocumentWindows& windows, const std::string& path);
// The "New" command: the template chosen in the template list becomes a new untitled
// document, followed by its section properties and rhythm-pattern steps. Cancel in the list
// makes nothing. Without any template the new-document wizard makes the document.
CVornelTabDoc* NewDocument(CVornelTabApp& app, DocumentWindows& windows);
// A new document made by the new-document wizard (a default document when no wizard is
// installed); null when the wizard was cancelled.
CVornelTabDoc* NewDocumentWithWizard(CVornelTabApp& app, DocumentWindows& windows);

// Saves under the document's name (asking for one when it has none); false when not saved.
bool SaveDocument(CVornelTabApp& app, CVornelTabDoc& doc);
// Asks for a name and saves there; false when cancelled or not saved.
bool SaveDocumentAs(CVornelTabApp& app, CVornelTabDoc& doc);
// Before a modified document closes: "Save changes to <title>?" Yes saves, No lets it go,
// Cancel (or a failed save) keeps it. True when the document may close.
bool SaveModifiedBeforeClose(CVornelTabApp& app, CVornelTabDoc& doc);

void AddApplicationCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows);
// The framework's commands of one open document: save, save as, close, undo and redo.
void AddDocumentCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows,
                         CVornelTabDoc& doc);

}  // namespace vornel
