#pragma once
// The ribbon, built from the ribbon's table: one page per category ("File" first), a panel
// per table panel. Large buttons and buttons go into a button bar (a button with sub-items is
// a hybrid, one without a command a drop-down), groups of small buttons into a tool bar (icons
// only, the label as tool tip), check boxes, labels and sliders into columns of plain controls,
// the frame styles into a gallery. The first page is built with the bar, the others when they
// first show. Every element sends its command through BarCommands; the
// states come back through update-UI events. The ribbon's own toggle and help buttons are the
// commands 33960 and 57664.

#include <wx/ribbon/bar.h>

#include <functional>
#include <map>
#include <vector>

#include "shell/bars/RibbonTable.h"

class wxRibbonButtonBarEvent;
class wxRibbonToolBarEvent;
class wxRibbonGalleryEvent;
class wxRibbonPage;
class wxRibbonPanel;
class wxSlider;

namespace vornel {

class BarCommands;

class CRibbonBar : public wxRibbonBar {
 public:
  CRibbonBar(wxWindow* parent, BarCommands& commands);

  // The sliders of the MIDI page take the active line's values (when that page is shown).
  void RefreshSliders();
  // Called when the ribbon is minimised or restored from its own toggle button.
  std::function<void()> onPanelsToggled;
  // A slider of a page built so far (pages are built when first shown); null otherwise.
  wxSlider* SliderOf(int id) const;
  // Called after a page was built on its first showing (the bar may have grown).
  std::function<void()> onPageBuilt;

 private:
  void Build();
  void BuildPanel(wxRibbonPage* page, const bars::RibbonCategory& category, const bars::RibbonPanel& panel);

  void OnButton(wxRibbonButtonBarEvent& event);
  void OnButtonDropDown(wxRibbonButtonBarEvent& event);
  void OnTool(wxRibbonToolBarEvent& event);
  void OnGallery(wxRibbonGalleryEvent& event);
  void OnGalleryHover(wxRibbonGalleryEvent& event);
  void OnControl(wxCommandEvent& event);
  void OnSlider(wxCommandEvent& event);
  void OnUpdateUI(wxUpdateUIEvent& event);

  // The command of a control's window (window ids stay below 32767, commands do not).
  int CommandOf(int windowId) const;
  int WindowIdFor(int command);

  BarCommands& commands_;
  std::map<int, int> controlCommands_;
  // The button that opens a menu or sub-items: its element.
  std::map<int, const bars::RibbonElement*> dropDowns_;
  std::map<int, wxSlider*> sliders_;
};

}  // namespace vornel
