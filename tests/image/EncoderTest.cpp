// The JPEG and TIFF encoders: what they write, how large their sink is, and that a failed
// save leaves the old file.

#include <gtest/gtest.h>
#include <tiffio.h>

#include <cstdlib>
#include <filesystem>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/external/PLJPEGEncoder.h"
#include "image/codec/external/PLTIFFDecoder.h"
#include "image/codec/external/PLTIFFEncoder.h"
#include "image/codec/external/PLTiffGlue.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::CodeOf;
using testing::ColorAt;
using testing::DecodeCode;

TEST(Encoder, TheSinkIsTheMemoryUsedPlusRoomOrTimesOnePointTwo) {
  PLWinBmp large;
  large.Create(100, 100, 32, false);
  EXPECT_GE(large.GetMemUsed(), 40000u);
  EXPECT_EQ(PLPicEncoder::SinkSizeFor(large), static_cast<int64_t>(large.GetMemUsed() * 1.2));
  PLWinBmp small;
  small.Create(10, 10, 32, false);
  EXPECT_EQ(PLPicEncoder::SinkSizeFor(small), static_cast<int64_t>(small.GetMemUsed()) + 4096);
}

// The tags of a TIFF in memory, as a reader of it sees them.
struct TiffTags {
  uint16_t bits = 0, samples = 0, compression = 0, photometric = 0, unit = 0;
  float resolutionX = 0;
};

TiffTags ReadTags(const std::vector<uint8_t>& file) {
  PLTiffMemFile memory(file.data(), file.size());
  TIFF* tiff = memory.Open();
  TiffTags tags;
  if (tiff == nullptr) return tags;
  TIFFGetField(tiff, TIFFTAG_BITSPERSAMPLE, &tags.bits);
  TIFFGetField(tiff, TIFFTAG_SAMPLESPERPIXEL, &tags.samples);
  TIFFGetField(tiff, TIFFTAG_COMPRESSION, &tags.compression);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &tags.photometric);
  TIFFGetField(tiff, TIFFTAG_RESOLUTIONUNIT, &tags.unit);
  TIFFGetField(tiff, TIFFTAG_XRESOLUTION, &tags.resolutionX);
  TIFFClose(tiff);
  return tags;
}

TEST(TiffEncoder, TrueColourIsThreeSamplesOfEightBitsPackBitsAndInch) {
  PLAnyBmp bmp;
  testing::FillGradient(bmp, 40, 20);
  bmp.SetResolution({150, 150});
  PLTIFFEncoder encoder;
  const std::vector<uint8_t> file = testing::Encode(encoder, bmp);
  const TiffTags tags = ReadTags(file);
  EXPECT_EQ(tags.bits, 8);
  EXPECT_EQ(tags.samples, 3);
  EXPECT_EQ(tags.compression, COMPRESSION_PACKBITS);
  EXPECT_EQ(tags.photometric, PHOTOMETRIC_RGB);
  EXPECT_EQ(tags.unit, RESUNIT_INCH);
  EXPECT_EQ(tags.resolutionX, 150.0f);

  PLTIFFDecoder decoder;
  PLAnyBmp back;
  ASSERT_EQ(DecodeCode(decoder, file, back), 0);
  for (const auto& [x, y] : {std::pair{0, 0}, {39, 19}, {17, 5}}) EXPECT_EQ(ColorAt(back, x, y), ColorAt(bmp, x, y));
  EXPECT_EQ(back.GetResolution(), (PLPoint{150, 150}));
}

TEST(TiffEncoder, OneBitPhotometricFollowsThePaletteAndEightBitsKeepTheirMap) {
  const struct {
    PLPixel32 first;
    PLPixel32 second;
    uint16_t photometric;
  } cases[] = {
      {PLPixel32::FromRgba(255, 255, 255), PLPixel32::FromRgba(0, 0, 0), PHOTOMETRIC_MINISWHITE},
      {PLPixel32::FromRgba(0, 0, 0), PLPixel32::FromRgba(255, 255, 255), PHOTOMETRIC_MINISBLACK},
  };
  for (const auto& c : cases) {
    PLAnyBmp bmp;
    bmp.Create(9, 1, 1, false);
    bmp.GetPalette()[0] = c.first;
    bmp.GetPalette()[1] = c.second;
    bmp.GetLineArray()[0][1] = 0x80;  // pixel 8
    PLTIFFEncoder encoder;
    const std::vector<uint8_t> file = testing::Encode(encoder, bmp);
    EXPECT_EQ(ReadTags(file).photometric, c.photometric);
    PLTIFFDecoder decoder;
    PLAnyBmp back;
    ASSERT_EQ(DecodeCode(decoder, file, back), 0);
    EXPECT_EQ(testing::PixelAt(back, 8, 0), c.second);
    EXPECT_EQ(testing::PixelAt(back, 0, 0), c.first);
  }

  PLAnyBmp indexed;
  indexed.Create(2, 1, 8, false);
  indexed.GetPalette()[7] = PLPixel32::FromRgba(200, 10, 20);
  indexed.GetLineArray()[0][1] = 7;
  PLTIFFEncoder encoder;
  PLTIFFDecoder decoder;
  PLAnyBmp back;
  ASSERT_EQ(DecodeCode(decoder, testing::Encode(encoder, indexed), back), 0);
  EXPECT_EQ(ColorAt(back, 1, 0), "#C80A14");
}

TEST(JpegEncoder, RoundTripsWithinJpegLossAndRefusesOtherDepths) {
  PLAnyBmp bmp;
  testing::FillGradient(bmp, 64, 64);
  PLJPEGEncoder encoder;
  encoder.SetQuality(95);
  encoder.SetDensity(200, 100);
  const std::vector<uint8_t> file = testing::Encode(encoder, bmp);
  PLJPEGDecoder decoder;
  PLAnyBmp back;
  ASSERT_EQ(DecodeCode(decoder, file, back), 0);
  EXPECT_EQ(back.GetResolution(), (PLPoint{200, 100}));
  const PLPixel32 a = testing::PixelAt(bmp, 40, 20);
  const PLPixel32 b = testing::PixelAt(back, 40, 20);
  EXPECT_NEAR(a.r, b.r, 4);
  EXPECT_NEAR(a.g, b.g, 4);
  EXPECT_NEAR(a.b, b.b, 4);

  PLAnyBmp grey;
  grey.Create(4, 4, 8, false);
  EXPECT_EQ(CodeOf([&] { testing::Encode(encoder, grey); }), 6);
}

TEST(JpegEncoder, OutputBeyondTheSinkIsBufferOverflow) {
  PLAnyBmp bmp;
  testing::FillGradient(bmp, 64, 64);
  PLJPEGEncoder encoder;
  testing::MemorySink sink(100);
  std::string text;
  try {
    encoder.SaveBmp(bmp, sink);
  } catch (const PLTextException& e) {
    EXPECT_EQ(e.GetCode(), 11);
    text = e.GetText();
  }
  EXPECT_EQ(text, "Buffer overflow while encoding.\n");
}

TEST(Encoder, AFailedSaveLeavesTheOldFile) {
  testing::TempDir dir;
  const std::string path = dir.File("old.jpg");
  testing::WriteText(path, "old contents");
  PLAnyBmp grey;
  grey.Create(4, 4, 8, false);
  PLJPEGEncoder encoder;
  EXPECT_EQ(CodeOf([&] { encoder.MakeFileFromBmp(path, grey); }), 6);
  EXPECT_EQ(testing::ReadText(path), "old contents");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no temporary left

  std::string text;
  try {
    PLTIFFEncoder().MakeFileFromBmp(dir.File("none/x.tif"), grey);
  } catch (const PLTextException& e) {
    EXPECT_EQ(e.GetCode(), -1);
    text = e.GetText();
  }
  EXPECT_EQ(text, "Decoder error: Opening " + dir.File("none/x.tif") + " failed\n");
}

using testing::PillowPython;

TEST(Encoder, SavedFilesReopenWithPillow) {
  const std::string python = PillowPython();
  if (python.empty()) GTEST_SKIP() << "Pillow is not installed";
  testing::TempDir dir;
  PLAnyBmp bmp;
  testing::FillGradient(bmp, 30, 20);
  bmp.SetResolution({300, 300});
  PLJPEGEncoder().MakeFileFromBmp(dir.File("a.jpg"), bmp);
  PLTIFFEncoder().MakeFileFromBmp(dir.File("a.tif"), bmp);
  const std::string script =
      "import sys\nfrom PIL import Image\nfor n in sys.argv[1:]:\n"
      "    im = Image.open(n); im.load()\n"
      "    print(im.format, im.size, im.mode, im.info.get('compression'), im.info.get('dpi'))\n";
  testing::WriteText(dir.File("check.py"), script);
  const std::string out = dir.File("out.txt");
  ASSERT_EQ(std::system((python + " " + dir.File("check.py") + " " + dir.File("a.jpg") + " " + dir.File("a.tif") +
                         " > " + out).c_str()),
            0);
  EXPECT_EQ(testing::ReadText(out),
            "JPEG (30, 20) RGB None None\n"
            "TIFF (30, 20) RGB packbits (300.0, 300.0)\n");
}

}  // namespace
}  // namespace vornel
