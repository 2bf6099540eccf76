// Pictures read in parts (JPEG and TIFF files, others whole) on hostile bytes: the overview,
// a region at full resolution and a reduced region.

#include <unistd.h>

#include <cstdio>
#include <string>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/large/LargeImageSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/vornel-tiled-fuzz-" + std::to_string(::getpid());
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  try {
    const auto source = vornel::OpenLargeImageSource(path);
    vornel::PLAnyBmp out;
    const int32_t w = source->Width();
    const int32_t h = source->Height();
    source->Read({0, 0, w, h}, 8, out);
    source->Read({w / 3, h / 3, 300, 200}, 1, out);
    source->Read({w / 2, h / 4, w, h}, 2, out);
  } catch (const vornel::PLTextException&) {
  }
  std::remove(path.c_str());
  return 0;
}
