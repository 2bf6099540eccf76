#pragma once
// The document commands that import text and tablature files of other programs: an ABC file,
// a TAB file or a folder of them, a Tabrite file, a folder of ".ft2" files. Each asks through
// Prompts(), imports, then refreshes the section list and the views. They run headless; the
// view's command table enters them (view::RegisterTextImportCommands).

#include <cstddef>
#include <string>
#include <string_view>

namespace vornel {

class CBriotabDoc;

inline constexpr int kImportAbcFileCommand = 33174;
inline constexpr int kImportTabFileCommand = 33280;
inline constexpr int kImportTabFolderCommand = 33419;
inline constexpr int kImportTabriteCommand = 33281;
inline constexpr int kImportFt2FolderCommand = 33087;

inline constexpr std::string_view kNoFilesMessage = "No files found to import";

// Each returns the number of sections added.
size_t OnImportAbcFile(CBriotabDoc& doc);
size_t OnImportTabFile(CBriotabDoc& doc);
size_t OnImportTabFolder(CBriotabDoc& doc);
size_t OnImportTabrite(CBriotabDoc& doc);
size_t OnImportFt2Folder(CBriotabDoc& doc);

// A folder imported by the files it holds: its ".tab" files when it has any, else its ".ft2"
// files; "No files found to import" when it has neither.
size_t ImportFolder(const std::string& folder, CBriotabDoc& doc);

}  // namespace vornel
