#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vornel
