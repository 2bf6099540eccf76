// Every BMP, TGA, PCX, PPM/PGM/PBM, PSD, GIF, TIFF and JPEG file of the shared corpus, and
// every file of PngSuite, is decoded and compared with what Pillow makes of it. The tables say,
// file by file, what to expect and why; GIF, TIFF and JPEG files not in them decode as Pillow
// does (JPEG within a few levels).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "ImageTestSupport.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/native/PLBmpDecoder.h"
#include "image/codec/external/PLGIFDecoder.h"
#include "image/codec/external/PLJPEGDecoder.h"
#include "image/codec/native/PLPCXDecoder.h"
#include "image/codec/native/PLPGMDecoder.h"
#include "image/codec/native/PLPPMDecoder.h"
#include "image/codec/native/PLPSDDecoder.h"
#include "image/codec/native/PLTGADecoder.h"
#include "image/codec/external/PLTIFFDecoder.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

enum class Outcome {
  kSame,        // the same pixels as Pillow
  kClose,       // the same within `code` levels per channel, for the reason given
  kSameHigh5,   // 5-bit channels shifted, where Pillow scales: equal in the top 5 bits
  kSameAs,      // the same pixels as another corpus file (Pillow misreads this one)
  kSameAsWhereSet,  // where opaque, the same pixels as another corpus file; some are transparent
  kDiffers,     // decodes; the pixels differ for the reason given
  kDecodes,     // decodes; Pillow refuses the file
  kFails,       // refused with the code given
};

struct Expectation {
  Outcome outcome;
  int code = 0;           // kFails; kClose: the tolerance
  const char* why = "";   // or, for kSameAs, the other file
};

const std::map<std::string, Expectation>& Expectations() {
  using enum Outcome;
  static const std::map<std::string, Expectation> table = {
      {"01r_00.pcx", {kFails, 2, "bytes per line (12) below the width (88)"}},
      {"16_bit_binary.pgm", {kClose, 1, "16-bit samples rounded to 8 bits"}},
      {"200x32_p_bl_raw_origin.tga", {kSame}},
      {"bmp_b_badbitcount.bmp", {kFails, 2}},
      {"bmp_b_badbitssize.bmp", {kSame, 0, "the image size field is not used"}},
      {"bmp_b_baddens1.bmp", {kSame, 0, "only the resolution is absurd"}},
      {"bmp_b_baddens2.bmp", {kSame, 0, "only the resolution is absurd"}},
      {"bmp_b_badfilesize.bmp", {kSame, 0, "the file size field is not used"}},
      {"bmp_b_badheadersize.bmp", {kDecodes, 0, "a 66-byte header is read as a long Windows header"}},
      {"bmp_b_badpalettesize.bmp", {kDecodes, 0, "the palette ends at the pixel data"}},
      {"bmp_b_badplanes.bmp", {kSame, 0, "the planes field is not used"}},
      // Its deltas move lines up where they should not: what it sets is ImageMagick's reading,
      // the pixels it leaves unset are transparent; Pillow 9.4 reads each delta's two bytes twice.
      {"bmp_b_badrle.bmp", {kDiffers, 0, "a damaged run-length stream, read otherwise by Pillow"}},
      {"bmp_b_badwidth.bmp", {kFails, 2}},
      {"bmp_b_pal8badindex.bmp", {kSame, 0, "indices beyond the 101 colours are the grey of their index"}},
      {"bmp_b_reallybig.bmp", {kFails, 11, "its data cannot hold 3000000 x 2000000 pixels"}},
      {"bmp_b_rletopdown.bmp", {kSame}},
      {"bmp_b_shortfile.bmp", {kFails, 11}},
      {"bmp_g_pal1.bmp", {kSame}},
      {"bmp_g_pal1bg.bmp", {kSame}},
      {"bmp_g_pal1wb.bmp", {kSame}},
      {"bmp_g_pal4.bmp", {kSame}},
      // Pillow 9.4 drops the last index of every odd-length absolute run of 4-bit data.
      {"bmp_g_pal4rle.bmp", {kSameAs, 0, "bmp_g_pal4.bmp"}},
      {"bmp_g_pal8-0.bmp", {kSame}},
      {"bmp_g_pal8.bmp", {kSame}},
      {"bmp_g_pal8nonsquare.bmp", {kSame}},
      {"bmp_g_pal8os2.bmp", {kSame}},
      {"bmp_g_pal8rle.bmp", {kSame}},
      {"bmp_g_pal8topdown.bmp", {kSame}},
      {"bmp_g_pal8v4.bmp", {kSame}},
      {"bmp_g_pal8v5.bmp", {kSame}},
      {"bmp_g_pal8w124.bmp", {kSame}},
      {"bmp_g_pal8w125.bmp", {kSame}},
      {"bmp_g_pal8w126.bmp", {kSame}},
      {"bmp_g_rgb16-565.bmp", {kSameHigh5}},
      {"bmp_g_rgb16-565pal.bmp", {kSameHigh5}},
      {"bmp_g_rgb16.bmp", {kSameHigh5}},
      {"bmp_g_rgb24.bmp", {kSame}},
      {"bmp_g_rgb24pal.bmp", {kSame}},
      {"bmp_g_rgb32.bmp", {kSame}},
      {"bmp_g_rgb32bf.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_pal1p1.bmp", {kSame}},
      {"bmp_q_pal2.bmp", {kFails, 2, "2 bits per pixel"}},
      // The pixels its deltas and early ends of line pass over are undefined: transparent here,
      // palette entry 0 in Pillow, which also loses the lines after a delta (9.4).
      {"bmp_q_pal4rletrns.bmp", {kSameAsWhereSet, 0, "bmp_g_pal4.bmp"}},
      {"bmp_q_pal8offs.bmp", {kSame}},
      {"bmp_q_pal8os2sp.bmp", {kSame}},
      {"bmp_q_pal8os2v2-16.bmp", {kFails, 2, "a 16-byte header"}},
      {"bmp_q_pal8os2v2.bmp", {kSame}},
      {"bmp_q_pal8oversizepal.bmp", {kDecodes, 0, "300 colours, 256 kept"}},
      {"bmp_q_pal8rletrns.bmp", {kSameAsWhereSet, 0, "bmp_g_pal8.bmp"}},
      {"bmp_q_rgb16-231.bmp", {kDecodes, 0, "masks other than 5-5-5 are read as 5-6-5"}},
      {"bmp_q_rgb24jpeg.bmp", {kFails, 2, "JPEG inside"}},
      {"bmp_q_rgb24largepal.bmp", {kSame}},
      {"bmp_q_rgb24lprof.bmp", {kSame}},
      {"bmp_q_rgb24png.bmp", {kFails, 2, "PNG inside"}},
      {"bmp_q_rgb24prof.bmp", {kSame}},
      {"bmp_q_rgb32-111110.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_rgb32bf-xbgr.bmp", {kDiffers, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_rgb32fakealpha.bmp", {kSame}},
      {"bmp_q_rgb32h52.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_rgba16-4444.bmp", {kDecodes, 0, "masks other than 5-5-5 are read as 5-6-5"}},
      {"bmp_q_rgba32.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_rgba32abf.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"bmp_q_rgba32h56.bmp", {kDecodes, 0, "32-bit pixels are copied whatever their masks say"}},
      {"courB08.pbm", {kFails, 2, "PNG data"}},
      {"cross_scan_line.tga", {kSame}},
      {"eps_1.bmp", {kSame}},
      {"five_channels.psd", {kSame}},
      {"hopper.bmp", {kSame}},
      {"hopper.ppm", {kSame}},
      {"hopper.psd", {kSame}},
      {"hopper_16bit.pgm", {kClose, 1, "16-bit samples rounded to 8 bits"}},
      {"hopper_16bit_plain.pgm", {kClose, 1, "16-bit samples rounded to 8 bits"}},
      {"hopper_1bit.pbm", {kFails, 2, "bitmaps (P4) are not read"}},
      {"hopper_1bit_plain.pbm", {kFails, 2, "bitmaps (P1) are not read"}},
      {"hopper_8bit.pgm", {kSame}},
      {"hopper_8bit.ppm", {kSame}},
      {"hopper_8bit_plain.pgm", {kSame}},
      {"hopper_8bit_plain.ppm", {kSame}},
      {"hopper_emboss.bmp", {kSame}},
      {"hopper_emboss_more.bmp", {kSame}},
      {"hopper_merged.psd", {kSame}},
      {"hopper_rle8.bmp", {kSame}},
      {"hopper_rle8_grayscale.bmp", {kSame}},
      {"hopper_webp_bits.ppm", {kSame}},
      {"hopper_webp_write.ppm", {kSame}},
      {"l2rgb_read.bmp", {kFails, 11}},
      {"la.tga", {kSame}},
      {"mmap_error.bmp", {kFails, 11, "its pixel data offset points into the header"}},
      {"odd_stride.pcx", {kSame}},
      {"p_16.tga", {kSameHigh5}},
      {"p_4_planes.pcx", {kDiffers, 0, "plane p adds 2^p to the index (3 here); Pillow 9.4 gives 5"}},
      {"p_8.tga", {kFails, 11}},
      {"pil184.pcx", {kSame}},
      {"rgb32bf-abgr.bmp", {kDiffers, 0, "32-bit pixels are copied whatever their masks say"}},
      {"rgb32bf-rgba.bmp", {kDiffers, 0, "32-bit pixels are copied whatever their masks say"}},
      {"rgb32rle.tga", {kSame}},
      {"rgb32rle_bottom_right.tga", {kSame}},
      {"rgb32rle_top_right.tga", {kSame}},
      {"rgba.psd", {kSame}},
      {"rgba16.tga", {kSameHigh5}},
      {"tga_common_1x1_l_bl_raw.tga", {kSame}},
      {"tga_common_1x1_l_bl_rle.tga", {kSame}},
      {"tga_common_1x1_l_tl_raw.tga", {kSame}},
      {"tga_common_1x1_l_tl_rle.tga", {kSame}},
      {"tga_common_200x32_l_bl_raw.tga", {kSame}},
      {"tga_common_200x32_l_bl_rle.tga", {kSame}},
      {"tga_common_200x32_l_tl_raw.tga", {kSame}},
      {"tga_common_200x32_l_tl_rle.tga", {kSame}},
      {"tga_common_200x32_la_bl_raw.tga", {kSame}},
      {"tga_common_200x32_la_bl_rle.tga", {kSame}},
      {"tga_common_200x32_la_tl_raw.tga", {kSame}},
      {"tga_common_200x32_la_tl_rle.tga", {kSame}},
      {"tga_common_200x32_p_bl_raw.tga", {kSame}},
      {"tga_common_200x32_p_bl_rle.tga", {kSame}},
      {"tga_common_200x32_p_tl_raw.tga", {kSame}},
      {"tga_common_200x32_p_tl_rle.tga", {kSame}},
      {"tga_common_200x32_rgb_bl_raw.tga", {kSame}},
      {"tga_common_200x32_rgb_bl_rle.tga", {kSame}},
      {"tga_common_200x32_rgb_tl_raw.tga", {kSame}},
      {"tga_common_200x32_rgb_tl_rle.tga", {kSame}},
      {"tga_common_200x32_rgba_bl_raw.tga", {kSame}},
      {"tga_common_200x32_rgba_bl_rle.tga", {kSame}},
      {"tga_common_200x32_rgba_tl_raw.tga", {kSame}},
      {"tga_common_200x32_rgba_tl_rle.tga", {kSame}},
      {"tga_id_field.tga", {kSame}},
      // GIF: Pillow shows the first frame; every frame is painted over the one before here.
      {"avif_star.gif", {kDiffers, 0, "frames painted over each other"}},
      {"background_outside_palette.gif", {kDiffers, 0, "frames painted over each other"}},
      {"chi.gif", {kDiffers, 0, "frames painted over each other"}},
      {"comment_after_last_frame.gif", {kDiffers, 0, "frames painted over each other"}},
      {"decompression_bomb.gif", {kDecodes, 0, "the image is clipped to its 32 x 32 screen"}},
      {"different_transparency.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_bgnd.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_bgnd_rgba.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_bgnd_transparency.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_none.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_none_load_end.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_prev.gif", {kDiffers, 0, "frames painted over each other"}},
      {"dispose_prev_first_frame.gif", {kDiffers, 0, "frames painted over each other"}},
      {"duplicate_frame.gif", {kDiffers, 0, "frames painted over each other"}},
      {"duplicate_number_of_loops.gif", {kDiffers, 0, "frames painted over each other"}},
      {"first_frame_transparency.gif", {kDiffers, 0, "outside the frame the background index, Pillow's the transparent one"}},
      {"iss634.gif", {kDiffers, 0, "frames painted over each other"}},
      {"issue_2811.gif", {kDiffers, 0, "an LZW code size of 11 bits, which giflib reads otherwise than Pillow"}},
      {"missing_background.gif", {kDiffers, 0, "frames painted over each other"}},
      {"multiple_comments.gif", {kDiffers, 0, "frames painted over each other"}},
      {"no_palette_with_transparency.gif", {kDiffers, 0, "frames painted over each other"}},
      {"no_palette_with_transparency_after_rgb.gif", {kDiffers, 0, "frames painted over each other"}},
      {"palette_not_needed_for_second_frame.gif", {kDiffers, 0, "frames painted over each other"}},
      {"second_frame_comment.gif", {kDiffers, 0, "frames painted over each other"}},
      {"transparent_dispose.gif", {kDiffers, 0, "frames painted over each other"}},
      {"zero_width.gif", {kFails, 2, "a screen 0 pixels wide"}},
      // TIFF
      {"10ct_32bit_128.tiff", {kFails, 1, "32-bit float samples"}},
      {"12bit.cropped.tif", {kFails, 1, "12-bit samples"}},
      {"16_bit_binary_pgm.tiff", {kFails, 1, "32-bit samples"}},
      {"8bit.s.tif", {kDecodes}},
      {"g4_orientation_2.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_3.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_4.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_5.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_6.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_7.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"g4_orientation_8.tif", {kDiffers, 0, "the orientation is honoured; Pillow ignores it"}},
      {"hopper.Lab.tif", {kClose, 9, "L*a*b* to sRGB from the D50 white; Pillow's colour manager interpolates a table"}},
      {"hopper_unknown_pixel_mode.tif", {kFails, 1, "32-bit samples"}},
      {"lab-green.tif", {kClose, 9, "L*a*b* to sRGB from the D50 white; Pillow's colour manager interpolates a table"}},
      {"lab-red.tif", {kClose, 9, "L*a*b* to sRGB from the D50 white; Pillow's colour manager interpolates a table"}},
      {"lab.tif", {kClose, 9, "L*a*b* to sRGB from the D50 white; Pillow's colour manager interpolates a table"}},
      {"libtiff_segfault.tif", {kFails, 1, "no room for a strip"}},
      {"multipage-mmap.tiff", {kClose, 1, "a 4-bit palette ramp rounded otherwise"}},
      {"oom-225817ca0f8c663be7ab4b9e717b02c661e66834.tif", {kFails, 1, "an unreadable directory"}},
      {"seek_too_large.tif", {kFails, 1, "a directory beyond the end"}},
      {"separate_planar_extra_samples.tiff", {kDecodes}},
      {"tiff_strip_cmyk_16l_jpeg.tif", {kFails, 1, "16-bit CMYK"}},
      {"tiff_strip_cmyk_jpeg.tif", {kClose, 1, "CMYK to RGB rounded otherwise"}},
      {"tiff_tiled_cmyk_jpeg.tif", {kClose, 1, "CMYK to RGB rounded otherwise"}},
      // JPEG
      {"hopper_bad_exif.jpg", {kDiffers, 0, "damaged data: the floating-point transform saturates otherwise"}},
      {"ultrahdr.jpg", {kDecodes}},
  };
  return table;
}

std::string Extension(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

// JPEG files are compared with smoothing on: the fast decoding the system uses by default
// leaves colour edges blocky. The floating-point transform still differs from Pillow's
// integer one by up to 3 levels.
constexpr int kJpegTolerance = 3;

// What a GIF, TIFF or JPEG file not in the table is expected to give.
std::optional<Expectation> DefaultExpectation(const std::string& ext) {
  if (ext == ".gif" || ext == ".tif" || ext == ".tiff") return Expectation{Outcome::kSame};
  if (ext == ".jpg") return Expectation{Outcome::kClose, kJpegTolerance, "floating-point transform"};
  return std::nullopt;
}

std::unique_ptr<PLPicDecoder> DecoderFor(const std::string& ext) {
  if (ext == ".gif") return std::make_unique<PLGIFDecoder>();
  if (ext == ".tif" || ext == ".tiff") return std::make_unique<PLTIFFDecoder>();
  if (ext == ".jpg") {
    auto jpeg = std::make_unique<PLJPEGDecoder>();
    jpeg->SetFast(false);
    return jpeg;
  }
  if (ext == ".bmp") return std::make_unique<PLBmpDecoder>();
  if (ext == ".tga") return std::make_unique<PLTGADecoder>();
  if (ext == ".pcx") return std::make_unique<PLPCXDecoder>();
  if (ext == ".ppm") return std::make_unique<PLPPMDecoder>();
  if (ext == ".pgm" || ext == ".pbm") return std::make_unique<PLPGMDecoder>();
  if (ext == ".psd") return std::make_unique<PLPSDDecoder>();
  return nullptr;
}

using testing::PillowPython;

struct Rgba {
  int width = 0;
  int height = 0;
  std::string mode;
  std::string pixels;  // r, g, b, a per pixel
};

Rgba ReadPillowRgba(const std::string& path) {
  const std::string text = testing::ReadText(path);
  Rgba rgba;
  const size_t end = text.find('\n');
  char mode[16] = {};
  std::sscanf(text.substr(0, end).c_str(), "%d %d %15s", &rgba.width, &rgba.height, mode);
  rgba.mode = mode;
  rgba.pixels = text.substr(end + 1);
  return rgba;
}

Rgba OurRgba(const PLBmp& bmp) {
  Rgba rgba{bmp.GetWidth(), bmp.GetHeight(), bmp.HasAlpha() ? "RGBA" : "RGB", {}};
  for (int y = 0; y < bmp.GetHeight(); ++y) {
    for (int x = 0; x < bmp.GetWidth(); ++x) {
      const PLPixel32 p = testing::PixelAt(bmp, x, y);
      rgba.pixels += {static_cast<char>(p.r), static_cast<char>(p.g), static_cast<char>(p.b),
                      static_cast<char>(bmp.HasAlpha() ? p.a : 255)};
    }
  }
  return rgba;
}

// The first pixel that differs, or an empty text. Alpha counts when Pillow's mode has it.
std::string FirstDifference(const Rgba& ours, const Rgba& theirs, uint8_t mask, int tolerance = 0) {
  if (ours.width != theirs.width || ours.height != theirs.height) {
    return "size " + std::to_string(ours.width) + "x" + std::to_string(ours.height);
  }
  const bool alpha = theirs.mode.find('A') != std::string::npos;
  for (size_t i = 0; i < ours.pixels.size(); ++i) {
    if (i % 4 == 3 && !alpha) continue;
    const auto a = static_cast<uint8_t>(ours.pixels[i]);
    const auto b = static_cast<uint8_t>(theirs.pixels[i]);
    if (std::abs((a & mask) - (b & mask)) > tolerance) {
      const size_t pixel = i / 4;
      return "pixel " + std::to_string(pixel % size_t(ours.width)) + "," + std::to_string(pixel / size_t(ours.width)) +
             " channel " + std::to_string(i % 4) + ": " + std::to_string(a) + " vs " + std::to_string(b);
    }
  }
  return {};
}

TEST(ImageCorpus, DecodesLikePillowOrSaysWhyNot) {
  // VORNEL_CORPUS_DIR in the environment points elsewhere, e.g. from a separate worktree.
  const char* corpus = std::getenv("VORNEL_CORPUS_DIR");
  const fs::path folder = fs::path(corpus != nullptr ? corpus : VORNEL_CORPUS_DIR) / "images" / "various";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
  const std::string python = PillowPython();
  if (python.empty()) GTEST_SKIP() << "Pillow is not installed";

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && DecoderFor(Extension(entry.path()))) files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  testing::TempDir out;
  std::string command = python + " '" + VORNEL_SOURCE_DIR + "/tests/image/pillow_rgba.py' '" + out.path() + "'";
  for (const auto& file : files) command += " '" + file.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);

  const auto& table = Expectations();
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    const auto found = table.find(name);
    const std::optional<Expectation> fallback = DefaultExpectation(Extension(file));
    if (found == table.end() && !fallback) {
      ADD_FAILURE() << "not in the table of expectations";
      continue;
    }
    const Expectation& expected = found != table.end() ? found->second : *fallback;
    PLAnyBmp bmp;
    const std::vector<uint8_t> bytes = [&] {
      const std::string text = testing::ReadText(file.string());
      return std::vector<uint8_t>(text.begin(), text.end());
    }();
    const int code = testing::DecodeCode(*DecoderFor(Extension(file)), bytes, bmp);
    if (expected.outcome == Outcome::kFails) {
      EXPECT_EQ(code, expected.code) << expected.why;
      continue;
    }
    ASSERT_EQ(code, 0) << expected.why;
    const std::string pillowFile = out.File(name + ".rgba");
    const bool pillowDecoded = fs::exists(pillowFile);
    switch (expected.outcome) {
      case Outcome::kSame:
      case Outcome::kSameHigh5:
      case Outcome::kClose:
        ASSERT_TRUE(pillowDecoded);
        EXPECT_EQ(FirstDifference(OurRgba(bmp), ReadPillowRgba(pillowFile),
                                  expected.outcome == Outcome::kSameHigh5 ? 0xF8 : 0xFF,
                                  expected.outcome == Outcome::kClose ? expected.code : 0),
                  "");
        break;
      case Outcome::kSameAs:
      case Outcome::kSameAsWhereSet: {
        PLAnyBmp other;
        const std::string text = testing::ReadText((folder / expected.why).string());
        ASSERT_EQ(testing::DecodeCode(*DecoderFor(Extension(file)), {text.begin(), text.end()}, other), 0);
        Rgba ours = OurRgba(bmp);
        const Rgba theirs = OurRgba(other);
        ASSERT_EQ(ours.pixels.size(), theirs.pixels.size());
        size_t transparent = 0;
        if (expected.outcome == Outcome::kSameAsWhereSet) {
          for (size_t i = 0; i < ours.pixels.size(); i += 4) {
            if (ours.pixels[i + 3] != 0) continue;
            ++transparent;
            std::copy_n(theirs.pixels.begin() + ptrdiff_t(i), 4, ours.pixels.begin() + ptrdiff_t(i));
          }
          EXPECT_GT(transparent, 0u);
        }
        EXPECT_EQ(ours.pixels, theirs.pixels);
        break;
      }
      case Outcome::kDiffers:
        EXPECT_TRUE(pillowDecoded);
        break;
      case Outcome::kDecodes:
        EXPECT_FALSE(pillowDecoded);
        break;
      case Outcome::kFails:
        break;
    }
  }
}

TEST(ImageCorpus, PngSuiteDecodesLikePillowAndRefusesItsBrokenFiles) {
  const char* corpus = std::getenv("VORNEL_CORPUS_DIR");
  const fs::path folder = fs::path(corpus != nullptr ? corpus : VORNEL_CORPUS_DIR) / "images" / "pngsuite";
  if (!fs::is_directory(folder)) GTEST_SKIP() << "no corpus at " << folder;
  const std::string python = PillowPython();
  if (python.empty()) GTEST_SKIP() << "Pillow is not installed";

  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file() && Extension(entry.path()) == ".png") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());
  testing::TempDir out;
  std::string command = python + " '" + VORNEL_SOURCE_DIR + "/tests/image/pillow_rgba.py' '" + out.path() + "'";
  for (const auto& file : files) command += " '" + file.string() + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);

  // Every file is recognised by its first bytes; those named x... are broken on purpose.
  PLAnyPicDecoder decoder;
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    const std::string text = testing::ReadText(file.string());
    PLAnyBmp bmp;
    const int code = testing::DecodeCode(decoder, {text.begin(), text.end()}, bmp);
    if (name[0] == 'x') {
      EXPECT_NE(code, 0);
      continue;
    }
    ASSERT_EQ(code, 0);
    EXPECT_EQ(FirstDifference(OurRgba(bmp), ReadPillowRgba(out.File(name + ".rgba")), 0xFF), "");
  }
}

// The forms the decoders read sample by sample, written with hand-made headers by the script
// beside this test, which also gives the pixels each file holds: every file is found by its
// first bytes and decodes to those pixels (16-bit samples to 8 bits within one level).
TEST(GeneratedFixtures, DecodeToTheGeneratorsPixels) {
  testing::TempDir out;
  const std::string command =
      "python3 '" + std::string(VORNEL_SOURCE_DIR) + "/tests/image/make_decoding_fixtures.py' '" + out.path() + "'";
  if (std::system("python3 -c '' >/dev/null 2>&1") != 0) GTEST_SKIP() << "no python3";
  ASSERT_EQ(std::system(command.c_str()), 0);
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(out.path())) {
    if (entry.path().extension() != ".rgba") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  ASSERT_GE(files.size(), 19u);
  for (const auto& file : files) {
    const std::string name = file.filename().string();
    SCOPED_TRACE(name);
    const std::string text = testing::ReadText(file.string());
    PLAnyPicDecoder decoder;
    PLAnyBmp bmp;
    std::string why;
    ASSERT_EQ(testing::DecodeCode(decoder, {text.begin(), text.end()}, bmp, &why), 0) << why;
    const Rgba expected = ReadPillowRgba(file.string() + ".rgba");
    EXPECT_EQ(bmp.HasAlpha(), expected.mode == "RGBA");
    EXPECT_EQ(FirstDifference(OurRgba(bmp), expected, 0xFF, 1), "");
  }
}

}  // namespace
}  // namespace vornel
