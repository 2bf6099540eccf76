#pragma once
// A Guitar Pro file turned into one new section of an open document: one instrument line
// for every track, rests only or not, with the track's name, tuning and program (a drum track
// plays its keys on the percussion channel), its beats as chords with their rhythms, tuplets,
// ties, effects, fingerings, dynamics, chord names and lyrics, and the bars' signatures,
// repeats, markers and keys; a bar a track's beats leave short ends in rests. The section is built
// completely before it joins the document; what the reader could not read gives the
// system's message and changes nothing.

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/guitarpro/gp_import.h"
#include "model/voice/RhythmValues.h"

namespace vornel {

class CBriotabDoc;
class CInstrumentDlg;
class CKey;
class CSystemArray;
class nChord;
class nChordArray;
class nNotes;

class GuitarProDoc {
 public:
  static constexpr std::string_view kPromptTitle = "Open a GuitarPro file...";
  static constexpr std::string_view kFilePattern = "*.gp4;*.gp3;*.gp5";
  static constexpr std::string_view kCannotImport =
      "Unable to import this GuitarPro file...\nOnly GP3, GP4, GP5 formats are supported";

  CBriotabDoc* target = nullptr;  // the document that receives the section
  std::string path;
  int32_t trackCount = 0;
  int32_t barCount = 0;

  GuitarProDoc() = default;
  GuitarProDoc(const GuitarProDoc&) = delete;
  GuitarProDoc& operator=(const GuitarProDoc&) = delete;

  // Asks for a file and imports it into the target: true when a section was added; false
  // when the prompt was cancelled or the file could not be read (the message has been shown).
  bool OnNewDocument();
  // Imports the file at `filePath` into the target: its finished section is appended and made
  // active. False, after the system's message and with the document as it was, when the
  // reader refused the file.
  bool ImportInto(const std::string& filePath);
  // Reads the file at `filePath` and builds its section (not yet finished); null, after the
  // system's message, when the reader refused the file.
  std::unique_ptr<CSystemArray> ImportFile(const std::string& filePath);
  // The section of what the reader read: its texts, tempo, signature and key, and one
  // definition with its gathered voices per track that has notes. No systems yet.
  std::unique_ptr<CSystemArray> BuildSection();
  // Lays the definitions' voices out over systems: a system with a line per definition, the
  // voices handed to it, the active line re-barred, the first system's staves everywhere, the
  // notation respelled and the music reflowed into systems.
  static void FinishSection(CSystemArray& section);

  // The message of a file the reader refused: the system's text, then the file, the step and
  // the offset where reading stopped, and why ("song.gp5: readTrackDefaults at offset 381: end
  // of file").
  std::string RefusalMessage() const;

  const gp_import& reader() const { return reader_; }
  gp_import& reader() { return reader_; }

 private:
  // --- conversion steps, while BuildSection runs
  // The track's notes into the definition's gathered voices, bar by bar, each bar its beats
  // leave short ended in rests; returns the notes met.
  size_t ConvertTrack(const TabTrack& track, CInstrumentDlg& definition);
  // One beat as a chord at the end of the voice, its dynamic written where it changes the
  // voice's level; returns the notes met.
  size_t AppendBeat(const TabTrack& track, const TabColumn& column, const CKey& key, nChordArray& voice, int& dynamic);
  // How long each bar of the song lasts: its signature's length, or the longest voice of a
  // track that overfills it, so that every track's bar N starts at the same time.
  std::vector<TickLength> BarLengths() const;
  void AppendBarEvents(const TabBar& bar, nChordArray& voice);
  void AddKeyChange(int key, nChordArray& voice);
  void SetSongInfo();
  // Gives a tied note the pitch of the note on its string in the chord before it; false when
  // there is none.
  bool TieToPrevious(const nChordArray& voice, nNotes& note) const;
  void ApplyNoteAttributes(nChord& chord, nNotes& note, const std::map<int, int>& attributes) const;
  // A new definition set up for a track: one tablature stave, the name, program, tuning and
  // the tablature defaults of an import.
  std::unique_ptr<CInstrumentDlg> MakeDefinition(const TabTrack& track) const;

  gp_import reader_;
  CSystemArray* section_ = nullptr;  // the section being built
  std::vector<TickLength> barLengths_;  // while BuildSection runs
  bool timeSignatureSeen_ = false;
  bool keySeen_ = false;
};

}  // namespace vornel
