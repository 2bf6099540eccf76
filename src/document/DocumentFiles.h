#pragma once
// Opening and saving a document file by its extension, for the tools and the other readers of
// documents: one call that opens any form the system reads and gives either the document or
// the system's message.

#include <memory>
#include <optional>
#include <string>

#include "document/CVornelTabDoc.h"

namespace vornel {

struct OpenedDocument {
  std::unique_ptr<CVornelTabDoc> document;  // null when the file was not opened
  // The messages the system gave while opening, one after the other (a document may open
  // with a warning). They are collected here instead of being shown.
  std::string message;
};

// Opens a document of any form the system reads: ".btxml" (or the ".btz" of the same name
// when it is missing), ".btz", ".bttx", ".btb" and ".btt".
OpenedDocument OpenDocumentFile(const std::string& path);

// Saves the document to `path` in the form its extension names: ".btb" the binary document,
// ".btxml" the XML document, ".btz" a bundle holding it, ".bttx" (or ".btt", written as
// ".bttx") the XML template of the active section. Returns the path written (the file the user
// chose instead, when `path` is read-only); nothing, after the system's message, when the form
// is not one this system writes, the save failed or the user cancelled it. The document's own
// path name is left alone.
std::optional<std::string> SaveDocumentFile(CVornelTabDoc& doc, const std::string& path);

}  // namespace vornel
