#pragma once
// "Music ornament": one ornament definition of an instrument, its glyph shown in a one-cell
// glyph grid; "Modify..." chooses the glyph from the catalogue of its type, "Color" its colour.

#include <wx/dialog.h>

#include <array>
#include <string_view>

#include "model/ornament/COrnamentProps.h"

class wxChoice;
class wxStaticText;

namespace vornel {

class CStaticGlyphChart;
struct COrnamentDlg;

class MusicOrnamentDialog : public wxDialog {
 public:
  enum : int { kGlyphText = 1500, kAlignment = 1501, kFlag = 1502, kKind = 1503, kType = 1504, kPreview = 1505,
               kModify = 1506, kColor = 1507 };
  static constexpr std::array<std::string_view, 4> kFlagValues = {"Full flag ", "Half flag ", "Third flag ",
                                                                  "Quarter flag "};

  MusicOrnamentDialog(wxWindow* parent, COrnamentProps& ornament);
  bool TransferDataToWindow() override;
  bool TransferDataFromWindow() override;
  // The glyph and alignment chosen in the catalogue chooser.
  void TakeChoice(const COrnamentDlg& chooser);

 private:
  void ShowGlyph();

  COrnamentProps& ornament_;
  COrnamentProps working_;
  wxStaticText* glyphText_;
  wxChoice* alignment_;
  wxChoice* flag_;
  wxChoice* kind_;
  wxChoice* type_;
  CStaticGlyphChart* preview_;
};

// "Music ornament" run modally on an ornament definition; true on OK with the definition
// changed in place. The slot editor of "Ornaments".
bool EditOrnamentProperties(COrnamentProps& ornament, wxWindow* parent = nullptr);

}  // namespace vornel
