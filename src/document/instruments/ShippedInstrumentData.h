#pragma once
// The shipped instrument data, written by our own writers from the built-in template table:
// "Templates/DefaultInstruments.btix" (both template sets) and one document template
// ("<instrument name>.bttx") per instrument of the table. The editor's first start copies
// them into the user's templates folder.

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vornel {

class CInstrumentDlg;
class CVornelTabDoc;

// A new document of one section whose instrument is a copy of `definition`.
std::unique_ptr<CVornelTabDoc> MakeInstrumentDocument(const CInstrumentDlg& definition);

// The template file names, one per distinct instrument of the two sets, in table order.
std::vector<std::string> ShippedTemplateNames();

// Writes the shipped files into `dataFolder` (its "Templates" folder is made when missing).
// Returns the paths written; nothing, with `error` set, when a file could not be written.
std::optional<std::vector<std::string>> WriteShippedInstrumentData(const std::string& dataFolder, std::string* error);

// Opens a template (or any document) as a new untitled document: its contents without its
// name, unmodified. Null, after the system's message, when it cannot be opened.
std::unique_ptr<CVornelTabDoc> OpenTemplateUntitled(const std::string& path);

}  // namespace vornel
