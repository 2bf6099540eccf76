#include "document/zip/ZipBundle.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace fs = std::filesystem;

bool ZipFileInPlace(std::string& path, std::string_view extension) {
  const fs::path source(path);
  const fs::path archive = source.parent_path() / (source.stem().string() + "." + std::string(extension));
  const auto fail = [](std::string_view message) {
    Prompts().ShowMessage(message, MessageKind::kError);
    return false;
  };
  // Packing a file into itself would delete the archive just made.
  if (archive == source) return fail("Zip file creation failed");
  const ZipHandlePtr zip = CreateZip(archive.string());
  if (zip == nullptr) return fail("Zip file creation failed");
  if (ZipAdd(zip.get(), source.filename().string(), path) != kZipOk) {
    return fail("Adding file operation failed: " + path);
  }
  if (CloseZip(zip.get()) != kZipOk) return fail("Closing zip file operation failed");
  ::unlink(path.c_str());
  path = archive.string();
  return true;
}

void InstallBundlePacker() {
  XMLWriter::SetBundlePacker([](const std::string& xmlPath) {
    std::string path = xmlPath;
    return ZipFileInPlace(path, "btz") ? path : std::string();
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
  const std::string documentName = fs::path(bundlePath).stem().string() + ".btxml";
  // A "\" in the name would be taken for a folder step when extracting.
  std::string localName = documentName;
  std::replace(localName.begin(), localName.end(), '\\', '_');
  int index = -1;
  ZipEntry entry;
  if (FindZipItem(zip.get(), documentName, index, entry) != kZipOk) {
    bundle.status = BundleStatus::kNoDocument;
    return bundle;
  }
  if (!IsSafeRelativePath(localName) || UnzipItem(zip.get(), index, localName) != kZipOk) return bundle;
  CloseZipReader(zip.get());
  bundle.status = BundleStatus::kExtracted;
  bundle.documentPath = bundle.folder.Path() + "/" + localName;
  return bundle;
}

}  // namespace vornel
