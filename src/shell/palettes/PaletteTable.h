#pragma once
// The twelve glyph palettes of the "Palettes" pane: the upper pane's notation palettes (flags,
// bar lines, meta-events, notation, chords, dynamics) and the lower pane's ornamentation
// palettes (phrasing, fingerings, ornaments, diapasons, pedals, brackets). Each button sends a
// command of the view or the document and shows one glyph, addressed as (face, code) like
// every glyph the drawing code draws; a text face shows the code as a character.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace vornel::palettes {

inline constexpr std::string_view kNotationFace = "VornelNotation";
inline constexpr std::string_view kFlagsFace = "VornelTabFlags";
inline constexpr std::string_view kFiguresFace = "VornelFg";
inline constexpr std::string_view kLetterFace = "VN_Quintelle";
inline constexpr std::string_view kTextFace = "Arial";

struct PaletteButton {
  constexpr PaletteButton() = default;
  constexpr PaletteButton(int commandIn, std::string_view faceIn, uint32_t codeIn, std::string_view tipIn,
                          std::optional<long> valueIn = std::nullopt)
      : command(commandIn), face(faceIn), code(codeIn), tip(tipIn), value(valueIn) {}

  int command = 0;
  std::string_view face;
  uint32_t code = 0;
  std::string_view tip;
  // Sent with the command where one command serves several buttons (the dynamics markings).
  std::optional<long> value;
};

struct PaletteInfo {
  std::string_view selectorName;  // the name in the pane's selector
  int command = 0;                // selects the palette
  std::string_view title;         // written under the grid
  int resource = 0;               // the tool bar resource the palette was made from
  int buttonSize = 24;            // square buttons, pixels
  std::span<const PaletteButton> buttons;
};

inline constexpr int kUpperPane = 0;
inline constexpr int kLowerPane = 1;
inline constexpr int kPalettesPerPane = 6;

// The six palettes of a pane, in selector order.
std::span<const PaletteInfo> PanePalettes(int pane);
// All twelve: the upper pane's, then the lower pane's.
std::span<const PaletteInfo> AllPalettes();
// The palette a selector command chooses, or null.
const PaletteInfo* PaletteForCommand(int command);

// The ornament palette (resource 729) and the first of its glyph commands.
inline constexpr int kOrnamentPaletteResource = 729;
inline constexpr int kFirstOrnamentCommand = 32887;
inline constexpr int kLastOrnamentCommand = 32918;
// The ornament buttons show "VornelFg" code command - 32823 (64 + ornament kind).
inline constexpr int kOrnamentCodeOffset = 32823;

// The ornament names, one per ornament kind (the glyph buttons' tool tips).
std::span<const std::string_view> OrnamentNames();

}  // namespace vornel::palettes
