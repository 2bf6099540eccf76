// The shell's small rules as tables: start-up decisions, the recent-file filter, path texts,
// template names, paper sizes, window tabs, the view list and the looks.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/app/ApplicationLooks.h"
#include "shell/frame/CViewManager.h"
#include "shell/files/FileHelpers.h"
#include "shell/files/PaperSizes.h"
#include "shell/files/PathHelpers.h"
#include "shell/app/Profile.h"
#include "shell/app/RecentFileList.h"
#include "shell/app/StartupCommand.h"
#include "shell/frame/WindowTabs.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

struct StartupCase {
  std::vector<std::string> commandLine;
  bool openLast;
  std::string file1;
  bool file1Exists;
  StartupAction action;
  std::vector<std::string> paths;
};

TEST(StartupCommand, DecisionTable) {
  const std::vector<StartupCase> cases = {
      // A path on the command line is opened whatever the switch says; each in its own tab.
      {{"a.btz", "b.btxml"}, false, "", false, StartupAction::kOpenFiles, {"a.btz", "b.btxml"}},
      {{"a.btz"}, true, "last.btz", true, StartupAction::kOpenFiles, {"a.btz"}},
      // Nothing on the command line, the switch clear: no document at all.
      {{}, false, "last.btz", true, StartupAction::kNothing, {}},
      {{}, false, "", false, StartupAction::kNothing, {}},
      // The switch set: the newest recent file when it exists, nothing when it is gone, a new
      // document when the list is empty.
      {{}, true, "last.btz", true, StartupAction::kOpenFiles, {"last.btz"}},
      {{}, true, "deleted.btz", false, StartupAction::kNothing, {}},
      {{}, true, "", false, StartupAction::kNewDocument, {}},
  };
  for (const StartupCase& c : cases) {
    const StartupCommand command = DecideStartupCommand(c.commandLine, c.openLast, c.file1, c.file1Exists);
    EXPECT_EQ(command.action, c.action) << c.file1 << " " << c.openLast;
    EXPECT_EQ(command.paths, c.paths);
  }
}

TEST(StartupCommand, CommandLineSwitches) {
  const CommandLine line = ParseCommandLine({"--no-splash", "a.btz", "--report-startup", "--zap", "--", "--odd.btz"});
  EXPECT_FALSE(line.showSplash);
  EXPECT_TRUE(line.reportStartup);
  EXPECT_EQ(line.paths, (std::vector<std::string>{"a.btz", "--odd.btz"}));
  EXPECT_EQ(line.unknownOptions, std::vector<std::string>{"--zap"});
  EXPECT_TRUE(ParseCommandLine({}).showSplash);
}

TEST(RecentFiles, OnlyExistingDocumentsAreListedNewestFirstTwelveAtMost) {
  testing::TempDir dir;
  for (const char* name : {"a.btb", "b.btt", "c.bttx", "d.btxml", "e.btz", "f.txt", "G.BTZ"}) {
    testing::WriteText(dir.File(name), "x");
  }
  std::filesystem::create_directory(dir.File("folder.btz"));
  RecentFileList list;
  for (const char* name : {"a.btb", "b.btt", "c.bttx", "d.btxml", "e.btz"}) EXPECT_TRUE(list.Add(dir.File(name))) << name;
  EXPECT_FALSE(list.Add(dir.File("f.txt")));
  EXPECT_FALSE(list.Add(dir.File("missing.btz")));
  EXPECT_FALSE(list.Add(dir.File("folder.btz")));
  EXPECT_TRUE(list.Add(dir.File("G.BTZ")));  // the extension is compared without regard to case
  EXPECT_TRUE(list.Add(dir.File("a.btb")));  // moves to the front
  EXPECT_EQ(list.Paths().front(), dir.File("a.btb"));
  EXPECT_EQ(list.Paths().size(), 6u);
  for (int i = 0; i < 20; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "n%d.btz", i);
    const std::string path = dir.File(name);
    testing::WriteText(path, "x");
    list.Add(path);
  }
  EXPECT_EQ(list.Paths().size(), 12u);
  MemoryProfile profile;
  list.Save(profile);
  EXPECT_EQ(profile.GetText(kRecentFileSection, "File1"), dir.File("n19.btz"));
  EXPECT_EQ(profile.GetText(kRecentFileSection, "File12"), dir.File("n8.btz"));
  RecentFileList loaded;
  loaded.Load(profile);
  EXPECT_EQ(loaded.Paths(), list.Paths());
}

TEST(PathHelpers, SplitOnBothSeparators) {
  struct Case {
    const char* path;
    const char* folder;
    const char* name;
    const char* title;
  };
  const Case cases[] = {
      {"/home/me/Suite.btz", "/home/me/", "Suite.btz", "Suite"},
      {"C:\\Lute\\Suite.btb", "C:\\Lute\\", "Suite.btb", "Suite"},
      {"mixed\\dir/a.b.btxml", "mixed\\dir/", "a.b.btxml", "a.b"},
      {"plain", "", "plain", "plain"},
      {"/dir/.hidden", "/dir/", ".hidden", ".hidden"},
      {"/dir/", "/dir/", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GetPathFolder(c.path), c.folder) << c.path;
    EXPECT_EQ(GetPathFileName(c.path), c.name) << c.path;
    EXPECT_EQ(GetPathFileTitle(c.path, false), c.title) << c.path;
    EXPECT_EQ(GetPathFileTitle(c.path, true), c.name) << c.path;
  }
  EXPECT_EQ(WithTrailingSeparator("/a/b//"), "/a/b/");
  EXPECT_EQ(WithTrailingSeparator("C:\\x\\"), "C:\\x/");
  std::tm date{};
  date.tm_year = 124;
  date.tm_mon = 2;
  date.tm_mday = 5;
  EXPECT_EQ(FormatDate(date), "2024, March 05");
  EXPECT_EQ(GetDocumentRootUrl("example.org/tabs", "/x/"), "http://example.org/tabs");
  EXPECT_EQ(GetDocumentRootUrl("", "/home/me/XML/"), "file:///home/me/XML/");
  EXPECT_EQ(StripHttpScheme("http://example.org"), "example.org");
  EXPECT_EQ(StripHttpScheme("https://example.org"), "https://example.org");
  EXPECT_EQ(ImageListPrefixOf(""), "");
  EXPECT_EQ(ImageListPrefixOf("example.org/tabs"), "http://example.org/tabs/Images/");
  EXPECT_EQ(ImageListPrefixOf("http://example.org/"), "http://example.org/Images/");
  EXPECT_EQ(ImageListPrefixOf("https://example.org"), "https://example.org/Images/");
}

TEST(TemplateNames, SaveFormAndListing) {
  const std::pair<const char*, const char*> names[] = {
      {"/t/Lute", "/t/Lute.bttx"},         {"/t/Lute.btt", "/t/Lute.bttx"},
      {"/t/Lute.bttx", "/t/Lute.bttx"},    {"/t/Lute.btz", "/t/Lute.btz.bttx"},
      {"/t.d/Lute", "/t.d/Lute.bttx"},
  };
  for (const auto& [typed, kept] : names) EXPECT_EQ(TemplateFileName(typed), kept) << typed;

  testing::ScriptedPrompts prompts;
  prompts.QueueFile("/data/New.btt");
  EXPECT_EQ(ChooseTemplateFile(true, "/data/", "/templates/"), "/data/New.bttx");
  prompts.QueueFile("/templates/Old.btt");
  EXPECT_EQ(ChooseTemplateFile(false, "/data/", "/templates/"), "/templates/Old.btt");
  prompts.QueueFile(std::nullopt);
  EXPECT_EQ(ChooseTemplateFile(true, "/data/", "/templates/"), std::nullopt);
  EXPECT_EQ(prompts.filePrompts,
            (std::vector<std::string>{"Save to a Vornel template file|*.bttx||/data/",
                                      "Templates Directory Location|*.btt;*.bttx||/templates/",
                                      "Save to a Vornel template file|*.bttx||/data/"}));

  testing::TempDir dir;
  for (const char* name : {"b.bttx", "a.btt", "a.bttx", "c.btz", "D.BTT"}) testing::WriteText(dir.File(name), "x");
  EXPECT_EQ(ListTemplateFiles(dir.path()), (std::vector<std::string>{"D.BTT", "a.btt", "a.bttx", "b.bttx"}));
  EXPECT_EQ(ListTemplateFiles(dir.File("gone")), std::nullopt);
  EXPECT_EQ(prompts.messages.back(), "Cannot change to template directory: " + dir.File("gone"));
}

TEST(PaperSizes, TableOfCodes) {
  struct Case {
    bool landscape;
    int code;
    PaperSize size;
  };
  const Case cases[] = {
      {false, 9, {2100, 2970}},  {true, 9, {2970, 2100}},  {false, 1, {2159, 2794}}, {true, 5, {3556, 2159}},
      {false, 8, {2970, 4200}},  {false, 11, {1480, 2100}}, {false, 0, {2100, 2970}}, {true, 0, {2100, 2970}},
      {false, 999, {2100, 2970}}, {false, -3, {2100, 2970}},
  };
  for (const Case& c : cases) EXPECT_EQ(GetPrinterPageSize(c.landscape, c.code), c.size) << c.code;
}

TEST(WindowTabs, WidthRule) {
  const int cases[][3] = {
      {1, 1000, 140}, {6, 864, 140},   {7, 864, 119},  {10, 1000, 96},
      {50, 1000, 24}, {10, 100, 24},   {0, 500, 140},  {3, 0, 24},
  };
  for (const auto& c : cases) EXPECT_EQ(WindowTabWidth(c[0], c[1]), c[2]) << c[0] << " in " << c[1];
}

class RecordingStrip : public TabStrip {
 public:
  void InsertTab(std::string_view title, const void*) override { log.push_back("insert " + std::string(title)); }
  void DeleteTab(const void*) override { log.push_back("delete"); }
  void ResizeTabs() override { log.push_back("resize"); }
  std::vector<std::string> log;
};

TEST(ViewManager, AddsAndRemovesViewsUnlessClosing) {
  CViewManager manager;
  RecordingStrip strip;
  manager.SetTabStrip(&strip);
  int a = 0;
  int b = 0;
  int never = 0;
  manager.AddView(&a, "Suite.btz");
  manager.AddView(&b, "Pavan.btxml");
  manager.RemoveView(&never);
  EXPECT_EQ(manager.Count(), 2u);
  manager.SetClosing(true);
  manager.AddView(&never, "x");
  manager.RemoveView(&a);
  EXPECT_EQ(manager.Count(), 2u);
  manager.SetClosing(false);
  manager.RemoveView(&a);
  EXPECT_EQ(manager.Count(), 1u);
  EXPECT_EQ(manager.Title(0), "Pavan.btxml");
  EXPECT_EQ(manager.IndexOf(&a), -1);
  EXPECT_EQ(strip.log, (std::vector<std::string>{"insert Suite.btz", "resize", "insert Pavan.btxml", "resize", "delete"}));
}

TEST(Looks, EveryStoredValueSelectsALook) {
  EXPECT_EQ(LookFor(214).art, RibbonArt::kAui);
  EXPECT_EQ(LookFor(215).art, RibbonArt::kMsw);
  EXPECT_EQ(LookFor(215).id, 215);
  for (int id = kFirstLook; id <= kLastLook; ++id) EXPECT_EQ(LookFor(id).id, id);
  EXPECT_EQ(LookFor(0).id, kDefaultLook);
  EXPECT_EQ(ValidLook(220), kDefaultLook);
}

TEST(Profile, NumbersAndTexts) {
  MemoryProfile profile;
  profile.WriteText("S", "colour", "4294967295");
  profile.WriteText("S", "bad", "12x");
  profile.WriteInt("S", "zoom", -5);
  EXPECT_EQ(profile.GetInt("S", "colour", 0), -1);
  EXPECT_EQ(profile.GetInt("S", "bad", 7), 7);
  EXPECT_EQ(profile.GetInt("S", "zoom", 0), -5);
  EXPECT_EQ(profile.GetInt("S", "absent", 3), 3);
  EXPECT_EQ(profile.GetText("S", "absent", "x"), "x");
  profile.Remove("S", "zoom");
  EXPECT_EQ(profile.ReadText("S", "zoom"), std::nullopt);
}

}  // namespace
}  // namespace vornel
