#include "layout/dialogs/ChordDialogs.h"

#include <algorithm>
#include <cstdlib>

#include "model/ornament/COrnamentProps.h"
#include "model/events/GraceNoteEvent.h"
#include "platform/ServiceSlots.h"
#include "platform/text/FieldRanges.h"

namespace vornel {

namespace {

long Last(size_t size) { return static_cast<long>(size) - 1; }

std::string NoteText(int pitch) {
  std::string name = GetPitchName(pitch);
  std::erase(name, ' ');
  return std::to_string(pitch) + " [" + name + "]";
}

// Grace-note codes by the type combo's index.
constexpr std::array<int, 12> kGraceCodes = {1, 2, 36, 4, 6, 38, 7, 33, 34, 39, 8, 9};

}  // namespace

void CChordProperties::Open(const nChord& chord, const nTuning& tuning) {
  description = chord.name;
  const int courses = static_cast<int>(tuning.CoursesInUse());
  for (int r = 0; r < kRows; ++r) {
    Row& row = rows[static_cast<size_t>(r)];
    row = Row{};
    if (r >= courses) continue;
    row.shown = true;
    if (const nNotes* note = chord.notes.NoteOnCourse(static_cast<uint8_t>(r))) {
      row.fret = note->pitch - tuning.courses[static_cast<size_t>(r)].pitch - kCoursePitchOffset;
      row.noteText = NoteText(note->pitch);
      row.barre = ((note->fingering >> 4) & 0xF) == kBarreMark;
    }
  }
  opened = rows;
  const int diapasons = courses - std::max(tuning.lines, 0);
  allowDiapason = diapasons > 0;
  diapason = -1;
  diapasonMaximum = diapasons > 0 ? diapasons : -1;
}

void CChordProperties::StepSpin(int row, int position) {
  if (row < 0 || row >= kRows || !rows[static_cast<size_t>(row)].shown) return;
  rows[static_cast<size_t>(row)].fret = position < 0 ? kNoNote : position;
}

std::string CChordProperties::Validate() const {
  for (int r = 0; r < kRows; ++r) {
    const Row& row = rows[static_cast<size_t>(r)];
    if (!row.shown) continue;
    const std::string message =
        CheckFieldRanges({{kRowNames[static_cast<size_t>(r)], row.fret, kNoNote, kMaxFret}});
    if (!message.empty()) return message;
  }
  if (allowDiapason) return CheckFieldRanges({{"Diapason", diapason, -1, diapasonMaximum}});
  return {};
}

void CChordProperties::Apply(nChord& chord, const nTuning& tuning, const CKey& key) const {
  for (int r = 0; r < kRows; ++r) {
    const Row& row = rows[static_cast<size_t>(r)];
    const Row& before = opened[static_cast<size_t>(r)];
    if (!row.shown || (row.fret == before.fret && row.barre == before.barre)) continue;
    const auto course = static_cast<uint8_t>(r);
    if (row.fret < 0) {
      if (const nNotes* note = chord.notes.NoteOnCourse(course)) {
        chord.metaEvents.RemoveNoteEvents(*note);
        chord.notes.RemoveNote(course, true);
      }
      continue;
    }
    const int pitch = tuning.courses[static_cast<size_t>(r)].pitch + kCoursePitchOffset + row.fret;
    if (pitch < 1 || pitch > 127) continue;
    uint16_t name = 0;
    char accidental = 0;
    const int interval = key.SpellPitch(pitch, name, accidental);
    nNotes* note = chord.notes.NoteOnCourse(course);
    if (note == nullptr) {
      if (chord.notes.empty()) chord.dy = 0;
      note = chord.notes.SetNote(static_cast<uint8_t>(pitch), course, static_cast<uint8_t>(interval), true);
      if (note == nullptr) continue;
    }
    note->pitch = static_cast<uint8_t>(pitch);
    note->interval = static_cast<uint8_t>(interval);
    note->name = name;
    // Only the barre mark of bits 4-7: another right-hand mark there stays unless the box is set.
    const uint16_t high = (note->fingering >> 4) & 0xF;
    if (row.barre) {
      note->fingering = static_cast<uint16_t>((note->fingering & ~0xF0) | kBarreMark << 4);
    } else if (high == kBarreMark) {
      note->fingering = static_cast<uint16_t>(note->fingering & ~0xF0);
    }
  }
}

void CGraceNotesDlg::Open() {
  if (code < 1 || code > 103) return;
  int base = code;
  descending = code > kDescending;
  if (descending) base -= kDescending;
  const auto found = std::find(kGraceCodes.begin(), kGraceCodes.end(), base);
  type = found != kGraceCodes.end() ? static_cast<int>(found - kGraceCodes.begin()) : 9;
}

void CGraceNotesDlg::ReadFlags(int eventCode, uint32_t flags) {
  if (eventCode == 0 && flags == 0) return;
  drawLigature = (flags & grace::kSlur) != 0;
  ligatureAbove = (flags & grace::kSlurAbove) != 0;
  ternaryGroup = (flags & grace::kMark) != 0;
  downwardStem = (flags & grace::kStemsDown) != 0;
  showTablatureFlag = (flags & grace::kFlagGlyph) != 0;
  straightLigature = (flags & grace::kFlatSlur) != 0;
  // The drawing reads the list position as an offset from the half note: a negative offset
  // from elsewhere opens on the shortest choice it comes nearest to.
  flagValue = std::clamp(GraceValueCode(flags) - 2, 0, static_cast<int>(Last(kFlagValues.size())));
  rotations = GraceRotations(flags);
  startOffset = GraceStartOffset(flags);
}

uint32_t CGraceNotesDlg::Flags() const {
  uint32_t flags = 0;
  if (drawLigature) flags |= grace::kSlur | (ligatureAbove ? grace::kSlurAbove : 0) | (ternaryGroup ? grace::kMark : 0);
  if (downwardStem) flags |= grace::kStemsDown;
  if (showTablatureFlag) flags |= grace::kFlagGlyph;
  if (straightLigature) flags |= grace::kFlatSlur;
  flags |= (static_cast<uint32_t>(flagValue) & 0xF) << 16;
  flags |= MakeSignedNibble(rotations) << 24;
  flags |= MakeSignedNibble(startOffset) << 28;
  return flags;
}

std::string CGraceNotesDlg::RotationText() const {
  return std::to_string(std::abs(rotations)) + (rotations > 0 ? " sharps" : " flats");
}

int CGraceNotesDlg::Code() const {
  if (type < 0 || type >= static_cast<int>(kGraceCodes.size())) return 0;
  return kGraceCodes[static_cast<size_t>(type)] + (descending ? kDescending : 0);
}

std::string CGraceNotesDlg::Validate() const {
  return CheckFieldRanges({{"Ornament type", type, 0, Last(kTypes.size())},
                           {"Flag value", flagValue, 0, Last(kFlagValues.size())},
                           {"Key rotations", rotations, -7, 7},
                           {"Start position offset", startOffset, -7, 7}});
}

void CRhythmPattern::From(const CInstrument::RhythmPattern& pattern) {
  flag = std::clamp(pattern.flags & 7, 0, static_cast<int>(Last(kFlags.size())));
  dotted = (pattern.flags & 8) != 0;
  triplets = (pattern.flags & 16) != 0;
  beat = std::clamp(static_cast<int>(pattern.denominatorCode), 0, static_cast<int>(Last(kBeats.size())));
  chordsPerBar = std::clamp(static_cast<int>(pattern.chordsPerBar), 1, 32);
  printSignature = (pattern.options & 1) != 0;
  padOtherVoice = (pattern.options & 2) != 0;
  inputRests = (pattern.options & 4) != 0;
  bars = kOpeningBars;
}

uint16_t CRhythmPattern::FlagWord() const {
  return static_cast<uint16_t>(flag + (dotted ? 8 : 0) + (triplets ? 16 : 0));
}

CInstrument::RhythmPattern CRhythmPattern::Pattern(int barCount) const {
  CInstrument::RhythmPattern pattern;
  pattern.bars = barCount;
  pattern.chordsPerBar = static_cast<uint16_t>(chordsPerBar);
  pattern.denominatorCode = static_cast<uint16_t>(beat);
  pattern.flags = FlagWord();
  pattern.options = (printSignature ? 1u : 0u) | (padOtherVoice ? 2u : 0u) | (inputRests ? 4u : 0u);
  return pattern;
}

std::string CRhythmPattern::Validate() const {
  return CheckFieldRanges({{"Flag", flag, 0, Last(kFlags.size())},
                           {"Beat", beat, 0, Last(kBeats.size())},
                           {"Bars", bars, 1, 64},
                           {"Chords per bar", chordsPerBar, 1, 32}});
}

std::string CSwapOrnamentDlg::Validate() const {
  return CheckFieldRanges({{"Select ornament", select, 0, Last(kOrnaments.size())},
                           {"Replace with", replaceWith, 0, Last(kOrnaments.size())}});
}

uint8_t CSwapOrnamentDlg::SelectedCode() const { return COrnamentProps::KindCode(select); }
uint8_t CSwapOrnamentDlg::ReplacementCode() const { return COrnamentProps::KindCode(replaceWith); }

namespace {

constexpr const char* kServiceName = "chord dialog";

// A service the editor's window installs, not drawing state: one per process by design.
ChordDialogs g_none;
ObjectSlot<ChordDialogs> g_dialogs(kServiceName, g_none);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

}  // namespace

bool ChordDialogs::EditChordProperties(CChordProperties&) { return Missing(); }
bool ChordDialogs::EditGraceNotes(CGraceNotesDlg&) { return Missing(); }
bool ChordDialogs::SwapOrnament(CSwapOrnamentDlg&) { return Missing(); }

ChordDialogs& ChordEditingDialogs() { return g_dialogs.Get(); }
ScopedChordDialogs::ScopedChordDialogs(ChordDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}
ScopedChordDialogs::~ScopedChordDialogs() { g_dialogs.Exchange(previous_); }

bool EditChordProperties(nChord& chord, const nTuning& tuning, const CKey& key, CChordProperties* result) {
  CChordProperties dialog;
  dialog.Open(chord, tuning);
  if (result != nullptr) dialog.asterixed = result->asterixed;
  if (!ChordEditingDialogs().EditChordProperties(dialog) || !dialog.Validate().empty()) return false;
  dialog.Apply(chord, tuning, key);
  if (result != nullptr) *result = dialog;
  return true;
}

bool EditGraceNotes(int& code, CGraceNotesDlg* result) {
  CGraceNotesDlg dialog = result != nullptr ? *result : CGraceNotesDlg{};
  dialog.code = code;
  dialog.Open();
  if (!ChordEditingDialogs().EditGraceNotes(dialog) || !dialog.Validate().empty()) return false;
  code = dialog.Code();
  if (result != nullptr) *result = dialog;
  return true;
}

}  // namespace vornel
