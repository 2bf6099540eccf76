#include "image/bitmap/PLFilterQuantize.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {

// The default table: blue, green and red of each entry, alpha 0.
constexpr uint32_t kDefaultTable[256] = {
    0x000000, 0xBF0000, 0x00BF00, 0xBFBF00, 0x0000BF, 0xBF00BF, 0x00BFBF, 0xC0C0C0,
    0xC0DCC0, 0xA6CAF0, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080,
    0x005100, 0x515100, 0x855100, 0xB15100, 0xD95100, 0xFF5100, 0x008500, 0x518500,
    0x858500, 0xB18500, 0xD98500, 0xFF8500, 0x00B100, 0x51B100, 0x85B100, 0xB1B100,
    0xD9B100, 0xFFB100, 0x00D900, 0x51D900, 0x85D900, 0xB1D900, 0xD9D900, 0xFFD900,
    0x00FF00, 0x51FF00, 0x85FF00, 0xB1FF00, 0xD9FF00, 0xFFFF00, 0x000051, 0x510051,
    0x850051, 0xB10051, 0xD90051, 0xFF0051, 0x005151, 0x515151, 0x855151, 0xB15151,
    0xD95151, 0xFF5151, 0x008551, 0x518551, 0x858551, 0xB18551, 0xD98551, 0x378551,
    0x00B151, 0x51B151, 0x85B151, 0xB1B151, 0xD9B151, 0xFFB151, 0x00D951, 0x51D951,
    0x85D951, 0xB1D951, 0xD9D951, 0xFFD951, 0x00FF51, 0x51FF51, 0x85FF51, 0xB1FF51,
    0xD9FF51, 0xFFFF51, 0x000085, 0x510085, 0x850085, 0xB10085, 0xD90085, 0xFF0085,
    0x005185, 0x515185, 0x855185, 0xB15185, 0xD95185, 0xFF5185, 0x008585, 0x518585,
    0x858585, 0xB18585, 0xD98585, 0xFF8585, 0x00B185, 0x51B185, 0x85B185, 0xB1B185,
    0xD9B185, 0xFFB185, 0x00D985, 0x51D985, 0x85D985, 0xB1D985, 0xD9D985, 0xFFD985,
    0x00FF85, 0x51FF85, 0x85FF85, 0xB1FF85, 0xD9FF85, 0xFFFF85, 0x0000B1, 0x5100B1,
    0x8500B1, 0xB100B1, 0xD900B1, 0xFF00B1, 0x0051B1, 0x5151B1, 0x8551B1, 0xB151B1,
    0xD951B1, 0xFF51B1, 0x0085B1, 0x5185B1, 0x8585B1, 0xB185B1, 0xD985B1, 0xFF85B1,
    0x00B1B1, 0x51B1B1, 0x85B1B1, 0xB1B1B1, 0xD9B1B1, 0xFFB1B1, 0x00D9B1, 0x51D9B1,
    0x85D9B1, 0xB1D9B1, 0xD9D9B1, 0xFFD9B1, 0x00FFB1, 0x51FFB1, 0x85FFB1, 0xB1FFB1,
    0xD9FFB1, 0xFFFFB1, 0x0000D9, 0x5100D9, 0x8500D9, 0xB100D9, 0xD900D9, 0xFF00D9,
    0x0051D9, 0x5151D9, 0x8551D9, 0xB151D9, 0xD951D9, 0xFF51D9, 0x0085D9, 0x5185D9,
    0x8585D9, 0xB185D9, 0xD985D9, 0xFF85D9, 0x00B1D9, 0x51B1D9, 0x85B1D9, 0xB1B1D9,
    0xD9B1D9, 0xFFB1D9, 0x00D9D9, 0x51D9D9, 0x85D9D9, 0xB1D9D9, 0xD9D9D9, 0xFFD9D9,
    0x00FFD9, 0x51FFD9, 0x85FFD9, 0xB1FFD9, 0xD9FFD9, 0xFFFFD9, 0x0000FF, 0x5100FF,
    0x8500FF, 0xB100FF, 0xD900FF, 0xFF00FF, 0x0051FF, 0x5151FF, 0x8551FF, 0xB151FF,
    0xD951FF, 0xFF51FF, 0x0085FF, 0x5185FF, 0x8585FF, 0xB185FF, 0xD985FF, 0xFF85FF,
    0x00B1FF, 0x51B1FF, 0x85B1FF, 0xB1B1FF, 0xD9B1FF, 0xFFB1FF, 0x00D9FF, 0x51D9FF,
    0x85D9FF, 0xB1D9FF, 0xD9D9FF, 0xFFD9FF, 0x00FFFF, 0x51FFFF, 0x85FFFF, 0xB1FFFF,
    0xD9FFFF, 0xC4C4C4, 0xC7C7C7, 0xCACACA, 0xCDCDCD, 0xD0D0D0, 0xD3D3D3, 0xD6D6D6,
    0xD9D9D9, 0xDCDCDC, 0xDFDFDF, 0xE2E2E2, 0xE5E5E5, 0xE8E8E8, 0xEBEBEB, 0xEEEEEE,
    0xF1F1F1, 0xF4F4F4, 0xF7F7F7, 0xFAFAFA, 0xFDFDFD, 0x9BCFCF, 0xFFFBF0, 0xA0A0A4,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

constexpr uint32_t kMaxCount = 65535;

// The eight corners of the colour cube, in cell units (red, green, blue).
constexpr uint8_t kCorners[8][3] = {{0, 0, 0},   {31, 0, 0},  {0, 31, 0},  {0, 0, 31},
                                    {31, 31, 0}, {0, 31, 31}, {31, 0, 31}, {31, 31, 31}};

// Ordered dithering: m = kMatrix[(x & 3) * 4 + (y & 3)], added twice to each channel.
constexpr int kMatrix[16] = {-7, 1, -5, 3, 5, -3, 7, -1, -4, 4, -6, 2, 8, 0, 6, -2};

uint8_t Clamp(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 255)); }

}  // namespace

const std::array<PLPixel32, 256>& PLFilterQuantize::DefaultPalette() {
  static const std::array<PLPixel32, 256> palette = [] {
    std::array<PLPixel32, 256> entries{};
    for (int i = 0; i < 256; ++i) {
      const uint32_t v = kDefaultTable[i];
      entries[i] = PLPixel32{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v), 0};
    }
    return entries;
  }();
  return palette;
}

PLFilterQuantize::PLFilterQuantize(int paletteType, int ditherType)
    : paletteType_(paletteType), ditherType_(ditherType) {
  try {
    boxes_.resize(256);
    histogram_.resize(32768);
  } catch (const std::bad_alloc&) {
    throw PLTextException(kPLErrNoMemory, "Out of memory.");
  }
}

PLFilterQuantize::~PLFilterQuantize() = default;

void PLFilterQuantize::SetUserPalette(const PLPixel32* entries) {
  if (entries == nullptr) {
    userPalette_.reset();
    return;
  }
  userPalette_ = std::make_unique<std::array<PLPixel32, 256>>();
  std::memcpy(userPalette_->data(), entries, sizeof(PLPixel32) * 256);
}

void PLFilterQuantize::Apply(const PLBmp& source, PLBmp& destination) {
  if (source.GetBitsPerPixel() != 32) {
    throw PLTextException(kPLErrFormatNotSupported, "Image bit depth doesn't match request.");
  }
  // The source may be the destination itself: work from a copy then.
  PLAnyBmp copy;
  const PLBmp* from = &source;
  if (&source == &destination) {
    copy.CreateCopy(source);
    from = &copy;
  }
  destination.Create(source.GetWidth(), source.GetHeight(), 8, false, source.GetResolution());
  if (paletteType_ != kDefaultPalette && paletteType_ != kUserPalette) CountColours(*from);
  PLPixel32* palette = destination.GetPalette();
  switch (paletteType_) {
    case kMedianCut:
      MakeMedianCutPalette(palette);
      break;
    case kPopularity:
      MakePopularityPalette(palette);
      break;
    case kDefaultPalette:
      destination.SetPalette(DefaultPalette().data());
      break;
    case kUserPalette:
      destination.SetPalette(userPalette_ ? userPalette_->data() : DefaultPalette().data());
      break;
    default:
      break;  // the palette stays as created
  }
  MapPixels(*from, destination);
}

void PLFilterQuantize::CountColours(const PLBmp& source) {
  for (int y = 0; y < source.GetHeight(); ++y) {
    const auto* pixels = reinterpret_cast<const PLPixel32*>(source.GetLineArray()[y]);
    for (int x = 0; x < source.GetWidth(); ++x) {
      Cell& cell = histogram_[CellOf(pixels[x].r, pixels[x].g, pixels[x].b)];
      if (cell.count < kMaxCount) ++cell.count;
    }
  }
}

void PLFilterQuantize::ComputeBoxStatistics(Box& box) const {
  uint8_t low[3] = {31, 31, 31};
  uint8_t high[3] = {0, 0, 0};
  uint64_t sum[3] = {};
  uint64_t total = 0;
  for (int r = box.low[0]; r <= box.high[0]; ++r) {
    for (int g = box.low[1]; g <= box.high[1]; ++g) {
      for (int b = box.low[2]; b <= box.high[2]; ++b) {
        const Cell& cell = histogram_[(r << 10) | (g << 5) | b];
        if (cell.count == 0) continue;
        const int at[3] = {r, g, b};
        for (int i = 0; i < 3; ++i) {
          low[i] = std::min<uint8_t>(low[i], static_cast<uint8_t>(at[i]));
          high[i] = std::max<uint8_t>(high[i], static_cast<uint8_t>(at[i]));
          sum[i] += uint64_t(cell.count) * at[i];
        }
        total += cell.count;
      }
    }
  }
  if (total == 0) {
    box.count = 0;
    return;
  }
  for (int i = 0; i < 3; ++i) {
    box.mean[i] = static_cast<uint8_t>(sum[i] / total);
    box.low[i] = low[i];
    box.high[i] = high[i];
  }
  const bool single = std::equal(box.low, box.low + 3, box.high);
  box.count = single ? 1 : static_cast<uint32_t>(std::min<uint64_t>(total, kMaxCount));
}

void PLFilterQuantize::MakeMedianCutPalette(PLPixel32* palette) {
  for (int i = 0; i < 8; ++i) {
    Box& box = boxes_[i];
    box = Box{};
    std::copy(kCorners[i], kCorners[i] + 3, box.low);
    std::copy(kCorners[i], kCorners[i] + 3, box.high);
    std::copy(kCorners[i], kCorners[i] + 3, box.mean);
    box.count = 1;
  }
  boxes_[8] = Box{{0, 0, 0}, {31, 31, 31}, {0, 0, 0}, 0};
  ComputeBoxStatistics(boxes_[8]);
  for (int n = 9; n < 256; ++n) {
    int largest = 8;
    for (int i = 9; i < n; ++i) {
      if (boxes_[i].count > boxes_[largest].count) largest = i;
    }
    Box& old = boxes_[largest];
    if (old.count <= 1) {
      for (int i = n; i < 256; ++i) boxes_[i] = Box{};
      break;
    }
    const int extent[3] = {old.high[0] - old.low[0], old.high[1] - old.low[1], old.high[2] - old.low[2]};
    const int axis = (extent[0] >= extent[1] && extent[0] >= extent[2]) ? 0 : extent[1] >= extent[2] ? 1 : 2;
    Box& added = boxes_[n];
    added = old;
    if (extent[axis] == 2) {
      // The middle slice is left out: the new box takes the low one, the old the high one.
      added.high[axis] = added.low[axis];
      old.low[axis] = old.high[axis];
    } else {
      const int split = old.mean[axis] == old.high[axis] ? old.high[axis] - 1 : old.mean[axis];
      old.high[axis] = static_cast<uint8_t>(split);
      added.low[axis] = static_cast<uint8_t>(split + 1);
    }
    ComputeBoxStatistics(added);
    ComputeBoxStatistics(old);
  }
  for (int i = 0; i < 256; ++i) {
    const Box& box = boxes_[i];
    palette[i] = PLPixel32::FromRgba(static_cast<uint8_t>((box.low[0] + box.high[0]) * 255 / 62),
                                     static_cast<uint8_t>((box.low[1] + box.high[1]) * 255 / 62),
                                     static_cast<uint8_t>((box.low[2] + box.high[2]) * 255 / 62), 0);
  }
}

void PLFilterQuantize::MakePopularityPalette(PLPixel32* palette) {
  struct Entry {
    uint8_t rgb[3] = {};
    uint32_t count = 0;
  };
  std::array<Entry, 256> entries{};
  for (int i = 0; i < 8; ++i) std::copy(kCorners[i], kCorners[i] + 3, entries[i].rgb);
  // Every cell but the corners (already entries 0-7), level 31 included.
  for (int r = 0; r < 32; ++r) {
    for (int g = 0; g < 32; ++g) {
      for (int b = 0; b < 32; ++b) {
        const bool corner = (r == 0 || r == 31) && (g == 0 || g == 31) && (b == 0 || b == 31);
        const uint32_t count = histogram_[(r << 10) | (g << 5) | b].count;
        if (corner || count <= entries[255].count) continue;
        int at = 255;
        entries[at] = Entry{{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)}, count};
        while (at > 8 && entries[at].count > entries[at - 1].count) {
          std::swap(entries[at], entries[at - 1]);
          --at;
        }
      }
    }
  }
  for (int i = 0; i < 256; ++i) {
    palette[i] = PLPixel32::FromRgba(static_cast<uint8_t>(entries[i].rgb[0] * 255 / 31),
                                     static_cast<uint8_t>(entries[i].rgb[1] * 255 / 31),
                                     static_cast<uint8_t>(entries[i].rgb[2] * 255 / 31), 0);
  }
}

uint8_t PLFilterQuantize::LookUp(int red, int green, int blue, const PLPixel32* palette) {
  Cell& cell = histogram_[CellOf(red, green, blue)];
  if (cell.index != kNoIndex) return static_cast<uint8_t>(cell.index);
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const int dr = red - palette[i].r;
    const int dg = green - palette[i].g;
    const int db = blue - palette[i].b;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
    }
  }
  cell.index = static_cast<uint32_t>(best);
  return static_cast<uint8_t>(best);
}

void PLFilterQuantize::MapPixels(const PLBmp& source, PLBmp& destination) {
  const int width = source.GetWidth();
  const int height = source.GetHeight();
  const PLPixel32* palette = destination.GetPalette();
  PLBmpLock lock(destination, false, true);
  // Floyd-Steinberg: the errors of this row and the next, three channels per pixel with a
  // spare pixel at each end.
  std::vector<double> errors[2];
  if (ditherType_ == kFloydSteinberg) {
    errors[0].assign(static_cast<size_t>(width + 2) * 3, 0.0);
    errors[1].assign(static_cast<size_t>(width + 2) * 3, 0.0);
  }
  for (int y = 0; y < height; ++y) {
    const auto* in = reinterpret_cast<const PLPixel32*>(source.GetLineArray()[y]);
    uint8_t* out = destination.GetLineArray()[y];
    if (ditherType_ == kFloydSteinberg) {
      std::vector<double>& here = errors[y % 2];
      std::vector<double>& below = errors[(y + 1) % 2];
      std::fill(below.begin(), below.end(), 0.0);
      const bool leftToRight = y % 2 == 0;
      const int step = leftToRight ? 1 : -1;
      for (int i = 0; i < width; ++i) {
        const int x = leftToRight ? i : width - 1 - i;
        const size_t at = static_cast<size_t>(x + 1) * 3;
        const double wanted[3] = {in[x].r + here[at], in[x].g + here[at + 1], in[x].b + here[at + 2]};
        int used[3];
        for (int c = 0; c < 3; ++c) used[c] = static_cast<int>(std::lround(std::clamp(wanted[c], 0.0, 255.0)));
        const uint8_t index = LookUp(used[0], used[1], used[2], palette);
        out[x] = index;
        const int got[3] = {palette[index].r, palette[index].g, palette[index].b};
        const size_t ahead = static_cast<size_t>(x + 1 + step) * 3;
        const size_t behind = static_cast<size_t>(x + 1 - step) * 3;
        for (int c = 0; c < 3; ++c) {
          const double error = (used[c] - got[c]) / 16.0;
          here[ahead + c] += 7 * error;
          below[behind + c] += 3 * error;
          below[at + c] += 5 * error;
          below[ahead + c] += error;
        }
      }
      std::fill(here.begin(), here.end(), 0.0);
    } else if (ditherType_ == kOrderedDither) {
      for (int x = 0; x < width; ++x) {
        const int m = 2 * kMatrix[((width - 1 - x) & 3) * 4 + (y & 3)];
        out[x] = LookUp(Clamp(in[x].r + m), Clamp(in[x].g + m), Clamp(in[x].b + m), palette);
      }
    } else {
      for (int x = 0; x < width; ++x) out[x] = LookUp(in[x].r, in[x].g, in[x].b, palette);
    }
  }
}

}  // namespace vornel
