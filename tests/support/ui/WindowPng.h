#pragma once
// Window tests save what a window shows as a PNG for review: the window is shown without a
// modal loop, the screen copied, and the window hidden again.

#include <wx/app.h>
#include <wx/bitmap.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <string>

namespace vornel::testing {

inline void SaveWindowPng(wxTopLevelWindow& window, const std::string& name) {
  window.Show();
  for (int i = 0; i < 5; ++i) wxYield();
  const wxSize size = window.GetClientSize();
  wxBitmap bitmap(size);
  wxMemoryDC memory(bitmap);
  wxClientDC client(&window);
  memory.Blit(0, 0, size.x, size.y, &client, 0, 0);
  memory.SelectObject(wxNullBitmap);
  bitmap.SaveFile(wxString::FromUTF8(name + ".png"), wxBITMAP_TYPE_PNG);
  window.Hide();
}

}  // namespace vornel::testing
