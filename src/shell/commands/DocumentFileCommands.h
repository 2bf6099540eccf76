#pragma once
// The document's file, print and view commands: "Export to VornelXML", "Save As Template...",
// "Save as BTB", "View PDF", the MusicXML and Guitar Pro imports into the document, the section buffer and the
// sections' notes, "Save instrument", "Manage facsimiles", the print options, the zoom
// commands and the zoom box, and the tablature line thickness.

#include <functional>
#include <string>
#include <string_view>

namespace vornel {

class CVornelTabApp;
class CVornelTabDoc;
class DocumentWindows;
class Importer;

namespace view {
class CommandTable;
}

// Command ids.
inline constexpr int kExportToVornelXml = 33708;
inline constexpr int kSaveAsBinary = 34265;
inline constexpr int kViewPdf = 34211;
inline constexpr int kImportMusicXml = 34232;
inline constexpr int kImportGuitarPro = 34259;
inline constexpr int kManageFacsimiles = 34252;
inline constexpr int kCopySection = 32991;
inline constexpr int kCopyAllSections = 32987;
inline constexpr int kSaveAsTemplate = 33282;
inline constexpr int kClearSectionBuffer = 34257;
inline constexpr int kPasteSection = 33302;
inline constexpr int kPasteAllSections = 32988;
inline constexpr int kAllSectionsNotes = 34302;
inline constexpr int kSaveInstrument = 34159;
inline constexpr int kFirstPrintOption = 33520;  // "Print all sections" ... "Print section comments"
inline constexpr int kLastPrintOption = 33529;
inline constexpr int kFirstZoom = 33481;         // "75%" ... "800%", then "Fit width"
inline constexpr int kFitWidth = 33489;
inline constexpr int kFirstLineThickness = 34024;  // "0.05mm" ... "Thick..."
inline constexpr int kLastLineThickness = 34029;

inline constexpr std::string_view kExportReopenFailed = "Fatal error: Unable to open the btxml copy of this file!";
inline constexpr std::string_view kBinaryQuestion =
    "Saving to an old binary format: Some new features of the software may not be preserved. Do you want to "
    "continue?";
inline constexpr std::string_view kSaveInstrumentQuestion =
    "Do you want to save the current document's instrument to the database?";
inline constexpr std::string_view kNoZoomBox = "Show \"Set Active Configuration\" dialog....";

// The zoom of each zoom command.
int ZoomOfCommand(int id);
// "Save as BTB"'s file: any extension replaced by ".btb".
std::string BinaryCopyPath(const std::string& path);
// The question before a file is replaced: "\"Suite.btb\" already exists in \"/music\".\nDo you
// want to replace it?"
std::string ReplaceFileQuestion(const std::string& path);

struct DocumentFileServices {
  // The importer of a format by its name; none: that import is disabled. By default the
  // registry's.
  std::function<const Importer*(std::string_view name)> importer;
};

// "Copy All Sections": the range of sections asked for ("Copy sections range", numbered from 1,
// starting at the active section) goes into the section buffer.
void CopySectionsRange(CVornelTabDoc& doc);

void AddDocumentFileCommands(view::CommandTable& table, CVornelTabApp& app, DocumentWindows& windows,
                             CVornelTabDoc& doc, DocumentFileServices services = {});

}  // namespace vornel
