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

  EXPECT_EQ(prompts.messages, (std::vector<std::string>{"Zip file creation failed",
                                                        "Adding file operation failed: " + dir.File("gone.btxml"),
                                                        "Zip file creation failed"}));
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

  // A document of the same name beside the bundle is neither read nor overwritten.
  testing::WriteText(dir.File("Song.btxml"), "another document");
  std::string folder;
  {
    const UnzippedBundle bundle = UnzipBundle(dir.File("Song.btz"));
    ASSERT_EQ(bundle.status, BundleStatus::kExtracted);
    folder = bundle.folder.Path();
    EXPECT_EQ(bundle.documentPath, folder + "/Song.btxml");
    EXPECT_EQ(testing::ReadText(bundle.documentPath), writer.ToXmlText());
  }
  EXPECT_EQ(testing::ReadText(dir.File("Song.btxml")), "another document");
  EXPECT_FALSE(testing::Exists(folder));
}

TEST(ZipBundle, TellsAMissingDocumentFromAnUnreadableBundle) {
  TempDir dir;
  const auto makeBundle = [&](const std::string& bundle, const std::string& entry, const std::string& text) {
    testing::WriteText(dir.File("source"), text);
    ZipHandlePtr zip = CreateZip(dir.File(bundle));
    ASSERT_EQ(ZipAdd(zip.get(), entry, dir.File("source")), kZipOk);
    ASSERT_EQ(CloseZip(zip.get()), kZipOk);
  };
  makeBundle("Mine.btz", "Other.btxml", "<x/>");
  makeBundle("Song.btz", "SONG.BTXML", "<song/>");
  testing::WriteText(dir.File("Text.btz"), "not an archive");

  EXPECT_EQ(UnzipBundle(dir.File("Mine.btz")).status, BundleStatus::kNoDocument);
  EXPECT_EQ(UnzipBundle(dir.File("Text.btz")).status, BundleStatus::kUnreadable);
  EXPECT_EQ(UnzipBundle(dir.File("Missing.btz")).status, BundleStatus::kUnreadable);
  const UnzippedBundle song = UnzipBundle(dir.File("Song.btz"));
  ASSERT_EQ(song.status, BundleStatus::kExtracted);
  EXPECT_EQ(testing::ReadText(song.documentPath), "<song/>");
}

// A document that packs a thousand times tighter than any XML document is a zip bomb: it is
// refused before a byte of it is unpacked, and the open says why.
TEST(ZipBundle, AZipBombIsRefusedBeforeItIsUnpacked) {
  TempDir dir;
  testing::WriteText(dir.File("source"), std::string(8 << 20, ' '));
  ZipHandlePtr zip = CreateZip(dir.File("Bomb.btz"));
  ASSERT_EQ(ZipAdd(zip.get(), "Bomb.btxml", dir.File("source")), kZipOk);
  ASSERT_EQ(CloseZip(zip.get()), kZipOk);
  ASSERT_LT(std::filesystem::file_size(dir.File("Bomb.btz")), size_t(16) << 10);

  const UnzippedBundle bomb = UnzipBundle(dir.File("Bomb.btz"));
  EXPECT_EQ(bomb.status, BundleStatus::kUnreadable);
  EXPECT_NE(bomb.reason.find("Bomb.btxml would unpack to 8388608 bytes"), std::string::npos) << bomb.reason;
  EXPECT_TRUE(std::filesystem::is_empty(bomb.folder.Path()));

  testing::ScriptedPrompts prompts;
  CVornelTabDoc doc;
  EXPECT_FALSE(doc.OnOpenDocument(dir.File("Bomb.btz")));
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_TRUE(prompts.messages[0].starts_with("Fatal error: Unable to unzip this file\nBomb.btxml would unpack"))
      << prompts.messages[0];
}

}  // namespace
}  // namespace vornel
