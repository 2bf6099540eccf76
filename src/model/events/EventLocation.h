#pragma once
// Where a meta-event was last drawn (hit-test rectangles) and where the user moved it
// (offsets in hundredths of a millimetre), separately for staff notation and tablature.

#include <tinyxml2.h>

#include <cstdint>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class XmlSink;

class ArchiveReader;
class ArchiveWriter;

// A drawn extent: the right and bottom edges lie outside it.
using EventRect = Rect;

class EventLocation {
 public:
  // The view a location part belongs to: 0 staff notation, anything else tablature.
  static constexpr int kNotation = 0;
  static constexpr int kTablature = 1;

  EventRect notation;
  EventRect tablature;
  int32_t notationCx = 0;
  int32_t notationCy = 0;
  int32_t tablatureCx = 0;
  int32_t tablatureCy = 0;

  bool operator==(const EventLocation&) const = default;

  EventRect& Rect(int view) { return view == kNotation ? notation : tablature; }
  const EventRect& Rect(int view) const { return view == kNotation ? notation : tablature; }
  void SetOffset(int view, int32_t cx, int32_t cy);

  // Stores the drawn extent of the event for `view`, corners in any order. Thin extents are
  // widened by 5 on each side so that the event can still be hit.
  void SetRect(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int view);

  // The view's offset as device pixels of a device of `dpiX` × `dpiY` at `zoom` percent
  // (a zoom below 1 counts as 100): the placement every meta-event adds to its anchor.
  Point DeviceOffset(int view, int32_t dpiX, int32_t dpiY, int32_t zoom) const;
  // The event, drawn in `view` at `zoom`, was dropped with its top-left corner at `drop`:
  // the offset grows by the distance moved, divided by the zoom, and the drawn rectangle
  // stays. An event never drawn in the view (its rectangle's left is 0) does not move and
  // false is returned.
  bool Move(int view, Point drop, int32_t dpiX, int32_t dpiY, int32_t zoom);

  // Notation rectangle, tablature rectangle (left, top, right, bottom), then the notation and
  // the tablature offsets: 48 bytes.
  void Store(ArchiveWriter& ar) const;
  void Load(ArchiveReader& ar);

  // The "location" element with its "notation" and "tablature" children.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Reads the first child of `element` as the notation part and the one after it as the
  // tablature part, whatever their names; a missing part reads as zeros.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
