// WAVE files: the RIFF walk on good and damaged files, the metronome clicks, and the short-sound
// player on SDL's dummy audio driver.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "midi/wave/CRscWaveOut.h"
#include "midi/wave/MetronomeClicks.h"
#include "midi/wave/WaveFile.h"
#include "platform/io/FileIO.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::HexBytes;

// "RIFF" size "WAVE" and the chunks given as hex.
std::vector<uint8_t> Riff(const std::string& chunks, int sizeAdjust = 0) {
  const std::vector<uint8_t> body = HexBytes("57 41 56 45 " + chunks);
  std::vector<uint8_t> out = HexBytes("52 49 46 46");
  const uint32_t size = static_cast<uint32_t>(static_cast<int>(body.size()) + sizeAdjust);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(size >> (8 * i)));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// 8 kHz, 16-bit mono.
const std::string kFmt = "66 6D 74 20 10 00 00 00 01 00 01 00 40 1F 00 00 80 3E 00 00 02 00 10 00 ";
const std::string kData4 = "64 61 74 61 04 00 00 00 01 02 03 04 ";

TEST(WaveFileTest, WalkFindsFormatAndSamples) {
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    WaveError error;
    size_t sampleBytes = 0;
  };
  const Case cases[] = {
      {"plain", Riff(kFmt + kData4), WaveError::kNone, 4},
      // An odd chunk before the data is padded to an even length.
      {"padded chunk", Riff(kFmt + "4C 49 53 54 03 00 00 00 61 62 63 00 " + kData4), WaveError::kNone, 4},
      // A data chunk that ends in half a frame keeps the whole frames only.
      {"half frame", Riff(kFmt + "64 61 74 61 03 00 00 00 01 02 03 00"), WaveError::kNone, 2},
      {"data first", Riff(kData4 + kFmt), WaveError::kNone, 4},
      {"not RIFF", HexBytes("52 49 46 58 04 00 00 00 57 41 56 45"), WaveError::kNotWave},
      {"not WAVE", HexBytes("52 49 46 46 04 00 00 00 41 56 49 20"), WaveError::kNotWave},
      {"empty", {}, WaveError::kNotWave},
      {"short header", HexBytes("52 49 46 46 04 00"), WaveError::kTruncated},
      {"RIFF longer than the file", Riff(kFmt + kData4, 2), WaveError::kTruncated},
      {"overlong chunk", Riff(kFmt + "64 61 74 61 FF FF FF 7F 01 02 03 04"), WaveError::kTruncated},
      {"no format", Riff(kData4), WaveError::kNoFormat},
      {"no data", Riff(kFmt), WaveError::kNoData},
      {"short format", Riff("66 6D 74 20 04 00 00 00 01 00 01 00 " + kData4), WaveError::kUnsupported},
      {"24-bit", Riff("66 6D 74 20 10 00 00 00 01 00 01 00 40 1F 00 00 C0 5D 00 00 03 00 18 00 " + kData4),
       WaveError::kUnsupported},
      {"no samples", Riff(kFmt + "64 61 74 61 00 00 00 00"), WaveError::kUnsupported},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WaveError error = WaveError::kNone;
    const auto wave = ReadWave(c.bytes, &error);
    EXPECT_EQ(error, c.error);
    ASSERT_EQ(wave.has_value(), c.error == WaveError::kNone);
    if (wave) {
      EXPECT_EQ(wave->format, (WaveFormat{WaveFormat::kPcm, 1, 8000, 16}));
      EXPECT_EQ(wave->samples.size(), c.sampleBytes);
    }
  }
}

TEST(WaveFileTest, ExtensibleFormatIsReadAsItsSubformat) {
  // 48 kHz float stereo written as WAVE_FORMAT_EXTENSIBLE.
  const auto bytes = Riff(
      "66 6D 74 20 28 00 00 00 FE FF 02 00 80 BB 00 00 00 DC 05 00 08 00 20 00 16 00 20 00 03 00 00 00 "
      "03 00 00 00 00 00 10 00 80 00 00 AA 00 38 9B 71 "
      "64 61 74 61 08 00 00 00 00 00 80 3F 00 00 80 BF");
  const auto wave = ReadWave(bytes);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format, (WaveFormat{WaveFormat::kFloat, 2, 48000, 32}));
}

TEST(WaveFileTest, WrittenFileReadsBack) {
  const std::vector<int16_t> samples = {0, 1000, -1000, 32767, -32768};
  const auto bytes = WriteWave16(22050, 1, samples);
  const auto wave = ReadWave(bytes);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->format, (WaveFormat{WaveFormat::kPcm, 1, 22050, 16}));
  ASSERT_EQ(wave->samples.size(), 10u);
  EXPECT_EQ(wave->samples[2], 0xE8);  // 1000 little-endian
  EXPECT_EQ(wave->samples[3], 0x03);
}

TEST(MetronomeClickTest, BuiltInClicksAreShortDistinctSounds) {
  const auto high = BuiltInMetronomeClick(kMetronomeClickHigh);
  const auto low = BuiltInMetronomeClick(kMetronomeClickLow);
  EXPECT_NE(high, low);
  for (const auto* bytes : {&high, &low}) {
    const auto wave = ReadWave(*bytes);
    ASSERT_TRUE(wave);
    EXPECT_EQ(wave->format, (WaveFormat{WaveFormat::kPcm, 1, 44100, 16}));
    const size_t frames = wave->samples.size() / 2;
    EXPECT_GT(frames, 1000u);   // longer than 20 ms
    EXPECT_LT(frames, 4410u);   // shorter than 100 ms
    int peak = 0;
    for (size_t i = 0; i < frames; ++i) {
      peak = std::max(peak, std::abs(static_cast<int16_t>(wave->samples[2 * i] | wave->samples[2 * i + 1] << 8)));
    }
    EXPECT_GT(peak, 10000);
  }
}

TEST(MetronomeClickTest, DataFolderFileReplacesAClickUnlessItIsUnreadable) {
  testing::TempDir dir;
  const std::vector<int16_t> samples(800, 1234);
  const auto custom = WriteWave16(8000, 1, samples);
  ASSERT_TRUE(WriteFileAtomically(dir.File(MetronomeClickFileName(kMetronomeClickHigh)), custom));
  EXPECT_EQ(MetronomeClickWave(kMetronomeClickHigh, dir.path()), custom);
  EXPECT_EQ(MetronomeClickWave(kMetronomeClickLow, dir.path()), BuiltInMetronomeClick(kMetronomeClickLow));
  testing::WriteText(dir.File(MetronomeClickFileName(kMetronomeClickLow)), "not a wave file");
  EXPECT_EQ(MetronomeClickWave(kMetronomeClickLow, dir.path()), BuiltInMetronomeClick(kMetronomeClickLow));
}

class WaveOutTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
  void TearDown() override { setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(WaveOutTest, ClickOpensInItsOwnFormatAndQueuesOnEachPlay) {
  testing::ScriptedPrompts prompts;
  CRscWaveOut click;
  ASSERT_TRUE(click.Open(kMetronomeClickHigh));
  EXPECT_TRUE(click.IsOpen());
  EXPECT_EQ(click.Format(), (WaveFormat{WaveFormat::kPcm, 1, 44100, 16}));
  ASSERT_TRUE(click.Play());
  EXPECT_GT(click.QueuedBytes(), 0u);
  EXPECT_TRUE(click.Play());  // a second tick replaces what is left of the first
  EXPECT_LE(click.QueuedBytes(), click.SampleBytes());
  EXPECT_TRUE(prompts.messages.empty());

  // The other click shares the device (some drivers have only one).
  CRscWaveOut other;
  ASSERT_TRUE(other.Open(kMetronomeClickLow));
  EXPECT_TRUE(other.Play());
  click.Close();
  other.Close();

  // A file in another format opens the device in that format, not in the click's.
  const std::vector<int16_t> stereo(2 * 2205, 500);
  CRscWaveOut jingle;
  ASSERT_TRUE(jingle.OpenWave(WriteWave16(22050, 2, stereo)));
  EXPECT_EQ(jingle.Format(), (WaveFormat{WaveFormat::kPcm, 2, 22050, 16}));
  EXPECT_TRUE(jingle.Play());
}

TEST_F(WaveOutTest, FailuresShowTheirMessageAndLeaveThePlayerClosed) {
  testing::ScriptedPrompts prompts;
  CRscWaveOut player;
  EXPECT_FALSE(player.OpenWave(HexBytes("52 49 46 46 04 00 00 00 57 41 56 45")));
  EXPECT_FALSE(player.OpenFile("/nonexistent/jingle.wav"));
  EXPECT_FALSE(player.IsOpen());
  EXPECT_FALSE(player.Play());

  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_FALSE(player.Open(kMetronomeClickLow));
  EXPECT_FALSE(player.IsOpen());
  EXPECT_EQ(prompts.messages, (std::vector<std::string>{std::string(CRscWaveOut::kCannotLoad),
                                                        std::string(CRscWaveOut::kCannotLoad),
                                                        std::string(CRscWaveOut::kCannotOpenDevice)}));
}

}  // namespace
}  // namespace vornel
