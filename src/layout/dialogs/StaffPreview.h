#pragma once
// The small staff of the dialogs (CStaticStaff): a private instrument line built from an
// instrument definition and drawn through the installed stave renderer. "Rhythm Pattern"
// refills it from its fields (at most three bars, on a staff of notation); the instrument
// templates dialog shows a definition with sample chords as notation or as tablature.

#include <cstdint>
#include <memory>

#include "layout/dialogs/ChordDialogs.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"

namespace vornel {

class DeviceContext;

class StaffPreview {
 public:
  static constexpr COLORREF kBackground = 0xF0F0F0;

  // `definition` null: a default definition of the preview's own.
  explicit StaffPreview(const CInstrumentDlg* definition);
  StaffPreview(const StaffPreview&) = delete;
  StaffPreview& operator=(const StaffPreview&) = delete;

  // Refills the line from the fields, over min(bars, 3) bars.
  void Rebuild(const CRhythmPattern& fields);
  // Builds the line again from `definition` (its first stave shown as notation, or as
  // tablature) and fills it with the sample chords.
  void ShowDefinition(const CInstrumentDlg& definition, bool notation);
  // The sample: two bars of four quarter chords.
  static constexpr int kSampleBars = 2;
  // The preview on a client area of `size`.
  void Paint(DeviceContext& dc, Size size);

  CInstrument& Line() { return *line_; }
  // Chords and bar lines in the preview's voice.
  size_t ElementCount() const { return line_->firstVoice.size(); }
  int32_t ColumnWidth() const { return columnWidth_; }

 private:
  // A line of its own over the preview's copy of `definition` (null: a default one).
  void BuildLine(const CInstrumentDlg* definition);

  std::unique_ptr<CInstrumentDlg> definition_;
  std::unique_ptr<CInstrument> line_;
  int32_t columnWidth_ = 0;
};

}  // namespace vornel
