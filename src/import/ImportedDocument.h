#pragma once
// What every import does to the document it brings sections into, whatever the format: a
// document without a title takes one, so that its pages' headers and footers read well.

#include <cstddef>
#include <string>

namespace vornel {

class CBriotabDoc;

// When the document's title text is empty, it becomes the title of the first of the `added`
// sections at the end of the list, else the name of the file or folder at `path` without its
// extension. Nothing happens when nothing was added.
void TitleImportedDocument(CBriotabDoc& doc, size_t added, const std::string& path);

}  // namespace vornel
