#include "shell/commands/ApplicationCommands.h"

#include <algorithm>

#include "document/CVornelTabDoc.h"
#include "layout/dialogs/SectionDialogs.h"
#include "layout/wizard/CDocumentWizard.h"
#include "model/score/CSystemArray.h"
#include "document/OpenFailure.h"
#include "platform/MessageCollector.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/commands/CommandIds.h"
#include "shell/commands/DocumentFileCommands.h"
#include "shell/commands/DocumentLibraryCommands.h"
#include "shell/commands/ExternalPrograms.h"
#include "shell/files/FileHelpers.h"
#include "shell/commands/HelpPages.h"
#include "shell/files/PathHelpers.h"
#include "shell/files/TemplateList.h"
#include "shell/commands/ProgramCommands.h"
#include "import/text/TextImportCommands.h"
#include "view/commands/MidiCommands.h"

namespace vornel {

namespace {

void ShowFailedToCreate() { Prompts().ShowMessage(kFailedToCreateMessage, MessageKind::kError); }

// A name the document writer takes: one without a document extension becomes a bundle.
std::string WithDocumentExtension(std::string path) {
  if (GetDocumentFileType(path) == kUnknownFile) path += ".btz";
  return path;
}

CVornelTabDoc* Show(DocumentWindows& windows, std::unique_ptr<CVornelTabDoc> doc) {
  CVornelTabDoc* shown = doc.get();
  windows.ShowDocument(std::move(doc));
  return shown;
}

// The "Import Vornel XML" command: a document XML file of any name becomes a new document.
void ImportVornelXml(CVornelTabApp& app, DocumentWindows& windows) {
  const std::optional<std::string> path =
      Prompts().PromptOpenFile("Import Vornel XML", "*.btxml;*.xml", app.xmlFolder);
  if (!path || path->empty()) return;
  const std::optional<std::string> text = ReadFileText(*path, CBriotabDoc::kMaxFileBytes);
  if (!text) {
    ShowFailedToCreate();
    return;
  }
  auto doc = std::make_unique<CVornelTabDoc>();
  if (!doc->ReadXmlText(*text)) {
    ShowFailedToCreate();
    return;
  }
  doc->SetTitle(GetPathFileTitle(*path, false));
  Show(windows, std::move(doc));
}

void OpenHelp(CVornelTabApp& app, int command) {
  if (const std::optional<std::string> page = FindHelpPage(command, app.shippedDataFolder + "Documentation")) {
    Programs().OpenWithDefault(*page);
  }
}

void OpenRecentFile(CVornelTabApp& app, DocumentWindows& windows, int command) {
  const size_t index = static_cast<size_t>(command - commands::kFirstRecentFile);
  if (index >= app.recentFiles.Paths().size()) return;
  const std::string path = app.recentFiles.Paths()[index];
  if (OpenDocumentFile(app, windows, path) == nullptr) app.recentFiles.Remove(path);
}

}  // namespace

CVornelTabDoc* OpenDocumentFile(CVornelTabApp& app, DocumentWindows& windows, const std::string& path) {
  if (windows.ActivateDocument(path)) {
    for (CVornelTabDoc* open : windows.Documents()) {
      if (open->GetPathName() == path) return open;
    }
  }
  auto doc = std::make_unique<CVornelTabDoc>();
  std::string messages;
  bool opened = false;
  {
    // A failure is told as one message that names the file and says what is wrong with it;
    // the opening's own messages follow as the details.
    MessageCollector collector;
    opened = doc->OnOpenDocument(path);
    messages = std::move(collector.messages);
  }
  if (!opened) {
    Prompts().ShowMessage(OpenFailureMessage(path, messages), MessageKind::kError);
    return nullptr;
  }
  // Warnings of a document that opened all the same.
  if (!messages.empty()) Prompts().ShowMessage(messages, MessageKind::kWarning);
  app.recentFiles.Add(doc->GetPathName());
  CVornelTabDoc* shown = Show(windows, std::move(doc));
  windows.SwitchPaletteTab("Sections");
  return shown;
}

CVornelTabDoc* OpenTemplateAsNewDocument(CVornelTabApp& app, DocumentWindows& windows, const std::string& path) {
  auto doc = std::make_unique<CVornelTabDoc>();
  if (!doc->OpenDocumentInFolder(path)) {
    ShowFailedToCreate();
    return nullptr;
  }
  doc->SetTitle("VornelTab" + std::to_string(++app.newDocumentCount));
  doc->SetModifiedFlag(false);
  return Show(windows, std::move(doc));
}

CVornelTabDoc* NewDocument(CVornelTabApp& app, DocumentWindows& windows) {
  CTemplateList list;
  list.FillFromFolder(app.options.templatesFolder);
  if (list.entries.empty()) return NewDocumentWithWizard(app, windows);
  if (!TemplateListDialogsInForce().Run(list) || list.chosenIndex < 0) return nullptr;
  CVornelTabDoc* doc = OpenTemplateAsNewDocument(app, windows, WithTrailingSeparator(app.options.templatesFolder) + list.chosenText);
  if (doc == nullptr) return nullptr;
  // The section properties, then a rhythm pattern for the empty voice; a cancelled step keeps
  // the document as the template made it.
  if (CSystemArray* section = doc->GetActiveSection(); section != nullptr && EditSectionProperties(*section) != 0) {
    doc->UpdateSectionList();
    doc->UpdateAllViews(kHintRepaintAll, nullptr);
  }
  doc->ApplyRhythmPattern();
  return doc;
}

CVornelTabDoc* NewDocumentWithWizard(CVornelTabApp& app, DocumentWindows& windows) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  if (DocumentWizardRunner* runner = WizardRunnerInForce(); runner != nullptr && !RunNewDocumentWizard(*doc, *runner)) {
    return nullptr;
  }
  doc->SetTitle("VornelTab" + std::to_string(++app.newDocumentCount));
  doc->SetModifiedFlag(false);
  return Show(windows, std::move(doc));
}

bool SaveDocument(CVornelTabApp& app, CVornelTabDoc& doc) {
  if (doc.GetPathName().empty()) return SaveDocumentAs(app, doc);
  if (!doc.OnSaveDocument()) return false;
  doc.SetModifiedFlag(false);
  app.recentFiles.Add(doc.GetPathName());
  return true;
}

bool SaveDocumentAs(CVornelTabApp& app, CVornelTabDoc& doc) {
  const std::string folder = doc.GetPathName().empty() ? app.dataFolder : GetPathFolder(doc.GetPathName());
  const std::string suggested = doc.GetPathName().empty() ? doc.GetTitle() : GetPathFileName(doc.GetPathName());
  const std::optional<std::string> path = Prompts().PromptSaveFile("Save As", "*.btz;*.btxml", suggested, folder);
  if (!path || path->empty()) return false;
  if (!doc.OnSaveDocument(WithDocumentExtension(*path))) return false;
  doc.SetModifiedFlag(false);
  app.recentFiles.Add(doc.GetPathName());
  return true;
}

bool SaveModifiedBeforeClose(CVornelTabApp& app, CVornelTabDoc& doc) {
  if (!doc.IsModified()) return true;
  switch (Prompts().Ask("Save changes to " + doc.GetTitle() + "?", Buttons::kYesNoCancel, MessageKind::kQuestion)) {
    case Answer::kYes:
    case Answer::kOk:
      return SaveDocument(app, doc);
    case Answer::kNo:
      return true;
    case Answer::kCancel:
      break;
  }
  return false;
}

// The imports into a document. With none open they import into a new, empty one; cancelled,
// that document goes again.
constexpr int kImportsIntoADocument[] = {view::kImportMidiFile,   view::kImportMidiFolder,     kImportTabFileCommand,
                                         kImportTabFolderCommand, kImportAbcFileCommand,       kImportMusicXml,
                                         kImportGuitarPro,        kImportTabriteCommand,       kImportFt2FolderCommand};

void ImportIntoNewDocument(CVornelTabApp& app, DocumentWindows& windows, int command) {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  doc->SetTitle("VornelTab" + std::to_string(++app.newDocumentCount));
  doc->SetModifiedFlag(false);
  CVornelTabDoc* shown = Show(windows, std::move(doc));
  const bool ran = windows.DispatchToActiveDocument(command);
  const std::vector<CVornelTabDoc*> open = windows.Documents();
  if (std::find(open.begin(), open.end(), shown) == open.end()) return;
  if (!ran || !shown->IsModified()) windows.CloseDocument(*shown);
}

void AddApplicationCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows) {
  using view::CommandEvent;
  for (const int id : kImportsIntoADocument) {
    table.Add(id, [&app, &windows, id](const CommandEvent&) { ImportIntoNewDocument(app, windows, id); });
  }
  table.Add(commands::kAbout, [](const CommandEvent&) {
    Prompts().ShowMessage(std::string(kApplicationName) + "\nAn editor and typesetter of tablature for lutes, "
                                                          "guitars and their relatives.",
                          MessageKind::kInformation, "About Vornel");
  });
  // The help and the product pages are the shipped documentation's.
  table.Add(commands::kHelp, [&app](const CommandEvent&) { OpenHelp(app, 34358); });
  table.Add(commands::kWebSite, [&app](const CommandEvent&) { OpenHelp(app, 34358); });
  table.Add(commands::kRunAbcSoftware, [&app](const CommandEvent&) { RunAbcSoftware(app); });
  table.Add(commands::kRunTabProgram, [&app](const CommandEvent&) {
    if (const auto file = PromptOpenFileOfType("Open a TAB file", "tab", app.dataFolder)) RunTabProgram(app, *file);
  });
  table.Add(commands::kViewXmlIndex, [&app](const CommandEvent&) {
    if (const auto file = PromptOpenFileOfType("View XML index", "xml", app.xmlFolder)) Programs().OpenWithDefault(*file);
  });
  table.Add(commands::kNew, [&app, &windows](const CommandEvent&) { NewDocument(app, windows); });
  table.Add(commands::kOpen, [&app, &windows](const CommandEvent&) {
    const std::optional<std::string> path = Prompts().PromptOpenFile("Open", kDocumentPattern, app.dataFolder);
    if (path && !path->empty()) OpenDocumentFile(app, windows, *path);
  });
  table.Add(commands::kSaveAll, [&app, &windows](const CommandEvent&) {
    for (CVornelTabDoc* doc : windows.Documents()) {
      if (doc->IsModified()) SaveDocument(app, *doc);
    }
  });
  table.Add(commands::kImportVornelXml, [&app, &windows](const CommandEvent&) { ImportVornelXml(app, windows); });
  table.Add(
      commands::kMetronomeOn, [&app](const CommandEvent&) { app.metronomeOn = !app.metronomeOn; }, {},
      [&app] { return app.metronomeOn; });
  table.Add(commands::kMetronomePatch, [&app](const CommandEvent&) { app.ChooseMetronomePatch(); });
  table.Add(commands::kExit, [&windows](const CommandEvent&) { windows.Exit(); });
  table.AddRange(
      commands::kFirstRecentFile, commands::kLastRecentFile,
      [&app, &windows](const CommandEvent& event) { OpenRecentFile(app, windows, event.id); },
      [&app](int id) { return static_cast<size_t>(id - commands::kFirstRecentFile) < app.recentFiles.Paths().size(); });
}

void AddDocumentCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows,
                         CVornelTabDoc& doc) {
  using view::CommandEvent;
  table.Add(commands::kSave, [&app, &doc](const CommandEvent&) { SaveDocument(app, doc); });
  table.Add(commands::kSaveAs, [&app, &doc](const CommandEvent&) { SaveDocumentAs(app, doc); });
  table.Add(commands::kClose, [&windows, &doc](const CommandEvent&) { windows.CloseDocument(doc); });
  table.Add(commands::kUndo, [&doc](const CommandEvent&) { doc.OnEditUndo(); }, [&doc] { return doc.CanUndo(); });
  table.Add(commands::kRedo, [&doc](const CommandEvent&) { doc.OnEditRedo(); }, [&doc] { return doc.CanRedo(); });
  AddDocumentFileCommands(table, app, windows, doc);
  AddDocumentLibraryCommands(table, app, doc);
}

}  // namespace vornel
