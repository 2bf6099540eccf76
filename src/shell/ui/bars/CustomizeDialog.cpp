#include "shell/ui/bars/CustomizeDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/listbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/ui/bars/ToolBarEx.h"

namespace vornel {

namespace {

wxString ButtonText(int id) {
  if (id == bars::kSeparator) return "Separator";
  const std::string label = bars::ToolbarButtonLabel(id);
  return wxString::FromUTF8(label.data(), label.size());
}

}  // namespace

CCustomizeDialog::CCustomizeDialog(wxWindow* parent, CToolBarEx& bar)
    : wxDialog(parent, wxID_ANY, "Customize Toolbar", wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      bar_(bar),
      customizer_(bar.Definition(), bar.State()) {
  auto* lists = new wxBoxSizer(wxHORIZONTAL);
  auto* left = new wxBoxSizer(wxVERTICAL);
  left->Add(new wxStaticText(this, wxID_ANY, "A&vailable toolbar buttons:"), 0, wxBOTTOM, 4);
  available_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(220, 260));
  left->Add(available_, 1, wxEXPAND);
  auto* middle = new wxBoxSizer(wxVERTICAL);
  auto* add = new wxButton(this, wxID_ANY, "&Add ->");
  auto* remove = new wxButton(this, wxID_ANY, "<- &Remove");
  middle->AddStretchSpacer();
  middle->Add(add, 0, wxEXPAND | wxBOTTOM, 4);
  middle->Add(remove, 0, wxEXPAND);
  middle->AddStretchSpacer();
  auto* right = new wxBoxSizer(wxVERTICAL);
  right->Add(new wxStaticText(this, wxID_ANY, "&Toolbar buttons:"), 0, wxBOTTOM, 4);
  current_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(220, 260));
  right->Add(current_, 1, wxEXPAND);
  auto* side = new wxBoxSizer(wxVERTICAL);
  auto* close = new wxButton(this, wxID_OK, "Close");
  auto* reset = new wxButton(this, wxID_ANY, "R&eset");
  auto* up = new wxButton(this, wxID_ANY, "Move &Up");
  auto* down = new wxButton(this, wxID_ANY, "Move &Down");
  for (wxButton* button : {close, reset, up, down}) side->Add(button, 0, wxEXPAND | wxBOTTOM, 4);
  lists->Add(left, 1, wxEXPAND | wxALL, 6);
  lists->Add(middle, 0, wxEXPAND | wxTOP | wxBOTTOM, 6);
  lists->Add(right, 1, wxEXPAND | wxALL, 6);
  lists->Add(side, 0, wxEXPAND | wxALL, 6);

  auto* options = new wxFlexGridSizer(2, 4, 8);
  textOptions_ = new wxChoice(this, 1000);
  for (const char* name : bars::kTextOptionNames) textOptions_->Append(name);
  iconOptions_ = new wxChoice(this, 1001);
  for (const char* name : bars::kIconOptionNames) iconOptions_->Append(name);
  options->Add(new wxStaticText(this, wxID_ANY, "Te&xt options:"), 0, wxALIGN_CENTER_VERTICAL);
  options->Add(textOptions_, 0, wxEXPAND);
  options->Add(new wxStaticText(this, wxID_ANY, "Ico&n options:"), 0, wxALIGN_CENTER_VERTICAL);
  options->Add(iconOptions_, 0, wxEXPAND);

  auto* all = new wxBoxSizer(wxVERTICAL);
  all->Add(lists, 1, wxEXPAND);
  all->Add(options, 0, wxALL, 8);
  SetSizerAndFit(all);

  add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    AddAvailable(available_->GetSelection(), current_->GetSelection() < 0 ? static_cast<int>(current_->GetCount())
                                                                          : current_->GetSelection());
  });
  remove->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { RemoveCurrent(current_->GetSelection()); });
  up->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { MoveCurrent(current_->GetSelection(), -1); });
  down->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { MoveCurrent(current_->GetSelection(), 1); });
  reset->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Reset(); });
  textOptions_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) {
    ChooseTextOption(static_cast<bars::TextOption>(event.GetSelection()));
  });
  iconOptions_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) {
    ChooseIconOption(static_cast<bars::IconOption>(event.GetSelection()));
  });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    Finish();
    event.Skip();
  });
  close->Bind(wxEVT_BUTTON, [this](wxCommandEvent& event) {
    Finish();
    event.Skip();
  });
  Fill();
}

void CCustomizeDialog::Fill() {
  available_->Clear();
  for (const int id : customizer_.Available()) available_->Append(ButtonText(id));
  const int selected = current_->GetSelection();
  current_->Clear();
  for (const int id : customizer_.State().buttons) current_->Append(ButtonText(id));
  if (selected >= 0 && selected < static_cast<int>(current_->GetCount())) current_->SetSelection(selected);
  textOptions_->SetSelection(static_cast<int>(customizer_.State().text));
  iconOptions_->SetSelection(static_cast<int>(customizer_.State().icons));
}

void CCustomizeDialog::ApplyButtons() {
  bar_.SetButtons(customizer_.State().buttons);
  if (onStateChanged) onStateChanged(bar_);
  Fill();
}

void CCustomizeDialog::AddAvailable(int available, int position) {
  const std::vector<int> ids = customizer_.Available();
  if (available < 0 || static_cast<size_t>(available) >= ids.size() || position < 0) return;
  if (customizer_.Add(ids[static_cast<size_t>(available)], static_cast<size_t>(position))) ApplyButtons();
}

void CCustomizeDialog::RemoveCurrent(int position) {
  if (position >= 0 && customizer_.Remove(static_cast<size_t>(position))) ApplyButtons();
}

void CCustomizeDialog::MoveCurrent(int position, int step) {
  if (position < 0 || !customizer_.Move(static_cast<size_t>(position), step)) return;
  current_->SetSelection(position + step);
  ApplyButtons();
}

void CCustomizeDialog::Reset() {
  customizer_.Reset();
  // The text option shows at once, like the buttons; the icon option waits for the close.
  bar_.SetTextOptions(customizer_.State().text);
  ApplyButtons();
}

void CCustomizeDialog::ChooseTextOption(bars::TextOption option) {
  customizer_.SetTextOption(option);
  bar_.SetTextOptions(option);
  if (onStateChanged) onStateChanged(bar_);
  Fill();
}

void CCustomizeDialog::ChooseIconOption(bars::IconOption option) {
  customizer_.SetIconOption(option);
  Fill();
}

void CCustomizeDialog::Finish() {
  if (finished_) return;
  finished_ = true;
  if (customizer_.State().icons != bar_.State().icons) bar_.SetIconOptions(customizer_.State().icons);
  if (onStateChanged) onStateChanged(bar_);
}

}  // namespace vornel
