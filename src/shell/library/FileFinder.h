#pragma once
// The file finder's work without its window: searching a folder tree for document files of
// one type, sorting the list, and the batch runs over the listed files (a document group, an
// HTML page, conversion of binary documents, packing into bundles, one zip of them all).

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BatchProgress.h"

namespace vornel {

struct FinderFileType {
  std::string_view text;
  std::vector<std::string_view> endings;  // compared with the end of the name, exactly
};
const std::array<FinderFileType, 5>& FinderFileTypes();

inline constexpr int kDefaultMaxFilesToProcess = 200;

// Whether a file name has one of the endings of file type `type` (0..4).
bool AcceptsFileType(std::string_view name, int type);

// The full paths of the files of type `type` under `root` (and its subfolders when
// `recurse`), each folder's files before its subfolders, in name order. Folders reached
// through symbolic links are not entered. Nothing when the root cannot be read.
std::vector<std::string> SearchDocumentFiles(const std::string& root, int type, bool recurse);

// Sorts ascending without regard to case, by the whole path or by the file name alone; equal
// keys keep their order.
void SortFoundFiles(std::vector<std::string>& files, bool byFileName);

// How many of `listed` files a batch run processes.
int ProcessedCount(size_t listed, int maximum);

struct BatchResult {
  int succeeded = 0;
  int failed = 0;
  bool cancelled = false;
};

class FileFinder {
 public:
  std::string rootPath;
  std::string documentRoot;  // the application's document root folder
  bool recurse = true;
  bool sortByFileName = false;
  int fileType = 0;
  int maxFilesToProcess = kDefaultMaxFilesToProcess;
  std::vector<std::string> files;

  // Searches the root again (and sorts when asked).
  void Search();
  // The "%d files found" line.
  std::string CountText() const;
  std::vector<std::string> FilesToProcess() const;

  // Builds and saves the group `groupPath` from the processed files; false after "Unable to
  // index this group" when it could not be built or saved.
  bool BuildGroup(const std::string& groupPath, const std::string& title, BatchProgress& progress) const;
  // Writes the HTML page of the processed files.
  bool WriteHtmlPage(const std::string& pagePath, const std::string& rootUrl, BatchProgress& progress) const;
  // Converts each processed binary document to XML beside it (a ".btb" into the bundle of its
  // name, a ".btt" into the XML template) and moves the binary file into the backup folder
  // once the written file reads back. Existing targets are replaced only when the user agrees
  // (asked once per run). Reports the counts at the end.
  BatchResult ConvertToXml(BatchProgress& progress);
  // Packs each processed file into a bundle beside it; the list entry becomes the bundle's
  // path. Existing bundles are replaced only when the user agrees (once per run).
  BatchResult Compress(BatchProgress& progress);
  // Puts every listed file into one zip archive.
  bool ZipBackup(const std::string& zipPath) const;
};

}  // namespace vornel
