#include "platform/rtf/RichText.h"

#include <algorithm>

#include "platform/text/AsciiCase.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr int32_t kTwipsPerPixel = 15;  // at 96 pixels per inch

bool IsMetafile(RichPicture::Format format) {
  return format == RichPicture::Format::kWmf || format == RichPicture::Format::kEmf;
}

int32_t StoredToTwips(int32_t value, bool metafile) {
  const int64_t v = std::max<int64_t>(0, value);
  const int64_t twips = metafile ? v * 1440 / 2540 : v * kTwipsPerPixel;
  return static_cast<int32_t>(std::min<int64_t>(twips, INT32_MAX));
}

// No picture is drawn larger than this, whatever its file says.
constexpr int64_t kMaxDisplayTwips = 1'000'000;

int32_t Scaled(int32_t goal, int32_t stored, int32_t scale) {
  const int64_t base = goal > 0 ? goal : stored;
  const int64_t percent = scale > 0 ? scale : 100;
  return static_cast<int32_t>(std::clamp<int64_t>(base * percent / 100, 1, kMaxDisplayTwips));
}

}  // namespace

int32_t RichPicture::DisplayWidth() const {
  return Scaled(goalWidth, StoredToTwips(width, IsMetafile(format)), scaleX);
}

int32_t RichPicture::DisplayHeight() const {
  return Scaled(goalHeight, StoredToTwips(height, IsMetafile(format)), scaleY);
}

bool RichDocument::HasContent() const {
  for (const RichParagraph& p : paragraphs) {
    for (const RichRun& r : p.runs) {
      if (r.IsPicture() || !r.text.empty()) return true;
    }
  }
  return false;
}

std::string RichDocument::PlainText() const {
  std::string text;
  for (size_t i = 0; i < paragraphs.size(); ++i) {
    if (i > 0) text += '\n';
    for (const RichRun& r : paragraphs[i].runs) {
      if (!r.IsPicture()) text += r.text;
    }
  }
  return text;
}

const RichFont* RichDocument::FindFont(int32_t number) const {
  for (const RichFont& f : fonts) {
    if (f.number == number) return &f;
  }
  return nullptr;
}

COLORREF RichDocument::ColourOf(int32_t index) const {
  if (index < 0 || static_cast<size_t>(index) >= colours.size()) return 0;
  const RichColour& c = colours[static_cast<size_t>(index)];
  return c.automatic ? 0 : c.rgb;
}

int32_t RichDocument::ColourIndex(COLORREF rgb) {
  if (colours.empty()) colours.push_back(RichColour{});
  for (size_t i = 0; i < colours.size(); ++i) {
    if (!colours[i].automatic && colours[i].rgb == rgb) return static_cast<int32_t>(i);
  }
  colours.push_back(RichColour{false, rgb});
  return static_cast<int32_t>(colours.size() - 1);
}

int32_t RichDocument::FontIndex(std::string_view name) {
  int32_t next = 0;
  for (const RichFont& f : fonts) {
    if (EqualsNoCase(f.name, name)) return f.number;
    next = std::max(next, f.number + 1);
  }
  RichFont font;
  font.number = next;
  font.name = std::string(name);
  fonts.push_back(std::move(font));
  return next;
}

}  // namespace vornel
