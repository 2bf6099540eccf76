#pragma once
// The per-document index "vornel-document": the short description of a document that the
// document groups, the HTML page and the zip package are made from.

#include <tinyxml2.h>

#include <string>

#include "platform/xml/XMLWriter.h"

namespace vornel {

class CBriotabDoc;

// Builds the index of `doc` in `writer` (declaration, "vornel-document" with "root-path" =
// `folder` and "filename" = `fileName`, "synopsis" with the title and author, the short
// "document-settings" and "sections"). The first "facsimiles" of every section is left out
// when the document's index option for facsimiles is clear, its first "midi-file" when the
// option for MIDI files is clear. The writer is emptied first. Always true.
bool WriteDocumentIndex(XMLWriter& writer, const CBriotabDoc& doc, const std::string& folder,
                        const std::string& fileName);

// The index of the document saved at `documentPath`: the folder (without a trailing
// separator) and file name are taken from the path.
bool WriteDocumentIndex(XMLWriter& writer, const CBriotabDoc& doc, const std::string& documentPath);

}  // namespace vornel
