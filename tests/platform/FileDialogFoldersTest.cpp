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

namespace vornel {
namespace {

TEST(WithPatternExtension, AddsTheSinglePatternsExtensionToANameWithout) {
  struct Case {
    const char* path;
    const char* pattern;
    const char* saved;
  };
  for (const Case& c : {Case{"/home/a/Suite", "*.tab", "/home/a/Suite.tab"},
                        Case{"/home/a/Suite.tab", "*.tab", "/home/a/Suite.tab"},
                        Case{"/home/a/Suite.txt", "*.tab", "/home/a/Suite.txt"},   // an extension of its own
                        Case{"/home/a/v1.2/Suite", "*.tab", "/home/a/v1.2/Suite.tab"},  // a dot in a folder
                        Case{"/home/a/Suite", "*.btz;*.btxml", "/home/a/Suite"},  // more than one pattern
                        Case{"/home/a/Suite", "*", "/home/a/Suite"}, Case{"/home/a/", "*.tab", "/home/a/"}}) {
    EXPECT_EQ(WithPatternExtension(c.path, c.pattern), c.saved) << c.path << " " << c.pattern;
  }
}

}  // namespace
}  // namespace vornel
