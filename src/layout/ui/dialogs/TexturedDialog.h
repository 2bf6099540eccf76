#pragma once
// The bases that give the program's dialogs their look: when the textured-backgrounds option is
// on, the dialog face (and the static texts, which have no background of their own) shows a
// tiled texture; edits, buttons and lists keep the theme's colours. The option is read at every
// repaint, so switching it shows the next time a dialog repaints.
//
// TexturedDialog: modal dialogs (texture 709, solid colour 0xF0F0F0 unless given).
// TexturedPage: a page of a property sheet (its texture given, solid colour 0xF0FAF0).
// TexturedPropertySheet: a property sheet (texture 713, solid colour 0xEBE6E6).

#include <wx/bitmap.h>
#include <wx/colour.h>
#include <wx/dialog.h>
#include <wx/panel.h>
#include <wx/propdlg.h>

#include <cstdint>

#include "layout/dialogs/DialogTextures.h"

namespace vornel {

// The texture and solid colour of one window, and the paint handler that tiles the texture.
class TexturedBackground {
 public:
  TexturedBackground(DialogTexture texture, uint32_t solidColour);

  // Paints `window`'s background at each repaint while `textured` and the option are on.
  void Attach(wxWindow& window);
  // Whether the texture shows now: the window's textured flag and the option.
  bool Shows() const { return textured_ && TexturedBackgrounds(); }
  // The solid colour made with the texture, for derived dialogs' own controls.
  wxColour SolidColour() const;
  DialogTexture Texture() const { return texture_; }
  void SetTextured(bool textured) { textured_ = textured; }

 private:
  DialogTexture texture_;
  uint32_t solidColour_;
  bool textured_ = true;
};

// The tile of `texture` as a bitmap, made once per run.
const wxBitmap& TextureBitmap(DialogTexture texture);

class TexturedDialog : public wxDialog {
 public:
  TexturedDialog(wxWindow* parent, wxWindowID id, const wxString& title, uint32_t solidColour = 0xF0F0F0,
                 DialogTexture texture = DialogTexture::kDialog,
                 long style = wxDEFAULT_DIALOG_STYLE);
  const TexturedBackground& Background() const { return background_; }

 private:
  TexturedBackground background_;
};

class TexturedPage : public wxPanel {
 public:
  TexturedPage(wxWindow* parent, wxWindowID id, DialogTexture texture = DialogTexture::kSheet);
  const TexturedBackground& Background() const { return background_; }

 private:
  TexturedBackground background_;
};

class TexturedPropertySheet : public wxPropertySheetDialog {
 public:
  static constexpr const char* kInstrumentCaption = "Instrument";
  static constexpr const char* kWizardCaption = "Vornel Document Wizard";

  TexturedPropertySheet(wxWindow* parent, const wxString& caption = kInstrumentCaption);
  const TexturedBackground& Background() const { return background_; }

 private:
  TexturedBackground background_;
};

}  // namespace vornel
