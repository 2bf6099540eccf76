#include "platform/rtf/RtfWriter.h"

#include <string_view>

#include "platform/rtf/RtfEscape.h"
#include "platform/text/CodePages.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr std::string_view kFamilyWords[] = {"fnil", "froman", "fswiss", "fmodern",
                                             "fscript", "fdecor", "ftech", "fbidi"};
constexpr char kHexDigits[] = "0123456789abcdef";
constexpr size_t kHexLine = 128;

class Writer {
 public:
  explicit Writer(const RichDocument& doc) : doc_(doc) {
    written_.font = doc.defaultFont;
  }

  std::string Run();

 private:
  // A control word with an optional number; the text after it gets its delimiting space.
  void Word(std::string_view word) {
    out_ += '\\';
    out_ += word;
    delimit_ = true;
  }
  void Word(std::string_view word, int32_t value) {
    Word(word);
    out_ += std::to_string(value);
  }
  // RTF or escaped text. After a control word a space goes first where the text would
  // otherwise run into the word or its number (a letter, a digit, a hyphen, a space).
  void Raw(std::string_view rtf) {
    if (rtf.empty()) return;
    const char c = rtf.front();
    if (delimit_ && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
                     c == ' ')) {
      out_ += ' ';
    }
    delimit_ = false;
    out_ += rtf;
  }

  void FontTable();
  void ColourTable();
  void CharFormatChanges(const CharFormat& format);
  void ParagraphStart(const RichParagraph& paragraph, bool first);
  void ParaFormatWords(const ParaFormat& format);
  void Text(std::string_view text);
  void Picture(const RichPicture& picture);
  void BulletText(std::string_view text);

  const RichDocument& doc_;
  std::string out_;
  bool delimit_ = false;
  CharFormat written_;
  ParaFormat writtenPara_;
};

std::string Writer::Run() {
  out_ += "{";
  Word("rtf", 1);
  Word("ansi");
  Word("ansicpg", doc_.codePage);
  Word("deff", doc_.defaultFont);
  if (doc_.defaultLanguage != 0) Word("deflang", doc_.defaultLanguage);
  if (doc_.defaultTab != RichDocument::kDefaultTabWidth) Word("deftab", doc_.defaultTab);
  FontTable();
  ColourTable();
  Word("viewkind", 4);
  Word("uc", 1);
  for (size_t i = 0; i < doc_.paragraphs.size(); ++i) {
    const RichParagraph& paragraph = doc_.paragraphs[i];
    ParagraphStart(paragraph, i == 0);
    for (const RichRun& run : paragraph.runs) {
      if (!run.IsPicture() && run.text.empty()) continue;
      CharFormatChanges(run.format);
      if (run.IsPicture()) {
        Picture(*run.picture);
      } else {
        Text(run.text);
      }
    }
    CharFormatChanges(paragraph.markFormat);
    if (i + 1 < doc_.paragraphs.size()) {
      Word("par");
      out_ += "\r\n";
      delimit_ = false;
    }
  }
  out_ += "}\r\n";
  return std::move(out_);
}

void Writer::FontTable() {
  if (doc_.fonts.empty()) return;
  Raw("{");
  Word("fonttbl");
  for (const RichFont& font : doc_.fonts) {
    Raw("{");
    Word("f", font.number);
    Word(kFamilyWords[font.family < 8 ? font.family : 0]);
    if (font.pitch >= 0) Word("fprq", font.pitch);
    Word("fcharset", font.charset);
    Raw(EscapeRtfText(font.name) + ";}");
  }
  Raw("}");
}

void Writer::ColourTable() {
  if (doc_.colours.empty()) return;
  out_ += "\r\n";
  delimit_ = false;
  out_ += "{\\colortbl ";
  delimit_ = false;
  for (const RichColour& c : doc_.colours) {
    if (!c.automatic) {
      Word("red", GetRValue(c.rgb));
      Word("green", GetGValue(c.rgb));
      Word("blue", GetBValue(c.rgb));
    }
    Raw(";");
  }
  Raw("}");
  out_ += "\r\n";
  delimit_ = false;
}

void Writer::CharFormatChanges(const CharFormat& f) {
  CharFormat& w = written_;
  if (f.font != w.font) Word("f", f.font);
  if (f.halfPoints != w.halfPoints) Word("fs", f.halfPoints);
  if (f.colour != w.colour) Word("cf", f.colour);
  if (f.bold != w.bold) f.bold ? Word("b") : Word("b", 0);
  if (f.italic != w.italic) f.italic ? Word("i") : Word("i", 0);
  if (f.underline != w.underline) f.underline ? Word("ul") : Word("ulnone");
  w = f;
}

void Writer::ParagraphStart(const RichParagraph& paragraph, bool first) {
  const ParaFormat& f = paragraph.format;
  const bool changed = first || !(f == writtenPara_);
  if (changed) Word("pard");
  if (f.bullet) {
    // What readers without bullets show instead, then the bullet itself.
    Raw("{");
    Word("pntext");
    Word("f", f.bulletFont >= 0 ? f.bulletFont : (paragraph.runs.empty() ? paragraph.markFormat.font
                                                                         : paragraph.runs.front().format.font));
    BulletText(f.bulletText);
    Word("tab");
    Raw("}");
  }
  if (changed) ParaFormatWords(f);
  writtenPara_ = f;
}

void Writer::ParaFormatWords(const ParaFormat& f) {
  if (f.bullet) {
    Raw("{");
    Word("*");
    Word("pn");
    Word("pnlvlblt");
    if (f.bulletFont >= 0) Word("pnf", f.bulletFont);
    Word("pnindent", f.bulletIndent);
    Raw("{");
    Word("pntxtb");
    BulletText(f.bulletText);
    Raw("}}");
  }
  if (f.firstIndent != 0) Word("fi", f.firstIndent);
  if (f.leftIndent != 0) Word("li", f.leftIndent);
  if (f.rightIndent != 0) Word("ri", f.rightIndent);
  if (f.spaceBefore != 0) Word("sb", f.spaceBefore);
  if (f.spaceAfter != 0) Word("sa", f.spaceAfter);
  for (const int32_t tab : f.tabs) Word("tx", tab);
  switch (f.alignment) {
    case ParaFormat::kCenter: Word("qc"); break;
    case ParaFormat::kRight: Word("qr"); break;
    case ParaFormat::kJustify: Word("qj"); break;
    case ParaFormat::kLeft: break;
  }
}

void Writer::BulletText(std::string_view text) {
  // Code-page characters as \'hh, as the control writes its bullets, where a reader takes
  // them through Windows-1252; others through the escaping of all text.
  const RichFont* font = doc_.FindFont(written_.font);
  const bool bytesAsRead = doc_.codePage == 1252 && (font == nullptr || CodePageOfCharset(font->charset) == 0);
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t cp = DecodeUtf8(text, pos);
    const auto byte = cp >= 0x80 && cp <= 0xFFFF && bytesAsRead ? Cp1252ByteOf(cp) : std::nullopt;
    if (byte && *byte >= 0xA0) {
      std::string hex;
      AppendRtfHexByte(hex, *byte);
      Raw(hex);
    } else {
      Raw(EscapeRtfText(text.substr(start, pos - start)));
    }
  }
}

void Writer::Text(std::string_view text) {
  size_t start = 0;
  while (start <= text.size()) {
    const size_t end = text.find('\n', start);
    const std::string_view piece = text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    Raw(EscapeRtfText(piece));
    if (end == std::string_view::npos) break;
    Word("line");
    start = end + 1;
  }
}

void Writer::Picture(const RichPicture& p) {
  using F = RichPicture::Format;
  Raw("{");
  Word("pict");
  switch (p.format) {
    case F::kPng: Word("pngblip"); break;
    case F::kJpeg: Word("jpegblip"); break;
    case F::kEmf: Word("emfblip"); break;
    case F::kWmf: p.formatParameter >= 0 ? Word("wmetafile", p.formatParameter) : Word("wmetafile"); break;
    case F::kDib: p.formatParameter >= 0 ? Word("dibitmap", p.formatParameter) : Word("dibitmap"); break;
    case F::kDdb: p.formatParameter >= 0 ? Word("wbitmap", p.formatParameter) : Word("wbitmap"); break;
    case F::kOther:
      if (!p.otherWord.empty()) {
        p.formatParameter >= 0 ? Word(p.otherWord, p.formatParameter) : Word(p.otherWord);
      }
      break;
  }
  if (p.bitsPerPixel != 0) Word("wbmbitspixel", p.bitsPerPixel);
  if (p.planes != 0) Word("wbmplanes", p.planes);
  if (p.widthBytes != 0) Word("wbmwidthbytes", p.widthBytes);
  Word("picw", p.width);
  Word("pich", p.height);
  if (p.goalWidth != 0) Word("picwgoal", p.goalWidth);
  if (p.goalHeight != 0) Word("pichgoal", p.goalHeight);
  if (p.scaleX != 100) Word("picscalex", p.scaleX);
  if (p.scaleY != 100) Word("picscaley", p.scaleY);
  if (p.cropLeft != 0) Word("piccropl", p.cropLeft);
  if (p.cropTop != 0) Word("piccropt", p.cropTop);
  if (p.cropRight != 0) Word("piccropr", p.cropRight);
  if (p.cropBottom != 0) Word("piccropb", p.cropBottom);
  out_ += "\r\n";
  delimit_ = false;
  out_.reserve(out_.size() + p.data.size() * 2 + p.data.size() / (kHexLine / 2) * 2 + 4);
  for (size_t i = 0; i < p.data.size(); ++i) {
    out_ += kHexDigits[p.data[i] >> 4];
    out_ += kHexDigits[p.data[i] & 0xF];
    if ((i + 1) % (kHexLine / 2) == 0 && i + 1 < p.data.size()) out_ += "\r\n";
  }
  out_ += "\r\n}";
}

}  // namespace

std::string WriteRtf(const RichDocument& doc) { return Writer(doc).Run(); }

}  // namespace vornel
