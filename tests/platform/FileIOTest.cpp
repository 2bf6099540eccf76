#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/io/FileIO.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

using testing::ReadText;
using testing::TempDir;

size_t FilesIn(const std::string& folder) {
  size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++count;
  return count;
}

TEST(AtomicFile, PiecesReplaceTheFileOnlyWhenCommitted) {
  TempDir dir;
  const std::string path = dir.File("doc.btxml");
  testing::WriteText(path, "old");
  {
    AtomicFile file;
    ASSERT_TRUE(file.Open(path));
    ASSERT_TRUE(file.Write(std::string_view("new ")));
    EXPECT_EQ(ReadText(path), "old");
  }  // dropped: the old file stays and no temporary file is left
  EXPECT_EQ(ReadText(path), "old");
  EXPECT_EQ(FilesIn(dir.path()), 1u);

  AtomicFile file;
  ASSERT_TRUE(file.Open(path));
  ASSERT_TRUE(file.Write(std::string_view("new ")));
  ASSERT_TRUE(file.Write(std::string_view("text")));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(ReadText(path), "new text");
  EXPECT_EQ(FilesIn(dir.path()), 1u);

  std::string error;
  AtomicFile nowhere;
  EXPECT_FALSE(nowhere.Open(dir.File("missing/doc.btxml"), &error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(nowhere.Commit());
}

// A save through a symbolic link writes the file the link names, through a chain of links,
// relative ones read from their own folder; the links stay links. A loop gives the path.
TEST(AtomicFile, WritesThroughSymbolicLinks) {
  namespace fs = std::filesystem;
  TempDir dir;
  fs::create_directory(dir.File("real"));
  testing::WriteText(dir.File("real/doc.btxml"), "old");
  fs::create_symlink("real/doc.btxml", dir.File("near.btxml"));
  fs::create_symlink(dir.File("near.btxml"), dir.File("far.btxml"));
  fs::create_symlink("real/new.btxml", dir.File("dangling.btxml"));
  fs::create_symlink("loop-b", dir.File("loop-a"));
  fs::create_symlink("loop-a", dir.File("loop-b"));
  EXPECT_EQ(fs::path(FinalLinkTarget(dir.File("far.btxml"))).lexically_normal(), fs::path(dir.File("real/doc.btxml")));
  EXPECT_EQ(FinalLinkTarget(dir.File("real/doc.btxml")), dir.File("real/doc.btxml"));
  EXPECT_EQ(FinalLinkTarget(dir.File("loop-a")), dir.File("loop-a"));

  ASSERT_TRUE(WriteFileAtomically(dir.File("far.btxml"), std::string_view("new")));
  EXPECT_TRUE(fs::is_symlink(dir.File("far.btxml")));
  EXPECT_TRUE(fs::is_symlink(dir.File("near.btxml")));
  EXPECT_EQ(ReadText(dir.File("real/doc.btxml")), "new");
  ASSERT_TRUE(WriteFileAtomically(dir.File("dangling.btxml"), std::string_view("made")));
  EXPECT_TRUE(fs::is_symlink(dir.File("dangling.btxml")));
  EXPECT_EQ(ReadText(dir.File("real/new.btxml")), "made");
  EXPECT_EQ(FilesIn(dir.File("real")), 2u);
}

TEST(IsReadOnlyFile, FilesNoOneMayWrite) {
  TempDir dir;
  const std::string path = dir.File("doc.btxml");
  EXPECT_FALSE(IsReadOnlyFile(path));  // none yet
  testing::WriteText(path, "text");
  EXPECT_FALSE(IsReadOnlyFile(path));
  ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
  EXPECT_TRUE(IsReadOnlyFile(path));
  EXPECT_FALSE(IsReadOnlyFile(dir.path()));
}

TEST(ReadFileBytes, RegularFilesUpToTheLimitOnly) {
  TempDir dir;
  const std::string path = dir.File("piece.btb");
  testing::WriteText(path, "12345");
  EXPECT_EQ(ReadFileBytes(path, 5), (std::vector<uint8_t>{'1', '2', '3', '4', '5'}));
  EXPECT_EQ(ReadFileBytes(path, 4), std::nullopt);
  EXPECT_EQ(ReadFileBytes(dir.File("missing.btb")), std::nullopt);
  EXPECT_EQ(ReadFileBytes(dir.path()), std::nullopt);
  // A named pipe without a writer is refused at once instead of blocking the reader.
  const std::string pipe = dir.File("pipe.btb");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(pipe), std::nullopt);
}

}  // namespace
}  // namespace vornel
