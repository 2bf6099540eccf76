#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <random>

#include "ZipTestSupport.h"
#include "document/zip/ZipFormat.h"

namespace vornel {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string RandomBytes(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

// A small archive and where the fields of its single entry are, for patching.
struct OneEntry {
  std::string path;
  std::vector<uint8_t> bytes;
  size_t central = 0;  // offset of the central header
};

OneEntry OneEntryArchive(const TempDir& dir, const std::string& name = "entry.txt",
                         const std::string& content = "content of the entry, content of the entry") {
  OneEntry archive;
  archive.path = testing::MakeArchive(dir, {{name, content}});
  archive.bytes = ReadBytes(archive.path);
  archive.central = archive.bytes.size() - 22 - (46 + name.size() + 9);
  return archive;
}

void Put16(std::vector<uint8_t>& bytes, size_t at, uint16_t v) {
  bytes[at] = static_cast<uint8_t>(v);
  bytes[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
  Put16(bytes, at, static_cast<uint16_t>(v));
  Put16(bytes, at + 2, static_cast<uint16_t>(v >> 16));
}

TEST(ZipReader, ExtractsWhatTheWriterPacked) {
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"song.btxml", std::string(200000, 'x') + "<end/>"},
      {"empty.txt", ""},
      {"images/noise.png", RandomBytes(300000, 1)},
      {"stored.zip", RandomBytes(1000, 2)},
  };
  const std::string archive = testing::MakeArchive(dir, entries);
  std::filesystem::create_directory(dir.File("out"));
  ZipHandlePtr zip = OpenZip(archive, dir.File("out"));
  ASSERT_NE(zip, nullptr);

  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), -1, entry), kZipOk);
  ASSERT_EQ(entry.index, 4);
  for (int i = 0; i < 4; ++i) {
    const auto& [name, content] = entries[static_cast<size_t>(i)];
    ASSERT_EQ(GetZipItem(zip.get(), i, entry), kZipOk);
    EXPECT_EQ(entry.name, name);
    EXPECT_EQ(entry.uncompressedSize, content.size());
    EXPECT_EQ(entry.attributes, kZipAttrNormal);
    ASSERT_EQ(UnzipItem(zip.get(), i, name), kZipOk) << name;
    const std::string out = dir.File("out/" + name);
    EXPECT_EQ(testing::ReadText(out), content);
    struct stat info {};
    ASSERT_EQ(::stat(out.c_str(), &info), 0);
    EXPECT_EQ(info.st_mtime, entry.modificationTime);
    struct stat source {};
    ::stat(dir.File("source-" + std::to_string(i)).c_str(), &source);
    EXPECT_EQ(info.st_mtime, source.st_mtime);
  }
  EXPECT_EQ(CloseZipReader(zip.get()), kZipOk);
}

// Inflate can take the last compressed byte while it still holds output: the reader must
// keep asking for output before calling the stream short. Found with this 4 MB document.
TEST(ZipReader, DrainsInflateAfterTheLastInput) {
  TempDir dir;
  std::string document = "<VornelTabXML version=\"1.0\"><sections count=\"1\"><section>\n";
  for (int i = 0; document.size() < (4 << 20); ++i) {
    document += "<chord flag=\"" + std::to_string(i % 7) + "\"><note course=\"" + std::to_string(i % 6) + "\" fret=\"" +
                std::to_string(i % 9) + "\"/></chord>\n";
  }
  const std::string archive = testing::MakeArchive(dir, {{"Song.btxml", document}});
  ZipHandlePtr zip = OpenZip(archive, dir.path());
  ASSERT_EQ(UnzipItem(zip.get(), 0, "Song.btxml"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("Song.btxml")), document);
}

TEST(ZipReader, FindsNamesWithoutRegardToCase) {
  TempDir dir;
  const std::string archive = testing::MakeArchive(dir, {{"Folder/Song.BTXML", "a"}, {"\xC3\x89t\xC3\xA9.txt", "b"}});
  ZipHandlePtr zip = OpenZip(archive);
  int index = 7;
  ZipEntry entry;
  EXPECT_EQ(FindZipItem(zip.get(), "folder\\song.btxml", index, entry), kZipOk);
  EXPECT_EQ(index, 0);
  EXPECT_EQ(entry.name, "Folder/Song.BTXML");
  EXPECT_EQ(FindZipItem(zip.get(), "\xC3\xA9T\xC3\x89.TXT", index, entry), kZipOk);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(FindZipItem(zip.get(), "song.btxml", index, entry), kZipNotFound);
  EXPECT_EQ(index, -1);
  EXPECT_EQ(entry.index, -1);
  EXPECT_EQ(FindZipItem(zip.get(), std::string(256, 'a'), index, entry), kZipNotFound);
}

TEST(ZipReader, ResultCodesOfMisuse) {
  TempDir dir;
  const std::string archive = testing::MakeArchive(dir, {{"a.txt", "a"}});
  ZipEntry entry;
  int index = 0;
  EXPECT_EQ(GetZipItem(nullptr, 0, entry), kZipBadArguments);
  EXPECT_EQ(FindZipItem(nullptr, "a.txt", index, entry), kZipBadArguments);
  EXPECT_EQ(UnzipItem(nullptr, 0, "a.txt"), kZipBadArguments);
  EXPECT_EQ(CloseZipReader(nullptr), kZipBadArguments);

  ZipHandlePtr zip = OpenZip(archive, dir.path());
  EXPECT_EQ(UnzipItem(zip.get(), 1, "a.txt"), kZipBadArguments);  // index equal to the count
  EXPECT_EQ(UnzipItem(zip.get(), -1, "a.txt"), kZipBadArguments);
  EXPECT_EQ(GetZipItem(zip.get(), 1, entry), kZipBadArguments);
  EXPECT_EQ(GetZipItem(zip.get(), -2, entry), kZipBadArguments);
  EXPECT_EQ(ZipReaderLastResult(), static_cast<int32_t>(kZipBadArguments));
  EXPECT_EQ(CloseZipReader(zip.get()), kZipOk);
  EXPECT_EQ(CloseZipReader(zip.get()), kZipBadArguments);
  EXPECT_EQ(UnzipItem(zip.get(), 0, "a.txt"), kZipBadArguments);

  ZipHandlePtr writer = CreateZip(dir.File("w.zip"));
  EXPECT_EQ(GetZipItem(writer.get(), 0, entry), kZipWrongKind);
  EXPECT_EQ(UnzipItem(writer.get(), 0, "a.txt"), kZipWrongKind);
  EXPECT_EQ(CloseZipReader(writer.get()), kZipWrongKind);

  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  for (const std::string& path : {dir.File("missing.zip"), dir.path(), dir.File("pipe")}) {
    EXPECT_EQ(OpenZip(path), nullptr) << path;
    EXPECT_EQ(ZipReaderLastResult(), static_cast<int32_t>(kZipNotOpened));
  }
}

// What surrounds the archive in its file, and whether it still opens.
struct FramingCase {
  const char* name;
  std::string before;
  std::string after;
};

class ZipReaderFraming : public ::testing::TestWithParam<FramingCase> {};

TEST_P(ZipReaderFraming, FindsTheArchiveInsideOtherData) {
  TempDir dir;
  const OneEntry archive = OneEntryArchive(dir);
  std::vector<uint8_t> bytes(GetParam().before.begin(), GetParam().before.end());
  bytes.insert(bytes.end(), archive.bytes.begin(), archive.bytes.end());
  bytes.insert(bytes.end(), GetParam().after.begin(), GetParam().after.end());
  WriteBytes(dir.File("framed.zip"), bytes);

  ZipHandlePtr zip = OpenZip(dir.File("framed.zip"), dir.path());
  ASSERT_NE(zip, nullptr) << ZipReaderLastResult();
  EXPECT_EQ(UnzipItem(zip.get(), 0, "entry.txt"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("entry.txt")), "content of the entry, content of the entry");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipReaderFraming,
    ::testing::Values(FramingCase{"plain", "", ""}, FramingCase{"data_in_front", std::string(100, 'j'), ""},
                      FramingCase{"trailing_junk", "", "trailing junk"},
                      // An end signature in the trailing bytes that does not fit the file.
                      FramingCase{"false_end_record_after", "", std::string("PK\5\6", 4) + std::string(30, '\7')},
                      FramingCase{"long_trailer", "", std::string(60000, 't')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZipReader, OpensAnEmptyArchive) {
  TempDir dir;
  ZipHandlePtr writer = CreateZip(dir.File("empty.zip"));
  ASSERT_EQ(CloseZip(writer.get()), kZipOk);
  ZipHandlePtr zip = OpenZip(dir.File("empty.zip"));
  ASSERT_NE(zip, nullptr);
  ZipEntry entry;
  EXPECT_EQ(GetZipItem(zip.get(), -1, entry), kZipOk);
  EXPECT_EQ(entry.index, 0);
}

// A damaged archive: how the bytes are changed, and the last result of the open.
struct DamageCase {
  const char* name;
  void (*damage)(OneEntry&);
  int32_t result;
};

class ZipReaderDamage : public ::testing::TestWithParam<DamageCase> {};

TEST_P(ZipReaderDamage, RefusesToOpen) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir);
  GetParam().damage(archive);
  WriteBytes(archive.path, archive.bytes);
  EXPECT_EQ(OpenZip(archive.path), nullptr);
  EXPECT_EQ(ZipReaderLastResult(), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipReaderDamage,
    ::testing::Values(
        DamageCase{"no_end_record", [](OneEntry& a) { a.bytes.erase(a.bytes.end() - 22, a.bytes.end()); },
                   kZipNoEndRecord},
        DamageCase{"short_file", [](OneEntry& a) { a.bytes.resize(3); }, kZipNoEndRecord},
        DamageCase{"entry_counts_differ", [](OneEntry& a) { Put16(a.bytes, a.bytes.size() - 22 + 8, 2); },
                   kZipInconsistent},
        DamageCase{"directory_on_other_disk", [](OneEntry& a) { Put16(a.bytes, a.bytes.size() - 22 + 6, 1); },
                   kZipInconsistent},
        DamageCase{"directory_past_the_record",
                   [](OneEntry& a) { Put32(a.bytes, a.bytes.size() - 22 + 16, 0xFFFFFF00); }, kZipInconsistent},
        DamageCase{"more_entries_than_directory_holds",
                   [](OneEntry& a) {
                     Put16(a.bytes, a.bytes.size() - 22 + 8, 2);
                     Put16(a.bytes, a.bytes.size() - 22 + 10, 2);
                   },
                   kZipInconsistent},
        DamageCase{"central_signature", [](OneEntry& a) { a.bytes[a.central] = 'Q'; }, kZipInconsistent},
        DamageCase{"name_past_directory", [](OneEntry& a) { Put16(a.bytes, a.central + 28, 100); }, kZipInconsistent},
        DamageCase{"extra_past_directory", [](OneEntry& a) { Put16(a.bytes, a.central + 30, 0xFFFF); },
                   kZipInconsistent},
        DamageCase{"comment_past_directory", [](OneEntry& a) { Put16(a.bytes, a.central + 32, 10); },
                   kZipInconsistent}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZipReader, RefusesNamesLongerThanItsNameBuffer) {
  TempDir dir;
  // Written with the longest name the writer takes, then the name length raised past it.
  OneEntry archive = OneEntryArchive(dir, std::string(259, 'n'));
  EXPECT_NE(OpenZip(archive.path), nullptr);
  std::vector<uint8_t> longer(archive.bytes.begin(), archive.bytes.begin() + static_cast<long>(archive.central));
  std::vector<uint8_t> central(archive.bytes.begin() + static_cast<long>(archive.central), archive.bytes.end() - 22);
  Put16(central, 28, 260);
  central.insert(central.begin() + 46, 'n');
  longer.insert(longer.end(), central.begin(), central.end());
  std::vector<uint8_t> end(archive.bytes.end() - 22, archive.bytes.end());
  Put32(end, 12, static_cast<uint32_t>(central.size()));
  longer.insert(longer.end(), end.begin(), end.end());
  WriteBytes(archive.path, longer);
  EXPECT_EQ(OpenZip(archive.path), nullptr);
  EXPECT_EQ(ZipReaderLastResult(), kZipInconsistent);
}

class ZipReaderDestination : public ::testing::TestWithParam<const char*> {};

TEST_P(ZipReaderDestination, NeverWritesOutsideTheRootFolder) {
  TempDir dir;
  const OneEntry archive = OneEntryArchive(dir);
  const std::string root = dir.File("root/inner");
  std::filesystem::create_directories(root);
  ZipHandlePtr zip = OpenZip(archive.path, root);
  EXPECT_EQ(UnzipItem(zip.get(), 0, GetParam()), kZipBadArguments);
  EXPECT_TRUE(std::filesystem::is_empty(root));
  EXPECT_FALSE(testing::Exists(dir.File("root/evil.txt")));
  EXPECT_FALSE(testing::Exists(dir.File("evil.txt")));
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipReaderDestination,
                         ::testing::Values("../evil.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "..",
                                           "/tmp/evil.txt", "\\evil.txt", "C:evil.txt", "", "./"),
                         [](const auto& info) { return "path_" + std::to_string(info.index); });

TEST(ZipReader, CreatesFoldersOfRelativeDestinations) {
  TempDir dir;
  const OneEntry archive = OneEntryArchive(dir);
  ZipHandlePtr zip = OpenZip(archive.path, dir.File("root"));
  std::filesystem::create_directory(dir.File("root"));
  EXPECT_EQ(UnzipItem(zip.get(), 0, ".\\a\\b/./entry.txt"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("root/a/b/entry.txt")), "content of the entry, content of the entry");
}

// Damage to an entry's data: extraction fails with 0x400 and says what was wrong, leaves no
// partial file and keeps the file that was there; inflating into memory fails the same way.
struct DataCase {
  const char* name;
  void (*damage)(OneEntry&);
  const char* reason;
};

class ZipReaderBadData : public ::testing::TestWithParam<DataCase> {};

TEST_P(ZipReaderBadData, FailsSaysWhyAndKeepsTheOldFile) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir, "entry.txt", std::string(100000, 'z') + RandomBytes(50000, 3));
  GetParam().damage(archive);
  WriteBytes(archive.path, archive.bytes);
  testing::WriteText(dir.File("entry.txt"), "keep me");
  ZipHandlePtr zip = OpenZip(archive.path, dir.path());
  ASSERT_NE(zip, nullptr);
  std::string reason;
  EXPECT_EQ(UnzipItem(zip.get(), 0, "entry.txt", {}, &reason), kZipCopyFailed);
  EXPECT_TRUE(reason.starts_with(GetParam().reason)) << reason;
  EXPECT_EQ(testing::ReadText(dir.File("entry.txt")), "keep me");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // archive, source, old file

  std::string inMemory = "earlier";
  std::string memoryReason;
  EXPECT_EQ(UnzipItemToMemory(zip.get(), 0, inMemory, {}, &memoryReason), kZipCopyFailed);
  EXPECT_EQ(memoryReason, reason);
  EXPECT_TRUE(inMemory.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipReaderBadData,
    ::testing::Values(
        DataCase{"crc_mismatch", [](OneEntry& a) { a.bytes[a.central + 16] ^= 1; }, "its CRC-32 does not match"},
        DataCase{"size_smaller", [](OneEntry& a) { Put32(a.bytes, a.central + 24, 99999); },
                 "it unpacks to more than the 99999 bytes it declares"},
        DataCase{"size_larger", [](OneEntry& a) { Put32(a.bytes, a.central + 24, 150001); },
                 "it unpacks to 150000 bytes, not the 150001 it declares"},
        DataCase{"corrupt_stream", [](OneEntry& a) { a.bytes[30 + 9 + 17] = 0xFF; }, "its packed data is damaged"},
        DataCase{"stream_cut_short", [](OneEntry& a) { Put32(a.bytes, a.central + 20, 100); },
                 "its packed data ends early"},
        DataCase{"data_overlaps_directory", [](OneEntry& a) { Put32(a.bytes, a.central + 20, 0x7FFFFFFF); },
                 "its data runs past the end of the archive"},
        DataCase{"local_signature", [](OneEntry& a) { a.bytes[0] = 'Q'; }, "its local header does not match"},
        DataCase{"local_header_offset", [](OneEntry& a) { Put32(a.bytes, a.central + 42, 0xFFFFFFF0); },
                 "its local header does not match"},
        DataCase{"local_name_length", [](OneEntry& a) { Put16(a.bytes, 26, 0xFFFF); },
                 "its data runs past the end of the archive"},
        DataCase{"method_unknown",
                 [](OneEntry& a) {
                   Put16(a.bytes, 8, 12);
                   Put16(a.bytes, a.central + 10, 12);
                 },
                 "it is packed with method 12"},
        DataCase{"encrypted", [](OneEntry& a) { a.bytes[a.central + 8] |= 1; }, "it is encrypted"}),
    [](const auto& info) { return std::string(info.param.name); });

// An entry that declares more than the limits allow is refused before anything is inflated,
// naming the limit it passes.
TEST(ZipReader, LimitsRefuseWhatAnEntryDeclaresAndSayWhichLimit) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir, "entry.txt", std::string(100000, 'z'));
  ZipHandlePtr zip = OpenZip(archive.path, dir.path());
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  const std::string packed = std::to_string(entry.compressedSize);
  std::string text;
  std::string reason;
  EXPECT_EQ(UnzipItemToMemory(zip.get(), 0, text, {99999, 0, 0}, &reason), kZipTooLarge);
  EXPECT_EQ(reason, "it declares 100000 bytes from " + packed + " packed, more than the 99999 allowed");
  EXPECT_EQ(UnzipItem(zip.get(), 0, "entry.txt", {UINT64_MAX, 2, 1000}, &reason), kZipTooLarge);
  EXPECT_EQ(reason, "it declares 100000 bytes from " + packed + " packed, more than the " +
                        std::to_string(1000 + 2 * entry.compressedSize) +
                        " allowed for that packed size (1000 and 2 per packed byte)");
  EXPECT_FALSE(testing::Exists(dir.File("entry.txt")));
  EXPECT_EQ(UnzipItemToMemory(zip.get(), 0, text, {100000, 1, 100000}), kZipOk);
  EXPECT_EQ(text, std::string(100000, 'z'));
}

// External attributes as stored, and the attributes the reader gives.
struct AttributeCase {
  const char* name;
  uint32_t external;
  uint32_t attributes;
};

class ZipReaderAttributes : public ::testing::TestWithParam<AttributeCase> {};

TEST_P(ZipReaderAttributes, ReadOnlyOnlyFromAModeOrTheDosBit) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir);
  Put32(archive.bytes, archive.central + 38, GetParam().external);
  WriteBytes(archive.path, archive.bytes);
  ZipHandlePtr zip = OpenZip(archive.path, dir.path());
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.attributes, GetParam().attributes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipReaderAttributes,
    ::testing::Values(AttributeCase{"made_on_dos", 0x00000000, kZipAttrNormal},
                      AttributeCase{"dos_archive", 0x00000020, kZipAttrNormal | kZipAttrArchive},
                      AttributeCase{"dos_read_only_hidden_system", 0x00000007,
                                    kZipAttrNormal | kZipAttrReadOnly | kZipAttrHidden | kZipAttrSystem},
                      AttributeCase{"unix_writable", 0x81A40000, kZipAttrNormal},
                      AttributeCase{"unix_read_only", 0x81240000, kZipAttrNormal | kZipAttrReadOnly},
                      AttributeCase{"unix_folder", 0x41ED0000, kZipAttrDirectory},
                      AttributeCase{"dos_folder", 0x00000010, kZipAttrDirectory}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZipReader, ExtractsReadOnlyEntriesReadOnlyAndFoldersAsFolders) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir);
  Put32(archive.bytes, archive.central + 38, 0x81240000);
  WriteBytes(archive.path, archive.bytes);
  ZipHandlePtr zip = OpenZip(archive.path, dir.path());
  ASSERT_EQ(UnzipItem(zip.get(), 0, "entry.txt"), kZipOk);
  struct stat info {};
  ASSERT_EQ(::stat(dir.File("entry.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0444u);

  Put32(archive.bytes, archive.central + 38, 0x41ED0010);
  WriteBytes(archive.path, archive.bytes);
  zip = OpenZip(archive.path, dir.path());
  ASSERT_EQ(UnzipItem(zip.get(), 0, "made/folder"), kZipOk);
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("made/folder")));
}

// The "UT" field of the central header: its flags may announce more than its length holds.
constexpr int64_t kFieldTime = 1000000000;  // 2001-09-09 01:46:40, in the field
constexpr int64_t kDosTime = 1623801600;    // 2021-06-16 00:00:00, in the DOS fields

struct TimeCase {
  const char* name;
  uint16_t length;
  uint8_t flags;
  int64_t modified;
  int64_t accessed;
};

class ZipReaderTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(ZipReaderTimes, TakesOnlyTheTimesTheFieldHolds) {
  testing::ScopedUtc utc;
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir);
  const size_t field = archive.central + 46 + 9;
  Put16(archive.bytes, field + 2, GetParam().length);
  archive.bytes[field + 4] = GetParam().flags;
  Put32(archive.bytes, field + 5, kFieldTime);
  Put32(archive.bytes, archive.central + 12, 0x52D00000);
  WriteBytes(archive.path, archive.bytes);
  ZipHandlePtr zip = OpenZip(archive.path);
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.modificationTime, GetParam().modified);
  EXPECT_EQ(entry.accessTime, GetParam().accessed);
  EXPECT_EQ(entry.creationTime, kDosTime);
}

INSTANTIATE_TEST_SUITE_P(Cases, ZipReaderTimes,
                         ::testing::Values(TimeCase{"all_announced_one_held", 5, 7, kFieldTime, kDosTime},
                                           TimeCase{"time_cut_short", 4, 1, kDosTime, kDosTime},
                                           TimeCase{"access_first_when_no_modification", 5, 6, kDosTime, kFieldTime},
                                           TimeCase{"empty_field", 0, 7, kDosTime, kDosTime}),
                         [](const auto& info) { return std::string(info.param.name); });

// Stored names and how they are read: UTF-8 when flagged or given in a Unicode path field,
// otherwise Windows-1252.
TEST(ZipReader, DecodesNamesByTheirMarks) {
  TempDir dir;
  OneEntry archive = OneEntryArchive(dir, "cafe.txt");
  archive.bytes[30 + 3] = archive.bytes[archive.central + 46 + 3] = 0xE9;
  WriteBytes(archive.path, archive.bytes);
  ZipHandlePtr zip = OpenZip(archive.path);
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.name, "caf\xC3\xA9.txt");

  archive = OneEntryArchive(dir, "caf\xC3\xA9.txt");  // flagged UTF-8 by the writer
  zip = OpenZip(archive.path);
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.name, "caf\xC3\xA9.txt");
}

}  // namespace
}  // namespace vornel
