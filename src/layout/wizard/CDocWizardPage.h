#pragma once
// The first page of the new-document wizard ("Book generation wizard"): the general
// information of the document (title and author, title-page image, orientation and margins,
// printing options), exchanged with the document.

#include <cstdint>
#include <string>
#include <string_view>

namespace vornel {

class CBriotabDoc;

struct CDocWizardPage {
  static constexpr std::string_view kCaption = "Book generation wizard";

  int32_t alternateMargins = 0;
  std::string imagePath;
  int32_t firstMargin = 0;    // top margin
  int32_t orientation = -1;   // 0 portrait, 1 landscape
  std::string title;
  std::string author;
  int32_t printTitlePage = 0;
  int32_t printContents = 0;  // bit 0 of the document's flag only
  int32_t frame = -1;
  int32_t secondMargin = 0;   // left margin
  int32_t printAllSections = 0;
  int32_t newPageOnSection = 0;
  int32_t proportionalSpacing = 0;

  // toPage: the document's values into the fields; otherwise the fields into the document.
  void ExchangeWithDocument(CBriotabDoc& doc, bool toPage);
};

}  // namespace vornel
