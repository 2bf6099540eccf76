// The Standard MIDI File writer's bytes: variable-length quantities, chunks with back-patched
// lengths, meta-events and saving.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <tuple>

#include "midi/MidiFile.h"
#include "midi/MidiFileTrack.h"
#include "platform/text/TextConversion.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

class VarLenTest : public ::testing::TestWithParam<std::pair<uint32_t, const char*>> {};

TEST_P(VarLenTest, Bytes) {
  MidiFile f;
  f.WriteVarLen(GetParam().first);
  EXPECT_EQ(ToHex(f.Bytes()), GetParam().second);
}

INSTANTIATE_TEST_SUITE_P(Quantities, VarLenTest,
                         ::testing::Values(std::pair{0u, "00"}, std::pair{0x7Fu, "7F"}, std::pair{128u, "81 00"},
                                           std::pair{0x2000u, "C0 00"}, std::pair{0x3FFFu, "FF 7F"},
                                           std::pair{0x4000u, "81 80 00"}, std::pair{0x1FFFFFu, "FF FF 7F"},
                                           std::pair{0x200000u, "81 80 80 00"}, std::pair{0x0FFFFFFFu, "FF FF FF 7F"},
                                           // Beyond 28 bits a quantity cannot go; it stays at the largest.
                                           std::pair{0xFFFFFFFFu, "FF FF FF 7F"}));

TEST(MidiFileTest, TrackLengthsArePatchedAndTicksCounted) {
  MidiFile f;
  f.WriteHeader(1, 2);
  f.BeginTrack();
  f.WriteNoteOn(0, 3, 60, 100);
  f.WriteNoteOff(200, 3, 60);
  EXPECT_EQ(f.TotalTicks(), 200u);
  f.EndTrack();
  f.BeginTrack();
  f.EndTrack();
  EXPECT_EQ(ToHex(f.Bytes()),
            "4D 54 68 64 00 00 00 06 00 01 00 02 00 C0 "
            "4D 54 72 6B 00 00 00 0D 00 93 3C 64 81 48 83 3C 20 00 FF 2F 00 "
            "4D 54 72 6B 00 00 00 04 00 FF 2F 00");
}

TEST(MidiFileTest, MetaEvents) {
  MidiFile f;
  f.WriteTempo(0, 120);
  f.WriteTempo(0, 0);  // never a division by zero
  f.WriteTempo(0, 2);  // clamped to 4 bpm: 15,000,000 fits 24 bits
  f.WriteTimeSignature(0, 6, 8);
  f.WriteTimeSignature(0, 3, 0);  // not a signature: 4/4
  f.WriteKeySignature(0, -3, true);
  f.WriteController(0, 17, 7, 200);  // channel and data bytes kept in range
  f.WriteProgramChange(0, 1, 24);
  EXPECT_EQ(ToHex(f.Bytes()),
            "00 FF 51 03 07 A1 20 "
            "00 FF 51 03 07 A1 20 "
            "00 FF 51 03 E4 E1 C0 "
            "00 FF 58 04 06 03 18 08 "
            "00 FF 58 04 04 02 18 08 "
            "00 FF 59 02 FD 01 "
            "00 B1 07 7F "
            "00 C1 18");
}

TEST(MidiFileTest, TextsAreWrittenInWindows1252) {
  MidiFile f;
  f.WriteText(0, MidiFile::kTextEvent, "Caf\xC3\xA9 \xE2\x82\xAC \xE4\xB8\xAD");  // é, €, a CJK character
  EXPECT_EQ(ToHex(f.Bytes()), "00 FF 01 08 43 61 66 E9 20 80 20 3F");
  EXPECT_EQ(Utf8ToCp1252("\xE2\x80\x9C" "q" "\xE2\x80\x9D"), "\x93q\x94");
}

TEST(MidiFileTest, SaveReportsAFileThatCannotBeWritten) {
  testing::TempDir dir;
  MidiFile f;
  f.WriteHeader(1, 1);
  std::string error;
  EXPECT_FALSE(f.Save(dir.File("missing/out.mid"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_TRUE(f.Save(dir.File("out.mid"), &error));
  EXPECT_EQ(std::filesystem::file_size(dir.File("out.mid")), 14u);
  // A full disk: a child process may write no more than 100 bytes, so the write fails; the
  // failure is reported and the old file stays as it was.
  const std::string target = dir.File("out.mid");
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    MidiFile big;
    big.WriteHeader(1, 1);
    big.BeginTrack();
    big.WriteText(0, MidiFile::kTextEvent, std::string(1000, 'x'));
    big.EndTrack();
    _exit(big.Save(target) ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(std::filesystem::file_size(target), 14u);
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

using testing::ToHex;

strMidiBuffer Notes(std::initializer_list<std::tuple<uint32_t, uint8_t, int32_t>> notes) {
  strMidiBuffer b;
  for (const auto& [time, key, length] : notes) b.AddNote(time, key, 64, length, 0);
  return b;
}

TEST(MidiFileTrackTest, HeaderTitleAndMetronome) {
  MidiFile f;
  MidiFileTrack::WriteHeaderAndTitle(f, 1, "Air", "Anon");
  MidiFileTrack::WriteMetronome(f, 400, 192);  // two clicks
  EXPECT_EQ(ToHex(f.Bytes()),
            "4D 54 68 64 00 00 00 06 00 01 00 02 00 C0 "
            "4D 54 72 6B 00 00 00 24 "
            "00 FF 01 0B 54 69 74 6C 65 20 3D 20 41 69 72 "
            "00 FF 01 0D 41 75 74 68 6F 72 20 3D 20 41 6E 6F 6E "
            "00 FF 2F 00 "
            "4D 54 72 6B 00 00 00 26 "
            "00 FF 03 09 6D 65 74 72 6F 6E 6F 6D 65 "
            "00 B9 07 78 "
            "00 99 51 50 30 89 51 20 "
            "81 10 99 51 50 30 89 51 20 "
            "00 FF 2F 00");
}

TEST(MidiFileTrackTest, ControllersAreRepeatedOnTheEchoChannel) {
  strMidiBuffer b;
  b.AddRecord(strMidiNote::kController, 0, 1, 90, 2);                           // volume
  b.AddRecord(strMidiNote::kController, 0, strMidiNote::kSubProgram, 24, 2);    // program: not echoed
  b.AddRecord(strMidiNote::kController, 10, strMidiNote::kSubTempo, 0, 2).duration = 60;
  b.AddRecord(strMidiNote::kTempoText, 20, 0, 0, 2);                            // no event: its time goes on
  b.AddRecord(strMidiNote::kDynamics, 30, 0, 70, 2);
  b.AddText(40, "la", 2);
  b.AddRecord(strMidiNote::kController, 50, 5, 9, 2);                           // pedal, then controller 4
  MidiFile f;
  const uint64_t ticks = MidiFileTrack::WriteEvents(f, b, MidiEcho{true, 8}, false);
  EXPECT_EQ(ticks, 50u);
  EXPECT_EQ(ToHex(f.Bytes()),
            "00 B2 07 5A 00 B8 07 5A "
            "00 C2 18 "
            "0A FF 51 03 0F 42 40 "
            "14 B2 0B 46 00 B8 0B 46 "
            "0A FF 01 02 6C 61 "
            "0A B2 40 7F 00 B8 40 7F 00 B2 04 09 00 B8 04 09");
}

TEST(MidiFileTrackTest, RepeatsWrittenOnceOrExpanded) {
  // | A B :| C, with the start of the music as the start of the repeat.
  strMidiBuffer b = Notes({{0, 60, 96}, {96, 62, 96}, {192, 64, 96}});
  b.AddRecord(strMidiNote::kRepeatSign, 192, strMidiNote::kRepeatKey, 0, 0);
  b.AddNoteOffs();
  b.Sort();
  const auto keysAndTimes = [](const strMidiBuffer& list) {
    std::vector<std::pair<uint32_t, int>> out;
    for (const auto& r : list) {
      if (r.kind == strMidiNote::kNoteOn) out.emplace_back(r.time, r.key);
    }
    return out;
  };
  const std::vector<std::pair<uint32_t, int>> twice = {{0, 60}, {96, 62}, {192, 60}, {288, 62}, {384, 64}};
  EXPECT_EQ(keysAndTimes(MidiFileTrack::ExpandRepeats(b)), twice);

  MidiFile once;
  EXPECT_EQ(MidiFileTrack::WriteEvents(once, b, MidiEcho{}, false), 288u);
  MidiFile expanded;
  EXPECT_EQ(MidiFileTrack::WriteEvents(expanded, b, MidiEcho{}, true), 480u);

  // |: A :|: B :| C with a rest before the first closing sign: the rest is repeated too.
  strMidiBuffer c = Notes({{0, 50, 96}, {192, 60, 96}, {288, 62, 96}, {384, 64, 96}});
  c.AddRecord(strMidiNote::kRepeatSign, 192, strMidiNote::kRepeatKey, 1, 0);
  c.AddRecord(strMidiNote::kRepeatSign, 288, strMidiNote::kRepeatKey, 2, 0);
  c.AddRecord(strMidiNote::kRepeatSign, 384, strMidiNote::kRepeatKey, 0, 0);
  c.AddNoteOffs();
  c.Sort();
  const std::vector<std::pair<uint32_t, int>> passages = {{0, 50}, {192, 60}, {288, 60}, {384, 62}, {480, 62}, {576, 64}};
  EXPECT_EQ(keysAndTimes(MidiFileTrack::ExpandRepeats(c)), passages);
}

}  // namespace
}  // namespace vornel
