// group build ROOT OUT.vndb [--title T] [--document-root DIR]: a document group of the
// documents under ROOT (the finder's search with its defaults).
// group list GROUP.vndb: the group's members and their sections.
// group reindex GROUP.vndb: rebuilds the group from its members.
// find ROOT [--type N] [--flat]: the finder's search.

#include <cstdio>
#include <filesystem>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "shell/library/CVornelDatabase.h"
#include "shell/library/FileFinder.h"

namespace vornel::tool {

namespace {

namespace fs = std::filesystem;

std::string AbsolutePath(const std::string& path) { return fs::absolute(path).lexically_normal().string(); }

// Progress on the standard error stream, one line per file.
class PrintedProgress : public BatchProgress {
 public:
  void Start(int total, const std::string& title) override { std::fprintf(stderr, "%s: %d files\n", title.c_str(), total); }
  bool Step(int, const std::string& status) override {
    std::fprintf(stderr, "%s\n", status.c_str());
    return true;
  }
  void Finish() override {}
};

int Build(const CommandArguments& args) {
  if (args.size() < 3) return PrintUsage("group");
  FileFinder finder;
  finder.rootPath = AbsolutePath(args[1]);
  std::string title;
  for (size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--title" && i + 1 < args.size()) {
      title = CVornelDatabase::CleanGroupTitle(args[++i]);
    } else if (args[i] == "--document-root" && i + 1 < args.size()) {
      finder.documentRoot = AbsolutePath(args[++i]);
    } else {
      return PrintUsage("group");
    }
  }
  finder.Search();
  PrintedProgress progress;
  return finder.BuildGroup(AbsolutePath(args[2]), title, progress) ? 0 : 1;
}

int List(const std::string& path) {
  CVornelDatabase group;
  if (!group.OpenFile(path)) {
    std::fprintf(stderr, "Cannot open database file: %s\n", path.c_str());
    return 1;
  }
  std::printf("version %s\nroot %s\ntitle %s\n", group.version.c_str(), group.rootPath.c_str(), group.title.c_str());
  for (const auto& entry : group.entries) {
    std::printf("%d %s \"%s\"\n", entry->index, entry->storedPath.c_str(), entry->title.c_str());
    for (const auto& section : entry->sections) {
      std::printf("  %d \"%s\" \"%s\"\n", section->index, section->title.c_str(), section->secondText.c_str());
    }
  }
  return 0;
}

int Reindex(const std::string& path) {
  CVornelDatabase group;
  if (!group.OpenFile(path)) {
    std::fprintf(stderr, "Cannot open database file: %s\n", path.c_str());
    return 1;
  }
  PrintedProgress progress;
  return group.Reindex(progress) ? 0 : 1;
}

int Group(const CommandArguments& args) {
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  if (!args.empty() && args[0] == "build") return Build(args);
  if (args.size() == 2 && args[0] == "list") return List(AbsolutePath(args[1]));
  if (args.size() == 2 && args[0] == "reindex") return Reindex(AbsolutePath(args[1]));
  return PrintUsage("group");
}

int Find(const CommandArguments& args) {
  if (args.empty()) return PrintUsage("find");
  FileFinder finder;
  finder.rootPath = AbsolutePath(args[0]);
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--flat") {
      finder.recurse = false;
    } else if (args[i] == "--type") {
      if (!ReadNumberOption(args, i, 0, 4, finder.fileType)) return PrintUsage("find");
    } else if (args[i] == "--by-name") {
      finder.sortByFileName = true;
    } else {
      return PrintUsage("find");
    }
  }
  finder.Search();
  for (const std::string& file : finder.files) std::printf("%s\n", file.c_str());
  std::fprintf(stderr, "%s\n", finder.CountText().c_str());
  return 0;
}

const ToolCommand groupRegistration(
    "group", "group build ROOT OUT.vndb [--title T] [--document-root DIR] | group list GROUP.vndb | group reindex GROUP.vndb",
    "build, list or reindex a document group", Group);
const ToolCommand findRegistration("find", "find ROOT [--type N] [--flat] [--by-name]",
                                   "list the document files under a folder", Find);

}  // namespace

}  // namespace vornel::tool
