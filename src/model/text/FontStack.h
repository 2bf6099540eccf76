#pragma once
// An ordered list of text-font descriptions, owned, for the texts of a page or a document.

#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "model/text/dfLogFont.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class FontStack : public Persistent, public OwnedArray<dfLogFont> {
 public:
  static constexpr std::string_view kClassName = "FontStack";

  // What the stack is for, as last read from a "font-stack" element.
  std::string target;

  std::string_view ClassName() const override { return kClassName; }
  // Count, then each font by reference with its class name.
  void Store(ArchiveWriter& ar) const override;
  // A null entry in the file becomes a default font, so every index holds a font.
  void Load(ArchiveReader& ar) override;

  // Assigns each font of `other` to the font at the same index here (as far as both reach).
  void CopyFrom(const FontStack& other);

  // "font-stack" with "target", "count" and one "track-font" with its "index" per font.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc, std::string_view targetName) const;
  // Reads into the fonts the stack already holds; a "count" beyond them, or beyond the
  // elements present, is ignored. Returns the element after "font-stack".
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
