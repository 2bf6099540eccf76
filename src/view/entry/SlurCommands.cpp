// The slur and note-attribute commands on the note at the cursor.

#include <cstdlib>

#include "document/CBriotabDoc.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/voice/EntryForms.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "platform/UserPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/entry/NoteEntry.h"

namespace vornel::view {

namespace {

constexpr int kSlurFirst = 32834;
constexpr int kSlurLast = 32861;
constexpr int kNoteFirst = 33120;
constexpr int kNoteLast = 33143;
// Slur word fields.
constexpr uint32_t kStepMask = 0x7;
constexpr uint32_t kLinkAbove = 0x80;
constexpr uint32_t kOneStep = 0x40;
constexpr uint32_t kMelody = 0x8000;
constexpr uint32_t kKeptByDialog = 0xF000;  // shape and melody: the slur control does not show them

uint32_t SlurType(uint32_t word) { return (word >> 8) & 0x0F; }
uint32_t SlurShape(uint32_t word) { return (word >> 12) & 0x07; }

// The shapes and types of the simple slur commands: type (0: none) or shape.
struct SlurSetting {
  uint32_t type = 0;
  uint32_t shape = 0;
  bool sortFirst = false;
};
SlurSetting SettingOf(int id) {
  switch (id) {
    case 32844: return {13, 0, false};
    case 32845: return {2, 0, false};
    case 32846: return {1, 0, false};
    case 32847: return {3, 0, false};
    case 32848: return {4, 0, false};
    case 32849: return {5, 0, false};
    case 32850: return {6, 0, false};
    case 32851: return {0, 1, false};
    case 32852: return {0, 2, false};
    case 32853: return {0, 3, true};
    case 32854: return {0, 4, true};
    case 32855: return {0, 5, false};
    case 32856: return {0, 7, false};
    case 32857: return {0, 6, false};
    case 32858: return {9, 0, false};
    case 32859: return {10, 0, false};
    case 32860: return {11, 0, false};
    default: return {};
  }
}

// The note-attribute toggles: status or flags bits.
struct NoteBits {
  bool statusWord = false;
  uint32_t mask = 0;
};
NoteBits BitsOf(int id) {
  switch (id) {
    case 33124: return {false, 0x80};
    case 33125: return {true, 0x20};
    case 33129: return {true, 0x04};
    case 33130: return {true, 0x40};
    case 33131: return {true, 0x08};
    case 33132: return {true, 0x80};
    case 33133: return {true, 0x02};
    case 33134: return {true, 0x10};
    case 33135: return {false, 0x10};
    case 33137: return {false, 0x20};
    case 33138: return {true, 0x01};
    default: return {};
  }
}

int DurationOffset(uint16_t flags) {
  const int magnitude = flags & 3;
  return (flags & 8) != 0 ? -magnitude : magnitude;
}
uint16_t WithDurationOffset(uint16_t flags, int v) {
  flags = static_cast<uint16_t>(flags & ~0x0B);
  if (v >= 0) return static_cast<uint16_t>(flags | (v & 3));
  return static_cast<uint16_t>(flags | (-v & 3) | 8);
}

}  // namespace

void NoteEntry::AddSlurCommands(CommandTable& t) {
  // Each command needs the note at the cursor; without one it beeps and changes nothing.
  const auto onNote = [this](int hint, const std::function<bool(nNotes&, nChord&)>& change) {
    nNotes* note = GetCursorNote();
    if (note == nullptr) {
      Prompts().Beep(BeepKind::kExclamation);
      return;
    }
    nChord* chord = CursorChord();
    Edit(hint, [&] { return change(*note, *chord); });
    view_.UpdateCaret();
    view_.Window().TakeFocus();
  };

  t.AddRange(
      kSlurFirst, kSlurLast,
      [this, onNote](const CommandEvent& e) {
        if (e.id == 32842) {
          nNotes* note = GetCursorNote();
          if (note == nullptr) {
            Prompts().Beep(BeepKind::kExclamation);
            return;
          }
          const uint32_t word = note->slur;
          const uint32_t magnitude = (word >> 3) & 7;
          SlurChoice initial{static_cast<int>((word & kStepMask) + 1),
                             static_cast<int>((word & kOneStep) == 0 ? 7 + magnitude : 7 - magnitude),
                             (word & kLinkAbove) != 0, static_cast<int>(SlurType(word))};
          const std::optional<SlurChoice> c = EntryFormsInForce().SlurControl(initial);
          if (!c) return;
          onNote(kHintRepaintLine, [&](nNotes& n, nChord&) {
            uint32_t rebuilt = static_cast<uint32_t>(c->type & 0x0F) << 8;
            rebuilt |= static_cast<uint32_t>(std::abs(c->vertical - 7) & 7) << 3;
            if (c->linkAbove) rebuilt |= kLinkAbove;
            rebuilt |= static_cast<uint32_t>(c->steps - 1) & kStepMask;
            if (c->vertical < 7) rebuilt |= kOneStep;
            // The shape and the melody bit are not in the dialog: they stay.
            const uint32_t before = n.slur;
            n.slur = rebuilt | (n.slur & kKeptByDialog);
            return n.slur != before;
          });
          return;
        }
        onNote(kHintRepaintLine, [&](nNotes& n, nChord& chord) {
          const uint32_t before = n.slur;
          switch (e.id) {
            case 32834: n.slur = 0; break;
            case 32835: n.slur = (n.slur & 0xFF00) | kOneStep; break;
            case 32836: if ((n.slur & kStepMask) <= 6) ++n.slur; break;
            case 32837: n.StepSlurOffset(true); break;
            case 32838: n.StepSlurOffset(false); break;
            case 32839: n.slur ^= kLinkAbove; break;
            case 32840: if ((n.slur & kStepMask) > 0) --n.slur; break;
            case 32841:
              if (SlurType(n.slur) != 0) {
                n.SetSlurType(SlurType(n.slur));
              } else {
                n.SetSlurType(7);
              }
              break;
            case 32843: n.slur = (n.slur & 0xFF00) | kLinkAbove; break;
            case 32861: n.slur ^= kMelody; break;
            default: {
              const SlurSetting s = SettingOf(e.id);
              if (s.sortFirst) chord.notes.SortByPitch(true);
              if (s.type != 0) n.SetSlurType(s.type);
              if (s.shape != 0) n.SetSlurShape(s.shape);
            }
          }
          return n.slur != before || SettingOf(e.id).sortFirst;
        });
      },
      [this](int id) {
        const nNotes* note = GetCursorNote();
        if (note == nullptr) return false;
        if (id >= 32836 && id <= 32841) return (note->slur & 0x0FFF) != 0;
        if (id == 32842) return EntryFormsInForce().Has(EntryForm::kSlurControl);
        return true;
      },
      [this](int id) {
        const nNotes* note = GetCursorNote();
        if (note == nullptr || id < 32844) return false;
        const uint32_t type = SlurType(note->slur);
        const uint32_t shape = SlurShape(note->slur);
        if (id == 32861) return (note->slur & kMelody) != 0;
        if (type == 0 && shape == 0) return false;
        if (id == 32856) return shape >= 7;
        const SlurSetting s = SettingOf(id);
        if (s.type != 0) return type == s.type;
        if (s.shape != 0) return shape == s.shape;
        return false;
      });

  t.AddRange(
      kNoteFirst, kNoteLast,
      [this, onNote](const CommandEvent& e) {
        switch (e.id) {
          case 33139: Doc().RemoveBeamFormatting(); return;
          case 33140: Doc().ToggleInstrumentOption(); return;
          case 33141: Doc().RecalculateIntervals(); return;
          case 33142: return;
          case 33143:
            Doc().SaveSnapshot();
            Doc().GetActiveSection()->RecalculateStemDirections();
            Doc().NotifyChanged(kHintRepaintAll);
            return;
          case 33126: {
            // Without a chord value to lengthen against it does nothing, silently.
            nChord* chord = CursorChord();
            nNotes* note = GetCursorNote();
            if (chord == nullptr || (chord->rhythm & 7) == 0 || note == nullptr) return;
            const int v = DurationOffset(note->flags) + 1;
            Edit(kHintRepaintLine, [&] {
              note->flags = WithDurationOffset(note->flags, v >= 4 ? 0 : v);
              return true;
            });
            return;
          }
          case 33122:
          case 33123:
            if (GetCursorNote() == nullptr) {
              if (e.id == 33122) OnChar(U'a');
              Prompts().Beep(BeepKind::kExclamation);
              return;
            }
            break;
          default:
            break;
        }
        onNote(kHintRepaintLine, [&](nNotes& n, nChord& chord) {
          switch (e.id) {
            case 33120:
            case 33121: {
              const int pitch = n.pitch + (e.id == 33120 ? 1 : -1);
              // The pitch stops at the ends of the MIDI range.
              if (pitch < 0 || pitch > 127) {
                Prompts().Beep(BeepKind::kExclamation);
                return false;
              }
              n.pitch = static_cast<uint8_t>(pitch);
              return true;
            }
            case 33122: n.slur = SlurType(n.slur) == 8 ? 0 : 0x800; return true;
            case 33123: n.slur = SlurType(n.slur) == 8 ? 0 : 0x880; return true;
            case 33127: {
              const int v = DurationOffset(n.flags) - 1;
              const unsigned distance = static_cast<unsigned>((chord.rhythm & 7) - v);
              n.flags = distance > 7 ? static_cast<uint16_t>(n.flags & ~0x0B) : WithDurationOffset(n.flags, v);
              return true;
            }
            case 33128: n.flags = static_cast<uint16_t>((n.flags ^ 0x04) & ~0x40); return true;
            case 33136:
              n.flags ^= 0x40;
              if ((n.flags & 0x40) != 0) n.flags &= static_cast<uint16_t>(~0x04);
              return true;
            default: {
              const NoteBits bits = BitsOf(e.id);
              if (bits.mask == 0) return false;
              if (bits.statusWord) {
                n.status ^= bits.mask;
              } else {
                n.flags = static_cast<uint16_t>(n.flags ^ bits.mask);
              }
              return true;
            }
          }
        });
      },
      [this](int id) {
        if (id == 33139 || id == 33143) return Doc().GetActiveSection() != nullptr && Stave() != nullptr;
        if (id == 33140 || id == 33141) return Line() != nullptr && Line()->definition != nullptr;
        if (id == 33142) return false;
        if (id == 33122 || id == 33126) return Stave() != nullptr;
        return GetCursorNote() != nullptr;
      },
      [this](int id) {
        const nNotes* note = GetCursorNote();
        if (id == 33140) return Line() != nullptr && Line()->definition != nullptr && Line()->definition->slantedBeams != 0;
        if (note == nullptr) return false;
        switch (id) {
          case 33122: return note->slur == 0x800;
          case 33123: return note->slur == 0x880;
          case 33126: return (note->flags & 8) == 0 && (note->flags & 3) != 0;
          case 33127: return (note->flags & 8) != 0 && (note->flags & 3) != 0;
          case 33128: return (note->flags & 0x04) != 0;
          case 33136: return (note->flags & 0x40) != 0;
          default: {
            const NoteBits bits = BitsOf(id);
            if (bits.mask == 0) return false;
            return ((bits.statusWord ? note->status : note->flags) & bits.mask) != 0;
          }
        }
      });
}

}  // namespace vornel::view
