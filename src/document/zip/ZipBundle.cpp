#include "document/zip/ZipBundle.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

bool ShowFailure(std::string_view message) {
  Prompts().ShowMessage(message, MessageKind::kError);
  return false;
}

// A new archive at `archive` holding the file `source` under `entryName`.
bool PackFile(const std::string& source, const std::string& entryName, const std::string& archive) {
  const ZipHandlePtr zip = CreateZip(archive);
  if (zip == nullptr) return ShowFailure("Zip file creation failed");
  if (ZipAdd(zip.get(), entryName, source) != kZipOk) return ShowFailure("Adding file operation failed: " + source);
  if (CloseZip(zip.get()) != kZipOk) return ShowFailure("Closing zip file operation failed");
  return true;
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

}  // namespace

bool ZipFileInPlace(std::string& path, std::string_view extension) {
  const fs::path source(path);
  const fs::path archive = fs::path(source).replace_extension(extension);
  // Packing a file into itself would delete the archive just made.
  if (archive == source) return ShowFailure("Zip file creation failed");
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
  const ZipHandlePtr zip = CreateZip(zipPath);
  if (zip == nullptr) return ShowFailure("Zip file creation failed");
  for (const ZipEntrySource& entry : entries) {
    if (entry.path.empty()) continue;
    if (ZipAdd(zip.get(), entry.name, entry.path) != kZipOk) {
      return ShowFailure("Adding file operation failed: " + entry.path);
    }
  }
  if (CloseZip(zip.get()) != kZipOk) return ShowFailure("Closing zip file operation failed");
  return true;
}

bool SaveBundle(const std::string& bundlePath, const std::function<bool(const std::string& documentPath)>& writeDocument) {
  const BundleDocument document = DocumentOfBundle(bundlePath);
  TemporaryFolder folder;
  if (!folder.Create()) return ShowFailure("Zip file creation failed");
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

bool TemporaryFolder::Create() {
  Remove();
  std::error_code error;
  std::string pattern = (fs::temp_directory_path(error) / "vornel-XXXXXX").string();
  if (error || ::mkdtemp(pattern.data()) == nullptr) return false;
  path_ = std::move(pattern);
  return true;
}

void TemporaryFolder::Remove() {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove_all(path_, error);
  path_.clear();
}

UnzippedBundle UnzipBundle(const std::string& bundlePath) {
  UnzippedBundle bundle;
  if (!bundle.folder.Create()) return bundle;
  const ZipHandlePtr zip = OpenZip(bundlePath, bundle.folder.Path());
  if (zip == nullptr) return bundle;
  const BundleDocument document = DocumentOfBundle(bundlePath);
  int index = -1;
  ZipEntry entry;
  if (FindZipItem(zip.get(), document.entry, index, entry) != kZipOk) {
    bundle.status = BundleStatus::kNoDocument;
    return bundle;
  }
  if (!IsSafeRelativePath(document.local)) return bundle;
  const ZipResult unzipped = UnzipItem(zip.get(), index, document.local, {kMaxBundleDocumentBytes, kMaxBundleRatio});
  if (unzipped == kZipTooLarge) {
    bundle.reason = document.entry + " would unpack to " + std::to_string(entry.uncompressedSize) + " bytes from " +
                    std::to_string(entry.compressedSize) + ": no document packs so tightly.";
  }
  if (unzipped != kZipOk) return bundle;
  CloseZipReader(zip.get());
  bundle.status = BundleStatus::kExtracted;
  bundle.documentPath = bundle.folder.Path() + "/" + document.local;
  return bundle;
}

}  // namespace vornel
