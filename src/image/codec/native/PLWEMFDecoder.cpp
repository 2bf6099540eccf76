#include "image/codec/native/PLWEMFDecoder.h"

#include <algorithm>
#include <array>
#include <string>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLFilterQuantize.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/native/PLMetafilePlayer.h"
#include "platform/draw/CairoDevice.h"
#include "platform/text/AsciiCase.h"

namespace vornel {

namespace {

constexpr size_t kEmfHeaderSize = 88;
// A page larger than this is not drawn: a hostile frame must not take the memory.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixels = int64_t(1) << 26;

[[noreturn]] void Unreadable() {
  PLPicDecoder::RaiseError(kPLErrFormatNotSupported, "Windows Metafile functions failed to load this image.");
}

// The palette an enhanced metafile keeps in its end record; empty when it has none.
std::vector<PLPixel32> EmfPalette(std::span<const uint8_t> data) {
  std::vector<PLPixel32> palette;
  size_t at = 0;
  while (at + 8 <= data.size()) {
    const uint32_t type = PLReadLE32(data.data() + at);
    const uint32_t size = PLReadLE32(data.data() + at + 4);
    if (size < 8 || size % 4 != 0 || size > data.size() - at) break;
    if (type == 14) {
      if (size < 20) break;
      const uint32_t count = PLReadLE32(data.data() + at + 8);
      const uint32_t offset = PLReadLE32(data.data() + at + 12);
      if (offset > size || count > (size - offset) / 4) break;
      for (uint32_t i = 0; i < count && i < 256; ++i) {
        const uint8_t* e = data.data() + at + offset + 4 * i;
        palette.push_back(PLPixel32::FromRgba(e[0], e[1], e[2]));
      }
      break;
    }
    at += size;
  }
  return palette;
}

// A frame's extent in hundredths of a millimetre as pixels of the reference device,
// truncated; computed wide enough that no header values overflow.
int64_t FrameToPixels(int32_t from, int32_t to, int32_t pixels, int32_t millimetres) {
  const __int128 value = (__int128(to) - from) * pixels / (__int128(millimetres) * 100);
  return static_cast<int64_t>(std::clamp<__int128>(value, -kMaxPixels, kMaxPixels));
}

}  // namespace

void PLWEMFDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  const std::string name = AsciiLower(source.GetName());
  const bool enhanced = name.find(".emf") != std::string::npos;
  const std::span<const uint8_t> data(source.ReadEverything(), static_cast<size_t>(source.GetBytesLeft()));

  int64_t width = 0;
  int64_t height = 0;
  std::vector<PLPixel32> palette;
  PLMetafilePlayer::EmfReference reference;
  PLMetafilePlayer::Frame frame;
  std::span<const uint8_t> records = data;
  if (enhanced) {
    const auto header = PLMetafilePlayer::ReadEmfReference(data);
    if (!header) Unreadable();
    const uint32_t headerSize = PLReadLE32(data.data() + 4);
    if (headerSize < kEmfHeaderSize || headerSize > data.size()) {
      RaiseError(kPLErrFormatUnknown, "No header information in metafile");
    }
    reference = *header;
    // Reference millimetres of 0 would divide: such a metafile gets the default size.
    if (reference.deviceMillimetresX > 0) {
      width = FrameToPixels(reference.frameLeft, reference.frameRight, reference.devicePixelsX,
                            reference.deviceMillimetresX);
    }
    if (reference.deviceMillimetresY > 0) {
      height = FrameToPixels(reference.frameTop, reference.frameBottom, reference.devicePixelsY,
                             reference.deviceMillimetresY);
    }
    if (PLReadLE32(data.data() + 68) > 0) palette = EmfPalette(data);
  } else {
    bool truncated = false;
    if (const auto placeable = PLMetafilePlayer::ReadPlaceable(data, &truncated)) {
      const int64_t left = placeable->left, top = placeable->top, right = placeable->right, bottom = placeable->bottom;
      // No units per inch: the default size rather than a division by 0.
      if (placeable->unitsPerInch > 0) {
        width = (right - left) * kScreenDpi / placeable->unitsPerInch;
        height = (bottom - top) * kScreenDpi / placeable->unitsPerInch;
      }
      frame = {double(left), double(top), double(right - left), double(bottom - top)};
      records = placeable->records;
    } else if (truncated) {
      Unreadable();
    } else if (const auto window = PLMetafilePlayer::FindWmfWindow(data)) {
      // Without a placeable header the window the metafile sets is its frame, one unit a pixel.
      frame = *window;
      width = static_cast<int64_t>(std::abs(frame.width));
      height = static_cast<int64_t>(std::abs(frame.height));
    }
    if (!PLMetafilePlayer::IsWmfHeader(records)) Unreadable();
  }
  if (width < 1) width = 320;
  if (height < 1) height = 200;
  if (width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
    RaiseError(kPLErrNoMemory, "Cannot allocate memory bitmap.");
  }
  // The page and the picture made of it take eight bytes a pixel: a page beyond what the
  // records could stand for (eight pixels a byte, besides a screenful) is not made.
  RequirePixels(static_cast<int64_t>(records.size()), width, height, 8);
  if (!enhanced && (frame.width == 0 || frame.height == 0)) frame = {0, 0, double(width), double(height)};

  // Played onto a white page; areas the metafile does not paint stay white.
  ImageDevice page(static_cast<int32_t>(width), static_cast<int32_t>(height), kScreenDpi, 0xFFFFFF);
  PLMetafilePlayer player(page);
  if (enhanced) player.PlayEmf(records, reference, static_cast<int>(width), static_cast<int>(height));
  else player.PlayWmf(records, frame, static_cast<int>(width), static_cast<int>(height));
  const DeviceBitmap pixels = page.ToBitmap();

  PLAnyBmp trueColour;
  PLBmp& target = palette.empty() || palette.size() > 255 ? bmp : trueColour;
  target.Create(width, height, 32, true);
  {
    PLBmpLock lock(target, false, true);
    for (int64_t y = 0; y < height; ++y) {
      const uint32_t* in = pixels.Data() + y * width;
      auto* out = reinterpret_cast<PLPixel32*>(target.GetLineArray()[y]);
      for (int64_t x = 0; x < width; ++x) {
        const uint32_t p = in[x];
        out[x] = PLPixel32{static_cast<uint8_t>(p), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p >> 16), 255};
      }
    }
  }
  if (&target == &bmp) return;
  // A metafile with its own palette of fewer than 256 colours: 8 bits with that palette, the
  // rest of the entries black.
  std::array<PLPixel32, 256> entries{};
  std::copy(palette.begin(), palette.end(), entries.begin());
  PLFilterQuantize quantize(PLFilterQuantize::kUserPalette, PLFilterQuantize::kNoDither);
  quantize.SetUserPalette(entries.data());
  quantize.Apply(trueColour, bmp);
}

}  // namespace vornel
