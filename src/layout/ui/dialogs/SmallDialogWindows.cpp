#include "layout/ui/dialogs/SmallDialogWindows.h"

#include <wx/radiobut.h>

#include <algorithm>

namespace vornel {

namespace {

wxString Utf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }

wxTextCtrl* Echo(wxWindow* parent, int id) {
  return new wxTextCtrl(parent, id, wxEmptyString, wxDefaultPosition, wxSize(60, -1), wxTE_READONLY);
}

}  // namespace

NumberPromptDialog::NumberPromptDialog(wxWindow* parent, CTempoDlg& fields, const wxString& prompt)
    : StructDialog(parent, Utf8(fields.caption), fields) {
  value_ = new wxTextCtrl(this, kValue);
  grid_->Add(new wxStaticText(this, wxID_ANY, prompt.empty() ? wxString("Value:") : prompt), 0,
             wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid_->Add(value_, 0, wxEXPAND | wxALL, 3);
  slider_ = new wxSlider(this, kSlider, fields.minimum, fields.minimum, std::max(fields.maximum, fields.minimum),
                         wxDefaultPosition, wxSize(240, -1));
  grid_->AddSpacer(1);
  grid_->Add(slider_, 0, wxEXPAND | wxALL, 3);
  controls_.Exchange([this] { value_->ChangeValue(std::to_string(working_.value)); },
                     [this] {
                       long number = 0;
                       // Text that is not a number falls outside every range and keeps the prompt open.
                       working_.value = value_->GetValue().Trim().Trim(false).ToLong(&number)
                                            ? static_cast<int>(std::clamp<long>(number, INT32_MIN + 1L, INT32_MAX))
                                            : working_.minimum - 1;
                     });
  slider_->Bind(wxEVT_SLIDER, [this](wxCommandEvent&) {
    working_.value = slider_->GetValue();
    value_->ChangeValue(std::to_string(working_.value));
  });
  FinishLayout();
}

void NumberPromptDialog::UpdateControls() {
  slider_->SetRange(working_.minimum, std::max(working_.maximum, working_.minimum));
  slider_->SetValue(std::clamp(working_.value, working_.minimum, std::max(working_.maximum, working_.minimum)));
}

TransposeDialog::TransposeDialog(wxWindow* parent, CTransposeDlg& fields) : StructDialog(parent, "Transpose", fields) {
  controls_.Number(kHalfSteps, "Half steps:", -12, 12, working_.halfSteps);
  controls_.Check(kAdjustFingerings, "Adjust tablature fingerings", working_.adjustFingerings);
  FinishLayout();
}

OctaveDialog::OctaveDialog(wxWindow* parent, COctaveDlg& fields)
    : StructDialog(parent, "Transpose notes by one octave", fields) {
  auto* above = new wxRadioButton(this, kAbove, "above", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
  auto* below = new wxRadioButton(this, kBelow, "below");
  grid_->Add(above, 0, wxALL, 3);
  grid_->Add(below, 0, wxALL, 3);
  controls_.Exchange(
      [this, above, below] {
        above->SetValue(working_.direction == 0);
        below->SetValue(working_.direction != 0);
      },
      [this, below] { working_.direction = below->GetValue() ? 1 : 0; });
  limit_ = controls_.Number(kLimit, "Limit pitch:", 8, 127, working_.limitPitch);
  name_ = new wxTextCtrl(this, kName, wxEmptyString, wxDefaultPosition, wxSize(60, -1), wxTE_READONLY);
  grid_->Add(new wxStaticText(this, wxID_ANY, "Note:"), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
  grid_->Add(name_, 0, wxALL, 3);
  limit_->Bind(wxEVT_SPINCTRL, [this](wxSpinEvent&) {
    working_.limitPitch = limit_->GetValue();
    UpdateControls();
  });
  FinishLayout();
}

// The name follows the limit from the moment the dialog opens.
void OctaveDialog::UpdateControls() { name_->ChangeValue(Utf8(working_.NoteName())); }

BarRangeDialog::BarRangeDialog(wxWindow* parent, CBarRangeDlg& fields)
    : StructDialog(parent, Utf8(fields.caption), fields) {
  working_.Open();
  const int count = std::max(working_.barCount, 1);
  auto row = [this, count](int editId, int sliderId, const wxString& label, wxTextCtrl*& edit, wxSlider*& slider) {
    auto* cells = new wxBoxSizer(wxHORIZONTAL);
    edit = Echo(this, editId);
    slider = new wxSlider(this, sliderId, 1, 1, std::max(count, 2), wxDefaultPosition, wxSize(220, -1),
                          wxSL_HORIZONTAL | wxSL_AUTOTICKS);
    slider->SetTickFreq(std::max(working_.TickFrequency(), 1));
    cells->Add(edit, 0, wxRIGHT, 6);
    cells->Add(slider, 1, wxEXPAND);
    grid_->Add(new wxStaticText(this, wxID_ANY, label), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    grid_->Add(cells, 0, wxEXPAND | wxALL, 3);
  };
  row(kBegin, kBeginSlider, "From:", begin_, beginSlider_);
  row(kEnd, kEndSlider, "To:", end_, endSlider_);
  beginSlider_->SetRange(1, count);
  endSlider_->SetRange(1, count);
  const auto scrolled = [this](wxCommandEvent&) {
    working_.begin = beginSlider_->GetValue();
    working_.end = endSlider_->GetValue();
    begin_->ChangeValue(std::to_string(working_.begin));
    end_->ChangeValue(std::to_string(working_.end));
  };
  beginSlider_->Bind(wxEVT_SLIDER, scrolled);
  endSlider_->Bind(wxEVT_SLIDER, scrolled);
  beginSlider_->Bind(wxEVT_SCROLL_THUMBRELEASE, [this](wxScrollEvent&) { ReleaseBegin(); });
  endSlider_->Bind(wxEVT_SCROLL_THUMBRELEASE, [this](wxScrollEvent&) { ReleaseEnd(); });
  controls_.Exchange([] {}, [this] {
    working_.begin = beginSlider_->GetValue();
    working_.end = endSlider_->GetValue();
  });
  FinishLayout();
}

void BarRangeDialog::ReleaseBegin() {
  working_.begin = beginSlider_->GetValue();
  working_.ReleaseBegin();
  UpdateControls();
}

void BarRangeDialog::ReleaseEnd() {
  working_.end = endSlider_->GetValue();
  working_.ReleaseEnd();
  UpdateControls();
}

void BarRangeDialog::UpdateControls() {
  beginSlider_->SetValue(working_.begin);
  endSlider_->SetValue(working_.end);
  begin_->ChangeValue(std::to_string(working_.begin));
  end_->ChangeValue(std::to_string(working_.end));
}

TransformationsDialog::TransformationsDialog(wxWindow* parent, COperationDlg& fields)
    : StructDialog(parent, "Chord transformations", fields) {
  for (size_t r = 0; r < rows_.size(); ++r) {
    const RowIds& ids = kRowIds[r];
    RowControls& row = rows_[r];
    row.operation = new wxChoice(this, ids.operation);
    for (std::string_view name : COperationDlg::kOperations) row.operation->Append(Utf8(name));
    auto* cells = new wxBoxSizer(wxHORIZONTAL);
    row.operand = new wxSpinCtrl(this, ids.operand, wxEmptyString, wxDefaultPosition, wxSize(130, -1),
                                 wxSP_ARROW_KEYS, -12, 12, 0);
    row.preserve = new wxCheckBox(this, ids.preserve, "Preserve");
    cells->Add(row.operand, 0, wxRIGHT, 6);
    cells->Add(row.preserve, 0, wxALIGN_CENTER_VERTICAL);
    grid_->Add(row.operation, 0, wxEXPAND | wxALL, 3);
    grid_->Add(cells, 0, wxALL, 3);
    row.operation->Bind(wxEVT_CHOICE, [this, r](wxCommandEvent&) {
      controls_.FromWindow();
      working_.ChooseOperation(r, rows_[r].operation->GetSelection());
      UpdateControls();
    });
    controls_.Exchange(
        [this, r] {
          const COperationDlg::Row& data = working_.rows[r];
          rows_[r].operation->SetSelection(data.operation);
          rows_[r].operand->SetValue(data.operand);
          rows_[r].preserve->SetValue(data.preserve);
        },
        [this, r] {
          COperationDlg::Row& data = working_.rows[r];
          data.operation = std::max(rows_[r].operation->GetSelection(), 0);
          data.operand = rows_[r].operand->GetValue();
          data.preserve = rows_[r].preserve->GetValue();
        });
  }
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* stack = new wxButton(this, kStackAndResolve, "Stack and Resolve >>");
  auto* clear = new wxButton(this, kClearAll, "Clear all");
  buttons->Add(stack, 0, wxRIGHT, 6);
  buttons->Add(clear, 0);
  grid_->AddSpacer(1);
  grid_->Add(buttons, 0, wxALL, 3);
  stack->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { StackAndResolve(); });
  clear->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ClearAll(); });
  FinishLayout();
}

void TransformationsDialog::StackAndResolve() {
  controls_.FromWindow();
  working_.StackAndResolve();
  controls_.ToWindow();
  UpdateControls();
}

void TransformationsDialog::ClearAll() {
  working_.ClearAll();
  controls_.ToWindow();
  UpdateControls();
}

void TransformationsDialog::UpdateControls() {
  for (size_t r = 0; r < rows_.size(); ++r) {
    const COperationDlg::Row& data = working_.rows[r];
    rows_[r].operand->SetRange(data.minimum, data.maximum);
    rows_[r].operand->SetValue(data.operand);
    rows_[r].operation->SetSelection(data.operation);
    rows_[r].preserve->SetValue(data.preserve);
  }
}

SlurControlDialog::SlurControlDialog(wxWindow* parent, CSlurControlDlg& fields)
    : StructDialog(parent, "Slur control", fields) {
  steps_ = controls_.Slider(kSteps, "Horizontal intervals:", 1, 8, working_.steps);
  grid_->AddSpacer(1);
  stepsEcho_ = Echo(this, kStepsEcho);
  grid_->Add(stepsEcho_, 0, wxALL, 3);
  position_ = controls_.Slider(kPosition, "Vertical intervals:", 0, 14, working_.position);
  grid_->AddSpacer(1);
  positionEcho_ = Echo(this, kPositionEcho);
  grid_->Add(positionEcho_, 0, wxALL, 3);
  controls_.Check(kAbove, "Slur above notes", working_.above);
  controls_.Check(kDownwards, "Downwards direction", working_.downwards);
  controls_.Choice(kType, "Type:", CSlurControlDlg::kTypes, working_.type);
  const auto scrolled = [this](wxCommandEvent&) {
    working_.steps = steps_->GetValue();
    working_.position = position_->GetValue();
    UpdateControls();
  };
  steps_->Bind(wxEVT_SLIDER, scrolled);
  position_->Bind(wxEVT_SLIDER, scrolled);
  FinishLayout();
}

void SlurControlDialog::UpdateControls() {
  stepsEcho_->ChangeValue(std::to_string(working_.steps));
  positionEcho_->ChangeValue(std::to_string(working_.PositionEcho()));
}

std::optional<long> DialogNumberPrompts::PromptNumber(std::string_view caption, std::string_view prompt, long minimum,
                                                      long maximum, long value) {
  if (minimum > maximum) std::swap(minimum, maximum);
  CTempoDlg fields;
  fields.caption = std::string(caption);
  fields.minimum = static_cast<int>(std::clamp<long>(minimum, INT32_MIN + 1L, INT32_MAX));
  fields.maximum = static_cast<int>(std::clamp<long>(maximum, fields.minimum, INT32_MAX));
  fields.value = static_cast<int>(std::clamp<long>(value, fields.minimum, fields.maximum));
  NumberPromptDialog dialog(parent_, fields, Utf8(prompt));
  if (dialog.ShowModal() != wxID_OK) return std::nullopt;
  return std::clamp<long>(fields.value, minimum, maximum);
}

bool WxSmallDialogs::Octave(COctaveDlg& dialog) { return ShowStructDialog<OctaveDialog>(parent_, dialog); }

bool WxSmallDialogs::BarRange(CBarRangeDlg& dialog) {
  dialog.Open();
  return ShowStructDialog<BarRangeDialog>(parent_, dialog);
}

}  // namespace vornel
