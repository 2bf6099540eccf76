#include "shell/ui/MainFrame.h"

#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>

namespace vornel {

CMainFrame::CMainFrame() : wxFrame(nullptr, wxID_ANY, kApplicationName, wxDefaultPosition, wxSize(1024, 768)) {
  auto* fileMenu = new wxMenu;
  fileMenu->Append(wxID_EXIT, "E&xit\tCtrl+Q");
  auto* helpMenu = new wxMenu;
  helpMenu->Append(wxID_ABOUT, "&About...");
  auto* menuBar = new wxMenuBar;
  menuBar->Append(fileMenu, "&File");
  menuBar->Append(helpMenu, "&Help");
  SetMenuBar(menuBar);
  CreateStatusBar();
  SetStatusText("Ready");

  Bind(wxEVT_MENU, &CMainFrame::OnQuit, this, wxID_EXIT);
  Bind(wxEVT_MENU, &CMainFrame::OnAbout, this, wxID_ABOUT);
}

void CMainFrame::OnQuit(wxCommandEvent&) { Close(true); }

void CMainFrame::OnAbout(wxCommandEvent&) {
  wxMessageBox(wxString::FromUTF8(kApplicationName), "About", wxOK | wxICON_INFORMATION, this);
}

}  // namespace vornel
