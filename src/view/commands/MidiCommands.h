#pragma once
// The MIDI commands of the document and the view: "Create MIDI file" (33164), "Export all
// sections to MIDI" (32832), "Import MIDI file" (32822), "Import MIDI Folder" (34301), the play commands that toggle the active view's player on the active section
// (32829 "Play single voice", 32830 and 32823 "Play single instrument", 32831 and 32824 "Play
// all instruments") and the "MIDI" menu's controller commands while it plays (33965-33978).
// The frame registers them into a table with one call and answers a small context.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>
#include <string_view>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {

class CBriotabDoc;
class CInstrumentArray;
class CInstrumentDlg;
class MidiOutStream;
class MidiTrackChooser;
struct MidiExportOptions;

namespace view {

// Command ids.
inline constexpr int kCreateMidiFile = 33164;
inline constexpr int kImportMidiFile = 32822;
inline constexpr int kMidiToWave = 32826;  // "MIDI to WAV"
inline constexpr int kExportAllSectionsMidi = 32832;
inline constexpr int kImportMidiFolder = 34301;
// A folder import takes at most this many files, in name order.
inline constexpr size_t kMaxMidiFolderFiles = 16;
inline constexpr int kPlaySingleVoice = 32829;
inline constexpr int kPlaySingleInstrument = 32830;
inline constexpr int kPlayAllInstruments = 32831;
inline constexpr int kPlayInstrumentMenu = 32823;  // "Play single instrument" of the menu
inline constexpr int kPlayTuttiMenu = 32824;       // "Play all parts (tutti)"
// Sent to the main window after an import.
inline constexpr int kAfterMidiImport = 34233;

// What the MIDI commands need of the editor.
class MidiCommandContext {
 public:
  virtual ~MidiCommandContext() = default;
  // The active document; null when none is open.
  virtual CBriotabDoc* ActiveDocument() = 0;
  // The active view's player; null when there is no view.
  virtual MidiOutStream* Player() = 0;
  // The "Imported Midi tracks" dialog.
  virtual MidiTrackChooser& TrackChooser() = 0;
  // The instrument base the track chooser offers (may be null) and the default definition.
  virtual const CInstrumentArray* InstrumentBase() { return nullptr; }
  virtual const CInstrumentDlg& DefaultInstrument() = 0;
  // The application's metronome option, with its channel and key.
  virtual bool MetronomeOn() { return false; }
  virtual uint8_t MetronomeChannel() { return 9; }
  virtual uint8_t MetronomeKey() { return 81; }
  // A command for the main window (34233 after an import).
  virtual void PostFrameCommand(int /*id*/) {}
  // The MIDI-to-WAVE player's command line of the preferences (looked for when unset); empty
  // when there is none.
  virtual std::string MidiToWaveCommandLine() { return {}; }
  // A MIDI file written for the document goes into the MIDI player's list.
  virtual void AddToPlayList(const std::string& /*path*/) {}
};

// Writes one MIDI file per section into the document's folder, each named as "Create MIDI
// file" proposes, and makes it the section's MIDI file. Returns the paths written; nothing,
// after "Set Current Directory failed (%d)\n", when the document has no folder to write in.
std::vector<std::string> WriteAllSectionMidiFiles(CBriotabDoc& doc, const MidiExportOptions& options);
// The export options of the context's metronome.
MidiExportOptions MetronomeExportOptions(MidiCommandContext& context);

// The "*.mid" files of a folder (the ending in any case), in name order.
std::vector<std::string> ListMidiFiles(const std::string& folder);

// The file name "Create MIDI file" proposes: the document's title without ".btb", ".btxml",
// ".btz", '"', '\'' and '?', then "_" and the section's index counted from 0, then ".mid".
std::string ProposedMidiFileName(std::string_view title, int sectionIndex);
// A chosen name gets ".mid" unless its last four characters are exactly ".mid".
std::string WithMidiExtension(std::string path);

// The name "MIDI to WAV" gives a section's file: its list label (over 48 characters cut to 48,
// then before its last space when one follows the first character), "_" and `number`; every
// "/", "?", carriage return and line feed becomes a space, double quotes, apostrophes and "."
// go.
std::string SectionMidiFileName(std::string label, int number);
// Every section as a Standard MIDI File in `folder`, named `prefix` and SectionMidiFileName
// with ".mid"; the names written are appended to `names` and kept as each section's MIDI file
// name. A file that cannot be written is said and skipped. Neither the process's folder nor
// the active section changes. Returns the number of sections.
int WriteSectionMidiFiles(CBriotabDoc& doc, const std::string& folder, const std::string& prefix,
                          std::vector<std::string>& names);

// The menu text of a command ("Play single voice\tF11": the window system takes the key after
// the tab as its accelerator); empty for an id that is not one of these.
std::string_view MidiCommandText(int id);

// Enters the commands; the context must outlive the table.
void AddMidiCommands(CommandTable& table, MidiCommandContext& context);
// The same, the table's entries sharing the context's ownership.
void AddMidiCommands(CommandTable& table, std::shared_ptr<MidiCommandContext> context);

}  // namespace view
}  // namespace vornel
