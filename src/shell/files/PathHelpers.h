#pragma once
// Path texts as the application handles them: split on both separators (paths typed on other
// systems keep their backslashes), folders ending in one separator.

#include <ctime>
#include <string>
#include <string_view>

namespace vornel {

// The folder part with its trailing separator; empty for a bare name.
std::string GetPathFolder(std::string_view path);
// The file name with its extension.
std::string GetPathFileName(std::string_view path);
// The file name, with its extension when `withExtension` is set. A leading dot starts the
// name, not an extension (".profile").
std::string GetPathFileTitle(std::string_view path, bool withExtension);
// True when a file or folder of that name can be reached.
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);

// The folder without its trailing separators, and exactly one '/' appended ("" stays "").
std::string WithTrailingSeparator(std::string_view folder);

// The date as "%Y, %B %d" with the English month names ("2024, March 05").
std::string FormatDate(const std::tm& date);
std::string FormatTodayDate();

// The root of the document's web pages: "http://" and the HTML root when one is set, else
// "file://" and the XML folder.
std::string GetDocumentRootUrl(std::string_view htmlRoot, std::string_view xmlFolder);

// The HTML root as the profile keeps it: without a leading "http://".
std::string StripHttpScheme(std::string_view root);

// The web folder of the pictures an image list names: "Images/" under the HTML root (with or
// without its scheme); empty without an HTML root.
std::string ImageListPrefixOf(std::string_view htmlRoot);

}  // namespace vornel
