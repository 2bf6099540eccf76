#include "import/guitarpro/GuitarProDoc.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <optional>
#include <span>
#include <stdexcept>

#include "document/CBriotabDoc.h"
#include "import/CourseClashes.h"
#include "import/ImportWarnings.h"
#include "import/ImportedSection.h"
#include "import/musicxml/MusicXMLImport.h"
#include "midi/GeneralMidiNames.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

// Bar-line statuses.
constexpr uint16_t kFixedBar = 0x11;
constexpr uint16_t kRepeatDotsRight = 0x91;
constexpr uint16_t kRepeatDotsLeft = 0x81;
constexpr uint16_t kDoubleBar = 0x31;
constexpr uint16_t kClefChangeBar = 0x19;
constexpr uint16_t kClefChangeEvent = 0x92;

// Decoration codes of the note effects.
constexpr int kGhostDecoration = 45;
constexpr int kHarmonicDecoration = 49;
constexpr int kStaccatoDecoration = 50;
constexpr int kMutedDecoration = 55;
constexpr int kTrillDecoration = 38;
constexpr uint32_t kLetRingSlur = 4;
constexpr uint32_t kBendSlur = 5;
constexpr uint32_t kSlideSlurWord = 0x2400;
constexpr uint32_t kTiedSlurWord = 0x800;

// The family of the definitions the MIDI side plays on the percussion channel.
constexpr uint8_t kPercussionFamily = 10;

// Notes of the file the section cannot hold.
constexpr ImportLoss kUntiedNote{"tied note without a note before it on its string",
                                 "tied notes without a note before them on their strings"};
constexpr ImportLoss kGraceNote{"grace note", "grace notes"};
// A track's line is laid out for several systems to a page: the courses of a guitar's
// tablature 3 mm apart (the letters of lute tablature take 6 mm), and no space kept under its
// stave: the lines of a system stand as far apart as their rhythm signs and texts need.
constexpr int32_t kTrackLineSpacing = 30;
constexpr uint32_t kTrackSpaceBelow = 0;

// Velocities of the dynamic levels 1-8 (index 0-7 in the meta-event).
constexpr int kVelocities[8] = {64, 74, 84, 94, 100, 110, 118, 128};
// The level of a note that gives none: f.
constexpr int kDefaultDynamic = 6;

// The dynamic level of a note: the one it gives, else the default.
int DynamicOf(const TabNote& note) {
  const auto found = note.attributes.find(TabNote::kDynamic);
  return found != note.attributes.end() ? found->second : kDefaultDynamic;
}

// A note the file marks with flag 0x40 (kGhost here) is accented: the level it gives is its
// accent's, not the music's.
bool GivesTheLevel(const TabNote& note) { return (note.flags & TabNote::kGhost) == 0; }

// The dynamic level of a beat: the level most of its notes play at (the first such note's on
// a tie), so that one note marked apart does not mark the chord; nothing when every note is
// accented.
std::optional<int> DynamicOf(const TabColumn& column) {
  std::optional<int> best;
  size_t bestCount = 0;
  for (const TabNote& note : column.notes) {
    if (!GivesTheLevel(note)) continue;
    const int level = DynamicOf(note);
    const auto count = static_cast<size_t>(std::count_if(column.notes.begin(), column.notes.end(), [&](const TabNote& other) {
      return GivesTheLevel(other) && DynamicOf(other) == level;
    }));
    if (count > bestCount) {
      best = level;
      bestCount = count;
    }
  }
  return best;
}

// The Dynamics meta-event of a level; one outside 1-8 plays at 110 and shows the first mark.
std::unique_ptr<CMetaEvent> DynamicsEvent(int value) {
  const bool known = value >= 1 && value <= 8;
  const int velocity = known ? kVelocities[value - 1] : 110;
  const int level = known ? value - 1 : 0;
  return std::make_unique<CMetaEvent>(CMetaEvent::kDynamics, "", 0, 0, (level << 16) | velocity);
}

// The rhythm word of a beat: its value (one longer for the file's tuplets that the word's
// tuplet of the next longer value holds), dot and tuplet.
uint16_t RhythmWordOf(const TabColumn& column) {
  const int code = (column.duration & 7) - (column.tupletOfLongerValue ? 1 : 0);
  return static_cast<uint16_t>((code & 7) | ((column.flags & TabColumn::kDotted) ? 8 : 0) | ((column.tuplet & 0x0F) << 4));
}

TickLength Plus(TickLength a, TickLength b) {
  const int64_t numerator = a.numerator * b.denominator + b.numerator * a.denominator;
  const int64_t denominator = a.denominator * b.denominator;
  const int64_t g = std::gcd(numerator, denominator);
  return g == 0 ? TickLength{} : TickLength{numerator / g, denominator / g};
}

bool Shorter(TickLength a, TickLength b) { return a.numerator * b.denominator < b.numerator * a.denominator; }

// The length of a bar of the signature in force.
TickLength SignatureLength(const TabBar& bar) {
  return {static_cast<int64_t>(bar.numerator) * (nChord::kBreveTicks / 2), bar.denominator};
}

// The beats of one voice in one bar of a track; none where the file gives fewer than it says.
std::span<const TabColumn> BeatsOf(const TabTrack& track, const TabBar& bar, size_t voice) {
  const auto first = static_cast<size_t>(std::max(bar.voiceFirstColumn[voice], 0));
  const auto count = static_cast<size_t>(std::max(bar.voiceBeatCount[voice], 0));
  if (first > track.columns.size() || count > track.columns.size() - first) return {};
  return std::span<const TabColumn>(track.columns).subspan(first, count);
}

// A bar of one empty beat is a bar of rests.
bool IsBarOfRests(std::span<const TabColumn> beats) { return beats.size() == 1 && beats.front().notes.empty(); }

// How long one voice's beats in a bar last.
TickLength BeatsLength(const TabBar& bar, std::span<const TabColumn> beats) {
  if (IsBarOfRests(beats)) return SignatureLength(bar);
  TickLength length;
  for (const TabColumn& column : beats) length = Plus(length, RhythmLength(RhythmWordOf(column)));
  return length;
}

}  // namespace

std::unique_ptr<CSystemArray> GuitarProDoc::ImportFile(const std::string& filePath) {
  path = filePath;
  if (!reader_.read(filePath.c_str())) {
    Prompts().ShowMessage(RefusalMessage(), MessageKind::kWarning);
    return nullptr;
  }
  return BuildSection();
}

std::string GuitarProDoc::RefusalMessage() const {
  std::string message = std::string(kCannotImport) + "\n\n" + std::filesystem::path(path).filename().string() + ": ";
  if (reader_.failureStep() == "open") return message + "the file cannot be read (or holds more than 64 MB)";
  std::string reason = reader_.failure();
  while (!reason.empty() && reason.back() == '\n') reason.pop_back();
  if (reason.ends_with("EOF")) reason = "end of file";
  return message + std::string(reader_.failureStep()) + " at offset " + std::to_string(reader_.failureOffset()) +
         ": " + reason;
}

std::unique_ptr<CSystemArray> GuitarProDoc::BuildSection() {
  trackCount = reader_.numTracks;
  barCount = reader_.numBars;
  timeSignatureSeen_ = false;
  keySeen_ = false;
  std::unique_ptr<CSystemArray> section = MakeImportSection({});  // no systems, no definitions yet
  section_ = section.get();
  SetSongInfo();
  const int32_t tempo = reader_.song.tempo;
  if (tempo >= 1 && tempo <= 999) section->tempo = (section->tempo & ~0xFFF) | tempo;

  TabSong& song = reader_.song;
  barLengths_ = BarLengths();
  for (song.currentTrack = 0; static_cast<size_t>(song.currentTrack) < song.tracks.size(); ++song.currentTrack) {
    const TabTrack& track = *song.tracks[static_cast<size_t>(song.currentTrack)];
    std::unique_ptr<CInstrumentDlg> definition = MakeDefinition(track);
    // A track of rests keeps its line: the song's parts stay the song's.
    ConvertTrack(track, *definition);
    section->definitions.push_back(std::move(definition));
  }
  section_ = nullptr;
  return section;
}

std::unique_ptr<CInstrumentDlg> GuitarProDoc::MakeDefinition(const TabTrack& track) const {
  auto definition = std::make_unique<CInstrumentDlg>();
  definition->DeleteStaves();
  CClef* stave = definition->AddStave();
  stave->type = CClef::kTablature;
  stave->enabledVoices = CClef::kUpperVoice;
  for (const auto& s : definition->staves) s->spaceBelow = kTrackSpaceBelow;
  definition->currentStave = 0;
  definition->LoadStaveSettings();  // the definition's own copies: tablature, upper voice, its space
  definition->LinkStaves();

  definition->nameText.text = track.name;
  definition->midi.patch = track.program;
  definition->midi.name = std::string(GMProgramName(track.program));
  definition->ornaments.ResetToDefaults();

  CTabInstrument& tab = definition->tabInstrument;
  const int pitches[7] = {track.tuning[0], track.tuning[1], track.tuning[2], track.tuning[3],
                          track.tuning[4], track.tuning[5], track.tuning[6]};
  tab.tuning.SetFromPitches(track.stringCount, pitches);
  tab.tuning.lines = track.stringCount;
  tab.tuningText = tab.tuning.GetTuningText();
  tab.SetImportDefaults();
  tab.tabFont.staveAdjust = {kTrackLineSpacing, kTrackLineSpacing / 2};
  if (track.percussion) {
    // Played on the percussion channel, its notes the drums' keys.
    definition->family = kPercussionFamily;
    tab.tabStyle = CTabInstrument::kOwnFlags;
    tab.tuning.lines = 3;
  }
  return definition;
}

std::vector<TickLength> GuitarProDoc::BarLengths() const {
  std::vector<TickLength> lengths;
  for (const TabBar& bar : reader_.songBars) lengths.push_back(SignatureLength(bar));
  for (const auto& track : reader_.song.tracks) {
    for (size_t b = 0; b < track->bars.size() && b < lengths.size(); ++b) {
      const TabBar& bar = track->bars[b];
      for (size_t v = 0; v < track->voices && v < bar.voiceBeatCount.size(); ++v) {
        const TickLength length = BeatsLength(bar, BeatsOf(*track, bar, v));
        if (Shorter(lengths[b], length)) lengths[b] = length;
      }
    }
  }
  return lengths;
}

size_t GuitarProDoc::ConvertTrack(const TabTrack& track, CInstrumentDlg& definition) {
  if (definition.gathered.size() < track.voices) throw std::invalid_argument("the definition lacks a voice");
  size_t notesMet = 0;
  // The level each voice plays at: a dynamic is written where it changes.
  int dynamic[2] = {kDefaultDynamic, kDefaultDynamic};
  for (size_t b = 0; b < track.bars.size(); ++b) {
    const TabBar& bar = track.bars[b];
    for (size_t v = 0; v < track.voices && v < bar.voiceBeatCount.size(); ++v) {
      nChordArray& voice = definition.gathered[v];
      AppendBarEvents(bar, voice);
      const std::span<const TabColumn> beats = BeatsOf(track, bar, v);
      const TickLength filled = BeatsLength(bar, beats);
      if (IsBarOfRests(beats)) {
        voice.AppendRests(static_cast<size_t>(bar.numerator), static_cast<uint32_t>(bar.denominator));
      } else {
        for (const TabColumn& column : beats) notesMet += AppendBeat(track, column, definition.key, voice, dynamic[v]);
      }
      // A bar its beats do not fill ends in rests, so that every track's next bar starts
      // with the song's.
      if (b < barLengths_.size() && Shorter(filled, barLengths_[b])) {
        const TickLength missing = Plus(barLengths_[b], {-filled.numerator, filled.denominator});
        std::vector<uint16_t> rests = RhythmsForLength(missing);
        if (rests.empty()) rests = NearestRhythms(missing);
        for (uint16_t word : rests) voice.push_back(std::make_unique<nChord>(nChord::kChord, word));
      }
    }
  }

  if (track.voices == 2) {
    if (definition.gathered.size() < 2) throw std::invalid_argument("the definition lacks a second voice");
    definition.gathered[0].MergeVoice(definition.gathered[1], section_->numerator, section_->denominator);
    // The second voice's notes now stand in the first, marked as lower-voice notes; kept in
    // the second as well they would sound twice.
    definition.gathered[1].DeleteChords();
  }
  SeparateCourses(definition.gathered[0], definition.tabInstrument,
                  "track " + std::to_string(reader_.song.currentTrack + 1));
  return notesMet;
}

size_t GuitarProDoc::AppendBeat(const TabTrack& track, const TabColumn& column, const CKey& key, nChordArray& voice,
                               int& dynamic) {
  size_t notesMet = 0;
  auto chord = std::make_unique<nChord>();
  chord->rhythm = RhythmWordOf(column);
  if (!column.chordName.empty()) chord->metaEvents.SetMetaEvent(CMetaEvent::kChordName, column.chordName, 0, 0, 0);
  if (!column.lyric.empty()) chord->SetLyric(column.lyric);
  for (const TabNote& source : column.notes) {
    ++notesMet;
    auto note = std::make_unique<nNotes>();
    // The track's own tuning: a course record cannot hold the low "tunings" of drum tracks.
    const int pitch = track.tuning[static_cast<size_t>(track.stringCount - 1 - source.string)] + source.fret;
    note->pitch = static_cast<uint8_t>(pitch);
    note->string = source.string;
    char accidental = 0;
    note->SpellInKey(key, false, accidental);
    if ((source.flags & TabNote::kTie) && !TieToPrevious(voice, *note)) {
      CountImportLoss(kUntiedNote);
      continue;
    }
    if (source.attributes.contains(TabNote::kGraceNote)) CountImportLoss(kGraceNote);

    if (source.flags & TabNote::kGhost) note->ToggleDecoration(kGhostDecoration);
    if (source.flags & TabNote::kLegato) note->slur |= 1;
    if (source.flags & TabNote::kLetRing) note->SetSlurType(kLetRingSlur);
    if (source.flags & TabNote::kStaccato) note->ToggleDecoration(kStaccatoDecoration);
    if (source.flags & TabNote::kDeadNote) note->ToggleDecoration(kMutedDecoration);
    if (source.flags & TabNote::kPalmMute) note->ToggleDecoration(kMutedDecoration);
    if (source.flags & TabNote::kSlide) note->slur = kSlideSlurWord;
    if (source.flags & TabNote::kHarmonic) note->ToggleDecoration(kHarmonicDecoration);
    if (!source.attributes.empty()) ApplyNoteAttributes(*chord, *note, source.attributes);
    chord->notes.push_back(std::move(note));
    chord->notes.SortByPitch(true);
  }
  if (const std::optional<int> level = DynamicOf(column); level && !chord->notes.empty()) {
    if (*level != dynamic) chord->metaEvents.push_back(DynamicsEvent(*level));
    dynamic = *level;
  }
  voice.push_back(std::move(chord));
  return notesMet;
}

void GuitarProDoc::AppendBarEvents(const TabBar& bar, nChordArray& voice) {
  nChord* barLine = voice.AppendBarLine(0);
  barLine->status = kFixedBar;
  if (bar.flags & (TabBar::kNumerator | TabBar::kDenominator)) {
    // The signature in force: a bar that changes only one of its terms keeps the other.
    voice.AppendTimeSignature(bar.numerator, bar.denominator);
    if (!timeSignatureSeen_) {
      section_->numerator = bar.numerator;
      section_->denominator = bar.denominator;
      timeSignatureSeen_ = true;
    }
  }
  if (bar.flags & TabBar::kBeginRepeat) barLine->status = kRepeatDotsRight;
  if (bar.flags & TabBar::kEndRepeat) barLine->status = kRepeatDotsLeft;
  if (bar.flags & TabBar::kMarker) {
    if (!bar.markerName.empty()) barLine->metaEvents.SetMetaEvent(CMetaEvent::kCaption, bar.markerName, 0, 0, 0);
    barLine->status = kDoubleBar;
  }
  if (bar.flags & TabBar::kDoubleBar) barLine->status = kDoubleBar;
  // The key change last, so that a bar line that already shows a repeat, a marker or a
  // double bar keeps it.
  if (bar.flags & TabBar::kKeyChange) AddKeyChange(bar.key, voice);
}

void GuitarProDoc::AddKeyChange(int key, nChordArray& voice) {
  if (key < -7 || key > 7) return;  // no signature has more than seven accidentals
  const uint32_t count = static_cast<uint32_t>(std::abs(key));
  if (!keySeen_) {
    section_->key.alterations = count;
    section_->key.bemol = key <= 0 ? 1 : 0;
    keySeen_ = true;
    return;
  }
  auto event = std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", 256, 0,
                                            static_cast<int32_t>(count | 0x100 | (key <= 0 ? 0x10 : 0)));
  nChord* last = voice.empty() ? nullptr : voice.back();
  if (last != nullptr && last->IsBarLine() && last->status == kFixedBar) {
    last->status = kClefChangeBar;
    last->metaEvents.push_back(std::move(event));
  } else {
    nChord* special = voice.push_back(std::make_unique<nChord>(kClefChangeEvent));
    special->metaEvents.push_back(std::move(event));
  }
}

void GuitarProDoc::SetSongInfo() {
  const TabSong& song = reader_.song;
  std::string title = song.Info("TITLE");
  if (!song.Info("SUBTITLE").empty()) title += "\r" + song.Info("SUBTITLE");
  std::string author = song.Info("COMPOSER");
  // The artist, the copyright and the transcriber each start a line of their own (the first
  // line when nothing comes before them), never run on the line before.
  const auto addLine = [&author](const std::string& line) { author += (author.empty() ? "" : "\r") + line; };
  if (!song.Info("ARTIST").empty()) addLine("Interpret: " + song.Info("ARTIST"));
  if (!song.Info("ALBUM").empty()) author += " -- in: " + song.Info("ALBUM");
  if (!song.Info("COPYRIGHT").empty()) addLine("Copyright: " + song.Info("COPYRIGHT"));
  if (!song.Info("TRANSCRIBER").empty()) addLine("Transcribed by: " + song.Info("TRANSCRIBER"));
  section_->Title().text = title;
  section_->Author().text = author;
  section_->Comments().text = song.Info("INSTRUCTIONS");
}

bool GuitarProDoc::TieToPrevious(const nChordArray& voice, nNotes& note) const {
  if (voice.empty()) return false;
  int index = static_cast<int>(voice.size()) - 1;
  const nChord* previous = voice.SeekChordBackward(index);
  if (previous == nullptr) return false;
  const nNotes* tied = previous->notes.NoteOnCourse(note.string);
  if (tied == nullptr) return false;
  note.pitch = tied->pitch;
  note.interval = tied->interval;
  note.slur = kTiedSlurWord;
  return true;
}

void GuitarProDoc::ApplyNoteAttributes(nChord& chord, nNotes& note, const std::map<int, int>& attributes) const {
  for (const auto& [key, value] : attributes) {
    switch (key) {
      case TabNote::kDuration: {
        if (chord.notes.size() < 2) break;
        if (value & 0x100) note.flags |= 0x4;
        // A note without a length of its own (only the accent bit) changes nothing more.
        const int noteCode = (value >> 4) & 0x0F;
        if (noteCode == 0) break;
        const int difference = (chord.rhythm & 7) - noteCode;
        note.flags = static_cast<uint16_t>((note.flags & ~0xBu) | (std::abs(difference) & 3) | (difference < 0 ? 8 : 0));
        break;
      }
      case TabNote::kLeftFingering: note.ToggleFingeringHigh(static_cast<uint16_t>(value & 0x0F)); break;
      case TabNote::kRightFingering: note.ToggleFingeringLow(static_cast<uint16_t>(value & 0x0F)); break;
      case TabNote::kTrill: note.ToggleDecoration(kTrillDecoration); break;
      case TabNote::kBend: note.SetSlurType(kBendSlur); break;
      default: break;  // grace notes are not converted
    }
  }
}

bool GuitarProDoc::OnNewDocument() {
  path.clear();
  const std::optional<std::string> chosen = Prompts().PromptOpenFile(kPromptTitle, kFilePattern);
  return chosen && ImportInto(*chosen);
}

bool GuitarProDoc::ImportInto(const std::string& filePath) {
  if (target == nullptr) throw std::invalid_argument("no document to import into");
  const ImportReport report(filePath);
  std::unique_ptr<CSystemArray> section = ImportFile(filePath);
  if (section == nullptr) return false;
  // Finished before it joins the document, so that a failure leaves the document as it was.
  FinishSection(*section);
  target->AppendSection(std::move(section));
  return true;
}

void GuitarProDoc::FinishSection(CSystemArray& section) {
  // A song whose tracks all lack notes gives a section of one empty system.
  if (section.definitions.empty()) {
    section.NewSystem(CSystemArray::kAppend);
    return;
  }
  FinishImportedSection(section, MusicXMLImport::kEventsPerSystem, ImportedVoices::kInDefinitions);
  ShowPartNames(section);
}

}  // namespace vornel
