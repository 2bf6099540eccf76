// index DOC [OUT.xml]: the document's index (to the standard output without OUT).
// html DOC|GROUP.vndb OUT.html: the HTML page of a document or of a document group.
// zipdoc DOC OUT.zip: the zip package of a document with its manifest.

#include <cstdio>
#include <filesystem>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/library/DocumentIndex.h"
#include "document/library/HtmlPage.h"
#include "document/library/ZipPackage.h"
#include "platform/io/FileIO.h"
#include "shell/library/CVornelDatabase.h"

namespace vornel::tool {

namespace {

namespace fs = std::filesystem;

std::string AbsolutePath(const std::string& path) { return fs::absolute(path).lexically_normal().string(); }

std::string RootUrlOf(const std::string& page) { return "file://" + fs::path(page).parent_path().string(); }

int Index(const CommandArguments& args) {
  if (args.empty() || args.size() > 2) return PrintUsage("index");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::string path = AbsolutePath(args[0]);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(path);
  if (doc == nullptr) return 1;
  XMLWriter index;
  WriteDocumentIndex(index, *doc, path);
  const std::string text = index.ToXmlText();
  if (args.size() == 1) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
  }
  return WriteFileAtomically(args[1], text) ? 0 : 1;
}

int Html(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("html");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::string path = AbsolutePath(args[0]);
  const std::string page = AbsolutePath(args[1]);
  if (path.ends_with(".vndb")) {
    CVornelDatabase group;
    if (!group.OpenFile(path)) {
      std::fprintf(stderr, "Cannot open database file: %s\n", path.c_str());
      return 1;
    }
    tinyxml2::XMLDocument tree;
    SilentProgress progress;
    if (!group.BuildGroupXml(group.ListDocumentPaths(), tree, progress)) return 1;
    return SaveGroupHtmlPage(tree, page, RootUrlOf(page)) ? 0 : 1;
  }
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(path);
  if (doc == nullptr) return 1;
  XMLWriter index;
  WriteDocumentIndex(index, *doc, path);
  return SaveDocumentHtmlPage(index, page, RootUrlOf(page)) ? 0 : 1;
}

int ZipDoc(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("zipdoc");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::string path = AbsolutePath(args[0]);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(path);
  if (doc == nullptr) return 1;
  return WriteZipPackage(*doc, path, args[1]) ? 0 : 1;
}

const ToolCommand indexRegistration("index", "index DOC [OUT.xml]", "write the index of a document", Index);
const ToolCommand htmlRegistration("html", "html DOC|GROUP.vndb OUT.html",
                                   "write the HTML page of a document or a document group", Html);
const ToolCommand zipRegistration("zipdoc", "zipdoc DOC OUT.zip",
                                  "pack a document and the files it refers to into a zip package", ZipDoc);

}  // namespace

}  // namespace vornel::tool
