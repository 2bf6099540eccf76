// glyphs OUT.pdf: every (face, code) of the glyph substitution table drawn through its face,
// beside its code and what stands in for it; one page per face.

#include <cstdio>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "platform/draw/CairoDevice.h"
#include "platform/text/TextConversion.h"

namespace vornel::tool {

namespace {

constexpr FaceRole kRoles[] = {FaceRole::kNotation, FaceRole::kTabFlags,   FaceRole::kTabLetter,
                               FaceRole::kFg,       FaceRole::kTabDefault, FaceRole::kVavadurura};
constexpr int32_t kColumns = 5;
constexpr int32_t kCellWidth = 196;
constexpr int32_t kCellHeight = 46;
constexpr int32_t kTop = 70;
constexpr int32_t kEm = 24;

std::string Describe(const GlyphMapEntry& e) {
  char buffer[96];
  switch (e.kind) {
    case GlyphMapEntry::Kind::kSmufl:
      if (e.secondCodePoint != 0) {
        std::snprintf(buffer, sizeof buffer, "U+%04X+%04X", static_cast<unsigned>(e.codePoint),
                      static_cast<unsigned>(e.secondCodePoint));
      } else {
        std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(e.codePoint));
      }
      return buffer;
    case GlyphMapEntry::Kind::kText:
      return "text";
    case GlyphMapEntry::Kind::kDraw:
      return "drawn";
    case GlyphMapEntry::Kind::kNone:
      break;
  }
  return "nothing";
}

void DrawPage(PdfDevice& pdf, FaceRole role, const std::vector<const GlyphMapEntry*>& entries) {
  FontSpec small;
  small.lfFaceName = "Arial";
  small.lfHeight = -8;
  FontSpec title = small;
  title.lfHeight = -18;
  title.lfWeight = FW_BOLD;
  FontSpec face;
  face.lfFaceName = std::string(RoleFaceName(role));
  face.lfHeight = -kEm;

  pdf.SetBkMode(TRANSPARENT);
  pdf.SelectFont(title);
  pdf.SetTextAlign(TA_LEFT | TA_BASELINE);
  char heading[96];
  std::snprintf(heading, sizeof heading, "%s: %zu codes", std::string(RoleFaceName(role)).c_str(), entries.size());
  pdf.TextOut(24, 40, heading);

  for (size_t i = 0; i < entries.size(); ++i) {
    const GlyphMapEntry& e = *entries[i];
    const int32_t x = 24 + static_cast<int32_t>(i % kColumns) * kCellWidth;
    const int32_t y = kTop + static_cast<int32_t>(i / kColumns) * kCellHeight;
    const int32_t baseline = y + kCellHeight * 2 / 3;
    // The code, the glyph on a faint baseline, then what stands in for it.
    pdf.SelectPen(Pen::Create(PS_SOLID, 1, 0xE0E0E0));
    pdf.MoveTo(x + 34, baseline);
    pdf.LineTo(x + 74, baseline);
    pdf.SelectFont(small);
    pdf.SetTextColor(0x606060);
    char code[32];
    std::snprintf(code, sizeof code, "%d", e.code);
    pdf.TextOut(x, baseline - 8, code);
    std::snprintf(code, sizeof code, "0x%X", e.code);
    pdf.TextOut(x, baseline + 4, code);
    pdf.TextOut(x + 80, baseline - 8, e.name);
    pdf.TextOut(x + 80, baseline + 4, Describe(e).c_str());
    pdf.SetTextColor(0);
    pdf.SelectFont(face);
    std::string text;
    AppendUtf8(text, e.code);
    pdf.TextOut(x + 40, baseline, text);
  }
}

int Glyphs(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("glyphs");
  std::vector<std::vector<const GlyphMapEntry*>> pages;
  size_t longest = 0;
  for (FaceRole role : kRoles) {
    std::vector<const GlyphMapEntry*> entries;
    for (uint32_t code = 0; code < 0x10000; ++code) {
      if (const GlyphMapEntry* e = FindGlyph(role, code)) entries.push_back(e);
    }
    longest = std::max(longest, entries.size());
    pages.push_back(std::move(entries));
  }
  const int32_t rows = static_cast<int32_t>((longest + kColumns - 1) / kColumns);
  PdfDevice pdf(48 + kColumns * kCellWidth, kTop + rows * kCellHeight + 40, 96, true);
  for (size_t i = 0; i < pages.size(); ++i) {
    if (i > 0) pdf.NextPage();
    DrawPage(pdf, kRoles[i], pages[i]);
  }
  std::string error;
  if (!pdf.Finish(args[0], &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return 0;
}

const ToolCommand registration("glyphs", "glyphs OUT.pdf", "draw every glyph of the substitution table", Glyphs);

}  // namespace

}  // namespace vornel::tool
