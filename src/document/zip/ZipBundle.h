#pragma once
// Packing a saved document into its zip bundle and unpacking it again, on top of the zip
// library. A bundle ".btz" holds the XML document ".btxml" of the same base name.
//
// The messages of a failed packing ("Zip file creation failed", "Adding file operation failed:
// " with the file, "Closing zip file operation failed") go on with the archive and the reason
// where the system or the archive's limits gave one.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/zip/ZipReader.h"

namespace vornel {

// Packs the file at `path` into a new archive beside it with the same base name and the
// extension `extension` ("btz"), under its bare file name; then deletes the file and makes
// `path` the archive's path. On failure shows, as an error, "Zip file creation failed",
// "Adding file operation failed: " with the file, or "Closing zip file operation failed",
// leaves the file, `path` and any earlier archive as they were, and returns false.
bool ZipFileInPlace(std::string& path, std::string_view extension);

// Asks for an archive name (save prompt "Create zip file", pattern "*." + extension, starting
// in `startPath`) and packs the files into it, each under its file name, skipping empty
// entries. The archive's path, or nothing when cancelled or when packing failed ("Zip file
// creation failed", "Adding file operation failed: " with the file, "Closing zip file
// operation failed"); an archive that failed half-way is never put in place.
std::optional<std::string> CreateZipFromFiles(const std::vector<std::string>& files, const std::string& startPath,
                                              std::string_view extension);

// One file of a zip of several files: its name in the archive and the file on disk.
struct ZipEntrySource {
  std::string name;
  std::string path;
};
// Packs the files into a new archive at `zipPath`, each under its entry name, skipping
// entries without a path. False, after "Zip file creation failed", "Adding file operation
// failed: " with the file, or "Closing zip file operation failed"; the archive is put in place
// only when whole.
bool WriteZipOfFiles(const std::vector<ZipEntrySource>& entries, const std::string& zipPath);

// Writes the bundle `bundlePath` holding one document, "<bundle's base name>.btxml", which
// `writeDocument` writes at the path it is given: a private temporary folder, so that no file
// beside the bundle is touched. The bundle is put in place only when whole. On failure shows
// the messages of ZipFileInPlace (when packing failed) and returns false; an earlier bundle
// stays as it was.
bool SaveBundle(const std::string& bundlePath, const std::function<bool(const std::string& documentPath)>& writeDocument);

// Makes XMLWriter::SaveToFile pack documents saved as bundles through SaveBundle. The
// document layer calls it once at start-up.
void InstallBundlePacker();

// A private folder under the system's temporary folder ("vornel-<pid>-XXXXXX"), removed with
// everything in it when the object goes.
class TemporaryFolder {
 public:
  TemporaryFolder() = default;
  ~TemporaryFolder();
  TemporaryFolder(TemporaryFolder&& other) noexcept;
  TemporaryFolder& operator=(TemporaryFolder&& other) noexcept;
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

  // False when the folder cannot be made; `error` (when given) says why.
  bool Create(std::string* error = nullptr);
  const std::string& Path() const { return path_; }

 private:
  void Remove();
  std::string path_;
};

enum class BundleStatus { kExtracted, kUnreadable, kNoDocument };

struct UnzippedBundle {
  BundleStatus status = BundleStatus::kUnreadable;
  std::string document;  // the document's text, when extracted
  std::string reason;    // why it is unreadable, when that is known
};

// What a bundle's document may unpack to. A document packs to about a thirtieth of its size
// (repetitive ones to about a fiftieth); what packs much tighter is no document but a zip bomb.
// So a bundle may unpack to 64 MiB, plus 64 bytes for each packed byte, and never beyond the
// largest document the system opens.
inline constexpr uint64_t kMaxBundleDocumentBytes = uint64_t(1) << 30;
inline constexpr uint64_t kBundleBaseBytes = uint64_t(64) << 20;
inline constexpr uint32_t kMaxBundleRatio = 64;
inline constexpr ZipLimits kBundleLimits{kMaxBundleDocumentBytes, kMaxBundleRatio, kBundleBaseBytes};

// Inflates the document of the bundle at `bundlePath` (the entry named like the bundle with
// the extension ".btxml", found without regard to case; in a bundle renamed since it was
// saved, its first entry named "*.btxml") into memory, within kBundleLimits and
// never beyond the size the entry declares. kUnreadable when the bundle does not open or the
// entry cannot be inflated, with the reason (the archive's fault, or the limit the entry
// passes); kNoDocument when the bundle holds no document.
UnzippedBundle UnzipBundle(const std::string& bundlePath);

}  // namespace vornel
