#include "midi/ui/MidiPlaylistWindow.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include "midi/ui/DialogFields.h"

namespace vornel {

namespace {

std::string Call(const std::function<std::string()>& f) { return f ? f() : std::string(); }

}  // namespace

MidiPlaylistWindow::MidiPlaylistWindow(wxWindow* parent, CMidiPlaylist& list, Owner owner)
    : wxDialog(parent, wxID_ANY, "MIDI Play list", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      list_(list),
      owner_(std::move(owner)) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  listBox_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(360, 240));
  top->Add(listBox_, 1, wxEXPAND | wxALL, 6);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  const auto add = [&](const wxString& label, void (MidiPlaylistWindow::*action)()) {
    auto* button = new wxButton(this, wxID_ANY, label);
    button->SetName(label);
    button->Bind(wxEVT_BUTTON, [this, action](wxCommandEvent&) { RunGuarded([&] { (this->*action)(); }); });
    buttons->Add(button, 0, wxEXPAND | wxALL, 3);
  };
  add("PLAY FILE", &MidiPlaylistWindow::PlayFile);
  add("PLAY ALL", &MidiPlaylistWindow::PlayAll);
  add("Zip Bundle", &MidiPlaylistWindow::ZipBundle);
  add("Create HTML Page", &MidiPlaylistWindow::CreateHtmlPage);
  add("Delete all", &MidiPlaylistWindow::DeleteAll);
  buttons->AddStretchSpacer();
  for (int id : {wxID_CLOSE, wxID_OK, wxID_CANCEL}) {
    auto* button = new wxButton(this, id);
    button->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Hide(); });
    buttons->Add(button, 0, wxEXPAND | wxALL, 3);
  }
  top->Add(buttons, 0, wxEXPAND | wxALL, 3);
  SetSizerAndFit(top);
  // Closing the window hides it: the frame keeps it for the next time.
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& e) {
    if (e.CanVeto()) {
      e.Veto();
      Hide();
    } else {
      e.Skip();
    }
  });
  listBox_->Bind(wxEVT_LISTBOX, [this](wxCommandEvent& e) { list_.selected = e.GetSelection(); });
}

void MidiPlaylistWindow::AddFile(const std::string& path) {
  list_.AddFile(path);
  TransferDataToWindow();
}

bool MidiPlaylistWindow::TransferDataToWindow() {
  listBox_->Clear();
  for (const std::string& file : list_.Files()) listBox_->Append(wxString::FromUTF8(file.c_str()));
  if (list_.SelectedFile() != nullptr) listBox_->SetSelection(list_.selected);
  return true;
}

void MidiPlaylistWindow::PlayFile() { list_.PlayFile(); }

void MidiPlaylistWindow::PlayAll() { list_.PlayAll(Call(owner_.playerCommand), Call(owner_.documentFolder)); }

void MidiPlaylistWindow::ZipBundle() { list_.ZipBundle(Call(owner_.documentFolder)); }

void MidiPlaylistWindow::CreateHtmlPage() {
  CMidiPlaylist::CreateHtmlPage(owner_.htmlExport ? owner_.htmlExport() : std::function<bool()>());
}

void MidiPlaylistWindow::DeleteAll() {
  list_.DeleteAll();
  TransferDataToWindow();
}

}  // namespace vornel
