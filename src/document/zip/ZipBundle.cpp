#include "document/zip/ZipBundle.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/io/TemporaryFiles.h"
#include "platform/text/AsciiCase.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// Shows `message` (the step that failed), then the file it failed on and the reason, when known.
bool ShowFailure(std::string_view message, const std::string& file = {}, const std::string& reason = {}) {
  std::string text(message);
  if (!file.empty()) text.append("\n").append(file);
  if (!reason.empty()) text.append(file.empty() ? "\n" : ": ").append(reason);
  Prompts().ShowMessage(text, MessageKind::kError);
  return false;
}

// The system's reason for the failure of the zip call just made, when it gave one.
std::string SystemReason() { return errno != 0 ? std::strerror(errno) : std::string(); }

// The steps of writing an archive, each failure shown with the file and the reason.
ZipHandlePtr CreateArchive(const std::string& archive) {
  errno = 0;
  ZipHandlePtr zip = CreateZip(archive);
  if (zip == nullptr) ShowFailure("Zip file creation failed", archive, SystemReason());
  return zip;
}

bool AddToArchive(ZipHandle* zip, const std::string& entryName, const std::string& source) {
  errno = 0;
  if (ZipAdd(zip, entryName, source) == kZipOk) return true;
  const std::string reason = SystemReason();
  return ShowFailure("Adding file operation failed: " + source, {},
                     reason.empty() ? "the archive would pass the zip format's limits" : reason);
}

bool CloseArchive(ZipHandle* zip, const std::string& archive) {
  errno = 0;
  return CloseZip(zip) == kZipOk || ShowFailure("Closing zip file operation failed", archive, SystemReason());
}

// A new archive at `archive` holding the file `source` under `entryName`.
bool PackFile(const std::string& source, const std::string& entryName, const std::string& archive) {
  const ZipHandlePtr zip = CreateArchive(archive);
  return zip != nullptr && AddToArchive(zip.get(), entryName, source) && CloseArchive(zip.get(), archive);
}

// The document a bundle holds: its entry name and the name it takes in a folder of ours,
// where a "\" would be taken for a folder step.
struct BundleDocument {
  std::string entry;
  std::string local;
};

BundleDocument DocumentOfBundle(const std::string& bundlePath) {
  BundleDocument document;
  document.entry = fs::path(bundlePath).stem().string() + ".btxml";
  document.local = document.entry;
  std::replace(document.local.begin(), document.local.end(), '\\', '_');
  return document;
}

// The index of the bundle's first entry named "*.btxml" (in any letter case) and its record;
// -1 when it holds none.
int FirstDocumentEntry(ZipHandle* zip, ZipEntry& entry) {
  ZipEntry last;
  if (GetZipItem(zip, -1, last) != kZipOk) return -1;
  for (int i = 0; i < last.index; ++i) {
    if (GetZipItem(zip, i, entry) == kZipOk && EndsWithNoCase(entry.name, ".btxml")) return i;
  }
  return -1;
}

}  // namespace

bool ZipFileInPlace(std::string& path, std::string_view extension) {
  const fs::path source(path);
  const fs::path archive = fs::path(source).replace_extension(extension);
  // Packing a file into itself would delete the archive just made.
  if (archive == source) {
    return ShowFailure("Zip file creation failed", archive.string(), "the archive would replace the file it packs");
  }
  if (!PackFile(path, source.filename().string(), archive.string())) return false;
  ::unlink(path.c_str());
  path = archive.string();
  return true;
}

std::optional<std::string> CreateZipFromFiles(const std::vector<std::string>& files, const std::string& startPath,
                                              std::string_view extension) {
  const std::string pattern = "*." + std::string(extension);
  const std::optional<std::string> chosen = Prompts().PromptSaveFile("Create zip file", pattern, "", startPath);
  if (!chosen || chosen->empty()) return std::nullopt;
  std::vector<ZipEntrySource> entries;
  for (const std::string& file : files) {
    if (!file.empty()) entries.push_back({fs::path(file).filename().string(), file});
  }
  if (!WriteZipOfFiles(entries, *chosen)) return std::nullopt;
  return chosen;
}

bool WriteZipOfFiles(const std::vector<ZipEntrySource>& entries, const std::string& zipPath) {
  const ZipHandlePtr zip = CreateArchive(zipPath);
  if (zip == nullptr) return false;
  for (const ZipEntrySource& entry : entries) {
    if (!entry.path.empty() && !AddToArchive(zip.get(), entry.name, entry.path)) return false;
  }
  return CloseArchive(zip.get(), zipPath);
}

bool SaveBundle(const std::string& bundlePath, const std::function<bool(const std::string& documentPath)>& writeDocument) {
  const BundleDocument document = DocumentOfBundle(bundlePath);
  TemporaryFolder folder;
  std::string error;
  if (!folder.Create(&error)) return ShowFailure("Zip file creation failed", bundlePath, error);
  const std::string documentPath = folder.Path() + "/" + document.local;
  if (!writeDocument(documentPath)) return false;
  return PackFile(documentPath, document.entry, bundlePath);
}

void InstallBundlePacker() {
  XMLWriter::SetBundlePacker([](const std::string& xmlPath, std::string_view text) {
    const std::string bundle = fs::path(xmlPath).replace_extension(".btz").string();
    const bool saved = SaveBundle(bundle, [&](const std::string& documentPath) {
      return WriteFileAtomically(documentPath, text);
    });
    return saved ? bundle : std::string();
  });
}

TemporaryFolder::~TemporaryFolder() { Remove(); }

TemporaryFolder::TemporaryFolder(TemporaryFolder&& other) noexcept : path_(std::exchange(other.path_, {})) {}

TemporaryFolder& TemporaryFolder::operator=(TemporaryFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    path_ = std::exchange(other.path_, {});
  }
  return *this;
}

bool TemporaryFolder::Create(std::string* error) {
  Remove();
  path_ = MakeTemporaryFolder(error);
  return !path_.empty();
}

void TemporaryFolder::Remove() {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove_all(path_, error);
  path_.clear();
}

UnzippedBundle UnzipBundle(const std::string& bundlePath) {
  UnzippedBundle bundle;
  const ZipHandlePtr zip = OpenZip(bundlePath);
  if (zip == nullptr) {
    bundle.reason = ZipReaderLastResult() == static_cast<int32_t>(kZipNotOpened)
                        ? "The file cannot be opened."
                        : "The file is not a zip archive, or its directory is damaged.";
    return bundle;
  }
  int index = -1;
  ZipEntry entry;
  if (FindZipItem(zip.get(), DocumentOfBundle(bundlePath).entry, index, entry) != kZipOk) {
    // A bundle renamed by its user ("song (1).btz") still holds its document under the name
    // it was saved with: the first XML document it holds.
    index = FirstDocumentEntry(zip.get(), entry);
    if (index < 0) {
      bundle.status = BundleStatus::kNoDocument;
      return bundle;
    }
  }
  std::string why;
  const ZipResult unzipped = UnzipItemToMemory(zip.get(), index, bundle.document, kBundleLimits, &why);
  if (unzipped != kZipOk) {
    bundle.reason = entry.name + ": " + (why.empty() ? "it cannot be unpacked" : why) + ".";
    if (unzipped == kZipTooLarge) bundle.reason += " No document packs so tightly.";
    return bundle;
  }
  CloseZipReader(zip.get());
  bundle.status = BundleStatus::kExtracted;
  return bundle;
}

}  // namespace vornel
