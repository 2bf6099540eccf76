// The zip reader on hostile bytes: the input is opened as an archive, and every entry is
// listed, looked up by name and extracted into a scratch folder. Anything written outside
// that folder stops the run.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ScratchFolder.h"
#include "document/zip/ZipReader.h"

namespace fs = std::filesystem;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const vornel::fuzzing::ScratchFolder scratch("vornel-zip-fuzz");
  const fs::path archive = scratch.path / "input.zip";
  const fs::path root = scratch.path / "root";
  {
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  fs::create_directory(root);

  vornel::ZipHandlePtr zip = vornel::OpenZip(archive.string(), root.string());
  if (zip != nullptr) {
    vornel::ZipEntry entry;
    vornel::GetZipItem(zip.get(), -1, entry);
    const int count = entry.index;
    for (int i = 0; i < count; ++i) {
      if (vornel::GetZipItem(zip.get(), i, entry) != vornel::kZipOk) std::abort();
      int found = -1;
      vornel::ZipEntry same;
      vornel::FindZipItem(zip.get(), entry.name, found, same);
      // Extraction by the stored name is what careless callers do; the reader must refuse
      // names that leave the folder.
      vornel::UnzipItem(zip.get(), i, entry.name);
      vornel::UnzipItem(zip.get(), i, "entry-" + std::to_string(i));
    }
    vornel::UnzipItem(zip.get(), count, "past-the-end");
    vornel::CloseZipReader(zip.get());
    vornel::CloseZipReader(zip.get());
  }

  for (const auto& item : fs::directory_iterator(scratch.path)) {
    if (item.path() != archive && item.path() != root) std::abort();
  }
  std::error_code error;
  fs::remove_all(root, error);
  return 0;
}
