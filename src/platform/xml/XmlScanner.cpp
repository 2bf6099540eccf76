#include "platform/xml/XmlScanner.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/BuildBudget.h"

#include "platform/xml/XmlControls.h"

namespace vornel {

namespace {

using tinyxml2::XMLError;

// tinyxml2's classes of characters (in the C locale).
bool IsBlank(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u < 0x80 && std::isspace(u) != 0;
}

bool IsNameStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || std::isalpha(u) != 0 || c == ':' || c == '_';
}

bool IsNameChar(char c) {
  return IsNameStart(c) || std::isdigit(static_cast<unsigned char>(c)) != 0 || c == '.' || c == '-';
}

// `part` (text the scanner took) without its comments, each left as the line ends it held so
// that lines count as in the part. No reader wants comments, and tinyxml2 would copy them: a
// part padded with a huge comment must not cost its size twice.
std::string WithoutComments(std::string_view part) {
  std::string kept;
  size_t at = 0;
  while (at < part.size()) {
    const size_t open = part.find('<', at);
    if (open == std::string_view::npos) break;
    size_t end = open + 1;
    if (part.compare(open, 4, "<!--") == 0) {
      kept.append(part.substr(at, open - at));
      const size_t close = part.find("-->", open + 4);
      end = close == std::string_view::npos ? part.size() : close + 3;
      kept.append(static_cast<size_t>(std::count(part.begin() + static_cast<std::ptrdiff_t>(open),
                                                 part.begin() + static_cast<std::ptrdiff_t>(end), '\n')),
                  '\n');
      at = end;
      continue;
    }
    if (part.compare(open, 9, "<![CDATA[") == 0) {
      const size_t close = part.find("]]>", open + 9);
      end = close == std::string_view::npos ? part.size() : close + 3;
    } else {
      // A tag: its end is the first ">" outside quoted attribute values.
      char quote = 0;
      while (end < part.size() && (quote != 0 || part[end] != '>')) {
        if (quote != 0 && part[end] == quote) {
          quote = 0;
        } else if (quote == 0 && (part[end] == '"' || part[end] == '\'')) {
          quote = part[end];
        }
        ++end;
      }
      end = std::min(end + 1, part.size());
    }
    kept.append(part.substr(at, end - at));
    at = end;
  }
  kept.append(part.substr(std::min(at, part.size())));
  return kept;
}

}  // namespace

std::string XmlErrorText(XMLError error, size_t line, std::string_view detail) {
  char head[160];
  std::snprintf(head, sizeof head, "Error=%s ErrorID=%d (0x%x) Line number=%zu", tinyxml2::XMLDocument::ErrorIDToName(error),
                static_cast<int>(error), static_cast<unsigned>(error), line);
  std::string text = head;
  if (!detail.empty()) text += ": " + std::string(detail);
  return text;
}

XmlScanner::XmlScanner(std::string_view text) {
  // tinyxml2 reads up to the first zero byte and passes over a byte-order mark.
  const void* zero = text.empty() ? nullptr : std::memchr(text.data(), 0, text.size());
  if (zero != nullptr) text = text.substr(0, static_cast<size_t>(static_cast<const char*>(zero) - text.data()));
  text_ = text;
  if (text_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
}

size_t XmlScanner::LineOf(std::string_view part) const {
  const size_t offset = std::min(static_cast<size_t>(std::max<ptrdiff_t>(part.data() - text_.data(), 0)), text_.size());
  return 1 + static_cast<size_t>(std::count(text_.begin(), text_.begin() + static_cast<ptrdiff_t>(offset), '\n'));
}

XmlScanner::Node XmlScanner::Fail(XMLError error, size_t at, std::string_view detail) {
  if (error_.empty()) error_ = XmlErrorText(error, LineOf(text_.substr(std::min(at, text_.size()))), detail);
  pending_ = false;
  return Node::kFailed;
}

size_t XmlScanner::ReadTag(size_t at, bool& closing) {
  const size_t end = text_.size();
  const auto blanks = [&](size_t p) {
    while (p < end && IsBlank(text_[p])) ++p;
    return p;
  };
  const auto name = [&](size_t p) {
    while (p < end && IsNameChar(text_[p])) ++p;
    return p;
  };
  size_t p = blanks(at + 1);
  closing = p < end && text_[p] == '/';
  if (closing) ++p;
  if (p >= end || !IsNameStart(text_[p])) {
    Fail(XMLError::XML_ERROR_PARSING, at);
    return 0;
  }
  const size_t nameEnd = name(p);
  tag_.name = text_.substr(p, nameEnd - p);
  tag_.empty = false;
  p = nameEnd;
  const auto refuse = [&](XMLError error, std::string_view why = {}) {
    Fail(error, at, "XMLElement name=" + std::string(tag_.name) + std::string(why));
    return size_t{0};
  };
  std::vector<std::string_view> names;  // of a skipped element's attributes
  for (size_t count = 0;; ++count) {
    p = blanks(p);
    if (p < end && text_[p] == '>') {
      ++p;
      break;
    }
    if (p + 1 < end && text_[p] == '/' && text_[p + 1] == '>' && !closing) {
      tag_.empty = true;
      p += 2;
      break;
    }
    if (p >= end || !IsNameStart(text_[p])) return refuse(XMLError::XML_ERROR_PARSING_ELEMENT);
    // An attribute: name, "=", and a value within quotes of one kind.
    const size_t attributeEnd = name(p);
    const std::string_view attribute = text_.substr(p, attributeEnd - p);
    p = blanks(attributeEnd);
    if (p >= end || text_[p] != '=') return refuse(XMLError::XML_ERROR_PARSING_ATTRIBUTE);
    p = blanks(p + 1);
    if (p >= end || (text_[p] != '"' && text_[p] != '\'')) return refuse(XMLError::XML_ERROR_PARSING_ATTRIBUTE);
    const size_t close = text_.find(text_[p], p + 1);
    if (close == std::string_view::npos) return refuse(XMLError::XML_ERROR_PARSING_ATTRIBUTE);
    p = close + 1;
    if (count == kMaxXmlAttributes) {
      return refuse(XMLError::XML_ERROR_PARSING_ATTRIBUTE,
                    " carries more than " + std::to_string(kMaxXmlAttributes) + " attributes");
    }
    if (skipping_) {
      if (std::find(names.begin(), names.end(), attribute) != names.end()) {
        return refuse(XMLError::XML_ERROR_PARSING_ATTRIBUTE);
      }
      names.push_back(attribute);
    }
  }
  tag_.text = text_.substr(at, p - at);
  return p;
}

XmlScanner::Node XmlScanner::NextNode() {
  if (Failed()) return Node::kFailed;
  if (enteredEmpty_) {
    enteredEmpty_ = false;
    return Node::kEnd;
  }
  if (finished_ && open_.empty()) return Node::kEnd;
  const size_t end = text_.size();
  while (pos_ < end && IsBlank(text_[pos_])) ++pos_;
  if (pos_ >= end) {
    if (open_.empty()) return Node::kEnd;
    return Fail(XMLError::XML_ERROR_MISMATCHED_ELEMENT, open_.back().start, "XMLElement name=" + std::string(open_.back().name));
  }
  const size_t at = pos_;
  const std::string_view rest = text_.substr(at);
  const auto other = [&](std::string_view close, XMLError error) {
    const size_t found = text_.find(close, at + 2);
    if (found == std::string_view::npos) return Fail(error, at);
    pos_ = found + close.size();
    other_ = text_.substr(at, pos_ - at);
    if (open_.empty()) otherAtTop_ = true;
    return Node::kOther;
  };
  if (rest.front() != '<') {
    const size_t lt = text_.find('<', at);
    if (lt == std::string_view::npos) return Fail(XMLError::XML_ERROR_PARSING_TEXT, at);
    pos_ = lt;
    other_ = text_.substr(at, lt - at);
    if (open_.empty()) otherAtTop_ = true;
    return Node::kOther;
  }
  if (rest.starts_with("<?")) {
    // Declarations stand first in the document, before anything else.
    if (!open_.empty() || otherAtTop_) {
      const size_t found = text_.find("?>", at + 2);
      const std::string_view value = text_.substr(at + 2, found == std::string_view::npos ? 0 : found - at - 2);
      return Fail(XMLError::XML_ERROR_PARSING_DECLARATION, at, "XMLDeclaration value=" + std::string(value));
    }
    const size_t found = text_.find("?>", at + 2);
    if (found == std::string_view::npos) return Fail(XMLError::XML_ERROR_PARSING_DECLARATION, at);
    pos_ = found + 2;
    other_ = text_.substr(at, pos_ - at);
    return Node::kOther;
  }
  if (rest.starts_with("<!--")) return other("-->", XMLError::XML_ERROR_PARSING_COMMENT);
  if (rest.starts_with("<![CDATA[")) return other("]]>", XMLError::XML_ERROR_PARSING_CDATA);
  if (rest.starts_with("<!")) return other(">", XMLError::XML_ERROR_PARSING_UNKNOWN);

  bool closing = false;
  const size_t after = ReadTag(at, closing);
  if (after == 0) return Node::kFailed;
  if (open_.empty()) otherAtTop_ = true;
  pos_ = after;
  if (closing) {
    if (open_.empty()) {
      // tinyxml2 ends the document at a stray end tag and reads nothing after it.
      finished_ = true;
      return Node::kEnd;
    }
    if (tag_.name != open_.back().name) {
      return Fail(XMLError::XML_ERROR_MISMATCHED_ELEMENT, open_.back().start,
                  "XMLElement name=" + std::string(open_.back().name));
    }
    open_.pop_back();
    return Node::kEnd;
  }
  if (!tag_.empty && open_.size() >= kMaxXmlDepth) {
    return Fail(XMLError::XML_ELEMENT_DEPTH_EXCEEDED, after, "Element nesting is too deep.");
  }
  tagStart_ = at;
  pending_ = true;
  return Node::kElement;
}

XmlScanner::Node XmlScanner::Next() {
  if (pending_ && !SkipPending(true)) return Node::kFailed;
  return NextNode();
}

void XmlScanner::EnterPending() {
  pending_ = false;
  if (tag_.empty) {
    enteredEmpty_ = true;
  } else {
    open_.push_back({tag_.name, tagStart_});
  }
}

void XmlScanner::Enter() {
  if (pending_) EnterPending();
}

bool XmlScanner::SkipElement() { return SkipPending(true); }

// An element taken whole is parsed by tinyxml2, which checks its attributes for duplicates;
// one passed over is checked here.
bool XmlScanner::SkipPending(bool checkDuplicates) {
  if (!pending_) return !Failed();
  pending_ = false;
  if (tag_.empty) return true;
  const size_t depth = open_.size();
  open_.push_back({tag_.name, tagStart_});
  const bool outer = skipping_;
  skipping_ = checkDuplicates;
  for (;;) {
    const Node node = NextNode();
    if (node == Node::kFailed) break;
    if (node == Node::kElement) {
      EnterPending();
      enteredEmpty_ = false;  // an empty element has nothing to walk
    } else if (node == Node::kEnd && open_.size() <= depth) {
      break;
    }
  }
  skipping_ = outer;
  return !Failed();
}

std::string_view XmlScanner::TakeElement() {
  if (!pending_) return {};
  const size_t start = tagStart_;
  if (!SkipPending(false)) return {};
  return text_.substr(start, pos_ - start);
}

bool XmlScanner::SkipRest() {
  skipping_ = true;
  for (;;) {
    const Node node = Next();
    if (node == Node::kFailed || node == Node::kEnd) break;
  }
  skipping_ = false;
  return !Failed();
}

bool XmlScanner::Check(std::string_view text, std::string* error) {
  XmlScanner scanner(text);
  if (scanner.SkipRest()) return true;
  if (error != nullptr) *error = scanner.Error();
  return false;
}

// ---------------------------------------------------------------------------------------------

const tinyxml2::XMLElement* XmlPartParser::Parse(std::string_view part, std::string_view origin) {
  error_.clear();
  if (part.find("<!--") != std::string_view::npos) {
    // tinyxml2 keeps its own copy: the text without comments lives only while it is parsed.
    const std::string kept = WithoutComments(part);
    return ParseKept(kept, origin.empty() ? part : origin);
  }
  return ParseKept(part, origin.empty() ? part : origin);
}

XmlPartParser::~XmlPartParser() { CreditBuilt(charged_); }

const tinyxml2::XMLElement* XmlPartParser::ParseKept(std::string_view part, std::string_view origin) {
  // The tree of the part before goes, and the new one is charged to the reading under way
  // before tinyxml2 builds it.
  doc_.Clear();
  CreditBuilt(std::exchange(charged_, 0));
  const uint64_t weight = ParsedXmlWeight(part.data(), part.size());
  ChargeBuilt(weight);
  charged_ = weight;
  if (doc_.Parse(part.data(), part.size()) != tinyxml2::XML_SUCCESS) {
    // tinyxml2 counts lines from the part's start; the reader wants them in the whole text.
    const size_t line = scanner_.LineOf(origin) + static_cast<size_t>(std::max(doc_.ErrorLineNum(), 1)) - 1;
    std::string detail = doc_.ErrorStr();
    const size_t colon = detail.find(": ", detail.find("Line number="));
    detail = colon == std::string::npos ? std::string() : detail.substr(colon + 2);
    error_ = XmlErrorText(doc_.ErrorID(), line, detail);
    return nullptr;
  }
  DecodeXmlControls(doc_);
  const tinyxml2::XMLElement* element = doc_.FirstChildElement();
  if (element == nullptr) error_ = XmlErrorText(tinyxml2::XML_ERROR_PARSING, scanner_.LineOf(origin));
  return element;
}

const tinyxml2::XMLElement* XmlPartParser::ParseStartTag(const XmlScanner::Tag& tag) {
  if (tag.empty) return Parse(tag.text);
  built_.assign(tag.text.substr(0, tag.text.size() - 1));
  built_ += "/>";
  return Parse(built_, tag.text);
}

bool ParseCheckedXml(tinyxml2::XMLDocument& doc, std::string_view text, std::string* error) {
  std::string why;
  if (!XmlScanner::Check(text, &why)) {
    if (error != nullptr) *error = why;
    return false;
  }
  if (doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS) {
    DecodeXmlControls(doc);
    return true;
  }
  if (error != nullptr) *error = doc.ErrorStr();
  return false;
}

}  // namespace vornel
