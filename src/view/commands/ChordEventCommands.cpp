// The marked area of the active instrument (markers, copy, paste, delete) and the meta-events
// set on the chord at the cursor: dynamics, stave brackets, endings and reset positions.

#include <algorithm>
#include <array>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/events/MetaEventEditor.h"
#include "model/score/SectionTools.h"
#include "model/voice/nChord.h"
#include "model/voice/nNotes.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"

namespace vornel::view {

namespace {

constexpr int kBeginMarker = 34226;
constexpr int kEndMarker = 34227;
constexpr int kCopyMarkedArea = 34228;
constexpr int kPasteMarkedArea = 34229;
constexpr int kDeleteMarkedArea = 34230;
constexpr int kMarkedZone = 34231;
constexpr int kResetMetaEventPosition = 34087;
constexpr int kRepeatEnding = 34175;
constexpr int kDynamicsFirst = 34180;  // "ppp" ... "pedal"
constexpr int kDynamicsLast = 34190;
constexpr int kBracketFirst = 34196;   // six shapes, endings, flip, lengthen, shorten, delete, edit
constexpr int kBracketLast = 34207;
constexpr int kBracketNeedsOne = 34203;
constexpr int kInsertFullBarPause = 34123;
constexpr int kFullBarRest = 34130;
constexpr int kInsertGraceNote = 34157;
constexpr uint16_t kBarPauseBar = 0x24D;   // a bar event that stands for a whole bar's rest
constexpr uint8_t kRightStaticSpace = 24;
constexpr uint8_t kSpace = 11;
constexpr uint8_t kStaveBracket = 33;  // the meta-event kind of a stave bracket

constexpr std::array<uint32_t, 11> kDynamicsVelocity = {64, 74, 84, 94, 100, 110, 118, 128, 120, 128, 120};
constexpr std::array<int, 6> kBracketShapes = {0, 7, 6, 1, 2, 3};
constexpr int kDefaultBracketDepth = 4;
constexpr uint32_t kLongestBracket = 64;

bool HasMarkedArea(const CInstrumentDlg* d) { return d != nullptr && d->markers[0] != -1 && d->markers[1] != 0; }

// A stave bracket's flags word: (depth << 7 | shape) << 1 | orientation.
struct Bracket {
  int depth = kDefaultBracketDepth;
  int shape = 0;
  int orientation = 0;
  uint32_t extent = 0;
};

Bracket ReadBracket(const CMetaEvent& e, bool tablature) {
  const uint32_t flags = static_cast<uint32_t>(e.cx);
  return {static_cast<int>((flags >> 8) & 0xFF), static_cast<int>((flags >> 1) & 0x7F), static_cast<int>(flags & 1),
          tablature ? e.value >> 16 : e.value & 0xFFFF};
}

void WriteBracket(CMetaEvent& e, const Bracket& b, bool tablature) {
  e.cx = static_cast<int32_t>((((b.depth << 7) | b.shape) << 1) | b.orientation);
  e.value = tablature ? (e.value & 0xFFFFu) | (b.extent << 16) : (e.value & 0xFFFF0000u) | (b.extent & 0xFFFF);
}

}  // namespace

void AddChordEventCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto onChord = [&view] {
    const nChord* chord = CursorChordOf(view);
    return chord != nullptr && chord->IsChord();
  };

  // --- markers and the marked area
  const auto marker = [&doc, &view](bool end) {
    return [&doc, &view, end](const CommandEvent&) {
      SnapshotEdit(doc, kHintRepaintAll, [&] {
        CSystemArray& section = *doc.GetActiveSection();
        nChord& chord = *CursorChordOf(view);
        for (auto& voice : doc.currentInstrument.gathered) voice = nChordArray();
        section.ApplyCommandToActiveInstrument(end ? ClearCommand::kEndMarkers : ClearCommand::kMarkers);
        CInstrumentDlg& definition = *section.ActiveDefinition();
        if (const CMetaEvent* existing = chord.metaEvents.Find(CMetaEvent::kMarker)) {
          const bool wasEnd = existing->cx != 0;
          chord.metaEvents.RemoveKind(CMetaEvent::kMarker);
          if (wasEnd) {
            definition.markers[1] = 0;
          } else {
            definition.markers[0] = -1;
          }
        } else {
          chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kMarker, "", end ? 1 : 0, end ? 1 : 0, 0));
        }
        UpdateMarkedArea(section);
      });
    };
  };
  t.Add(kBeginMarker, marker(false), onChord);
  t.Add(kEndMarker, marker(true), onChord);
  const auto marked = [&view] { return HasMarkedArea(ActiveDefinitionOf(view)); };
  t.Add(kCopyMarkedArea,
        [&doc](const CommandEvent&) {
          CSystemArray& section = *doc.GetActiveSection();
          const size_t i = section.GatherActiveInstrumentVoices();
          CInstrumentDlg& definition = *section.Definition(i);
          doc.currentInstrument.CopyFrom(definition);
          definition.CopyMarkedArea(doc.currentInstrument);
          definition.ReleaseGatheredVoices();
        },
        marked);
  t.Add(kPasteMarkedArea,
        [&doc, &view](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& section = *doc.GetActiveSection();
            section.ApplyCommandToActiveInstrument(ClearCommand::kMarkers);
            CInstrument& line = *view.ActiveLine();
            const size_t cursor = static_cast<size_t>(std::max(view.ActiveStave()->cursorColumn, 0));
            size_t longest = 0;
            for (size_t v = 0; v < 2; ++v) {
              const nChordArray copies(doc.currentInstrument.gathered[v]);
              if (copies.empty()) continue;
              nChordArray& voice = line.Voice(v);
              size_t at = std::min(cursor, voice.size());
              for (const auto& handle : copies) voice.insert(at++, nChordArray::CopyEntry(handle));
              longest = std::max(longest, voice.size());
            }
            UpdateMarkedArea(section);
            const size_t steps = static_cast<size_t>(doc.settings.GetCursorStepsPerPage());
            if (steps < longest) {
              section.ReflowSystems(true, steps);
              section.ReflowSystems(false, steps);
            }
            section.RecalculateSection(true);
          });
        },
        [&view, &doc] { return HasActiveLine(view) && !doc.currentInstrument.gathered[0].empty(); });
  t.Add(kDeleteMarkedArea,
        [&doc](const CommandEvent&) { SnapshotEdit(doc, kHintRepaintAll, [&] { DeleteMarkedArea(*doc.GetActiveSection()); }); },
        marked);
  t.Add(kMarkedZone,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& section = *doc.GetActiveSection();
            section.ApplyCommandToActiveInstrument(ClearCommand::kMarkers);
            for (auto& voice : doc.currentInstrument.gathered) voice.DeleteChords();
            section.ActiveDefinition()->markers = {-1, 0};
          });
        },
        marked);

  // --- meta-events of the chord at the cursor
  t.Add(kResetMetaEventPosition,
        [&doc, &view](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintSystem, [&] {
            for (const auto& e : CursorChordOf(view)->metaEvents) {
              if (e == nullptr) continue;
              e->location = EventLocation();
              switch (e->kind) {
                case CMetaEvent::kReprise:
                case CMetaEvent::kFermata:
                case CMetaEvent::kDaCapo:
                case CMetaEvent::kSegno:
                  e->location.notationCx = -100;
                  e->location.notationCy = -300;
                  e->location.tablatureCx = -200;
                  e->location.tablatureCy = -750;
                  break;
                default:
                  break;
              }
            }
          });
        },
        [&view] {
          const nChord* chord = CursorChordOf(view);
          return chord != nullptr && !chord->metaEvents.empty();
        });
  t.Add(kRepeatEnding,
        [&doc, &view](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintStrip, [&] {
            nChord& chord = *CursorChordOf(view);
            const uint32_t value = static_cast<uint32_t>((chord.status >> 4) & 0xF) << 8;
            chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, "", value, 0, 0));
            if (chord.IsBarLine()) chord.status = 0xCD;
          });
        },
        [&view] { return CursorChordOf(view) != nullptr; });
  // Dynamics keep the mark's index over its velocity in cy, as the drawing and the player read it.
  t.AddRange(kDynamicsFirst, kDynamicsLast,
             [&doc, &view](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintStrip, [&] {
                 nChord& chord = *CursorChordOf(view);
                 const size_t index = static_cast<size_t>(e.id - kDynamicsFirst);
                 const int32_t cy = static_cast<int32_t>((index << 16) | kDynamicsVelocity[index]);
                 if (CMetaEvent* existing = chord.metaEvents.Find(CMetaEvent::kDynamics)) {
                   existing->cy = cy;
                 } else {
                   chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kDynamics, "", 0, 0, cy));
                 }
               });
             },
             [&view](int) { return CursorChordOf(view) != nullptr; });
  t.AddRange(kBracketFirst, kBracketLast,
             [&doc, &view](const CommandEvent& e) {
               nChord& chord = *CursorChordOf(view);
               const bool tablature = InTablature(view);
               const int step = e.id - kBracketFirst;
               if (step == 11) {
                 // The editor works on a copy: a cancelled edit changes nothing.
                 CMetaEvent* existing = chord.metaEvents.Find(kStaveBracket);
                 if (existing == nullptr) return;
                 CMetaEvent edited(*existing);
                 if (!MetaEventEditors().RunEditor(edited, tablature ? 1 : 0)) return;
                 SnapshotEdit(doc, kHintRepaintStrip, [&] { *chord.metaEvents.Find(kStaveBracket) = edited; });
                 return;
               }
               SnapshotEdit(doc, kHintRepaintStrip, [&] {
                 if (step == 10) {
                   chord.metaEvents.RemoveKind(kStaveBracket);
                   return;
                 }
                 CMetaEvent* bracket = chord.metaEvents.Find(kStaveBracket);
                 Bracket b;
                 if (bracket != nullptr) {
                   b = ReadBracket(*bracket, tablature);
                 } else {
                   bracket = chord.metaEvents.push_back(std::make_unique<CMetaEvent>(kStaveBracket, "", 0, 0, 0));
                 }
                 if (step < 6) {
                   b.shape = kBracketShapes[static_cast<size_t>(step)];
                   if (step == 0) {
                     b.extent = 0;
                     b.depth = 0;
                   }
                 } else if (step == 6 || step == 7) {
                   if (step == 6) chord.metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kEnding, "", 0, 0, 0));
                   b.orientation ^= 1;
                 } else if (step == 8) {
                   b.extent = std::min(b.extent + 1, kLongestBracket);
                 } else if (step == 9 && b.extent > 0) {
                   --b.extent;
                 }
                 WriteBracket(*bracket, b, tablature);
               });
             },
             [&view](int id) {
               const nChord* chord = CursorChordOf(view);
               if (chord == nullptr) return false;
               return id < kBracketNeedsOne || chord->metaEvents.Find(kStaveBracket) != nullptr;
             });

  // --- rests of a whole bar and grace notes
  const auto hasLine = [&view] { return HasActiveLine(view); };
  t.Add(kInsertFullBarPause,
        [&doc](const CommandEvent&) {
          const size_t steps = doc.undoStack.size();
          // The insertion takes its own snapshot; a cancelled editor leaves that step unused.
          if (doc.InsertSpecialEvent(CMetaEvent::kBarPause) == 0 && doc.undoStack.size() > steps) doc.undoStack.PopFront();
        },
        hasLine);
  t.Add(kFullBarRest,
        [&doc, &view](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            auto bar = std::make_unique<nChord>(kBarPauseBar);
            bar->metaEvents.SetMetaEvent(CMetaEvent::kBarPause, "", 0, 1, 0);
            CInstrument& line = *view.ActiveLine();
            CClef& stave = *line.GetCurrentStave();
            if (stave.cursorColumn < 0) stave.cursorColumn = 0;
            nChordArray& voice = line.GetSelectedVoice();
            size_t at = std::min(static_cast<size_t>(stave.cursorColumn), voice.size());
            voice.insert(at++, std::make_unique<nChord>(static_cast<uint16_t>((kRightStaticSpace << 4) | nChord::kSpecialEvent)));
            voice.insert(at++, std::move(bar));
            voice.insert(at, std::make_unique<nChord>(static_cast<uint16_t>((kSpace << 4) | nChord::kSpecialEvent)));
            doc.ReflowActiveSystem(true);
          });
        },
        hasLine);
  const auto cursorNote = [&view]() -> nNotes* {
    CInstrument* line = view.ActiveLine();
    return line != nullptr && CursorChordOf(view) != nullptr ? line->GetCursorNote() : nullptr;
  };
  t.Add(kInsertGraceNote,
        [&doc, &view, cursorNote](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintSystem, [&] {
            const nNotes& note = *cursorNote();
            const uint32_t value = (uint32_t{note.pitch} << 16) | (uint32_t{note.string} << 8) | note.interval;
            nChord& chord = *CursorChordOf(view);
            chord.metaEvents.SetMetaEvent(CMetaEvent::kGraceNote, "", value, 0, 0);
            chord.MarkForMetaEvent(CMetaEvent::kGraceNote);
          });
        },
        [cursorNote] { return cursorNote() != nullptr; },
        [&view] {
          const nChord* chord = CursorChordOf(view);
          return chord != nullptr && chord->metaEvents.Find(CMetaEvent::kGraceNote) != nullptr;
        });
}

}  // namespace vornel::view
