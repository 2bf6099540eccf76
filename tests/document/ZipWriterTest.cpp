#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "ZipTestSupport.h"
#include "document/zip/ZipFormat.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ReadBytes;
using testing::TempDir;
using testing::ToHex;

constexpr int64_t kFixtureTime = 1615734566;  // 2021-03-14 15:09:26 UTC

uint32_t Le32(const std::vector<uint8_t>& bytes, size_t at) { return zip::Get32(bytes.data() + at); }

TEST(ZipWriter, WritesHeadersByteForByte) {
  testing::ScopedUtc utc;
  TempDir dir;
  const int64_t started = std::time(nullptr);
  testing::WriteText(dir.File("stored"), "hello");
  testing::WriteText(dir.File("empty"), "");
  testing::SetFileTimes(dir.File("stored"), kFixtureTime, kFixtureTime);
  testing::SetFileTimes(dir.File("empty"), kFixtureTime, kFixtureTime);

  ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
  ASSERT_NE(zip, nullptr);
  EXPECT_EQ(ZipAdd(zip.get(), "B.ZIP", dir.File("stored")), kZipOk);
  EXPECT_EQ(ZipAdd(zip.get(), "doc\\e.btxml", dir.File("empty")), kZipOk);
  EXPECT_EQ(CloseZip(zip.get()), kZipOk);

  // CC CC CC CC: the creation time, which a test cannot set; checked separately below.
  auto expected = HexBytes(
      // local header: "B.ZIP" stored, flags 0, DOS 2021-03-14 15:09:26, CRC of "hello", sizes 5
      "50 4B 03 04 14 00 00 00 00 00 2D 79 6E 52 86 A6 10 36 05 00 00 00 05 00 00 00 05 00 11 00"
      "42 2E 5A 49 50"
      "55 54 0D 00 07 26 27 4E 60 26 27 4E 60 CC CC CC CC"
      "68 65 6C 6C 6F"
      // local header: "doc/e.btxml" deflated, CRC 0, the two bytes of an empty deflate stream
      "50 4B 03 04 14 00 00 00 08 00 2D 79 6E 52 00 00 00 00 02 00 00 00 00 00 00 00 0B 00 11 00"
      "64 6F 63 2F 65 2E 62 74 78 6D 6C"
      "55 54 0D 00 07 26 27 4E 60 26 27 4E 60 CC CC CC CC"
      "03 00"
      // central headers: made by 0x0B17, extra 9, external 0x81800000, offsets 0 and 57
      "50 4B 01 02 17 0B 14 00 00 00 00 00 2D 79 6E 52 86 A6 10 36 05 00 00 00 05 00 00 00 05 00 09 00"
      "00 00 00 00 00 00 00 00 80 81 00 00 00 00 42 2E 5A 49 50 55 54 05 00 07 26 27 4E 60"
      "50 4B 01 02 17 0B 14 00 00 00 08 00 2D 79 6E 52 00 00 00 00 02 00 00 00 00 00 00 00 0B 00 09 00"
      "00 00 00 00 00 00 00 00 80 81 39 00 00 00 64 6F 63 2F 65 2E 62 74 78 6D 6C 55 54 05 00 07 26 27 4E 60"
      // end record: 2 entries, directory of 126 bytes at 117
      "50 4B 05 06 00 00 00 00 02 00 02 00 7E 00 00 00 75 00 00 00 00 00");
  const auto actual = ReadBytes(dir.File("out.zip"));
  ASSERT_EQ(actual.size(), expected.size());
  for (const size_t at : {size_t{48}, size_t{111}}) {
    const int64_t created = Le32(actual, at);
    EXPECT_TRUE(created == kFixtureTime || (created >= started - 5 && created <= std::time(nullptr) + 5)) << created;
    std::copy_n(actual.begin() + static_cast<long>(at), 4, expected.begin() + static_cast<long>(at));
  }
  EXPECT_EQ(ToHex(actual), ToHex(expected));
}

TEST(ZipWriter, EmptyArchiveIsTheEndRecordAlone) {
  TempDir dir;
  ZipHandlePtr zip = CreateZip(dir.File("empty.zip"));
  EXPECT_EQ(CloseZip(zip.get()), kZipOk);
  EXPECT_EQ(ToHex(ReadBytes(dir.File("empty.zip"))),
            "50 4B 05 06 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00");
}

struct MethodCase {
  const char* name;
  uint16_t method;
};

class ZipWriterMethod : public ::testing::TestWithParam<MethodCase> {};

TEST_P(ZipWriterMethod, StoresOnlyNamesOfCompressedFiles) {
  TempDir dir;
  const std::string archive = testing::MakeArchive(dir, {{GetParam().name, "some text some text"}});
  ASSERT_FALSE(archive.empty());
  EXPECT_EQ(zip::Get16(ReadBytes(archive).data() + 8), GetParam().method);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipWriterMethod,
                         ::testing::Values(MethodCase{"UPPER.ZIP", 0}, MethodCase{"a.tgz", 0}, MethodCase{"x.Z", 0},
                                           MethodCase{"x.gz", 0}, MethodCase{"song.btxml", 8}, MethodCase{"noext", 8},
                                           MethodCase{"folder.zip/inside", 8}, MethodCase{"a.gz.txt", 8}),
                         [](const auto& info) { return "name_" + std::to_string(info.index); });

struct ClampCase {
  const char* name;
  int64_t fileTime;
  int64_t extraTime;  // in the "UT" field
  const char* dos;    // time and date, as written
};

class ZipWriterDates : public ::testing::TestWithParam<ClampCase> {};

TEST_P(ZipWriterDates, ClampsToWhatEachFieldCanHold) {
  testing::ScopedUtc utc;
  TempDir dir;
  testing::WriteText(dir.File("f"), "x");
  testing::SetFileTimes(dir.File("f"), GetParam().fileTime, GetParam().fileTime);
  ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
  ASSERT_EQ(ZipAdd(zip.get(), "f", dir.File("f")), kZipOk);
  ASSERT_EQ(CloseZip(zip.get()), kZipOk);
  const auto bytes = ReadBytes(dir.File("out.zip"));
  EXPECT_EQ(ToHex({bytes.begin() + 10, bytes.begin() + 14}), GetParam().dos);
  EXPECT_EQ(Le32(bytes, 30 + 1 + 5), static_cast<uint32_t>(GetParam().extraTime));  // modified
  EXPECT_EQ(Le32(bytes, 30 + 1 + 9), static_cast<uint32_t>(GetParam().extraTime));  // accessed
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipWriterDates,
                         ::testing::Values(
                             // 1965-06-15 13:45:10: 1 January 1970 and 1 January 1980 at the same time of day
                             ClampCase{"before_1970", -143460890, 49510, "A5 6D 21 00"},
                             // 2150-06-15 13:45:10: 31 December 2037 and 31 December 2107
                             ClampCase{"after_2107", 5694587110, 2145879910, "A5 6D 9F FF"},
                             // 2110-01-01 00:00:00: past the Unix field, past the DOS date
                             ClampCase{"year_2110", 4417977600, 2145830400, "00 00 9F FF"},
                             ClampCase{"in_range", kFixtureTime, kFixtureTime, "2D 79 6E 52"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ZipWriter, ResultCodesOfMisuse) {
  TempDir dir;
  testing::WriteText(dir.File("f"), "x");
  EXPECT_EQ(ZipAdd(nullptr, "f", dir.File("f")), kZipBadArguments);
  EXPECT_EQ(CloseZip(nullptr), kZipBadArguments);

  ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
  EXPECT_EQ(ZipAdd(zip.get(), "", dir.File("f")), kZipBadArguments);
  EXPECT_EQ(ZipAdd(zip.get(), std::string(260, 'n'), dir.File("f")), kZipBadArguments);
  EXPECT_EQ(ZipAdd(zip.get(), "f", dir.File("missing")), kZipNotOpened);
  EXPECT_EQ(ZipAdd(zip.get(), "d", dir.path()), kZipNotOpened);
  EXPECT_EQ(ZipWriterLastResult(), static_cast<int32_t>(kZipNotOpened));
  // A name that is not UTF-8 is refused before the add and leaves the last result alone.
  EXPECT_EQ(ZipAdd(zip.get(), "\xFF", dir.File("f")), kZipBadArguments);
  EXPECT_EQ(ZipWriterLastResult(), static_cast<int32_t>(kZipNotOpened));

  EXPECT_EQ(ZipAdd(zip.get(), std::string(259, 'n'), dir.File("f")), kZipOk);
  EXPECT_EQ(CloseZipReader(zip.get()), kZipWrongKind);  // left alone: still a working writer
  EXPECT_EQ(CloseZip(zip.get()), kZipOk);
  EXPECT_EQ(CloseZip(zip.get()), kZipFinished);
  EXPECT_EQ(ZipAdd(zip.get(), "g", dir.File("f")), kZipFinished);

  ZipHandlePtr reader = OpenZip(dir.File("out.zip"));
  ASSERT_NE(reader, nullptr);
  EXPECT_EQ(ZipAdd(reader.get(), "g", dir.File("f")), kZipWrongKind);
  EXPECT_EQ(CloseZip(reader.get()), kZipWrongKind);
  ZipEntry entry;
  EXPECT_EQ(GetZipItem(reader.get(), -1, entry), kZipOk);
  EXPECT_EQ(entry.index, 1);

  EXPECT_EQ(CreateZip(dir.File("no/such/folder.zip")), nullptr);
  EXPECT_EQ(ZipWriterLastResult(), static_cast<int32_t>(kZipNotOpened));
}

TEST(ZipWriter, FailedAddKeepsEarlierEntries) {
  TempDir dir;
  testing::WriteText(dir.File("f"), "first entry");
  ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
  ASSERT_EQ(ZipAdd(zip.get(), "one.txt", dir.File("f")), kZipOk);
  ASSERT_EQ(ZipAdd(zip.get(), "two.txt", dir.File("gone")), kZipNotOpened);
  ASSERT_EQ(CloseZip(zip.get()), kZipOk);
  ZipHandlePtr reader = OpenZip(dir.File("out.zip"), dir.path());
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(reader.get(), -1, entry), kZipOk);
  EXPECT_EQ(entry.index, 1);
  EXPECT_EQ(UnzipItem(reader.get(), 0, "one.txt"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("one.txt")), "first entry");
}

TEST(ZipWriter, UnfinishedArchiveReplacesNothing) {
  TempDir dir;
  testing::WriteText(dir.File("out.zip"), "the archive of yesterday");
  testing::WriteText(dir.File("f"), "x");
  {
    ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
    ASSERT_EQ(ZipAdd(zip.get(), "f", dir.File("f")), kZipOk);
  }
  EXPECT_EQ(testing::ReadText(dir.File("out.zip")), "the archive of yesterday");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(ZipWriter, MarksNamesBeyondAsciiAsUtf8) {
  TempDir dir;
  const std::string archive = testing::MakeArchive(dir, {{"plain.txt", "a"}, {"Pavane \xC3\xA0 4.btxml", "b"}});
  const auto bytes = ReadBytes(archive);
  EXPECT_EQ(zip::Get16(bytes.data() + 6), 0);
  const size_t second = 30 + 9 + 17 + 3;  // "a" deflates to three bytes
  EXPECT_EQ(zip::Get16(bytes.data() + second + 6), zip::kFlagUtf8Name);

  ZipHandlePtr reader = OpenZip(archive);
  int index = -1;
  ZipEntry entry;
  EXPECT_EQ(FindZipItem(reader.get(), "PAVANE \xC3\x80 4.BTXML", index, entry), kZipOk);
  EXPECT_EQ(entry.name, "Pavane \xC3\xA0 4.btxml");
}

TEST(ZipWriter, ReadsPipesOfUnknownSize) {
  TempDir dir;
  const std::string fifo = dir.File("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::thread feeder([&] { testing::WriteText(fifo, std::string(100000, 'p')); });
  ZipHandlePtr zip = CreateZip(dir.File("out.zip"));
  EXPECT_EQ(ZipAdd(zip.get(), "piped.txt", fifo), kZipOk);
  feeder.join();
  ASSERT_EQ(CloseZip(zip.get()), kZipOk);

  ZipHandlePtr reader = OpenZip(dir.File("out.zip"), dir.path());
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(reader.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.uncompressedSize, 100000u);
  const auto bytes = ReadBytes(dir.File("out.zip"));
  const size_t central = bytes.size() - 22 - (46 + 9 + 9);
  EXPECT_EQ(Le32(bytes, central + 38), 0x80000000u);  // external attributes of a file that is no disk file
  ASSERT_EQ(UnzipItem(reader.get(), 0, "piped.txt"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("piped.txt")), std::string(100000, 'p'));
}

}  // namespace
}  // namespace vornel
