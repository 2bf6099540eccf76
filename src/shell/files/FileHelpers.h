#pragma once
// File prompts, lists and moves that the commands share: templates, document groups, the
// backup folder of converted binary documents, images copied beside their document, the
// desktop's trash and zip files of several files. Every message and prompt goes through
// Prompts().

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/zip/ZipBundle.h"

namespace vornel {

// A name for a template file: a name ending in ".btt" ends in ".bttx" instead; any other name
// not ending in ".bttx" gets ".bttx" appended.
std::string TemplateFileName(std::string_view name);

// The save form asks for a new template name in `dataFolder` ("Save to a Vornel template
// file"); the open form lets the user pick a template of `templatesFolder`. Nothing when
// cancelled.
std::optional<std::string> ChooseTemplateFile(bool save, const std::string& dataFolder,
                                              const std::string& templatesFolder);
// An existing template (".btt" or ".bttx") of the templates folder.
std::optional<std::string> ChooseTemplateInFolder(const std::string& templatesFolder);

// The file names (extensions kept, so that a ".btt" and a ".bttx" of one title stay apart) of
// the templates in the folder, sorted. Nothing, after "Cannot change to template directory: "
// and the folder, when the folder cannot be read.
std::optional<std::vector<std::string>> ListTemplateFiles(const std::string& templatesFolder);
// The names without extension of the document groups (".vndb") of the XML folder, sorted;
// nothing, after the system's message, when the folder cannot be read.
std::optional<std::vector<std::string>> ListDocumentGroups(const std::string& xmlFolder);

// An existing file of the extension ("xml" gives the pattern "*.xml").
std::optional<std::string> PromptOpenFileOfType(std::string_view title, std::string_view extension,
                                                std::string_view initialFolder = {});
// A document-group file name, ".vndb" appended when missing.
std::optional<std::string> PromptDatabaseFileName(const std::string& xmlFolder);
// The XML folder, chosen again ("XML Directory Path").
std::optional<std::string> ChooseXmlFolder(const std::string& xmlFolder);

// Deletes the file `name` of the data folder; false when it was not deleted.
bool DeleteDataFile(const std::string& dataFolder, std::string_view name);
// Moves a file or folder to the desktop's trash; false when that failed.
bool DeleteToRecycleBin(const std::string& path);

// Moves a converted binary document into the "btb" folder beside it, replacing a file of that
// name there; `path` becomes the moved file's path. False after the system's message when the
// folder cannot be made or the file not moved.
bool MoveBinaryFileToBackup(std::string& path);

// Offers to copy an image that lies outside the document's folder into it. A file of the same
// name there is replaced only after a second question. `imagePath` becomes the copy's path.
void OfferCopyImageToDocumentFolder(std::string& imagePath, const std::string& documentFolder);

// CreateZipFromFiles, the zip file of several files, is with the zip library
// (document/zip/ZipBundle.h).

}  // namespace vornel
