#include "image/codec/native/PLPictDecoder.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {

constexpr int kVariable = -1;  // a 16-bit length precedes the data
constexpr int kSpecial = -2;   // the interpreter reads the data itself

struct OpcodeInfo {
  const char* name;
  int length;
};

// Opcodes 0x00-0xA1: name (for the trace) and the length of their data.
constexpr OpcodeInfo kOpcodes[] = {
    {"NOP", 0}, {"Clip", kSpecial}, {"BkPat", 8}, {"TxFont", 2}, {"TxFace", 1}, {"TxMode", 2}, {"SpExtra", 4},
    {"PnSize", 4}, {"PnMode", 2}, {"PnPat", 8}, {"FillPat", 8}, {"OvSize", 4}, {"Origin", 4}, {"TxSize", 2},
    {"FgColor", 4}, {"BkColor", 4}, {"TxRatio", 8}, {"Version", 1}, {"BkPixPat", kSpecial},
    {"PnPixPat", kSpecial}, {"FillPixPat", kSpecial}, {"PnLocHFrac", 2}, {"ChExtra", 2}, {"reserved", 0},
    {"reserved", 0}, {"reserved", 0}, {"RGBFgCol", 6}, {"RGBBkCol", 6}, {"HiliteMode", 0}, {"HiliteColor", 6},
    {"DefHilite", 0}, {"OpColor", 6}, {"Line", 8}, {"LineFrom", 4}, {"ShortLine", 6}, {"ShortLineFrom", 2},
    {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable},
    {"LongText", kSpecial}, {"DHText", kSpecial}, {"DVText", kSpecial}, {"DHDVText", kSpecial},
    {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable},
    {"frameRect", 8}, {"paintRect", 8}, {"eraseRect", 8}, {"invertRect", 8}, {"fillRect", 8}, {"reserved", 8},
    {"reserved", 8}, {"reserved", 8}, {"frameSameRect", 0}, {"paintSameRect", 0}, {"eraseSameRect", 0},
    {"invertSameRect", 0}, {"fillSameRect", 0}, {"reserved", 0}, {"reserved", 0}, {"reserved", 0},
    {"frameRRect", 8}, {"paintRRect", 8}, {"eraseRRect", 8}, {"invertRRect", 8}, {"fillRRrect", 8},
    {"reserved", 8}, {"reserved", 8}, {"reserved", 8}, {"frameSameRRect", 0}, {"paintSameRRect", 0},
    {"eraseSameRRect", 0}, {"invertSameRRect", 0}, {"fillSameRRect", 0}, {"reserved", 0}, {"reserved", 0},
    {"reserved", 0}, {"frameOval", 8}, {"paintOval", 8}, {"eraseOval", 8}, {"invertOval", 8}, {"fillOval", 8},
    {"reserved", 8}, {"reserved", 8}, {"reserved", 8}, {"frameSameOval", 0}, {"paintSameOval", 0},
    {"eraseSameOval", 0}, {"invertSameOval", 0}, {"fillSameOval", 0}, {"reserved", 0}, {"reserved", 0},
    {"reserved", 0}, {"frameArc", 12}, {"paintArc", 12}, {"eraseArc", 12}, {"invertArc", 12}, {"fillArc", 12},
    {"reserved", 12}, {"reserved", 12}, {"reserved", 12}, {"frameSameArc", 4}, {"paintSameArc", 4},
    {"eraseSameArc", 4}, {"invertSameArc", 4}, {"fillSameArc", 4}, {"reserved", 4}, {"reserved", 4},
    {"reserved", 4}, {"framePoly", kSpecial}, {"paintPoly", kSpecial}, {"erasePoly", kSpecial},
    {"invertPoly", kSpecial}, {"fillPoly", kSpecial}, {"reserved", kSpecial}, {"reserved", kSpecial},
    {"reserved", kSpecial}, {"frameSamePoly", 0}, {"paintSamePoly", 0}, {"eraseSamePoly", 0},
    {"invertSamePoly", 0}, {"fillSamePoly", 0}, {"reserved", 0}, {"reserved", 0}, {"reserved", 0},
    {"frameRgn", kSpecial}, {"paintRgn", kSpecial}, {"eraseRgn", kSpecial}, {"invertRgn", kSpecial},
    {"fillRgn", kSpecial}, {"reserved", kSpecial}, {"reserved", kSpecial}, {"reserved", kSpecial},
    {"frameSameRgn", 0}, {"paintSameRgn", 0}, {"eraseSameRgn", 0}, {"invertSameRgn", 0}, {"fillSameRgn", 0},
    {"reserved", 0}, {"reserved", 0}, {"reserved", 0}, {"BitsRect", kSpecial}, {"BitsRgn", kSpecial},
    {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable},
    {"reserved", kVariable}, {"reserved", kVariable}, {"PackBitsRect", kSpecial}, {"PackBitsRgn", kSpecial},
    {"Opcode_9A", kSpecial}, {"reserved", kVariable}, {"reserved", kVariable}, {"reserved", kVariable},
    {"reserved", kVariable}, {"reserved", kVariable}, {"ShortComment", 2}, {"LongComment", kSpecial},
};
static_assert(std::size(kOpcodes) == 0xA2);

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

void Skip(PLDataSource& source, int64_t count) { source.ReadNBytes(count); }

// PackBits whose units are pairs of bytes (16-bit pixels): a run repeats one pair. Output
// beyond `dest` is dropped.
void ExpandPackBits16(std::span<uint8_t> dest, std::span<const uint8_t> packed) {
  size_t out = 0;
  size_t in = 0;
  while (in < packed.size() && out + 1 < dest.size()) {
    const int n = static_cast<int8_t>(packed[in++]);
    if (n >= 0) {
      for (int i = 0; i <= n && in + 1 < packed.size() + 0 && out + 1 < dest.size(); ++i) {
        dest[out++] = packed[in++];
        dest[out++] = packed[in++];
      }
    } else if (n != -128) {
      if (in + 1 >= packed.size()) break;
      const uint8_t hi = packed[in++];
      const uint8_t lo = packed[in++];
      for (int i = 0; i < 1 - n && out + 1 < dest.size(); ++i) {
        dest[out++] = hi;
        dest[out++] = lo;
      }
    }
  }
}

}  // namespace

void PLPictDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Decoding mac pict.\n");
  resolutionX_ = resolutionY_ = 0;
  Skip(source, 512);
  ReadVersion(source);
  while (!Interpret(ReadOpcode(source), bmp, source)) {
  }
  bmp.SetResolution({resolutionX_, resolutionY_});
}

void PLPictDecoder::ReadVersion(PLDataSource& source) {
  Skip(source, 2);  // picture size
  ReadRect(source);  // frame
  int byte = 0;
  while ((byte = source.ReadByte()) == 0) {
  }
  if (byte != 0x11) RaiseError(kPLErrWrongSignature, "Error decoding pict: Version number missing.");
  const int number = source.ReadByte();
  if (number == 1) {
    version_ = 1;
  } else if (number == 2 && source.ReadByte() == 0xFF) {
    version_ = 2;
  } else {
    RaiseError(kPLErrWrongSignature, "Illegal version number.");
  }
  Trace(2, Printf("PICT version %d found.\n", version_));
}

int PLPictDecoder::ReadOpcode(PLDataSource& source) {
  if (version_ == 1) return source.ReadByte();
  // Version 2 opcodes start at even positions.
  if (source.GetBytesRead() % 2 != 0) Skip(source, 1);
  return source.ReadBE16();
}

bool PLPictDecoder::Interpret(int opcode, PLBmp& bmp, PLDataSource& source) {
  if (opcode == 0xFF || opcode == 0xFFFF) {
    Trace(2, "Opcode: End of pict.\n");
    RaiseError(kPLErrFormatNotSupported, "PICT contained only vector data!\n");
  }
  if (opcode <= 0xA1) {
    const OpcodeInfo& info = kOpcodes[opcode];
    if (std::strcmp(info.name, "reserved") == 0) Trace(2, Printf("Opcode: reserved=0x%x\n", opcode));
    else Trace(2, Printf("Opcode: %s\n", info.name));
    switch (opcode) {
      case 0x01: {
        const int size = source.ReadBE16();
        if (size == 10) ReadRect(source);
        else Skip(source, size - 2);
        return false;
      }
      case 0x12:
      case 0x13:
      case 0x14:
        SkipPixPattern(source);
        return false;
      case 0x28:
        Skip(source, 4);
        Skip(source, source.ReadByte());
        return false;
      case 0x29:
      case 0x2A:
        Skip(source, 1);
        Skip(source, source.ReadByte());
        return false;
      case 0x2B:
        Skip(source, 2);
        Skip(source, source.ReadByte());
        return false;
      case 0x90:
      case 0x91:
      case 0x98:
      case 0x99:
        ReadBitmapOpcode(opcode, bmp, source);
        return true;
      case 0x9A:
        ReadDirectPixMapOpcode(bmp, source);
        return true;
      case 0xA1:
        Skip(source, 2);
        Skip(source, source.ReadBE16());
        return false;
      default:
        break;
    }
    if ((opcode >= 0x70 && opcode <= 0x77) || (opcode >= 0x80 && opcode <= 0x87)) {
      Trace(3, "Skipping polygon or region.\n");
      SkipRegion(source);
    } else if (info.length == kVariable) {
      Skip(source, source.ReadBE16());
    } else {
      Skip(source, info.length);
    }
    return false;
  }
  if (opcode <= 0xAF) {
    Trace(2, Printf("Opcode: reserved 0x%x.\n", opcode));
    Skip(source, source.ReadBE16());
    return false;
  }
  if (opcode == 0x0C00) {
    ReadHeaderOpcode(source);
    return false;
  }
  if (opcode == 0x8200) {
    ReadJpegOpcode(bmp, source);
    return true;
  }
  Trace(2, Printf("Opcode: reserved 0x%x.\n", opcode));
  if (opcode <= 0xCF || (opcode >= 0x8000 && opcode <= 0x80FF)) return false;
  if (opcode <= 0xFE || opcode >= 0x8100) {
    Skip(source, source.ReadBE32());
  } else {
    Skip(source, 2 * (opcode >> 8));
  }
  return false;
}

void PLPictDecoder::ReadHeaderOpcode(PLDataSource& source) {
  Trace(2, "Opcode: Header.\n");
  Skip(source, 2);
  // The reserved word and the integer part of the horizontal resolution, then the fraction
  // of that and the integer part of the vertical one: whole dots per inch when the words
  // between are 0. The header's last 4 bytes follow as NOP opcodes.
  resolutionX_ = static_cast<int32_t>(source.ReadBE32());
  resolutionY_ = static_cast<int32_t>(source.ReadBE32());
  ReadRect(source);
  Skip(source, 2);
}

void PLPictDecoder::ReadJpegOpcode(PLBmp& bmp, PLDataSource& source) {
  Trace(2, "Opcode: JPEG.\n");
  const int64_t length = source.ReadBE32();
  bool found = false;
  for (int64_t i = 0; i < length && source.GetBytesLeft() >= 3; ++i) {
    const uint8_t* p = source.GetBufferPtr(3);
    if (p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) {
      found = true;
      break;
    }
    Skip(source, 1);
  }
  if (!found) RaiseError(kPLErrFormatNotSupported, "PICT file contains unrecognized quicktime data.\n");
  if (jpegDecoder_ == nullptr) RaiseError(kPLErrFormatNotSupported, "Library not compiled for PICT/JPEG.");
  jpegDecoder_->MakeBmp(source, bmp, 0);
}

void PLPictDecoder::SkipPixPattern(PLDataSource& source) {
  const int type = source.ReadBE16();
  if (type == 2) {
    Skip(source, 8 + 5);
    return;
  }
  if (type != 1) RaiseError(kPLErrFormatUnknown, "Unknown pattern type in pixPat.");
  Skip(source, 8);
  const int rawRowBytes = source.ReadBE16();
  const PictRect bounds = ReadRect(source);
  const PictPixMap pixMap = ReadPixMap(source);
  Palette palette{};
  ReadColourTable(source, palette);
  int64_t rowBytes = rawRowBytes & 0x7FFF;
  if (rowBytes == 0) rowBytes = pixMap.pixelSize == 16 ? int64_t(bounds.Width()) * 2 : bounds.Width();
  const int height = std::max(bounds.Height(), 0);
  if (rowBytes < 8) {
    Skip(source, rowBytes * height);
    return;
  }
  for (int y = 0; y < height; ++y) Skip(source, ReadPackedLength(source, rowBytes));
}

PictRect PLPictDecoder::ReadRect(PLDataSource& source) {
  const uint8_t* p = source.ReadNBytes(8);
  return {static_cast<int16_t>(PLReadBE16(p)), static_cast<int16_t>(PLReadBE16(p + 2)),
          static_cast<int16_t>(PLReadBE16(p + 4)), static_cast<int16_t>(PLReadBE16(p + 6))};
}

PictPixMap PLPictDecoder::ReadPixMap(PLDataSource& source) {
  PictPixMap m;
  m.version = source.ReadBE16();
  m.packType = source.ReadBE16();
  m.packSize = source.ReadBE32();
  m.hRes = source.ReadBE32();
  m.vRes = source.ReadBE32();
  m.pixelType = source.ReadBE16();
  m.pixelSize = source.ReadBE16();
  m.cmpCount = source.ReadBE16();
  m.cmpSize = source.ReadBE16();
  m.planeBytes = source.ReadBE32();
  m.pmTable = source.ReadBE32();
  m.pmReserved = source.ReadBE32();
  return m;
}

void PLPictDecoder::TracePixMap(const PictRect& bounds, const PictPixMap& m) {
  Trace(2, "PixMap header info:\n");
  Trace(2, Printf("%s (%d,%d) (%d,%d).\n", "  Bounds:", bounds.left, bounds.top, bounds.right, bounds.bottom));
  Trace(2, Printf("  version: 0x%x\n", m.version));
  Trace(2, Printf("  packType: %d\n", m.packType));
  Trace(2, Printf("  packSize: %ld\n", static_cast<long>(m.packSize)));
  Trace(2, Printf("  pixelSize: %d\n", m.pixelSize));
  Trace(2, Printf("  cmpCount: %d\n", m.cmpCount));
  Trace(2, Printf("  cmpSize: %d.\n", m.cmpSize));
  Trace(2, Printf("  planeBytes: %ld.\n", static_cast<long>(m.planeBytes)));
}

void PLPictDecoder::ReadColourTable(PLDataSource& source, Palette& palette) {
  Trace(3, "Getting color table info.\n");
  Skip(source, 4);  // seed
  const int flags = source.ReadBE16();
  const int count = source.ReadBE16() + 1;
  Trace(2, Printf("Palette Size:  %d\n", count));
  Trace(3, "Reading Palette.\n");
  for (int i = 0; i < count; ++i) {
    int value = source.ReadBE16();
    if (flags & 0x8000) value = i;
    if (value >= count) RaiseError(kPLErrFormatUnknown, "pixel value greater than colour table size.");
    const uint8_t* rgb = source.ReadNBytes(6);
    // Tables may be longer than a bitmap's palette; entries beyond it are never used.
    if (value < 256) palette[value] = PLPixel32::FromRgba(rgb[0], rgb[2], rgb[4]);
  }
}

void PLPictDecoder::SkipRegion(PLDataSource& source) { Skip(source, source.ReadBE16() - 2); }

void PLPictDecoder::CreateForPixMap(PLBmp& bmp, const PictRect& bounds, const PictPixMap& pixMap) {
  if (pixMap.pixelSize > 8) bmp.Create(bounds.Width(), bounds.Height(), 32, pixMap.cmpCount == 4);
  else bmp.Create(bounds.Width(), bounds.Height(), 8, false);
}

void PLPictDecoder::ReadBitmapOpcode(int opcode, PLBmp& bmp, PLDataSource& source) {
  const bool region = opcode == 0x91 || opcode == 0x99;
  const int rawRowBytes = source.ReadBE16();
  if (rawRowBytes < 0x8000) {
    // A monochrome bitmap of version 1.
    Trace(2, "Reading version 1 bitmap.\n");
    const PictRect bounds = ReadRect(source);
    Trace(2, Printf("%s (%d,%d) (%d,%d).\n", "  Bounds", bounds.left, bounds.top, bounds.right, bounds.bottom));
    ReadRect(source);  // source rectangle
    ReadRect(source);  // destination rectangle
    bmp.Create(bounds.Width(), bounds.Height(), 8, false);
    Skip(source, 2);  // transfer mode
    if (region) {
      Trace(3, "Skipping polygon or region.\n");
      SkipRegion(source);
    }
    PLBmpLock lock(bmp, false, true);
    // As QuickDraw draws them: a set bit is black.
    bmp.GetPalette()[0] = PLPixel32::FromRgba(255, 255, 255);
    bmp.GetPalette()[1] = PLPixel32::FromRgba(0, 0, 0);
    ReadUnpackedRows(bmp, source, 1, rawRowBytes);
    return;
  }
  const PictRect bounds = ReadRect(source);
  const PictPixMap pixMap = ReadPixMap(source);
  TracePixMap(bounds, pixMap);
  CreateForPixMap(bmp, bounds, pixMap);
  Palette palette{};
  ReadColourTable(source, palette);
  if (bmp.GetBitsPerPixel() == 8) bmp.SetPalette(palette.data());
  ReadRect(source);
  ReadRect(source);
  Skip(source, 2);
  if (region) {
    Trace(3, "Skipping polygon or region.\n");
    SkipRegion(source);
  }
  PLBmpLock lock(bmp, false, true);
  ReadRows(bmp, source, pixMap.pixelSize, pixMap.cmpCount, rawRowBytes & 0x7FFF);
}

void PLPictDecoder::ReadDirectPixMapOpcode(PLBmp& bmp, PLDataSource& source) {
  Skip(source, 4);  // base address
  Skip(source, 2);  // row bytes
  const PictRect bounds = ReadRect(source);
  const PictPixMap pixMap = ReadPixMap(source);
  TracePixMap(bounds, pixMap);
  ReadRect(source);
  ReadRect(source);
  Skip(source, 2);
  CreateForPixMap(bmp, bounds, pixMap);
  PLBmpLock lock(bmp, false, true);
  ReadRows(bmp, source, pixMap.pixelSize, pixMap.cmpCount, 0);
}

void PLPictDecoder::ReadRows(PLBmp& bmp, PLDataSource& source, int pixelSize, int components, int64_t rowBytes) {
  if (pixelSize == 8) ReadIndexedRows(bmp, source, rowBytes);
  else if (pixelSize == 32) ReadDirectRows(bmp, source, components, rowBytes);
  else ReadUnpackedRows(bmp, source, pixelSize, rowBytes);
}

int64_t PLPictDecoder::ReadPackedLength(PLDataSource& source, int64_t rowBytes) {
  return rowBytes > 250 ? source.ReadBE16() : source.ReadByte();
}

void PLPictDecoder::ReadRow(PLDataSource& source, int64_t rowBytes, bool pairs, std::span<uint8_t> row) {
  std::fill(row.begin(), row.end(), 0);
  if (rowBytes < 8) {
    std::memcpy(row.data(), source.ReadNBytes(rowBytes), static_cast<size_t>(rowBytes));
    return;
  }
  const int64_t packed = ReadPackedLength(source, rowBytes);
  const std::span<const uint8_t> data{source.ReadNBytes(packed), static_cast<size_t>(packed)};
  if (pairs) ExpandPackBits16(row, data);
  else ExpandPackBits(row, data);
}

void PLPictDecoder::ReadIndexedRows(PLBmp& bmp, PLDataSource& source, int64_t rowBytes) {
  const int width = bmp.GetWidth();
  if (rowBytes == 0) rowBytes = width;
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  const auto copy = static_cast<size_t>(std::min<int64_t>(width, rowBytes));
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    const int64_t packed = rowBytes < 8 ? 0 : ReadPackedLength(source, rowBytes);
    const uint8_t* data = UnpackPackBits(row.data(), source, rowBytes, packed);
    std::memcpy(bmp.GetLineArray()[y], data, copy);
  }
}

void PLPictDecoder::ReadDirectRows(PLBmp& bmp, PLDataSource& source, int components, int64_t rowBytes) {
  const int width = bmp.GetWidth();
  if (rowBytes == 0) rowBytes = int64_t(width) * 4;
  const int planes = components == 3 ? 3 : 4;
  // One plane per component, `width` bytes each; the buffer also holds a whole row.
  std::vector<uint8_t> row(static_cast<size_t>(std::max<int64_t>(rowBytes, int64_t(width) * planes)));
  const uint8_t* data = row.data();
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    ReadRow(source, rowBytes, false, row);
    auto* out = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
    for (int x = 0; x < width; ++x) {
      if (planes == 3) {
        out[x] = PLPixel32::FromRgba(data[x], data[width + x], data[2 * width + x]);
      } else {
        out[x] = PLPixel32::FromRgba(data[width + x], data[2 * width + x], data[3 * width + x], data[x]);
      }
    }
  }
}

void PLPictDecoder::ReadUnpackedRows(PLBmp& bmp, PLDataSource& source, int pixelSize, int64_t rowBytes) {
  if (pixelSize != 1 && pixelSize != 2 && pixelSize != 4 && pixelSize != 16) {
    RaiseError(kPLErrFormatUnknown, Printf("Illegal bpp value in unpackbits: %d\n", pixelSize));
  }
  const int width = bmp.GetWidth();
  if (rowBytes == 0) rowBytes = pixelSize == 16 ? int64_t(width) * 2 : width;
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  // Pixels a row holds; the rest of the line stays clear.
  const int64_t count = std::min<int64_t>(width, rowBytes * 8 / pixelSize);
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    ReadRow(source, rowBytes, pixelSize == 16, row);
    uint8_t* line = bmp.GetLineArray()[y];
    if (pixelSize == 16) {
      auto* out = reinterpret_cast<PLPixel32*>(line);
      for (int64_t x = 0; x < count; ++x) out[x] = PLPixel32::From555(PLReadBE16(row.data() + 2 * x));
    } else {
      PLBmp::UnpackIndices(row.data(), pixelSize, count, line);
    }
  }
}

}  // namespace vornel
