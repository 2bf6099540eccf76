// Where the file choosers start: the folder asked for, the last one used, the documents folder,
// never a folder that is not there.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/io/FileDialogFolders.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

TEST(FileDialogFolders, AskedThenLastThenDocuments) {
  testing::TempDir documents;
  testing::TempDir music;
  FileDialogFolders folders;
  EXPECT_EQ(folders.StartFolder({}), "");
  folders.SetDocumentsFolder(documents.path());
  EXPECT_EQ(folders.StartFolder({}), documents.path());
  EXPECT_EQ(folders.StartFolder(music.File("missing")), documents.path());
  // A file chosen in "music": its folder is where the next chooser starts.
  folders.Chosen(music.File("Suite.btxml"));
  EXPECT_EQ(folders.StartFolder({}), music.path());
  EXPECT_EQ(folders.StartFolder(documents.path()), documents.path());
  folders.Chosen(documents.path(), true);
  EXPECT_EQ(folders.StartFolder({}), documents.path());
  // A last folder gone since: the documents folder.
  folders.Chosen(music.File("gone/Suite.btxml"));
  EXPECT_EQ(folders.StartFolder({}), documents.path());
}

}  // namespace
}  // namespace vornel
