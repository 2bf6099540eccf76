#include "shell/app/XdgFolders.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>

#include "platform/io/FileIO.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

std::string WithSlash(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

// An absolute folder from the environment, else the fallback below the home folder.
std::string FromEnvironment(const char* name, std::string_view belowHome) {
  const char* value = std::getenv(name);
  if (value != nullptr && value[0] == '/') return WithSlash(value);
  return HomeFolder() + std::string(belowHome);
}

// The value of `XDG_DOCUMENTS_DIR="..."` on one line of user-dirs.dirs, with "$HOME" expanded.
std::string DocumentsFromLine(std::string_view line) {
  constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR";
  line = TrimBlanks(line);
  if (line.substr(0, kKey.size()) != kKey) return {};
  line = TrimBlanks(line.substr(kKey.size()));
  if (line.empty() || line.front() != '=') return {};
  line = TrimBlanks(line.substr(1));
  if (line.size() < 2 || line.front() != '"' || line.back() != '"') return {};
  line = line.substr(1, line.size() - 2);
  std::string folder;
  if (line.substr(0, 5) == "$HOME") {
    folder = HomeFolder();
    folder.pop_back();
    folder += line.substr(5);
  } else if (!line.empty() && line.front() == '/') {
    folder = line;
  } else {
    return {};
  }
  // The convention's "$HOME/" alone means the home folder, which is no documents folder.
  if (WithSlash(folder) == HomeFolder()) return {};
  return WithSlash(folder);
}

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return WithSlash(home);
  if (const passwd* entry = ::getpwuid(::getuid()); entry != nullptr && entry->pw_dir != nullptr) {
    return WithSlash(entry->pw_dir);
  }
  return "/";
}

std::string XdgConfigHome() { return FromEnvironment("XDG_CONFIG_HOME", ".config/"); }

std::string XdgStateHome() { return FromEnvironment("XDG_STATE_HOME", ".local/state/"); }

std::string XdgDocumentsFolder() {
  // The file is small; anything larger is not the user-dirs file.
  if (const auto bytes = ReadFileBytes(XdgConfigHome() + "user-dirs.dirs", 64 * 1024)) {
    const std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    size_t start = 0;
    while (start <= text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string_view::npos) end = text.size();
      if (std::string folder = DocumentsFromLine(text.substr(start, end - start)); !folder.empty()) return folder;
      start = end + 1;
    }
  }
  return HomeFolder() + "Documents/";
}

std::string ProfileFolder() { return XdgConfigHome() + "vornel/"; }

std::string AutoSaveFolder() { return XdgStateHome() + "vornel/autosave/"; }

}  // namespace vornel
