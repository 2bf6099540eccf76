#pragma once
// A rich-text model as lines of text, for tests that state the model they expect.

#include <cstdio>
#include <string>

#include "platform/rtf/RichText.h"

namespace vornel::testing {

inline std::string DescribeFormat(const CharFormat& f) {
  std::string s = "f";
  s += std::to_string(f.font);
  s += " fs";
  s += std::to_string(f.halfPoints);
  if (f.bold) s += " b";
  if (f.italic) s += " i";
  if (f.underline) s += " ul";
  if (f.colour != 0) s += " cf" + std::to_string(f.colour);
  return s;
}

inline std::string DescribeParagraphFormat(const ParaFormat& f) {
  static const char* const kAlign[] = {"left", "center", "right", "justify"};
  std::string s = kAlign[f.alignment];
  auto add = [&](const char* name, int32_t v) {
    if (v != 0) s += std::string(" ") + name + std::to_string(v);
  };
  add("li", f.leftIndent);
  add("ri", f.rightIndent);
  add("fi", f.firstIndent);
  add("sb", f.spaceBefore);
  add("sa", f.spaceAfter);
  for (const int32_t t : f.tabs) s += " tx" + std::to_string(t);
  if (f.bullet) {
    s += " bullet\"" + f.bulletText + "\" pnf" + std::to_string(f.bulletFont) + " pnindent" +
         std::to_string(f.bulletIndent);
  }
  return s;
}

// Tabs and line breaks of run texts show as \t and \n.
inline std::string DescribeRichDocument(const RichDocument& doc) {
  static const char* const kFamily[] = {"nil", "roman", "swiss", "modern", "script", "decor", "tech", "bidi"};
  static const char* const kPicture[] = {"png", "jpeg", "dib", "wmf", "emf", "ddb", "other"};
  std::string s = "cpg";
  s += std::to_string(doc.codePage);
  s += " deff" + std::to_string(doc.defaultFont);
  s += " deflang" + std::to_string(doc.defaultLanguage);
  s += "\n";
  for (const RichFont& f : doc.fonts) {
    s += "font " + std::to_string(f.number) + " " + kFamily[f.family] + " cs" + std::to_string(f.charset) + " \"" +
         f.name + "\"\n";
  }
  for (const RichColour& c : doc.colours) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", GetRValue(c.rgb), GetGValue(c.rgb), GetBValue(c.rgb));
    s += std::string("colour ") + (c.automatic ? "auto" : buffer) + "\n";
  }
  for (const RichParagraph& p : doc.paragraphs) {
    s += "para " + DescribeParagraphFormat(p.format) + " | mark " + DescribeFormat(p.markFormat) + "\n";
    for (const RichRun& r : p.runs) {
      if (r.IsPicture()) {
        const RichPicture& pic = *r.picture;
        s += "  pict " + DescribeFormat(r.format) + " " + kPicture[static_cast<int>(pic.format)] + " " +
             std::to_string(pic.width) + "x" + std::to_string(pic.height) + " goal " +
             std::to_string(pic.goalWidth) + "x" + std::to_string(pic.goalHeight) + " bytes " +
             std::to_string(pic.data.size()) + "\n";
        continue;
      }
      std::string text;
      for (const char c : r.text) {
        if (c == '\t') {
          text += "\\t";
        } else if (c == '\n') {
          text += "\\n";
        } else {
          text += c;
        }
      }
      s += "  run " + DescribeFormat(r.format) + " \"" + text + "\"\n";
    }
  }
  return s;
}

}  // namespace vornel::testing
