#pragma once
// An owning list of track texts: the metadata texts of a document, the four texts of the
// title page. Readers fill the texts the stack already holds; they never add texts.

#include <tinyxml2.h>

#include <functional>

#include "model/text/CTrackText.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class CTextStack : public OwnedArray<CTrackText> {
 public:
  // "track-texts" with "count" and one element per text, in order.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Reads "count" texts into the texts held, in order, as far as the elements go. A count
  // above the texts held raises std::out_of_range. Returns the element after "track-texts".
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // An element named `name` with "count" and one "track-font" per text, carrying its
  // descriptor.
  tinyxml2::XMLElement* WriteFontsXml(tinyxml2::XMLDocument& doc, const char* name) const;
  // Reads "count" fonts into the texts' fonts, in order, as far as texts and elements go;
  // returns the element after `element`. A missing element changes nothing.
  const tinyxml2::XMLElement* ReadFontsXml(const tinyxml2::XMLElement* element);

  // Measures every visible text that is not a picture and centres it between the x limits;
  // the span becomes the larger of the two right and of the two bottom limits.
  using Measure = std::function<SizePair(const CTrackText&)>;
  void CalcTextRects(int32_t left, int32_t top, int32_t right, int32_t bottom, const Measure& measure);

  // Empties every text.
  void ClearTexts();
  // Takes each text's font (with its size and zoom) from the text at the same index of
  // `other`, as far as both reach.
  void CopyFormatFrom(const CTextStack& other);
};

}  // namespace vornel
