#pragma once
// "Lyrics editor" (kind 0) without its window: the lyric of one chord of a voice, the walk
// from chord to chord that stores each text before moving, and the voice-wide actions. The
// dialog edits a copy of the document's lyrics font, which goes back only on OK.

#include <cstdint>
#include <string>

#include "model/text/dfLogFont.h"

namespace vornel {

class CMetaEvent;
class nChordArray;

struct CLyricsDlg {
  static constexpr size_t kMaxText = 250;

  std::string text;  // carriage returns shown as "+"
  int spacing = 0;   // -16 to 16
  bool border = false;
  bool shaded = false;
  dfLogFont font;

  nChordArray* voice = nullptr;  // the voice under edit; may be none
  int index = 0;                 // the current item of the voice
  // Set once "Clear all" took the lyrics away: the edited event is then marked for removal
  // (kind 255, left to its chord's list, since the caller still holds it) and OK writes
  // nothing to it.
  bool eventGone = false;
  const CMetaEvent* edited = nullptr;

  // The event's fields, the document's lyrics font, and where the event's chord lies in the
  // voice (the voice's first chord when the event is on none of them).
  void From(const CMetaEvent& event, bool lower, const dfLogFont& lyricsFont, nChordArray* voice);
  std::string Validate() const;
  // cx from Border and Shaded, the line byte from the spacing; the current text is stored in
  // the voice first.
  void To(CMetaEvent& event, bool lower);

  // Whether "Next chord >>" and "<< Previous chord" can move.
  bool CanGoNext() const;
  bool CanGoPrevious() const;
  // The text back into the current chord: its lyric replaced, or one added when it has none
  // and the text is not empty. Bars and special events take none.
  void StoreText();
  // Stores, then moves to the next chord and shows its lyric; a beep and no move at the end.
  bool Next();
  // Stores, then moves back to the nearest chord before; nothing when there is none.
  bool Previous();
  // "Process line": the words of the text to the chords from the current one on; the editor
  // goes back to the first chord.
  void ProcessLine();
  // "Clear all": the lyrics of every chord of the voice go (other events stay).
  void ClearAll();
  // "Reset positions": every chord's first lyric back to its default place.
  void ResetPositions();
  // "Align all": every chord's first lyric takes the current one's offsets.
  void AlignAll();

 private:
  void MoveBackFrom(int start);
  void LoadText();
};

// The text with carriage returns shown as "+", and back.
std::string LyricsToShown(const std::string& text);
std::string LyricsFromShown(const std::string& shown);

}  // namespace vornel
