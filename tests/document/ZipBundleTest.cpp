#include <gtest/gtest.h>

#include <filesystem>

#include "ZipTestSupport.h"
#include "document/CVornelTabDoc.h"
#include "document/zip/ZipBundle.h"
#include "platform/xml/XMLWriter.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

using testing::TempDir;

TEST(ZipFileInPlace, PacksTheFileBesideItselfAndDeletesIt) {
  testing::ScriptedPrompts prompts;
  TempDir dir;
  std::filesystem::create_directory(dir.File("pieces.btxml"));
  std::string path = dir.File("pieces.btxml/Pavane.1.btxml");
  testing::WriteText(path, "<VornelTabXML/>");
  testing::WriteText(dir.File("pieces.btxml/Pavane.1.btz"), "an older bundle");

  ASSERT_TRUE(ZipFileInPlace(path, "btz"));
  EXPECT_EQ(path, dir.File("pieces.btxml/Pavane.1.btz"));
  EXPECT_FALSE(testing::Exists(dir.File("pieces.btxml/Pavane.1.btxml")));
  EXPECT_TRUE(prompts.messages.empty());

  ZipHandlePtr zip = OpenZip(path, dir.path());
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), -1, entry), kZipOk);
  EXPECT_EQ(entry.index, 1);
  ASSERT_EQ(GetZipItem(zip.get(), 0, entry), kZipOk);
  EXPECT_EQ(entry.name, "Pavane.1.btxml");
  ASSERT_EQ(UnzipItem(zip.get(), 0, "x"), kZipOk);
  EXPECT_EQ(testing::ReadText(dir.File("x")), "<VornelTabXML/>");
}

TEST(ZipFileInPlace, SaysWhichStepFailedAndKeepsTheFile) {
  testing::ScriptedPrompts prompts;
  TempDir dir;
  std::string path = dir.File("a.btxml");
  testing::WriteText(path, "text");
  std::filesystem::create_directory(dir.File("a.btz"));  // the archive cannot be made there
  EXPECT_FALSE(ZipFileInPlace(path, "btz"));
  EXPECT_EQ(path, dir.File("a.btxml"));
  EXPECT_EQ(testing::ReadText(path), "text");

  std::string missing = dir.File("gone.btxml");
  EXPECT_FALSE(ZipFileInPlace(missing, "btz"));
  EXPECT_FALSE(testing::Exists(dir.File("gone.btz")));

  std::string itself = dir.File("b.btz");
  testing::WriteText(itself, "not to be lost");
  EXPECT_FALSE(ZipFileInPlace(itself, "btz"));
  EXPECT_EQ(testing::ReadText(itself), "not to be lost");

  EXPECT_EQ(prompts.messages,
            (std::vector<std::string>{"Zip file creation failed\n" + dir.File("a.btz"),
                                      "Adding file operation failed: " + dir.File("gone.btxml") + "\nNo such file or directory",
                                      "Zip file creation failed\n" + dir.File("b.btz") +
                                          ": the archive would replace the file it packs"}));
}

TEST(ZipBundle, SavedDocumentComesBackFromItsBundle) {
  testing::ScriptedPrompts prompts;
  InstallBundlePacker();
  TempDir dir;
  XMLWriter writer;
  writer.SetFileName(dir.File("Song.btxml"), true);
  writer.InsertEndChild(writer.NewElement("VornelTabXML"))->ToElement()->SetAttribute("version", "1.0");
  ASSERT_TRUE(writer.SaveToFile(true));
  EXPECT_EQ(writer.GetFileName(), dir.File("Song.btz"));
  EXPECT_FALSE(testing::Exists(dir.File("Song.btxml")));

  // A document of the same name beside the bundle is neither read nor overwritten, and the
  // bundle's document is unpacked in memory.
  testing::WriteText(dir.File("Song.btxml"), "another document");
  const UnzippedBundle bundle = UnzipBundle(dir.File("Song.btz"));
  ASSERT_EQ(bundle.status, BundleStatus::kExtracted);
  EXPECT_EQ(bundle.document, writer.ToXmlText());
  EXPECT_EQ(testing::ReadText(dir.File("Song.btxml")), "another document");
}

// A bundle is known by what it holds: the document named like the bundle, else (a bundle its
// user renamed) the first document it holds; one without a document is told from one that
// cannot be read.
TEST(ZipBundle, FindsItsDocumentByWhatItHolds) {
  TempDir dir;
  testing::MakeArchive(dir, {{"notes.txt", "text"}, {"Other.btxml", "<x/>"}, {"Third.btxml", "<y/>"}}, "Mine (1).btz");
  testing::MakeArchive(dir, {{"Other.btxml", "<x/>"}, {"SONG.BTXML", "<song/>"}}, "Song.btz");
  testing::MakeArchive(dir, {{"notes.txt", "text"}}, "Empty.btz");
  testing::WriteText(dir.File("Text.btz"), "not an archive");

  const UnzippedBundle renamed = UnzipBundle(dir.File("Mine (1).btz"));
  ASSERT_EQ(renamed.status, BundleStatus::kExtracted);
  EXPECT_EQ(renamed.document, "<x/>");
  const UnzippedBundle song = UnzipBundle(dir.File("Song.btz"));
  ASSERT_EQ(song.status, BundleStatus::kExtracted);
  EXPECT_EQ(song.document, "<song/>");
  EXPECT_EQ(UnzipBundle(dir.File("Empty.btz")).status, BundleStatus::kNoDocument);
  const UnzippedBundle text = UnzipBundle(dir.File("Text.btz"));
  EXPECT_EQ(text.status, BundleStatus::kUnreadable);
  EXPECT_EQ(text.reason, "The file is not a zip archive, or its directory is damaged.");
  const UnzippedBundle missing = UnzipBundle(dir.File("Missing.btz"));
  EXPECT_EQ(missing.status, BundleStatus::kUnreadable);
  EXPECT_EQ(missing.reason, "The file cannot be opened.");
}

// A bundle's document may unpack to 64 MiB and 64 bytes per packed byte: one that declares more
// packs tighter than any document and is refused before a byte is inflated; one whose size is a
// lie is refused as it inflates. The open says which.
struct LyingBundleCase {
  const char* name;
  uint32_t declared;
  const char* reason;
};

class ZipBundleLies : public ::testing::TestWithParam<LyingBundleCase> {};

TEST_P(ZipBundleLies, AreRefusedSayingWhy) {
  TempDir dir;
  const std::string path = testing::MakeArchive(dir, {{"Bomb.btxml", std::string(100000, ' ')}}, "Bomb.btz");
  std::vector<uint8_t> bytes = testing::ReadBytes(path);
  const size_t central = bytes.size() - 22 - (46 + 10 + 9);
  for (int i = 0; i < 4; ++i) bytes[central + 24 + i] = static_cast<uint8_t>(GetParam().declared >> (8 * i));
  testing::WriteBytes(path, bytes);

  const UnzippedBundle bomb = UnzipBundle(path);
  EXPECT_EQ(bomb.status, BundleStatus::kUnreadable);
  EXPECT_TRUE(bomb.document.empty());
  testing::ScriptedPrompts prompts;
  CVornelTabDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument(path));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with("Fatal error: Unable to unzip this file\nBomb.btxml: "));
  EXPECT_NE(prompts.messages[0].find(GetParam().reason), std::string::npos) << prompts.messages[0];
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipBundleLies,
    ::testing::Values(
        LyingBundleCase{"beyond_what_its_size_allows", 80u << 20,
                        " allowed for that packed size (67108864 and 64 per packed byte). No document packs so tightly."},
        LyingBundleCase{"beyond_any_document", 0xFFFFFFFF, "more than the 1073741824 allowed."},
        LyingBundleCase{"fewer_bytes_than_it_holds", 1000, "it unpacks to more than the 1000 bytes it declares."},
        LyingBundleCase{"more_bytes_than_it_holds", 200000, "it unpacks to 100000 bytes, not the 200000 it declares."}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vornel
