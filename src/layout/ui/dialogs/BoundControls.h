#pragma once
// Controls with the dialog ids of their fields, each bound to a field of the dialog's struct:
// ToWindow and FromWindow exchange every bound field at once. Labels and controls are laid out
// in a two-column grid.

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

class BoundControls {
 public:
  BoundControls(wxWindow* parent, wxFlexGridSizer* grid) : parent_(parent), grid_(grid) {}

  wxTextCtrl* Text(int id, const wxString& label, std::string& field, long style = 0) {
    auto* edit = new wxTextCtrl(parent_, id, wxEmptyString, wxDefaultPosition, wxSize(220, -1), style);
    Row(label, edit);
    Bind([edit, &field] { edit->ChangeValue(wxString::FromUTF8(field)); },
         [edit, &field] { field = edit->GetValue().utf8_string(); });
    return edit;
  }

  // A text with buttons beside it ("...", "Global"): each calls its action.
  struct SideButton {
    int id;
    wxString label;
    std::function<void()> press;
  };
  wxTextCtrl* TextWithButtons(int id, const wxString& label, std::string& field, std::vector<SideButton> buttons,
                              long style = 0) {
    auto* edit = new wxTextCtrl(parent_, id, wxEmptyString, wxDefaultPosition, wxSize(220, -1), style);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(edit, 1, wxEXPAND);
    for (SideButton& button : buttons) {
      auto* control = new wxButton(parent_, button.id, button.label, wxDefaultPosition, wxDefaultSize, wxBU_EXACTFIT);
      control->Enable(static_cast<bool>(button.press));
      control->Bind(wxEVT_BUTTON, [press = std::move(button.press)](wxCommandEvent&) {
        if (press) press();
      });
      row->Add(control, 0, wxLEFT, 3);
    }
    grid_->Add(new wxStaticText(parent_, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid_->Add(row, 0, wxEXPAND | wxALL, 3);
    Bind([edit, &field] { edit->ChangeValue(wxString::FromUTF8(field)); },
         [edit, &field] { field = edit->GetValue().utf8_string(); });
    return edit;
  }

  // A spin box; its range is the control's, the struct's check gives the message.
  wxSpinCtrl* Number(int id, const wxString& label, int minimum, int maximum, int& field) {
    auto* spin = new wxSpinCtrl(parent_, id, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                minimum, maximum, minimum);
    Row(label, spin);
    Bind([spin, &field] { spin->SetValue(field); }, [spin, &field] { field = spin->GetValue(); });
    return spin;
  }

  wxSlider* Slider(int id, const wxString& label, int minimum, int maximum, int& field) {
    auto* slider = new wxSlider(parent_, id, minimum, minimum, maximum, wxDefaultPosition, wxSize(200, -1),
                                wxSL_HORIZONTAL | wxSL_LABELS);
    Row(label, slider);
    Bind([slider, &field] { slider->SetValue(field); }, [slider, &field] { field = slider->GetValue(); });
    return slider;
  }

  template <size_t N>
  wxChoice* Choice(int id, const wxString& label, const std::array<std::string_view, N>& entries, int& field) {
    auto* choice = new wxChoice(parent_, id);
    for (std::string_view e : entries) choice->Append(wxString::FromUTF8(e.data(), e.size()));
    Row(label, choice);
    Bind([choice, &field] { choice->SetSelection(field >= 0 && field < static_cast<int>(N) ? field : wxNOT_FOUND); },
         [choice, &field] { field = choice->GetSelection(); });
    return choice;
  }

  wxCheckBox* Check(int id, const wxString& label, bool& field) {
    auto* box = new wxCheckBox(parent_, id, label);
    grid_->AddSpacer(1);
    grid_->Add(box, 0, wxALL, 3);
    Bind([box, &field] { box->SetValue(field); }, [box, &field] { field = box->GetValue(); });
    return box;
  }

  // An exchange of the dialog's own: controls laid out by the dialog itself.
  void Exchange(std::function<void()> toWindow, std::function<void()> fromWindow) {
    Bind(std::move(toWindow), std::move(fromWindow));
  }

  void ToWindow() const {
    for (const auto& b : bindings_) b.first();
  }
  void FromWindow() const {
    for (const auto& b : bindings_) b.second();
  }

 private:
  void Row(const wxString& label, wxWindow* control) {
    grid_->Add(new wxStaticText(parent_, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid_->Add(control, 0, wxEXPAND | wxALL, 3);
  }
  void Bind(std::function<void()> toWindow, std::function<void()> fromWindow) {
    bindings_.emplace_back(std::move(toWindow), std::move(fromWindow));
  }

  wxWindow* parent_;
  wxFlexGridSizer* grid_;
  std::vector<std::pair<std::function<void()>, std::function<void()>>> bindings_;
};

}  // namespace vornel
