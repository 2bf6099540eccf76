#pragma once
// Window tests save what a window shows as `name`.png (in the working folder) for review.

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/window.h>

#include <string>

namespace vornel::testing {

// Shows the window without a modal loop, lets it paint and writes its client area.
inline void SaveWindowPng(wxWindow& window, const std::string& name) {
  window.Show();
  window.Refresh();
  window.Update();
  for (int i = 0; i < 10; ++i) wxTheApp->Yield(true);
  const wxSize size = window.GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  wxClientDC client(&window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  bitmap.SaveFile(wxString::FromUTF8(name + ".png"), wxBITMAP_TYPE_PNG);
}

}  // namespace vornel::testing
