#pragma once
// Controls bound to the fields of a dialog's struct: check boxes, number boxes and sliders
// with their number box, laid out as label and control. ToWindow and FromWindow exchange
// every bound field at once (the dialogs' TransferDataToWindow and TransferDataFromWindow).

#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>

#include <exception>
#include <functional>
#include <vector>

#include "platform/UserPrompts.h"

namespace vornel {

class DialogFields {
 public:
  // A check box for a flag field (bool or an integer switch).
  template <typename T>
  wxCheckBox* Check(wxWindow* parent, wxSizer* sizer, const wxString& label, T& field) {
    auto* box = new wxCheckBox(parent, wxID_ANY, label);
    box->SetName(label);
    sizer->Add(box, 0, wxALL, 3);
    bindings_.push_back({[box, &field] { box->SetValue(field != 0); },
                         [box, &field] { field = static_cast<T>(box->GetValue() ? 1 : 0); }});
    return box;
  }

  // A number box from `minimum` to `maximum` after its label, in a two-column grid.
  template <typename T>
  wxSpinCtrl* Number(wxWindow* parent, wxSizer* grid, const wxString& label, int minimum, int maximum, T& field) {
    grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    auto* spin = new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                minimum, maximum, minimum);
    spin->SetName(label);
    grid->Add(spin, 0, wxALL, 3);
    bindings_.push_back({[spin, &field] { spin->SetValue(static_cast<int>(field)); },
                         [spin, &field] { field = static_cast<T>(spin->GetValue()); }});
    return spin;
  }

  // A slider with a number box beside it that follows it, after its label, in a two-column grid.
  template <typename T>
  wxSlider* Slider(wxWindow* parent, wxSizer* grid, const wxString& label, int minimum, int maximum, T& field,
                   const wxString& unit = {}) {
    grid->Add(new wxStaticText(parent, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* slider = new wxSlider(parent, wxID_ANY, minimum, minimum, maximum);
    slider->SetName(label);
    auto* spin = new wxSpinCtrl(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS,
                                minimum, maximum, minimum);
    row->Add(slider, 1, wxEXPAND);
    row->Add(spin, 0, wxLEFT, 3);
    if (!unit.empty()) row->Add(new wxStaticText(parent, wxID_ANY, unit), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 3);
    grid->Add(row, 1, wxEXPAND | wxALL, 3);
    slider->Bind(wxEVT_SLIDER, [slider, spin](wxCommandEvent&) { spin->SetValue(slider->GetValue()); });
    spin->Bind(wxEVT_SPINCTRL, [slider, spin](wxSpinEvent&) { slider->SetValue(spin->GetValue()); });
    bindings_.push_back({[slider, spin, &field] {
                           slider->SetValue(static_cast<int>(field));
                           spin->SetValue(static_cast<int>(field));
                         },
                         [slider, &field] { field = static_cast<T>(slider->GetValue()); }});
    return slider;
  }

  void ToWindow() const {
    for (const auto& b : bindings_) b.toWindow();
  }
  void FromWindow() const {
    for (const auto& b : bindings_) b.fromWindow();
  }

 private:
  struct Binding {
    std::function<void()> toWindow;
    std::function<void()> fromWindow;
  };
  std::vector<Binding> bindings_;
};

}  // namespace vornel
