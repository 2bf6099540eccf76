// The score view's key map and the path of a typed note.

#include "view/entry/NoteEntry.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

#include "document/CBriotabDoc.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "view/FramePanes.h"
#include "view/core/CBriotabView.h"
#include "view/commands/Accelerators.h"
#include "view/core/ViewIds.h"

namespace vornel::view {

namespace {

constexpr int kZoomStep = 10;
constexpr int kZoomMost = 500;
constexpr int kZoomLeast = 40;
constexpr int kOneStepSlur = 32835;
constexpr int kMelodyNote = 32861;
constexpr int kOpenString = 32863;
constexpr int kNoteValueFirst = 32800;
constexpr int kReformatAllStaves = 33171;
constexpr int kFormatStaff = 32784;
constexpr int kMoveNotesUp = 33216;
constexpr int kMoveNotesDown = 33217;
constexpr int kAutoAdvancePane = 14;
constexpr uint16_t kGhostMark = 13;

bool IsSpecialBarPause(const nChord& c) {
  return (c.status & 3) == 1 && (c.status & 12) == 12 && (c.status & 0xFF0) == 0x240;
}

}  // namespace

NoteEntry::NoteEntry(CBriotabView& view) : view_(view) {}

CBriotabDoc& NoteEntry::Doc() const { return view_.Document(); }
ScoreViewState& NoteEntry::State() const { return view_.State(); }
CInstrument* NoteEntry::Line() const { return view_.ActiveLine(); }
CClef* NoteEntry::Stave() const { return view_.ActiveStave(); }

nChord* NoteEntry::CursorChord() const {
  return Stave() != nullptr ? Doc().GetActiveChord() : nullptr;
}

nNotes* NoteEntry::GetCursorNote() const {
  CInstrument* line = Line();
  if (line == nullptr || Stave() == nullptr) return nullptr;
  return line->GetCursorNote();
}

void NoteEntry::AfterCursorMove() {
  view_.UpdateCaret();
  view_.ScrollCursorIntoView();
}

void NoteEntry::StepCursorOn() {
  CClef* stave = Stave();
  if (stave == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  if (stave->MoveCursor(7, 0) != 0) AfterCursorMove();
}

void NoteEntry::Edit(int hint, const std::function<bool()>& change) {
  Doc().SaveSnapshot();
  if (change()) Doc().NotifyChanged(hint);
}

void NoteEntry::EditActiveSystem(int hint, const std::function<bool()>& change) {
  Doc().SaveActivePageSnapshot();
  if (change()) Doc().NotifyChanged(hint);
}

// ---------------------------------------------------------------------------------------------
// A typed note

void NoteEntry::InputKeyCode(char code) {
  ScoreViewState& state = State();
  if (Stave() == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  nChord* chord = Doc().InputFret(code, state.RhythmByte(), state.overwriteMode);
  if (chord == nullptr) return;
  chord->rhythm = static_cast<uint16_t>((chord->rhythm & ~0xF0) | (state.flagKind << 4));
  nChord* atCursor = CursorChord();
  if (atCursor != nullptr) view_.EchoChord(*atCursor);
  if (atCursor == nullptr || atCursor->IsChord()) {
    if (state.autoAdvance) HandleEditKey(KeyEvent{keys::kSpace});
  } else {
    StepCursorOn();
  }
  if (chord->ChordMark() == kGhostMark) chord->ToggleGhost();
}

void NoteEntry::InputPianoKey(int pitch) {
  const CBriotabDoc::UnchangedStepCheck check(Doc());
  if (Stave() == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  nChord* chord = Doc().InputPianoNote(pitch, State().RhythmByte());
  if (chord == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  view_.EchoChord(*chord);
  if (CursorChord() != chord) {
    StepCursorOn();
    if (CClef* stave = Stave()) ++stave->columnCount;
  }
  if (State().autoAdvance) HandleEditKey(KeyEvent{keys::kSpace});
}

bool NoteEntry::AlfabetoInput(int mode, char letter) {
  CInstrument* line = Line();
  if (line == nullptr) return false;
  if (mode == kAlfabetoInputChart) {
    bool done = false;
    EditActiveSystem(kHintRepaintSystem, [&] { return done = line->SetCursorChordAlfabetoEvent(letter - 'A') != 0; });
    if (done) view_.Window().Invalidate();
    return done;
  }
  if (Doc().InsertAlfabetoChord(letter, State().noteValue, mode == kAlfabetoInputSymbol) == 0) return false;
  if (nChord* chord = CursorChord()) view_.EchoChord(*chord);
  if (State().autoAdvance) StepCursorOn();
  return true;
}

// ---------------------------------------------------------------------------------------------
// Keys

bool NoteEntry::PressKey(const KeyEvent& key, char32_t typed) {
  // The undo step the key takes is named after it.
  const CBriotabDoc::ActionName name(Doc(), KeyActionName(key, typed));
  if (key.key != 0 && OnKeyDown(key)) return true;
  if (typed < 32 || key.ctrl || key.alt) return false;
  OnChar(typed);
  return true;
}

bool NoteEntry::OnKeyDown(const KeyEvent& key) {
  // Shift is used alone only if nothing else goes down before it comes up.
  shiftAlone_ = key.key == keys::kShift;
  const CBriotabDoc::UnchangedStepCheck check(Doc());
  return OnKeyDownChecked(key);
}

bool NoteEntry::OnKeyDownChecked(const KeyEvent& key) {
  ScoreViewState& state = State();
  keypad_ = false;
  if (state.playing) {
    view_.StopPlaying();
    return true;
  }
  if (key.key == keys::kAdd || key.key == keys::kSubtract) {
    const int32_t zoom = Doc().settings.pageSettings.zoom;
    if (key.key == keys::kAdd && zoom < kZoomMost) view_.SetZoomKeepingPosition(zoom + kZoomStep);
    if (key.key == keys::kSubtract && zoom > kZoomLeast) view_.SetZoomKeepingPosition(zoom - kZoomStep);
    return true;
  }
  const bool digit = key.key >= keys::kDigit0 && key.key <= keys::kDigit0 + 9;
  if (digit && key.ctrl) {
    // Ctrl + digit: frets 10-19 ('l'..'u') on letter tablatures; the digit styles count them
    // in digits.
    InputKeyCode(static_cast<char>(key.key + 60));
    return true;
  }
  CClef* stave = Stave();
  if (key.key == keys::kDigit0 && key.shift && stave != nullptr && !stave->IsTablature()) {
    CInstrument* line = Line();
    nChord* chord = line->GetCursorChord(true);
    if (line->GetCursorNote() != nullptr) return true;
    const uint16_t firstRhythm = chord->rhythm;
    if (chord->IsBarLine()) {
      stave->MoveCursor(7, 0);
      chord = line->GetCursorChord(true);
    }
    Doc().SaveSnapshot();
    nChord* entered = line->InputKeyAtCursor('a', firstRhythm & ~0x08, false);
    if (entered != nullptr) Doc().NotifyChanged(kHintRepaintLine);
    (void)chord;
    return true;
  }
  if (key.key >= keys::kNumpad0 && key.key <= keys::kNumpad0 + 9) {
    keypad_ = true;
    const int digitValue = key.key - keys::kNumpad0;
    if (stave != nullptr && !stave->IsTablature()) {
      stave->cursorRow += key.ctrl ? digitValue : -digitValue;
      if (key.ctrl) InputKeyCode('a');
      AfterCursorMove();
      return true;
    }
    if (stave != nullptr && key.ctrl) {
      InputKeyCode(static_cast<char>('l' + digitValue));
      return true;
    }
    // The keypad's digit is no character to type: it only marks the key.
    return true;
  }
  if (HandleEditKey(key)) return true;
  if (key.key == keys::kBackslash) {
    if (nChord* chord = CursorChord(); chord != nullptr && IsSpecialBarPause(*chord)) {
      Doc().SplitChordAtCursor();
      return true;
    }
  }
  return false;
}

bool NoteEntry::HandleEditKey(const KeyEvent& key) {
  static constexpr int kEditKeys[] = {keys::kTab,   keys::kEnter, keys::kBackspace, keys::kDelete,
                                      keys::kUp,    keys::kDown,  keys::kSpace,     keys::kEnd,
                                      keys::kHome,  keys::kLeft,  keys::kRight,     keys::kInsert};
  const bool editKey = std::find(std::begin(kEditKeys), std::end(kEditKeys), key.key) != std::end(kEditKeys);
  CClef* stave = Stave();
  CInstrument* line = Line();
  if (stave == nullptr || line == nullptr) {
    // Another key goes on to type its character, which beeps once for itself.
    if (editKey) Prompts().Beep(BeepKind::kExclamation);
    return editKey;
  }
  const int mask = key.Mask();
  int code = key.key;
  if (code == keys::kTab) {
    if (!line->MoveCursorToAdjacentBar(mask != 0)) {
      code = keys::kEnter;
    } else {
      code = keys::kRight;
      // The bar walk placed the cursor; Right only refreshes the caret.
      AfterCursorMove();
      return true;
    }
  }
  bool moved = false;
  switch (code) {
    case keys::kEnter:
      view_.GoToSystem(view_.ActiveSection()->activeSystem + (mask == 1 ? -1 : 1));
      return true;
    case keys::kBackspace:
    case keys::kDelete:
      if (key.ctrl) {
        Doc().DeleteChordAtCursor();
      } else {
        EditActiveSystem(kHintRepaintLine, [line] { return line->DeleteNoteAtCursor() != 0; });
      }
      if (nChord* chord = CursorChord()) view_.EchoChord(*chord);
      return true;
    case keys::kUp:
    case keys::kDown:
      if (key.ctrl) {
        view_.Commands().Execute(CommandEvent{code == keys::kUp ? kMoveNotesUp : kMoveNotesDown, std::nullopt, {}});
      }
      moved = stave->MoveCursor(code - 32, stave->IsTablature() ? 0 : -12) != 0;
      break;
    case keys::kSpace:
    case keys::kEnd:
    case keys::kHome:
    case keys::kLeft:
    case keys::kRight:
      moved = stave->MoveCursor(code - 32, stave->IsTablature() ? 0 : -12) != 0;
      break;
    case keys::kInsert:
      Doc().InsertChordAtCursor(nullptr);
      return true;
    default:
      return false;
  }
  if (code == keys::kSpace) line->MoveCursorToNextChord();
  if (code == keys::kLeft) line->MoveCursorToPreviousChord();
  if (moved) AfterCursorMove();
  return true;
}

void NoteEntry::OnChar(char32_t character) {
  shiftAlone_ = false;
  const CBriotabDoc::UnchangedStepCheck check(Doc());
  OnCharChecked(character);
}

void NoteEntry::OnCharChecked(char32_t character) {
  // The characters the table of keys names ('{', '}') run their commands.
  if (const int command = CharacterCommand(character); command != 0) {
    view_.Commands().Execute(CommandEvent{command, std::nullopt, {}});
    return;
  }
  if (character == U'~') {
    view_.Commands().Execute(CommandEvent{kOneStepSlur, std::nullopt, {}});
    return;
  }
  if (character == U'@') {
    view_.Commands().Execute(CommandEvent{kMelodyNote, std::nullopt, {}});
    return;
  }
  CPageDlg& page = Doc().settings.pageSettings;
  if (page.proportionalSpacing != 0) {
    page.proportionalSpacing = 0;
    view_.Window().Invalidate();
    return;
  }
  CClef* stave = Stave();
  if (stave == nullptr || character > 0x7F) {
    // No line to type on.
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  ScoreViewState& state = State();
  const bool tablature = stave->IsTablature();
  const CInstrument* line = Line();
  const int style = line->definition != nullptr ? line->definition->tabInstrument.tabStyle : 0;
  char code = static_cast<char>(character);
  if (tablature && code >= 'A' && code <= 'Z' && AlfabetoInput(alfabetoMode, code)) return;
  const bool digit = code >= '0' && code <= '9';
  if (digit && !keypad_ && code <= '5' && (!tablature || style == 0)) {
    view_.Commands().Execute(CommandEvent{kOpenString + (code - '0'), std::nullopt, {}});
    return;
  }
  // Letter styles take a digit as the letter 'k'..'t'; the digit styles enter its own fret.
  if (digit && !keypad_ && tablature && style != 1 && style != 2) code = static_cast<char>(code + 59);
  if (!tablature) {
    static constexpr std::string_view kValueRow = "qwertyui";
    if (const size_t at = kValueRow.find(code); at != std::string_view::npos) {
      state.noteValue = static_cast<uint8_t>(at);
      code = 'a';
    } else if (code == 'p') {
      Doc().InsertRest(state.noteValue, state.flagKind);
      if (state.autoAdvance) StepCursorOn();
      return;
    }
  }
  if (code == '<' || code == '>') {
    if (code == '<' && state.noteValue > 0) {
      view_.Commands().Execute(CommandEvent{kNoteValueFirst + state.noteValue - 1, std::nullopt, {}});
    }
    if (code == '>' && state.noteValue < 7) {
      view_.Commands().Execute(CommandEvent{kNoteValueFirst + state.noteValue + 1, std::nullopt, {}});
    }
    return;
  }
  if (state.autoAdvanceToNextSystem && stave->cursorColumn >= stave->columnCount) {
    view_.Window().Invalidate();
    view_.GoToSystem(view_.ActiveSection()->activeSystem + 1);
  }
  if (!keypad_) InputKeyCode(code);
}

void NoteEntry::OnKeyUp(const KeyEvent& key) {
  if (key.key == keys::kShift) {
    // Shift that served as a modifier ('<', capitals, Shift+Enter, a click) leaves it.
    if (!std::exchange(shiftAlone_, false)) return;
    State().autoAdvance = !State().autoAdvance;
    Panes().SetStatusText(kAutoAdvancePane, State().autoAdvance ? "ON" : "OFF");
    view_.RecreateCaret();
    return;
  }
  if (key.key == keys::kDecimal) {
    const CBriotabDoc::UnchangedStepCheck check(Doc());
    if (key.ctrl) {
      Panes().DispatchCommand(kReformatAllStaves);
      view_.Window().TakeFocus();
    } else {
      view_.Commands().Execute(CommandEvent{kFormatStaff, std::nullopt, {}});
    }
  }
}

}  // namespace vornel::view
