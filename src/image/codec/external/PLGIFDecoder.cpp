#include "image/codec/external/PLGIFDecoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {

// Hands the library what it asks for, or what is left; never throws through its frames.
int ReadData(GifFileType* gif, GifByteType* out, int count) {
  auto* source = static_cast<PLDataSource*>(gif->UserData);
  if (count <= 0) return 0;
  const int64_t n = std::min<int64_t>(count, source->GetBytesLeft());
  if (n > 0) std::memcpy(out, source->ReadNBytes(n), static_cast<size_t>(n));
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

void ReportFailure(int error) {
  const char* text = GifErrorString(error);
  std::fprintf(stderr, "GIF error: %s\n", text != nullptr ? text : "unknown");
}

// Rows of an interlaced image in the order they are stored: four passes starting at rows
// 0, 4, 2 and 1 with steps 8, 8, 4 and 2.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<size_t>(height));
  if (!interlaced) {
    for (int r = 0; r < height; ++r) rows.push_back(r);
    return rows;
  }
  constexpr int kStart[] = {0, 4, 2, 1};
  constexpr int kStep[] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass) {
    for (int r = kStart[pass]; r < height; r += kStep[pass]) rows.push_back(r);
  }
  return rows;
}

}  // namespace

void PLGIFDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, ReadData, &error));
  if (!gif) {
    if (error == D_GIF_ERR_READ_FAILED) PLDataSource::RaiseEndOfData();
    const char* text = GifErrorString(error);
    RaiseError(error == D_GIF_ERR_NOT_GIF_FILE ? kPLErrWrongSignature : kPLErrFormatUnknown,
               text != nullptr ? text : "Not a GIF file.");
  }
  const int screenWidth = gif->SWidth;
  const int screenHeight = gif->SHeight;
  // A code of the LZW data, 3 bits at the least, stands for at most 4,096 pixels.
  RequirePixels(source.GetBytesLeft(), screenWidth, screenHeight, 4096 * 8 / 3);
  bmp.Create(screenWidth, screenHeight, 8, false);
  PLBmpLock lock(bmp, false, true);
  uint8_t* const* lines = bmp.GetLineArray();
  if (gif->SBackGroundColor != 0) {
    for (int y = 0; y < screenHeight; ++y) std::memset(lines[y], gif->SBackGroundColor, static_cast<size_t>(screenWidth));
  }

  std::array<PLPixel32, 256> palette{};
  bool havePalette = false;
  const auto takeMap = [&](const ColorMapObject* map) {
    if (map == nullptr || map->Colors == nullptr) return;
    const int count = std::min(map->ColorCount, 256);
    for (int i = 0; i < count; ++i) {
      palette[i] = PLPixel32::FromRgba(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
    }
    havePalette = true;
  };

  std::vector<GifPixelType> line;
  int imageNumber = 0;
  bool done = false;
  while (!done) {
    GifRecordType record = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &record) == GIF_ERROR) {
      ReportFailure(gif->Error);
      break;
    }
    switch (record) {
      case IMAGE_DESC_RECORD_TYPE: {
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
          ReportFailure(gif->Error);
          done = true;
          break;
        }
        ++imageNumber;
        const GifImageDesc& desc = gif->Image;
        if (desc.Left + desc.Width > screenWidth || desc.Top + desc.Height > screenHeight) {
          Trace(2, "Image " + std::to_string(imageNumber) + " is not confined to screen dimension, clipped.\n");
        }
        takeMap(desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap);
        line.resize(static_cast<size_t>(std::max(desc.Width, 1)));
        const int visible = std::clamp(screenWidth - desc.Left, 0, desc.Width);
        for (const int r : RowOrder(desc.Height, desc.Interlace)) {
          if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) {
            // The file ends early or its data is damaged: keep what is there.
            ReportFailure(gif->Error);
            done = true;
            break;
          }
          const int y = desc.Top + r;
          if (y < screenHeight && visible > 0) std::memcpy(lines[y] + desc.Left, line.data(), static_cast<size_t>(visible));
        }
        break;
      }
      case EXTENSION_RECORD_TYPE: {
        int code = 0;
        GifByteType* block = nullptr;
        if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) {
          ReportFailure(gif->Error);
          done = true;
          break;
        }
        while (block != nullptr) {
          if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) {
            ReportFailure(gif->Error);
            done = true;
            break;
          }
        }
        break;
      }
      case TERMINATE_RECORD_TYPE:
        done = true;
        break;
      default:
        break;
    }
  }
  if (!havePalette) takeMap(gif->SColorMap);
  if (havePalette) bmp.SetPalette(palette.data());
}

}  // namespace vornel
