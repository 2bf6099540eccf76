#include "shell/app/AutoSave.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <system_error>

#include "document/CVornelTabDoc.h"
#include "platform/io/FileIO.h"
#include "platform/io/TemporaryFiles.h"
#include "shell/app/XdgFolders.h"
#include "shell/files/PathHelpers.h"

namespace vornel {

namespace fs = std::filesystem;

namespace {

// The process number a run folder is named after; 0 when the name is not one.
pid_t RunOfFolder(const std::string& name) {
  long value = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), value);
  if (error != std::errc() || end != name.data() + name.size() || value <= 0) return 0;
  return static_cast<pid_t>(value);
}

// The runs whose folders are left and whose process is gone.
std::vector<fs::path> EndedRuns(const std::string& base) {
  std::vector<fs::path> runs;
  std::error_code ec;
  for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError)) continue;
    const pid_t pid = RunOfFolder(it->path().filename().string());
    if (pid != 0 && pid != ::getpid() && !ProcessAlive(pid)) runs.push_back(it->path());
  }
  std::sort(runs.begin(), runs.end());
  return runs;
}

}  // namespace

AutoSaveStore::AutoSaveStore(std::string baseFolder)
    : baseFolder_(WithTrailingSeparator(baseFolder)),
      runFolder_(baseFolder_ + std::to_string(::getpid()) + "/") {}

bool AutoSaveStore::SaveCopy(CVornelTabDoc& doc, int key) {
  std::error_code ec;
  fs::create_directories(runFolder_, ec);
  const std::string stem = runFolder_ + std::to_string(key);
  // The note first: a copy is only ever found beside the note that says where it belongs.
  const std::string note = doc.GetPathName() + "\n" + doc.GetTitle() + "\n";
  return WriteFileAtomically(stem + ".path", note) && doc.SaveXmlText(stem + ".btxml");
}

void AutoSaveStore::RemoveCopy(int key) {
  const std::string stem = runFolder_ + std::to_string(key);
  ::unlink((stem + ".btxml").c_str());
  ::unlink((stem + ".path").c_str());
}

void AutoSaveStore::RemoveAll() {
  std::error_code ec;
  fs::remove_all(runFolder_, ec);
}

std::vector<RecoveryCopy> AutoSaveStore::Leftovers() const {
  std::vector<RecoveryCopy> copies;
  for (const fs::path& run : EndedRuns(baseFolder_)) {
    std::error_code ec;
    std::vector<fs::path> notes;
    for (fs::directory_iterator it(run, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->path().extension() == ".path") notes.push_back(it->path());
    }
    std::sort(notes.begin(), notes.end());
    for (const fs::path& notePath : notes) {
      const fs::path copy = fs::path(notePath).replace_extension(".btxml");
      const auto note = ReadFileBytes(notePath.string(), 64 * 1024);
      if (!note || !fs::is_regular_file(copy, ec)) continue;
      const std::string text(note->begin(), note->end());
      const size_t first = text.find('\n');
      const size_t second = first == std::string::npos ? std::string::npos : text.find('\n', first + 1);
      if (second == std::string::npos) continue;
      copies.push_back({copy.string(), text.substr(0, first), text.substr(first + 1, second - first - 1)});
    }
  }
  return copies;
}

void AutoSaveStore::DiscardLeftovers() const {
  for (const fs::path& run : EndedRuns(baseFolder_)) {
    std::error_code ec;
    fs::remove_all(run, ec);
  }
}

size_t StartTemporaryJournal() {
  const std::string journal = XdgStateHome() + "vornel/temporary/";
  std::error_code error;
  const size_t removed = RemoveLeftoverTemporaries(journal, fs::temp_directory_path(error).string());
  SetTemporaryJournal(journal);
  return removed;
}

}  // namespace vornel
