#include "platform/rtf/RtfReader.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/rtf/RtfTokenizer.h"
#include "platform/text/CodePages.h"
#include "platform/text/TextConversion.h"
#include "platform/text/TextEdits.h"

namespace vornel {

namespace {

// Where the text of a group goes.
enum class Destination : uint8_t {
  kBody,
  kSkip,
  kFontTable,
  kColourTable,
  kPicture,
  kBulletDefinition,  // \*\pn
  kBulletText,        // \pntxtb inside \pn
  kObject,            // \object: only its \result is read
};

// Groups whose text is never shown, whether or not they are marked with \*.
constexpr std::array<std::string_view, 36> kSkippedDestinations = {
    "stylesheet", "info",      "pntext",     "header",     "headerl",   "headerr",     "headerf",
    "footer",     "footerl",   "footerr",    "footerf",    "footnote",  "listtable",   "listoverridetable",
    "revtbl",     "rsidtbl",   "generator",  "xmlnstbl",   "nonshppict", "objdata",    "objclass",
    "objname",    "fldinst",   "themedata",  "colorschememapping", "latentstyles", "datastore", "pgdsctbl",
    "mmathPr",    "tc",        "xe",         "private",    "userprops", "docvar",      "pntxta",
    "comment"};

// Groups that add nothing of their own: their content belongs to the enclosing text.
constexpr std::array<std::string_view, 3> kTransparentDestinations = {"shppict", "field", "fldrslt"};

constexpr size_t kMaxTabs = 64;
// Lengths beyond 22 inches and sizes beyond what a page shows are taken as their bounds.
constexpr int32_t kMaxTwips = 31680;
constexpr int32_t kMaxHalfPoints = CharFormat::kMaxHalfPoints;

int32_t Length(int32_t v) { return std::clamp(v, -kMaxTwips, kMaxTwips); }
constexpr size_t kMaxBulletCharacters = 8;
constexpr int32_t kMaxFallback = 16;

template <size_t N>
bool Contains(const std::array<std::string_view, N>& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

bool IsUnderlineOn(std::string_view w) {
  return w == "uld" || w == "uldb" || w == "ulw" || w == "ulwave" || w == "uldash" || w == "uldashd" ||
         w == "uldashdd" || w == "ulth" || w == "ulhwave" || w == "ululdbwave" || w == "ulthd" ||
         w == "ulthdash" || w == "ulldash" || w == "ulthldash" || w == "ulthdashd" || w == "ulthdashdd";
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

struct GroupState {
  Destination destination = Destination::kBody;
  CharFormat chars;
  ParaFormat para;
  int32_t unicodeSkip = 1;  // \ucN
};

class Reader {
 public:
  Reader(std::string_view rtf, const RtfReadLimits& limits) : tokens_(rtf), limits_(limits) {}

  RtfReadResult Run();

 private:
  GroupState& State() { return stack_.back(); }

  void GroupStart();
  void GroupEnd();
  void ControlWord(const RtfToken& t);
  void ControlSymbol(const RtfToken& t);
  void Text(std::string_view text);
  void DecodeText(std::string_view text);
  void HexByte(const RtfToken& t);
  void Binary(std::string_view data);

  // Starts the destination a group's first control word names; false when the word is no
  // destination.
  bool StartDestination(std::string_view word, bool starred);
  void BodyWord(const RtfToken& t);
  void PictureWord(const RtfToken& t);
  void FontTableWord(const RtfToken& t);

  // Characters of the body in the current format; false when the limit is reached.
  bool AppendText(std::string_view utf8, size_t characters);
  void AppendCodePoint(char32_t cp);
  void AppendPicture();
  void EndParagraph();
  // Decodes the bytes collected from \'hh and 8-bit text into the destination.
  void FlushBytes();
  // Text of destinations other than the body (font names, bullet text).
  void AppendToDestination(std::string_view utf8);
  void FinishFont();
  bool SkippingFallback();
  int32_t CurrentCodePage();
  void Stop() { stopped_ = true; }

  RtfTokenizer tokens_;
  RtfReadLimits limits_;
  RichDocument doc_;
  std::vector<GroupState> stack_;
  RichParagraph paragraph_;
  size_t characters_ = 0;
  bool stopped_ = false;
  bool done_ = false;
  bool groupStart_ = false;  // the last token opened a group
  bool starred_ = false;     // ... and was followed by \*
  int32_t fallbackLeft_ = 0;
  char16_t highSurrogate_ = 0;
  std::string bytes_;         // code-page bytes not yet decoded
  // The right edges of the table row being read (\cellx); a row is read as one paragraph
  // whose cells follow each other at tab stops on those edges.
  std::vector<int32_t> rowCells_;

  // The font entry being read.
  bool fontPending_ = false;
  size_t fontDepth_ = 0;
  RichFont font_;
  // The colour entry being read.
  RichColour colour_{true, 0};
  // The picture being read.
  RichPicture picture_;
  int hexHigh_ = -1;
  // The bullet definition being read.
  ParaFormat bullet_;
  bool bulletIsBullet_ = false;
  size_t bulletCharacters_ = 0;
};

RtfReadResult Reader::Run() {
  stack_.reserve(64);
  // The level outside the document group; a stray "}" at the top ends the read.
  stack_.push_back(GroupState{});
  State().destination = Destination::kSkip;
  while (!done_ && !stopped_) {
    const RtfToken t = tokens_.Next();
    if (t.kind != RtfToken::Kind::kHexByte && t.kind != RtfToken::Kind::kText) FlushBytes();
    const bool firstInGroup = groupStart_;
    groupStart_ = false;
    switch (t.kind) {
      case RtfToken::Kind::kEnd:
        done_ = true;
        break;
      case RtfToken::Kind::kGroupStart:
        GroupStart();
        break;
      case RtfToken::Kind::kGroupEnd:
        GroupEnd();
        break;
      case RtfToken::Kind::kControlWord:
        if (firstInGroup && StartDestination(t.word, starred_)) break;
        if (firstInGroup && starred_) {
          // An unknown \* destination is skipped whole.
          State().destination = Destination::kSkip;
          break;
        }
        ControlWord(t);
        break;
      case RtfToken::Kind::kControlSymbol:
        if (firstInGroup && t.IsSymbol('*')) {
          groupStart_ = true;
          starred_ = true;
          break;
        }
        ControlSymbol(t);
        break;
      case RtfToken::Kind::kHexByte:
        HexByte(t);
        break;
      case RtfToken::Kind::kText:
        Text(t.text);
        break;
      case RtfToken::Kind::kBinary:
        Binary(t.text);
        break;
    }
    if (!groupStart_) starred_ = false;
  }
  FlushBytes();
  if (tokens_.Truncated()) stopped_ = true;
  // What follows the last \par is the last paragraph.
  if (stack_.size() > 1) {
    paragraph_.format = State().para;
    paragraph_.markFormat = State().chars;
  }
  doc_.paragraphs.push_back(std::move(paragraph_));
  RtfReadResult result;
  result.document = std::move(doc_);
  result.stopped = stopped_;
  return result;
}

void Reader::GroupStart() {
  if (static_cast<int>(stack_.size()) > limits_.maxGroupDepth) {
    Stop();
    return;
  }
  fallbackLeft_ = 0;
  stack_.push_back(stack_.back());
  if (stack_.size() == 2) State().destination = Destination::kBody;  // the document group
  groupStart_ = true;
  starred_ = false;
}

void Reader::GroupEnd() {
  fallbackLeft_ = 0;
  if (stack_.size() <= 1) return;  // a "}" before any group: nothing to close
  const GroupState closed = std::move(stack_.back());
  stack_.pop_back();
  if (stack_.size() == 1) {
    // The document group has ended; whatever follows is not read.
    stack_.push_back(closed);  // the last paragraph keeps the formats in force at the end
    done_ = true;
    return;
  }
  const Destination outer = State().destination;
  switch (closed.destination) {
    case Destination::kPicture:
      if (outer != Destination::kPicture) AppendPicture();
      break;
    case Destination::kBulletDefinition:
      if (outer != Destination::kBulletDefinition && outer != Destination::kBulletText) {
        // Only bullets are kept; numbered lists show as plain paragraphs.
        ParaFormat& para = State().para;
        const ParaFormat plain;
        para.bullet = bulletIsBullet_;
        para.bulletFont = bulletIsBullet_ ? bullet_.bulletFont : plain.bulletFont;
        para.bulletIndent = bulletIsBullet_ ? bullet_.bulletIndent : plain.bulletIndent;
        para.bulletText = bulletIsBullet_ ? bullet_.bulletText : plain.bulletText;
      }
      break;
    case Destination::kFontTable:
      if (fontPending_ && stack_.size() < fontDepth_) FinishFont();
      break;
    default:
      break;
  }
}

bool Reader::StartDestination(std::string_view word, bool starred) {
  GroupState& s = State();
  const Destination current = s.destination;
  if (current == Destination::kSkip) return true;
  if (current == Destination::kObject) {
    if (word == "result") s.destination = Destination::kBody;
    return word == "result";
  }
  if (word == "fonttbl") {
    s.destination = Destination::kFontTable;
    return true;
  }
  if (word == "colortbl") {
    s.destination = Destination::kColourTable;
    colour_ = RichColour{true, 0};
    return true;
  }
  if (Contains(kSkippedDestinations, word)) {
    s.destination = Destination::kSkip;
    return true;
  }
  if (Contains(kTransparentDestinations, word)) return true;
  if (word == "pict") {
    s.destination = Destination::kPicture;
    picture_ = RichPicture{};
    picture_.format = RichPicture::Format::kOther;
    hexHigh_ = -1;
    return true;
  }
  if (word == "object") {
    s.destination = Destination::kObject;
    return true;
  }
  if (word == "pn") {
    s.destination = Destination::kBulletDefinition;
    bullet_ = ParaFormat{};
    bulletIsBullet_ = false;
    return true;
  }
  if (word == "pntxtb" && current == Destination::kBulletDefinition) {
    s.destination = Destination::kBulletText;
    bullet_.bulletText.clear();
    bulletCharacters_ = 0;
    return true;
  }
  (void)starred;
  return false;
}

void Reader::ControlWord(const RtfToken& t) {
  const Destination d = State().destination;
  if (d == Destination::kSkip || d == Destination::kObject) return;
  if (SkippingFallback()) return;
  if (t.word == "uc") {
    State().unicodeSkip = std::clamp(t.hasParameter ? t.parameter : 1, 0, kMaxFallback);
    return;
  }
  if (t.word == "u" && t.hasParameter) {
    const char16_t unit = static_cast<char16_t>(t.parameter < 0 ? t.parameter + 65536 : t.parameter);
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (highSurrogate_ != 0) AppendCodePoint(0xFFFD);  // the lone one before is replaced first
      highSurrogate_ = unit;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      if (highSurrogate_ != 0) {
        const char32_t cp = 0x10000 + ((char32_t(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
        highSurrogate_ = 0;
        AppendCodePoint(cp);
      } else {
        AppendCodePoint(0xFFFD);
      }
    } else {
      AppendCodePoint(unit);
    }
    fallbackLeft_ = State().unicodeSkip;
    return;
  }
  switch (d) {
    case Destination::kBody:
      BodyWord(t);
      break;
    case Destination::kPicture:
      PictureWord(t);
      break;
    case Destination::kFontTable:
      FontTableWord(t);
      break;
    case Destination::kColourTable: {
      const int32_t v = std::clamp(t.parameter, 0, 255);
      if (t.word == "red") {
        colour_.automatic = false;
        colour_.rgb = (colour_.rgb & 0xFFFF00) | static_cast<COLORREF>(v);
      } else if (t.word == "green") {
        colour_.automatic = false;
        colour_.rgb = (colour_.rgb & 0xFF00FF) | (static_cast<COLORREF>(v) << 8);
      } else if (t.word == "blue") {
        colour_.automatic = false;
        colour_.rgb = (colour_.rgb & 0x00FFFF) | (static_cast<COLORREF>(v) << 16);
      }
      break;
    }
    case Destination::kBulletDefinition:
      if (t.word == "pnlvlblt") {
        bulletIsBullet_ = true;
      } else if (t.word == "pnlvlbody" || t.word == "pnlvlcont") {
        bulletIsBullet_ = false;
      } else if (t.word == "pnf") {
        bullet_.bulletFont = std::max(-1, t.parameter);
      } else if (t.word == "pnindent") {
        bullet_.bulletIndent = Length(t.parameter);
      }
      break;
    default:
      break;
  }
}

void Reader::BodyWord(const RtfToken& t) {
  const std::string_view w = t.word;
  const int32_t p = t.parameter;
  const bool on = !t.hasParameter || p != 0;
  GroupState& s = State();
  CharFormat& c = s.chars;
  ParaFormat& para = s.para;
  switch (w.empty() ? '\0' : w[0]) {
    case 'a':
      if (w == "ansicpg" && t.hasParameter && p > 0) doc_.codePage = p;
      return;
    case 'b':
      if (w == "b") c.bold = on;
      else if (w == "bullet") AppendCodePoint(0x2022);
      return;
    case 'c':
      if (w == "cf") {
        c.colour = std::max(0, p);
      } else if (w == "cellx" && rowCells_.size() < kMaxTabs) {
        rowCells_.push_back(Length(p));
      } else if (w == "cell") {
        // The next cell starts at the right edge of the cells before it.
        for (size_t k = 0; k + 1 < rowCells_.size() && para.tabs.size() < kMaxTabs; ++k) {
          if (std::find(para.tabs.begin(), para.tabs.end(), rowCells_[k]) == para.tabs.end()) {
            para.tabs.push_back(rowCells_[k]);
          }
        }
        AppendText("\t", 1);
      }
      return;
    case 'd':
      if (w == "deff" && t.hasParameter) {
        doc_.defaultFont = p;
        c.font = p;
      } else if (w == "deflang") {
        doc_.defaultLanguage = p;
      } else if (w == "deftab" && p > 0) {
        doc_.defaultTab = std::min(p, kMaxTwips);
      }
      return;
    case 'e':
      if (w == "emdash") AppendCodePoint(0x2014);
      else if (w == "endash") AppendCodePoint(0x2013);
      else if (w == "emspace") AppendCodePoint(0x2003);
      else if (w == "enspace") AppendCodePoint(0x2002);
      return;
    case 'f':
      if (w == "f" && t.hasParameter) c.font = p;
      else if (w == "fs" && p > 0) c.halfPoints = std::min(p, kMaxHalfPoints);
      else if (w == "fi") para.firstIndent = Length(p);
      return;
    case 'i':
      if (w == "i") c.italic = on;
      return;
    case 'l':
      if (w == "line") AppendText("\n", 1);
      else if (w == "li") para.leftIndent = Length(p);
      else if (w == "lquote") AppendCodePoint(0x2018);
      else if (w == "ldblquote") AppendCodePoint(0x201C);
      return;
    case 'p':
      if (w == "par" || w == "page" || w == "sect") {
        EndParagraph();
      } else if (w == "pard") {
        para = ParaFormat{};
      } else if (w == "plain") {
        c = CharFormat{};
        c.font = doc_.defaultFont;
      }
      return;
    case 'q':
      if (w == "ql") para.alignment = ParaFormat::kLeft;
      else if (w == "qc") para.alignment = ParaFormat::kCenter;
      else if (w == "qr") para.alignment = ParaFormat::kRight;
      else if (w == "qj") para.alignment = ParaFormat::kJustify;
      return;
    case 'r':
      if (w == "row") EndParagraph();
      else if (w == "ri") para.rightIndent = Length(p);
      else if (w == "rquote") AppendCodePoint(0x2019);
      else if (w == "rdblquote") AppendCodePoint(0x201D);
      return;
    case 's':
      if (w == "sb") para.spaceBefore = std::clamp(p, 0, kMaxTwips);
      else if (w == "sa") para.spaceAfter = std::clamp(p, 0, kMaxTwips);
      return;
    case 't':
      if (w == "tab") {
        AppendText("\t", 1);
      } else if (w == "trowd") {
        rowCells_.clear();
      } else if ((w == "tx" || w == "tb") && t.hasParameter && para.tabs.size() < kMaxTabs) {
        para.tabs.push_back(Length(p));
      }
      return;
    case 'u':
      if (w == "ul") c.underline = on;
      else if (w == "ulnone") c.underline = false;
      else if (IsUnderlineOn(w)) c.underline = true;
      return;
    default:
      return;
  }
}

void Reader::PictureWord(const RtfToken& t) {
  const std::string_view w = t.word;
  const int32_t p = t.parameter;
  RichPicture& pic = picture_;
  using F = RichPicture::Format;
  const int32_t param = t.hasParameter && p >= 0 ? p : -1;
  // A format word names the data; the last one given counts.
  const auto format = [&](F f, int32_t parameter, std::string_view other = {}) {
    pic.format = f;
    pic.formatParameter = parameter;
    pic.otherWord = std::string(other);
  };
  if (w == "pngblip") {
    format(F::kPng, -1);
  } else if (w == "jpegblip") {
    format(F::kJpeg, -1);
  } else if (w == "emfblip") {
    format(F::kEmf, -1);
  } else if (w == "wmetafile") {
    format(F::kWmf, param);
  } else if (w == "dibitmap") {
    format(F::kDib, param);
  } else if (w == "wbitmap") {
    format(F::kDdb, param);
  } else if (w == "macpict" || w == "pmmetafile") {
    format(F::kOther, param, w);
  } else if (w == "picw") {
    pic.width = p;
  } else if (w == "pich") {
    pic.height = p;
  } else if (w == "picwgoal") {
    pic.goalWidth = p;
  } else if (w == "pichgoal") {
    pic.goalHeight = p;
  } else if (w == "picscalex") {
    pic.scaleX = p;
  } else if (w == "picscaley") {
    pic.scaleY = p;
  } else if (w == "piccropl") {
    pic.cropLeft = p;
  } else if (w == "piccropt") {
    pic.cropTop = p;
  } else if (w == "piccropr") {
    pic.cropRight = p;
  } else if (w == "piccropb") {
    pic.cropBottom = p;
  } else if (w == "wbmbitspixel") {
    pic.bitsPerPixel = p;
  } else if (w == "wbmplanes") {
    pic.planes = p;
  } else if (w == "wbmwidthbytes") {
    pic.widthBytes = p;
  }
}

void Reader::FontTableWord(const RtfToken& t) {
  const std::string_view w = t.word;
  if (w == "f" && t.hasParameter) {
    if (fontPending_) FinishFont();
    font_ = RichFont{};
    font_.number = t.parameter;
    fontPending_ = true;
    fontDepth_ = stack_.size();
    return;
  }
  if (!fontPending_) return;
  if (w == "fnil") font_.family = RichFont::kNil;
  else if (w == "froman") font_.family = RichFont::kRoman;
  else if (w == "fswiss") font_.family = RichFont::kSwiss;
  else if (w == "fmodern") font_.family = RichFont::kModern;
  else if (w == "fscript") font_.family = RichFont::kScript;
  else if (w == "fdecor") font_.family = RichFont::kDecor;
  else if (w == "ftech") font_.family = RichFont::kTech;
  else if (w == "fbidi") font_.family = RichFont::kBidi;
  else if (w == "fcharset") font_.charset = t.parameter;
  else if (w == "fprq") font_.pitch = std::max(0, t.parameter);
}

// Control characters have no place in a name.
std::string WithoutControls(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out;
}

void Reader::FinishFont() {
  fontPending_ = false;
  font_.name = std::string(TrimBlanks(WithoutControls(font_.name)));
  for (RichFont& f : doc_.fonts) {
    if (f.number == font_.number) {
      f = std::move(font_);
      return;
    }
  }
  doc_.fonts.push_back(std::move(font_));
}

void Reader::ControlSymbol(const RtfToken& t) {
  const Destination d = State().destination;
  if (d == Destination::kSkip || d == Destination::kObject) return;
  if (SkippingFallback()) return;
  const char c = t.word.empty() ? '\0' : t.word[0];
  switch (c) {
    case '\\':
    case '{':
    case '}':
      if (d == Destination::kBody) {
        AppendText(t.word, 1);
      } else {
        AppendToDestination(t.word);
      }
      break;
    case '~':
      if (d == Destination::kBody) AppendCodePoint(0x00A0);
      break;
    case '_':
      if (d == Destination::kBody) AppendCodePoint(0x2011);
      break;
    case '\r':
    case '\n':
      if (d == Destination::kBody) EndParagraph();
      break;
    default:
      break;
  }
}

bool Reader::SkippingFallback() {
  if (fallbackLeft_ <= 0) return false;
  --fallbackLeft_;
  return true;
}

void Reader::Text(std::string_view text) {
  const Destination d = State().destination;
  if (d == Destination::kSkip || d == Destination::kObject) return;
  if (d == Destination::kPicture) {
    for (const char ch : text) {
      const int v = HexValue(ch);
      if (v < 0) continue;
      if (hexHigh_ < 0) {
        hexHigh_ = v;
      } else {
        picture_.data.push_back(static_cast<uint8_t>(hexHigh_ * 16 + v));
        hexHigh_ = -1;
      }
    }
    return;
  }
  if (d == Destination::kColourTable) {
    for (const char ch : text) {
      if (ch != ';') continue;
      doc_.colours.push_back(colour_);
      colour_ = RichColour{true, 0};
    }
    return;
  }
  if (d == Destination::kFontTable) {
    // A font's name runs to its ';'.
    while (fontPending_ && !text.empty()) {
      const size_t end = text.find(';');
      DecodeText(text.substr(0, end));
      if (end == std::string_view::npos) return;
      FlushBytes();
      FinishFont();
      text.remove_prefix(end + 1);
    }
    return;
  }
  DecodeText(text);
}

void Reader::DecodeText(std::string_view text) {
  // Line ends are no text; 8-bit bytes are UTF-8 when they form a character, else bytes of
  // the code page.
  size_t i = 0;
  while (i < text.size() && !stopped_) {
    const unsigned char ch = static_cast<unsigned char>(text[i]);
    if (ch == '\r' || ch == '\n') {
      ++i;
      continue;
    }
    if (SkippingFallback()) {
      size_t next = i;
      DecodeUtf8(text, next);
      i = ch < 0x80 ? i + 1 : (next - i > 1 ? next : i + 1);
      continue;
    }
    if (ch >= 0x80) {
      size_t next = i;
      DecodeUtf8(text, next);
      if (next - i > 1) {
        FlushBytes();
        AppendToDestination(text.substr(i, next - i));
        i = next;
      } else {
        bytes_ += static_cast<char>(ch);
        ++i;
      }
      continue;
    }
    FlushBytes();
    // A stretch of plain ASCII goes in at once.
    size_t end = i;
    while (end < text.size()) {
      const unsigned char e = static_cast<unsigned char>(text[end]);
      if (e >= 0x80 || e == '\r' || e == '\n' || e == 0) break;
      ++end;
    }
    if (end == i) {
      ++i;  // a NUL byte is no text
      continue;
    }
    AppendToDestination(text.substr(i, end - i));
    i = end;
  }
}

void Reader::HexByte(const RtfToken& t) {
  const Destination d = State().destination;
  if (d == Destination::kSkip || d == Destination::kObject || d == Destination::kPicture) return;
  if (SkippingFallback()) return;
  if (!t.validHex) return;
  if (d == Destination::kColourTable) return;
  bytes_ += static_cast<char>(t.byte);
}

void Reader::Binary(std::string_view data) {
  const Destination d = State().destination;
  if (d == Destination::kPicture) {
    picture_.data.insert(picture_.data.end(), data.begin(), data.end());
    return;
  }
  if (SkippingFallback()) return;
}

int32_t Reader::CurrentCodePage() {
  if (const RichFont* f = doc_.FindFont(State().chars.font)) {
    if (const int32_t page = CodePageOfCharset(f->charset); page != 0) return page;
  }
  return doc_.codePage;
}

void Reader::FlushBytes() {
  if (bytes_.empty()) return;
  const std::string text = DecodeCodePage(bytes_, CurrentCodePage());
  bytes_.clear();
  AppendToDestination(text);
}

void Reader::AppendToDestination(std::string_view utf8) {
  if (highSurrogate_ != 0) {
    // A high surrogate without its low half.
    highSurrogate_ = 0;
    AppendToDestination("\xEF\xBF\xBD");
  }
  switch (State().destination) {
    case Destination::kBody: {
      // A carriage return is no character of the text (a line feed is a line break).
      if (utf8.find('\r') != std::string_view::npos) {
        std::string kept(utf8);
        std::erase(kept, '\r');
        AppendToDestination(kept);
        break;
      }
      size_t count = 0;
      for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
      }
      if (count > 0) AppendText(utf8, count);
      break;
    }
    case Destination::kBulletText:
      // A bullet is a character or a few, and no control; more are not kept.
      for (size_t pos = 0; pos < utf8.size() && bulletCharacters_ < kMaxBulletCharacters;) {
        const size_t start = pos;
        if (DecodeUtf8(utf8, pos) < 0x20) continue;
        bullet_.bulletText.append(utf8.substr(start, pos - start));
        ++bulletCharacters_;
      }
      break;
    case Destination::kFontTable:
      if (fontPending_) font_.name += utf8;
      break;
    default:
      break;
  }
}

void Reader::AppendCodePoint(char32_t cp) {
  std::string utf8;
  AppendUtf8(utf8, cp);
  AppendToDestination(utf8);
}

bool Reader::AppendText(std::string_view utf8, size_t characters) {
  if (State().destination != Destination::kBody) return false;
  bool fits = true;
  if (characters_ + characters > limits_.maxCharacters) {
    // What fits is kept; the read ends there.
    size_t room = limits_.maxCharacters - characters_;
    size_t bytes = 0;
    while (bytes < utf8.size()) {
      if ((static_cast<unsigned char>(utf8[bytes]) & 0xC0) != 0x80) {
        if (room == 0) break;
        --room;
      }
      ++bytes;
    }
    utf8 = utf8.substr(0, bytes);
    characters = limits_.maxCharacters - characters_;
    fits = false;
    Stop();
    if (utf8.empty()) return false;
  }
  characters_ += characters;
  const CharFormat& format = State().chars;
  if (paragraph_.runs.empty() || paragraph_.runs.back().IsPicture() || !(paragraph_.runs.back().format == format)) {
    paragraph_.runs.push_back(RichRun{format, std::string(), std::nullopt});
  }
  paragraph_.runs.back().text += utf8;
  return fits;
}

void Reader::AppendPicture() {
  if (State().destination != Destination::kBody) return;
  if (characters_ + 1 > limits_.maxCharacters) {
    Stop();
    return;
  }
  ++characters_;
  paragraph_.runs.push_back(RichRun{State().chars, std::string(), std::move(picture_)});
  picture_ = RichPicture{};
}

void Reader::EndParagraph() {
  if (characters_ + 1 > limits_.maxCharacters) {
    Stop();
    return;
  }
  ++characters_;
  paragraph_.format = State().para;
  paragraph_.markFormat = State().chars;
  doc_.paragraphs.push_back(std::move(paragraph_));
  paragraph_ = RichParagraph{};
}

}  // namespace

bool LooksLikeRtf(std::string_view text) { return text.starts_with("{\\rtf"); }

namespace {

RichDocument PlainText(std::string_view text, size_t maxCharacters, bool& stopped) {
  RichDocument doc;
  const std::string utf8 = Decode8BitText(text);
  const std::string_view all(utf8);
  size_t characters = 0;
  RichParagraph paragraph;
  auto endParagraph = [&](size_t start, size_t end) {
    if (end > start) paragraph.runs.push_back(RichRun{CharFormat{}, std::string(all.substr(start, end - start)), std::nullopt});
    doc.paragraphs.push_back(std::move(paragraph));
    paragraph = RichParagraph{};
  };
  size_t start = 0;
  for (size_t i = 0; i < all.size(); ++i) {
    const char c = all[i];
    if ((static_cast<unsigned char>(c) & 0xC0) == 0x80) continue;
    if (++characters > maxCharacters) {
      stopped = true;
      endParagraph(start, i);
      return doc;
    }
    if (c != '\n' && c != '\r') continue;
    endParagraph(start, i);
    if (c == '\r' && i + 1 < all.size() && all[i + 1] == '\n') ++i;
    start = i + 1;
  }
  endParagraph(start, all.size());
  return doc;
}

}  // namespace

RtfReadResult ReadRtf(std::string_view rtf, const RtfReadLimits& limits) {
  if (!LooksLikeRtf(rtf)) return ReadPlainText(rtf, limits);
  return Reader(rtf, limits).Run();
}

RtfReadResult ReadPlainText(std::string_view text, const RtfReadLimits& limits) {
  RtfReadResult result;
  result.document = PlainText(text, limits.maxCharacters, result.stopped);
  return result;
}

}  // namespace vornel
