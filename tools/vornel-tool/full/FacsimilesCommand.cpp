// facsimiles DOC [--cache DIR]: every facsimile of the title page and of each section, and how
// it resolves as the editor would resolve it, without fetching anything:
//   title-page 1 NAME: file PATH | cached PATH | web image, not cached | web page | missing
//   section 2 1 NAME: ...
// DIR is the cache of downloaded images (the editor's by default).

#include <cstdio>
#include <string>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "model/text/CFacsimileListDlg.h"
#include "view/facsimile/ImageDownload.h"

namespace vornel::tool {

namespace {

std::string Resolution(CBriotabDoc& doc, const std::string& stored, const std::string& cache) {
  if (stored.starts_with("http")) {
    if (!IsImagePath(stored)) return "web page";
    const std::string cached = view::FindCachedImage(cache, stored);
    return cached.empty() ? "web image, not cached" : "cached " + cached;
  }
  std::string path = stored;
  return doc.ResolveFacsimilePath(path) ? "file " + path : "missing";
}

void List(CBriotabDoc& doc, const CFacsimileListDlg& list, const std::string& where, const std::string& cache) {
  for (size_t i = 0; i < list.size(); ++i) {
    const std::string stored = list.GetImagePath(i);
    std::printf("%s %zu %s: %s\n", where.c_str(), i + 1, stored.c_str(), Resolution(doc, stored, cache).c_str());
  }
}

int Facsimiles(const CommandArguments& args) {
  std::string cache = view::ImageCacheFolder();
  if (args.size() == 3 && args[1] == "--cache") cache = args[2];
  else if (args.size() != 1) return PrintUsage("facsimiles");
  PrintedPrompts prompts;
  ScopedPrompts scope(prompts);
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(args[0]);
  if (!doc) return 1;
  List(*doc, doc->settings.titlePage.imageList, "title-page", cache);
  for (size_t s = 0; s < doc->sections.size(); ++s) {
    if (const CSystemArray* section = doc->sections.at(s)) {
      List(*doc, section->facsimiles, "section " + std::to_string(s + 1), cache);
    }
  }
  return 0;
}

const ToolCommand registration("facsimiles", "facsimiles DOC [--cache DIR]",
                               "list a document's facsimiles and how each resolves", Facsimiles);

}  // namespace

}  // namespace vornel::tool
