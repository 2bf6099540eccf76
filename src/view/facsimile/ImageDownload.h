#pragma once
// Downloads of web facsimile images into a cache folder, on libcurl. A URL is fetched at most
// once: its file is named by a hash of the whole URL, so two manuscripts' "f1r.jpg" never meet,
// and a cached file is used as it is until the cache is cleared. A download is written to a
// temporary file and renamed into the cache only when it succeeded (a 2xx status with a body,
// read to the end), so error pages and cut transfers never count as cached.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "view/facsimile/FacsimileCommands.h"

namespace vornel::view {

struct DownloadLimits {
  long connectSeconds = 20;
  long totalSeconds = 300;
  std::uint64_t maxBytes = 512ull << 20;
};

struct DownloadCredentials {
  std::string user;
  std::string password;
};
// Asked once after a 401; nothing when the user cancels.
using CredentialsAsker = std::function<std::optional<DownloadCredentials>(const std::string& url)>;
// Told of the bytes so far and the expected total (0 when unknown); false cancels the download.
using DownloadProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;

struct DownloadOutcome {
  std::string path;   // the cached file; empty on failure
  std::string error;  // why it failed
  bool fromCache = false;
};

// $XDG_CACHE_HOME/vornel/images, else ~/.cache/vornel/images.
std::string ImageCacheFolder();
// Sixteen hex digits of a 64-bit FNV-1a hash of the URL: the prefix of its cached file.
std::string UrlCacheKey(std::string_view url);
// The cached file's name: key, '-', the URL's last path segment made safe, and an image
// extension from the URL or, failing that, from the response's content type.
std::string CacheFileName(std::string_view url, std::string_view contentType);
// The extension (with its dot) of an image content type such as "image/jpeg"; empty otherwise.
std::string ExtensionForContentType(std::string_view contentType);
// The cached file of `url` in `folder` when one with content exists; empty otherwise.
std::string FindCachedImage(const std::string& folder, std::string_view url);

// Deletes a cached image: only a file whose canonical path lies directly in the canonical
// `folder` ("…/images2/x" and "…/images/../x" are refused). True when a file was deleted.
bool DeleteCachedImage(const std::string& folder, const std::string& path);
// True when `path` is a file directly in `folder` (both canonicalised), as DeleteCachedImage
// requires.
bool IsCachedImage(const std::string& folder, const std::string& path);
// The path an image is saved under with a chosen file type: unchanged when it already ends in
// one of `extensions` (with their dots, any case), else the first of them appended.
std::string WithSaveExtension(const std::string& path, const std::vector<std::string>& extensions);

// Fetches an http, https or file URL into `folder` (created when missing). HTTPS is verified;
// one redirection is followed; after a 401 `askCredentials` is asked once and the request
// repeated once.
DownloadOutcome FetchImageToCache(const std::string& url, const std::string& folder, const DownloadLimits& limits = {},
                                  const CredentialsAsker& askCredentials = {},
                                  const DownloadProgress& progress = {});

// The facsimile windows the application installs until the list dialog and the viewer exist:
// web images are fetched into ImageCacheFolder() (or the folder given), credentials asked
// through Prompts(); the dialog is cancelled and nothing is shown.
class WebFacsimileWindows : public FacsimileWindows {
 public:
  explicit WebFacsimileWindows(std::string folder = ImageCacheFolder(), DownloadLimits limits = {});
  bool EditFacsimileList(CFacsimileListDlg&) override { return false; }
  bool ShowInViewer(CBriotabDoc&, const std::string&) override { return false; }
  std::string FetchWebImage(const std::string& url, bool printing) override;

 protected:
  // What a download of `url` reports its progress to: here the status line, never cancelled.
  virtual DownloadProgress ProgressFor(const std::string& url, bool printing);

 private:
  std::string folder_;
  DownloadLimits limits_;
};

}  // namespace vornel::view
