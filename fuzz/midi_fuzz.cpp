// The Standard MIDI File reader on hostile bytes, followed by everything an import does with
// what it read: the merge of the tracks, rescaling, quantising, note pairing and the cut at
// bar lines. Refusing is the expected outcome for most inputs; any crash, hang or huge
// allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <span>

#include "midi/CIMidiDoc.h"
#include "midi/MidiImportNotes.h"
#include "midi/MidiTime.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vornel::CIMidiDoc doc;
  if (!doc.Parse(std::span(data, size))) return 0;
  doc.tracks.MergeTrackBuffers();
  const vornel::MidiMeter meter = vornel::MidiMeter::From(doc.tracks.numerator, doc.tracks.denominator);
  vornel::RescaleMidiMetaRecords(doc.tracks.metaRecords, doc.division);
  vornel::PrepareImportedMidiNotes(doc.tracks.merged, doc.division, size % 7, meter.barTicks);
  return 0;
}
