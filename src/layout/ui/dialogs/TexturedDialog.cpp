#include "layout/ui/dialogs/TexturedDialog.h"

#include <wx/dcclient.h>
#include <wx/image.h>

#include <map>

namespace vornel {

const wxBitmap& TextureBitmap(DialogTexture texture) {
  // A cache of immutable resources, kept for the process: each texture's tile never changes, so
  // every dialog may share its bitmap and no drawing depends on another.
  static std::map<DialogTexture, wxBitmap> bitmaps;
  auto found = bitmaps.find(texture);
  if (found != bitmaps.end()) return found->second;
  const TextureTile tile = DrawTextureTile(texture);
  wxImage image(tile.size, tile.size);
  unsigned char* rgb = image.GetData();
  for (uint32_t pixel : tile.pixels) {
    *rgb++ = static_cast<unsigned char>(pixel >> 16);
    *rgb++ = static_cast<unsigned char>(pixel >> 8);
    *rgb++ = static_cast<unsigned char>(pixel);
  }
  return bitmaps.emplace(texture, wxBitmap(image)).first->second;
}

TexturedBackground::TexturedBackground(DialogTexture texture, uint32_t solidColour)
    : texture_(texture), solidColour_(solidColour) {}

void TexturedBackground::Attach(wxWindow& window) {
  window.Bind(wxEVT_PAINT, [this, &window](wxPaintEvent&) {
    wxPaintDC dc(&window);
    if (!Shows()) return;
    const wxBitmap& tile = TextureBitmap(texture_);
    const wxSize size = window.GetClientSize();
    for (int y = 0; y < size.y; y += tile.GetHeight())
      for (int x = 0; x < size.x; x += tile.GetWidth()) dc.DrawBitmap(tile, x, y);
  });
}

wxColour TexturedBackground::SolidColour() const {
  return wxColour((solidColour_ >> 16) & 0xFF, (solidColour_ >> 8) & 0xFF, solidColour_ & 0xFF);
}

TexturedDialog::TexturedDialog(wxWindow* parent, wxWindowID id, const wxString& title, uint32_t solidColour,
                               DialogTexture texture, long style)
    : wxDialog(parent, id, title, wxDefaultPosition, wxDefaultSize, style), background_(texture, solidColour) {
  background_.Attach(*this);
}

TexturedPage::TexturedPage(wxWindow* parent, wxWindowID id, DialogTexture texture)
    : wxPanel(parent, id), background_(texture, 0xF0FAF0) {
  background_.Attach(*this);
}

TexturedPropertySheet::TexturedPropertySheet(wxWindow* parent, const wxString& caption)
    : background_(DialogTexture::kSheet, 0xEBE6E6) {
  Create(parent, wxID_ANY, caption, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
  background_.Attach(*this);
}

}  // namespace vornel
