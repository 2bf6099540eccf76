#include "view/draw/FontChooser.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "font chooser";

class MissingChooser : public FontChooser {
 public:
  std::optional<FontChoice> Choose(const FontChoice&, bool) override {
    ReportMissingService(kServiceName);
    return std::nullopt;
  }
};

MissingChooser g_none;
ObjectSlot<FontChooser> g_chooser(kServiceName, g_none);

// The dialog opens on a height derived from the point size.
int32_t InitialHeight(int32_t pointSize) { return static_cast<int32_t>(pointSize * 0.135687); }

}  // namespace

FontChooser& Chooser() { return g_chooser.Get(); }

ScopedFontChooser::ScopedFontChooser(FontChooser& chooser) : previous_(g_chooser.Exchange(&chooser)) {}

ScopedFontChooser::~ScopedFontChooser() { g_chooser.Exchange(previous_); }

bool ChooseFont(dfLogFont& font) {
  LogFont& lf = font.logFont;
  lf.lfHeight = InitialHeight(font.pointSize.cx);
  FontChoice initial{lf.lfFaceName, font.pointSize.cx, lf.lfWeight, lf.lfItalic != 0, lf.lfUnderline != 0,
                     lf.lfStrikeOut != 0, font.color};
  const auto chosen = Chooser().Choose(initial, true);
  if (!chosen) return false;
  lf.lfFaceName = FitFaceName(chosen->face);
  lf.lfWeight = chosen->weight;
  lf.lfItalic = chosen->italic ? 1 : 0;
  lf.lfUnderline = chosen->underline ? 1 : 0;
  lf.lfStrikeOut = chosen->strikeOut ? 1 : 0;
  lf.lfHeight = InitialHeight(chosen->pointSize);
  font.pointSize.cx = chosen->pointSize;
  font.color = chosen->colour;
  return true;
}

bool ChooseFont(CNotationFont& font) {
  font.logFont.lfHeight = InitialHeight(font.pointSize.cx);
  FontChoice initial{font.face, font.pointSize.cx, font.logFont.lfWeight, font.logFont.lfItalic != 0,
                     false,     false,              font.color};
  const auto chosen = Chooser().Choose(initial, true);
  if (!chosen) return false;
  font.pointSize.cx = chosen->pointSize;
  font.SetFace(chosen->face);
  font.logFont.lfItalic = chosen->italic ? 1 : 0;
  font.interval = (chosen->pointSize * 3) / 8;
  return true;
}

}  // namespace vornel
