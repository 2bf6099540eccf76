#include "view/facsimile/ImageDownload.h"

#include <curl/curl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "model/text/CFacsimileListDlg.h"
#include "platform/UserPrompts.h"
#include "platform/text/Fnv1a.h"

namespace vornel::view {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

// The last segment of the URL's path, without query or fragment.
std::string_view LastSegment(std::string_view url) {
  if (const size_t cut = url.find_first_of("?#"); cut != std::string_view::npos) url = url.substr(0, cut);
  if (const size_t scheme = url.find("://"); scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  const size_t slash = url.rfind('/');
  return slash == std::string_view::npos ? std::string_view{} : url.substr(slash + 1);
}

struct Transfer {
  std::FILE* file = nullptr;
  std::uint64_t bytes = 0;
  std::uint64_t maxBytes = 0;
  bool tooLarge = false;
  bool writeFailed = false;
  const DownloadProgress* progress = nullptr;
  bool cancelled = false;
};

size_t WriteBody(char* data, size_t size, size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const size_t length = size * count;
  if (transfer.bytes + length > transfer.maxBytes) {
    transfer.tooLarge = true;
    return CURL_WRITEFUNC_ERROR;
  }
  if (std::fwrite(data, 1, length, transfer.file) != length) {
    transfer.writeFailed = true;
    return CURL_WRITEFUNC_ERROR;
  }
  transfer.bytes += length;
  return length;
}

int ReportProgress(void* user, curl_off_t total, curl_off_t done, curl_off_t, curl_off_t) {
  auto& transfer = *static_cast<Transfer*>(user);
  if (transfer.progress == nullptr || !*transfer.progress) return 0;
  if ((*transfer.progress)(static_cast<std::uint64_t>(done), static_cast<std::uint64_t>(total))) return 0;
  transfer.cancelled = true;
  return 1;
}

struct EasyHandle {
  CURL* curl = curl_easy_init();
  ~EasyHandle() {
    if (curl != nullptr) curl_easy_cleanup(curl);
  }
};

// One GET into `transfer.file` (emptied first). Returns the curl code; `status` and
// `contentType` are filled from the last response.
CURLcode Get(const std::string& url, const DownloadLimits& limits, const DownloadCredentials* credentials,
             Transfer& transfer, long& status, std::string& contentType) {
  EasyHandle easy;
  if (easy.curl == nullptr) return CURLE_FAILED_INIT;
  std::rewind(transfer.file);
  if (ftruncate(fileno(transfer.file), 0) != 0) return CURLE_WRITE_ERROR;
  transfer.bytes = 0;
  CURL* curl = easy.curl;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https,file");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 1L);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, limits.connectSeconds);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, limits.totalSeconds);
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_USERAGENT, "Vornel");
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, WriteBody);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, ReportProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  if (credentials != nullptr) {
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_ANY);
    curl_easy_setopt(curl, CURLOPT_USERNAME, credentials->user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, credentials->password.c_str());
  }
  const CURLcode code = curl_easy_perform(curl);
  status = 0;
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  const char* type = nullptr;
  if (curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &type) == CURLE_OK && type != nullptr) contentType = type;
  std::fflush(transfer.file);
  return code;
}

}  // namespace

std::string ImageCacheFolder() {
  fs::path base;
  if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg != nullptr && xdg[0] == '/') {
    base = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    base = fs::path(home) / ".cache";
  } else {
    base = fs::temp_directory_path();
  }
  return (base / "vornel" / "images").string();
}

std::string UrlCacheKey(std::string_view url) {
  const std::uint64_t hash = Fnv1a(kFnv1aOffset, url);
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

std::string ExtensionForContentType(std::string_view contentType) {
  std::string type = Lower(contentType.substr(0, contentType.find(';')));
  while (!type.empty() && type.back() == ' ') type.pop_back();
  if (type == "image/jpeg" || type == "image/jpg" || type == "image/pjpeg") return ".jpg";
  if (type == "image/png") return ".png";
  if (type == "image/gif") return ".gif";
  if (type == "image/tiff") return ".tif";
  if (type == "image/bmp" || type == "image/x-ms-bmp") return ".bmp";
  return {};
}

std::string CacheFileName(std::string_view url, std::string_view contentType) {
  std::string name;
  for (const char c : LastSegment(url)) {
    if (name.size() == 80) break;
    const bool safe = std::isalnum(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '_';
    name.push_back(safe ? c : '_');
  }
  if (!IsImagePath(name)) {
    const std::string extension = ExtensionForContentType(contentType);
    name += extension.empty() ? ".img" : extension;
  }
  return UrlCacheKey(url) + "-" + name;
}

std::string FindCachedImage(const std::string& folder, std::string_view url) {
  const std::string prefix = UrlCacheKey(url) + "-";
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code sizeError;
    if (name.starts_with(prefix) && it->is_regular_file(sizeError) && it->file_size(sizeError) > 0 && !sizeError) {
      return it->path().string();
    }
  }
  return {};
}

bool IsCachedImage(const std::string& folder, const std::string& path) {
  std::error_code error;
  const fs::path base = fs::canonical(folder, error);
  if (error) return false;
  const fs::path file = fs::weakly_canonical(path, error);
  return !error && file.parent_path() == base && fs::is_regular_file(file, error);
}

bool DeleteCachedImage(const std::string& folder, const std::string& path) {
  if (!IsCachedImage(folder, path)) return false;
  std::error_code error;
  return fs::remove(fs::weakly_canonical(path, error), error) && !error;
}

std::string WithSaveExtension(const std::string& path, const std::vector<std::string>& extensions) {
  if (extensions.empty()) return path;
  const std::string lower = Lower(path);
  for (const std::string& extension : extensions) {
    if (lower.size() > extension.size() && lower.ends_with(Lower(extension))) return path;
  }
  return path + extensions.front();
}

DownloadOutcome FetchImageToCache(const std::string& url, const std::string& folder, const DownloadLimits& limits,
                                  const CredentialsAsker& askCredentials, const DownloadProgress& progress) {
  DownloadOutcome outcome;
  const std::string scheme = Lower(url.substr(0, url.find("://")));
  if (url.find("://") == std::string::npos || (scheme != "http" && scheme != "https" && scheme != "file")) {
    outcome.error = "Not a web address: " + url;
    return outcome;
  }
  if (std::string cached = FindCachedImage(folder, url); !cached.empty()) {
    outcome.path = std::move(cached);
    outcome.fromCache = true;
    return outcome;
  }
  std::error_code error;
  fs::create_directories(folder, error);
  std::string hidden(".");
  hidden.append(UrlCacheKey(url)).append("-XXXXXX");
  std::string temporary = (fs::path(folder) / hidden).string();
  const int descriptor = mkstemp(temporary.data());
  std::FILE* file = descriptor < 0 ? nullptr : fdopen(descriptor, "w+b");
  if (file == nullptr) {
    if (descriptor >= 0) {
      close(descriptor);
      fs::remove(temporary, error);
    }
    outcome.error = "Failed to open " + temporary;
    return outcome;
  }

  Transfer transfer;
  transfer.file = file;
  transfer.maxBytes = limits.maxBytes;
  transfer.progress = &progress;
  long status = 0;
  std::string contentType;
  CURLcode code = Get(url, limits, nullptr, transfer, status, contentType);
  if (code == CURLE_OK && status == 401) {
    std::optional<DownloadCredentials> credentials = askCredentials ? askCredentials(url) : std::nullopt;
    if (credentials) code = Get(url, limits, &*credentials, transfer, status, contentType);
  }
  const bool isFile = scheme == "file";
  const bool statusOk = isFile ? true : (status >= 200 && status < 300);
  const bool written = std::fflush(file) == 0 && !std::ferror(file);
  std::fclose(file);

  if (code == CURLE_OK && statusOk && transfer.bytes > 0 && written) {
    const fs::path target = fs::path(folder) / CacheFileName(url, contentType);
    fs::rename(temporary, target, error);
    if (!error) {
      outcome.path = target.string();
      return outcome;
    }
    outcome.error = "Cannot store " + target.string() + ": " + error.message();
  } else if (transfer.tooLarge || code == CURLE_FILESIZE_EXCEEDED) {
    outcome.error = "The image is larger than the download limit";
  } else if (transfer.cancelled) {
    outcome.error = "Download cancelled";
  } else if (code != CURLE_OK) {
    outcome.error = curl_easy_strerror(code);
  } else if (!statusOk) {
    outcome.error = "The server answered " + std::to_string(status);
  } else {
    outcome.error = "The server sent no image";
  }
  fs::remove(temporary, error);
  return outcome;
}

WebFacsimileWindows::WebFacsimileWindows(std::string folder, DownloadLimits limits)
    : folder_(std::move(folder)), limits_(limits) {}

DownloadProgress WebFacsimileWindows::ProgressFor(const std::string& url, bool) {
  return [url](std::uint64_t done, std::uint64_t total) {
    if (total > 0) Prompts().ShowStatusText(url + ": " + std::to_string(done * 100 / total) + "%");
    return true;
  };
}

std::string WebFacsimileWindows::FetchWebImage(const std::string& url, bool printing) {
  CredentialsAsker ask;
  if (!printing) {
    ask = [](const std::string& address) -> std::optional<DownloadCredentials> {
      std::optional<std::string> user = Prompts().PromptText("User name:", {}, address);
      if (!user) return std::nullopt;
      std::optional<std::string> password = Prompts().PromptText("Password:", {}, address);
      if (!password) return std::nullopt;
      return DownloadCredentials{*user, *password};
    };
  }
  const DownloadProgress progress = ProgressFor(url, printing);
  DownloadOutcome outcome = FetchImageToCache(url, folder_, limits_, ask, progress);
  if (!outcome.path.empty() || outcome.fromCache) return outcome.path;
  if (!printing) Prompts().ShowStatusText(outcome.error);
  return {};
}

}  // namespace vornel::view
