#pragma once
// The MIDI dialogs as plain structs of their fields, with their checks and their exchange with
// the model: the General MIDI chooser (684), the "MIDI" page of the instrument sheet (720),
// "Midi controllers" (777), "Midi controller  event" (359) and "Imported Midi tracks" (743).
// The window layer (midi/ui) shows them; the core asks for them through MidiEditors(), and
// without them each dialog says that none is installed and changes nothing.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "midi/MidiImport.h"
#include "model/events/MIDIControllers.h"

namespace vornel {

class CInstrumentArray;
class CMetaEvent;
class MidiOutStream;

// "General MIDI instruments": the names of a channel (9: the percussion keys from 35) and the
// chosen index.
struct CGM_PatchDlg {
  int channel = 0;
  int selected = 0;
  std::vector<std::string> Names() const;
};

// The "MIDI" page of the instrument sheet: the settings it shows, exchanged with a definition's.
struct MIDIControlsDlg {
  MIDIControllers values;
  int channel = 0;  // the patch chooser's (9 names the percussion keys)
  // Copies the settings into the page (true) or back (false), field by field in the order of
  // their stored form; on the way back MIDI values are kept to 0-127, the transposition to
  // ±127 half steps, the dynamic amplitude to 0-100 percent.
  void ExchangeSettings(MIDIControllers& settings, bool toPage);
  // "Defaults".
  void Defaults() { values.SetDefaults(); }
  // "...": the chooser at the page's patch; the patch and its name on OK.
  bool ChoosePatch();
  // "Echo && Diapasons".
  bool EditEchoAndDiapasons();
};

// "Midi controllers": the echo and the octave doubling of the bass courses ("Bourdon octaves").
struct CMoreMidiControlsDlg {
  bool echoOn = false;
  int echoChannel = 8;
  int echoDelay = 30;
  int echoPatch = 25;
  int echoVolume = 60;
  int echoOctave = 0;  // -1 to 1
  bool octaveOn = false;
  int octaveString = 0;  // "Begin string:" 0 to 24
  int octaveVelocity = 40;
  int octaveDelay = 0;
  int octaveChannel = 6;

  void From(const MIDIControllers& m);
  // Stores the fields, each kept to its range (MIDI values 0-127, channels 0-15).
  void To(MIDIControllers& m) const;
};

// The controller kinds of a MIDI-controller meta-event, as the "Type" box lists them: the code
// stored in the event and its name.
struct MidiControllerKind {
  int code;
  std::string_view name;
};
const std::vector<MidiControllerKind>& MidiControllerKinds();

// "Midi controller  event": the kind, the value (0-127) and the caption of a kind-4 event.
struct CMidiMetaControl {
  int kind = 0;  // index in MidiControllerKinds()
  int value = 64;
  std::string caption;

  void From(const CMetaEvent& event);
  // The text and the packed value; the position offsets stay.
  void To(CMetaEvent& event) const;
  // "Reset MIDI patch": the chooser, then its program as the value and the kind a program change.
  bool ResetPatch();
};

// "Imported Midi tracks": a row per track and the import's values.
struct MidiTrackRow {
  bool import = true;
  int instrument = 0;  // 0 "Default", n the base's definition n - 1
  std::string chosen;  // "Default instrument", "Text" for a track without notes, or the definition
  std::string name;
  std::string numerator;    // empty when the track has none
  std::string denominator;
  std::string key;          // "%s %s": the accidental count and "Major" or "minor"
  std::string program;      // the General MIDI name of its program
  std::string instrumentText;
};

struct CMidiTrackList {
  std::string header;  // "MIDI Format: %d. Time division: %d. Tracks: %d"
  std::vector<MidiTrackRow> rows;
  std::vector<std::string> instruments;  // "Default", then the base's definitions
  bool minorMode = false;
  bool mergeTracks = false;
  bool createNewSection = true;
  bool retainPatches = true;
  bool defaultInstrument = false;  // every track takes the default definition
  int numerator = 4;
  int denominator = 4;
  int quantization = kMidiDefaultQuantizeLevel;
  int tempo = 120;
  int alterations = 0;

  void From(const CIMidiDoc& doc, const MidiImportOptions& options, const CInstrumentArray* base);
  // OK: the marks and the instrument choices into the tracks, the values into the options;
  // false (after "No data available for import in selected tracks") when nothing would be
  // imported.
  bool Apply(CIMidiDoc& doc, MidiImportOptions& options) const;
};

// The dialogs as the window layer shows them; true on OK with the struct filled.
class MidiDialogs {
 public:
  virtual ~MidiDialogs() = default;
  // The chooser; `player` (may be null) sounds each selection while it plays.
  virtual bool ChooseGMPatch(CGM_PatchDlg& dialog, MidiOutStream* player);
  virtual bool EditMoreControllers(CMoreMidiControlsDlg& dialog);
  virtual bool EditControllerEvent(CMidiMetaControl& dialog);
  virtual bool ChooseTracks(CMidiTrackList& dialog);
};

MidiDialogs& MidiEditors();

class ScopedMidiDialogs {
 public:
  explicit ScopedMidiDialogs(MidiDialogs& dialogs);
  ~ScopedMidiDialogs();
  ScopedMidiDialogs(const ScopedMidiDialogs&) = delete;
  ScopedMidiDialogs& operator=(const ScopedMidiDialogs&) = delete;

 private:
  MidiDialogs* previous_;
};

// Runs the chooser at `program` for `channel` (9: the percussion keys); on OK stores the chosen
// number and its name.
bool ChooseGMPatch(int& program, std::string& name, MidiOutStream* player = nullptr, int channel = 0);
// "Midi controllers" on a copy of the settings, stored back on OK.
bool EditControllers(MIDIControllers& settings);
// The editor of a MIDI-controller meta-event (kind 4); true on OK.
bool EditMidiController(CMetaEvent& event);

// The track chooser of the import through MidiEditors().ChooseTracks.
class DialogTrackChooser : public MidiTrackChooser {
 public:
  explicit DialogTrackChooser(const CInstrumentArray* base = nullptr) : base_(base) {}
  bool Choose(CIMidiDoc& doc, MidiImportOptions& options) override;

 private:
  const CInstrumentArray* base_;
};

}  // namespace vornel
