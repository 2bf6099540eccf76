#pragma once
// The ribbon's content as one table: its pages (categories) in tab order, their panels and
// elements with the command each sends, the menus that buttons open, the buttons of the tab
// row and the quick-access defaults. The window layer builds the ribbon from it, the tool
// bars take their buttons from it, `vornel-tool ribbon` prints it and the tests read it.
// Labels are kept exactly as written: the text after a line break is the element's tool tip.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::bars {

enum class RibbonKind {
  kLargeButton,   // a button with a large image
  kButton,        // a button with a small image and its label
  kButtonGroup,   // a row of small icon buttons (`items`), labels as tool tips
  kCheckBox,
  kLabel,
  kSlider,        // width 100, range 0-127, at 50; under its label
  kGallery,
  kRecentFiles,   // the recent-file list of the "File" page
  kBottomButton,  // the "File" page's buttons below its list
};

// A sub-item of a button, a button of a group or an entry of a menu. Id 0 with a label is a
// heading; id 0 without one a separator. A submenu holds its entries in `submenu`.
struct RibbonItem {
  int id = 0;
  std::string label;
  std::vector<RibbonItem> submenu = {};

  bool IsSeparator() const { return id == 0 && label.empty() && submenu.empty(); }
};

struct RibbonElement {
  RibbonKind kind = RibbonKind::kButton;
  int id = 0;  // 0: the element sends no command (it opens its items or its menu)
  std::string label;
  int menu = 0;                   // the menu the element opens, 0 for none
  std::vector<RibbonItem> items;  // sub-items of a button; buttons of a group
};

struct RibbonPanel {
  std::string label;
  std::vector<RibbonElement> elements;
};

struct RibbonCategory {
  std::string label;
  int smallImageSize = 24;  // pixels, square
  int largeImageSize = 32;
  std::vector<RibbonPanel> panels;
};

struct RibbonMenu {
  int id = 0;
  std::vector<RibbonItem> items;
};

// A button of the row above the ribbon: the tab-row buttons and the quick-access commands.
struct QuickButton {
  int id = 0;  // 0: opens `menu`
  std::string label;
  int menu = 0;
  bool shown = true;  // quick-access commands offered but hidden by default are false
};

// The pages in tab order: "File" first, then the nine categories.
const std::vector<RibbonCategory>& RibbonCategories();
// The menus buttons open (213, 1070, 1116, 1072, 1067, 1086, 1085, 151), or null.
const RibbonMenu* FindRibbonMenu(int id);
std::span<const RibbonMenu> RibbonMenus();
// The tab-row buttons, in order (the ribbon's own toggle and help buttons are 33960 and 57664).
const std::vector<QuickButton>& TabRowButtons();
// The quick-access commands in their default state.
const std::vector<QuickButton>& QuickAccessButtons();
// The gallery's items (the frame styles), in order.
std::span<const char* const> FrameStyleNames();
// The tool tip of a marked-area button (34226-34231), whose label does not say what it does;
// empty for other ids.
std::string_view MarkedAreaToolTip(int id);

// The visible label: the text before the first line break, without mnemonic ampersands ("&&"
// stays one "&").
std::string DisplayLabel(std::string_view label);
// The text after the first line break; empty when there is none.
std::string_view LabelTip(std::string_view label);
// A text after the line break that is only the letters of a key tip ("x", "zc"), not a tip.
bool IsKeyTip(std::string_view tip);
// What an element's tool tip shows. An icon-only button shows its label, then the text after
// the line break on a line of its own; a button with its label shows that text, or its label
// when there is none. Key tips are left out; the command's keys follow in brackets
// ("Save document (Ctrl+S)"). The marked-area buttons show their own texts.
std::string ToolTipOf(int id, std::string_view label, bool iconOnly);

// A command's name for lists and tool tips (the undo list names its entries with it): the
// label of its first element in the table, its menu entry, or its marked-area tool tip;
// empty for an id the table does not hold.
std::string CommandLabel(int id);

// Every command id the table sends: elements, sub-items, group buttons, menu entries, the tab
// row and the quick-access commands; ascending, each once.
std::vector<int> RibbonCommandIds();

// The table as text, one line per entry: page, panel, kind, id ("-" for none), label (a line
// break written as "\n") and menu, separated by tabs.
std::string RibbonDump();

}  // namespace vornel::bars
