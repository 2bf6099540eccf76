// Archives of ours checked by Info-ZIP's unzip and Python's zipfile, and archives written by
// Info-ZIP's zip (and by another program, in the corpus) read by ours. Skipped where those
// programs are not installed.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>

#include "ZipTestSupport.h"

namespace vornel {
namespace {

using testing::TempDir;

bool HaveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

int RunShell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string RandomBytes(size_t size) {
  std::mt19937 generator(42);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(generator());
  return bytes;
}

std::string Repeated(size_t lines) {
  std::string text;
  for (size_t i = 0; i < lines; ++i) text += "<chord time=\"" + std::to_string(i) + "\"><note course=\"3\"/></chord>\n";
  return text;
}

TEST(ZipInterop, OurArchivesPassUnzipAndPython) {
  if (!HaveProgram("unzip") || !HaveProgram("python3")) GTEST_SKIP() << "unzip or python3 missing";
  TempDir dir;
  const std::vector<std::pair<std::string, std::string>> entries = {{"Song.btxml", Repeated(20000)},
                                                                    {"empty.txt", ""},
                                                                    {"images\\noise.png", RandomBytes(1 << 20)},
                                                                    {"kept.zip", RandomBytes(5000)},
                                                                    {"Pavane \xC3\xA0 4.txt", "x"}};
  const std::string archive = testing::MakeArchive(dir, entries);
  ASSERT_FALSE(archive.empty());

  EXPECT_EQ(RunShell("unzip -tqq '" + archive + "'"), 0);
  EXPECT_EQ(
      RunShell("python3 -c 'import sys, zipfile; sys.exit(zipfile.ZipFile(sys.argv[1]).testzip() is not None)' '" +
               archive + "'"),
      0);
  ASSERT_EQ(RunShell("python3 -c 'import sys, zipfile; zipfile.ZipFile(sys.argv[1]).extractall(sys.argv[2])' '" +
                     archive + "' '" + dir.File("python") + "'"),
            0);
  for (auto [name, content] : entries) {
    std::replace(name.begin(), name.end(), '\\', '/');
    EXPECT_EQ(testing::ReadText(dir.File("python/" + name)), content) << name;
  }
}

struct InfoZipCase {
  const char* name;
  const char* command;  // run in a folder holding a.txt, b.bin and sub/c.txt; makes out.zip
};

class ZipInteropInfoZip : public ::testing::TestWithParam<InfoZipCase> {};

TEST_P(ZipInteropInfoZip, ReadsWhatZipWrote) {
  if (!HaveProgram("zip")) GTEST_SKIP() << "zip missing";
  TempDir dir;
  std::filesystem::create_directories(dir.File("in/sub"));
  const std::map<std::string, std::string> files = {
      {"a.txt", Repeated(3000)}, {"b.bin", RandomBytes(70000)}, {"sub/c.txt", "small"}};
  for (const auto& [name, content] : files) testing::WriteText(dir.File("in/" + name), content);
  ASSERT_EQ(RunShell("cd '" + dir.File("in") + "' && " + GetParam().command), 0);

  std::filesystem::create_directory(dir.File("out"));
  ZipHandlePtr zip = OpenZip(dir.File("in/out.zip"), dir.File("out"));
  ASSERT_NE(zip, nullptr) << ZipReaderLastResult();
  ZipEntry entry;
  ASSERT_EQ(GetZipItem(zip.get(), -1, entry), kZipOk);
  const int count = entry.index;
  int filesSeen = 0;
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(GetZipItem(zip.get(), i, entry), kZipOk);
    ASSERT_TRUE(IsSafeRelativePath(entry.name)) << entry.name;
    ASSERT_EQ(UnzipItem(zip.get(), i, entry.name), kZipOk) << entry.name;
    if ((entry.attributes & kZipAttrDirectory) != 0) {
      EXPECT_TRUE(std::filesystem::is_directory(dir.File("out/" + entry.name)));
      continue;
    }
    ++filesSeen;
    const std::string name = entry.name == "-" ? "a.txt" : entry.name;  // read from standard input
    EXPECT_EQ(testing::ReadText(dir.File("out/" + entry.name)), files.at(name)) << entry.name;
    if (entry.name != "-") {
      struct stat extracted {};
      struct stat source {};
      ::stat(dir.File("out/" + entry.name).c_str(), &extracted);
      ::stat(dir.File("in/" + name).c_str(), &source);
      EXPECT_EQ(extracted.st_mtime, source.st_mtime) << entry.name;
    }
  }
  EXPECT_GT(filesSeen, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ZipInteropInfoZip,
    ::testing::Values(InfoZipCase{"stored", "zip -q -0 -r out.zip a.txt b.bin sub"},
                      InfoZipCase{"deflated", "zip -q -9 -r out.zip a.txt b.bin sub"},
                      InfoZipCase{"data_descriptors", "zip -q - a.txt b.bin sub/c.txt | cat > out.zip"},
                      InfoZipCase{"from_standard_input", "zip -q -fz- out.zip - < a.txt"},
                      InfoZipCase{"comment", "echo 'a comment on the archive' | zip -q -z out.zip a.txt b.bin"},
                      InfoZipCase{"trailing_junk",
                                  "zip -q out.zip a.txt b.bin && printf 'junk after the end' >> out.zip"},
                      InfoZipCase{"data_in_front", "zip -q x.zip a.txt b.bin && (printf 'stub'; cat x.zip) > out.zip"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ZipInterop, ReadsACompressedMusicXmlFileOfTheCorpus) {
  const std::string path = VORNEL_CORPUS_DIR "/musicxml/90a-Compressed-MusicXML.mxl";
  if (!testing::Exists(path)) GTEST_SKIP() << "corpus missing";
  TempDir dir;
  ZipHandlePtr zip = OpenZip(path, dir.path());
  ASSERT_NE(zip, nullptr);
  int index = -1;
  ZipEntry entry;
  ASSERT_EQ(FindZipItem(zip.get(), "meta-inf/CONTAINER.xml", index, entry), kZipOk);
  ASSERT_EQ(UnzipItem(zip.get(), index, entry.name), kZipOk);
  EXPECT_NE(testing::ReadText(dir.File("META-INF/container.xml")).find("<rootfile"), std::string::npos);
  ASSERT_EQ(GetZipItem(zip.get(), -1, entry), kZipOk);
  for (int i = 0; i < entry.index; ++i) EXPECT_EQ(UnzipItem(zip.get(), i, "entry-" + std::to_string(i)), kZipOk);
}

}  // namespace
}  // namespace vornel
