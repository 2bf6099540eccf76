// palettes OUT.pdf: the twelve glyph palettes, one page each: every button drawn as the
// palette draws it, beside its command id and its tool tip.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "platform/draw/CairoDevice.h"
#include "shell/palettes/PaletteArt.h"

namespace vornel::tool {

namespace {

constexpr int32_t kColumns = 3;
constexpr int32_t kCellWidth = 260;
constexpr int32_t kCellHeight = 40;
constexpr int32_t kTop = 70;

void DrawPage(PdfDevice& pdf, const palettes::PaletteInfo& info) {
  FontSpec small;
  small.lfFaceName = "Arial";
  small.lfHeight = -9;
  FontSpec title = small;
  title.lfHeight = -18;
  title.lfWeight = FW_BOLD;
  pdf.SetBkMode(TRANSPARENT);
  pdf.SetTextAlign(TA_LEFT | TA_BASELINE);
  pdf.SelectFont(title);
  char heading[160];
  std::snprintf(heading, sizeof heading, "%s (%d, \"%s\"): %zu buttons", std::string(info.selectorName).c_str(),
                info.command, std::string(info.title).c_str(), info.buttons.size());
  pdf.TextOut(24, 40, heading);

  const palettes::ToolsPalette palette(info);
  const int32_t side = info.buttonSize;
  for (size_t i = 0; i < palette.Buttons().size(); ++i) {
    const palettes::PaletteButton& button = palette.Buttons()[i];
    const int32_t x = 24 + static_cast<int32_t>(i % kColumns) * kCellWidth;
    const int32_t y = kTop + static_cast<int32_t>(i / kColumns) * kCellHeight;
    palettes::DrawGlyphButton(pdf, Rect{x, y, x + side, y + side}, button, palettes::ButtonState{});
    pdf.SelectFont(small);
    pdf.SetTextColor(0);
    char line[64];
    if (button.value) {
      std::snprintf(line, sizeof line, "%d (%ld)", button.command, *button.value);
    } else {
      std::snprintf(line, sizeof line, "%d", button.command);
    }
    pdf.TextOut(x + side + 8, y + 10, line);
    pdf.SetTextColor(0x606060);
    pdf.TextOut(x + side + 8, y + 22, std::string(button.tip));
  }
}

int Palettes(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("palettes");
  size_t most = 0;
  for (const palettes::PaletteInfo& info : palettes::AllPalettes()) most = std::max(most, info.buttons.size());
  const int32_t rows = static_cast<int32_t>((most + kColumns - 1) / kColumns);
  PdfDevice pdf(48 + kColumns * kCellWidth, kTop + rows * kCellHeight + 40, 96, true);
  bool first = true;
  for (const palettes::PaletteInfo& info : palettes::AllPalettes()) {
    if (!first) pdf.NextPage();
    first = false;
    DrawPage(pdf, info);
  }
  std::string error;
  if (!pdf.Finish(args[0], &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("palettes", "palettes OUT.pdf",
                               "draw the glyph palettes' buttons with their commands and tool tips", Palettes);

}  // namespace

}  // namespace vornel::tool
