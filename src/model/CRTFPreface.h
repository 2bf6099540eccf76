#pragma once
// A rich-text block: a preface, section texts, the formatted contents or any block of RTF
// kept with its font and name. The RTF is kept as text; laying it out and printing it belong
// to the rich-text renderer.

#include <tinyxml2.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "model/dfLogFont.h"
#include "platform/archive/Persistent.h"

namespace vornel {

class CRTFPreface : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CRTFPreface";
  static constexpr std::string_view kDefaultName = "RTF Text";

  dfLogFont font;
  int32_t pageCount = 0;      // pages found by the last measurement
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
};

}  // namespace vornel
