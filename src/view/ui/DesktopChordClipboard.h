#pragma once
// The chord clipboard of the editor: copies go to the desktop's clipboard as well, in a format
// of our own with the same text as a plain-text fallback, so that chords copied in one window
// (or another instance of the editor) paste in another. Pasting reads what the desktop holds:
// foreign text or damaged data pastes nothing. When the clipboard cannot be opened the copy
// kept in memory serves.

#include <string>

#include "view/entry/ChordClipboard.h"

namespace vornel::view {

class DesktopChordClipboard : public ChordClipboard {
 public:
  void Put(const nChordArray& chords) override;
  nChordArray Get() const override;
  size_t Count() const override;

  // The name of the private format on the desktop's clipboard.
  static const char* FormatName();

 private:
  // The text on the desktop's clipboard in our format or as plain text; false when it could not
  // be opened.
  bool ReadDesktopText(std::string& text) const;
  // The chords the desktop's clipboard holds (none for foreign text), or the copy in memory.
  const nChordArray& Current() const;
  // Parses are kept for the last text read, since the enable rules ask often.
  mutable std::string lastText_;
  mutable nChordArray lastChords_;
  mutable bool lastParsed_ = false;
};

}  // namespace vornel::view
