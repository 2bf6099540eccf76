#pragma once
// The chord clipboard of the editor: copies go to the desktop's clipboard as well, in a format
// of our own with the same text as a plain-text fallback, so that chords copied in one window
// (or another instance of the editor) paste in another.
//
// Whether there is something to paste is asked on every idle refresh of the menus and tool
// bars, so it must never wait on the desktop: reading the clipboard runs a nested event loop
// until its owner answers, and a modal dialog that starts in there (the file chooser's error
// message, say) can never be answered. The answer is kept instead: our own copy sets it, and
// when the desktop says the clipboard changed hands its formats are asked for without waiting
// and the answer updates it. Only a paste itself, a user's command, reads the chords.

#include <memory>
#include <string>

#include "view/entry/ChordClipboard.h"

class wxEvtHandler;

namespace vornel::view {

class DesktopChordClipboard : public ChordClipboard {
 public:
  DesktopChordClipboard();
  ~DesktopChordClipboard() override;
  DesktopChordClipboard(const DesktopChordClipboard&) = delete;
  DesktopChordClipboard& operator=(const DesktopChordClipboard&) = delete;

  void Put(const nChordArray& chords) override;
  // Reads the desktop's clipboard: foreign or damaged text gives no chords; when the clipboard
  // cannot be opened the copy kept in memory serves.
  nChordArray Get() const override;
  // From the kept state, without asking the desktop: the chords of our last copy while the
  // desktop holds them, at least 1 while it holds another window's chords, else 0.
  size_t Count() const override;

  // The name of the private format on the desktop's clipboard.
  static const char* FormatName();

  // Asks the desktop for the clipboard's formats; the answer comes later, as an event. Called
  // when the desktop reports a change of owner and when the editor becomes active again.
  void Refresh();

 private:
  class Listener;
  // The text on the desktop's clipboard in our format or as plain text; false when it could not
  // be opened.
  bool ReadDesktopText(std::string& text) const;
  void Answered(bool holdsOurFormat);

  std::unique_ptr<Listener> listener_;
  bool holdsChords_ = false;  // the desktop holds chords in our format
  bool putHere_ = false;      // and they are the copy in `chords_`
  bool asking_ = false;       // a question of formats is under way
  bool askAgain_ = false;     // the clipboard changed again while it was
};

}  // namespace vornel::view
