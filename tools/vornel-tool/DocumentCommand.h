#pragma once
// What the commands on documents share: opening a file by the system's own open path.

#include <cstdio>
#include <memory>
#include <string>

#include "document/DocumentFiles.h"

namespace vornel::tool {

// The document at `path` in any form the system reads, or null. The messages the system gave
// while opening go to the standard error stream.
inline std::unique_ptr<CVornelTabDoc> OpenDocument(const std::string& path) {
  OpenedDocument opened = OpenDocumentFile(path);
  if (!opened.message.empty()) std::fprintf(stderr, "%s\n", opened.message.c_str());
  return std::move(opened.document);
}

}  // namespace vornel::tool
