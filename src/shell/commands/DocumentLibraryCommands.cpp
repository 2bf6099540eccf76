#include "shell/commands/DocumentLibraryCommands.h"

#include <filesystem>

#include "document/CVornelTabDoc.h"
#include "document/library/DocumentAssociations.h"
#include "document/library/DocumentIndex.h"
#include "document/library/HtmlPage.h"
#include "document/library/ZipPackage.h"
#include "layout/dialogs/ChordDialogs.h"
#include "midi/MidiSection.h"
#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "model/score/SectionTools.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "platform/xml/XMLWriter.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/files/FileHelpers.h"
#include "shell/files/PathHelpers.h"
#include "view/FramePanes.h"
#include "view/commands/CommandTable.h"
#include "view/commands/MidiCommands.h"
#include "view/commands/ScoreCommandSupport.h"

namespace vornel {

namespace {

namespace fs = std::filesystem;
using view::CommandEvent;

std::string FolderOf(const std::string& path) { return path.empty() ? std::string() : fs::path(path).parent_path().string(); }

// The commands that pack or publish the document's file need one on disk.
bool HasSavedFile(const CBriotabDoc& doc) {
  std::error_code error;
  if (!doc.GetPathName().empty() && fs::is_regular_file(doc.GetPathName(), error)) return true;
  Prompts().ShowMessage(kSaveFirstMessage, MessageKind::kWarning);
  return false;
}

void ZipDocument(CVornelTabDoc& doc) {
  if (!EditDocumentAssociations(doc) || !HasSavedFile(doc)) return;
  const std::string path = doc.GetPathName();
  const std::optional<std::string> chosen = Prompts().PromptSaveFile(
      "Create zip file", "*.zip", fs::path(path).stem().string() + ".zip", FolderOf(path));
  if (!chosen || chosen->empty()) return;
  std::string zipPath = *chosen;
  if (fs::path(zipPath).extension().empty()) zipPath += ".zip";
  if (WriteZipPackage(doc, path, zipPath)) {
    doc.settings.associations[std::string(CDocumentSettings::kZipBundle)] = zipPath;
    if (Prompts().Ask(kZipCreatedQuestion, Buttons::kYesNo) == Answer::kYes) Programs().OpenWithDefault(zipPath);
  } else {
    doc.settings.associations.erase(std::string(CDocumentSettings::kZipBundle));
  }
  doc.SetModifiedFlag(true);
  doc.UpdateAllViews(kHintRepaintAll);
}

void ExportToWebPage(CVornelTabApp& app, CVornelTabDoc& doc) {
  if (!EditDocumentAssociations(doc) || !HasSavedFile(doc)) return;
  const std::string path = doc.GetPathName();
  const std::optional<std::string> chosen =
      Prompts().PromptSaveFile("Select an HTML file name for this document", "*.html",
                               ProposedHtmlPageName(fs::path(path).filename().string()), FolderOf(path));
  if (!chosen || chosen->empty()) return;
  XMLWriter index;
  WriteDocumentIndex(index, doc, path);
  if (!SaveDocumentHtmlPage(index, *chosen, GetDocumentRootUrl(app.htmlRoot, app.xmlFolder))) {
    Prompts().ShowMessage("Unable to write the HTML page " + *chosen, MessageKind::kError);
    return;
  }
  doc.settings.associations[std::string(CDocumentSettings::kHtmlTable)] = *chosen;
  doc.SetModifiedFlag(true);
  Programs().OpenWithDefault(*chosen);
}

void Associations(CVornelTabDoc& doc) {
  if (!EditDocumentAssociations(doc)) return;
  if ((doc.settings.bundleOptions & CDocumentSettings::kBundleMidiFiles) == 0) return;
  const size_t written = view::WriteAllSectionMidiFiles(doc, MidiExportOptions{}).size();
  Prompts().ShowMessage(std::to_string(written) + " MIDI files were generated");
}

void SetSlurWidth(CVornelTabDoc& doc, bool wide) {
  view::SnapshotEdit(doc, kHintRepaintAll, [&doc, wide] {
    CSystemArray& section = *doc.GetActiveSection();
    const size_t instrument = section.ActiveInstrumentIndex();
    for (const auto& system : section.systems.items()) {
      if (system == nullptr || instrument >= system->lines.size() || system->lines.at(instrument) == nullptr) continue;
      for (nChordArray* voice : system->lines.at(instrument)->Voices()) voice->SetSlurWidth(wide);
    }
  });
}

// "Swap ornaments": the kinds chosen in the dialog, every ornament of the first replaced by
// the second over the active section. Nothing replaced leaves no undo step and the document
// unmodified.
void SwapOrnaments(CVornelTabDoc& doc) {
  CSwapOrnamentDlg dialog;
  if (!ChordEditingDialogs().SwapOrnament(dialog)) return;
  const uint8_t from = dialog.SelectedCode();
  const uint8_t to = dialog.ReplacementCode();
  size_t count = 0;
  // Code 0 is a note without ornament: never a kind to replace.
  if (from != 0 && to != 0 && from != to) {
    view::SnapshotEditIf(doc, kHintRepaintAll, [&doc, from, to, &count] {
      for (const auto& system : doc.GetActiveSection()->systems.items()) {
        if (system == nullptr) continue;
        for (const auto& line : system->lines.items()) {
          if (line == nullptr) continue;
          for (nChordArray* voice : line->Voices()) count += voice->ReplaceOrnament(from, to);
        }
      }
      return count > 0;
    });
  }
  Prompts().ShowMessage(std::to_string(count) + " ornaments swapped");
}

}  // namespace

std::string ProposedHtmlPageName(std::string_view fileName) {
  std::string name(fileName);
  for (std::string_view extension : {".btxml", ".btb", ".btz"}) {
    for (size_t at = name.find(extension); at != std::string::npos; at = name.find(extension, at + 5)) {
      name.replace(at, extension.size(), ".html");
    }
  }
  return name;
}

int SplitActiveSectionIntoParts(CBriotabDoc& doc) {
  const CSystemArray& source = *doc.GetActiveSection();
  const size_t parts = source.definitions.size();
  const size_t at = static_cast<size_t>(doc.sections.activeSection) + 1;
  for (size_t part = 0; part < parts; ++part) {
    std::unique_ptr<CSystemArray> copy = CopySection(source);
    // Every other part goes, from the last so that the indices stay valid.
    for (size_t other = parts; other-- > 0;) {
      if (other != part) copy->RemoveInstrument(other, true);
    }
    copy->Title().text = source.Title().text + " (" + std::to_string(part + 1) + ")";
    copy->RecalculateSection(false);
    doc.sections.insert(at + part, std::move(copy));
  }
  doc.sections.Renumber();
  return static_cast<int>(parts);
}

void AddDocumentLibraryCommands(view::CommandTable& table, CVornelTabApp& app, CVornelTabDoc& doc) {
  const auto hasSection = [&doc] { return !doc.sections.empty(); };
  table.Add(kZipDocument, [&doc](const CommandEvent&) { ZipDocument(doc); });
  const auto exportPage = [&app, &doc](const CommandEvent&) { ExportToWebPage(app, doc); };
  table.Add(kExportToWebSite, exportPage);
  table.Add(kExportListOfContents, exportPage);
  table.Add(kAssociations, [&doc](const CommandEvent&) { Associations(doc); });
  table.Add(kRefreshDocument, [&doc](const CommandEvent&) {
    // A property changed what the section's layout depends on.
    if (!doc.sections.empty()) doc.GetActiveSection()->RecalculateSection(false);
    doc.UpdateSectionList();
    view::Panes().RefreshProperties();
    doc.NotifyChanged(kHintRepaintAll);
  });
  table.Add(kApplyDocumentTemplate, [&app, &doc](const CommandEvent&) {
    const std::optional<std::string> path = ChooseTemplateFile(false, app.dataFolder, app.options.templatesFolder);
    if (path && !path->empty()) doc.ApplyTemplate(*path);
  });
  table.Add(kAddPageBreaks, [&doc](const CommandEvent&) {
    if (Prompts().Ask(kPageBreaksQuestion, Buttons::kOkCancel) != Answer::kOk) return;
    view::EverySectionEdit(doc, kHintRepaintAll, [&doc] { TogglePageBreaks(doc.sections); });
  }, hasSection);
  table.Add(kSetWideSlurs, [&doc](const CommandEvent&) { SetSlurWidth(doc, true); }, hasSection);
  table.Add(kSetNarrowSlurs, [&doc](const CommandEvent&) { SetSlurWidth(doc, false); }, hasSection);
  table.Add(kSplitParts, [&doc](const CommandEvent&) {
    SplitActiveSectionIntoParts(doc);
    doc.NotifyChanged(kHintRepaintAll);
    doc.UpdateSectionList();
  }, hasSection);
  table.Add(kSwapOrnaments, [&doc](const CommandEvent&) { SwapOrnaments(doc); }, hasSection);
}

}  // namespace vornel
