#pragma once
// Note entry and editing in the score view: the key map (key down, typed characters, key
// up), the one path by which a typed note reaches the document, the piano keyboard's notes,
// alfabeto letters, and the note, rhythm, slur, chord, clipboard, event and selection
// commands, which it enters in the view's command table. Everything works on the document's
// active path and the view's state, so tests drive it headless with key events and command
// ids.

#include <cstdint>
#include <functional>

#include "view/commands/CommandTable.h"
#include "view/entry/KeyInput.h"

namespace vornel {
class CClef;
class CInstrument;
class CBriotabDoc;
class nChord;
class nNotes;
}  // namespace vornel

namespace vornel::view {

class CBriotabView;
struct ScoreViewState;

// The chart window's modes of an upper-case letter on a tablature.
inline constexpr int kAlfabetoInputChord = 1521;
inline constexpr int kAlfabetoInputChart = 1522;
inline constexpr int kAlfabetoInputSymbol = 1523;

class NoteEntry {
 public:
  explicit NoteEntry(CBriotabView& view);

  // --- keys. The one way a pressed key reaches the view, from the window and from scripts
  // alike: the key goes down (a key 0 has no code of its own and only types), and a key-down
  // the view does not take types `typed`, the character the key makes, unless it is a control
  // character or Ctrl or Alt is held (those are commands). True when the view took the key or
  // its character: the window passes the key on no further.
  bool PressKey(const KeyEvent& key, char32_t typed);
  void OnKeyUp(const KeyEvent& key);
  // Shift held for something else than itself (a click): its release leaves auto-advance.
  void ShiftUsed() { shiftAlone_ = false; }
  // The single path of a typed note.
  void InputKeyCode(char code);
  void InputPianoKey(int pitch);
  // Editing and navigation keys; true for the keys it takes.
  bool HandleEditKey(const KeyEvent& key);
  // An upper-case letter of the alfabeto chart; false when not taken.
  bool AlfabetoInput(int mode, char letter);

  // The bourdon fret (0, 1 or 2) and the chart window's choices.
  int bourdonFret = 0;
  int alfabetoMode = kAlfabetoInputChord;
  int chartLetter = 0;  // the chart window's letter index, 0 = 'A'

  // The note under the cursor of the active line (the view's GetCursorNote).
  nNotes* GetCursorNote() const;

  void AddCommands(CommandTable& table);

 private:
  void AddNoteCommands(CommandTable& table);
  void AddSlurCommands(CommandTable& table);
  void AddChordCommands(CommandTable& table);
  void AddEventCommands(CommandTable& table);
  void AddSelectionCommands(CommandTable& table);
  void AddAlfabetoInsertCommand(CommandTable& table);

  CBriotabDoc& Doc() const;
  ScoreViewState& State() const;
  CInstrument* Line() const;
  CClef* Stave() const;
  nChord* CursorChord() const;
  // Moves the stave cursor one column on, as after a special event; beeps without a stave.
  void StepCursorOn();
  void AfterCursorMove();
  // A snapshot, the edit, and the common end when it changed something.
  void Edit(int hint, const std::function<bool()>& change);
  // The same for an edit that changes nothing outside the active system: its snapshot holds
  // the systems of the active system's page alone.
  void EditActiveSystem(int hint, const std::function<bool()>& change);
  void Copy();

  bool OnKeyDown(const KeyEvent& key);
  void OnChar(char32_t character);
  bool OnKeyDownChecked(const KeyEvent& key);
  void OnCharChecked(char32_t character);

  CBriotabView& view_;
  bool keypad_ = false;
  // Shift went down and nothing else happened since: its release toggles auto-advance.
  bool shiftAlone_ = false;
};

}  // namespace vornel::view
