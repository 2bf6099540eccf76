#pragma once
// The classic tool bars the user can customise: what each holds, its state (icon size, text
// labels and buttons) and the state's text form in the profile, and the customisation itself
// (add, remove, reorder, reset and the two option lists) as plain operations the dialog edits.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::bars {

enum class TextOption : int {
  kShowTextLabels = 0,      // "Show Text Labels": under the icons
  kSelectiveTextOnRight = 1,// "Selective Text on Right"
  kNoTextLabels = 2,        // "No Text Labels"
};
enum class IconOption : int {
  kSmallIcons = 0,  // 16 x 15
  kLargeIcons = 1,  // 24 x 24
};
inline constexpr const char* kTextOptionNames[] = {"Show Text Labels", "Selective Text on Right", "No Text Labels"};
inline constexpr const char* kIconOptionNames[] = {"Small Icons", "Large Icons"};
struct IconSize {
  int width;
  int height;
};
IconSize IconSizeOf(IconOption option);

// A button of a bar: a command, a separator (0) or a button that only opens a menu (minus
// the menu's number).
inline constexpr int kSeparator = 0;
constexpr bool IsMenuButton(int id) { return id < 0; }
constexpr int MenuOfButton(int id) { return -id; }

struct ToolbarButton {
  int id = kSeparator;
  bool byDefault = true;  // on the bar after a reset
};

enum class BarKind { kCommands, kZoom };

struct ToolbarDefinition {
  int number = 0;          // the n of its profile value "ToolBarEx%d"
  std::string name;        // its title, listed in the bars' context menu
  std::vector<ToolbarButton> buttons;  // everything customisation offers, in default order
  int fixedIconSize = 0;   // the palette bar's buttons are 28 x 28 whatever the option
  BarKind kind = BarKind::kCommands;
  IconOption initialIcons = IconOption::kSmallIcons;  // before any state was stored or reset
  bool initiallyShown = true;
};

// The bars of the main frame and of the keyboard console, by number:
// 1 "Editing options", 2 "MIDI Play Bar", 3 "Palettes", 4 "Alfabeto toolbar", 5 "Zoom",
// 6 "Keyboard console".
const std::vector<ToolbarDefinition>& ToolbarDefinitions();
const ToolbarDefinition* FindToolbar(int number);
inline constexpr int kEditingOptionsBar = 1;
inline constexpr int kMidiPlayBar = 2;
inline constexpr int kPaletteBar = 3;
inline constexpr int kAlfabetoBar = 4;
inline constexpr int kZoomBar = 5;
inline constexpr int kConsoleBar = 6;
// The bar above the ribbon: the tab-row buttons (but the ribbon's own toggle and help buttons)
// and the quick-access commands shown by default; the hidden ones are offered in its overflow
// menu. It is not customised.
const ToolbarDefinition& QuickAccessBar();
std::vector<int> QuickAccessOverflow();
// The combo box of the zoom bar.
inline constexpr int kZoomComboCommand = 103;
// Every command of the bars, ascending.
std::vector<int> ToolbarCommandIds();
// The tool tip and text label of a bar's button.
std::string ToolbarButtonLabel(int id);

struct ToolbarState {
  IconOption icons = IconOption::kSmallIcons;
  TextOption text = TextOption::kNoTextLabels;
  std::vector<int> buttons;

  friend bool operator==(const ToolbarState&, const ToolbarState&) = default;
};

// The state after a reset: the default buttons, "No Text Labels" and "Small Icons".
ToolbarState DefaultToolbarState(const ToolbarDefinition& bar);
// The state of a bar nothing was stored for: the default buttons at the bar's first size.
ToolbarState InitialToolbarState(const ToolbarDefinition& bar);
// "icons=1 text=2 buttons=57634,57635,0,-1067"
std::string ToolbarStateText(const ToolbarState& state);
// Reads a stored state, checked against the bar: buttons it does not offer and repeated
// buttons are dropped, no more entries are kept than the bar could hold; text that cannot be
// read, or options outside their lists, give nothing (the caller keeps the default layout).
std::optional<ToolbarState> ReadToolbarState(std::string_view text, const ToolbarDefinition& bar);

inline constexpr std::string_view kToolbarStateSection = "Settings";
// "ToolBarEx%d"
std::string ToolbarStateKey(int number);

// The customisation of one bar: the buttons it offers and the ones on it.
class ToolbarCustomizer {
 public:
  ToolbarCustomizer(const ToolbarDefinition& bar, ToolbarState state);

  const ToolbarState& State() const { return state_; }
  // What can be added: the bar's buttons not on it, in the bar's order, then a separator.
  std::vector<int> Available() const;
  // Puts an available button (or a separator) at `position` (clamped to the end).
  bool Add(int id, size_t position);
  bool Remove(size_t position);
  // Moves the button at `position` one place up (-1) or down (+1).
  bool Move(size_t position, int step);
  // The default buttons, "No Text Labels" and "Small Icons".
  void Reset();
  void SetTextOption(TextOption option) { state_.text = option; }
  void SetIconOption(IconOption option) { state_.icons = option; }

 private:
  bool Offers(int id) const;

  const ToolbarDefinition& bar_;
  ToolbarState state_;
};

}  // namespace vornel::bars
