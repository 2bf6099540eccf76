#pragma once
// The readers in parts of single formats, behind OpenPartialImageSource. Each takes the open
// file and gives nothing when the file's layout is not one it reads in parts.

#include <memory>

#include "image/codec/io/PLFileSource.h"
#include "image/large/LargeImageSource.h"

namespace vornel {

// TIFF images that PLTiffSamples reads: strips or tiles, several at a time in parallel.
std::unique_ptr<LargeImageSource> OpenTiffParts(std::unique_ptr<PLFileSource> file);
// Uncompressed BMP files and binary greymaps and pixmaps of 8-bit samples, row by row from the
// mapped file; PNG files a row or an interlaced pass at a time.
std::unique_ptr<LargeImageSource> OpenRowParts(std::unique_ptr<PLFileSource> file);
// PNG files that PngRows.h reads, taking `file` then; nothing for any other PNG, `file` left.
std::unique_ptr<LargeImageSource> OpenPlainPngParts(std::unique_ptr<PLFileSource>& file);

}  // namespace vornel
