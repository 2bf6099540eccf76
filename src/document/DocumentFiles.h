#pragma once
// Opening and saving a document file by its extension, for the tools and the other readers of
// documents: one call that opens any form the system reads and gives either the document or
// the system's message.

#include <memory>
#include <string>

#include "document/CBriotabDoc.h"

namespace vornel {

struct OpenedDocument {
  std::unique_ptr<CBriotabDoc> document;  // null when the file was not opened
  // The messages the system gave while opening, one after the other (a document may open
  // with a warning). They are collected here instead of being shown.
  std::string message;
};

// Opens a binary document or template (".btb", ".btt") or an XML document or template
// (".btxml", ".bttx").
OpenedDocument OpenDocumentFile(const std::string& path);

// Saves the document to `path` in the form its extension names: ".btb" the binary document,
// ".btxml" the XML document. False, after the system's message, when the form is not one
// this system writes or the save failed; the document's own path is left alone.
bool SaveDocumentFile(CBriotabDoc& doc, const std::string& path);

}  // namespace vornel
