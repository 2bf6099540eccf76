#include "platform/rtf/RtfToHtml.h"

#include <algorithm>
#include <cstdio>

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

// Builds the tree of groups without recursion. A group that does not start with a control
// word or symbol is left out with everything in it.
class TreeBuilder {
 public:
  explicit TreeBuilder(RtfGroupNode& document) { frames_.push_back({&document, false, false}); }

  void Add(const RtfToken& t) {
    Frame& top = frames_.back();
    if (t.kind == RtfToken::Kind::kGroupStart) {
      if (top.pendingName) {
        // "{{": the outer group has no name and is left out.
        top.pendingName = false;
        top.dropped = true;
      }
      if (frames_.size() > static_cast<size_t>(RtfReadLimits::kMaxGroupDepth) || top.dropped) {
        frames_.push_back({nullptr, true, false});
      } else {
        frames_.push_back({nullptr, false, true});
      }
      return;
    }
    if (t.kind == RtfToken::Kind::kGroupEnd) {
      // A surplus "}" closes nothing: what follows stays in the enclosing group.
      if (frames_.size() > 1) frames_.pop_back();
      return;
    }
    if (top.dropped) return;
    if (top.pendingName) {
      top.pendingName = false;
      if (t.kind != RtfToken::Kind::kControlWord && t.kind != RtfToken::Kind::kControlSymbol) {
        top.dropped = true;
        return;
      }
      RtfGroupNode* parent = nullptr;
      for (size_t i = frames_.size() - 1; i-- > 0;) {
        if (frames_[i].node != nullptr) {
          parent = frames_[i].node;
          break;
        }
      }
      auto node = std::make_unique<RtfGroupNode>();
      node->name = t.kind == RtfToken::Kind::kControlWord ? WordText(t) : std::string(t.word);
      top.node = node.get();
      parent->children.push_back(std::move(node));
    }
    top.node->own.push_back(t);
  }

 private:
  struct Frame {
    RtfGroupNode* node;
    bool dropped;
    bool pendingName;
  };
  std::vector<Frame> frames_;
};

}  // namespace

CRTF_HTMLConverter::CRTF_HTMLConverter() : root_(std::make_unique<RtfGroupNode>()) { Reset(); }

void CRTF_HTMLConverter::Reset() {
  codePage = "1252";
  currentColour_ = std::string(kDefaultColour);
  currentFace_ = std::string(kDefaultFace);
  currentSize_ = std::string(kDefaultSize);
  fonts_.clear();
  colours_.clear();
  elements_.clear();
}

void CRTF_HTMLConverter::Convert() {
  output.clear();
  while (!input.empty() && input.back() == '\n') input.pop_back();
  while (!input.empty() && input.back() == '\r') input.pop_back();
  if (input.size() < 7 || !input.starts_with("{\\rtf1") || input.back() != '}') return;
  Reset();
  root_ = std::make_unique<RtfGroupNode>();
  BuildGroupTree(input);
  if (root_->children.empty()) return;
  const RtfGroupNode& document = *root_->children.front();
  ParseHeader(document);
  TokenizeBody(document);
  output = "    " + RenderHtml() + "\r\n";
  root_ = std::make_unique<RtfGroupNode>();
}

void CRTF_HTMLConverter::BuildGroupTree(std::string_view rtf) {
  // The document group runs from the first character to the last, whatever lies between.
  auto document = std::make_unique<RtfGroupNode>();
  RtfGroupNode& node = *document;
  root_->children.push_back(std::move(document));
  RtfTokenizer tokens(rtf.substr(1, rtf.size() - 2));
  TreeBuilder builder(node);
  bool first = true;
  for (RtfToken t = tokens.Next(); t.kind != RtfToken::Kind::kEnd; t = tokens.Next()) {
    if (first && t.kind == RtfToken::Kind::kControlWord) node.name = WordText(t);
    first = false;
    builder.Add(t);
  }
}

void CRTF_HTMLConverter::ParseHeader(const RtfGroupNode& document) {
  for (const RtfToken& t : document.own) {
    if (t.kind == RtfToken::Kind::kControlWord && t.word == "ansicpg") codePage = WordText(t).substr(7);
  }
  const int32_t page = ParseNumber(codePage);
  for (const auto& child : document.children) {
    if (child->name == "colortbl") {
      uint32_t red = 0, green = 0, blue = 0;
      auto finish = [&] {
        colours_.push_back((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
        red = green = blue = 0;
      };
      for (size_t i = 1; i < child->own.size(); ++i) {
        const RtfToken& t = child->own[i];
        if (t.kind == RtfToken::Kind::kControlWord) {
          const uint32_t value = static_cast<uint32_t>(std::max(0, t.parameter));
          if (t.word == "red") red = value;
          else if (t.word == "green") green = value;
          else if (t.word == "blue") blue = value;
        } else if (t.kind == RtfToken::Kind::kText) {
          for (const char c : t.text) {
            if (c == ';') finish();
          }
        }
      }
      finish();  // the text after the last ";" is an entry too
    } else if (child->name == "fonttbl") {
      for (const auto& font : child->children) {
        std::string name;
        std::string bytes;
        for (const RtfToken& t : font->own) {
          if (t.kind == RtfToken::Kind::kHexByte && t.validHex) {
            bytes += static_cast<char>(t.byte);
            continue;
          }
          if (!bytes.empty()) name += DecodeCodePage(bytes, page);
          bytes.clear();
          if (t.kind == RtfToken::Kind::kText) name += t.text;
        }
        if (!bytes.empty()) name += DecodeCodePage(bytes, page);
        std::erase(name, ';');
        fonts_[font->name] = std::string(TrimBlanks(name));
      }
    }
  }
}

void CRTF_HTMLConverter::TokenizeBody(const RtfGroupNode& document) {
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

  for (const RtfToken& t : document.own) {
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
  }
  flushText();
}

void CRTF_HTMLConverter::AddText(std::string text) {
  CHTMLElement e;
  e.kind = CHTMLElement::kText;
  e.text = std::move(text);
  elements_.push_back(std::move(e));
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

  auto lastTag = [&](std::string_view name) -> CHTMLElement* {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
      if ((it->kind == CHTMLElement::kOpen || it->kind == CHTMLElement::kClose) && it->text == name) return &*it;
    }
    return nullptr;
  };

  if (record.kind == CHTMLElement::kUndetermined && word == "par") {
    size_t open = elements_.size();
    for (size_t i = elements_.size(); i-- > 0;) {
      const CHTMLElement& e = elements_[i];
      if ((e.kind == CHTMLElement::kOpen || e.kind == CHTMLElement::kClose) && e.text == "p") {
        if (e.kind == CHTMLElement::kOpen) open = i;
        break;
      }
    }
    if (open < elements_.size()) {
      bool empty = true;
      for (size_t i = open; i < elements_.size(); ++i) {
        const CHTMLElement& e = elements_[i];
        if (e.kind != CHTMLElement::kText) continue;
        if (!e.text.empty() && e.text != "\r" && e.text != "\n" && e.text != "\r\n" && e.text != "b") empty = false;
      }
      if (empty) AddText("&nbsp;");
      CHTMLElement close;
      close.kind = CHTMLElement::kClose;
      close.text = "p";
      elements_.push_back(std::move(close));
    }
    tag(CHTMLElement::kOpen, "p");
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("q")) {
    tag(CHTMLElement::kOpen, "font");
    const std::string_view rest = std::string_view(word).substr(1);
    const char* alignment = rest == "l" ? "left" : rest == "r" ? "right" : rest == "c" ? "center" : nullptr;
    if (alignment != nullptr) {
      for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        if (it->kind == CHTMLElement::kOpen && it->text == "p") {
          const std::string value = std::string("\"") + alignment + "\"";
          auto attr = std::find_if(it->attributes.begin(), it->attributes.end(),
                                   [](const auto& a) { return a.first == "align"; });
          if (attr != it->attributes.end()) {
            attr->second = value;
          } else {
            it->attributes.emplace_back("align", value);
          }
          break;
        }
      }
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
    currentSize_ = FormatInt(ParseNumber(std::string_view(word).substr(2)) / 2);
  }
  if (record.kind == CHTMLElement::kUndetermined && word.starts_with("f") &&
      std::all_of(word.begin() + 1, word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    tag(CHTMLElement::kOpen, "font");
    if (const auto it = fonts_.find(word); it != fonts_.end()) currentFace_ = it->second;
  }
  if (record.kind == CHTMLElement::kOpen && record.text == "font") {
    // Font elements never nest.
    if (const CHTMLElement* last = lastTag("font"); last != nullptr && last->kind == CHTMLElement::kOpen) {
      CHTMLElement close;
      close.kind = CHTMLElement::kClose;
      close.text = "font";
      elements_.push_back(std::move(close));
    }
    std::string style = "\"font-size: ";
    AppendAttributeValue(style, currentSize_);
    style += "pt; font-family:";
    AppendAttributeValue(style, currentFace_);
    style += ";\"";
    record.attributes.emplace_back("style", std::move(style));
    record.attributes.emplace_back("color", "\"" + currentColour_ + "\"");
  }
  if (record.kind != CHTMLElement::kUndetermined) elements_.push_back(std::move(record));
}

std::string CRTF_HTMLConverter::RenderHtml() const {
  std::string html = "<div>";
  auto open = [&](const CHTMLElement& e) {
    html += '<';
    html += e.text;
    for (const auto& [name, value] : e.attributes) {
      html += ' ';
      html += name;
      html += " = ";
      html += value;
    }
    html += '>';
  };
  auto close = [&](const CHTMLElement& e) {
    html += "</";
    html += e.text;
    html += '>';
  };
  // The records may close a font inside a paragraph opened after it. The fragment is parsed
  // as XML, so such a close also closes what was opened after it and opens that again; a
  // close with nothing of its name open is left out.
  std::vector<const CHTMLElement*> stack;
  for (const CHTMLElement& e : elements_) {
    switch (e.kind) {
      case CHTMLElement::kOpen:
        open(e);
        stack.push_back(&e);
        break;
      case CHTMLElement::kClose: {
        size_t at = stack.size();
        while (at > 0 && stack[at - 1]->text != e.text) --at;
        if (at == 0) break;
        for (size_t i = stack.size(); i-- > at;) close(*stack[i]);
        close(*stack[at - 1]);
        for (size_t i = at; i < stack.size(); ++i) open(*stack[i]);
        stack.erase(stack.begin() + static_cast<std::ptrdiff_t>(at - 1));
        break;
      }
      case CHTMLElement::kText:
        html += e.text;
        break;
      case CHTMLElement::kUndetermined:
        break;
    }
  }
  while (!stack.empty()) {
    close(*stack.back());
    stack.pop_back();
  }
  html += "</div>";
  return html;
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
