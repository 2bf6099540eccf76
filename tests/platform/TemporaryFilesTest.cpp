#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/io/FileIO.h"
#include "platform/io/TemporaryFiles.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A save or a bundle open killed midway leaves its temporary file beside the document and its
// private folder in the temporary folder. The next run removes both once their process is
// gone, and nothing of a process that still runs, nor anything that only looks like ours.
TEST(TemporaryFiles, WhatAProcessThatIsGoneLeftIsRemoved) {
  TempDir dir;
  const std::string journal = dir.File("journal");
  const std::string temporary = dir.File("tmp");
  fs::create_directories(dir.File("documents"));
  fs::create_directories(temporary);
  const pid_t child = fork();
  if (child == 0) {
    ::setenv("TMPDIR", temporary.c_str(), 1);
    SetTemporaryJournal(journal);
    AtomicFile file;
    const bool opened = file.Open(dir.File("documents/Song.btxml"));
    const bool folder = !MakeTemporaryFolder().empty();
    _exit(opened && folder ? 0 : 1);  // killed midway: nothing is cleaned up
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(WEXITSTATUS(status), 0);
  const std::string owner = "vornel-" + std::to_string(child) + "-";
  ASSERT_EQ(Names(dir.File("documents")).size(), 1u);
  EXPECT_TRUE(Names(dir.File("documents"))[0].starts_with("Song.btxml." + owner));
  ASSERT_EQ(Names(temporary).size(), 1u);
  EXPECT_TRUE(Names(temporary)[0].starts_with(owner));

  // What this process has, and a file named like ours that no note names, stay.
  SetTemporaryJournal(journal);
  AtomicFile mine;
  ASSERT_TRUE(mine.Open(dir.File("documents/Mine.btxml")));
  testing::WriteText(dir.File("documents/Other.btxml." + owner + "abcdef"), "not noted");
  fs::create_directories(temporary + "/vornel-" + std::to_string(::getpid()) + "-abcdef");

  EXPECT_EQ(RemoveLeftoverTemporaries(journal, temporary), 2u);
  const std::vector<std::string> documents = Names(dir.File("documents"));
  ASSERT_EQ(documents.size(), 2u);
  EXPECT_TRUE(documents[0].starts_with("Mine.btxml.vornel-" + std::to_string(::getpid()) + "-"));
  EXPECT_EQ(documents[1], "Other.btxml." + owner + "abcdef");
  EXPECT_EQ(Names(temporary), std::vector<std::string>{"vornel-" + std::to_string(::getpid()) + "-abcdef"});
  EXPECT_EQ(Names(journal).size(), 1u);  // the note of this process's file

  ASSERT_TRUE(mine.Write(std::string_view("text")));
  ASSERT_TRUE(mine.Commit());
  EXPECT_TRUE(Names(journal).empty());  // a file put in place is forgotten
  SetTemporaryJournal({});
}

}  // namespace
}  // namespace vornel
