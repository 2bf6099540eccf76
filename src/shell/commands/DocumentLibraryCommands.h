#pragma once
// The document's library commands and whole-document edits: "Zip document" (the package of
// the document and every file it refers to), "Export document to WEB site" and "Export list of
// contents (XML)" (the document's HTML page), "Associations", "Apply document template", the
// refresh after a property change, "Add page breaks", "Set wide slurs" and "Set narrow slurs",
// "Split parts" and "Swap ornaments".

#include <string>
#include <string_view>

namespace vornel {

class CBriotabDoc;
class CVornelTabApp;
class CVornelTabDoc;

namespace view {
class CommandTable;
}

// Command ids.
inline constexpr int kZipDocument = 33707;
inline constexpr int kExportToWebSite = 33261;
inline constexpr int kExportListOfContents = 33166;
inline constexpr int kAssociations = 34273;
inline constexpr int kRefreshDocument = 34270;  // also sent by the properties window after "Visible"
inline constexpr int kApplyDocumentTemplate = 33812;
inline constexpr int kAddPageBreaks = 34274;
inline constexpr int kSetWideSlurs = 34280;
inline constexpr int kSetNarrowSlurs = 34281;
inline constexpr int kSplitParts = 34300;
inline constexpr int kSwapOrnaments = 34371;

inline constexpr std::string_view kPageBreaksQuestion =
    "Toggle forced page breaks on all sections: do you want to proceed?";
inline constexpr std::string_view kZipCreatedQuestion = "ZIP package created successfully. Review contents?";
inline constexpr std::string_view kSaveFirstMessage = "Please save this document first.";

// The HTML page name proposed for a document: its file name with ".btxml", ".btb" and ".btz"
// each replaced by ".html".
std::string ProposedHtmlPageName(std::string_view fileName);

// The sections made of the active section, one per instrument part: each a copy that keeps
// only that part, titled "%s (%d)" with the part counted from 1, inserted after the source in
// part order. Returns how many were made.
int SplitActiveSectionIntoParts(CBriotabDoc& doc);

// "Swap ornaments" runs the swap dialog of the chord dialogs in force.
void AddDocumentLibraryCommands(view::CommandTable& table, CVornelTabApp& app, CVornelTabDoc& doc);

}  // namespace vornel
