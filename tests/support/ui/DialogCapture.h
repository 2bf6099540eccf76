#pragma once
// Helpers of the dialog window tests: a control found by its id, and what a dialog shows on the
// screen (without a modal loop), optionally saved as a PNG for review.

#include <gtest/gtest.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/image.h>
#include <wx/utils.h>

#include <string>

namespace vornel {

template <typename T>
T* Control(wxWindow& dialog, int id) {
  auto* control = dynamic_cast<T*>(dialog.FindWindow(id));
  EXPECT_NE(control, nullptr) << id;
  return control;
}

inline void EnsurePngHandler() {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
}

// A shown window's client area as it is on the screen, once what it has to paint is painted;
// written to `name`.png unless `name` is empty.
inline wxImage CaptureWindow(wxWindow& window, const std::string& name = {}) {
  EnsurePngHandler();
  window.Refresh();
  for (int i = 0; i < 5; ++i) {
    window.Update();
    wxYield();
  }
  const wxSize size = window.GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  wxClientDC client(&window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  if (!name.empty()) bitmap.SaveFile(wxString::FromUTF8(name + ".png"), wxBITMAP_TYPE_PNG);
  return bitmap.ConvertToImage();
}

// The dialog shown, captured as above, and hidden again.
inline wxImage CaptureDialog(wxWindow& dialog, const std::string& name = {}) {
  dialog.Show();
  const wxImage image = CaptureWindow(dialog, name);
  dialog.Hide();
  return image;
}

inline void SavePng(wxDialog& dialog, const std::string& name) { CaptureDialog(dialog, name); }

}  // namespace vornel
