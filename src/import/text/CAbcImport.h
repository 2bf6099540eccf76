#pragma once
// The base of the importers of text files, and the reader of ABC music notation.
//
// The base keeps what every text importer needs while it fills a section of the open
// document: the section, the instrument definition and tablature it writes to, the voice it
// appends to (the definition's first gathered voice, which the finishing lays out over
// systems), the key of the music read, and the finishing that every imported section goes
// through (preface, re-barring, bar numbers, spelling, systems).
//
// The ABC reader puts each tune ("X:") into a section of its own holding a copy of the chosen
// instrument; every further voice ("V:") of a tune becomes one more instrument of its section.
// Music lines are read as notes, or as tablature when the clef of the voice is a tablature
// clef ("frenchtab", "italiantab" ...).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>
#include <utility>

#include "model/instrument/CKey.h"

namespace vornel {

class CBriotabDoc;
class CInstrumentDlg;
class CSystemArray;
class CTabInstrument;
class nChord;
class nChordArray;
class nNotes;

class CAbcImport {
 public:
  static constexpr std::string_view kOpenFailedMessage = "Unable to open abc file: ";
  static constexpr std::string_view kPromptTitle = "Import abc file";
  static constexpr std::string_view kFilePattern = "*.abc";
  // Reading stops at an "X:" field met after this many tunes.
  static constexpr int kMaxTunes = 1000;
  // The longest line read at once; longer lines come in pieces.
  static constexpr size_t kLineLength = 5000;

  explicit CAbcImport(CBriotabDoc& doc);
  virtual ~CAbcImport();
  CAbcImport(const CAbcImport&) = delete;
  CAbcImport& operator=(const CAbcImport&) = delete;

  // The file the warnings name (its name without the folders).
  void SetSource(const std::string& path);

  // Reads every tune of an ABC file into sections appended to the document, each holding a
  // copy of the instrument chosen through the instrument chooser (offered the active
  // section's first definition); the last section is active. Returns how many sections were
  // added: 0, after "Unable to open abc file: " and the path, when the file cannot be read,
  // and 0 when the choice was cancelled.
  size_t ReadAbcFile(const std::string& path);
  // The tunes of an ABC text, each into a section holding a copy of `instrument`.
  size_t ReadAbcText(std::string_view text, const CInstrumentDlg& instrument);

 protected:
  // The first voice of the definition at the current index of the active section; sets the
  // current section, definition and tablature. std::out_of_range when there is none.
  nChordArray& LookUpVoice();
  // Preface from the name and comments, the key into the current definition and the section,
  // the gathered voices laid out over systems, re-barred, numbered, respelled and reflowed.
  virtual void FinishSection();
  void SetSectionName(std::string_view text);
  // Appends to the name, replacing the texts a new section starts with.
  void AppendSectionName(std::string_view text);
  void SetSectionAuthor(std::string_view text);
  void AppendSectionAuthor(std::string_view text);
  // Appends the line `label` + `text` to the section's comments.
  void AppendSectionComment(std::string_view label, std::string_view text);
  // The last chord (kind 0) of the current voice, or null.
  nChord* LastChord() const;
  // Sets the note of `chord` on `course` at `fret` of the current tablature, giving the
  // instrument the course first when it lacks it (said once per section when it ends). A note
  // the instrument cannot hold (no such course, a pitch past the MIDI range) is counted as
  // lost; null then.
  nNotes* PlaceFret(nChord& chord, int course, int64_t fret);

  CBriotabDoc& doc_;
  CSystemArray* section_ = nullptr;
  CInstrumentDlg* definition_ = nullptr;
  CTabInstrument* tablature_ = nullptr;
  nChordArray* voice_ = nullptr;
  size_t definitionIndex_ = 0;
  CKey key_;
  // The file's name, as the warnings give it.
  std::string source_;
  // The first and the last course (from 1) that notes added to the current section's
  // instruments; {0, 0} when none were added.
  std::pair<size_t, size_t> coursesAdded_{0, 0};

 private:
  // One voice of the tune being read.
  struct AbcVoice {
    std::string id;
    size_t definition = 0;
    int clef = 0;
  };
  // Decorations and marks read before a note, waiting for its chord.
  struct NotePrefix {
    std::string annotation;
    int decoration = -1;  // a note decoration code, -1 none
    bool fermata = false;
    bool reprise = false;
    bool accent = false;
    int accidental = 0;   // semitones, from "^" and "_"
    bool natural = false;
    bool dotPrevious = false;   // ">" before the note
    bool halvePrevious = false; // "<" before the note
  };

  // --- the file (AbcReader.cpp)
  void ResetTune();
  void StartTuneSection();
  // False when reading must stop.
  bool ReadLine(std::string_view line);
  bool ReadHeaderField(char letter, std::string_view value);
  void ReadTempoField(std::string_view value);
  void ReadMeterField(std::string_view value);
  void ReadUnitLength(std::string_view value);
  // Key and clef of a "K:" field (or the rest of a "V:" field): the importer's key when a
  // tonic is given, the clef kind when a clef word is.
  void ReadKeyField(std::string_view value);
  void ReadVoiceField(std::string_view value);
  void SelectVoice(std::string_view id);
  // The clef kind a field names, or nothing.
  static std::optional<int> FindClefKind(std::string_view value);

  // --- note lines (AbcNotes.cpp)
  void ReadNoteLine(std::string_view line);
  void ReadBar(std::string_view line, size_t& pos);
  void ReadBracketChord(std::string_view line, size_t& pos);
  // One note or rest; into `chord` when it belongs to a bracketed chord.
  void ReadNoteToken(std::string_view line, size_t& pos, nChord* chord);
  bool ReadNotePrefix(std::string_view line, size_t& pos, NotePrefix& prefix);
  void ApplyPrefixToChord(const NotePrefix& prefix, nChord& chord);
  void CloseSlur();
  // The rhythm code of the length characters at `pos`; `dotted` when the length asks for it.
  int ReadLength(std::string_view line, size_t& pos, bool& dotted) const;

  // --- tablature lines (AbcTablature.cpp)
  void ReadTablatureLine(std::string_view line);
  void ReadTablatureToken(std::string_view line, size_t& pos);

  std::unique_ptr<CInstrumentDlg> instrument_;  // the chosen definition, copied into every tune
  std::vector<AbcVoice> voices_;
  size_t currentVoice_ = 0;
  int tunes_ = 0;
  bool tuneStarted_ = false;
  size_t sectionsAdded_ = 0;
  int clef_ = 0;        // clef kind of the current voice: bit 0x10 a tablature
  int unitLog2_ = 2;    // the unit note length is 1 / 2^unitLog2_
  int lastCode_ = 3;    // the last rhythm code read
  bool tie_ = false;
  // The slur being read: the index of its first chord in the voice once a note came.
  bool slurOpen_ = false;
  std::optional<size_t> slurStart_;
  int slurNotes_ = 0;
  // Notes still to come in the current tuplet, and its number.
  int tupletLeft_ = 0;
  int tupletNumber_ = 0;
  size_t lineStart_ = 0;  // where the last music line began in the voice (for "w:")
  size_t versesOfLine_ = 0;  // "w:" lines read since that music line
  std::vector<size_t> lyricLines_;  // the lines of each lyric of that music line's notes
  std::string words_;     // the text of "W:" fields, kept but not placed
};

}  // namespace vornel
