// What the score view's note entry and editing commands ask of the document: entry at the
// cursor of the active line, chord attributes, meta-events and special events there, and the
// operations on the chords of the selection. Every operation that changes the section takes
// its undo snapshot first and ends with NotifyChanged, so nothing escapes undo or the
// question before closing.

#include <algorithm>
#include <memory>
#include <optional>
#include <unordered_set>

#include "document/CBriotabDoc.h"
#include "model/instrument/CClef.h"
#include "model/instrument/DrawnColumns.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CInstrument.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/undo/CUndoSectionArray.h"
#include "model/voice/EntryForms.h"
#include "model/score/SectionTools.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/text/FormatText.h"

namespace vornel {

namespace {

constexpr const char* kEmptyStaffOnly = "This tool should be run from an empty staff!";
constexpr const char* kRecalculateQuestion = "Recalculate note intervals and reset hidden alterations?";
constexpr const char* kPatternRange =
    "The pattern takes 1 to 64 bars of 1 to 32 chords each.";
// The rhythm pattern dialog's ranges.
constexpr int32_t kMostPatternBars = 64;
constexpr int kMostPatternChords = 32;
// The rhythm pattern's options word: bit 1 fills the other voice too.
constexpr uint32_t kOtherVoiceToo = 2;


// The dispatcher's three kinds of change.
void ToggleEffect(nChord& c, uint16_t value) { c.dy = c.dy != value ? value : 0; }
void ToggleEffectClass(nChord& c, uint16_t value) {
  const uint16_t cls = static_cast<uint16_t>((value >> 8) & 0x0F);
  c.dy = ((c.dy >> 8) & 0x0F) == cls ? 0 : value;
}
void ToggleMark(nChord& c, uint16_t mark) {
  const uint16_t field = (c.status >> 8) & 0x0F;
  c.status = static_cast<uint16_t>((c.status & ~0x0F00) | (field == mark ? 0 : mark << 8));
}
void ToggleStyle(nChord& c, uint16_t value) {
  const uint16_t field = c.status & 0x70;
  c.status = static_cast<uint16_t>((c.status & ~0x70) | (field == value ? 0 : value));
}

}  // namespace

CBriotabDoc::ChordRun CBriotabDoc::GetSelectedChords(const Rect& selection) const {
  ChordRun run;
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return run;
  run.voice = &line->GetSelectedVoice();
  const CClef* stave = line->GetCurrentStave();
  const int64_t w = stave->columnWidth;
  if (!selection.IsEmpty() && w > 0 && selection.right > selection.left) {
    // The column under the left edge (a third of a column in) and the columns to the one under
    // the right edge (a third of a column back), where the drawing put them.
    const int32_t voiceIndex = line->selectedVoice != 0 ? 1 : 0;
    const auto columnAt = [&](int64_t x) {
      const int64_t drawn = DrawnColumnAt(*stave, voiceIndex, *run.voice, x);
      return drawn >= 0 ? drawn : std::max<int64_t>((x - stave->area.left) / w, 0);
    };
    const int64_t first = columnAt(int64_t{selection.left} + w / 3);
    const int64_t count = columnAt(int64_t{selection.right} - w / 3) - first + 1;
    if (count > 0 && static_cast<size_t>(first) < run.voice->size()) {
      run.first = static_cast<size_t>(first);
      run.count = std::min(static_cast<size_t>(count), run.voice->size() - run.first);
      return run;
    }
  }
  run.first = static_cast<size_t>(std::max(stave->cursorColumn, 0));
  run.count = run.first < run.voice->size() ? 1 : 0;
  return run;
}

void CBriotabDoc::ReflowActiveSystem(bool align) {
  CSystemArray& section = *GetActiveSection();
  if (section.systems.empty()) return;
  section.RebarSystem(static_cast<size_t>(section.activeSystem), align);
  section.NumberBars(static_cast<int>(section.ActiveInstrumentIndex()));
  if (CInstrument* line = GetActiveInstrument()) {
    line->GetCurrentStave()->cursorColumn = static_cast<int32_t>(line->GetSelectedVoice().size());
  }
  UpdateAllViews(kHintRepaintAll);
}

namespace {

void RebarActive(CBriotabDoc& doc) {
  CSystemArray& section = *doc.GetActiveSection();
  if (section.systems.empty()) return;
  section.RebarSystem(static_cast<size_t>(section.activeSystem), false);
  section.NumberBars(static_cast<int>(section.ActiveInstrumentIndex()));
}

}  // namespace

int CBriotabDoc::InsertChordAtCursor(std::unique_ptr<nChord> chord) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  SaveSnapshot();
  CClef* stave = line->GetCurrentStave();
  if (stave->cursorColumn < 0) stave->cursorColumn = 0;
  nChordArray& voice = line->GetSelectedVoice();
  const size_t at = std::min(static_cast<size_t>(stave->cursorColumn), voice.size());
  if (chord == nullptr) chord = std::make_unique<nChord>();
  voice.insert(at, std::move(chord));
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

int CBriotabDoc::InsertRest(uint8_t value, uint8_t kind) {
  if (GetActiveInstrument() == nullptr) return 0;
  SaveSnapshot();
  // The rhythm word: value in bits 0-2, flag kind in bits 4-7.
  return InsertChordAtCursor(std::make_unique<nChord>(uint16_t{4}, static_cast<uint16_t>((kind << 4) | (value & 7))));
}

nChord* CBriotabDoc::InputFret(char key, uint16_t rhythmWord, bool clear) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return nullptr;
  SaveActivePageSnapshot();
  nChord* chord = line->InputKeyAtCursor(key, rhythmWord, clear);
  if (chord != nullptr) NotifyChanged(settings.linearMode != 0 ? kHintRepaintLine : kHintRepaintSystem);
  return chord;
}

nChord* CBriotabDoc::InputPianoNote(int pitch, uint16_t rhythmWord) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return nullptr;
  SaveSnapshot();
  nChord* chord = line->InputPitch(pitch, rhythmWord);
  if (chord == nullptr) return nullptr;
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
  return chord;
}

nChord* CBriotabDoc::ApplyBourdon(char letter, int bourdon, uint16_t rhythmWord) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return nullptr;
  SaveSnapshot();
  nChord* chord = line->EnterFretAtCursor(letter, bourdon, rhythmWord, false);
  if (chord == nullptr) return nullptr;
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
  return chord;
}

int CBriotabDoc::InsertAlfabetoChord(char letter, uint16_t rhythmWord, bool keepEvent) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  SaveSnapshot();
  nChord* chord = line->InsertAlfabetoChordAtCursor(letter, rhythmWord);
  if (chord == nullptr) return 0;
  if (!keepEvent) chord->metaEvents.RemoveKind(CMetaEvent::kAlfabeto);
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
  // The system index, at least 1 for "inserted".
  return std::max(GetActiveSection()->activeSystem, 1);
}

int CBriotabDoc::InsertForcedBarline(uint16_t code) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  SaveSnapshot();
  nChord* chord = line->GetCursorChord();
  std::unique_ptr<nChord> made;
  if (chord == nullptr || !chord->IsBarLine()) {
    made = std::make_unique<nChord>();
    chord = made.get();
  }
  if (chord->IsBarLine() && (chord->status & 12) == 12) {
    for (const auto& m : chord->metaEvents) {
      if (m == nullptr) continue;
      if (m->kind == CMetaEvent::kGraphicOrnament) m->cx = code >> 4;
      if (m->kind == CMetaEvent::kCaption) m->cy = code >> 4;
      if (m->kind == CMetaEvent::kEnding) m->cy = code << 4;
    }
  } else {
    chord->status = static_cast<uint16_t>((chord->status & 12) | code);
  }
  if (made != nullptr) {
    CClef* stave = line->GetCurrentStave();
    if (stave->cursorColumn < 0) stave->cursorColumn = 0;
    nChordArray& voice = line->GetSelectedVoice();
    voice.insert(std::min(static_cast<size_t>(stave->cursorColumn), voice.size()), std::move(made));
  }
  ReflowActiveSystem(true);
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

int CBriotabDoc::CutSelection(const Rect& selection) {
  const ChordRun run = GetSelectedChords(selection);
  if (run.voice == nullptr || run.count == 0) return 0;
  SaveSnapshot();
  run.voice->RemoveEvents(run.first, run.count, true);
  RebarActive(*this);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

void CBriotabDoc::PasteChords(const nChordArray& clipboard) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return;
  SaveSnapshot();
  CClef* stave = line->GetCurrentStave();
  if (stave->cursorColumn < 0) stave->cursorColumn = 0;
  nChordArray& voice = line->GetSelectedVoice();
  const size_t at = std::min(static_cast<size_t>(stave->cursorColumn), voice.size());
  for (size_t i = 0; i < clipboard.size(); ++i) voice.insert(at + i, nChordArray::CopyEntry(clipboard.HandleAt(i)));
  ReflowActiveSystem(false);
  SetModifiedFlag(true);
}

void CBriotabDoc::ApplyFlagToSelection(const Rect& selection, int value, int kind) {
  const ChordRun run = GetSelectedChords(selection);
  if (run.voice == nullptr || run.count == 0) return;
  SaveSnapshot();
  run.voice->SetRhythm(run.first, run.count, value, kind);
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
}

void CBriotabDoc::DotSelection(const Rect& selection) {
  const ChordRun run = GetSelectedChords(selection);
  if (run.voice == nullptr || run.count == 0) return;
  SaveSnapshot();
  run.voice->DotPairs(run.first, run.count, true);
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
}

void CBriotabDoc::ClearRests(const Rect& selection) {
  const ChordRun run = GetSelectedChords(selection);
  if (run.voice == nullptr || run.count == 0) return;
  SaveSnapshot();
  run.voice->RemoveEmptyChords(run.first, run.count);
  GetActiveSection()->RecalculateSection(false);
  NotifyChanged(kHintRepaintAll);
}

void CBriotabDoc::ScaleFlagValues(bool halve, const Rect& selection) {
  if (!selection.IsEmpty()) {
    const ChordRun run = GetSelectedChords(selection);
    if (run.voice == nullptr || run.count == 0) return;
    SaveSnapshot();
    run.voice->ScaleRhythm(run.first, run.count, halve);
    GetActiveSection()->RecalculateSection(false);
    NotifyChanged(kHintRepaintAll);
    return;
  }
  const std::string question = FormatText("%s all flag values for this section", halve ? "Divide " : "Double ");
  if (Prompts().Ask(question, Buttons::kOkCancel) != Answer::kOk) return;
  SaveSnapshot();
  GetActiveSection()->ChangeAllFlagValues(halve);
  NotifyChanged(kHintRepaintAll);
}

void CBriotabDoc::OnChordAttributeCommand(int id) {
  nChord* c = GetActiveChord();
  if (c == nullptr) return;
  if (id == 33315) {
    EditChordEffect();
    return;
  }
  if (id == 33323) {
    // The chart configuration of the line's definition and then the chord effect: one
    // snapshot covers both, and none stays when neither changed anything.
    CInstrument* line = GetActiveInstrument();
    if (line == nullptr || line->definition == nullptr) return;
    std::unique_ptr<CSystemArray> before = CopySection(*GetActiveSection());
    bool changed = EntryFormsInForce().ConfigureChordChart(line->definition->tabInstrument);
    if (const std::optional<uint16_t> dy = EntryFormsInForce().ChordEffect(c->dy)) {
      c->dy = *dy;
      changed = true;
    }
    if (!changed) return;
    undoStack.PushFront(std::move(before), actionName_, state_);
    NotifyChanged(kHintRepaintSystem);
    return;
  }
  if (id == 33324) {
    InsertMetaEvent(CMetaEvent::kDynamicChart);
    return;
  }
  if (id == 33332 || id == 33333) {
    SplitChordAtCursor();
    return;
  }
  SaveSnapshot();
  switch (id) {
    case 33313: ToggleEffect(*c, 6); break;
    case 33314: ToggleEffect(*c, 7); break;
    case 33316: ToggleEffectClass(*c, 0x106); break;
    case 33317: ToggleEffectClass(*c, 0x314); break;
    case 33318: ToggleEffectClass(*c, 0x1542); break;
    case 33319: ToggleEffectClass(*c, 0x1612); break;
    case 33321: ToggleMark(*c, 4); break;
    case 33325: ToggleMark(*c, 6); break;
    case 33326: ToggleMark(*c, 3); break;
    case 33327: ToggleMark(*c, 2); break;
    case 33328: ToggleMark(*c, 12); break;
    case 33329: ToggleMark(*c, 5); break;
    case 33330: c->status = static_cast<uint16_t>((c->status & ~0x70) | ((c->status & 0x70) == 0x60 ? 0 : 0x50)); break;
    case 33331: c->status = static_cast<uint16_t>((c->status & ~0x70) | ((c->status & 0x70) == 0x50 ? 0 : 0x60)); break;
    case 33334: ToggleMark(*c, 7); break;
    case 33335: ToggleMark(*c, 8); break;
    case 33336: ToggleMark(*c, 9); break;
    case 33337: ToggleMark(*c, 10); break;
    case 33338: ToggleMark(*c, 11); break;
    case 33354: ToggleStyle(*c, 0x20); break;
    case 33355:
      if (c->beamIndex == 0 && (c->rhythm & 7) >= 4) {
        ToggleStyle(*c, 0x30);
      } else {
        Prompts().Beep(BeepKind::kDefault);
      }
      break;
    case 33356: c->dy = 0x204; break;
    case 33357: c->dy = 0x208; break;
    case 33358: ToggleMark(*c, nChord::kGhostMark); break;
    case 33359: ToggleMark(*c, nChord::kTimelessMark); break;
    case 33361: c->status ^= 0x80; break;
    case 33362: ToggleMark(*c, 1); break;
    case 33363: ToggleStyle(*c, 0x40); break;
    default: return;
  }
  NotifyChanged(kHintRepaintSystem);
}

int CBriotabDoc::EditChordEffect() {
  nChord* c = GetActiveChord();
  if (c == nullptr || !c->IsChord()) {
    Prompts().Beep(BeepKind::kExclamation);
    return 0;
  }
  const std::optional<uint16_t> dy = EntryFormsInForce().ChordEffect(c->dy);
  if (!dy) return 0;
  SaveSnapshot();
  c->dy = *dy;
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

void CBriotabDoc::OnMarkerEvent(int id) {
  static constexpr uint8_t kKinds[] = {CMetaEvent::kFermata, 50, CMetaEvent::kDaCapo, CMetaEvent::kReprise,
                                       CMetaEvent::kSegno};
  if (id < 33385 || id > 33389) return;
  SaveSnapshot();
  nChord* c = GetActiveChord();
  if (c == nullptr) return;
  const uint8_t kind = kKinds[id - 33385];
  if (c->metaEvents.Find(kind) != nullptr) {
    c->metaEvents.RemoveKind(kind);
  } else {
    c->metaEvents.push_back(std::make_unique<CMetaEvent>(kind, "", 0, 0, 0));
  }
  NotifyChanged(kHintRepaintAll);
}

int CBriotabDoc::InsertMetaEvent(uint8_t kind) {
  SaveSnapshot();
  nChord* c = GetActiveChord();
  if (c == nullptr) return 0;
  CInstrument* line = GetActiveInstrument();
  uint32_t value = 0;
  if (kind == CMetaEvent::kTempo) {
    const CSystemArray& section = *GetActiveSection();
    const uint32_t tempo = static_cast<uint32_t>(section.tempo);
    value = ((tempo >> 8) & 0xFFFF0000u) | (static_cast<uint32_t>(section.numerator & 0xFF) << 24) | (tempo & 0xFFF);
  }
  const CMetaEvent* edited = c->metaEvents.EditMetaEvent(kind, value, line->GetCurrentStave()->IsTablature() ? 1 : 0);
  NotifyChanged(kHintRepaintSystem);
  return edited != nullptr ? 1 : 0;
}

int CBriotabDoc::InsertSpecialEventAtCursor(uint8_t subtype) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  CClef* stave = line->GetCurrentStave();
  if (stave->cursorColumn < 0) stave->cursorColumn = 0;
  nChordArray& voice = line->GetSelectedVoice();
  voice.insert(std::min(static_cast<size_t>(stave->cursorColumn), voice.size()),
               std::make_unique<nChord>(static_cast<uint16_t>((subtype << 4) | nChord::kSpecialEvent)));
  return stave->cursorColumn;
}

int CBriotabDoc::InsertSpecialEvent(uint8_t kind) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  SaveSnapshot();
  CSystemArray& section = *GetActiveSection();
  CStaveArray& system = *GetActiveSystem();
  nChord* c = line->GetCursorChord();
  CClef* stave = line->GetCurrentStave();
  // A clef on a bar line of a lower line goes on the first line's bar line.
  if (c != nullptr && c->IsBarLine() && kind == CMetaEvent::kClef && system.activeInstrument > 0) {
    nChord* found = system.Line(0)->firstVoice.FindBarAtTick(c->delta);
    if (found == nullptr || !found->IsBarLine()) {
      Prompts().Beep(BeepKind::kExclamation);
      return 0;
    }
    c = found;
  }
  if (kind == nChord::kStaticSpace) {
    if (nChord* before = line->GetChordBeforeCursor(); before != nullptr && before->IsBarLine()) {
      kind = 24;
      if (before->status == nChord::kBarLine) before->status = 17;
    }
  }
  if (kind == nChord::kStaticSpace || kind == 24) {
    const int32_t at = InsertSpecialEventAtCursor(kind);
    ReflowActiveSystem(true);
    // The caret stays with the chord it was on, now one column on past the space, rather than
    // going past the system's last chord as after a reflow.
    CClef& cursor = *line->GetCurrentStave();
    cursor.cursorColumn = std::min(at + 1, static_cast<int32_t>(line->GetSelectedVoice().size()));
    NotifyChanged(kHintRepaintAll);
    return 1;
  }
  std::unique_ptr<nChord> made;
  nChord* e = nullptr;
  const bool placed = kind == 1 || kind == 5 || kind == 7 || kind == 9 || kind == 36;
  if (placed) {
    if (c == nullptr || c->IsChord()) {
      made = std::make_unique<nChord>(nChord::kSpecialEvent);
    } else if (kind == CMetaEvent::kBarPause && !c->IsMultiBarRest()) {
      made = std::make_unique<nChord>(nChord::kSpecialEvent);
    } else {
      e = c;
    }
  } else if (c != nullptr && c->IsSpecialEvent()) {
    e = c;
  } else {
    made = std::make_unique<nChord>(nChord::kChord);
  }
  if (made != nullptr) e = made.get();
  uint32_t value = 0;
  if (kind == CMetaEvent::kTimeSignature) {
    const CInstrumentDlg* definition = line->definition;
    const int32_t size = definition != nullptr ? definition->tabInstrument.signatureSize : 80;
    value = (static_cast<uint32_t>(size - 50) << 16) | 1u;
    if (definition != nullptr && definition->shortSignatures != 0) value += 4;
    if (e->IsBarLine()) value += 0x80;
  }
  const bool existingPause = kind == CMetaEvent::kBarPause && made == nullptr;
  if (e->metaEvents.EditMetaEvent(kind, existingPause ? 0 : value, stave->IsTablature() ? 1 : 0) == nullptr &&
      made != nullptr) {
    return 0;
  }
  if (made != nullptr) {
    const size_t at = static_cast<size_t>(std::max(stave->cursorColumn, 0));
    const size_t index = static_cast<size_t>(section.activeSystem);
    nChordArray& voice = line->GetSelectedVoice();
    // The columns go into the other lines only: the elements they put into this voice are
    // taken out again, wherever the column placed them.
    const auto columnsElsewhere = [&](bool rightSpace) {
      std::unordered_set<const nChord*> present;
      for (size_t i = 0; i < voice.size(); ++i) present.insert(voice.at(i));
      section.InsertSpecialEventColumn(index, at, rightSpace);
      for (size_t i = voice.size(); i-- > 0;) {
        if (!present.contains(voice.at(i))) voice.erase(i);
      }
    };
    if (kind == CMetaEvent::kBarPause) columnsElsewhere(true);
    if (stave->cursorColumn < 0) stave->cursorColumn = 0;
    voice.insert(std::min(at, voice.size()), std::move(made));
    if (kind == CMetaEvent::kBarPause) {
      columnsElsewhere(false);
      e->status = nChord::kBarLine;
    }
  } else if (kind == CMetaEvent::kBarPause) {
    e->status = static_cast<uint16_t>((e->status & ~3) | nChord::kBarLine);
  }
  if (e->IsSpecialEvent()) {
    e->status = static_cast<uint16_t>((kind << 4) | nChord::kSpecialEvent);
  } else {
    const uint16_t style = (e->status >> 4) & 0x0F;
    if (e->IsBarLine() && (kind == CMetaEvent::kGraphicOrnament || kind == CMetaEvent::kCaption)) {
      if (CMetaEvent* m = e->metaEvents.Find(kind)) (kind == CMetaEvent::kGraphicOrnament ? m->cx : m->cy) = style;
    }
    e->MarkForMetaEvent(kind);
  }
  if (kind == CMetaEvent::kClef) e->rhythm = static_cast<uint16_t>(stave->clefId & 0x3F0F);
  ReflowActiveSystem(true);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::SplitChordAtCursor() {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  SaveSnapshot();
  if (line->SplitCursorChord(false) == 0) return 0;
  GetActiveSection()->RecalculateSection(false);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::ToggleBarNumberValue() {
  nChord* c = GetActiveChord();
  if (c == nullptr || !c->IsBarLine()) return 0;
  SaveSnapshot();
  c->rhythm = c->rhythm == nChord::kSkipNumber ? 0 : nChord::kSkipNumber;
  if (c->rhythm == nChord::kSkipNumber && c->status == nChord::kBarLine) c->status = 0x11;
  CSystemArray& section = *GetActiveSection();
  section.NumberBars(static_cast<int>(section.ActiveInstrumentIndex()));
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::MoveNotesToAdjacentString(int direction, const Rect& selection) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr || !line->GetCurrentStave()->IsTablature() || line->definition == nullptr) return 0;
  const ChordRun run = GetSelectedChords(selection);
  if (run.count == 0) return 0;
  SaveSnapshot();
  if (run.voice->MoveNotesToAdjacentString(run.first, run.count, direction, line->definition->tabInstrument) == 0) {
    return 0;
  }
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

int CBriotabDoc::TransposeSelection(bool intervals, const Rect& selection) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr || line->definition == nullptr) return 0;
  const ChordRun run = GetSelectedChords(selection);
  if (run.count == 0) return 0;
  const std::optional<TransposeChoice> choice = EntryFormsInForce().Transpose();
  if (!choice) return 0;
  SaveSnapshot();
  for (size_t i = run.first; i < run.first + run.count; ++i) {
    nChord* e = run.voice->at(i);
    if (e != nullptr && e->IsChord()) e->notes.Transpose(choice->halfSteps, line->definition->key, intervals);
  }
  if (choice->adjustFingerings) {
    run.voice->RespellAndRestring(run.first, run.count, line->definition->key, line->definition->tabInstrument);
  }
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

int CBriotabDoc::TransformSelection(const Rect& selection, nChordArray& clipboard) {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr || line->definition == nullptr) return 0;
  const ChordRun run = GetSelectedChords(selection);
  if (run.count == 0) return 0;
  clipboard.CopyRange(*run.voice, run.first, run.count);
  const std::optional<std::vector<ChordOperation>> stages = EntryFormsInForce().Transformations(static_cast<int>(run.count));
  if (!stages) return 0;
  nChordArray transformed(clipboard);
  if (!transformed.TransformChords(*stages, line->definition->key) || transformed.empty()) return 0;
  SaveSnapshot();
  run.voice->RemoveEvents(run.first, run.count, true);
  for (size_t i = 0; i < transformed.size(); ++i) {
    run.voice->insert(run.first + i, nChordArray::CopyEntry(transformed.HandleAt(i)));
  }
  GetActiveSection()->ReflowSystems(true, 0);
  GetActiveSection()->ReflowSystems(false, 0);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::RecalculateIntervals() {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr || line->definition == nullptr) return 0;
  if (Prompts().Ask(kRecalculateQuestion, Buttons::kOkCancel) != Answer::kOk) return 0;
  SaveSnapshot();
  for (size_t v = 0; v < 2; ++v) line->Voice(v).RespellInKey(line->definition->key);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::ToggleInstrumentOption() {
  CSystemArray& section = *GetActiveSection();
  CInstrumentDlg* definition = section.systems.empty() ? nullptr : section.ActiveDefinition();
  if (definition == nullptr) return 0;
  SaveSnapshot();
  definition->slantedBeams = definition->slantedBeams != 0 ? 0 : 1;
  NotifyChanged(kHintRepaintAll);
  return 1;
}

void CBriotabDoc::RemoveBeamFormatting() {
  SaveSnapshot();
  GetActiveSection()->ApplyCommandToAllLines(ClearCommand::kNoteBeamFormatting);
  NotifyChanged(kHintRepaintAll);
}

int CBriotabDoc::ApplyRhythmPattern() {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  if (!line->GetSelectedVoice().empty()) {
    Prompts().ShowMessage(kEmptyStaffOnly);
    return 0;
  }
  if (line->definition != nullptr) line->definition->voiceSelector = line->selectedVoice;
  RhythmPatternChoice initial;
  initial.pattern = line->rhythmPattern;
  initial.definition = line->definition;
  int denominatorCode = 0;
  for (int32_t d = GetActiveSection()->denominator; d > 1 && denominatorCode < 6; d >>= 1) ++denominatorCode;
  initial.pattern.denominatorCode = static_cast<uint16_t>(denominatorCode);
  initial.otherVoiceToo = (initial.pattern.options & kOtherVoiceToo) != 0;
  const std::optional<RhythmPatternChoice> choice = EntryFormsInForce().RhythmPattern(initial);
  if (!choice) return 0;
  // The dialog's ranges: other counts would shift the chords per bar without bound.
  if (choice->pattern.bars < 1 || choice->pattern.bars > kMostPatternBars || choice->pattern.chordsPerBar < 1 ||
      choice->pattern.chordsPerBar > kMostPatternChords || choice->pattern.denominatorCode > 6) {
    Prompts().ShowMessage(kPatternRange, MessageKind::kWarning);
    return 0;
  }
  SaveSnapshot();
  line->rhythmPattern = choice->pattern;
  line->rhythmPattern.options = choice->otherVoiceToo ? (choice->pattern.options | kOtherVoiceToo)
                                                      : (choice->pattern.options & ~kOtherVoiceToo);
  line->GenerateRhythmPattern();
  // The other voice, where the stave shows both and it is empty, takes as many rests of the
  // pattern's value as the pattern wrote chords.
  const int32_t shown = line->GetCurrentStave()->enabledVoices;
  if (choice->otherVoiceToo && (shown == CClef::kBothVoices || shown == CClef::kBothVoicesMerged)) {
    const nChordArray& filled = line->GetSelectedVoice();
    int chords = 0;
    for (size_t i = 0; i < filled.size(); ++i) chords += filled.at(i) != nullptr && filled.at(i)->IsChord() ? 1 : 0;
    FillEmptyVoice(line->Voice(line->selectedVoice != 0 ? 0 : 1), chords, (choice->pattern.flags & 7) + 1,
                   GetActiveSection()->denominator);
  }
  GetActiveSection()->ApplyCommandToActiveInstrument(ClearCommand::kClearForcedBarlines);
  GetActiveSection()->RecalculateSection(false);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

int CBriotabDoc::DeleteChordAtCursor() {
  CInstrument* line = GetActiveInstrument();
  if (line == nullptr) return 0;
  nChord* c = line->GetCursorChord();
  if (c == nullptr) return 0;
  SaveSnapshot();
  const bool signature = c->metaEvents.Find(CMetaEvent::kTimeSignature) != nullptr;
  nChordArray& voice = line->GetSelectedVoice();
  voice.erase(static_cast<size_t>(line->GetCurrentStave()->cursorColumn));
  if (signature) GetActiveSection()->RecalculateSection(false);
  RebarActive(*this);
  NotifyChanged(kHintRepaintSystem);
  return 1;
}

}  // namespace vornel
