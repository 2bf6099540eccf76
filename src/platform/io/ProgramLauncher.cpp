#include "platform/io/ProgramLauncher.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

NoProgramLauncher g_noLauncher;
ObjectSlot<ProgramLauncher> g_launcher("program launcher", g_noLauncher);

}  // namespace

bool FindProgram(const std::string& program) {
  if (program.empty()) return false;
  if (program.find('/') != std::string::npos) return ::access(program.c_str(), X_OK) == 0;
  const char* path = std::getenv("PATH");
  std::string_view folders = path != nullptr ? path : "/usr/bin:/bin";
  while (!folders.empty()) {
    const size_t colon = folders.find(':');
    const std::string_view folder = folders.substr(0, colon);
    folders = colon == std::string_view::npos ? std::string_view() : folders.substr(colon + 1);
    // An empty entry stands for the current folder.
    const std::filesystem::path candidate = std::filesystem::path(folder.empty() ? "." : folder) / program;
    if (::access(candidate.c_str(), X_OK) == 0) return true;
  }
  return false;
}

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

ProgramLauncher& Programs() { return g_launcher.Get(); }

ScopedPrograms::ScopedPrograms(ProgramLauncher& launcher) : previous_(g_launcher.Exchange(&launcher)) {}

ScopedPrograms::~ScopedPrograms() { g_launcher.Exchange(previous_); }

}  // namespace vornel
