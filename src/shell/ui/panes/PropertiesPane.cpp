#include "shell/ui/panes/PropertiesPane.h"

#include <wx/propgrid/advprops.h>
#include <wx/propgrid/props.h>
#include <wx/sizer.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <vector>

#include "document/CBriotabDoc.h"
#include "platform/UserPrompts.h"
#include "shell/commands/DocumentLibraryCommands.h"
#include "shell/ui/panes/PaneTools.h"

namespace vornel {

using properties::PropertyKind;
using properties::PropertyRow;
using properties::PropertyValue;

namespace {

constexpr int kPropertiesTools[] = {153, 33297, 33294, 33412, 34120, 151, 154};
constexpr int kViewDocumentSettings = 33059;

wxString Utf8(std::string_view text) { return wxString::FromUTF8(text.data(), text.size()); }
std::string Text(const wxString& text) { return std::string(text.utf8_str()); }

// A font of the grid from a stored logical font: the height is the em in pixels.
wxFont ToFont(const LogFont& f) {
  wxFontInfo info(wxSize(0, std::max(1, std::abs(f.lfHeight))));
  info.FaceName(Utf8(f.lfFaceName)).Italic(f.lfItalic != 0).Underlined(f.lfUnderline != 0).Strikethrough(f.lfStrikeOut != 0);
  wxFont font(info);
  if (f.lfWeight > 0) font.SetNumericWeight(std::clamp(f.lfWeight, 1, 1000));
  return font;
}

LogFont FromFont(const wxFont& font, LogFont base) {
  base.lfFaceName = Text(font.GetFaceName());
  const int pixels = font.GetPixelSize().y;
  base.lfHeight = -(pixels > 0 ? pixels : std::max(1, font.GetPointSize() * 96 / 72));
  base.lfWeight = font.GetNumericWeight();
  base.lfItalic = font.GetStyle() == wxFONTSTYLE_NORMAL ? 0 : 1;
  base.lfUnderline = font.GetUnderlined() ? 1 : 0;
  base.lfStrikeOut = font.GetStrikethrough() ? 1 : 0;
  return base;
}

// "Family": its button opens the instrument sheet of the definition.
class InstrumentFamilyProperty : public wxEditorDialogProperty {
 public:
  InstrumentFamilyProperty(const wxString& value, std::function<bool(wxString&)> edit)
      : wxEditorDialogProperty("Family", wxPG_LABEL), edit_(std::move(edit)) {
    SetValue(value);
    SetHelpString("Edit instrument definition");
  }
  wxString ValueToString(wxVariant& value, int) const override { return value.GetString(); }
  bool StringToValue(wxVariant& variant, const wxString& text, int) const override {
    variant = text;
    return true;
  }

 protected:
  bool DisplayEditorDialog(wxPropertyGrid*, wxVariant& value) override {
    wxString family = value.GetString();
    bool edited = false;
    RunGuarded([&] { edited = edit_(family); });
    if (!edited) return false;
    value = family;
    return true;
  }

 private:
  std::function<bool(wxString&)> edit_;
};

}  // namespace

PropertiesPane::PropertiesPane(wxWindow* parent, std::function<void(int)> send, std::function<void()> layoutReset)
    : wxPanel(parent, wxID_ANY), send_(std::move(send)), layoutReset_(std::move(layoutReset)) {
  SetName("Properties");
  static const bool registered = [] {
    wxPropertyGrid::RegisterAdditionalEditors();
    return true;
  }();
  (void)registered;
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  combo_ = new wxChoice(this, 994);
  combo_->Append("Current Document");
  combo_->Append("Current Section");
  combo_->Append("Current Instruments");
  combo_->SetSelection(1);
  combo_->Bind(wxEVT_CHOICE, [this](wxCommandEvent& event) { ShowGroupsOf(event.GetSelection()); });
  sizer->Add(combo_, 0, wxEXPAND);
  toolBar_ = MakeCommandToolBar(this, kPropertiesTools, [this](int command) { OnTool(command); });
  sizer->Add(toolBar_, 0, wxEXPAND);
  manager_ = new wxPropertyGridManager(this, 2, wxDefaultPosition, wxSize(240, 400),
                                       wxPG_DESCRIPTION | wxPG_BOLD_MODIFIED | wxPG_SPLITTER_AUTO_CENTER);
  grid_ = manager_->GetGrid();
  // The names are the longer texts: they take three fifths of a narrow pane.
  grid_->SetColumnProportion(0, 3);
  grid_->SetColumnProportion(1, 2);
  grid_->SetCellBackgroundColour(wxColour(228, 243, 254));
  grid_->SetCellTextColour(wxColour(46, 70, 165));
  grid_->SetCaptionBackgroundColour(wxColour(200, 206, 239));
  grid_->SetCaptionTextColour(wxColour(33, 102, 49));
  grid_->SetLineColour(wxColour(159, 159, 159));
  grid_->SetMarginColour(wxColour(200, 206, 239));
  manager_->SetBackgroundColour(wxColour(200, 229, 216));
  manager_->SetForegroundColour(wxColour(128, 0, 0));
  sizer->Add(manager_, 1, wxEXPAND);
  SetSizer(sizer);
  InitPropList();
  grid_->Bind(wxEVT_PG_CHANGED, &PropertiesPane::OnPropertyChanged, this);
  UpdatePropList(nullptr, nullptr);
}

void PropertiesPane::InitPropList() {
  for (const PropertyRow& row : properties::PropertyTable()) {
    const wxString name = Utf8(row.name);
    wxPGProperty* property = nullptr;
    switch (row.kind) {
      case PropertyKind::kGroup:
        property = new wxPropertyCategory(name, wxString::Format("group%d", row.number));
        break;
      case PropertyKind::kText:
        if (row.options.empty()) {
          property = new wxStringProperty(name, wxPG_LABEL, Utf8(row.initial));
        } else {
          wxArrayString options;
          for (std::string_view option : row.options) options.Add(Utf8(option));
          property = new wxEditEnumProperty(name, wxPG_LABEL, options, wxArrayInt(), Utf8(row.initial));
        }
        break;
      case PropertyKind::kInteger:
        property = new wxIntProperty(name, wxPG_LABEL, 0);
        property->SetEditor(wxPGEditor_SpinCtrl);
        property->SetAttribute(wxPG_ATTR_MIN, row.minimum);
        property->SetAttribute(wxPG_ATTR_MAX, row.maximum);
        break;
      case PropertyKind::kCheck:
        property = new wxBoolProperty(name, wxPG_LABEL, row.initial == "1");
        property->SetAttribute(wxPG_BOOL_USE_CHECKBOX, true);
        break;
      case PropertyKind::kFont:
        property = new wxFontProperty(name, wxPG_LABEL, wxFont(wxFontInfo(12).FaceName(Utf8(row.initial))));
        break;
    }
    if (row.kind != PropertyKind::kGroup) property->SetHelpString(Utf8(row.description));
    if (row.parent < 0) {
      grid_->Append(property);
    } else {
      grid_->AppendIn(properties_.at(row.parent), property);
    }
    properties_[row.number] = property;
    numbers_[property] = row.number;
  }
}

wxPGProperty* PropertiesPane::Property(int number) const {
  const auto it = properties_.find(number);
  return it == properties_.end() ? nullptr : it->second;
}

void PropertiesPane::UpdatePropList(CBriotabDoc* document, CSystemArray* section) {
  filling_ = true;
  if (document == nullptr || section == nullptr) {
    grid_->ClearModifiedStatus();
    grid_->ClearSelection(false);
    model_.Show(nullptr, nullptr);
    FillInstruments();
    grid_->Enable(false);
    combo_->Enable(false);
    filling_ = false;
    return;
  }
  grid_->Enable(true);
  combo_->Enable(true);
  model_.Show(document, section);
  for (const PropertyRow& row : properties::PropertyTable()) {
    const std::optional<PropertyValue> value = model_.Value(row.number);
    wxPGProperty* property = Property(row.number);
    if (!value || property == nullptr) continue;
    switch (row.kind) {
      case PropertyKind::kText:
        property->SetValue(Utf8(value->text));
        break;
      case PropertyKind::kInteger:
        property->SetValue(static_cast<long>(value->number));
        break;
      case PropertyKind::kCheck:
        property->SetValue(value->number != 0);
        break;
      case PropertyKind::kFont: {
        wxVariant font;
        font << ToFont(value->font);
        property->SetValue(font);
        break;
      }
      case PropertyKind::kGroup:
        break;
    }
  }
  FillInstruments();
  if (wxPGProperty* instruments = Property(properties::kInstrumentsGroup)) grid_->Collapse(instruments);
  grid_->ClearModifiedStatus();
  grid_->Refresh();
  filling_ = false;
}

void PropertiesPane::FillInstruments() {
  wxPGProperty* instruments = Property(properties::kInstrumentsGroup);
  if (instruments == nullptr) return;
  // Everything under "Instruments" goes, and with it the numbers the grid knew it by.
  std::vector<wxPGProperty*> gone;
  std::function<void(wxPGProperty*)> collect = [&](wxPGProperty* parent) {
    for (unsigned i = 0; i < parent->GetChildCount(); ++i) {
      gone.push_back(parent->Item(i));
      collect(parent->Item(i));
    }
  };
  collect(instruments);
  for (wxPGProperty* property : gone) numbers_.erase(property);
  for (auto it = properties_.begin(); it != properties_.end();) {
    it = it->first >= properties::kFirstInstrumentGroup ? properties_.erase(it) : std::next(it);
  }
  instruments->DeleteChildren();
  for (const properties::InstrumentGroup& group : model_.Instruments()) {
    auto* category = new wxPropertyCategory(Utf8(group.name), wxString::Format("instrument%d", group.number));
    grid_->AppendIn(instruments, category);
    properties_[group.number] = category;
    numbers_[category] = group.number;
    const size_t index = static_cast<size_t>(group.number - properties::kFirstInstrumentGroup);
    auto* family = new InstrumentFamilyProperty(Utf8(group.family), [this, index](wxString& value) {
      if (!model_.EditInstrument(index)) return false;
      const auto groups = model_.Instruments();
      if (index < groups.size()) value = Utf8(groups[index].family);
      return true;
    });
    family->SetName(wxString::Format("family%d", group.number));
    grid_->AppendIn(category, family);
    numbers_[family] = properties::kFamilyProperty;
    if (group.visibleNumber) {
      auto* visible = new wxBoolProperty("Visible", wxString::Format("visible%d", *group.visibleNumber), group.visible);
      visible->SetAttribute(wxPG_BOOL_USE_CHECKBOX, true);
      visible->SetHelpString(wxString::Format("Show/hide instrument: %s", Utf8(group.name)));
      grid_->AppendIn(category, visible);
      properties_[*group.visibleNumber] = visible;
      numbers_[visible] = *group.visibleNumber;
    }
  }
}

void PropertiesPane::StoreFromGrid(wxPGProperty* property) {
  const auto found = numbers_.find(property);
  if (found == numbers_.end()) return;
  const int number = found->second;
  const PropertyRow* row = properties::FindProperty(number);
  PropertyValue value;
  const wxVariant variant = property->GetValue();
  if (number >= properties::kFirstVisibleCheck) {
    value.number = variant.GetBool() ? 1 : 0;
  } else if (row != nullptr && row->kind == PropertyKind::kFont) {
    wxFont font;
    font << variant;
    const std::optional<PropertyValue> shown = model_.Value(number);
    value.font = FromFont(font, shown ? shown->font : LogFont{});
  } else if (row != nullptr && row->kind == PropertyKind::kCheck) {
    value.number = variant.GetBool() ? 1 : 0;
  } else if (row != nullptr && row->kind == PropertyKind::kInteger) {
    value.number = static_cast<int32_t>(variant.GetLong());
  } else {
    value.text = Text(property->GetValueAsString());
  }
  switch (model_.Store(number, value)) {
    case properties::StoreEffect::kLayoutReset:
      if (layoutReset_) layoutReset_();
      break;
    case properties::StoreEffect::kSectionLayout:
      if (send_) send_(kRefreshDocument);
      break;
    case properties::StoreEffect::kNothing:
      break;
  }
}

void PropertiesPane::OnPropertyChanged(wxPropertyGridEvent& event) {
  if (filling_ || !model_.Showing()) return;
  RunGuarded([&] { StoreFromGrid(event.GetProperty()); });
}

void PropertiesPane::ShowGroupsOf(int index) {
  if (grid_->HasFlag(wxPG_HIDE_CATEGORIES)) grid_->SetWindowStyleFlag(grid_->GetWindowStyleFlag() & ~wxPG_HIDE_CATEGORIES);
  grid_->CollapseAll();
  const int group = index == 0 ? properties::kDocumentGroup
                    : index == 1 ? properties::kSectionGroup
                                 : properties::kInstrumentsGroup;
  if (wxPGProperty* top = Property(group)) {
    for (unsigned i = 0; i < top->GetChildCount(); ++i) grid_->Expand(top->Item(i));
    grid_->Expand(top);
  }
  grid_->Refresh();
}

void PropertiesPane::OnTool(int command) {
  switch (command) {
    case 154:
      expanded_ = !expanded_;
      if (expanded_) {
        grid_->ExpandAll();
      } else {
        grid_->CollapseAll();
      }
      break;
    case 151: {
      const bool alphabetic = !grid_->HasFlag(wxPG_HIDE_CATEGORIES);
      long style = grid_->GetWindowStyleFlag();
      grid_->SetWindowStyleFlag(alphabetic ? (style | wxPG_HIDE_CATEGORIES) : (style & ~wxPG_HIDE_CATEGORIES));
      if (alphabetic) grid_->Sort();
      toolBar_->ToggleTool(151, alphabetic);
      break;
    }
    case 153:
      if (send_) send_(kViewDocumentSettings);
      break;
    default:
      if (send_) send_(command);
      break;
  }
}

}  // namespace vornel
