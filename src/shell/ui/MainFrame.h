#pragma once

#include <wx/frame.h>

namespace vornel {

// The application's name, shown in the main frame's caption.
inline constexpr const char* kApplicationName = "Vornel Tablature Composer";

// The main window of the editor.
class CMainFrame : public wxFrame {
 public:
  CMainFrame();

 private:
  void OnQuit(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);
};

}  // namespace vornel
