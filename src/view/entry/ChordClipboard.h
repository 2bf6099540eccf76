#pragma once
// The chord clipboard that copy, cut, paste, clone and copy rhythm share. The process holds
// one: headless it keeps the chords in memory; the window layer installs one that also puts
// them on the desktop's clipboard in a private format, so that copy and paste work between
// windows and documents.

#include <string>
#include <string_view>

#include "model/voice/nChordArray.h"

namespace vornel::view {

class ChordClipboard {
 public:
  virtual ~ChordClipboard() = default;
  // Replaces the clipboard's chords by copies of `chords`.
  virtual void Put(const nChordArray& chords);
  // The chords on the clipboard (a copy).
  virtual nChordArray Get() const;
  virtual size_t Count() const;

 protected:
  nChordArray chords_;
};

// The clipboard in force.
ChordClipboard& ChordClipboards();

class ScopedChordClipboard {
 public:
  explicit ScopedChordClipboard(ChordClipboard& clipboard);
  ~ScopedChordClipboard();
  ScopedChordClipboard(const ScopedChordClipboard&) = delete;
  ScopedChordClipboard& operator=(const ScopedChordClipboard&) = delete;

 private:
  ChordClipboard* previous_;
};

// The private clipboard form: the chords as a voice's "staff" XML under a root of our own.
std::string ChordsToClipboardText(const nChordArray& chords);
// Reads the text back with the file reader's checks; false (and `out` untouched) for foreign
// or damaged text.
bool ChordsFromClipboardText(std::string_view text, nChordArray& out);

}  // namespace vornel::view
