#pragma once
// A rich-text block: a preface, section texts, the formatted contents or any block of RTF
// kept with its font and name. The RTF is kept as text; laying it out, counting its pages and
// printing them belong to the rich-text renderer of the layout area (layout/richtext/RtfPages.h),
// editing to the rich-text editor (RichTextEditors()).

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "model/text/dfLogFont.h"
#include "platform/archive/Persistent.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

// Where printing a block stands: the page to print next (from 1), the pages found and the
// printed rectangle of the page in twips.
struct RtfPrintInfo {
  int32_t currentPage = 1;
  int32_t maxPage = 0;
  Rect printedRect;
};

class CRTFPreface : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CRTFPreface";
  static constexpr std::string_view kDefaultName = "RTF Text";

  dfLogFont font;
  int32_t pageCount = 0;      // pages found by the last measurement
  RtfPrintInfo printInfo;     // never stored
  std::string name{kDefaultName};
  int32_t readOnly = 0;       // 1: the editor opens read-only and its result is not kept
  std::string text;           // the RTF
  int32_t itemCount = 0;      // bullet items appended

  CRTFPreface() = default;
  explicit CRTFPreface(std::string_view blockName) : name(blockName) {}

  // Replaces the text by a small RTF document showing `title` over `body`.
  void TextToRtf(std::string_view title, std::string_view body);
  // Appends the bullet paragraph "Section <number>: <itemText>" followed by the body of
  // `rtf` after its last group; returns the new item count.
  int32_t AppendRtfBulletItem(std::string_view rtf, int32_t number, std::string_view itemText);

  // Opens the rich-text editor on the text. On OK returns 1 and, unless the block is
  // read-only, keeps the edited RTF (an empty text when the user cleared it); else 0.
  int32_t Edit();

  std::string_view ClassName() const override { return kClassName; }
  // The font, then the RTF.
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // An element named `elementName` with "type" "CRTFPreface" and one child "rtf-text"
  // holding the RTF.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, const char* elementName) const;
  // The RTF is the text of the element's first child element (empty when it has none);
  // returns the element after `element`. A missing element changes nothing.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
  // An element named `elementName` holding, when there is text, the RTF as an HTML fragment
  // (an "rtf-text" element).
  tinyxml2::XMLElement* WriteHtml(tinyxml2::XMLDocument& doc, const char* elementName) const;
};

}  // namespace vornel
