#pragma once
// "Ornament glyphs": the glyph grid of a font, the chosen glyph's code, the zoom and the
// alignment; the editor of graphic ornament events (kind 7).

#include "layout/ui/dialogs/TexturedDialog.h"
#include "view/charts/OrnamentGlyphChooser.h"

class wxChoice;
class wxSpinCtrl;
class wxStaticText;

namespace vornel {

class CMetaEvent;
class CStaticGlyphChart;

class OrnamentGlyphsDialog : public TexturedDialog {
 public:
  enum : int { kGrid = 1500, kCode = 1501, kZoom = 1502, kAlignment = 1503, kFontStyle = 1504 };

  OrnamentGlyphsDialog(wxWindow* parent, COrnamentDlg& chooser);
  bool TransferDataToWindow() override;
  // A zoom out of range shows the message and keeps the dialog open.
  bool TransferDataFromWindow() override;

 private:
  COrnamentDlg& chooser_;
  CStaticGlyphChart* grid_;
  wxStaticText* code_;
  wxSpinCtrl* zoom_;
  wxChoice* alignment_;
};

// The graphic ornament event's editor: the chooser on its glyph; true on OK.
bool EditGraphicOrnament(CMetaEvent& event, wxWindow* parent = nullptr);

}  // namespace vornel
