#include "platform/io/TemporaryFiles.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <system_error>

namespace vornel {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kPrefix = "vornel-";

// "vornel-<pid>-" of the process `pid`.
std::string OwnerMark(pid_t pid) {
  std::string mark(kPrefix);
  mark.append(std::to_string(pid)).append("-");
  return mark;
}

struct Journal {
  std::mutex mutex;
  std::string folder;
  std::map<std::string, std::string> notes;  // temporary file -> its note
  unsigned next = 0;
};

Journal& TheJournal() {
  static Journal journal;
  return journal;
}

// The process number of a name "<pid>" followed by `after`, or 0.
pid_t ProcessOf(std::string_view name, char after) {
  long value = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (error != std::errc() || value <= 0 || end == name.data() + name.size() || *end != after) return 0;
  return static_cast<pid_t>(value);
}

bool Gone(pid_t pid) { return pid != 0 && pid != ::getpid() && !ProcessAlive(pid); }

}  // namespace

std::string TemporaryPatternBeside(const std::string& target) {
  std::string pattern = target;
  pattern.append(".").append(OwnerMark(::getpid())).append("XXXXXX");
  return pattern;
}

std::string MakeTemporaryFolder(std::string* error) {
  std::error_code code;
  const fs::path base = fs::temp_directory_path(code);
  std::string pattern = (base / OwnerMark(::getpid())).string();
  pattern.append("XXXXXX");
  if (code || ::mkdtemp(pattern.data()) == nullptr) {
    if (error != nullptr) {
      *error = "cannot make a folder in " + base.string() + ": " + (code ? code.message() : std::strerror(errno));
    }
    return {};
  }
  return pattern;
}

void SetTemporaryJournal(const std::string& folder) {
  Journal& journal = TheJournal();
  const std::lock_guard lock(journal.mutex);
  journal.folder = folder;
}

void NoteTemporaryFile(const std::string& path) {
  Journal& journal = TheJournal();
  const std::lock_guard lock(journal.mutex);
  if (journal.folder.empty()) return;
  // The folder is made with the first note: a run that writes nothing leaves nothing.
  std::error_code error;
  fs::create_directories(journal.folder, error);
  const std::string note =
      (fs::path(journal.folder) / (std::to_string(::getpid()) + "-" + std::to_string(journal.next++))).string();
  std::ofstream out(note, std::ios::binary | std::ios::trunc);
  if (!(out << path)) return;
  journal.notes[path] = note;
}

void ForgetTemporaryFile(const std::string& path) {
  Journal& journal = TheJournal();
  const std::lock_guard lock(journal.mutex);
  const auto found = journal.notes.find(path);
  if (found == journal.notes.end()) return;
  ::unlink(found->second.c_str());
  journal.notes.erase(found);
}

bool ProcessAlive(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

size_t RemoveLeftoverTemporaries(const std::string& journalFolder, const std::string& temporaryFolder) {
  size_t removed = 0;
  std::error_code error;
  if (!journalFolder.empty()) {
    for (fs::directory_iterator it(journalFolder, error), end; !error && it != end; it.increment(error)) {
      const std::string noteName = it->path().filename().string();
      const pid_t pid = ProcessOf(noteName, '-');
      if (!Gone(pid)) continue;
      std::ifstream in(it->path(), std::ios::binary);
      std::string path;
      std::getline(in, path, '\0');
      // Only a file whose own name says that process made it beside its target.
      std::string mark(".");
      mark.append(OwnerMark(pid));
      const std::string name = fs::path(path).filename().string();
      const size_t at = name.rfind(mark);
      std::error_code status;
      if (at != std::string::npos && at + mark.size() + 6 == name.size() && fs::is_regular_file(fs::symlink_status(path, status)) &&
          ::unlink(path.c_str()) == 0) {
        ++removed;
      }
      ::unlink(it->path().c_str());
    }
  }
  error.clear();
  for (fs::directory_iterator it(temporaryFolder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(kPrefix)) continue;
    const std::string_view rest = std::string_view(name).substr(kPrefix.size());
    const pid_t pid = ProcessOf(rest, '-');
    std::error_code status;
    if (!Gone(pid) || rest.size() != rest.find('-') + 7 || !fs::is_directory(fs::symlink_status(it->path(), status))) {
      continue;
    }
    std::error_code removal;
    if (fs::remove_all(it->path(), removal) > 0 && !removal) ++removed;
  }
  return removed;
}

}  // namespace vornel
