// Runs a fuzz target over files and folders given on the command line, so that the seed
// corpus is replayed by ordinary builds (and under the sanitizers) without libFuzzer:
// fuzz_replay TARGET FILE|FOLDER...

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "FuzzEntries.h"

namespace {

using Entry = int (*)(const uint8_t* data, size_t size);

int RunFile(Entry entry, const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  entry(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  return 1;
}

int Usage() {
  std::fprintf(stderr, "usage: fuzz_replay TARGET FILE|FOLDER...\n\ntargets:\n");
  for (const auto& e : vornel::fuzzing::FuzzEntries()) {
    std::fprintf(stderr, "  %.*s\n", static_cast<int>(e.name.size()), e.name.data());
  }
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  Entry entry = nullptr;
  for (const auto& e : vornel::fuzzing::FuzzEntries()) {
    if (e.name == argv[1]) entry = e.run;
  }
  if (entry == nullptr) return Usage();
  int runs = 0;
  for (int i = 2; i < argc; ++i) {
    const std::filesystem::path path(argv[i]);
    if (std::filesystem::is_directory(path)) {
      for (const auto& item : std::filesystem::recursive_directory_iterator(path)) {
        if (item.is_regular_file()) runs += RunFile(entry, item.path());
      }
    } else if (std::filesystem::exists(path)) {
      runs += RunFile(entry, path);
    }
  }
  // An empty input is always worth a run.
  entry(nullptr, 0);
  std::printf("replayed %d inputs\n", runs + 1);
  return 0;
}
