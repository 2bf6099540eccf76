#include "platform/io/ProgramLauncher.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace vornel {

namespace {

ProgramLauncher g_defaultLauncher;
ProgramLauncher* g_launcher = &g_defaultLauncher;

bool IsExecutable(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace

bool ProgramLauncher::OpenWithDefault(const std::string& path) { return Run({"xdg-open", path}); }

bool ProgramLauncher::Run(const std::vector<std::string>& argv) {
  if (argv.empty()) return false;
  const std::string program = FindProgram(argv[0]);
  if (program.empty()) return false;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, args.data(), environ) != 0) return false;
  // The program runs on its own; a thread of ours collects its exit so that it leaves no
  // zombie behind.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return true;
}

ProgramLauncher& Launcher() { return *g_launcher; }

ScopedLauncher::ScopedLauncher(ProgramLauncher& launcher) : previous_(g_launcher) { g_launcher = &launcher; }
ScopedLauncher::~ScopedLauncher() { g_launcher = previous_; }

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inWord) words.push_back(std::move(word));
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (inWord) words.push_back(std::move(word));
  return words;
}

std::string FindProgram(const std::string& name) {
  if (name.empty()) return {};
  if (name.find('/') != std::string::npos) return IsExecutable(name) ? name : std::string();
  const char* path = std::getenv("PATH");
  std::string_view rest = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  while (!rest.empty()) {
    const size_t colon = rest.find(':');
    const std::string_view folder = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    if (folder.empty()) continue;
    const std::string candidate = std::string(folder) + "/" + name;
    if (IsExecutable(candidate)) return candidate;
  }
  return {};
}

}  // namespace vornel
