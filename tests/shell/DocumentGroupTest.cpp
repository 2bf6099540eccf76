// Document groups (".vndb") and the file finder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "document/DocumentFiles.h"
#include "platform/archive/ArchiveError.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/io/FileIO.h"
#include "platform/xml/XmlHelpers.h"
#include "shell/library/CVornelDatabase.h"
#include "shell/library/FileFinder.h"
#include "support/Bytes.h"
#include "support/GoldenFile.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedPrompts;
using testing::TempDir;

CVornelDatabase SmallGroup() {
  CVornelDatabase group("/home/u/Vornel");
  group.rootPath = "ROAMINGDIR\\songs";
  group.title = "Lute_songs";
  auto entry = std::make_unique<CDataBaseDocForm>();
  entry->storedPath = "dowland\\a.btxml";
  entry->title = "Flow my tears";
  entry->extraText2 = "kept";
  auto section = std::make_unique<CDataBaseSectionForm>();
  section->title = "Lachrimae";
  section->secondText = "J. D.";
  section->index = 0;
  section->textList = {"one", "two"};
  entry->sections.push_back(std::move(section));
  group.entries.push_back(std::move(entry));
  return group;
}

TEST(DocumentGroupFileTest, FixtureIsWrittenAndReadByteForByte) {
  const std::vector<uint8_t> bytes = SmallGroup().StoreBytes();
  const std::string fixture = std::string(VORNEL_SOURCE_DIR) + "/tests/shell/data/group.vndb";
  if (std::getenv("VORNEL_UPDATE_GOLDEN") != nullptr) WriteFileAtomically(fixture, bytes);
  const std::vector<uint8_t> stored = ReadFileBytes(fixture).value_or(std::vector<uint8_t>{});
  EXPECT_EQ(bytes, stored);
  CVornelDatabase read;
  read.LoadBytes(stored);
  EXPECT_EQ(read.title, "Lute_songs");
  EXPECT_EQ(read.rootPath, "ROAMINGDIR\\songs");
  ASSERT_EQ(read.entries.size(), 1u);
  EXPECT_EQ(read.entries.at(0)->index, 0);
  EXPECT_EQ(read.entries.at(0)->sections.at(0)->textList, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(read.StoreBytes(), stored);
}

TEST(DocumentGroupFileTest, OldGroupsTakeTheRootAsTitle) {
  for (const auto& [version, titled] : {std::pair{"7.5", false}, std::pair{"7.1", false}, std::pair{"7.6", true}}) {
    ArchiveWriter ar;
    ar.WriteText("VornelDatabaseFile");
    ar.WriteText(version);
    ar.WriteText("C:\\music");
    if (titled) ar.WriteText("Title");
    ar.WriteCount(0);
    CVornelDatabase group;
    group.LoadBytes(ar.Bytes());
    EXPECT_EQ(group.title, titled ? "Title" : "C:\\music") << version;
  }
}

TEST(DocumentGroupFileTest, DamagedFileLeavesTheGroupAsItWas) {
  std::vector<uint8_t> bytes = SmallGroup().StoreBytes();
  CVornelDatabase group = SmallGroup();
  for (size_t cut : {size_t(3), bytes.size() / 2, bytes.size() - 1}) {
    const std::vector<uint8_t> part(bytes.begin(), bytes.begin() + static_cast<long>(cut));
    EXPECT_THROW(group.LoadBytes(part), ArchiveError) << cut;
    EXPECT_EQ(group.entries.size(), 1u);
  }
}

TEST(DocumentGroupPathTest, PortablePathsFollowTheDocumentRoot) {
  CVornelDatabase group("/home/u/Vornel");
  EXPECT_EQ(group.MakePortablePath("/home/u/Vornel/songs//x"), "ROAMINGDIR\\songs\\x");
  EXPECT_EQ(group.MakePortablePath("/home/u/Vornelish/x"), "\\home\\u\\Vornelish\\x");
  group.rootPath = group.MakePortablePath("/home/u/Vornel/songs");
  group.SetDocumentRoot("/mnt/moved/Vornel");
  EXPECT_EQ(group.ResolveRootPath(), "/mnt/moved/Vornel/songs");
  auto entry = std::make_unique<CDataBaseDocForm>();
  entry->storedPath = "sub\\a.btxml";
  group.entries.push_back(std::move(entry));
  EXPECT_EQ(group.ListDocumentPaths(), std::vector<std::string>{"/mnt/moved/Vornel/songs/sub/a.btxml"});
}

TEST(DocumentGroupPathTest, TitleReplacements) {
  const std::pair<std::string, std::string> cases[] = {
      {"Lute: songs & airs\\1", "Lute__songs_+_airs-1"}, {"plain", "plain"}, {"", ""}};
  for (const auto& [typed, cleaned] : cases) EXPECT_EQ(CVornelDatabase::CleanGroupTitle(typed), cleaned);
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  std::string title = "old";
  prompts.QueueText(std::nullopt);
  EXPECT_FALSE(CVornelDatabase::AskGroupTitle(title));
  EXPECT_EQ(title, "old");
  prompts.QueueText("a b");
  EXPECT_TRUE(CVornelDatabase::AskGroupTitle(title));
  EXPECT_EQ(title, "a_b");
}

TEST(DocumentGroupPathTest, OnlyTheLeadingRootIsTakenOff) {
  tinyxml2::XMLDocument tree;
  ASSERT_EQ(tree.Parse(R"(<DocumentGroup root-path="/tmp/r"><synopsis/><documents count="1">
    <document name="r.btxml" subdirectory="x/tmp/r"><metadata><track-texts><track-text>T</track-text></track-texts>
    </metadata><sections count="0"/></document></documents></DocumentGroup>)"),
            tinyxml2::XML_SUCCESS);
  CVornelDatabase group;
  group.ReadGroupXml(tree);
  ASSERT_EQ(group.entries.size(), 1u);
  EXPECT_EQ(group.entries.at(0)->storedPath, "x\\tmp\\r\\r.btxml");
  EXPECT_EQ(group.ListDocumentPaths(), std::vector<std::string>{"/tmp/r/x/tmp/r/r.btxml"});
}

TEST(DocumentGroupPathTest, MismatchedTreeLeavesTheEntries) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  tinyxml2::XMLDocument tree;
  tree.Parse(R"(<DocumentGroup root-path="/r"><synopsis/><documents count="2"><document name="a"><metadata>
    <track-texts/></metadata><sections count="0"/></document><oops/></documents></DocumentGroup>)");
  CVornelDatabase group = SmallGroup();
  EXPECT_THROW(group.ReadGroupXml(tree), XmlTagMismatch);
  EXPECT_EQ(group.entries.size(), 1u);
  EXPECT_EQ(group.rootPath, "ROAMINGDIR\\songs");
}

// A folder of two saved documents.
struct GroupFolder {
  TempDir dir;
  std::string a = dir.File("songs/a.btxml");
  std::string b = dir.File("songs/sub/b.btxml");
  GroupFolder() {
    fs::create_directories(dir.File("songs/sub"));
    CVornelTabDoc doc;
    doc.OnNewDocument();
    doc.settings.Text(CDocumentSettings::kTitle).text = "First";
    EXPECT_TRUE(SaveDocumentFile(doc, a));
    doc.settings.Text(CDocumentSettings::kTitle).text = "Second";
    EXPECT_TRUE(SaveDocumentFile(doc, b));
  }
};

TEST(DocumentGroupTest, AddTwiceIsRefusedAndRemovingTheLastMemberSavesAnEmptyGroup) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  GroupFolder folder;
  CVornelDatabase group(folder.dir.path());
  group.rootPath = group.MakePortablePath(folder.dir.File("songs"));
  group.SetPathName(folder.dir.File("g.vndb"));
  SilentProgress progress;
  ASSERT_NE(group.AddDocument(folder.b, progress), nullptr);
  EXPECT_EQ(group.entries.at(0)->title, "Second");
  EXPECT_EQ(group.entries.at(0)->storedPath, "sub\\b.btxml");
  EXPECT_EQ(group.AddDocument(folder.b, progress), nullptr);
  EXPECT_EQ(prompts.messages.back(), CVornelDatabase::kAlreadyInGroupMessage);
  EXPECT_EQ(group.entries.size(), 1u);

  prompts.QueueAnswer(Answer::kCancel);
  EXPECT_TRUE(group.RemoveDocument(0));
  EXPECT_FALSE(group.RemoveDocument(0));
  CVornelDatabase saved;
  ASSERT_TRUE(saved.OpenFile(folder.dir.File("g.vndb")));
  EXPECT_TRUE(saved.entries.empty());
  EXPECT_TRUE(fs::exists(folder.b));  // not sent to the trash
}

TEST(DocumentGroupTest, OpenAtASection) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  GroupFolder folder;
  FileFinder finder;
  finder.rootPath = folder.dir.File("songs");
  finder.Search();
  SilentProgress progress;
  ASSERT_TRUE(finder.BuildGroup(folder.dir.File("g.vndb"), "t", progress));
  CVornelDatabase group;
  ASSERT_TRUE(group.OpenFile(folder.dir.File("g.vndb")));
  ASSERT_EQ(group.entries.size(), 2u);
  std::string opened;
  auto doc = std::make_unique<CVornelTabDoc>();
  EXPECT_TRUE(group.OpenDocument(1, 0, [&](const std::string& path) {
    opened = path;
    doc->OnOpenDocument(path);
    return doc.get();
  }));
  EXPECT_EQ(opened, folder.b);
  fs::remove(folder.a);
  EXPECT_FALSE(group.OpenDocument(0, 0, [](const std::string&) { return nullptr; }));
  EXPECT_EQ(prompts.captions.back(), "Cannot open file");
}

TEST(FileFinderTest, TypesEndingsAndTheProcessedCount) {
  TempDir dir;
  for (const char* name : {"a.btxml", "b.btb", "c.BTB", "d.btz", "e.btt", "f.bttx", "g.txt", "sub/h.btb"}) {
    fs::create_directories(fs::path(dir.File(name)).parent_path());
    std::ofstream(dir.File(name)) << "x";
  }
  fs::create_directory_symlink(dir.path(), dir.File("sub/loop"));
  auto names = [&](int type, bool recurse) {
    std::vector<std::string> out;
    for (const std::string& p : SearchDocumentFiles(dir.path(), type, recurse)) out.push_back(p.substr(dir.path().size() + 1));
    return out;
  };
  EXPECT_EQ(names(0, true), (std::vector<std::string>{"a.btxml", "b.btb", "sub/h.btb"}));
  EXPECT_EQ(names(0, false), (std::vector<std::string>{"a.btxml", "b.btb"}));
  EXPECT_EQ(names(3, true), std::vector<std::string>{"d.btz"});
  EXPECT_EQ(names(4, true), std::vector<std::string>{"e.btt"});
  EXPECT_EQ(ProcessedCount(350, kDefaultMaxFilesToProcess), 200);
  EXPECT_EQ(ProcessedCount(12, kDefaultMaxFilesToProcess), 12);
}

TEST(FileFinderTest, AGroupBuiltFromManyFilesHoldsAndCountsOnlyTheProcessedOnes) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  TempDir dir;
  fs::create_directories(dir.File("songs"));
  for (int i = 0; i < 350; ++i) testing::WriteText(dir.File("songs/s" + std::to_string(i) + ".btxml"), "x");
  FileFinder finder;
  finder.rootPath = dir.File("songs");
  finder.Search();
  EXPECT_EQ(finder.CountText(), "350 files found");
  SilentProgress progress;
  ASSERT_TRUE(finder.BuildGroup(dir.File("g.vndb"), "Many", progress));
  CVornelDatabase group;
  ASSERT_TRUE(group.OpenFile(dir.File("g.vndb")));
  EXPECT_EQ(group.entries.size(), 200u);
  // The page's tree counts what it holds too.
  tinyxml2::XMLDocument tree;
  ASSERT_TRUE(group.BuildGroupXml(group.ListDocumentPaths(), tree, progress));
  EXPECT_EQ(tree.RootElement()->FirstChildElement("documents")->IntAttribute("count"), 200);
}

TEST(FileFinderTest, SortByFileNameIgnoresCaseAndFolders) {
  std::vector<std::string> files = {"/a/z/Bee.btb", "/b/apple.btb", "/a/b/Apple.btb", "/c/banana.btb"};
  SortFoundFiles(files, true);
  EXPECT_EQ(files, (std::vector<std::string>{"/b/apple.btb", "/a/b/Apple.btb", "/c/banana.btb", "/a/z/Bee.btb"}));
  SortFoundFiles(files, false);
  EXPECT_EQ(files, (std::vector<std::string>{"/a/b/Apple.btb", "/a/z/Bee.btb", "/b/apple.btb", "/c/banana.btb"}));
}

TEST(FileFinderTest, CompressReplacesPathsByBundlesAndAsksBeforeReplacing) {
  ScriptedPrompts prompts;
  ScopedPrompts scoped(prompts);
  GroupFolder folder;
  std::ofstream(folder.dir.File("songs/sub/b.btz")) << "old";
  FileFinder finder;
  finder.rootPath = folder.dir.File("songs");
  finder.fileType = 1;
  finder.Search();
  prompts.QueueAnswer(Answer::kNo);
  SilentProgress progress;
  const BatchResult result = finder.Compress(progress);
  EXPECT_EQ(result.succeeded, 1);
  EXPECT_EQ(finder.files, (std::vector<std::string>{folder.dir.File("songs/a.btz"), folder.b}));
  EXPECT_EQ(testing::ReadText(folder.dir.File("songs/sub/b.btz")), "old");
}

TEST(FileFinderTest, ConvertSkipsExistingTargetsUnlessAllowedAndMovesOnlyVerifiedConversions) {
  ScriptedPrompts prompts;
  TempDir dir;
  CVornelTabDoc doc;
  doc.OnNewDocument();
  ASSERT_TRUE(doc.SaveBinary(dir.File("a.btb")));
  ASSERT_TRUE(doc.SaveBinary(dir.File("b.btb")));
  testing::WriteText(dir.File("b.btz"), "kept");
  testing::WriteText(dir.File("c.btb"), "not a document");
  FileFinder finder;
  finder.rootPath = dir.path();
  finder.fileType = 2;
  finder.Search();
  ASSERT_EQ(finder.files.size(), 3u);
  prompts.QueueAnswer(Answer::kNo);  // asked once, for b.btz
  SilentProgress progress;
  const BatchResult result = finder.ConvertToXml(progress);
  EXPECT_EQ(result.succeeded, 1);
  EXPECT_EQ(result.failed, 1);
  EXPECT_EQ(prompts.questions.size(), 1u);
  // a: converted, its binary file moved into the backup folder.
  EXPECT_TRUE(OpenDocumentFile(dir.File("a.btz")).document != nullptr);
  EXPECT_FALSE(fs::exists(dir.File("a.btb")));
  EXPECT_TRUE(fs::exists(dir.File("btb/a.btb")));
  // b: the existing document kept, the binary file left in place.
  EXPECT_EQ(testing::ReadText(dir.File("b.btz")), "kept");
  EXPECT_TRUE(fs::exists(dir.File("b.btb")));
  // c: the failed conversion moves nothing.
  EXPECT_TRUE(fs::exists(dir.File("c.btb")));
  EXPECT_FALSE(fs::exists(dir.File("btb/c.btb")));
  EXPECT_EQ(prompts.messages.back(), "Conversion: 1 files converted successfully. 1 files failed");
}

}  // namespace
}  // namespace vornel
