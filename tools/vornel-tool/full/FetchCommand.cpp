// fetch URL DIR: downloads a web image into the cache folder DIR as the editor does (a second
// run is served from DIR) and prints the cached file's path; "(cached)" follows when nothing
// was fetched.

#include <cstdio>

#include "ToolCommand.h"
#include "view/facsimile/ImageDownload.h"

namespace vornel::tool {

namespace {

int Fetch(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("fetch");
  const view::DownloadOutcome outcome = view::FetchImageToCache(args[0], args[1]);
  if (outcome.path.empty()) {
    std::fprintf(stderr, "vornel-tool fetch: %s\n", outcome.error.c_str());
    return 1;
  }
  std::printf("%s%s\n", outcome.path.c_str(), outcome.fromCache ? " (cached)" : "");
  return 0;
}

const ToolCommand registration("fetch", "fetch URL DIR", "download a web image into a cache folder", Fetch);

}  // namespace

}  // namespace vornel::tool
