#pragma once
// The state the score view keeps of its own. The score itself (sections, systems, lines,
// voices, chords and the cursor of each stave) lives in the document; this is how the view
// shows it and what the next typed note will be.

#include <cstdint>
#include <string>

#include "platform/draw/DrawTypes.h"

namespace vornel::view {

struct ScoreViewState {
  // --- what is shown
  int32_t pageIndex = 0;          // the page of the active section shown, from 0
  Rect pageRect;                  // (0, 0, width, height) of the drawn page, device pixels
  Rect selection;                 // logical pixels of the page; empty: no selection
  Rect playbackRect;              // the active system while it plays (logical)
  bool scrollToCursorPending = false;

  // --- the transient tip
  std::string tipText;
  Rect tipRect;                   // logical
  bool tipShown = false;

  // --- note entry (read by the keyboard and the note commands)
  bool echoOnUpdate = true;       // sound a chord as it is entered
  bool autoAdvance = true;        // the cursor moves on after a note ("ON"/"OFF" in pane 14)
  bool overwriteMode = false;
  bool autoAdvanceToNextSystem = false;
  int32_t dotState = 0;           // the check of "Dot"
  uint8_t flagKind = 0;           // the rhythm flag kind of new notes (high nibble)
  uint8_t noteValue = 3;          // the note value of new notes, 0 breve .. 7 (low nibble)
  // The rhythm byte handed to the document with a typed note.
  uint8_t RhythmByte() const { return static_cast<uint8_t>((flagKind << 4) | (noteValue & 0x0F)); }

  // --- the caret
  bool caretShown = false;        // the view has the focus and shows a caret
  int32_t caretStaveKind = 0;     // the stave kind the caret was made for: 0 staff, 1 tablature

  // --- playback
  bool playing = false;
  bool paused = false;
  bool following = false;         // a bar position has just moved the cursor
  int32_t playMode = 2;           // 1 one voice, 2 one instrument, 3 all parts

  // --- the mouse
  bool shiftOnButtonDown = false;
  bool doubleClicked = false;     // the last press was part of a double click

  // --- kept across printing
  Point savedScroll;
  int32_t savedZoom = 100;
};

}  // namespace vornel::view
