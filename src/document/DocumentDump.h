#pragma once
// A canonical text of a document's stored content, for tests and reviews: every field that
// either stored form (binary record or XML element) keeps, one per line, indented by the
// object tree. Values the program computes while it lays out and draws (rectangles drawn,
// gathered voices, bar lists) are not part of a document and are left out, so two documents
// with the same content give the same text whichever file form they came from, as far as
// both forms keep the field.

#include <string>

namespace vornel {

class CBriotabDoc;

std::string DumpDocument(const CBriotabDoc& doc);

}  // namespace vornel
