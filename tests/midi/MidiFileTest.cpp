// The Standard MIDI File writer's bytes: variable-length quantities, chunks with back-patched
// lengths, meta-events and saving.

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>

#include "midi/MidiFile.h"
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
            "00 B1 07 48 "
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
