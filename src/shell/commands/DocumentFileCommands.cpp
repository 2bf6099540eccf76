#include "shell/commands/DocumentFileCommands.h"

#include <array>
#include <filesystem>
#include <stdexcept>

#include "document/CVornelTabDoc.h"
#include "document/DocumentEnvironment.h"
#include "document/instruments/InstrumentBaseUse.h"
#include "import/Importer.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CSystemArray.h"
#include "layout/dialogs/SmallDialogs.h"
#include "platform/UserPrompts.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "platform/io/ProgramLauncher.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/bars/ZoomTable.h"
#include "shell/commands/ApplicationCommands.h"
#include "shell/commands/CommandIds.h"
#include "shell/files/FileHelpers.h"
#include "view/FramePanes.h"
#include "view/commands/CommandTable.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/commands/ScoreDialogs.h"
#include "view/facsimile/FacsimileCommands.h"
#include "view/render/pages/DocumentPages.h"

namespace vornel {

namespace {

using view::CommandEvent;

constexpr std::array<int, 8> kCommandZooms = {75, 100, 120, 140, 150, 200, 400, 800};
// Sent to the main window after an import: the view's start of the section, the titles placed.
constexpr int kBeginningOfPiece = 32764;
constexpr int kPositionTitles = 34233;
constexpr const char* kPdfRendition = "pdf-rendition";
// The screen a section's systems per page are worked out for.
constexpr int32_t kScreenDpi = 96;

std::string FolderOf(const std::string& path) {
  return path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
}

const Importer* RegisteredImporter(std::string_view name) {
  for (const auto& importer : Importers()) {
    if (importer->Name() == name) return importer.get();
  }
  return nullptr;
}

// The print option a command toggles.
int32_t* PrintOption(CVornelTabDoc& doc, int id) {
  CPageDlg& page = doc.settings.pageSettings;
  CTitlePage& title = doc.settings.titlePage;
  switch (id) {
    case 33520: return &page.printAllSections;
    case 33521: return &title.printTitlepage;
    case 33522: return &title.printPreface;
    case 33523: return &page.printFacsimiles;
    case 33524: return &title.printContents;
    case 33525: return &title.useRtf;
    case 33526: return &title.columns;
    case 33527: return &title.sectionPosition;
    case 33528: return &title.pageNumbers;
    case 33529: return &page.printComments;
    default: return nullptr;
  }
}

void ExportToVornelXml(CVornelTabApp& app, DocumentWindows& windows, CVornelTabDoc& doc) {
  const std::optional<std::string> written = doc.WriteXml();
  if (!written) {
    // Nothing was written: nothing is opened and the document stays modified.
    Prompts().ShowMessage(CVornelTabDoc::kSaveFailedMessage, MessageKind::kError);
    return;
  }
  if (OpenDocumentFile(app, windows, *written) == nullptr) {
    Prompts().ShowMessage(kExportReopenFailed, MessageKind::kError);
  } else {
    view::Panes().DispatchCommand(commands::kSwitchPaletteTab);
  }
  doc.SetModifiedFlag(false);
}

void SaveAsBinary(CVornelTabDoc& doc) {
  if (Prompts().Ask(kBinaryQuestion, Buttons::kOkCancel) != Answer::kOk) return;
  std::string path = doc.GetPathName();
  std::string confirmed;  // a file the save dialog has asked about already
  if (path.empty()) {
    const std::optional<std::string> chosen =
        Prompts().PromptSaveFile("Save as a btb document", "*.btb", doc.GetTitle(), FolderOf(path));
    if (!chosen) return;
    path = *chosen;
    confirmed = *chosen;
  }
  // A copy in the old format beside the document; the document's own file is left as it is.
  const std::string target = BinaryCopyPath(path);
  std::error_code ec;
  if (target != confirmed && std::filesystem::exists(target, ec) &&
      Prompts().Ask(ReplaceFileQuestion(target), Buttons::kYesNo, MessageKind::kWarning) != Answer::kYes) {
    return;
  }
  doc.SaveBinary(target);
}

void ViewPdf(CVornelTabDoc& doc) {
  const std::string rendition = doc.settings.Association(kPdfRendition);
  if (!rendition.empty()) {
    Programs().OpenWithDefault(rendition);
    return;
  }
  std::optional<std::string> chosen = PromptOpenFileOfType("View PDF", "pdf", FolderOf(doc.GetPathName()));
  if (!chosen) return;
  OfferCopyImageToDocumentFolder(*chosen, FolderOf(doc.GetPathName()));
  doc.settings.associations[kPdfRendition] = *chosen;
  doc.SetModifiedFlag(true);
}

// The definition of the document's active line; null without a section, system or line.
CInstrumentDlg* ActiveDefinition(const CVornelTabDoc& doc) {
  try {
    const CInstrument* line = doc.GetActiveInstrument();
    return line != nullptr ? line->definition : nullptr;
  } catch (const std::out_of_range&) {
    return nullptr;
  }
}

// "Save instrument": the active line's definition into the instrument base, after asking.
void SaveInstrument(const CVornelTabDoc& doc) {
  const CInstrumentDlg* definition = ActiveDefinition(doc);
  if (definition == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  if (Prompts().Ask(kSaveInstrumentQuestion, Buttons::kOkCancel) != Answer::kOk) return;
  SaveToInstrumentBase(*definition);
}

void ImportInto(CVornelTabDoc& doc, const Importer& importer) {
  if (PromptAndImport(importer, doc) == 0) return;
  RecordingDevice screen(kScreenDpi, false, PangoTextEngine::Shared());
  screen.SetRecording(false);
  RecomputeSystemsPerPage(doc, screen);
  view::Panes().DispatchCommand(kBeginningOfPiece);
  doc.NotifyChanged(kHintRepaintAll);
  view::Panes().DispatchCommand(kPositionTitles);
  doc.UpdateSectionList();
}

}  // namespace

int ZoomOfCommand(int id) {
  const int index = id - kFirstZoom;
  return index >= 0 && index < static_cast<int>(kCommandZooms.size()) ? kCommandZooms[static_cast<size_t>(index)] : 0;
}

// The zoom bar's box: a chosen line, or a typed percentage.
int ZoomOfBox(const CommandEvent& e) {
  if (e.value) {
    const long index = *e.value;
    return index >= 0 && index < static_cast<long>(bars::kZoomPercentages.size())
               ? bars::kZoomPercentages[static_cast<size_t>(index)]
               : 0;
  }
  return bars::ReadZoomText(e.text).value_or(0);
}

std::string ReplaceFileQuestion(const std::string& path) {
  const std::filesystem::path file(path);
  std::string question(1, '"');
  question += file.filename().string();
  question += "\" already exists in \"";
  question += file.parent_path().string();
  question += "\".\nDo you want to replace it?";
  return question;
}

std::string BinaryCopyPath(const std::string& path) {
  std::filesystem::path p(path);
  p.replace_extension(".btb");
  return p.string();
}

void CopySectionsRange(CVornelTabDoc& doc) {
  const int count = static_cast<int>(doc.sections.size());
  if (count < 1) {
    doc.CopySectionRange(1, 0);  // says there is nothing to copy
    return;
  }
  CBarRangeDlg dialog;
  dialog.caption = "Copy sections range";
  dialog.barCount = count;
  dialog.begin = doc.sections.activeSection + 1;
  dialog.Open();
  if (!view::ScoreCommandDialogs().ChooseBarRange(dialog)) return;
  doc.CopySectionRange(dialog.begin, dialog.end);
}

void AddDocumentFileCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows,
                             CVornelTabDoc& doc, DocumentFileServices services) {
  if (!services.importer) services.importer = RegisteredImporter;
  const auto hasSection = [&doc] { return !doc.sections.empty(); };

  table.Add(kExportToVornelXml, [&app, &windows, &doc](const CommandEvent&) { ExportToVornelXml(app, windows, doc); });
  // The settings and a copy of the active section, under a template name of the data folder.
  table.Add(kSaveAsTemplate,
            [&app, &doc](const CommandEvent&) {
              if (const auto name = ChooseTemplateFile(true, app.dataFolder, app.options.templatesFolder)) {
                doc.SaveXmlTemplate(*name);
              }
            },
            hasSection);
  table.Add(kSaveAsBinary, [&doc](const CommandEvent&) { SaveAsBinary(doc); });
  table.Add(kViewPdf, [&doc](const CommandEvent&) { ViewPdf(doc); });
  const auto import = [&doc, importer = services.importer](std::string name) {
    return [&doc, importer, name](const CommandEvent&) {
      if (const Importer* found = importer(name)) ImportInto(doc, *found);
    };
  };
  const auto canImport = [importer = services.importer](std::string name) {
    return [importer, name] { return importer(name) != nullptr; };
  };
  table.Add(kImportMusicXml, import("MusicXML"), canImport("MusicXML"));
  table.Add(kImportGuitarPro, import("Guitar Pro"), canImport("Guitar Pro"));
  // The title page's facsimiles in the list dialog; OK changes the document.
  table.Add(kManageFacsimiles, [&doc](const CommandEvent&) {
    if (view::Facsimiles().EditFacsimileList(doc.settings.titlePage.imageList)) doc.SetModifiedFlag();
  });
  table.Add(kSaveInstrument, [&doc](const CommandEvent&) { SaveInstrument(doc); },
            [&doc] { return ActiveDefinition(doc) != nullptr; });
  table.Add(kClearSectionBuffer, [&doc](const CommandEvent&) { doc.ClearSectionBuffer(); },
            [] { return !Environment().sectionBuffer.empty(); });
  table.Add(kCopySection, [&doc](const CommandEvent&) { doc.OnCopySection(); });
  table.Add(kCopyAllSections, [&doc](const CommandEvent&) { CopySectionsRange(doc); });
  table.Add(kPasteSection, [&doc](const CommandEvent&) { doc.OnPasteSections(); },
            [] { return CBriotabDoc::CanPasteSection(); });
  table.Add(kPasteAllSections, [&doc](const CommandEvent&) { doc.OnPasteSections(); },
            [] { return CBriotabDoc::CanPasteAllSections(); });
  table.Add(kAllSectionsNotes,
            [&doc](const CommandEvent&) {
              if (Prompts().Ask("Do you want to delete all sections notes in this document?", Buttons::kOkCancel) !=
                  Answer::kOk) {
                return;
              }
              view::EverySectionEdit(doc, kHintRepaintAll, [&doc] {
                for (const auto& section : doc.sections.items()) {
                  if (section != nullptr) section->Comments().text.clear();
                }
              });
            },
            hasSection);

  // The print options: each between 0 and 1, whatever it held.
  table.AddRange(
      kFirstPrintOption, kLastPrintOption,
      [&doc](const CommandEvent& e) {
        int32_t* option = PrintOption(doc, e.id);
        if (option == nullptr) return;
        // A stored setting: the document is kept with it, and its pages show it.
        *option = *option != 0 ? 0 : 1;
        doc.SetModifiedFlag(true);
        doc.UpdateAllViews(kHintRepaintAll);
      },
      {}, [&doc](int id) { return PrintOption(doc, id) != nullptr && *PrintOption(doc, id) != 0; });

  // The zoom of the document's views.
  table.AddRange(kFirstZoom, kFitWidth, [&doc](const CommandEvent& e) {
    if (const int zoom = ZoomOfCommand(e.id); zoom != 0) doc.settings.pageSettings.zoom = zoom;
    doc.UpdateAllViews(kHintRepaintAll);
  });
  // The zoom bar's box (bars::kZoomComboCommand): the event's value is its chosen line.
  table.Add(bars::kZoomComboCommand, [&doc](const CommandEvent& e) {
    const int zoom = ZoomOfBox(e);
    if (zoom == 0) {
      Prompts().ShowMessage(kNoZoomBox);
      return;
    }
    doc.settings.pageSettings.zoom = zoom;
    doc.UpdateAllViews(kHintRepaintAll);
  });
  table.AddRange(
      kFirstLineThickness, kLastLineThickness,
      [&doc](const CommandEvent& e) {
        doc.settings.pageSettings.tablineThickness = e.id - kFirstLineThickness;
        doc.NotifyChanged(kHintRepaintAll);
      },
      [&doc](int) { return !doc.sections.empty(); },
      [&doc](int id) { return doc.settings.pageSettings.tablineThickness == id - kFirstLineThickness; });
}

}  // namespace vornel
