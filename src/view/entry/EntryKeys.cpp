#include "view/entry/EntryKeys.h"

namespace vornel::view {

namespace {

constexpr std::string_view kNotes = "Notes";
constexpr std::string_view kStaff = "Notes on a staff";
constexpr std::string_view kRhythm = "Rhythm values and marks";
constexpr std::string_view kCursor = "Moving the cursor";
constexpr std::string_view kChords = "Chords and notes";
constexpr std::string_view kView = "The view";
constexpr std::string_view kNoKey = "Where there is no key: the Palettes pane";

constexpr EntryKey kEntryKeys[] = {
    {kNotes, "a ... z", "On a tablature: the fret of the course under the cursor (a is the open course)."},
    {kNotes, "0 ... 5",
     "On a staff and on a French tablature: the left-hand fingering of the note (open string, index, middle, third, "
     "fourth finger, thumb)."},
    {kNotes, "0 ... 9", "On an Italian or modern tablature: that fret. On a French tablature 6 to 9 are the letters q to t."},
    {kNotes, "Ctrl+0 ... Ctrl+9", "Frets 10 to 19."},
    {kNotes, "Ctrl+Keypad 0 ... 9", "On a tablature: frets 10 to 19."},
    {kNotes, "A ... Z", "On a tablature: the chord of that alfabeto letter."},
    {kStaff, "a ... g", "The note of that name on the cursor's line."},
    {kStaff, "q w e r t y u i",
     "The note value (breve, semibreve, minim, crotchet, quaver, semiquaver, demisemiquaver, hemidemisemiquaver), "
     "and a note with it."},
    {kStaff, "p", "A rest of the note value."},
    {kStaff, "Shift+0", "A note on the cursor's line."},
    {kStaff, "Keypad 0 ... 9", "Moves the cursor that many lines and spaces."},
    {kStaff, "Ctrl+Keypad 0 ... 9", "Moves the cursor that many lines and spaces the other way, and puts a note there."},
    {kRhythm, "<", "The next longer note value (towards the breve), for the notes typed next."},
    {kRhythm, ">", "The next shorter note value, for the notes typed next."},
    {kRhythm, "VALUE", "The status bar shows the note value the next typed note takes. It follows the chord under the "
                       "cursor, so a note typed after a chord takes that chord's value."},
    {kRhythm, "~", "One step slur."},
    {kRhythm, "@", "Melody note."},
    {kCursor, "Left, Right", "The previous, the next column."},
    {kCursor, "Up, Down", "The course (or staff line) above, below."},
    {kCursor, "Space", "The next column."},
    {kCursor, "Home, End", "The first, the last column of the system."},
    {kCursor, "Tab, Shift+Tab", "The next, the previous bar line; at the end of the system the next or previous system."},
    {kCursor, "Enter, Shift+Enter", "The next, the previous system."},
    {kChords, "Backspace, Delete", "Deletes the note under the cursor."},
    {kChords, "Ctrl+Backspace, Ctrl+Delete", "Deletes the chord at the cursor."},
    {kChords, "Insert", "Inserts a chord at the cursor."},
    {kChords, "Ctrl+Up, Ctrl+Down", "Moves the selected notes one course up, down."},
    {kChords, "\\", "Splits the bar pause at the cursor."},
    {kView, "Keypad +, Keypad -", "Zooms in, out by 10% (from 40% to 500%); no note changes."},
    {kView, "Keypad .", "Formats the staff."},
    {kView, "Ctrl+Keypad .", "Reformats all staves of the section."},
    {kView, "Shift", "Pressed and released alone: cursor auto-advance on or off. Shift held for another key or a click "
                     "leaves it as it is."},
    {kView, "Any key while playing", "Stops the play."},
    {kNoKey, "Flags: Breve ... Hemidemisemiquaver",
     "On a tablature as on a staff: the note value of the notes typed next, and of the chord at the cursor or the "
     "selected chords."},
    {kNoKey, "Flags: Dot",
     "Dots the chord at the cursor; over a selection, every other chord is dotted and the chord after it shortened."},
    {kNoKey, "Bar lines: Forced barline ...",
     "A bar line at the cursor: plain, dotted, thick, hidden, or a repeat. Tab and Shift+Tab then move from bar to "
     "bar."},
    {kNoKey, "Diapasons: First bourdon ... Eighth bourdon",
     "A note on that bass course of a lute, open, added to the chord at the cursor (Up and Down reach only the "
     "courses on the staff). \"First fret on bourdon\" and \"Second fret on bourdon\" stop the bass courses added "
     "next at that fret; \"Delete bourdon\" takes them off the chord."},
};

}  // namespace

std::span<const EntryKey> EntryKeys() { return kEntryKeys; }

}  // namespace vornel::view
