// The chord, meta-event, clipboard and selection commands of the score view, the chord-chart
// input mode and the MIDI controller values of the active line.

#include <algorithm>
#include <cstdlib>
#include <string>

#include "document/CBriotabDoc.h"
#include "midi/play/MidiOutStream.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/EntryForms.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/text/NumberText.h"
#include "view/core/CBriotabView.h"
#include "view/entry/ChordClipboard.h"
#include "view/entry/NoteEntry.h"

namespace vornel::view {

namespace {

constexpr int kAttributesFirst = 33313;
constexpr int kAttributesLast = 33363;
constexpr int kCaptionText = 33344;
constexpr int kGraphicOrnament = 33351;
constexpr int kBarNumberValue = 32820;
constexpr int kCopy = 57634;
constexpr int kCut = 57635;
constexpr int kPaste = 57637;
constexpr int kNameChord = 33342;
constexpr int kDynamicLegato = 33352;
constexpr int kDeleteMetaEvents = 33360;
constexpr int kDeletePedals = 33160;
constexpr int kMarkersFirst = 33385;
constexpr int kMarkersLast = 33389;
constexpr int kChartModesFirst = 33390;
constexpr int kChartModesLast = 33394;
constexpr int kControllersFirst = 33963;
constexpr int kControllersLast = 33978;
// "Cut" wants a selection at least this wide (logical units).
constexpr int32_t kLeastCutWidth = 11;
constexpr const char* kSelectRangeFirst = "You must select a range of chords before running this tool";

// Meta-events at the cursor: id, kind.
struct KindOf {
  int id;
  uint8_t kind;
};
constexpr KindOf kMetaEventCommands[] = {
    {33345, 0}, {33343, 6}, {33341, 8}, {33340, 12}, {33347, 14}, {33401, 15}, {33346, 23},
    {33348, 32}, {33349, 33}, {33400, 34}, {32925, 26}, {33353, 21}, {33350, 4},
};
constexpr KindOf kSpecialEventCommands[] = {
    {33240, 1}, {33201, 9}, {33506, 9}, {33116, 11}, {33242, 20},
};

// The check marks of the chord attributes, read from the chord's fields.
bool AttributeChecked(const nChord& c, int id) {
  const int direction = c.dy & 3;
  const int effect = (c.dy >> 8) & 0x0F;
  const int mode = (c.status >> 8) & 0x0F;
  const int style = (c.status >> 4) & 0x07;
  const int tremolo = (c.dy >> 2) & 3;
  switch (id) {
    case 33313: return effect == 0 && direction == 2;
    case 33314: return effect == 0 && (direction == 1 || direction == 3);
    case 33315: return c.dy != 0;
    case 33316: return effect == 1;
    case 33317: return effect == 3;
    case 33318: return effect == 5;
    case 33319: return effect == 6;
    case 33320: return effect == 4;
    case 33321: return mode == 4;
    case 33325: return mode == 6;
    case 33326: return mode == 3;
    case 33327: return mode == 2;
    case 33328: return mode == 12;
    case 33329: return mode == 5;
    case 33330: return style == 6;
    case 33331: return style == 5;
    case 33334: return mode == 7;
    case 33335: return mode == 8;
    case 33336: return mode == 9;
    case 33337: return mode == 10;
    case 33338: return mode == 11;
    case 33354: return style == 2;
    case 33355: return style == 3;
    case 33356: return effect == 2 && tremolo == 1;
    case 33357: return effect == 2 && tremolo == 2;
    case 33359: return mode == 15;
    case 33361: return (c.status & 0x80) != 0;
    case 33362: return mode == 1;
    case 33363: return style == 4;
    default: return false;
  }
}

}  // namespace

void NoteEntry::Copy() {
  const CBriotabDoc::ChordRun run = Doc().GetSelectedChords(view_.GetSelectionRect());
  if (run.voice == nullptr) return;
  nChordArray copies;
  copies.CopyRange(*run.voice, run.first, run.count);
  ChordClipboards().Put(copies);
}

void NoteEntry::AddChordCommands(CommandTable& t) {
  const auto plainChord = [this] {
    const nChord* c = CursorChord();
    return c != nullptr && c->IsChord();
  };
  t.AddRange(
      kAttributesFirst, kAttributesLast,
      [this](const CommandEvent& e) {
        if (e.id == kCaptionText) {
          const nChord* c = CursorChord();
          if (c != nullptr && !c->IsBarLine()) {
            Doc().InsertMetaEvent(CMetaEvent::kCaption);
          } else {
            Doc().InsertSpecialEvent(CMetaEvent::kCaption);
          }
        } else if (e.id == kGraphicOrnament) {
          Doc().InsertSpecialEvent(CMetaEvent::kGraphicOrnament);
        } else {
          Doc().OnChordAttributeCommand(e.id);
        }
        view_.UpdateCaret();
      },
      [this, plainChord](int id) {
        if (id == kCaptionText || id == kGraphicOrnament) return CursorChord() != nullptr;
        if (!plainChord()) return false;
        if (id == 33315) return EntryFormsInForce().Has(EntryForm::kChordEffect);
        if (id == 33323) return EntryFormsInForce().Has(EntryForm::kChartConfiguration);
        // Ids the dispatcher leaves alone and that have no command of their own here.
        return id != 33320 && id != 33322 && !(id >= 33339 && id <= 33353) && id != 33360;
      },
      [this](int id) {
        const nChord* c = CursorChord();
        return c != nullptr && c->IsChord() && AttributeChecked(*c, id);
      });
  // The ids of the block with handlers of their own.
  AddEventCommands(t);

  t.Add(kBarNumberValue, [this](const CommandEvent&) { Doc().ToggleBarNumberValue(); },
        [this] { return CursorChord() != nullptr && CursorChord()->IsBarLine(); },
        [this] { return CursorChord() != nullptr && CursorChord()->IsBarLine() && CursorChord()->rhythm == 0x80; });
  t.AddRange(kMarkersFirst, kMarkersLast, [this](const CommandEvent& e) { Doc().OnMarkerEvent(e.id); },
             [this](int) { return CursorChord() != nullptr; });

  // --- the chord-chart input mode
  t.AddRange(
      kChartModesFirst, kChartModesLast,
      [this](const CommandEvent& e) {
        if (e.id == 33392) alfabetoMode = kAlfabetoInputSymbol;
        if (e.id == 33393) alfabetoMode = kAlfabetoInputChord;
        if (e.id == 33394) alfabetoMode = kAlfabetoInputChart;
      },
      {},
      [this](int id) {
        return (id == 33392 && alfabetoMode == kAlfabetoInputSymbol) ||
               (id == 33393 && alfabetoMode == kAlfabetoInputChord) || (id == 33394 && alfabetoMode == kAlfabetoInputChart);
      });

  // --- MIDI controllers of the active line, with the ribbon's value
  t.AddRange(
      kControllersFirst, kControllersLast,
      [this](const CommandEvent& e) {
        CInstrumentDlg* definition = Line()->definition;
        MIDIControllers& m = definition->midi;
        const long value = e.value ? *e.value : std::atol(e.text.c_str());
        const auto byte = [value] { return static_cast<uint8_t>(std::clamp<long>(value, 0, 127)); };
        Doc().SaveSnapshot();
        switch (e.id) {
          case 33963: m.transpose = static_cast<int32_t>(std::clamp<long>(std::atol(e.text.c_str()), -127, 127)); break;
          case 33964: m.transpose = m.transpose <= 0 ? std::abs(m.transpose) : -m.transpose; break;
          case 33965: m.volume = byte(); break;
          case 33966: m.expression = byte(); break;
          case 33967: m.velocity = byte(); break;
          case 33968: m.brightness = byte(); break;
          case 33969: m.pan = byte(); break;
          case 33970: m.dynamicAmplitude = byte(); break;
          case 33972: m.portamentoTime = byte(); break;
          case 33973: m.reverb = byte(); break;
          case 33974: m.chorus = byte(); break;
          case 33975: m.celeste = byte(); break;
          case 33977: m.equalizer = static_cast<int32_t>(std::clamp<long>(value, -64, 64)); break;
          case 33978: m.modulation = byte(); break;
          default: return;  // 33971 and 33976 set nothing
        }
        Doc().SetModifiedFlag(true);
        if (view_.IsPlaying() && view_.Player() != nullptr && e.id >= 33965) {
          const CSystemArray& section = *Doc().GetActiveSection();
          view_.Player()->OnControllerCommand(static_cast<int>(section.ActiveInstrumentIndex()), byte(), e.id);
        }
      },
      [this](int id) {
        const bool known = id != 33971 && id != 33976;
        return known && Line() != nullptr && Line()->definition != nullptr;
      });
}

void NoteEntry::AddEventCommands(CommandTable& t) {
  const auto hasChord = [this] { return CursorChord() != nullptr; };
  const auto hasLine = [this] { return Line() != nullptr && Stave() != nullptr; };
  for (const KindOf& k : kMetaEventCommands) {
    t.Add(k.id,
          [this, kind = k.kind](const CommandEvent&) {
            Doc().InsertMetaEvent(kind);
            view_.UpdateCaret();
          },
          k.id == 33350 ? std::function<bool()>(hasLine) : std::function<bool()>(hasChord));
  }
  for (const KindOf& k : kSpecialEventCommands) {
    t.Add(k.id, [this, kind = k.kind](const CommandEvent&) { Doc().InsertSpecialEvent(kind); }, hasLine);
  }
  t.Add(kNameChord,
        [this](const CommandEvent&) {
          nChord* c = CursorChord();
          Edit(kHintRepaintLine, [&] {
            return c->metaEvents.EditMetaEvent(CMetaEvent::kChordName, 0, Stave()->IsTablature() ? 1 : 0) != nullptr;
          });
        },
        hasChord);
  t.Add(kDynamicLegato,
        [this](const CommandEvent& e) {
          // The band arrives with the command: its width and height in logical units from the
          // caret, as the window tracked it (value: width, text: height).
          nChord* c = CursorChord();
          CClef* stave = Stave();
          const int32_t width = static_cast<int32_t>(e.value.value_or(0));
          const int32_t height = e.text.empty() ? 0 : static_cast<int32_t>(std::atol(e.text.c_str()));
          if (width < 0) {
            Prompts().Beep(BeepKind::kExclamation);
            return;
          }
          const int32_t spacing = std::max(stave->lineSpacing, 1);
          const int32_t half = std::max(spacing / 2, 1);
          const int32_t h = std::abs(height) > spacing ? height : 0;
          const int32_t columns = std::clamp(width / std::max(stave->columnWidth, 1), 0, 255);
          const std::optional<Point> caret = view_.CursorPoint();
          const int32_t top = caret ? caret->y : stave->area.top;
          const int32_t first = std::clamp((top - stave->area.top) / half, 0, 15);
          const int32_t last = std::clamp(first + h / half, 0, 15);
          Edit(kHintRepaintAll, [&] {
            CMetaEvent* legato = c->metaEvents.Find(CMetaEvent::kLegato);
            if (legato == nullptr) legato = c->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLegato, "", 0, 0, 0));
            if (first == last) legato->cx |= stave->IsTablature() ? 2 : 1;
            const uint32_t lines = static_cast<uint32_t>((last << 4) | first);
            legato->value = static_cast<uint32_t>(columns) | (lines << (stave->IsTablature() ? 16 : 8));
            return true;
          });
          view_.Window().Invalidate();
        },
        hasChord);
  t.Add(kDeleteMetaEvents,
        [this](const CommandEvent&) {
          nChord* c = CursorChord();
          Edit(kHintRepaintAll, [&] {
            const bool any = !c->metaEvents.empty();
            c->metaEvents.clear();
            return any;
          });
        },
        hasChord);
  t.Add(kDeletePedals,
        [this](const CommandEvent&) {
          nChord* c = CursorChord();
          Edit(kHintRepaintLine, [&] { return c->metaEvents.RemoveKind(CMetaEvent::kPedal) != 0; });
        },
        [this] { return CursorChord() != nullptr && CursorChord()->IsChord(); });
}

void NoteEntry::AddSelectionCommands(CommandTable& t) {
  const auto hasLine = [this] { return Line() != nullptr && Stave() != nullptr; };
  const auto hasSelection = [this, hasLine] { return hasLine() && !State().selection.IsEmpty(); };
  t.Add(kCopy, [this](const CommandEvent&) { Copy(); }, hasLine);
  t.Add(kCut,
        [this](const CommandEvent&) {
          Copy();
          Doc().CutSelection(view_.GetSelectionRect());
        },
        [this, hasLine] { return hasLine() && State().selection.Width() >= kLeastCutWidth; });
  t.Add(kPaste, [this](const CommandEvent&) { Doc().PasteChords(ChordClipboards().Get()); },
        [hasLine] { return hasLine() && ChordClipboards().Count() > 0; });
  t.Add(33216, [this](const CommandEvent&) { Doc().MoveNotesToAdjacentString(-1, view_.GetSelectionRect()); }, hasLine);
  t.Add(33217, [this](const CommandEvent&) { Doc().MoveNotesToAdjacentString(1, view_.GetSelectionRect()); }, hasLine);
  const auto canTranspose = [hasLine] { return hasLine() && EntryFormsInForce().Has(EntryForm::kTranspose); };
  t.Add(33259, [this](const CommandEvent&) { Doc().TransposeSelection(true, view_.GetSelectionRect()); }, canTranspose);
  t.Add(33218, [this](const CommandEvent&) { Doc().TransposeSelection(false, view_.GetSelectionRect()); }, canTranspose);
  t.Add(33250,
        [this](const CommandEvent&) {
          Copy();
          Doc().PasteChords(ChordClipboards().Get());
          Doc().NotifyChanged(kHintRepaintSystem);
        },
        hasLine);
  t.Add(33253,
        [this](const CommandEvent&) {
          nChordArray clipboard = ChordClipboards().Get();
          Doc().TransformSelection(view_.GetSelectionRect(), clipboard);
          ChordClipboards().Put(clipboard);
        },
        [hasSelection] { return hasSelection() && EntryFormsInForce().Has(EntryForm::kTransformations); });
  t.Add(32999,
        [this](const CommandEvent&) {
          if (State().selection.IsEmpty()) {
            Prompts().ShowMessage(kSelectRangeFirst);
            return;
          }
          Doc().ClearRests(view_.GetSelectionRect());
        },
        hasLine);
  t.Add(33251,
        [this](const CommandEvent&) {
          Copy();
          nChordArray rhythm = ChordClipboards().Get();
          for (size_t i = 0; i < rhythm.size(); ++i) {
            if (nChord* c = rhythm.at(i)) c->notes.DeleteAll();
          }
          ChordClipboards().Put(rhythm);
        },
        hasSelection);
  t.Add(34304, [this](const CommandEvent&) { Doc().ApplyRhythmPattern(); },
        [this, hasLine] {
          return hasLine() && Line()->GetSelectedVoice().empty() && EntryFormsInForce().Has(EntryForm::kRhythmPattern);
        });
}

void NoteEntry::AddCommands(CommandTable& table) {
  AddNoteCommands(table);
  AddSlurCommands(table);
  AddChordCommands(table);
  // After the chord attributes, whose range passes over this id.
  AddAlfabetoInsertCommand(table);
  AddSelectionCommands(table);
}

}  // namespace vornel::view
