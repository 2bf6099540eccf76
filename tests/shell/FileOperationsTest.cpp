// Files the shell moves, copies and converts: gzip in both directions, the backup folder of
// converted binary documents, images copied beside their document, zip files of several
// files, the desktop's trash.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "document/zip/ZipReader.h"
#include "shell/files/FileHelpers.h"
#include "shell/files/Gzip.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

TEST(Gzip, RoundTripKeepsTheSourceAndNamesTheResult) {
  testing::TempDir dir;
  std::string text;
  for (int i = 0; i < 2000; ++i) text += "course " + std::to_string(i % 13) + " fret " + std::to_string(i % 7) + "\n";
  const std::string original = dir.File("piece");
  testing::WriteText(original, text);

  std::string path = original;
  ASSERT_TRUE(RunGzipOnFt3File(path, true));
  EXPECT_EQ(path, original + ".ft3");
  EXPECT_LT(fs::file_size(path), text.size() / 4);
  EXPECT_TRUE(fs::exists(original));

  fs::remove(original);
  ASSERT_TRUE(RunGzipOnFt3File(path, false));
  EXPECT_EQ(path, original);  // ".ft3" removed, dot and all
  EXPECT_EQ(testing::ReadText(path), text);
}

TEST(Gzip, RefusesWhatIsNotGzipAndLeavesEverythingAlone) {
  testing::TempDir dir;
  const std::vector<uint8_t> packed = GzipBytes(std::vector<uint8_t>(100, 'a'));
  ASSERT_FALSE(packed.empty());
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
  };
  const std::vector<Case> cases = {
      {"plain.ft3", {'n', 'o', 't', ' ', 'g', 'z'}},
      {"cut.ft3", std::vector<uint8_t>(packed.begin(), packed.end() - 6)},
      {"empty.ft3", {}},
  };
  for (const Case& c : cases) {
    const std::string file = dir.File(c.name);
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(c.bytes.data()),
                                                static_cast<std::streamsize>(c.bytes.size()));
    std::string path = file;
    EXPECT_FALSE(RunGzipOnFt3File(path, false)) << c.name;
    EXPECT_EQ(path, file);
    EXPECT_FALSE(fs::exists(file.substr(0, file.size() - 4))) << c.name;
  }
  std::string noSuffix = dir.File("piece.gz");
  testing::WriteText(noSuffix, "x");
  EXPECT_FALSE(RunGzipOnFt3File(noSuffix, false));
  // Joined members expand one after the other; a bomb stops at the limit.
  std::vector<uint8_t> two = packed;
  two.insert(two.end(), packed.begin(), packed.end());
  EXPECT_EQ(GunzipBytes(two)->size(), 200u);
  EXPECT_EQ(GunzipBytes(GzipBytes(std::vector<uint8_t>(5000, 0)), 4096), std::nullopt);
}

TEST(BinaryBackup, MovesIntoTheBtbFolderReplacingAnOlderCopy) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  testing::WriteText(dir.File("Suite.btb"), "new");
  fs::create_directory(dir.File("btb"));
  testing::WriteText(dir.File("btb/Suite.btb"), "old");
  std::string path = dir.File("Suite.btb");
  ASSERT_TRUE(MoveBinaryFileToBackup(path));
  EXPECT_EQ(path, dir.File("btb/Suite.btb"));
  EXPECT_EQ(testing::ReadText(path), "new");
  EXPECT_FALSE(fs::exists(dir.File("Suite.btb")));

  // The folder is made when missing.
  testing::WriteText(dir.File("Other.btb"), "x");
  fs::remove_all(dir.File("btb"));
  path = dir.File("Other.btb");
  EXPECT_TRUE(MoveBinaryFileToBackup(path));
  EXPECT_TRUE(prompts.messages.empty());

  // A file where the folder belongs: the system's message, nothing moved.
  testing::TempDir blocked;
  testing::WriteText(blocked.File("btb"), "a file");
  testing::WriteText(blocked.File("A.btb"), "x");
  path = blocked.File("A.btb");
  EXPECT_FALSE(MoveBinaryFileToBackup(path));
  EXPECT_EQ(path, blocked.File("A.btb"));
  EXPECT_EQ(prompts.messages.back(), blocked.File("btb/") +
                                         ":\nUnable to process this directory path. The btb file will not be moved "
                                         "there. ");
}

TEST(ImageCopy, AsksFirstAndAgainBeforeReplacing) {
  testing::ScriptedPrompts prompts;
  testing::TempDir images;
  testing::TempDir documents;
  testing::WriteText(images.File("scan.png"), "new scan");
  testing::WriteText(documents.File("scan.png"), "older scan");

  std::string path = images.File("scan.png");
  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kNo);  // keep the file that is there
  OfferCopyImageToDocumentFolder(path, documents.path());
  EXPECT_EQ(path, images.File("scan.png"));
  EXPECT_EQ(testing::ReadText(documents.File("scan.png")), "older scan");
  EXPECT_EQ(prompts.questions.front(),
            "scan.png: It is recommended that you make a copy of this image in the document's folder.\n"
            "Do you want to do that?");

  prompts.QueueAnswer(Answer::kOk);
  prompts.QueueAnswer(Answer::kYes);
  OfferCopyImageToDocumentFolder(path, documents.path());
  EXPECT_EQ(path, documents.File("scan.png"));
  EXPECT_EQ(testing::ReadText(path), "new scan");

  // An image already in the folder is left alone without a question.
  const size_t asked = prompts.questions.size();
  OfferCopyImageToDocumentFolder(path, documents.path());
  EXPECT_EQ(prompts.questions.size(), asked);
}

TEST(ZipFiles, StoresEachFileUnderItsNameAndSkipsEmptyEntries) {
  testing::ScriptedPrompts prompts;
  testing::TempDir dir;
  testing::WriteText(dir.File("a.mid"), "MThd");
  testing::WriteText(dir.File("b.wav"), "RIFF");
  prompts.QueueFile(dir.File("set.zip"));
  const auto archive = CreateZipFromFiles({dir.File("a.mid"), "", dir.File("b.wav")}, dir.path(), "zip");
  ASSERT_EQ(archive, dir.File("set.zip"));
  const ZipHandlePtr zip = OpenZip(*archive);
  ASSERT_NE(zip, nullptr);
  ZipEntry all;
  GetZipItem(zip.get(), -1, all);
  std::vector<std::string> names;
  for (int i = 0; i < all.index; ++i) {
    ZipEntry entry;
    GetZipItem(zip.get(), i, entry);
    names.push_back(entry.name);
  }
  EXPECT_EQ(names, (std::vector<std::string>{"a.mid", "b.wav"}));

  prompts.QueueFile(dir.File("bad.zip"));
  EXPECT_EQ(CreateZipFromFiles({dir.File("missing.mid")}, dir.path(), "zip"), std::nullopt);
  EXPECT_EQ(prompts.messages.back(), "Adding file operation failed: " + dir.File("missing.mid") + "\nNo such file or directory");
  EXPECT_FALSE(fs::exists(dir.File("bad.zip")));
}

TEST(Trash, AFileThatIsNotThereIsNotTrashed) {
  testing::TempDir dir;
  EXPECT_FALSE(DeleteToRecycleBin(dir.File("missing")));
}

}  // namespace
}  // namespace vornel
