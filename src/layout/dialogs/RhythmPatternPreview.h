#pragma once
// The live staff of "Rhythm Pattern": a private instrument line built from the definition the
// dialog was opened for, refilled from the dialog's fields (at most three bars, on a staff of
// notation) and drawn through the installed stave renderer.

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
  // The preview on a client area of `size`.
  void Paint(DeviceContext& dc, Size size);

  CInstrument& Line() { return *line_; }
  // Chords and bar lines in the preview's voice.
  size_t ElementCount() const { return line_->firstVoice.size(); }
  int32_t ColumnWidth() const { return columnWidth_; }

 private:
  CInstrumentDlg definition_;
  std::unique_ptr<CInstrument> line_;
  int32_t columnWidth_ = 0;
};

}  // namespace vornel
