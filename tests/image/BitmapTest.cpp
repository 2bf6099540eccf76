#include <gtest/gtest.h>

#include <deque>
#include <map>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLClipboard.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"
#include "support/Bytes.h"
#include "support/ScriptedClipboard.h"

namespace vornel {
namespace {

using testing::ColorAt;

using testing::CodeOf;

TEST(Bitmap, FreshBitmapsAreSixteenBySixteenGreyImages) {
  PLAnyBmp any;
  PLWinBmp win;
  for (const PLBmp* bmp : std::initializer_list<const PLBmp*>{&any, &win}) {
    EXPECT_EQ(bmp->GetSize(), (PLPoint{16, 16}));
    EXPECT_EQ(bmp->GetBitsPerPixel(), 8);
    EXPECT_FALSE(bmp->HasAlpha());
    EXPECT_EQ(bmp->GetPalette()[200], PLPixel32::FromRgba(200, 200, 200));
  }
}

TEST(Bitmap, LinesArePaddedAndOrderedByStorage) {
  PLAnyBmp any;
  PLWinBmp win;
  any.Create(9, 3, 1, false);
  win.Create(9, 3, 1, false);
  EXPECT_EQ(any.GetBytesPerLine(), 2u);
  EXPECT_EQ(win.GetBytesPerLine(), 4u);
  // Line 0 is the first line in memory for the plain bitmap, the last for the DIB.
  EXPECT_EQ(any.GetLineArray()[1], any.GetLineArray()[0] + 2);
  EXPECT_EQ(win.GetLineArray()[0], win.GetBits() + 2 * 4);
  EXPECT_EQ(win.GetLineArray()[2], win.GetBits());
  EXPECT_EQ(win.GetNumColors(), 2);
  EXPECT_EQ(win.GetPalette()[1], PLPixel32::FromRgba(255, 255, 255));  // 1 bit: black and white
}

TEST(Bitmap, GreyPalettesStepEvenly) {
  PLAnyBmp bmp;
  bmp.Create(1, 1, 4, false);
  EXPECT_EQ(bmp.GetPalette()[1], PLPixel32::FromRgba(17, 17, 17));
  EXPECT_EQ(bmp.GetPalette()[15], PLPixel32::FromRgba(255, 255, 255));
  bmp.Create(1, 1, 32, true);
  EXPECT_EQ(bmp.GetPalette(), nullptr);
  EXPECT_EQ(bmp.GetNumColors(), 1 << 24);
}

TEST(Bitmap, CreateRefusesSizesAndDepthsItCannotHold) {
  const struct {
    int64_t width;
    int64_t height;
    int bits;
    int code;
    bool keepsOld;  // refused before the old image was freed
  } cases[] = {
      {0, 5, 8, 2, true},        {-3, 5, 8, 2, true},        {5, -1, 8, 2, true},
      {(1 << 20) + 1, 1, 8, 10, true}, {3, 3, 3, 6, true},
      {40000, 40000, 32, 10, false},  // 6.4 GB: more than a bitmap may take
  };
  for (const auto& c : cases) {
    for (PLBmp* bmp : std::initializer_list<PLBmp*>{new PLAnyBmp, new PLWinBmp}) {
      std::unique_ptr<PLBmp> owned(bmp);
      EXPECT_EQ(CodeOf([&] { bmp->Create(c.width, c.height, c.bits, false); }), c.code) << c.width;
      EXPECT_EQ(bmp->GetSize(), c.keepsOld ? (PLPoint{16, 16}) : (PLPoint{0, 0})) << c.width;
      EXPECT_GT(bmp->GetMemUsed(), 0u);
    }
  }
}

TEST(Bitmap, TheEmptyBitmapAFailedCreateLeavesCopiesAsEmpty) {
  PLAnyBmp empty;
  ASSERT_EQ(CodeOf([&] { empty.Create(40000, 40000, 32, false); }), 10);
  for (PLBmp* bmp : std::initializer_list<PLBmp*>{new PLAnyBmp, new PLWinBmp}) {
    std::unique_ptr<PLBmp> owned(bmp);
    EXPECT_EQ(CodeOf([&] { bmp->CreateCopy(empty); }), 0);
    EXPECT_EQ(bmp->GetSize(), (PLPoint{0, 0}));
    EXPECT_EQ(bmp->GetBitsPerPixel(), 0);
    // Converting it has no size to convert to; the copy above stays as it is.
    EXPECT_EQ(CodeOf([&] { bmp->CreateCopy(empty, 32); }), 2);
    EXPECT_EQ(bmp->GetSize(), (PLPoint{0, 0}));
  }
}

// A 2 x 1 bitmap of `bits` whose pixels are dark grey and pure red.
std::unique_ptr<PLBmp> TwoPixels(int bits, bool alpha = false) {
  auto bmp = std::make_unique<PLAnyBmp>();
  bmp->Create(2, 1, bits, alpha, {300, 150});
  uint8_t* line = bmp->GetLineArray()[0];
  if (bits == 8) {
    bmp->GetPalette()[3] = PLPixel32::FromRgba(0x7F, 0x7F, 0x7F, 0x11);
    bmp->GetPalette()[4] = PLPixel32::FromRgba(0xFF, 0x00, 0x00, 0x22);
    line[0] = 3;
    line[1] = 4;
  } else if (bits == 32) {
    reinterpret_cast<PLPixel32*>(line)[0] = PLPixel32::FromRgba(0x7F, 0x7F, 0x7F, 0x11);
    reinterpret_cast<PLPixel32*>(line)[1] = PLPixel32::FromRgba(0xFF, 0x00, 0x00, 0x22);
  } else if (bits == 1) {
    line[0] = 0x40;  // pixel 1 set
  }
  return bmp;
}

TEST(Bitmap, CreateCopyConvertsBetweenDepths) {
  const struct {
    const char* name;
    int from;
    bool alpha;
    int to;
    const char* pixels;
  } cases[] = {
      {"8 to 32 takes whole palette entries", 8, false, 32, "#7F7F7F/11 #FF0000/22"},
      {"32 to 24 drops alpha", 32, true, 24, "#7F7F7F/FF #FF0000/FF"},
      {"32 to 32 keeps everything", 32, true, 0, "#7F7F7F/11 #FF0000/22"},
      {"a 1-bit copy is black only when all colours are dark", 32, true, 1, "#000000/FF #FFFFFF/FF"},
      {"1 to 8 keeps the two colours, opaque", 1, false, 8, "#000000/FF #FFFFFF/FF"},
      {"8 to 8 copies the palette", 8, false, 8, "#7F7F7F/11 #FF0000/22"},
  };
  for (const auto& c : cases) {
    const auto source = TwoPixels(c.from, c.alpha);
    PLWinBmp copy;
    copy.CreateCopy(*source, c.to);
    EXPECT_EQ(copy.GetBitsPerPixel(), c.to == 0 ? c.from : c.to) << c.name;
    EXPECT_EQ(ColorAt(copy, 0, 0, true) + " " + ColorAt(copy, 1, 0, true), c.pixels) << c.name;
    EXPECT_EQ(copy.GetResolution(), (PLPoint{300, 150})) << c.name;
    EXPECT_EQ(copy.HasAlpha(), c.alpha && (c.to == 32 || c.to == 0)) << c.name;
  }
}

TEST(Bitmap, CreateCopyOfItselfAndRefusedDepths) {
  auto bmp = TwoPixels(8);
  bmp->CreateCopy(*bmp, 32);
  EXPECT_EQ(ColorAt(*bmp, 1, 0), "#FF0000");

  // 16 bits are never made.
  EXPECT_EQ(CodeOf([&] { PLAnyBmp copy; copy.CreateCopy(*bmp, 16); }), 6);
}

TEST(WinBmp, PackedDibHasTheWindowsHeaderAndFullPalette) {
  PLWinBmp bmp;
  bmp.Create(2, 2, 8, false);
  bmp.GetLineArray()[0][0] = 0xAB;  // top line: last in the block
  const std::vector<uint8_t> dib = bmp.CopyToGlobalMemory();
  ASSERT_EQ(dib.size(), 40u + 1024u + 2 * 4u);
  EXPECT_EQ(testing::ToHex({dib.begin(), dib.begin() + 40}),
            "28 00 00 00 02 00 00 00 02 00 00 00 01 00 08 00 00 00 00 00 "
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
  EXPECT_EQ(dib[40 + 1024 + 4], 0xAB);

  PLWinBmp back;
  back.CreateFromDIB(dib);
  EXPECT_EQ(back.CopyToGlobalMemory(), dib);
}

TEST(WinBmp, CreateFromDibReadsTopDownDataAndShortPalettes) {
  testing::ByteWriter w;
  // 1 x 2, 8 bits, top-down, two palette entries.
  w.LE32(40).LE32(1).LE32(static_cast<uint32_t>(-2)).LE16(1).LE16(8).LE32(0).LE32(0).LE32(0).LE32(0).LE32(2).LE32(0);
  w.Bytes(testing::HexBytes("00 00 FF 00  FF 00 00 00"));
  w.Bytes(testing::HexBytes("01 00 00 00  00 00 00 00"));
  PLWinBmp bmp;
  bmp.CreateFromDIB(w.bytes());
  EXPECT_EQ(ColorAt(bmp, 0, 0), "#0000FF");
  EXPECT_EQ(ColorAt(bmp, 0, 1), "#FF0000");

  std::vector<uint8_t> shortData = w.bytes();
  shortData.pop_back();
  EXPECT_EQ(CodeOf([&] { bmp.CreateFromDIB(shortData); }), 11);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{16, 16}));
  std::vector<uint8_t> compressed = w.bytes();
  compressed[16] = 1;
  EXPECT_EQ(CodeOf([&] { bmp.CreateFromDIB(compressed); }), 6);
  EXPECT_EQ(CodeOf([&] { bmp.CreateFromDIB(testing::HexBytes("28 00 00 00")); }), 2);
}

TEST(WinBmp, ADibShorterThanItsHeaderSaysTakesNoStorageForTheImage) {
  // A header alone that claims 16384 x 16385 pixels of 32 bits: more than a bitmap may
  // take, but the data runs out first, and that is found before storage is asked for.
  testing::ByteWriter w;
  w.LE32(40).LE32(16384).LE32(16385).LE16(1).LE16(32).LE32(0).LE32(0).LE32(0).LE32(0).LE32(0).LE32(0);
  PLWinBmp bmp;
  EXPECT_EQ(CodeOf([&] { bmp.CreateFromDIB(w.bytes()); }), 11);
  EXPECT_EQ(bmp.GetSize(), (PLPoint{16, 16}));
}

// A clipboard whose contents and answers the test sets.
using testing::ScriptedClipboard;

TEST(WinBmp, ClipboardRoundTripAndPalette) {
  PLWinBmp bmp;
  bmp.Create(1, 1, 8, false);
  bmp.GetLineArray()[0][0] = 1;
  ScriptedClipboard clipboard;
  ASSERT_TRUE(bmp.ToClipboard(clipboard));
  ASSERT_TRUE(clipboard.data.contains(PLClipboard::kFormatDib));
  // A logical palette beside the image replaces its colours (alpha 0).
  clipboard.data[PLClipboard::kFormatPalette] = testing::HexBytes("00 03 02 00  10 20 30 00  40 50 60 00");

  PLWinBmp pasted;
  ASSERT_TRUE(pasted.FromClipboard(clipboard, PLClipboard::kFormatDib));
  EXPECT_EQ(ColorAt(pasted, 0, 0, true), "#405060/00");
  EXPECT_EQ(clipboard.opened, 0);
}

TEST(WinBmp, ClipboardBitmapsComeInOneEightOrThirtyTwoBits) {
  PLWinBmp source;
  source.Create(1, 1, 24, false);
  source.GetLineArray()[0][2] = 0xFF;
  ScriptedClipboard clipboard;
  clipboard.data[PLClipboard::kFormatBitmap] = source.CopyToGlobalMemory();
  PLWinBmp pasted;
  ASSERT_TRUE(pasted.FromClipboard(clipboard, PLClipboard::kFormatBitmap));
  EXPECT_EQ(pasted.GetBitsPerPixel(), 32);
  EXPECT_EQ(ColorAt(pasted, 0, 0), "#FF0000");
}

TEST(WinBmp, FromClipboardSaysFalseWhenNothingCanBeRead) {
  PLWinBmp image;
  image.Create(3, 1, 8, false);
  ScriptedClipboard clipboard;
  clipboard.data[PLClipboard::kFormatDib] = image.CopyToGlobalMemory();
  clipboard.data[3] = {1, 2, 3};  // a format that holds no image

  const struct {
    const char* name;
    int format;
    bool openable;
    std::vector<uint8_t> dib;
  } cases[] = {
      {"format not there", PLClipboard::kFormatBitmap, true, image.CopyToGlobalMemory()},
      {"cannot open", PLClipboard::kFormatDib, false, image.CopyToGlobalMemory()},
      {"not an image format", 3, true, image.CopyToGlobalMemory()},
      {"bad data", PLClipboard::kFormatDib, true, testing::HexBytes("28 00 00 00 01 00")},
  };
  for (const auto& c : cases) {
    clipboard.openable = c.openable;
    clipboard.data[PLClipboard::kFormatDib] = c.dib;
    PLWinBmp bmp;
    EXPECT_FALSE(bmp.FromClipboard(clipboard, c.format)) << c.name;
    EXPECT_EQ(bmp.GetSize(), (PLPoint{16, 16})) << c.name;
    EXPECT_EQ(clipboard.opened, 0) << c.name;
  }
}

TEST(Bitmap, CopiedExceptionsKeepCodeAndText) {
  auto original = std::make_unique<PLTextException>(11, "End of file reached while decoding.\n");
  const PLTextException copy(*original);
  original.reset();
  EXPECT_EQ(copy.GetCode(), 11);
  EXPECT_EQ(copy.GetText(), "End of file reached while decoding.\n");
  EXPECT_STREQ(copy.what(), "End of file reached while decoding.\n");
}

}  // namespace
}  // namespace vornel
