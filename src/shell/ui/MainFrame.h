#pragma once

#include <wx/frame.h>

#include "platform/UserPrompts.h"

namespace vornel {

// The main window of the editor.
class CMainFrame : public wxFrame {
 public:
  CMainFrame();

 private:
  void OnQuit(wxCommandEvent& event);
  void OnAbout(wxCommandEvent& event);
};

}  // namespace vornel
