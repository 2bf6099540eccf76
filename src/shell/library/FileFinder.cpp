#include "shell/library/FileFinder.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "document/CVornelTabDoc.h"
#include "document/DocumentFiles.h"
#include "document/library/HtmlPage.h"
#include "document/zip/ZipBundle.h"
#include "platform/UserPrompts.h"
#include "platform/text/AsciiCase.h"
#include "platform/xml/XmlHelpers.h"
#include "shell/files/FileHelpers.h"
#include "shell/library/CVornelDatabase.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

void SearchFolder(const fs::path& folder, int type, bool recurse, std::vector<std::string>& out) {
  std::error_code ec;
  std::vector<fs::path> found;
  std::vector<fs::path> subfolders;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::directory_entry& entry = *it;
    std::error_code typeError;
    if (entry.is_symlink(typeError)) {
      // A linked folder may lead back up the tree: only linked files are listed.
      if (entry.is_directory(typeError)) continue;
    }
    if (entry.is_directory(typeError)) {
      subfolders.push_back(entry.path());
    } else if (AcceptsFileType(entry.path().filename().string(), type)) {
      found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  std::sort(subfolders.begin(), subfolders.end());
  for (const fs::path& file : found) out.push_back(file.string());
  if (!recurse) return;
  for (const fs::path& sub : subfolders) SearchFolder(sub, type, recurse, out);
}

std::string SortKey(const std::string& path, bool byFileName) {
  const size_t slash = byFileName ? path.find_last_of("/\\") : std::string::npos;
  return AsciiLower(slash == std::string::npos ? std::string_view(path) : std::string_view(path).substr(slash + 1));
}

std::string StatusOf(int number, const std::string& path, const std::string& root) {
  std::string shown = path;
  if (!root.empty() && shown.starts_with(root)) shown.erase(0, root.size());
  return "Processing file " + std::to_string(number) + " - " + shown;
}

// Asks once per run whether existing targets are replaced.
class ReplaceQuestion {
 public:
  bool MayReplace(const std::string& target) {
    if (!fs::exists(target)) return true;
    if (!answer_) {
      answer_ = Prompts().Ask("Some of the files to be written already exist, the first being\n" + target +
                                  "\nDo you want to replace the existing files?",
                              Buttons::kYesNo) == Answer::kYes;
    }
    return *answer_;
  }

 private:
  std::optional<bool> answer_;
};

}  // namespace

const std::array<FinderFileType, 5>& FinderFileTypes() {
  static const std::array<FinderFileType, 5> types = {{
      {"All Vornel files", {".btxml", ".btb"}},
      {"*.btxml", {".btxml"}},
      {"*.btb", {".btb"}},
      {"*.btz", {".btz"}},
      {"*.btt", {".btt"}},
  }};
  return types;
}

bool AcceptsFileType(std::string_view name, int type) {
  if (type < 0 || type >= static_cast<int>(FinderFileTypes().size())) return false;
  for (std::string_view ending : FinderFileTypes()[static_cast<size_t>(type)].endings) {
    if (name.ends_with(ending)) return true;
  }
  return false;
}

std::vector<std::string> SearchDocumentFiles(const std::string& root, int type, bool recurse) {
  std::vector<std::string> files;
  std::error_code ec;
  if (!fs::is_directory(root, ec)) return files;
  SearchFolder(root, type, recurse, files);
  return files;
}

void SortFoundFiles(std::vector<std::string>& files, bool byFileName) {
  std::stable_sort(files.begin(), files.end(), [byFileName](const std::string& a, const std::string& b) {
    return SortKey(a, byFileName) < SortKey(b, byFileName);
  });
}

int ProcessedCount(size_t listed, int maximum) {
  return static_cast<int>(std::min<size_t>(listed, static_cast<size_t>(std::max(maximum, 0))));
}

void FileFinder::Search() {
  files = SearchDocumentFiles(rootPath, fileType, recurse);
  if (sortByFileName) SortFoundFiles(files, true);
}

std::string FileFinder::CountText() const { return std::to_string(files.size()) + " files found"; }

std::vector<std::string> FileFinder::FilesToProcess() const {
  return {files.begin(), files.begin() + ProcessedCount(files.size(), maxFilesToProcess)};
}

bool FileFinder::BuildGroup(const std::string& groupPath, const std::string& title, BatchProgress& progress) const {
  CVornelDatabase group(documentRoot);
  group.rootPath = group.MakePortablePath(rootPath);
  group.title = title;
  group.SetPathName(groupPath);
  tinyxml2::XMLDocument tree;
  bool built = false;
  if (group.BuildGroupXml(FilesToProcess(), tree, progress, true)) {
    // The tree counts the files it holds, not the files listed.
    try {
      group.ReadGroupXml(tree);
      group.RenumberEntries();
      built = group.Save();
    } catch (const XmlTagMismatch&) {
    }
  }
  if (!built) Prompts().ShowMessage("Unable to index this group", MessageKind::kError);
  return built;
}

bool FileFinder::WriteHtmlPage(const std::string& pagePath, const std::string& rootUrl,
                               BatchProgress& progress) const {
  CVornelDatabase group(documentRoot);
  group.rootPath = group.MakePortablePath(rootPath);
  group.title = "Document group";
  tinyxml2::XMLDocument tree;
  if (!group.BuildGroupXml(FilesToProcess(), tree, progress, true) || !SaveGroupHtmlPage(tree, pagePath, rootUrl)) {
    Prompts().ShowMessage("Unable to process one or more files... Aborting!", MessageKind::kError);
    return false;
  }
  return true;
}

BatchResult FileFinder::ConvertToXml(BatchProgress& progress) {
  BatchResult result;
  const std::vector<std::string> work = FilesToProcess();
  ReplaceQuestion question;
  {
    ProgressRun run(progress, static_cast<int>(work.size()), "Conversion");
    for (size_t i = 0; i < work.size(); ++i) {
      std::string path = work[i];
      if (!run.Step(static_cast<int>(i + 1), StatusOf(static_cast<int>(i + 1), path, rootPath))) {
        result.cancelled = true;
        break;
      }
      if (!fs::is_directory(fs::path(path).parent_path())) {
        Prompts().ShowMessage("The root folder for this file does not exist!", MessageKind::kWarning);
        ++result.failed;
        continue;
      }
      // The XML document goes into the bundle (or XML template) of the binary file's name.
      const std::string target = CBriotabDoc::XmlPathOfBinary(path);
      if (target == path || !question.MayReplace(target)) continue;
      // The binary file is moved away only when the XML document it became reads back.
      const bool converted = ConvertBinaryToXml(path) && OpenDocumentFile(target).document != nullptr &&
                             MoveBinaryFileToBackup(path);
      if (converted) {
        ++result.succeeded;
      } else {
        Prompts().ShowMessage("Failed to convert: " + work[i], MessageKind::kWarning);
        ++result.failed;
      }
    }
  }
  Prompts().ShowMessage("Conversion: " + std::to_string(result.succeeded) + " files converted successfully. " +
                        std::to_string(result.failed) + " files failed");
  return result;
}

BatchResult FileFinder::Compress(BatchProgress& progress) {
  BatchResult result;
  const int count = ProcessedCount(files.size(), maxFilesToProcess);
  ReplaceQuestion question;
  {
    ProgressRun run(progress, count, "Compression");
    for (int i = 0; i < count; ++i) {
      std::string& path = files[static_cast<size_t>(i)];
      if (!run.Step(i + 1, StatusOf(i + 1, path, rootPath))) {
        result.cancelled = true;
        break;
      }
      if (!question.MayReplace(fs::path(path).replace_extension(".btz").string())) continue;
      if (ZipFileInPlace(path, "btz")) {
        ++result.succeeded;
      } else {
        ++result.failed;
      }
    }
  }
  Prompts().ShowMessage("Conversion: " + std::to_string(result.succeeded) + " files compressed successfully. " +
                        std::to_string(result.failed) + " files failed");
  return result;
}

bool FileFinder::ZipBackup(const std::string& zipPath) const {
  std::vector<ZipEntrySource> entries;
  for (const std::string& file : files) entries.push_back({fs::path(file).filename().string(), file});
  if (!WriteZipOfFiles(entries, zipPath)) {
    Prompts().ShowMessage("Sorry: this operation failed... ", MessageKind::kError);
    return false;
  }
  return true;
}

}  // namespace vornel
