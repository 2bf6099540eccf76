// Packing and unpacking a 20 MB bundle: a 4 MB XML document and four 4 MB images (random
// bytes, as incompressible as photographs of a source).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "document/zip/ZipReader.h"
#include "document/zip/ZipWriter.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kPart = 4 << 20;

class BundleFiles {
 public:
  BundleFiles() {
    std::string pattern = (fs::temp_directory_path() / "vornel-zip-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    folder = pattern;
    std::string document = "<VornelTabXML version=\"1.0\"><sections count=\"1\"><section>\n";
    for (int i = 0; document.size() < kPart; ++i) {
      document += "<chord flag=\"" + std::to_string(i % 7) + "\"><note course=\"" + std::to_string(i % 6) +
                  "\" fret=\"" + std::to_string(i % 9) + "\"/></chord>\n";
    }
    Write("Song.btxml", document);
    std::mt19937_64 generator(7);
    for (int image = 0; image < 4; ++image) {
      std::string bytes(kPart, '\0');
      for (size_t i = 0; i + 8 <= bytes.size(); i += 8) {
        const uint64_t value = generator();
        std::memcpy(bytes.data() + i, &value, 8);
      }
      Write("facsimile-" + std::to_string(image) + ".jpg", bytes);
    }
  }
  ~BundleFiles() {
    std::error_code error;
    fs::remove_all(folder, error);
  }

  std::string Path(const std::string& name) const { return (folder / name).string(); }
  std::vector<std::string> names;
  size_t totalBytes = 0;
  fs::path folder;

 private:
  void Write(const std::string& name, const std::string& bytes) {
    std::ofstream(Path(name), std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    names.push_back(name);
    totalBytes += bytes.size();
  }
};

const BundleFiles& Files() {
  static const BundleFiles files;
  return files;
}

bool Pack(const BundleFiles& files, const std::string& archive) {
  vornel::ZipHandlePtr zip = vornel::CreateZip(archive);
  for (const auto& name : files.names) {
    if (vornel::ZipAdd(zip.get(), name, files.Path(name)) != vornel::kZipOk) return false;
  }
  return vornel::CloseZip(zip.get()) == vornel::kZipOk;
}

void PackBundle(benchmark::State& state) {
  const BundleFiles& files = Files();
  for (auto _ : state) {
    if (!Pack(files, files.Path("bundle.btz"))) state.SkipWithError("packing failed");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.totalBytes));
}
BENCHMARK(PackBundle)->Unit(benchmark::kMillisecond);

void UnpackBundle(benchmark::State& state) {
  const BundleFiles& files = Files();
  const std::string archive = files.Path("unpack.btz");
  if (!Pack(files, archive)) state.SkipWithError("packing failed");
  fs::create_directory(files.folder / "out");
  for (auto _ : state) {
    vornel::ZipHandlePtr zip = vornel::OpenZip(archive, (files.folder / "out").string());
    for (int i = 0; i < static_cast<int>(files.names.size()); ++i) {
      if (vornel::UnzipItem(zip.get(), i, files.names[static_cast<size_t>(i)]) != vornel::kZipOk) {
        state.SkipWithError(("unpacking failed: " + files.names[static_cast<size_t>(i)]).c_str());
      }
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * files.totalBytes));
}
BENCHMARK(UnpackBundle)->Unit(benchmark::kMillisecond);

}  // namespace
