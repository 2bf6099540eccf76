// The note and rhythm commands of the score view: note values and flag kinds, dots, rests,
// bar lines, note decorations, bourdons, pedals, the alfabeto family, slurs and the note
// attributes.

#include <algorithm>
#include <array>

#include "document/CBriotabDoc.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/ornament/COrnamentProps.h"
#include "model/score/CSystemArray.h"
#include "model/voice/EntryForms.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "platform/UserPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/draw/FontChooser.h"
#include "view/entry/NoteEntry.h"

namespace vornel::view {

namespace {

constexpr int kNoteValues = 32800;
constexpr int kDot = 32798;
constexpr int kDoubleFlags = 32962;
constexpr int kHalveFlags = 32961;
constexpr int kFlagKinds = 33991;
constexpr int kApplyFlagKind = 33990;
constexpr int kRest = 33008;
constexpr int kBarLines = 32808;
constexpr int kDecorations = 32863;
constexpr int kDecorationsLast = 32924;
constexpr int kBourdons = 32930;
constexpr int kFirstFretOnBourdon = 32939;
constexpr int kSecondFretOnBourdon = 32940;
constexpr int kPedals = 33150;
constexpr int kAlfabeto = 33303;
constexpr int kInsertAlfabeto = 33322;
constexpr int kRightHandIndex = 32871;
constexpr int kChooseSymbol = 61;  // the note code of "choose symbol"
constexpr const char* kRaiseRootLabel = "Number of frets to raise root fret position:";

constexpr std::array<uint16_t, 12> kBarLineCodes = {17, 129, 145, 161, 49, 193, 209, 33, 225, 81, 241, 177};

// The ornament code that checks an ornament command: 32887-32918 stand for the kinds 0-31.
uint16_t OrnamentCode(int id) { return COrnamentProps::KindCode(id - 32887); }

// Whether the note holds the decoration that `code` toggles: the field a bare note would get.
bool HoldsDecoration(const nNotes& note, int code) {
  nNotes bare;
  bare.ToggleDecoration(code);
  if (bare.fingering != 0) {
    const uint16_t mask = (bare.fingering & 0x00FF) != 0 ? 0x00FF : 0xFF00;
    return (note.fingering & mask) == bare.fingering;
  }
  if (bare.ornament != 0) return note.ornament == bare.ornament;
  return false;
}

}  // namespace

void NoteEntry::AddNoteCommands(CommandTable& t) {
  const auto hasLine = [this](int) { return Line() != nullptr && Stave() != nullptr; };

  // --- note values, flag kinds, dots, flag scaling
  t.AddRange(
      kNoteValues, kNoteValues + 7,
      [this](const CommandEvent& e) {
        State().noteValue = static_cast<uint8_t>(e.id - kNoteValues);
        view_.ShowNoteValue();
        Doc().ApplyFlagToSelection(view_.GetSelectionRect(), State().noteValue, State().flagKind);
        view_.Window().TakeFocus();
      },
      hasLine, [this](int id) { return id - kNoteValues == State().noteValue; });
  t.Add(kDoubleFlags, [this](const CommandEvent&) { Doc().ScaleFlagValues(false, view_.GetSelectionRect()); },
        [hasLine] { return hasLine(0); });
  t.Add(kHalveFlags, [this](const CommandEvent&) { Doc().ScaleFlagValues(true, view_.GetSelectionRect()); },
        [hasLine] { return hasLine(0); });
  t.Add(kDot, [this](const CommandEvent&) { Doc().DotSelection(view_.GetSelectionRect()); },
        [hasLine] { return hasLine(0); }, [this] { return State().dotState != 0; });
  t.AddRange(
      kFlagKinds, kFlagKinds + 9,
      [this](const CommandEvent& e) {
        State().flagKind = static_cast<uint8_t>(e.id - kFlagKinds);
        Doc().ApplyFlagToSelection(view_.GetSelectionRect(), -1, State().flagKind);
      },
      hasLine, [this](int id) {
        // The chord under the cursor shows its value and group.
        const nChord* c = CursorChord();
        if (c != nullptr && c->IsChord() && c->rhythm != 0) {
          State().noteValue = static_cast<uint8_t>(c->rhythm & 7);
          State().flagKind = static_cast<uint8_t>((c->rhythm >> 4) & 0x0F);
        }
        return id - kFlagKinds == State().flagKind;
      });
  t.Add(kApplyFlagKind, [this](const CommandEvent&) {
    Doc().ApplyFlagToSelection(view_.GetSelectionRect(), -1, State().flagKind);
  }, [hasLine] { return hasLine(0); });
  t.Add(kRest,
        [this](const CommandEvent&) {
          Doc().InsertRest(State().noteValue, State().flagKind);
          if (State().autoAdvance) StepCursorOn();
        },
        [hasLine] { return hasLine(0); });
  t.AddRange(
      kBarLines, kBarLines + 11,
      [this](const CommandEvent& e) { Doc().InsertForcedBarline(kBarLineCodes[static_cast<size_t>(e.id - kBarLines)]); },
      hasLine);

  // --- decorations of the note at the cursor
  t.AddRange(
      kDecorations, kDecorationsLast,
      [this](const CommandEvent& e) {
        CInstrument* line = Line();
        if (e.id == kRightHandIndex && !view_.State().selection.IsEmpty()) {
          const Rect selection = view_.GetSelectionRect();
          const CBriotabDoc::ChordRun run = Doc().GetSelectedChords(selection);
          if (run.count > 0) {
            Doc().SaveSnapshot();
            // Single notes off their own beat get the right-hand dot.
            for (size_t i = run.first; i < run.first + run.count; ++i) {
              nChord* c = run.voice->at(i);
              if (c == nullptr || !c->IsChord() || c->notes.size() != 1 || c->notes.at(0) == nullptr) continue;
              const uint32_t length = c->GetDurationTicks();
              if (length != 0 && c->delta % length != 0 && !HoldsDecoration(*c->notes.at(0), e.id - kDecorations)) {
                c->notes.at(0)->ToggleDecoration(e.id - kDecorations);
              }
            }
            Doc().NotifyChanged(kHintRepaintSystem);
            return;
          }
        }
        const int code = e.id - kDecorations;
        if (code == kChooseSymbol) {
          // The chooser edits only the cursor chord: a cancel, or the symbol the note already
          // had, leaves no undo step and no modified mark.
          const nChord* chord = line->GetCursorChord();
          if (chord == nullptr) return;
          const nChord before(*chord);
          const size_t steps = Doc().undoStack.size();
          Doc().SaveSnapshot();
          if (line->ModifyCursorNote(code) != 0 && !(*line->GetCursorChord() == before)) {
            Doc().NotifyChanged(kHintRepaintLine);
          } else if (Doc().undoStack.size() > steps) {
            Doc().undoStack.PopFront();
          }
        } else {
          Edit(kHintRepaintLine, [&] { return line->ModifyCursorNote(code) != 0; });
        }
        view_.Window().TakeFocus();
      },
      [this](int id) {
        if (GetCursorNote() == nullptr) return false;
        const int code = id - kDecorations;
        if (code == kChooseSymbol) return EntryFormsInForce().Has(EntryForm::kSymbolChooser);
        return true;
      },
      [this](int id) {
        const nNotes* note = GetCursorNote();
        if (note == nullptr) return false;
        if (id >= 32887 && id <= 32918) return note->ornament == OrnamentCode(id);
        const int code = id - kDecorations;
        if (code == 6 || code == kChooseSymbol) return false;
        return HoldsDecoration(*note, code);
      });

  // --- bourdons
  t.AddRange(
      kBourdons, kBourdons + 8,
      [this](const CommandEvent& e) {
        nChord* chord = Doc().ApplyBourdon(static_cast<char>('a' + bourdonFret), e.id - kBourdons, State().RhythmByte());
        if (chord != nullptr) view_.EchoChord(*chord);
        view_.Window().TakeFocus();
      },
      hasLine);
  t.Add(kFirstFretOnBourdon, [this](const CommandEvent&) { bourdonFret = bourdonFret == 0 ? 1 : 0; }, {},
        [this] { return bourdonFret == 1; });
  t.Add(kSecondFretOnBourdon, [this](const CommandEvent&) { bourdonFret = bourdonFret == 0 ? 2 : 0; }, {},
        [this] { return bourdonFret == 2; });

  // --- pedals
  t.AddRange(
      kPedals, kPedals + 9,
      [this](const CommandEvent& e) {
        nChord* chord = CursorChord();
        Edit(kHintRepaintSystem, [&] { return chord->metaEvents.AddPedalEvent(static_cast<uint32_t>(e.id - kPedals)) != nullptr; });
      },
      [this](int) { return CursorChord() != nullptr; },
      [this](int id) {
        const CInstrument* line = Line();
        if (line == nullptr || line->definition == nullptr) return false;
        const size_t index = static_cast<size_t>(id - kPedals);
        return index < line->definition->pedals.size() && line->definition->pedals.at(index) != nullptr;
      });

  // --- the alfabeto family
  const auto onTablature = [this] { return Stave() != nullptr && Stave()->IsTablature(); };
  const auto hasAlfabeto = [this] {
    const nChord* c = CursorChord();
    return c != nullptr && c->metaEvents.Find(CMetaEvent::kAlfabeto) != nullptr;
  };
  t.AddRange(
      kAlfabeto, kAlfabeto + 9,
      [this, hasAlfabeto](const CommandEvent& e) {
        CInstrument* line = Line();
        CInstrumentDlg* definition = line->definition;
        nChord* chord = CursorChord();
        switch (e.id - kAlfabeto) {
          case 0: {  // "Add chord to alfabeto"
            if (chord == nullptr || definition == nullptr) return;
            CAlfabeto& chart = definition->tabInstrument.alfabeto;
            AlfabetoLetterChoice proposed{chart.ProposeLetter(), chord->name.str()};
            const std::optional<AlfabetoLetterChoice> choice = EntryFormsInForce().AlfabetoLetter(proposed);
            if (!choice) return;
            Edit(kHintRepaintAll, [&] {
              chart.description = choice->description;
              return chart.AssignChord(choice->letter, *chord) != nullptr;
            });
            break;
          }
          case 1:
          case 2:  // raise or lower the barre position
            Edit(kHintRepaintSystem, [&] {
              bool changed = false;
              for (const auto& n : chord->notes) {
                if (n == nullptr) continue;
                const int pitch = n->pitch + (e.id - kAlfabeto == 1 ? 1 : -1);
                if (pitch < 0 || pitch > 127) {
                  Prompts().Beep(BeepKind::kExclamation);
                  continue;
                }
                n->pitch = static_cast<uint8_t>(pitch);
                changed = true;
              }
              return changed;
            });
            break;
          case 3: {  // "Raise alfabeto position"
            const std::optional<long> frets =
                Prompts().PromptNumber(kRaiseRootLabel, kRaiseRootLabel, 0, 15, (chord->al >> 4) & 0x0F);
            if (!frets || *frets < 0 || *frets > 15) return;
            Edit(kHintRepaintSystem, [&] {
              chord->al = static_cast<uint8_t>(*frets << 4);
              return true;
            });
            break;
          }
          case 4: {  // "Edit alfabeto letter"
            CMetaEvent* event = chord->metaEvents.Find(CMetaEvent::kAlfabeto);
            if (event == nullptr || definition == nullptr) return;
            AlfabetoLetterChoice proposed{static_cast<char16_t>(u'A' + (event->value & 0x1F)), event->text};
            const std::optional<AlfabetoLetterChoice> choice = EntryFormsInForce().AlfabetoLetter(proposed);
            if (!choice || choice->letter < u'A' || choice->letter > u'Z') return;
            Edit(kHintRepaintSystem, [&] {
              event->value = (event->value & ~0x1Fu) | static_cast<uint32_t>(choice->letter - u'A');
              return true;
            });
            break;
          }
          case 5:  // "Toggle alfabeto symbol"
            Edit(kHintRepaintSystem, [&] {
              CMetaEvent* event = chord->metaEvents.Find(CMetaEvent::kAlfabeto);
              if (event == nullptr) return false;
              event->cx ^= 1;
              return true;
            });
            break;
          case 6:  // "Baroque strumming"
            Edit(kHintRepaintAll, [&] {
              definition->tabInstrument.baroqueStrumming = definition->tabInstrument.baroqueStrumming != 0 ? 0 : 1;
              return true;
            });
            break;
          case 7: {  // "Reset alfabeto font": the letters' font, chosen afresh
            dfLogFont font = definition->tabInstrument.alfabeto.letterFont;
            if (!ChooseFont(font)) return;
            Edit(kHintRepaintAll, [&] {
              definition->tabInstrument.alfabeto.letterFont = font;
              return true;
            });
            break;
          }
          case 8:  // "Show alfabeto chords"
            Edit(kHintRepaintAll, [&] {
              CAlfabeto& chart = definition->tabInstrument.alfabeto;
              chart.showAlfabeto = chart.showAlfabeto != 0 ? 0 : 1;
              return true;
            });
            break;
          case 9:  // "Remove alfabeto value"
            Edit(kHintRepaintSystem, [&] {
              const size_t removed = chord->metaEvents.RemoveKind(CMetaEvent::kAlfabeto) + chord->metaEvents.RemoveKind(3);
              return removed != 0;
            });
            break;
          default:
            return;
        }
        (void)hasAlfabeto;
        view_.Window().Invalidate();
      },
      [this, onTablature, hasAlfabeto](int id) {
        if (!onTablature()) return false;
        const nChord* c = CursorChord();
        const CInstrument* line = Line();
        switch (id - kAlfabeto) {
          case 0: return c != nullptr && !hasAlfabeto() && EntryFormsInForce().Has(EntryForm::kAlfabetoLetter);
          case 1:
          case 2: return c != nullptr;
          case 3:
          case 5:
          case 9: return c != nullptr && hasAlfabeto();
          case 4: return c != nullptr && hasAlfabeto() && EntryFormsInForce().Has(EntryForm::kAlfabetoLetter);
          case 6:
          case 7:
          case 8: return line != nullptr && line->definition != nullptr;
          default: return false;
        }
      },
      [this](int id) {
        const CInstrument* line = Line();
        if (line == nullptr || line->definition == nullptr) return false;
        if (id == kAlfabeto + 6) return line->definition->tabInstrument.baroqueStrumming != 0;
        if (id == kAlfabeto + 8) return line->definition->tabInstrument.alfabeto.showAlfabeto != 0;
        return false;
      });
}

void NoteEntry::AddAlfabetoInsertCommand(CommandTable& t) {
  t.Add(kInsertAlfabeto,
        [this](const CommandEvent& e) {
          // The chord palette sends the letter it double-clicked; else the chart window's.
          const long letter = e.value ? *e.value : chartLetter;
          if (letter < 0 || letter > 25) {
            // No letter chosen in the chart window.
            Prompts().Beep(BeepKind::kExclamation);
            return;
          }
          if (!AlfabetoInput(alfabetoMode, static_cast<char>('A' + letter))) Prompts().Beep(BeepKind::kError);
        },
        [this] { return Stave() != nullptr && Stave()->IsTablature(); });
}

}  // namespace vornel::view
