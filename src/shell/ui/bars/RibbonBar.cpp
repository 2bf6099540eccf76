#include "shell/ui/bars/RibbonBar.h"

#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/gallery.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/ribbon/toolbar.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>
#include <functional>
#include <utility>

#include "platform/ui/WxText.h"
#include "shell/bars/CommandIcons.h"
#include "shell/commands/CommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "shell/ui/bars/BarMenus.h"
#include "shell/ui/bars/CommandBitmaps.h"

namespace vornel {

namespace {

using bars::RibbonKind;

constexpr int kPanelIconSize = 16;
constexpr int kGalleryPictureSize = 24;
constexpr int kSliderWidth = 100;
// A column of plain controls holds three check boxes or two labelled sliders.
constexpr int kColumnRoom = 6;
// A panel measures its controls' room whenever it is laid out again, also while it is shown
// collapsed (its controls hidden) or has just taken them back from its pop-up: the hidden
// controls must count, or it takes itself for a panel of no room and is drawn squeezed, never
// collapsed again.
constexpr int kKeepRoom = wxRESERVE_SPACE_EVEN_IF_HIDDEN;

wxString Shown(std::string_view label) { return WxText(bars::DisplayLabel(label)); }

bool IsButtonBarKind(RibbonKind kind) {
  return kind == RibbonKind::kLargeButton || kind == RibbonKind::kButton || kind == RibbonKind::kRecentFiles ||
         kind == RibbonKind::kBottomButton;
}
// Buttons shown large and buttons shown with a small image go into bars of their own (one bar
// cannot lay the two kinds out together).
bool SameButtonBar(RibbonKind a, RibbonKind b) {
  return IsButtonBarKind(a) && IsButtonBarKind(b) && ((a == RibbonKind::kButton) == (b == RibbonKind::kButton));
}
bool IsControlKind(RibbonKind kind) {
  return kind == RibbonKind::kCheckBox || kind == RibbonKind::kLabel || kind == RibbonKind::kSlider;
}
int RoomOf(RibbonKind kind) { return kind == RibbonKind::kCheckBox ? 2 : kind == RibbonKind::kLabel ? 1 : 2; }

// The id a window of an element gets: its command, or one of its own.
int WindowIdOf(const bars::RibbonElement& element) { return element.id != 0 ? element.id : wxWindow::NewControlId(); }

// The place of a gallery's item, -1 for none.
int GalleryIndex(wxRibbonGallery& gallery, const wxRibbonGalleryItem* item) {
  for (unsigned int i = 0; item != nullptr && i < gallery.GetCount(); ++i) {
    if (gallery.GetItem(i) == item) return static_cast<int>(i);
  }
  return -1;
}

// The picture of an element: its command's, its menu's, or its first item's.
int PictureIdOf(const bars::RibbonElement& element) {
  if (element.id != 0) return element.id;
  if (element.menu != 0) return -element.menu;
  if (element.kind != RibbonKind::kButtonGroup && !element.items.empty()) return element.items.front().id;
  return 0;
}

// A gallery as wide as all its pictures side by side: on its own a gallery offers room for one
// and scrolls, and sets that size again each time the ribbon is realised.
class WideGallery : public wxRibbonGallery {
 public:
  using wxRibbonGallery::wxRibbonGallery;
  bool Realize() override {
    const bool realised = wxRibbonGallery::Realize();
    wxSize wide = GetMinSize();
    for (unsigned int i = 1; i < GetCount(); ++i) wide = GetNextLargerSize(wxHORIZONTAL, wide);
    SetMinSize(wide);
    return realised;
  }
};

// A page whose panels are built the first time it shows: most pages are never opened in a
// run, and building one costs its pictures and controls.
class LazyPage : public wxRibbonPage {
 public:
  LazyPage(wxRibbonBar* bar, const wxString& label, std::function<void(wxRibbonPage&)> build)
      : wxRibbonPage(bar, wxID_ANY, label), build_(std::move(build)) {}
  bool Show(bool show) override {
    if (show) Build();
    return wxRibbonPage::Show(show);
  }
  void Build() {
    if (!build_) return;
    auto build = std::move(build_);
    build_ = nullptr;
    build(*this);
  }

 private:
  std::function<void(wxRibbonPage&)> build_;
};

}  // namespace

CRibbonBar::CRibbonBar(wxWindow* parent, BarCommands& commands)
    : wxRibbonBar(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                  wxRIBBON_BAR_SHOW_PAGE_LABELS | wxRIBBON_BAR_SHOW_TOGGLE_BUTTON | wxRIBBON_BAR_SHOW_HELP_BUTTON |
                      wxRIBBON_BAR_FLOW_HORIZONTAL),
      commands_(commands) {
  Build();
  Bind(wxEVT_RIBBONBUTTONBAR_CLICKED, &CRibbonBar::OnButton, this);
  Bind(wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED, &CRibbonBar::OnButtonDropDown, this);
  Bind(wxEVT_RIBBONTOOLBAR_CLICKED, &CRibbonBar::OnTool, this);
  Bind(wxEVT_RIBBONGALLERY_SELECTED, &CRibbonBar::OnGallery, this);
  Bind(wxEVT_RIBBONGALLERY_HOVER_CHANGED, &CRibbonBar::OnGalleryHover, this);
  Bind(wxEVT_CHECKBOX, &CRibbonBar::OnControl, this);
  Bind(wxEVT_SLIDER, &CRibbonBar::OnSlider, this);
  Bind(wxEVT_UPDATE_UI, &CRibbonBar::OnUpdateUI, this);
  Bind(wxEVT_RIBBONBAR_HELP_CLICK, [this](wxRibbonBarEvent&) { commands_.Dispatch({commands::kHelp, {}, {}}); });
  Bind(wxEVT_RIBBONBAR_TOGGLED, [this](wxRibbonBarEvent&) {
    if (onPanelsToggled) onPanelsToggled();
  });
  Bind(wxEVT_RIBBONBAR_PAGE_CHANGED, [this](wxRibbonBarEvent& event) {
    RefreshSliders();
    event.Skip();
  });
}

void CRibbonBar::Build() {
  bool first = true;
  for (const bars::RibbonCategory& category : bars::RibbonCategories()) {
    if (first) {
      // The page shown at the start is built at once.
      auto* page = new wxRibbonPage(this, wxID_ANY, Shown(category.label));
      for (const bars::RibbonPanel& panel : category.panels) BuildPanel(page, category, panel);
      first = false;
      continue;
    }
    new LazyPage(this, Shown(category.label), [this, &category](wxRibbonPage& page) {
      for (const bars::RibbonPanel& panel : category.panels) BuildPanel(&page, category, panel);
      // Realising a page lays its panels out in the room it has and may raise the bar.
      Realize();
      if (onPageBuilt) onPageBuilt();
    });
  }
  Realize();
}

void CRibbonBar::BuildPanel(wxRibbonPage* page, const bars::RibbonCategory& category, const bars::RibbonPanel& panel) {
  const std::string panelLabel = panel.label == "(application menu)" ? category.label : panel.label;
  // A panel squeezed to its icon shows the picture of its first command.
  int firstPicture = 0;
  for (const bars::RibbonElement& element : panel.elements) {
    firstPicture = PictureIdOf(element);
    if (firstPicture == 0 && !element.items.empty()) firstPicture = element.items.front().id;
    if (firstPicture != 0) break;
  }
  const wxBitmap panelIcon = commands_.Picture(firstPicture, kPanelIconSize);
  auto* host = new wxRibbonPanel(page, wxID_ANY, Shown(panelLabel), panelIcon);
  auto* row = new wxBoxSizer(wxHORIZONTAL);

  wxRibbonButtonBar* buttons = nullptr;
  wxRibbonToolBar* tools = nullptr;
  wxBoxSizer* column = nullptr;
  int columnUsed = 0;
  const bars::RibbonElement* previous = nullptr;
  for (const bars::RibbonElement& element : panel.elements) {
    if (previous != nullptr && previous->kind != element.kind && !SameButtonBar(previous->kind, element.kind)) {
      buttons = nullptr;
      if (element.kind != RibbonKind::kButtonGroup) tools = nullptr;
      if (!IsControlKind(element.kind)) column = nullptr;
    }
    previous = &element;
    if (IsButtonBarKind(element.kind)) {
      if (buttons == nullptr) {
        buttons = new wxRibbonButtonBar(host);
        row->Add(buttons, 0, wxALIGN_CENTER_VERTICAL | kKeepRoom);
      }
      const int id = WindowIdOf(element);
      const int picture = element.kind == RibbonKind::kRecentFiles ? commands::kOpen : PictureIdOf(element);
      const std::string name = bars::DisplayLabel(element.label);
      const wxBitmap large = commands_.Picture(picture, category.largeImageSize);
      const wxBitmap small = commands_.Picture(picture, category.smallImageSize);
      const bool opens = !element.items.empty() || element.menu != 0 || element.kind == RibbonKind::kRecentFiles;
      const wxRibbonButtonKind kind = !opens           ? wxRIBBON_BUTTON_TOGGLE
                                      : element.id != 0 ? wxRIBBON_BUTTON_HYBRID
                                                        : wxRIBBON_BUTTON_DROPDOWN;
      buttons->AddButton(id, WxText(name), large, small, wxNullBitmap, wxNullBitmap, kind,
                         WxText(bars::ToolTipOf(element.id, element.label, false)));
      if (element.kind == RibbonKind::kButton) buttons->SetButtonMaxSizeClass(id, wxRIBBON_BUTTONBAR_BUTTON_MEDIUM);
      if (opens) dropDowns_[id] = &element;
    } else if (element.kind == RibbonKind::kButtonGroup) {
      if (tools == nullptr) {
        tools = new wxRibbonToolBar(host);
        tools->SetRows(1, 3);
        row->Add(tools, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT | kKeepRoom, 2);
      } else {
        tools->AddSeparator();
      }
      for (const bars::RibbonItem& item : element.items) {
        tools->AddToggleTool(item.id, commands_.Picture(item.id, category.smallImageSize),
                             WxText(bars::ToolTipOf(item.id, item.label, true)));
      }
    } else if (IsControlKind(element.kind)) {
      // A label stays with the slider under it.
      const int room = element.kind == RibbonKind::kLabel ? RoomOf(RibbonKind::kLabel) + RoomOf(RibbonKind::kSlider)
                                                          : RoomOf(element.kind);
      if (column == nullptr || (element.kind != RibbonKind::kSlider && columnUsed + room > kColumnRoom)) {
        column = new wxBoxSizer(wxVERTICAL);
        row->Add(column, 0, wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT | kKeepRoom, 4);
        columnUsed = 0;
      }
      if (element.kind != RibbonKind::kSlider) columnUsed += room;
      wxWindow* control = nullptr;
      if (element.kind == RibbonKind::kCheckBox) {
        control = new wxCheckBox(host, WindowIdFor(element.id), Shown(element.label));
        const std::string tip = bars::ToolTipOf(element.id, element.label, false);
        if (tip != bars::DisplayLabel(element.label)) control->SetToolTip(WxText(tip));
      } else if (element.kind == RibbonKind::kLabel) {
        control = new wxStaticText(host, wxID_ANY, Shown(element.label));
      } else {
        auto* slider =
            new wxSlider(host, WindowIdFor(element.id), 50, 0, 127, wxDefaultPosition, wxSize(kSliderWidth, -1));
        slider->SetToolTip("50");
        slider->SetMinSize(wxSize(kSliderWidth, -1));
        sliders_[element.id] = slider;
        control = slider;
      }
      control->SetWindowVariant(wxWINDOW_VARIANT_SMALL);
      // A collapsed panel's pop-up closes when the focus leaves it, and the window system does
      // not say where the focus goes: a control that took the focus at a click would close the
      // pop-up under the pointer before the click counts. Ribbon controls answer the pointer
      // and leave the focus where it is, as the ribbon's buttons do.
      control->SetCanFocus(false);
      column->Add(control, 0, wxBOTTOM | kKeepRoom, 1);
    } else if (element.kind == RibbonKind::kGallery) {
      auto* gallery = new WideGallery(host, WindowIdFor(element.id));
      const auto styles = bars::FrameStyleNames();
      for (size_t i = 0; i < styles.size(); ++i) {
        gallery->Append(ToWxBitmap(bars::DrawFrameStylePicture(static_cast<int>(i), kGalleryPictureSize)),
                        static_cast<int>(i));
      }
      gallery->SetToolTip(WxText(element.label));
      // Wide enough for the four pictures side by side; on its own it offers room for one.
      row->Add(gallery, 0, wxALIGN_CENTER_VERTICAL | kKeepRoom);
    }
  }
  // A panel of one button bar lets the bar choose its layout; several controls share a sizer,
  // where each bar keeps the layout it has with room to spare (large buttons, rows of tools).
  if (row->GetItemCount() == 1 && dynamic_cast<wxRibbonButtonBar*>(row->GetItem(size_t(0))->GetWindow()) != nullptr) {
    row->Detach(0);
    delete row;
    return;
  }
  for (wxSizerItem* item : row->GetChildren()) {
    if (wxWindow* bar = item->GetWindow()) bar->SetMinSize(bar->GetEffectiveMinSize());
  }
  host->SetSizer(row);
}

int CRibbonBar::WindowIdFor(int command) {
  const int windowId = commands_.MenuId(command);
  controlCommands_[windowId] = command;
  return windowId;
}

int CRibbonBar::CommandOf(int windowId) const {
  const auto found = controlCommands_.find(windowId);
  return found == controlCommands_.end() ? windowId : found->second;
}

wxSlider* CRibbonBar::SliderOf(int id) const {
  const auto found = sliders_.find(id);
  return found == sliders_.end() ? nullptr : found->second;
}

void CRibbonBar::RefreshSliders() {
  // The sliders shown, on their page or in a panel opened over it.
  const auto shown = [](const auto& entry) { return entry.second->IsShownOnScreen(); };
  if (std::none_of(sliders_.begin(), sliders_.end(), shown)) return;
  for (const bars::SliderSetting& setting : commands_.MidiSliders()) {
    wxSlider* slider = SliderOf(setting.id);
    if (slider == nullptr || !slider->IsShownOnScreen()) continue;
    if (slider->GetMin() != setting.low || slider->GetMax() != setting.high) slider->SetRange(setting.low, setting.high);
    if (slider->GetValue() != setting.value) slider->SetValue(setting.value);
    slider->SetToolTip(wxString::Format("%d", setting.value));
  }
}

void CRibbonBar::OnButton(wxRibbonButtonBarEvent& event) {
  const auto found = dropDowns_.find(event.GetId());
  if (found != dropDowns_.end() && found->second->id == 0) {
    // A drop-down without a command opens its items from its main part too.
    OnButtonDropDown(event);
    return;
  }
  commands_.Dispatch({event.GetId(), std::nullopt, {}});
}

void CRibbonBar::OnButtonDropDown(wxRibbonButtonBarEvent& event) {
  const auto found = dropDowns_.find(event.GetId());
  if (found == dropDowns_.end()) return;
  const bars::RibbonElement& element = *found->second;
  std::unique_ptr<wxMenu> menu;
  if (element.kind == RibbonKind::kRecentFiles) {
    menu = BuildRecentFilesMenu(commands_);
  } else if (element.menu != 0) {
    const bars::RibbonMenu* items = bars::FindRibbonMenu(element.menu);
    if (items == nullptr) return;
    menu = BuildCommandMenu(items->items, commands_);
  } else {
    menu = BuildCommandMenu(element.items, commands_);
  }
  event.PopupMenu(menu.get());
}

void CRibbonBar::OnTool(wxRibbonToolBarEvent& event) { commands_.Dispatch({event.GetId(), std::nullopt, {}}); }

void CRibbonBar::OnGallery(wxRibbonGalleryEvent& event) {
  wxRibbonGallery* gallery = event.GetGallery();
  if (gallery == nullptr || event.GetGalleryItem() == nullptr) return;
  const long index = GalleryIndex(*gallery, event.GetGalleryItem());
  commands_.Dispatch({CommandOf(gallery->GetId()), index, {}});
}

void CRibbonBar::OnGalleryHover(wxRibbonGalleryEvent& event) {
  wxRibbonGallery* gallery = event.GetGallery();
  if (gallery == nullptr) return;
  const auto styles = bars::FrameStyleNames();
  const int index = GalleryIndex(*gallery, event.GetGalleryItem());
  gallery->SetToolTip(index >= 0 && static_cast<size_t>(index) < styles.size() ? WxText(styles[static_cast<size_t>(index)])
                                                                               : wxString("Frame styles"));
}

void CRibbonBar::OnControl(wxCommandEvent& event) { commands_.Dispatch({CommandOf(event.GetId()), std::nullopt, {}}); }

void CRibbonBar::OnSlider(wxCommandEvent& event) {
  const int id = CommandOf(event.GetId());
  if (auto* slider = SliderOf(id)) slider->SetToolTip(wxString::Format("%d", event.GetInt()));
  commands_.Dispatch({id, static_cast<long>(event.GetInt()), {}});
}

void CRibbonBar::OnUpdateUI(wxUpdateUIEvent& event) {
  const int id = CommandOf(event.GetId());
  if (id <= 0) {
    event.Skip();
    return;
  }
  const view::CommandState state = commands_.StateOf(id);
  event.Enable(state.handled && state.enabled);
  // Buttons are toggles: one without a check rule never stays pressed.
  if (dynamic_cast<wxSlider*>(event.GetEventObject()) == nullptr) event.Check(state.checked.value_or(false));
}

}  // namespace vornel
