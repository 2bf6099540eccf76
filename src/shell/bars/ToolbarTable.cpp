#include "shell/bars/ToolbarTable.h"

#include <algorithm>
#include <charconv>
#include <set>

#include "shell/bars/RibbonTable.h"
#include "shell/console/ConsoleTable.h"

namespace vornel::bars {

namespace {

// The palette selectors of the palette bar, with their names.
constexpr std::pair<int, const char*> kPaletteSelectors[] = {
    {33819, "Flags"},     {33820, "Bar lines"},  {33821, "Metaevents"}, {33822, "Notation"},
    {33823, "Chords"},    {33824, "Dynamics"},   {33826, "Phrasing"},   {33827, "Fingerings"},
    {33828, "Ornaments"}, {33829, "Diapasons"},  {33830, "Pedals"},     {33831, "Brackets"},
};

// A stored bar holds at most this many entries per button it offers (separators repeat).
constexpr size_t kEntriesPerButton = 2;

// The buttons of a ribbon panel, in order: group buttons and buttons, a separator between
// groups, a menu-only button as minus its menu.
std::vector<ToolbarButton> PanelButtons(std::string_view page, std::string_view panel) {
  std::vector<ToolbarButton> buttons;
  for (const RibbonCategory& category : RibbonCategories()) {
    if (category.label != page) continue;
    for (const RibbonPanel& p : category.panels) {
      if (p.label != panel) continue;
      for (const RibbonElement& element : p.elements) {
        if (!buttons.empty() && buttons.back().id != kSeparator) buttons.push_back({kSeparator});
        if (element.kind == RibbonKind::kButtonGroup) {
          for (const RibbonItem& item : element.items) buttons.push_back({item.id});
        } else if (element.id != 0) {
          buttons.push_back({element.id});
        } else if (element.menu != 0) {
          buttons.push_back({-element.menu});
        }
      }
    }
  }
  return buttons;
}

std::vector<ToolbarDefinition> BuildBars() {
  std::vector<ToolbarDefinition> bars;
  std::vector<ToolbarButton> editing = PanelButtons("&Editing", "Clipboard\nzc");
  editing.push_back({kSeparator});
  for (const ToolbarButton& button : PanelButtons("&Editing", "Editing modes\nzc")) editing.push_back(button);
  bars.push_back({kEditingOptionsBar, "Editing options", editing, 0, BarKind::kCommands, IconOption::kSmallIcons, true});
  // The "Play" panel shows its buttons one below the other; on a bar they stand in one row.
  std::vector<ToolbarButton> play;
  for (const ToolbarButton& button : PanelButtons("&MIDI play bar", "Play\nzc")) {
    if (button.id != kSeparator) play.push_back(button);
  }
  bars.push_back({kMidiPlayBar, "MIDI Play Bar", play, 0, BarKind::kCommands, IconOption::kSmallIcons, true});
  std::vector<ToolbarButton> palettes;
  for (const auto& [id, name] : kPaletteSelectors) {
    if (id == 33826) palettes.push_back({kSeparator});
    palettes.push_back({id});
  }
  // The palette bar is mostly seen as the menu the view pops up from it.
  bars.push_back({kPaletteBar, "Palettes", palettes, 28, BarKind::kCommands, IconOption::kSmallIcons, false});
  bars.push_back({kAlfabetoBar, "Alfabeto toolbar", PanelButtons("&Chords", "Manage alfabeto"), 0,
                  BarKind::kCommands, IconOption::kSmallIcons, false});
  bars.push_back({kZoomBar, "Zoom", {{kZoomComboCommand}}, 0, BarKind::kZoom, IconOption::kSmallIcons, true});
  std::vector<ToolbarButton> consoleButtons;
  for (const console::ConsoleCommand& command : console::ConsoleButtons()) consoleButtons.push_back({command.id});
  bars.push_back({kConsoleBar, "Keyboard console", consoleButtons, 0, BarKind::kCommands, IconOption::kLargeIcons, true});
  return bars;
}

bool ReadInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

}  // namespace

IconSize IconSizeOf(IconOption option) {
  return option == IconOption::kLargeIcons ? IconSize{24, 24} : IconSize{16, 15};
}

const std::vector<ToolbarDefinition>& ToolbarDefinitions() {
  static const std::vector<ToolbarDefinition> bars = BuildBars();
  return bars;
}

const ToolbarDefinition* FindToolbar(int number) {
  for (const ToolbarDefinition& bar : ToolbarDefinitions()) {
    if (bar.number == number) return &bar;
  }
  return nullptr;
}

const ToolbarDefinition& QuickAccessBar() {
  static const ToolbarDefinition bar = [] {
    ToolbarDefinition quick;
    quick.name = "Quick Access";
    for (const QuickButton& button : TabRowButtons()) {
      if (button.id == 33960 || button.id == 57664) continue;  // the ribbon's own buttons
      quick.buttons.push_back({button.id != 0 ? button.id : -button.menu});
    }
    quick.buttons.push_back({kSeparator});
    for (const QuickButton& button : QuickAccessButtons()) {
      if (button.shown) quick.buttons.push_back({button.id});
    }
    return quick;
  }();
  return bar;
}

std::vector<int> QuickAccessOverflow() {
  std::vector<int> ids;
  for (const QuickButton& button : QuickAccessButtons()) {
    if (!button.shown) ids.push_back(button.id);
  }
  return ids;
}

std::vector<int> ToolbarCommandIds() {
  std::vector<int> ids;
  for (const ToolbarDefinition& bar : ToolbarDefinitions()) {
    for (const ToolbarButton& button : bar.buttons) {
      if (button.id > 0) ids.push_back(button.id);
    }
  }
  std::sort(ids.begin(), ids.end());
  ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
  return ids;
}

std::string ToolbarButtonLabel(int id) {
  if (IsMenuButton(id)) {
    for (const RibbonCategory& page : RibbonCategories()) {
      for (const RibbonPanel& panel : page.panels) {
        for (const RibbonElement& element : panel.elements) {
          if (element.id == 0 && element.menu == MenuOfButton(id)) return DisplayLabel(element.label);
        }
      }
    }
    for (const QuickButton& button : TabRowButtons()) {
      if (button.id == 0 && button.menu == MenuOfButton(id)) return DisplayLabel(button.label);
    }
    return {};
  }
  if (id == kZoomComboCommand) return "Zoom";
  for (const auto& [selector, name] : kPaletteSelectors) {
    if (selector == id) return name;
  }
  if (const std::string_view console = console::ConsoleCommandLabel(id); !console.empty()) return std::string(console);
  return CommandLabel(id);
}

ToolbarState DefaultToolbarState(const ToolbarDefinition& bar) {
  ToolbarState state;
  for (const ToolbarButton& button : bar.buttons) {
    if (button.byDefault) state.buttons.push_back(button.id);
  }
  return state;
}

ToolbarState InitialToolbarState(const ToolbarDefinition& bar) {
  ToolbarState state = DefaultToolbarState(bar);
  state.icons = bar.initialIcons;
  return state;
}

std::string ToolbarStateText(const ToolbarState& state) {
  std::string text = "icons=" + std::to_string(static_cast<int>(state.icons)) +
                     " text=" + std::to_string(static_cast<int>(state.text)) + " buttons=";
  for (size_t i = 0; i < state.buttons.size(); ++i) {
    if (i > 0) text += ',';
    text += std::to_string(state.buttons[i]);
  }
  return text;
}

std::optional<ToolbarState> ReadToolbarState(std::string_view text, const ToolbarDefinition& bar) {
  // The options come first, so that they are in place before the buttons are laid out.
  constexpr std::string_view kIcons = "icons=";
  constexpr std::string_view kText = " text=";
  constexpr std::string_view kButtons = " buttons=";
  if (!text.starts_with(kIcons)) return std::nullopt;
  const size_t textAt = text.find(kText);
  const size_t buttonsAt = text.find(kButtons);
  if (textAt == std::string_view::npos || buttonsAt == std::string_view::npos || buttonsAt < textAt) return std::nullopt;
  int icons = -1;
  int textOption = -1;
  if (!ReadInt(text.substr(kIcons.size(), textAt - kIcons.size()), icons) ||
      !ReadInt(text.substr(textAt + kText.size(), buttonsAt - textAt - kText.size()), textOption)) {
    return std::nullopt;
  }
  if (icons < 0 || icons > 1 || textOption < 0 || textOption > 2) return std::nullopt;
  ToolbarState state;
  state.icons = static_cast<IconOption>(icons);
  state.text = static_cast<TextOption>(textOption);

  const size_t limit = bar.buttons.size() * kEntriesPerButton;
  std::set<int> seen;
  std::string_view list = text.substr(buttonsAt + kButtons.size());
  while (!list.empty() && state.buttons.size() < limit) {
    const size_t comma = list.find(',');
    const std::string_view token = list.substr(0, comma);
    list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
    int id = 0;
    if (!ReadInt(token, id)) return std::nullopt;
    const bool offered = std::any_of(bar.buttons.begin(), bar.buttons.end(),
                                     [id](const ToolbarButton& button) { return button.id == id; });
    if (id == kSeparator) {
      // Two separators in a row, or one at the start, separate nothing.
      if (!state.buttons.empty() && state.buttons.back() != kSeparator) state.buttons.push_back(id);
    } else if (offered && seen.insert(id).second) {
      state.buttons.push_back(id);
    }
  }
  return state;
}

std::string ToolbarStateKey(int number) { return "ToolBarEx" + std::to_string(number); }

ToolbarCustomizer::ToolbarCustomizer(const ToolbarDefinition& bar, ToolbarState state)
    : bar_(bar), state_(std::move(state)) {}

bool ToolbarCustomizer::Offers(int id) const {
  return std::any_of(bar_.buttons.begin(), bar_.buttons.end(),
                     [id](const ToolbarButton& button) { return button.id == id; });
}

std::vector<int> ToolbarCustomizer::Available() const {
  std::vector<int> ids;
  for (const ToolbarButton& button : bar_.buttons) {
    if (button.id == kSeparator) continue;
    if (std::find(state_.buttons.begin(), state_.buttons.end(), button.id) == state_.buttons.end()) {
      ids.push_back(button.id);
    }
  }
  ids.push_back(kSeparator);
  return ids;
}

bool ToolbarCustomizer::Add(int id, size_t position) {
  if (id != kSeparator) {
    if (!Offers(id)) return false;
    if (std::find(state_.buttons.begin(), state_.buttons.end(), id) != state_.buttons.end()) return false;
  }
  position = std::min(position, state_.buttons.size());
  state_.buttons.insert(state_.buttons.begin() + static_cast<std::ptrdiff_t>(position), id);
  return true;
}

bool ToolbarCustomizer::Remove(size_t position) {
  if (position >= state_.buttons.size()) return false;
  state_.buttons.erase(state_.buttons.begin() + static_cast<std::ptrdiff_t>(position));
  return true;
}

bool ToolbarCustomizer::Move(size_t position, int step) {
  if (position >= state_.buttons.size() || (step != -1 && step != 1)) return false;
  if (step < 0 && position == 0) return false;
  const size_t other = step < 0 ? position - 1 : position + 1;
  if (other >= state_.buttons.size()) return false;
  std::swap(state_.buttons[position], state_.buttons[other]);
  return true;
}

void ToolbarCustomizer::Reset() { state_ = DefaultToolbarState(bar_); }

}  // namespace vornel::bars
