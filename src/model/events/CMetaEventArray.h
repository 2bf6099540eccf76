#pragma once
// The meta-events of one chord, owned. Stored in the binary form as a plain object array.

#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "model/events/CMetaEvent.h"
#include "platform/collections/OwnedArray.h"

namespace vornel {

class XmlSink;

class CPedal;
class CPedalArray;
class nNotes;

class CMetaEventArray : public OwnedArray<CMetaEvent> {
 public:
  bool operator==(const CMetaEventArray& other) const;

  // The first event of a kind, or null.
  CMetaEvent* Find(uint8_t kind) const;
  // Gives the first event of the kind the text and values, or appends a new event.
  CMetaEvent* SetMetaEvent(uint8_t kind, std::string_view text, uint32_t value, int32_t cx, int32_t cy);
  // Appends a pedal event for the pedal at `pedalIndex` of the instrument.
  CMetaEvent* AddPedalEvent(uint32_t pedalIndex);
  // Deletes every event of a kind; returns how many.
  size_t RemoveKind(uint8_t kind);
  // Deletes the events that belong to `note`: its floating ornaments and its grace notes.
  // Call before the note itself is deleted.
  void RemoveNoteEvents(const nNotes& note);
  // Deletes the events that an editor marked for deletion.
  size_t RemoveMarkedForDeletion();
  // Deletes the events marked for deletion and the text events (lyrics, captions, continuo
  // figures, chord names, footnotes) whose text is empty; returns how many.
  size_t RemoveUndrawable();
  // Every meta-event of the chord drawn in order by `draw`: the undrawable ones are deleted
  // first, and those the drawing marked for deletion after. Returns the last event drawn.
  CMetaEvent* DrawAll(const std::function<void(CMetaEvent&)>& draw);
  // Appends to `target` a copy of the first event of a kind and returns it; a caption (kind
  // 5) falls back on the first event of the list. Null when there is nothing to copy.
  CMetaEvent* CopyKindTo(uint8_t kind, CMetaEventArray& target) const;
  // Appends copies of another list's events.
  void CopyAllFrom(const CMetaEventArray& other);
  // The pedals in force at the chord: the instrument's persistent pedals, then those its pedal
  // events name. An event naming no pedal of the array is reported and removed.
  void CollectPedals(std::vector<const CPedal*>& out, const CPedalArray& pedals);
  // Adds or edits the event of a kind through its editor for `view`. A fermata or dynamic
  // chart that is there already is removed instead (null is returned); a new event is kept
  // only when its editor is confirmed. Returns the event, or null when cancelled.
  CMetaEvent* EditMetaEvent(uint8_t kind, uint32_t value, int view);

  // The "meta-events" element.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Empties the list and reads "count" events from the children of a "meta-events" element;
  // stops early at the last child. Returns the element after `element`.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);
};

}  // namespace vornel
