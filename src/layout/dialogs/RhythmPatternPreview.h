#pragma once
// The live staff of "Rhythm Pattern": a private instrument line built from the definition the
// dialog was opened for, refilled from the dialog's fields (at most three bars, on a staff of
// notation) and drawn through the installed stave renderer. The instrument's name page shows
// its definition on the same line: a sample bar, as notation or as tablature.

#include <cstdint>
#include <memory>

#include "layout/dialogs/ChordDialogs.h"
#include "model/CInstrument.h"
#include "model/CInstrumentDlg.h"

namespace vornel {

class DeviceContext;

class RhythmPatternPreview {
 public:
  static constexpr COLORREF kBackground = 0xF0F0F0;

  // `definition` null: a default definition of the preview's own.
  explicit RhythmPatternPreview(const CInstrumentDlg* definition);
  RhythmPatternPreview(const RhythmPatternPreview&) = delete;
  RhythmPatternPreview& operator=(const RhythmPatternPreview&) = delete;

  // Refills the line from the fields, over min(bars, 3) bars.
  void Rebuild(const CRhythmPattern& fields);
  // A new line on `definition` (copied) with the sample: one bar of four quarter notes after
  // the time signature, on its first stave shown as tablature or as a staff of notation.
  void ShowSample(const CInstrumentDlg& definition, bool tablature);
  // The preview on a client area of `size`.
  void Paint(DeviceContext& dc, Size size);

  CInstrument& Line() { return *line_; }
  // Chords and bar lines in the preview's voice.
  size_t ElementCount() const { return line_->firstVoice.size(); }
  int32_t ColumnWidth() const { return columnWidth_; }

 private:
  void Fill(const CInstrument::RhythmPattern& pattern, bool tablature);
  void BuildLine();

  CInstrumentDlg definition_;
  std::unique_ptr<CInstrument> line_;
  int32_t columnWidth_ = 0;
};

}  // namespace vornel
