// The Standard MIDI File reader on hostile bytes, followed by everything an import does with
// what it read: the merge of the tracks, rescaling, quantising, note pairing, the cut at bar
// lines and the building of instrument lines in a section. Refusing is the expected outcome
// for most inputs; any crash, hang or huge allocation is a fault.

#include <cstddef>
#include <cstdint>
#include <span>

#include "midi/CIMidiDoc.h"
#include "midi/MidiImport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"
#include "SilentPrompts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static vornel::fuzzing::SilentPrompts prompts;
  static vornel::ScopedPrompts scope(prompts);
  vornel::CIMidiDoc doc;
  if (!doc.Parse(std::span(data, size))) return 0;
  vornel::MidiImportOptions options;
  doc.tracks.GetTimeSignature(options.numerator, options.denominator);
  options.tempo = doc.tracks.GetTempo();
  doc.tracks.GetKeySignature(options.keyAccidentals, options.keyMinor);
  options.quantizeLevel = static_cast<int>(size % 7);
  options.mergeTracks = (size & 8) != 0;
  vornel::AllTracksChooser chooser;
  chooser.Choose(doc, options);
  vornel::CInstrumentDlg defaultDefinition;
  defaultDefinition.EnsureStave();
  vornel::CSystemArray section;
  vornel::ImportMidiTracks(doc, options, nullptr, defaultDefinition, section);
  return 0;
}
