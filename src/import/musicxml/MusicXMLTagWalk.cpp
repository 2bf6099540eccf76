#include "import/musicxml/MusicXMLTagWalk.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "import/CourseClashes.h"
#include "import/musicxml/ImportWarnings.h"
#include "model/FloorDivision.h"
#include "model/Scaling.h"
#include "model/instrument/CClef.h"
#include "model/score/CSystemArray.h"
#include "model/voice/RhythmValues.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

// Statuses of the events the walk makes.
constexpr uint16_t kFixedBar = 0x11;
constexpr uint16_t kBeginRepeat = 0x91;
constexpr uint16_t kEndRepeat = 0x81;
constexpr uint16_t kDoubleBar = 0x31;
constexpr uint16_t kClefBar = 0x19;
constexpr uint16_t kClefEvent = 0x92;
constexpr uint16_t kStemBit = 0x80;
constexpr uint32_t kTiedFromPrevious = 0x800;
constexpr uint8_t kCodaKind = 50;
constexpr uint32_t kSymbolTime = 8;  // a time signature's value: drawn as its symbol
// Line offsets (value bits 8-15, sign and magnitude) of marks under the staff: a caption's
// baseline three lines under the bottom line, a dynamic's seven lines under the top line, a
// hairpin's twelve of its half openings down from its place over the staff.
constexpr uint32_t kWordsBelow = 7u << 8;
constexpr uint32_t kDynamicBelow = (0x80u | 7u) << 8;
constexpr uint32_t kHairpinBelow = 12u << 8;
constexpr int32_t kPedalCode = 10;
constexpr int32_t kDefaultLevel = 100;  // the expression an instrument starts at
constexpr int32_t kLongSlurBend = 2;  // lines a long slur's legato mark bends

// A parameter read as a whole number as atoi would, but saturating instead of overflowing.
int IntParam(const vornelelement& e, size_t i) {
  const long long value = std::strtoll(e.param(i).c_str(), nullptr, 10);
  return static_cast<int>(std::clamp<long long>(value, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string TextParam(const vornelelement& e, size_t i) { return Decode8BitText(e.param(i)); }

// A slur number; a slur without one (0, or -1 at its end) is slur 1. Nothing outside 1-8.
std::optional<size_t> SlurSlotIndex(int number) {
  if (number == 0 || number == -1) number = 1;
  if (number < 1 || number > static_cast<int>(MusicXMLTagWalk::kSlurSlots)) return std::nullopt;
  return static_cast<size_t>(number - 1);
}

// cy of a dynamic: (code << 16) | level. A marking outside the table keeps code 0 (it shows its
// own letters) with the level of the nearest marking, for the level is the expression it
// plays at: 0 would silence the notes after it.
int32_t DynamicsValue(std::string_view text) {
  struct Level {
    std::string_view text;
    int32_t code;
    int32_t level;
  };
  static constexpr Level kLevels[] = {{"ppp", 0, 64}, {"pp", 1, 74},  {"p", 2, 84},   {"mp", 3, 94},
                                      {"mf", 4, 100}, {"f", 5, 110},  {"ff", 6, 118}, {"fff", 7, 128},
                                      {"fz", 8, 120}, {"sf", 9, 120}, {"pedal", 10, 116}};
  for (const Level& l : kLevels) {
    if (l.text == text) return (l.code << 16) | l.level;
  }
  static constexpr Level kOthers[] = {{"pppp", 0, 54},  {"ppppp", 0, 44}, {"pppppp", 0, 34}, {"ffff", 0, 127},
                                      {"fffff", 0, 127}, {"ffffff", 0, 127}, {"sfz", 0, 120}, {"sffz", 0, 124},
                                      {"sfp", 0, 110},  {"sfpp", 0, 110}, {"fp", 0, 110},    {"rf", 0, 110},
                                      {"rfz", 0, 120},  {"fzp", 0, 120},  {"sfzp", 0, 120},  {"pf", 0, 84},
                                      {"n", 0, 34}};
  for (const Level& l : kOthers) {
    if (l.text == text) return l.level;
  }
  return 100;
}

// The length in ticks of n/d of a whole note (768 ticks) with its dots, each adding half the
// one before; nothing for a value that is not positive. A note has at most eight dots.
TickLength NoteLength(long long n, long long d, long long dots) {
  if (n <= 0 || d <= 0) return TickLength{0, 1};
  const long long k = std::clamp<long long>(dots, 0, 8);
  return TickLength{768 * n * ((2LL << k) - 1), d << k};
}

// "7/16": a length in ticks as a fraction of a whole note.
std::string WholeNoteText(TickLength length) {
  const long long numerator = length.numerator;
  const long long denominator = length.denominator * 768;
  if (numerator <= 0) return "no length";
  const long long g = std::gcd(numerator, denominator);
  return std::to_string(numerator / g) + "/" + std::to_string(denominator / g);
}

constexpr ImportLoss kGraceNote{"grace note", "grace notes"};
constexpr ImportLoss kVoltaEnding{"volta ending before the first bar line", "volta endings before the first bar line"};

bool IsPowerOfTwo(int v) { return v > 0 && (v & (v - 1)) == 0; }

// The converters count C4 as 48; a rest has none, and a pitch byte beyond 127 makes no note.
bool IsNote(int pitch) { return pitch > 0 && pitch <= 127 - 12; }

}  // namespace

std::string_view TagName(std::string_view name) {
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  while (!name.empty() && name.back() == '\\') name.remove_suffix(1);
  return name;
}

std::string_view TagName(const vornelelement& element) { return TagName(element.getName()); }

MusicXMLTagWalk::MusicXMLTagWalk(CSystemArray& section) : section_(section) {}

MusicXMLTagWalk::~MusicXMLTagWalk() = default;

void MusicXMLTagWalk::Walk(const vornelelement& list) {
  currentPart_ = 0;
  const std::vector<Svornelelement>& elements = list.elements();
  for (size_t i = 0; i < elements.size(); ++i) {
    if (!elements[i]) continue;
    const vornelelement& e = *elements[i];
    const std::string_view name = TagName(e);
    if (name == "tuning") {
      i += Tuning(elements, i);
    } else if (name == "staff") {
      Staff(e);
    } else if (name == "clef") {
      Clef(e);
    } else if (name == "chord") {
      inChord_ = true;
    } else if (name == "endchord") {
      inChord_ = false;
      chord_ = nullptr;
    } else if (name == "grace") {
      grace_ = true;
    } else if (name == "slurBegin") {
      SlurBegin(e);
    } else if (name == "slurEnd") {
      SlurEnd(e);
    } else if (name == "note") {
      Note(e);
    } else if (name == "fret") {
      Fret(e);
    } else if (name == "bar") {
      AppendBar(kFixedBar);
    } else if (name == "skipNumber") {
      SkipNumber();
    } else if (name == "firstBar") {
      if (!barOffsetSet_) section_.barOffset = std::clamp(IntParam(e, 0), 0, 9999);
      barOffsetSet_ = true;
    } else if (name == "repeatBegin") {
      AppendBar(kBeginRepeat);
    } else if (name == "repeatEnd") {
      AppendBar(kEndRepeat);
    } else if (name == "transpose") {
      Transpose(e);
    } else if (name == "key") {
      Key(e);
    } else if (name == "meter") {
      Meter(e);
    } else if (name == "tempo") {
      Tempo(e);
    } else if (name == "intens") {
      Dynamic(e);
    } else if (name == "crescBegin" || name == "dimBegin") {
      WedgeBegin(e, name == "crescBegin");
    } else if (name == "crescEnd" || name == "dimEnd") {
      EndSpan(wedge_);
    } else if (name == "pedal") {
      Pedal(e);
    } else if (name == "stemsDown" || name == "stemsUp") {
      FlipStem();
    } else if (name == "words") {
      // Words under the staff stand their line offset below its bottom line.
      AddPending(CMetaEvent::kCaption, TextParam(e, 0), 0, Below(e) ? kWordsBelow : 0);
    } else if (name == "lyric") {
      AddPending(CMetaEvent::kLyrics, TextParam(e, 0));
    } else if (name == "tieBegin") {
      tiePending_ = true;
    } else if (name == "tieEnd") {
      TieEnd();
    } else if (name == "volta") {
      Volta(e);
    } else if (name == "endgroup") {
      // Only the grace group's own end closes it: other groups may end inside one.
      if (TagName(e.param(0)) == "grace") grace_ = false;
      if (TagName(e.param(0)) == "volta") EndVolta();
    } else if (name == "endstaff") {
      EndStaff();
    } else if (name == "fermata") {
      AddPending(CMetaEvent::kFermata, "");
    } else if (name == "coda") {
      AddPending(kCodaKind, "");
    } else if (name == "chord_name") {
      pendingChordName_ = TextParam(e, 0);
    }
  }
  pendingMarks_.clear();
  ReachEndings();
  currentVoice_ = nullptr;
  targetVoice_ = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Tunings and staves

size_t MusicXMLTagWalk::Tuning(const std::vector<Svornelelement>& list, size_t at) {
  // The tag's three children follow it: its staff lines, its capo and the pitches of its lines.
  static constexpr std::string_view kParts[] = {"staff_lines", "capo", "strings_tuning"};
  for (size_t k = 0; k < 3; ++k) {
    if (at + 1 + k >= list.size() || !list[at + 1 + k] || TagName(*list[at + 1 + k]) != kParts[k]) {
      ImportWarning("warning: a tuning without its staff lines, capo and string pitches is left out");
      return 0;
    }
  }
  const vornelelement& tag = *list[at];
  const vornelelement& pitches = *list[at + 3];
  const int part = IntParam(tag, 0);
  if (part < 0 || static_cast<size_t>(part) >= section_.definitions.size()) {
    ImportWarning("warning: a tuning of part " + std::to_string(part) + ", which is not there, is left out");
    return 3;
  }
  const int lines = IntParam(*list[at + 1], 0);
  const int capo = IntParam(*list[at + 2], 0);
  const int n = std::min({lines, static_cast<int>(pitches.parameters().size()), static_cast<int>(nTuning::kMaxCourses)});
  std::vector<int> midi;
  for (int i = 0; i < n; ++i) {
    const long long pitch = static_cast<long long>(IntParam(pitches, static_cast<size_t>(i))) + capo;
    if (pitch < kCoursePitchOffset || pitch > 127) {
      ImportWarning("warning: a tuning with the pitch " + std::to_string(pitch) + " is left out");
      return 3;
    }
    midi.push_back(static_cast<int>(pitch));
  }
  if (midi.empty()) {
    ImportWarning("warning: a tuning without courses is left out");
    return 3;
  }
  CTabInstrument& tab = section_.Definition(static_cast<size_t>(part))->tabInstrument;
  tab.SetImportDefaults();
  // The lowest line's pitch comes first; it becomes the last course.
  tab.tuning.SetFromPitches(static_cast<int>(midi.size()), midi.data());
  tab.tuning.lines = static_cast<int32_t>(midi.size());
  tab.tuningText = tab.tuning.GetTuningText();
  return 3;
}

void MusicXMLTagWalk::ResetStaffState() {
  chord_ = nullptr;
  unfinished_ = nullptr;
  measure_ = 1;
  lastNote_ = nullptr;
  slots_.fill(SlurSlot{});
  endingSlots_.fill(SlurSlot{});
  longSlurs_.clear();
  tiePending_ = false;
  slurPending_ = false;
  pendingMarks_.clear();
  pendingChordName_.clear();
  wedge_ = OpenSpan{};
  pedal_ = OpenSpan{};
  lastLevel_ = kDefaultLevel;
  voltaBar_ = nullptr;
  staffEndings_.clear();
  inChord_ = false;
  grace_ = false;
  clefSeen_ = false;
  meterSeen_ = false;
  transposeSemitones_ = transposeSteps_ = 0;
}

void MusicXMLTagWalk::Staff(const vornelelement& e) {
  // Staff numbers count staves: a far-off number only has to stay far off.
  const int staff = std::clamp(IntParam(e, 0), -1000000, 1000000);
  const int staffCount = IntParam(e, 1);
  const int voiceIndex = IntParam(e, 3);
  // Part numbers are counted and printed (part N + 1): a far-off one is kept far off, in range.
  const int part = std::clamp(IntParam(e, 4), -1000000, 1000000);
  currentPart_ = part;
  // The working voice goes: nothing may point into it any more.
  ResetStaffState();
  staffOffset_ = part == previousPart_ ? staff - 1 - previousStaffIndex_ : 0;
  working_.DeleteChords();
  currentVoice_ = &working_;
  const nChordArray* before = targetVoice_;
  SelectDefinition(part, staffCount, voiceIndex);
  // A tie may end in another voice of the staff: the voices are merged into one.
  if (targetVoice_ != before) openTies_.clear();
  previousStaffIndex_ = staff - 1;
  previousPart_ = part;
}

void MusicXMLTagWalk::SelectDefinition(int part, int staffCount, int voiceIndex) {
  if (part < 0 || static_cast<size_t>(part) >= section_.definitions.size()) {
    definition_ = nullptr;
    targetVoice_ = nullptr;
    return;
  }
  CInstrumentDlg& definition = *section_.Definition(static_cast<size_t>(part));
  definition_ = &definition;
  // A voice on another staff of the part than the voice before it goes to the second voice.
  if (staffCount > 1 && staffOffset_ != 0) definition.voiceSelector = 1;
  if (staffCount >= 2 && voiceIndex == 0) {
    // A part of two staves: a G clef staff over an F clef staff, one voice each. The staves
    // after the first of a part of more all go into the second.
    definition.DeleteStaves();
    CClef* upper = definition.AddStave();
    CClef* lower = definition.AddStave();
    if (upper != nullptr) {
      upper->clefId = CClef::kGClef;
      upper->type = CClef::kStaff;
      upper->enabledVoices = CClef::kUpperVoice;
      upper->spaceBelow = 3;
    }
    if (lower != nullptr) {
      lower->clefId = CClef::kFClef;
      lower->type = CClef::kStaff;
      lower->enabledVoices = CClef::kLowerVoice;
      lower->spaceBelow = 1;
      // Each staff has a voice of its own, whose dynamics, pedals and words it shows.
      lower->hideMetaEvents = 0;
    }
    definition.LinkStaves();
    definition.voiceSelector = 0;
    definition.notationModePage = CClef::kStaff;
    definition.voicesShownPage = CClef::kUpperVoice;
  }
  targetVoice_ = &definition.gathered[definition.voiceSelector != 0 ? 1 : 0];
}

void MusicXMLTagWalk::TimeUntimedMeasures() {
  // The measures that bar lines close before the first time signature, by the index of their
  // first event, with their lengths in ticks (the last measure ends the music, whatever its
  // length).
  std::vector<std::pair<size_t, uint64_t>> measures;
  size_t start = 0;
  uint64_t length = 0;
  bool timed = false;
  for (size_t i = 0; i < working_.size() && !timed; ++i) {
    const nChord* e = working_.at(i);
    if (e == nullptr) continue;
    timed = e->IsSpecialEvent() && e->metaEvents.Find(CMetaEvent::kTimeSignature) != nullptr;
    if (timed || e->IsBarLine()) {
      if (length > 0) measures.emplace_back(start, length);
      start = i + 1;
      length = 0;
    } else if (e->IsChord() && e->ChordMark() != nChord::kTimelessMark) {
      length += e->GetDurationTicks();
    }
  }
  // A hidden time signature as long as the measure where its length changes and a time
  // signature can say it (a power of two to the beat, at most 64 beats).
  std::vector<std::pair<size_t, std::pair<int, int>>> changes;
  uint64_t previous = 0;
  for (const auto& [at, ticks] : measures) {
    if (ticks == previous) continue;
    const uint64_t g = std::gcd<uint64_t, uint64_t>(ticks, nChord::kWholeTicks);
    uint64_t beats = ticks / g;
    uint64_t beatType = nChord::kWholeTicks / g;
    if (beatType < 4) {
      beats *= 4 / beatType;
      beatType = 4;
    }
    if (beats > 64 || beatType > 64 || (beatType & (beatType - 1)) != 0) continue;
    previous = ticks;
    changes.push_back({at, {static_cast<int>(beats), static_cast<int>(beatType)}});
  }
  if (changes.empty()) return;
  // One pass builds the voice with them (inserting one by one would cost a pass each).
  nChordArray withTimes;
  size_t k = 0;
  size_t i = 0;
  for (const nChordArray::Handle& e : working_) {
    for (; k < changes.size() && changes[k].first == i; ++k) {
      auto event = std::make_unique<nChord>(0x12);
      event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", 0,
                                                               changes[k].second.first, changes[k].second.second));
      withTimes.push_back(std::move(event));
    }
    withTimes.push_back(e);
    ++i;
  }
  working_ = std::move(withTimes);
  if (!sectionMeterSet_) {
    section_.numerator = changes.front().second.first;
    section_.denominator = changes.front().second.second;
    sectionMeterSet_ = true;
  }
}

void MusicXMLTagWalk::EndStaff() {
  FinishChord();
  // A hairpin or pedal left open reaches the staff's last chord.
  EndSpan(wedge_);
  EndSpan(pedal_);
  EndVolta();
  // Without a time signature a measure is as long as its notes.
  TimeUntimedMeasures();
  if (targetVoice_ == nullptr) return;
  const bool empty = std::all_of(targetVoice_->begin(), targetVoice_->end(), [](const auto& e) { return e == nullptr; });
  if (!empty) {
    const size_t approximated = targetVoice_->MergeVoice(working_, section_.numerator, section_.denominator);
    if (approximated > 0) {
      ImportWarning("warning: part " + std::to_string(currentPart_ + 1) + ": " + std::to_string(approximated) +
                    " chords cut where another voice of the staff starts take the nearest values");
    }
  } else {
    // Into an empty voice the merge is the staff's events themselves, re-barred: they move
    // instead of being copied.
    working_.RebarVoice(section_.numerator, section_.denominator);
    *targetVoice_ = std::move(working_);
    working_ = nChordArray();
    targetVoice_->RebarVoice(section_.numerator, section_.denominator);
    RecountLongSlurs(*targetVoice_);
    // The staff's endings stand on bar lines of the definition's voice now; a staff merged
    // into another keeps only that staff's bar lines.
    for (const PendingEnding& ending : staffEndings_) endings_.emplace_back(targetVoice_, ending);
  }
  longSlurs_.clear();
  staffEndings_.clear();
  // A tablature gives each note its course: where two share one, one letter would hide the
  // other. A staff of notation only finds courses for its pitches and is left as it is.
  if (definition_ != nullptr && std::any_of(definition_->staves.begin(), definition_->staves.end(), [](const auto& s) {
        return s != nullptr && s->type == CClef::kTablature;
      })) {
    lastNote_ = nullptr;
    SeparateCourses(*targetVoice_, definition_->tabInstrument, "part " + std::to_string(currentPart_ + 1));
  }
}

void MusicXMLTagWalk::RecountLongSlurs(const nChordArray& voice) {
  if (longSlurs_.empty()) return;
  std::unordered_map<const nChord*, size_t> index;
  for (size_t i = 0; i < voice.size(); ++i) index.emplace(voice.at(i), i);
  for (const LongSlurMark& slur : longSlurs_) {
    const auto start = index.find(slur.start);
    const auto end = index.find(slur.end);
    if (start == index.end() || end == index.end() || end->second < start->second) continue;
    const auto span = static_cast<uint32_t>(std::min<size_t>(end->second - start->second, 255));
    slur.mark->value = (slur.mark->value & ~0xFFu) | span;
  }
}

void MusicXMLTagWalk::Clef(const vornelelement& e) {
  if (definition_ == nullptr || currentVoice_ == nullptr) return;
  const int kind = IntParam(e, 0);
  const int line = IntParam(e, 1);
  const int octaveChange = IntParam(e, 2);
  const size_t selected = definition_->voiceSelector != 0 ? 1 : 0;
  if (!clefSeen_) {
    clefSeen_ = true;
    if (selected >= definition_->staves.size()) return;
    CClef& stave = *definition_->staves.at(selected);
    if (stave.enabledVoices == CClef::kBothVoices) return;
    switch (kind) {
      case 0: stave.clefId = octaveChange == 0 ? CClef::kGClef : CClef::kG8Clef; break;
      case 1: stave.clefId = CClef::kFClef; break;
      case 2:
        stave.clefId = CClef::kCClef;
        stave.clefRaise = std::clamp(line, -8, 8);
        break;
      case 4:
        stave.type = CClef::kTablature;
        stave.clefId = CClef::kGClef;
        break;
      default: break;
    }
    return;
  }
  // A change of clef; one without a clef that staff notation draws is not marked.
  int code = 0;
  switch (kind) {
    case 0: code = octaveChange == 0 ? 1 : 0; break;
    case 1: code = 2; break;
    case 2: code = 3; break;
    default: return;
  }
  FinishChord();
  nChord* event = working_.empty() ? nullptr : working_.back();
  if (event != nullptr && event->IsBarLine()) {
    event->status = kClefBar;
  } else {
    event = Append(std::make_unique<nChord>(kClefEvent));
  }
  event->rhythm = static_cast<uint16_t>((static_cast<uint32_t>(currentPart_) << 8) | selected);
  event->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kClef, "", 0x10000u | static_cast<uint32_t>(code), 0, 0));
}

// ---------------------------------------------------------------------------------------------
// Notes

void MusicXMLTagWalk::Note(const vornelelement& e) {
  if (currentVoice_ == nullptr) return;
  if (grace_) {
    // A dropped grace note: its tie and the tags after it are no other note's.
    if (IsNote(IntParam(e, 0))) CountImportLoss(kGraceNote);
    tiePending_ = false;
    lastNote_ = nullptr;
    return;
  }
  if (chord_ == nullptr) {
    // The exact value when the note carries it; the packed word otherwise. The chord lasts
    // what its first note's value says, as the score's time advances by it.
    long long numerator = 0;
    long long denominator = 0;
    long long dots = 0;
    if (e.parameters().size() >= 9) {
      numerator = IntParam(e, 6);
      denominator = IntParam(e, 7);
      dots = IntParam(e, 8);
    } else {
      const uint32_t word = static_cast<uint32_t>(IntParam(e, 4));
      denominator = word & 0xFF;
      numerator = (word >> 8) & 0x0F;
      dots = (word >> 12) & 0x0F;
    }
    const TickLength length = NoteLength(numerator, denominator, dots);
    if (!inChord_ && !IsNote(IntParam(e, 0)) && pendingMarks_.empty() && JoinShortRest(length)) return;
    chord_ = Append(std::make_unique<nChord>());
    for (auto& mark : pendingMarks_) {
      for (OpenSpan* span : {&wedge_, &pedal_}) {
        if (span->mark == mark.get()) span->chord = chord_;
      }
      chord_->metaEvents.push_back(std::move(mark));
    }
    pendingMarks_.clear();
    unfinished_ = chord_;
    unfinishedLength_ = length;
    joinedRests_ = 1;
  }
  const int pitch = IntParam(e, 0);
  lastNote_ = nullptr;
  if (IsNote(pitch)) {
    const int pitchByte = pitch + 12;
    const CKey key = definition_ != nullptr ? definition_->key : CKey();
    auto note = std::make_unique<nNotes>();
    note->pitch = static_cast<uint8_t>(pitchByte);
    char spelled = 0;
    note->SpellInKey(key, false, spelled);
    note->string = nNotes::kNoCourse;
    if (definition_ != nullptr) {
      const CTabInstrument& tab = definition_->tabInstrument;
      const int string = IntParam(e, 5) >> 8;
      if (string >= 1 && static_cast<size_t>(string) <= tab.tuning.CoursesInUse()) {
        note->string = static_cast<uint8_t>(string - 1);
      } else if (const int found = tab.FindStringForPitch(pitchByte - kCoursePitchOffset, -1); found >= 0) {
        note->string = static_cast<uint8_t>(found);
      }
    }
    KeepWrittenSpelling(*note, e.param(1), key);
    nNotes* added = note.get();
    if (chord_->AddNote(std::move(note)) >= 0) lastNote_ = added;
  }
  if (lastNote_ != nullptr) {
    if (tiePending_) {
      openTies_.push_back(lastNote_->pitch);
      tiePending_ = false;
    }
    if (slurPending_) {
      SlurSlot& slot = slots_[pendingSlot_];
      slot.startIndex = static_cast<int>(currentVoice_->size()) - 1;
      slot.startInterval = lastNote_->interval;
      slot.startNote = lastNote_;
      slurPending_ = false;
    }
    if (!pendingChordName_.empty()) {
      chord_->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kChordName, pendingChordName_, 0, 0, 0));
      pendingChordName_.clear();
    }
  }
  if (!inChord_) chord_ = nullptr;
}

void MusicXMLTagWalk::KeepWrittenSpelling(nNotes& note, const std::string& writtenStep, const CKey& key) const {
  static constexpr std::string_view kSteps = "cdefgab";
  const size_t written = writtenStep.size() == 1 ? kSteps.find(writtenStep[0]) : std::string_view::npos;
  if (written == std::string_view::npos) return;
  // The score's step moved by the transposition, in the octave that comes nearest the pitch.
  const int letter = FloorMod(static_cast<int>(written) + transposeSteps_, 7);
  const int natural = CKey::NaturalPitch(letter);
  const int step = 7 * FloorDiv(note.pitch - natural + 6, 12) + letter;
  if (step == note.interval && CKey::NaturalPitch(step) == note.pitch) return;  // the key spells it so
  note.SetWrittenSpelling(step, key);
}

void MusicXMLTagWalk::Fret(const vornelelement& e) {
  const int word = IntParam(e, 0);
  if (word == 0 || lastNote_ == nullptr || definition_ == nullptr) return;
  const int string = word >> 8;
  if (string >= 1 && static_cast<size_t>(string) <= definition_->tabInstrument.tuning.CoursesInUse()) {
    lastNote_->string = static_cast<uint8_t>(string - 1);
  }
}

void MusicXMLTagWalk::TieEnd() {
  if (lastNote_ == nullptr) return;
  const auto open = std::find(openTies_.begin(), openTies_.end(), lastNote_->pitch);
  if (open == openTies_.end()) return;
  lastNote_->slur = kTiedFromPrevious;
  openTies_.erase(open);
}

void MusicXMLTagWalk::SkipNumber() {
  // Back past the measure's own events to the bar lines that opened it (a repeat's end and
  // the next one's start), up to the chord before them.
  size_t i = working_.size();
  while (i > 0 && (working_.at(i - 1) == nullptr || !working_.at(i - 1)->IsBarLine())) --i;
  for (; i > 0; --i) {
    nChord* event = working_.at(i - 1);
    if (event == nullptr) continue;
    if (event->IsChord()) break;
    if (event->IsBarLine()) event->rhythm = nChord::kSkipNumber;
  }
}

// ---------------------------------------------------------------------------------------------
// Volta endings

void MusicXMLTagWalk::Volta(const vornelelement& e) {
  EndVolta();
  if (currentVoice_ == nullptr) return;
  // The ending stands on the bar line that opens its measure; before the first bar there is
  // none to carry it.
  for (size_t i = working_.size(); i-- > 0;) {
    nChord* event = working_.at(i);
    if (event == nullptr) continue;
    if (event->IsChord()) break;
    if (!event->IsBarLine()) continue;
    voltaBar_ = event;
    voltaStart_ = i;
    voltaText_ = TextParam(e, 1);
    voltaOpen_ = e.parameters().size() > 2;  // "discontinue": no hook at its end
    return;
  }
  CountImportLoss(kVoltaEnding);
}

void MusicXMLTagWalk::EndVolta() {
  nChord* bar = std::exchange(voltaBar_, nullptr);
  if (bar == nullptr) return;
  FinishChord();  // the last chord's length counts
  // Its length in ticks: its reach in events is counted once the voices are merged.
  uint64_t ticks = 0;
  for (size_t i = voltaStart_ + 1; i < working_.size(); ++i) {
    const nChord* e = working_.at(i);
    if (e != nullptr && e->IsChord() && e->ChordMark() != nChord::kTimelessMark) ticks += e->GetDurationTicks();
  }
  bar->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, voltaText_, 1, voltaOpen_ ? 1 : 0, 0));
  staffEndings_.push_back({bar->metaEvents.back(), ticks});
}

void MusicXMLTagWalk::ReachEndings() {
  // Per voice, each ending reaches over the events up to the first bar line at or after its
  // length, that bar line included (at most 255).
  std::vector<nChordArray*> voices;
  std::unordered_map<const CMetaEvent*, uint64_t> lengths;
  for (const auto& [voice, ending] : endings_) {
    if (std::find(voices.begin(), voices.end(), voice) == voices.end()) voices.push_back(voice);
    lengths[ending.mark] = ending.ticks;
  }
  for (nChordArray* voice : voices) {
    struct Reaching {
      CMetaEvent* mark;
      uint64_t ticksLeft;
      uint32_t events;
    };
    std::vector<Reaching> open;
    for (const auto& e : *voice) {
      if (e == nullptr) continue;
      for (Reaching& r : open) {
        ++r.events;
        if (e->IsChord() && e->ChordMark() != nChord::kTimelessMark) {
          r.ticksLeft -= std::min<uint64_t>(r.ticksLeft, e->GetDurationTicks());
        }
        if ((e->IsBarLine() && r.ticksLeft == 0) || r.events == 255) {
          r.mark->value = r.events;
          r.mark = nullptr;
        }
      }
      std::erase_if(open, [](const Reaching& r) { return r.mark == nullptr; });
      if (!e->IsBarLine()) continue;
      for (const auto& mark : e->metaEvents) {
        const auto length = lengths.find(mark.get());
        if (length != lengths.end()) open.push_back({mark.get(), length->second, 0});
      }
    }
    // An ending that runs to the end of the voice reaches over all of it.
    for (Reaching& r : open) r.mark->value = std::max<uint32_t>(r.events, 1);
  }
  endings_.clear();
}

// ---------------------------------------------------------------------------------------------
// Slurs

void MusicXMLTagWalk::SlurBegin(const vornelelement& e) {
  const std::optional<size_t> index = SlurSlotIndex(IntParam(e, 0));
  if (!index) return;
  SlurSlot& slot = slots_[*index];
  // A slur of the same number still open ends at the note this one starts on, whose end tag
  // follows the note.
  endingSlots_[*index] = slot.active && slot.startNote != nullptr ? slot : SlurSlot{};
  slot = SlurSlot{};
  slot.active = true;
  const int placement = IntParam(e, 1);
  slot.side = placement == 0 ? SlurSide::kAbove : placement == 1 ? SlurSide::kBelow : SlurSide::kNotGiven;
  pendingSlot_ = *index;
  slurPending_ = true;
}

void MusicXMLTagWalk::SlurEnd(const vornelelement& e) {
  const std::optional<size_t> index = SlurSlotIndex(IntParam(e, 0));
  if (!index || lastNote_ == nullptr || currentVoice_ == nullptr) return;
  SlurSlot& ending = endingSlots_[*index];
  const bool endsTheOlder = ending.active && slots_[*index].startNote == lastNote_;
  SlurSlot& slot = endsTheOlder ? ending : slots_[*index];
  if (!endsTheOlder) ending = SlurSlot{};
  // The end of a slur whose start was never given (a chord note's, which is not converted)
  // makes nothing.
  if (!slot.active) return;
  slot.endIndex = static_cast<int>(currentVoice_->size()) - 1;
  slot.endNote = lastNote_;
  slot.endInterval = lastNote_->interval;
  FinishSlur(slot);
}

bool MusicXMLTagWalk::SlurAbove(const SlurSlot& slot) const {
  if (slot.side != SlurSide::kNotGiven) return slot.side == SlurSide::kAbove;
  if (slot.startNote == nullptr || slot.endNote == nullptr) return false;
  const size_t selected = definition_ != nullptr && definition_->voiceSelector != 0 ? 1 : 0;
  if (definition_ == nullptr || selected >= definition_->staves.size()) return false;
  const int middle = definition_->staves.at(selected)->GetStemDividingPitch();
  return slot.startNote->pitch + slot.endNote->pitch >= 2 * middle;
}

void MusicXMLTagWalk::FinishSlur(SlurSlot& slot) {
  const int s = slot.startIndex;
  const int e = slot.endIndex;
  const int a = slot.startInterval;
  const int b = slot.endInterval;
  const bool above = SlurAbove(slot);
  int chords = 0;
  if (slot.startNote != nullptr && e > s) {
    for (int i = s; i < e && chords <= 8; ++i) {
      const nChord* event = working_.at(static_cast<size_t>(i));
      if (event != nullptr && event->IsChord()) ++chords;
    }
  }
  // A note held by a tie keeps its tie word: its slur becomes a legato mark.
  const bool held = slot.startNote != nullptr && slot.startNote->slur == kTiedFromPrevious;
  if (chords >= 1 && chords <= 8 && !held) {
    // The word spans the chords from its note to the last one's; its end stands as many steps
    // off as the notes are apart, at most seven.
    uint32_t word = (static_cast<uint32_t>(std::min(std::abs(b - a), 7)) << 3) | static_cast<uint32_t>(chords - 1);
    if (b < a) word |= 0x40;
    if (above) word |= 0x80;
    slot.startNote->slur = word;
  } else if (chords >= 1 && s >= 0 && static_cast<size_t>(s) < working_.size() &&
             working_.at(static_cast<size_t>(s)) != nullptr) {
    // Too long for a slur word, or its note holds a tie: a legato mark on the event where it
    // starts, from the height of its first note to that of its last, a line beyond them.
    nChord* start = working_.at(static_cast<size_t>(s));
    CMetaEvent* mark = start->metaEvents.push_back(LongSlur(slot, above));
    if (e >= 0 && static_cast<size_t>(e) < working_.size()) longSlurs_.push_back({start, working_.at(static_cast<size_t>(e)), mark});
  }
  slot = SlurSlot{};
}

std::unique_ptr<CMetaEvent> MusicXMLTagWalk::LongSlur(const SlurSlot& slot, bool above) const {
  const size_t selected = definition_ != nullptr && definition_->voiceSelector != 0 ? 1 : 0;
  const int clef = definition_ != nullptr && selected < definition_->staves.size()
                       ? definition_->staves.at(selected)->clefId
                       : CClef::kGClef;
  // A note's place on the staff in lines from the mark's base line, the second from the
  // bottom, down positive; held within what the mark's four bits keep.
  const auto line = [clef, above](int interval) {
    const double halfLines = 17 + CClef::ReferenceStep(clef) - interval - 6;
    const double lines = above ? std::floor(halfLines / 2) - 1 : std::ceil(halfLines / 2) + 1;
    return static_cast<uint32_t>(std::clamp(static_cast<int>(lines) + 7, 0, 15));
  };
  const uint32_t heights = line(slot.startInterval) | (line(slot.endInterval) << 4);
  const uint32_t span = static_cast<uint32_t>(std::clamp(slot.endIndex - slot.startIndex, 0, 255));
  const int32_t bend = above ? -kLongSlurBend : kLongSlurBend;
  // The same heights serve the tablature, the curve bending the same way.
  return std::make_unique<CMetaEvent>(CMetaEvent::kLegato, "", span | (heights << 8) | (0x77u << 16), bend, bend);
}

// ---------------------------------------------------------------------------------------------
// Bars, signatures, tempo and marks

nChord* MusicXMLTagWalk::AppendBar(uint16_t status) {
  if (currentVoice_ == nullptr) return nullptr;
  FinishChord();
  // Bar lines one after another (a repeat's end and the next one's start) close one measure.
  const nChord* last = currentVoice_->empty() ? nullptr : currentVoice_->back();
  if (last == nullptr || !last->IsBarLine()) ++measure_;
  nChord* bar = Append(std::make_unique<nChord>(status));
  chord_ = nullptr;
  return bar;
}

nChord* MusicXMLTagWalk::Append(std::unique_ptr<nChord> event) {
  FinishChord();
  return currentVoice_->push_back(std::move(event));
}

bool MusicXMLTagWalk::JoinShortRest(TickLength length) {
  // A rest that no values hold (one shorter than the shortest value) is joined by the rests
  // after it, so that together they keep the time.
  const nChord* rest = unfinished_;
  if (rest == nullptr || !rest->notes.empty() || !rest->metaEvents.empty() || length.numerator <= 0 ||
      !RhythmsForLength(unfinishedLength_).empty()) {
    return false;
  }
  constexpr int64_t kLargest = int64_t{1} << 40;
  const int64_t denominator = std::lcm(unfinishedLength_.denominator, length.denominator);
  if (denominator > kLargest || unfinishedLength_.numerator > kLargest || length.numerator > kLargest) return false;
  const int64_t numerator = unfinishedLength_.numerator * (denominator / unfinishedLength_.denominator) +
                            length.numerator * (denominator / length.denominator);
  const int64_t g = std::gcd(numerator, denominator);
  unfinishedLength_ = TickLength{numerator / g, denominator / g};
  ++joinedRests_;
  return true;
}

void MusicXMLTagWalk::FinishChord() {
  nChord* chord = std::exchange(unfinished_, nullptr);
  if (chord == nullptr || currentVoice_ == nullptr) return;
  std::vector<uint16_t> words = RhythmsForLength(unfinishedLength_);
  const bool exact = !words.empty();
  if (!exact) words = NearestRhythms(unfinishedLength_);
  chord->rhythm = words.front();
  // The values after the first hold the chord's notes on.
  for (size_t k = 1; k < words.size(); ++k) currentVoice_->push_back(HeldContinuation(*chord, words[k]));
  if (exact && words.size() == 1 && joinedRests_ == 1) return;
  const bool rest = chord->notes.empty();
  const std::string length = WholeNoteText(unfinishedLength_);
  std::string text;
  if (joinedRests_ > 1) {
    text = std::to_string(joinedRests_) + " rests adding up to " + length + " are written as ";
  } else if (rest) {
    text = "a rest of " + length + " is written as ";
  } else {
    text = "a note of " + length + (exact ? " is held as " : " is played as ");
  }
  Warn(text + RhythmsText(words));
}

void MusicXMLTagWalk::Warn(const std::string& text) const {
  ImportWarning("warning: part " + std::to_string(currentPart_ + 1) + ", measure " + std::to_string(measure_) + ": " +
                text);
}

void MusicXMLTagWalk::Transpose(const vornelelement& e) {
  transposeSemitones_ = std::clamp(IntParam(e, 0), -127, 127);
  transposeSteps_ = std::clamp(IntParam(e, 1), -80, 80);
  // The definition keeps the part's first transposition: its staff shows written pitches.
  if (definition_ == nullptr || currentPart_ < 0) return;
  const size_t part = static_cast<size_t>(currentPart_);
  if (part >= transposedParts_.size()) transposedParts_.resize(part + 1, false);
  if (transposedParts_[part]) return;
  transposedParts_[part] = true;
  definition_->key.transpose = ClampTransposition(-transposeSemitones_);
}

void MusicXMLTagWalk::Key(const vornelelement& e) {
  // The score gives the written key; the notes sound in the key moved by the transposition,
  // an enharmonic key of fewer accidentals taken where it would pass seven.
  int fifths = IntParam(e, 0);
  if (fifths >= -7 && fifths <= 7) {
    fifths += CKey::FifthsOfInterval(transposeSemitones_, transposeSteps_);
    if (fifths > 7 || fifths < -7) fifths = FloorMod(fifths + 5, 12) - 5;
  }
  if (fifths < -7 || fifths > 7) {
    ImportWarning("warning: a key of " + std::to_string(fifths) + " fifths is left out");
    return;
  }
  section_.key.SetSignature(fifths, false);
  // The part's own notes are spelled in its key too.
  if (definition_ != nullptr) {
    const int32_t transpose = definition_->key.transpose;
    definition_->key.SetSignature(fifths, false);
    definition_->key.transpose = transpose;
  }
}

void MusicXMLTagWalk::Meter(const vornelelement& e) {
  const int beats = IntParam(e, 1);
  const int beatType = IntParam(e, 2);
  if (beats < 1 || beats > 64 || !IsPowerOfTwo(beatType) || beatType > 64) {
    ImportWarning("warning: a time signature of " + std::to_string(beats) + "/" + std::to_string(beatType) +
                  " is left out");
    return;
  }
  if (currentVoice_ == nullptr) return;
  if (!sectionMeterSet_) {
    section_.numerator = beats;
    section_.denominator = beatType;
    sectionMeterSet_ = true;
  }
  if (meterSeen_) Append(std::make_unique<nChord>(kDoubleBar));
  FinishChord();
  nChord* signature = currentVoice_->AppendTimeSignature(beats, beatType);
  // Common and cut time keep their symbol (C, a struck C) where the time allows it.
  const std::string symbol = e.param(0);
  if ((symbol == "C" || symbol == "C/") && signature != nullptr) {
    if (CMetaEvent* event = signature->metaEvents.Find(CMetaEvent::kTimeSignature)) event->value |= kSymbolTime;
  }
  meterSeen_ = true;
}

void MusicXMLTagWalk::Tempo(const vornelelement& e) {
  const std::string text = e.param(0);
  double perMinute = 0;
  // A metronome mark: tempo="[n/d] = N", N beats of n/d per minute, counted in quarters.
  if (const size_t open = text.find('['); open != std::string::npos) {
    char* end = nullptr;
    const double n = std::strtod(text.c_str() + open + 1, &end);
    const double d = *end == '/' ? std::strtod(end + 1, &end) : 0;
    const size_t equals = text.find('=', open);
    const double beats = equals == std::string::npos ? 0 : std::strtod(text.c_str() + equals + 1, nullptr);
    if (d > 0) perMinute = beats * 4 * n / d;
  } else {
    perMinute = std::strtod(text.c_str(), nullptr);
  }
  if (!std::isfinite(perMinute) || perMinute < 0.5) return;
  const int32_t bpm = static_cast<int32_t>(std::min(std::round(perMinute), 4095.0));
  section_.tempo = (section_.tempo & ~0xFFF) | std::max(bpm, 1);
}

void MusicXMLTagWalk::FlipStem() {
  if (currentVoice_ == nullptr || currentVoice_->empty()) return;
  nChord* last = currentVoice_->back();
  if (last != nullptr && last->IsChord()) last->status ^= kStemBit;
}

CMetaEvent* MusicXMLTagWalk::AddPending(uint8_t kind, const std::string& text, int32_t cy, uint32_t value) {
  return pendingMarks_.emplace_back(std::make_unique<CMetaEvent>(kind, text, value, 0, cy)).get();
}

bool MusicXMLTagWalk::Below(const vornelelement& e, size_t first) {
  for (size_t i = first; i < e.parameters().size(); ++i) {
    if (e.param(i) == "below") return true;
  }
  return false;
}

void MusicXMLTagWalk::Dynamic(const vornelelement& e) {
  const std::string text = TextParam(e, 0);
  const int32_t cy = DynamicsValue(text);
  lastLevel_ = cy & 0xFFFF;
  AddPending(CMetaEvent::kDynamics, text, cy, Below(e) ? kDynamicBelow : 0);
}

void MusicXMLTagWalk::WedgeBegin(const vornelelement& e, bool crescendo) {
  // A crescendo opens from its chord (cy 1), a diminuendo closes at its end (cy 0).
  EndSpan(wedge_);
  wedge_.mark = AddPending(CMetaEvent::kCrescendo, "", crescendo ? 1 : 0, Below(e, 0) ? kHairpinBelow : 0);
}

void MusicXMLTagWalk::Pedal(const vornelelement& e) {
  const std::string type = e.param(0);
  EndSpan(pedal_);
  if (type == "stop") return;
  // "Ped." and its line to where the pedal goes up, under the staff unless placed over it. A
  // pedal changes no loudness: it keeps the expression of the last dynamic.
  bool above = false;
  for (size_t i = 1; i < e.parameters().size(); ++i) above = above || e.param(i) == "above";
  pedal_.mark = AddPending(CMetaEvent::kDynamics, "pedal", (kPedalCode << 16) | lastLevel_, above ? 0 : kDynamicBelow);
}

void MusicXMLTagWalk::EndSpan(OpenSpan& span) {
  if (span.mark != nullptr && span.chord != nullptr && currentVoice_ != nullptr) {
    // The mark reaches the column of the chord after the last one made: the stop stands
    // before the note it ends at, or after the measure's last note.
    size_t chords = 1;
    bool after = false;
    for (const auto& event : *currentVoice_) {
      if (event.get() == span.chord) {
        after = true;
      } else if (after && event != nullptr && event->IsChord()) {
        ++chords;
      }
    }
    span.mark->value = (span.mark->value & ~0xFFu) | static_cast<uint32_t>(std::min<size_t>(chords, 255));
  }
  span = OpenSpan{};
}

}  // namespace vornel
