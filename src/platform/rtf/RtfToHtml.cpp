#include "platform/rtf/RtfToHtml.h"

#include <algorithm>
#include <cstdio>

#include "platform/rtf/RichText.h"
#include "platform/rtf/RtfReader.h"
#include "platform/text/CodePages.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kDefaultSize = "10";
constexpr std::string_view kDefaultFace = "Arial";
constexpr std::string_view kDefaultColour = "#000000";

// The value of the decimal digits the text starts with; 0 when there are none.
int32_t ParseNumber(std::string_view text) {
  int64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min<int64_t>(value * 10 + (c - '0'), INT32_MAX);
  }
  return static_cast<int32_t>(value);
}

// A control word as the converter compares it: the letters and the number as written.
std::string WordText(const RtfToken& t) {
  std::string word(t.word);
  if (t.hasParameter) word += std::to_string(t.parameter);
  return word;
}

void AppendEscaped(std::string& out, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '&': out += "&amp;"; break;
      default: out += c;
    }
  }
}

void AppendAttributeValue(std::string& out, std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) < 0x20) continue;
    switch (c) {
      case '<': out += "&lt;"; break;
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
}

// Control characters other than tab and line ends have no place in XML: they are left out.
bool IsXmlCharacter(char32_t cp) { return cp >= 0x20 || cp == '\t' || cp == '\n' || cp == '\r'; }

void AppendReference(std::string& out, char32_t cp) {
  if (!IsXmlCharacter(cp)) return;
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "&#x%x;", static_cast<unsigned>(cp));
  out += buffer;
}

// Text of an RTF body as HTML: markup characters escaped, 8-bit bytes that are no UTF-8
// character decoded through the code page.
std::string TextAsHtml(std::string_view text, int32_t codePage) {
  std::string out;
  std::string bytes;
  auto flush = [&] {
    if (bytes.empty()) return;
    out += DecodeCodePage(bytes, codePage);
    bytes.clear();
  };
  for (size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      flush();
      if (IsXmlCharacter(c)) AppendEscaped(out, text.substr(i, 1));
      ++i;
      continue;
    }
    size_t next = i;
    DecodeUtf8(text, next);
    if (next - i > 1) {
      flush();
      out.append(text.substr(i, next - i));
      i = next;
    } else {
      bytes += static_cast<char>(c);
      ++i;
    }
  }
  flush();
  return out;
}

// Walks the groups of the document group's content as the converter sees them: a group whose
// first token is no control word or symbol is left out with everything in it ("{{" leaves the
// outer one out), and so is one nested deeper than the reader's limit; a surplus "}" closes
// nothing. `onToken(token, groups)` gets every token of a group that counts (`groups[0]` is
// the document group, the last one the group the token is in; the first token of a group is
// its name) and `onEnd(groups)` every end of such a group, also of those still open at the end.
class GroupWalk {
 public:
  struct Group {
    std::string name;
    bool named = true;  // false until its first token gave the name
  };

  template <class OnToken, class OnEnd>
  static void Run(std::string_view text, OnToken&& onToken, OnEnd&& onEnd) {
    std::vector<Group> groups(1);
    size_t dropped = 0;  // depth of the groups being left out
    RtfTokenizer tokens(text);
    for (RtfToken t = tokens.Next(); t.kind != RtfToken::Kind::kEnd; t = tokens.Next()) {
      if (t.kind == RtfToken::Kind::kGroupStart) {
        if (dropped > 0) {
          ++dropped;
        } else if (!groups.back().named) {
          groups.pop_back();
          dropped = 2;
        } else if (groups.size() > static_cast<size_t>(RtfReadLimits::kMaxGroupDepth)) {
          dropped = 1;
        } else {
          groups.push_back(Group{{}, false});
        }
        continue;
      }
      if (t.kind == RtfToken::Kind::kGroupEnd) {
        if (dropped > 0) {
          --dropped;
        } else if (groups.size() > 1) {
          if (groups.back().named) onEnd(groups);
          groups.pop_back();
        }
        continue;
      }
      if (dropped > 0) continue;
      Group& group = groups.back();
      if (!group.named) {
        if (t.kind != RtfToken::Kind::kControlWord && t.kind != RtfToken::Kind::kControlSymbol) {
          groups.pop_back();
          dropped = 1;
          continue;
        }
        group.named = true;
        group.name = t.kind == RtfToken::Kind::kControlWord ? WordText(t) : std::string(t.word);
      }
      onToken(t, groups);
    }
    while (groups.size() > 1) {
      if (groups.back().named) onEnd(groups);
      groups.pop_back();
    }
  }
};

// The first `limit` bytes of a UTF-8 text, not cutting a character.
std::string_view Cut(std::string_view text, size_t limit) {
  if (text.size() <= limit) return text;
  size_t end = limit;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

bool IsCharacterFormat(std::string_view name) { return name == "b" || name == "i" || name == "u"; }

}  // namespace

CRTF_HTMLConverter::CRTF_HTMLConverter() { Reset(); }

void CRTF_HTMLConverter::Reset() {
  codePage = "1252";
  currentColour_ = std::string(kDefaultColour);
  currentFace_ = std::string(kDefaultFace);
  currentSize_ = std::string(kDefaultSize);
  fonts_.clear();
  colours_.clear();
  paragraphOpen_ = paragraphHasText_ = fontOpen_ = false;
  paragraph_ = CHTMLElement{};
  open_.clear();
  pieces_.clear();
  written_ = 0;
  maxWritten_ = 0;
}

void CRTF_HTMLConverter::Convert() {
  output.clear();
  while (!input.empty() && input.back() == '\n') input.pop_back();
  while (!input.empty() && input.back() == '\r') input.pop_back();
  if (input.size() < 7 || !input.starts_with("{\\rtf1") || input.back() != '}') return;
  Reset();
  // The document group runs from the first character to the last, whatever lies between.
  const std::string_view body = std::string_view(input).substr(1, input.size() - 2);
  maxWritten_ = kMaxGrowth * input.size() + kMaxExtraBytes;
  ReadTables(body);
  output = "    <div>";
  ConvertBody(body);
  FlushParagraph();
  while (!open_.empty()) {
    Write("</" + open_.back().text + ">");
    open_.pop_back();
  }
  output += "</div>\r\n";
}

void CRTF_HTMLConverter::ReadTables(std::string_view body) {
  uint32_t red = 0, green = 0, blue = 0;
  auto finishColour = [&] {
    colours_.push_back((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
    red = green = blue = 0;
  };
  // Face names are decoded once the code page is known: hex bytes and text in turn.
  struct Font {
    std::string key;
    std::vector<std::pair<bool, std::string>> pieces;  // (bytes of the code page, text)
  };
  std::vector<Font> faces;
  Font face;
  auto inFontTable = [](const std::vector<GroupWalk::Group>& g) { return g.size() == 3 && g[1].name == "fonttbl"; };
  GroupWalk::Run(
      body,
      [&](const RtfToken& t, const std::vector<GroupWalk::Group>& groups) {
        if (groups.size() == 1) {
          if (t.kind == RtfToken::Kind::kControlWord && t.word == "ansicpg") codePage = WordText(t).substr(7);
        } else if (groups.size() == 2 && groups[1].name == "colortbl") {
          if (t.kind == RtfToken::Kind::kControlWord) {
            const uint32_t value = static_cast<uint32_t>(std::max(0, t.parameter));
            if (t.word == "red") red = value;
            else if (t.word == "green") green = value;
            else if (t.word == "blue") blue = value;
          } else if (t.kind == RtfToken::Kind::kText) {
            for (const char c : t.text) {
              if (c == ';') finishColour();
            }
          }
        } else if (inFontTable(groups)) {
          // Bytes that follow each other decode together; any other token ends them.
          const bool byte = t.kind == RtfToken::Kind::kHexByte && t.validHex;
          if (face.pieces.empty() || face.pieces.back().first != byte) face.pieces.emplace_back(byte, std::string());
          if (byte) face.pieces.back().second += static_cast<char>(t.byte);
          if (t.kind == RtfToken::Kind::kText) face.pieces.back().second += t.text;
        }
      },
      [&](const std::vector<GroupWalk::Group>& groups) {
        if (groups.size() == 2 && groups[1].name == "colortbl") {
          finishColour();  // the text after the last ";" is an entry too
        } else if (inFontTable(groups)) {
          face.key = groups[2].name;
          faces.push_back(std::move(face));
          face = Font{};
        }
      });
  const int32_t page = ParseNumber(codePage);
  for (const Font& f : faces) {
    std::string name;
    for (const auto& [bytes, text] : f.pieces) name += bytes ? DecodeCodePage(text, page) : text;
    std::erase(name, ';');
    fonts_[f.key] = std::string(Cut(TrimBlanks(name), kMaxFaceBytes));
  }
}

void CRTF_HTMLConverter::ConvertBody(std::string_view body) {
  const int32_t page = ParseNumber(codePage);
  std::string pending;
  std::string bytes;  // \'hh bytes of one run, decoded together
  int32_t unicodeSkip = 1;
  int32_t fallbackLeft = 0;
  char16_t high = 0;
  bool swallowSpace = false;
  auto flushBytes = [&] {
    if (bytes.empty()) return;
    const std::string text = DecodeCodePage(bytes, page);
    bytes.clear();
    for (size_t pos = 0; pos < text.size();) AppendReference(pending, DecodeUtf8(text, pos));
  };
  auto flushText = [&] {
    flushBytes();
    if (!pending.empty()) AddText(std::move(pending));
    pending.clear();
  };
  auto skipping = [&] {
    if (fallbackLeft <= 0) return false;
    --fallbackLeft;
    return true;
  };

  GroupWalk::Run(
      body,
      [&](const RtfToken& t, const std::vector<GroupWalk::Group>& groups) {
        if (groups.size() != 1 || written_ > maxWritten_) return;
        const bool swallow = swallowSpace;
        swallowSpace = false;
        if (t.kind != RtfToken::Kind::kHexByte) flushBytes();
        switch (t.kind) {
          case RtfToken::Kind::kText: {
            std::string_view text = t.text;
            if (swallow && text.starts_with(' ')) text.remove_prefix(1);
            while (!text.empty() && fallbackLeft > 0) {
              size_t next = 0;
              DecodeUtf8(text, next);
              text.remove_prefix(next);
              --fallbackLeft;
            }
            pending += TextAsHtml(text, page);
            break;
          }
          case RtfToken::Kind::kHexByte:
            if (skipping()) break;
            // One space after the escape belongs to it.
            swallowSpace = true;
            if (t.validHex) bytes += static_cast<char>(t.byte);
            break;
          case RtfToken::Kind::kControlSymbol:
            if (skipping()) break;
            if (t.word == "\\" || t.word == "{" || t.word == "}") pending += t.word;
            break;
          case RtfToken::Kind::kControlWord: {
            if (skipping()) break;
            if (t.word == "uc") {
              unicodeSkip = std::clamp(t.parameter, 0, 16);
              break;
            }
            if (t.word == "u" && t.hasParameter) {
              const char16_t unit = static_cast<char16_t>(t.parameter < 0 ? t.parameter + 65536 : t.parameter);
              if (unit >= 0xD800 && unit <= 0xDBFF) {
                high = unit;
              } else if (unit >= 0xDC00 && unit <= 0xDFFF && high != 0) {
                AppendReference(pending, 0x10000 + ((char32_t(high) - 0xD800) << 10) + (unit - 0xDC00));
                high = 0;
              } else if (unit < 0xD800 || unit > 0xDFFF) {
                AppendReference(pending, unit);
                high = 0;
              }
              fallbackLeft = unicodeSkip;
              break;
            }
            flushText();
            ProcessControlWord(WordText(t));
            break;
          }
          default:
            break;
        }
      },
      [](const std::vector<GroupWalk::Group>&) {});
  flushText();
}

void CRTF_HTMLConverter::AddText(std::string text) {
  if (paragraphOpen_ && !text.empty() && text != "\r" && text != "\n" && text != "\r\n" && text != "b") {
    paragraphHasText_ = true;
  }
  CHTMLElement e;
  e.kind = CHTMLElement::kText;
  e.text = std::move(text);
  Add(std::move(e));
}

void CRTF_HTMLConverter::ProcessControlWord(const std::string& word) {
  CHTMLElement record;
  auto tag = [&](CHTMLElement::Kind kind, std::string_view name) {
    record.kind = kind;
    record.text = std::string(name);
  };
  // Character formats.
  if (word == "b") tag(CHTMLElement::kOpen, "b");
  else if (word == "b0") tag(CHTMLElement::kClose, "b");
  else if (word == "i") tag(CHTMLElement::kOpen, "i");
  else if (word == "i0") tag(CHTMLElement::kClose, "i");
  else if (word == "ul") tag(CHTMLElement::kOpen, "u");
  else if (word == "ulnone") tag(CHTMLElement::kClose, "u");

  if (record.kind == CHTMLElement::kUndetermined && word == "par") {
    if (paragraphOpen_) {
      if (!paragraphHasText_) AddText("&nbsp;");
      CHTMLElement close;
      close.kind = CHTMLElement::kClose;
      close.text = "p";
      Add(std::move(close));
    }
    tag(CHTMLElement::kOpen, "p");
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("q")) {
    tag(CHTMLElement::kOpen, "font");
    const std::string_view rest = std::string_view(word).substr(1);
    const char* alignment = rest == "l" ? "left" : rest == "r" ? "right" : rest == "c" ? "center" : nullptr;
    // The alignment is the paragraph's, however late it comes.
    if (alignment != nullptr && paragraphOpen_) {
      paragraph_.attributes.assign(1, {"align", std::string("\"") + alignment + "\""});
    }
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("cf")) {
    tag(CHTMLElement::kOpen, "font");
    const int32_t n = ParseNumber(std::string_view(word).substr(2));
    if (static_cast<size_t>(n) < colours_.size()) {
      const uint32_t c = colours_[static_cast<size_t>(n)];
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
      currentColour_ = buffer;
    }
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("fs")) {
    tag(CHTMLElement::kOpen, "font");
    currentSize_ = FormatInt(std::min(ParseNumber(std::string_view(word).substr(2)), CharFormat::kMaxHalfPoints) / 2);
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("f") &&
      std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    tag(CHTMLElement::kOpen, "font");
    if (const auto it = fonts_.find(word); it != fonts_.end()) currentFace_ = it->second;
  }
  if (record.kind == CHTMLElement::kOpen && record.text == "font") {
    // Font elements never nest.
    if (fontOpen_) {
      CHTMLElement close;
      close.kind = CHTMLElement::kClose;
      close.text = "font";
      Add(std::move(close));
    }
    fontOpen_ = true;
    std::string style = "\"font-size: ";
    AppendAttributeValue(style, currentSize_);
    style += "pt; font-family:";
    AppendAttributeValue(style, currentFace_);
    style += ";\"";
    record.attributes.emplace_back("style", std::move(style));
    record.attributes.emplace_back("color", "\"" + currentColour_ + "\"");
  }
  if (record.kind != CHTMLElement::kUndetermined) Add(std::move(record));
}

void CRTF_HTMLConverter::Add(CHTMLElement record) {
  if (written_ > maxWritten_) return;
  if (record.kind == CHTMLElement::kOpen && record.text == "p") {
    // A new paragraph: the one before it is whole now.
    FlushParagraph();
    paragraphOpen_ = true;
    paragraphHasText_ = false;
    paragraph_ = record;
    pieces_.emplace_back();
  }
  Render(record);
}

void CRTF_HTMLConverter::Write(std::string_view html) {
  written_ += html.size();
  if (pieces_.empty()) {
    output += html;
  } else {
    pieces_.back() += html;
  }
}

void CRTF_HTMLConverter::WriteOpen(const CHTMLElement& e) {
  if (e.text == "p" && !pieces_.empty()) {
    // Its tag goes in when the paragraph is whole.
    pieces_.emplace_back();
    return;
  }
  std::string tag = "<" + e.text;
  for (const auto& [name, value] : e.attributes) tag += " " + name + " = " + value;
  tag += '>';
  Write(tag);
}

// The records may close a font inside a paragraph opened after it. The fragment is parsed as
// XML, so such a close also closes what was opened after it and opens that again; a close
// with nothing of its name open is left out.
void CRTF_HTMLConverter::Render(const CHTMLElement& e) {
  switch (e.kind) {
    case CHTMLElement::kOpen:
      if (IsCharacterFormat(e.text) &&
          std::any_of(open_.begin(), open_.end(), [&](const CHTMLElement& o) { return o.text == e.text; })) {
        return;  // already in force
      }
      WriteOpen(e);
      open_.push_back(e);
      break;
    case CHTMLElement::kClose: {
      size_t at = open_.size();
      while (at > 0 && open_[at - 1].text != e.text) --at;
      if (at == 0) break;
      for (size_t i = open_.size(); i-- > at - 1;) Write("</" + open_[i].text + ">");
      for (size_t i = at; i < open_.size(); ++i) WriteOpen(open_[i]);
      open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(at - 1));
      break;
    }
    case CHTMLElement::kText:
      Write(e.text);
      break;
    case CHTMLElement::kUndetermined:
      break;
  }
}

void CRTF_HTMLConverter::FlushParagraph() {
  if (pieces_.empty()) return;
  std::string tag = "<p";
  for (const auto& [name, value] : paragraph_.attributes) tag += " " + name + " = " + value;
  tag += '>';
  output += pieces_.front();
  for (size_t i = 1; i < pieces_.size(); ++i) {
    output += tag;
    output += pieces_[i];
  }
  pieces_.clear();
}

std::string ConvertRtfToHtml(CRTF_HTMLConverter& converter, std::string_view rtf) {
  converter.input = std::string(rtf);
  converter.Convert();
  return converter.output;
}

tinyxml2::XMLElement* RtfToHtmlElement(tinyxml2::XMLDocument& doc, std::string_view rtf) {
  if (rtf.empty()) return nullptr;
  CRTF_HTMLConverter converter;
  converter.title = "Preface converted document";
  const std::string html = ConvertRtfToHtml(converter, rtf);
  tinyxml2::XMLElement* element = doc.NewElement("rtf-text");
  tinyxml2::XMLDocument fragment;
  if (fragment.Parse(html.data(), html.size()) == tinyxml2::XML_SUCCESS) {
    for (const tinyxml2::XMLNode* node = fragment.FirstChild(); node != nullptr; node = node->NextSibling()) {
      if (node->ToElement() != nullptr) {
        element->InsertEndChild(DeepCopyXmlNode(node, doc));
        break;
      }
    }
  } else {
    element->SetText(html.c_str());
  }
  return element;
}

}  // namespace vornel
