#include "layout/ui/TabPropertiesDialog.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

namespace vornel {

namespace {

struct CheckMember {
  int id;
  const char* label;
  int32_t CTabProperties::*member;
};

constexpr CheckMember kChecks[] = {
    {TabPropertiesDialog::kBaroqueStyle, "Baroque style", &CTabProperties::baroqueStyle},
    {TabPropertiesDialog::kLandscape, "Landscape orientation", &CTabProperties::landscapeOrientation},
    {TabPropertiesDialog::kForcePageBreaks, "Force page breaks", &CTabProperties::forcePageBreaks},
    {TabPropertiesDialog::kBarNumbers, "Bar numbers", &CTabProperties::barNumbers},
    {TabPropertiesDialog::kPrintOnLines, "Print on lines", &CTabProperties::printOnLines},
    {TabPropertiesDialog::kItalianMode, "Italian tablature mode", &CTabProperties::italianTablatureMode},
    {TabPropertiesDialog::kExportAllSections, "Export all sections", &CTabProperties::exportAllSections},
};

struct ChoiceMember {
  int id;
  const char* label;
  int32_t CTabProperties::*member;
};

constexpr ChoiceMember kChoices[] = {
    {TabPropertiesDialog::kFlags, "Flags", &CTabProperties::flags},
    {TabPropertiesDialog::kStaveLines, "Stave lines", &CTabProperties::staveLines},
    {TabPropertiesDialog::kStyles, "Styles", &CTabProperties::styles},
    {TabPropertiesDialog::kFontSize, "Font size", &CTabProperties::fontSize},
};

}  // namespace

TabPropertiesDialog::TabPropertiesDialog(wxWindow* parent, CTabProperties& options)
    : wxDialog(parent, CTabProperties::kDialogId, wxString::FromUTF8(CTabProperties::kCaption.data(),
                                                                       CTabProperties::kCaption.size())),
      options_(options) {
  auto* lists = new wxFlexGridSizer(2, wxSize(8, 6));
  const struct {
    int id;
    const std::string_view* entries;
    size_t count;
  } entries[] = {{kFlags, CTabProperties::kFlagEntries.data(), CTabProperties::kFlagEntries.size()},
                 {kStaveLines, CTabProperties::kStaveLineEntries.data(), CTabProperties::kStaveLineEntries.size()},
                 {kStyles, CTabProperties::kStyleEntries.data(), CTabProperties::kStyleEntries.size()},
                 {kFontSize, CTabProperties::kFontSizeEntries.data(), CTabProperties::kFontSizeEntries.size()}};
  for (size_t i = 0; i < std::size(kChoices); ++i) {
    lists->Add(new wxStaticText(this, wxID_ANY, kChoices[i].label), 0, wxALIGN_CENTER_VERTICAL);
    lists->Add(AddChoice(this, entries[i].id, entries[i].entries, entries[i].count), 1, wxEXPAND);
  }

  auto* checks = new wxBoxSizer(wxVERTICAL);
  for (const CheckMember& check : kChecks) checks->Add(AddCheck(this, check.id, check.label), 0, wxBOTTOM, 4);

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(lists, 0, wxALL, 10);
  body->Add(checks, 0, wxALL, 10);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body);
  top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
  SetSizerAndFit(top);
}

wxCheckBox* TabPropertiesDialog::AddCheck(wxWindow* parent, int id, const char* label) {
  return new wxCheckBox(parent, id, label);
}

wxChoice* TabPropertiesDialog::AddChoice(wxWindow* parent, int id, const std::string_view* entries, size_t count) {
  auto* choice = new wxChoice(parent, id);
  for (size_t i = 0; i < count; ++i) choice->Append(wxString::FromUTF8(entries[i].data(), entries[i].size()));
  return choice;
}

bool TabPropertiesDialog::TransferDataToWindow() {
  for (const CheckMember& check : kChecks) {
    static_cast<wxCheckBox*>(FindWindow(check.id))->SetValue(options_.*check.member != 0);
  }
  for (const ChoiceMember& list : kChoices) {
    auto* choice = static_cast<wxChoice*>(FindWindow(list.id));
    const int32_t value = options_.*list.member;
    choice->SetSelection(value >= 0 && static_cast<unsigned>(value) < choice->GetCount() ? value : 0);
  }
  FindWindow(kExportAllSections)->Disable();
  return true;
}

bool TabPropertiesDialog::TransferDataFromWindow() {
  for (const CheckMember& check : kChecks) {
    options_.*check.member = static_cast<wxCheckBox*>(FindWindow(check.id))->GetValue() ? 1 : 0;
  }
  for (const ChoiceMember& list : kChoices) {
    const int selection = static_cast<wxChoice*>(FindWindow(list.id))->GetSelection();
    options_.*list.member = selection == wxNOT_FOUND ? 0 : selection;
  }
  FindWindow(kExportAllSections)->Disable();
  return true;
}

}  // namespace vornel
