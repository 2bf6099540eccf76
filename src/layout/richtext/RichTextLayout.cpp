#include "layout/richtext/RichTextLayout.h"

#include <algorithm>
#include <unordered_map>

#include "platform/draw/RecordingDevice.h"
#include "platform/text/TextConversion.h"

namespace vornel {

namespace {

constexpr std::string_view kFallbackFace = "Times New Roman";
constexpr int32_t kSymbolCharset = 2;
constexpr int32_t kTwipsPerHalfPoint = 10;
// What a model may hold beyond what reading RTF gives is bounded here too: sizes to what a
// page shows, lengths to 22 inches, a line's positions to a few hundred metres.
constexpr int32_t kMaxHalfPoints = CharFormat::kMaxHalfPoints;
constexpr int32_t kMaxIndent = 31680;
constexpr int64_t kMaxX = 10'000'000;
// Longer words are cut between characters without being measured whole first.
constexpr size_t kMaxWordBytes = 4096;

int32_t EmTwips(const CharFormat& f) { return std::clamp(f.halfPoints, 1, kMaxHalfPoints) * kTwipsPerHalfPoint; }
int32_t Indent(int32_t v) { return std::clamp(v, -kMaxIndent, kMaxIndent); }
int32_t ClampX(int64_t x) { return static_cast<int32_t>(std::clamp<int64_t>(x, -kMaxX, kMaxX)); }

int64_t RoundDiv(int64_t value, int64_t divisor) {
  return value >= 0 ? (value + divisor / 2) / divisor : -((-value + divisor / 2) / divisor);
}

}  // namespace

int32_t TwipsToDevice(int64_t twips, int32_t pixelsPerInch, int32_t zoomPercent) {
  return static_cast<int32_t>(RoundDiv(twips * pixelsPerInch * zoomPercent, int64_t(RichTextLayout::kTwipsPerInch) * 100));
}

int32_t DeviceToTwips(int64_t pixels, int32_t pixelsPerInch, int32_t zoomPercent) {
  const int64_t divisor = int64_t(std::max(1, pixelsPerInch)) * std::max(1, zoomPercent);
  return static_cast<int32_t>(RoundDiv(pixels * RichTextLayout::kTwipsPerInch * 100, divisor));
}

FontSpec RichTextFont(const RichDocument& doc, const CharFormat& format, int32_t emPixels) {
  FontSpec spec;
  spec.lfHeight = -std::max(1, emPixels);
  spec.lfWeight = format.bold ? FW_BOLD : FW_NORMAL;
  spec.lfItalic = format.italic ? 1 : 0;
  spec.lfUnderline = format.underline ? 1 : 0;
  const RichFont* font = doc.FindFont(format.font);
  if (font == nullptr) font = doc.FindFont(doc.defaultFont);
  if (font != nullptr && !font->name.empty()) {
    spec.lfFaceName = font->name;
    spec.lfCharSet = font->charset == kSymbolCharset ? SYMBOL_CHARSET : ANSI_CHARSET;
    spec.lfPitchAndFamily = static_cast<uint8_t>((font->family & 0x7) << 4 | (font->pitch > 0 ? font->pitch & 0x3 : 0));
  } else {
    spec.lfFaceName = std::string(kFallbackFace);
  }
  return spec;
}

// ---------------------------------------------------------------- content

RichTextContent::RichTextContent(RichDocument doc, bool readStopped) : doc_(std::move(doc)), readStopped_(readStopped) {
  for (const RichParagraph& p : doc_.paragraphs) {
    for (const RichRun& r : p.runs) {
      if (r.IsPicture()) pictures_.push_back(&*r.picture);
    }
  }
  prepared_.resize(pictures_.size());
}

const PreparedPicture& RichTextContent::Prepared(size_t index) const {
  if (!prepared_[index]) prepared_[index] = std::make_unique<PreparedPicture>(*pictures_[index]);
  return *prepared_[index];
}

// ---------------------------------------------------------------- layout

class RichTextLayout::Builder {
 public:
  Builder(RichTextLayout& layout, TextEngine& engine) : layout_(layout), measure_(kTwipsPerInch, true, engine) {
    measure_.SetRecording(false);
  }

  void Run();

 private:
  struct Metrics {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t space = 0;  // the width of one space
  };
  struct FormatKey {
    int32_t font;
    int32_t halfPoints;
    bool bold;
    bool italic;
    friend bool operator==(const FormatKey&, const FormatKey&) = default;
  };
  struct FormatKeyHash {
    size_t operator()(const FormatKey& k) const {
      return (static_cast<size_t>(k.font) * 1000003u) ^ (static_cast<size_t>(k.halfPoints) * 131u) ^
             (k.bold ? 7u : 0u) ^ (k.italic ? 11u : 0u);
    }
  };
  // A piece of a line: an item and the spaces that follow it (which hang at the line's end).
  struct Piece {
    Item item;
    int64_t trailing = 0;
    int32_t spaces = 0;
    bool bullet = false;
  };

  const Metrics& Select(const CharFormat& format);
  int32_t Measure(const CharFormat& format, std::string_view text);

  void Paragraph(size_t index, const RichParagraph& paragraph);
  void Bullet(const RichParagraph& paragraph);
  void Word(const CharFormat& format, std::string_view word, int32_t spaces);
  void Picture(const CharFormat& format, const RichPicture& picture);
  void Tab();
  void NewLine();
  // Ends the line being built; `last` when no justification applies to it.
  void FinishLine(bool last, const CharFormat& emptyFormat);
  int64_t NextTab(int64_t x) const;

  RichTextLayout& layout_;
  RecordingDevice measure_;
  std::unordered_map<FormatKey, Metrics, FormatKeyHash> metrics_;
  const RichDocument* doc_ = nullptr;

  // The paragraph and line being laid out.
  const ParaFormat* para_ = nullptr;
  size_t paragraphIndex_ = 0;
  size_t pictureIndex_ = 0;
  bool firstLine_ = true;
  int32_t left_ = 0;   // where lines after the first start
  int32_t right_ = 0;  // where lines end
  int64_t x_ = 0;
  int64_t y_ = 0;
  int64_t budget_ = 0;  // what the lines may still count towards the bound of the height
  bool hasContent_ = false;
  std::vector<Piece> pieces_;
  CharFormat lastFormat_;
};

const RichTextLayout::Builder::Metrics& RichTextLayout::Builder::Select(const CharFormat& format) {
  measure_.SelectFont(RichTextFont(*doc_, format, EmTwips(format)));
  const FormatKey key{format.font, format.halfPoints, format.bold, format.italic};
  auto it = metrics_.find(key);
  if (it == metrics_.end()) {
    const TextMetrics tm = measure_.GetTextMetrics();
    Metrics m;
    m.ascent = tm.tmAscent;
    m.descent = tm.tmDescent;
    m.space = measure_.GetTextExtent(" ").cx;
    it = metrics_.emplace(key, m).first;
  }
  return it->second;
}

int32_t RichTextLayout::Builder::Measure(const CharFormat& format, std::string_view text) {
  Select(format);
  return measure_.GetTextExtent(text).cx;
}

namespace {

// The characters of a text as reading counts them: those of its runs, one for each picture
// and for each paragraph mark.
int64_t CharacterCount(const RichDocument& doc) {
  int64_t count = 0;
  for (const RichParagraph& p : doc.paragraphs) {
    ++count;
    for (const RichRun& r : p.runs) {
      if (r.IsPicture()) ++count;
      for (const char c : r.text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
  }
  return count;
}

}  // namespace

void RichTextLayout::Builder::Run() {
  doc_ = &layout_.content_->Document();
  if (!doc_->HasContent()) return;
  budget_ = kBaseHeight + kHeightPerCharacter * CharacterCount(*doc_);
  for (size_t i = 0; i < doc_->paragraphs.size() && !layout_.truncated_; ++i) Paragraph(i, doc_->paragraphs[i]);
  layout_.height_ = y_;
}

void RichTextLayout::Builder::Paragraph(size_t index, const RichParagraph& paragraph) {
  const ParaFormat& f = paragraph.format;
  para_ = &f;
  paragraphIndex_ = index;
  firstLine_ = true;
  left_ = std::clamp(Indent(f.leftIndent), 0, layout_.width_);
  right_ = std::max(left_ + 1, layout_.width_ - std::max(0, Indent(f.rightIndent)));
  x_ = std::clamp(Indent(f.leftIndent) + Indent(f.firstIndent), 0, right_ - 1);
  hasContent_ = false;
  pieces_.clear();
  y_ += std::clamp(f.spaceBefore, 0, kMaxIndent);
  lastFormat_ = paragraph.runs.empty() ? paragraph.markFormat : paragraph.runs.front().format;
  if (f.bullet) Bullet(paragraph);

  for (const RichRun& run : paragraph.runs) {
    if (layout_.truncated_) return;
    lastFormat_ = run.format;
    if (run.IsPicture()) {
      Picture(run.format, *run.picture);
      continue;
    }
    const std::string_view text = run.text;
    size_t i = 0;
    while (i < text.size() && !layout_.truncated_) {
      const char c = text[i];
      if (c == '\t') {
        Tab();
        ++i;
        continue;
      }
      if (c == '\n') {
        FinishLine(true, run.format);
        ++i;
        continue;
      }
      // A word and the spaces after it.
      size_t end = i;
      while (end < text.size() && text[end] != ' ' && text[end] != '\t' && text[end] != '\n') ++end;
      size_t spacesEnd = end;
      while (spacesEnd < text.size() && text[spacesEnd] == ' ') ++spacesEnd;
      Word(run.format, text.substr(i, end - i), static_cast<int32_t>(spacesEnd - end));
      i = spacesEnd;
    }
  }
  if (layout_.truncated_) return;
  FinishLine(true, paragraph.markFormat);
  y_ += std::clamp(f.spaceAfter, 0, kMaxIndent);
}

void RichTextLayout::Builder::Bullet(const RichParagraph& paragraph) {
  const ParaFormat& f = paragraph.format;
  CharFormat format = lastFormat_;
  if (f.bulletFont >= 0) format.font = f.bulletFont;
  format.bold = format.italic = format.underline = false;
  std::string text = f.bulletText.empty() ? std::string("\xE2\x80\xA2") : f.bulletText;
  // The symbol font's bullet, read through the code page as a middle dot, is the bullet.
  if (const RichFont* font = doc_->FindFont(format.font); font != nullptr && font->charset == kSymbolCharset &&
                                                            text == "\xC2\xB7") {
    text = "\xE2\x80\xA2";
  }
  Piece piece;
  piece.bullet = true;
  piece.item.kind = Item::Kind::kText;
  piece.item.format = format;
  piece.item.x = ClampX(x_);
  piece.item.width = Measure(format, text);
  piece.item.text = std::move(text);
  x_ += piece.item.width;
  pieces_.push_back(std::move(piece));
  // The text starts at the left indent when the bullet hangs before it, else at the next
  // default stop.
  const int64_t wanted = std::max<int64_t>(left_, x_ + std::max(0, Indent(f.bulletIndent)));
  x_ = wanted > x_ ? wanted : NextTab(x_);
}

void RichTextLayout::Builder::Word(const CharFormat& format, std::string_view word, int32_t spaces) {
  const Metrics& m = Select(format);
  const bool tooLong = word.size() > kMaxWordBytes;
  int64_t width = word.empty() ? 0 : (tooLong ? kMaxX : measure_.GetTextExtent(word).cx);
  if (hasContent_ && x_ + width > right_) NewLine();
  // A word wider than a whole line is cut between characters.
  while (!word.empty() && x_ + width > right_ && !layout_.truncated_) {
    int64_t used = 0;
    size_t cut = 0;
    while (cut < word.size()) {
      size_t next = cut;
      DecodeUtf8(word, next);
      const int32_t w = measure_.GetTextExtent(word.substr(cut, next - cut)).cx;
      if (cut > 0 && x_ + used + w > right_) break;
      used += w;
      cut = next;
    }
    if (cut >= word.size()) break;
    Piece piece;
    piece.item.format = format;
    piece.item.x = ClampX(x_);
    piece.item.width = ClampX(used);
    piece.item.text = std::string(word.substr(0, cut));
    pieces_.push_back(std::move(piece));
    hasContent_ = true;
    word.remove_prefix(cut);
    NewLine();
    Select(format);
    width = word.size() > kMaxWordBytes ? kMaxX : measure_.GetTextExtent(word).cx;
  }
  Piece piece;
  piece.item.format = format;
  piece.item.x = ClampX(x_);
  piece.item.width = ClampX(width);
  piece.item.text = std::string(word);
  piece.item.text.append(static_cast<size_t>(spaces), ' ');
  piece.trailing = std::min<int64_t>(int64_t(m.space) * spaces, kMaxX);
  piece.spaces = spaces;
  x_ += width + piece.trailing;
  pieces_.push_back(std::move(piece));
  hasContent_ = true;
}

void RichTextLayout::Builder::Picture(const CharFormat& format, const RichPicture& picture) {
  const int64_t width = picture.DisplayWidth();
  if (hasContent_ && x_ + width > right_) NewLine();
  Piece piece;
  piece.item.kind = Item::Kind::kPicture;
  piece.item.format = format;
  piece.item.x = ClampX(x_);
  piece.item.width = ClampX(width);
  piece.item.height = picture.DisplayHeight();
  piece.item.picture = pictureIndex_++;
  x_ += width;
  pieces_.push_back(std::move(piece));
  hasContent_ = true;
}

void RichTextLayout::Builder::Tab() {
  const int64_t next = NextTab(x_);
  if (hasContent_ && next > right_) {
    NewLine();
    return;
  }
  x_ = next;
  hasContent_ = true;
}

int64_t RichTextLayout::Builder::NextTab(int64_t x) const {
  int64_t best = INT64_MAX;
  for (const int32_t stop : para_->tabs) {
    if (stop > x) best = std::min<int64_t>(best, Indent(stop));
  }
  // A hanging first line stops at the left indent.
  if (firstLine_ && para_->firstIndent < 0 && left_ > x) best = std::min<int64_t>(best, left_);
  if (best != INT64_MAX) return best;
  const int64_t step = std::clamp(doc_->defaultTab > 0 ? doc_->defaultTab : RichDocument::kDefaultTabWidth, 1, kMaxIndent);
  return std::min((x / step + 1) * step, kMaxX);
}

void RichTextLayout::Builder::NewLine() { FinishLine(false, lastFormat_); }

void RichTextLayout::Builder::FinishLine(bool last, const CharFormat& emptyFormat) {
  if (layout_.truncated_) return;
  Line line;
  line.top = y_;
  line.paragraph = paragraphIndex_;
  int32_t ascent = 0;
  int32_t descent = 0;
  int64_t contentRight = 0;
  int32_t gaps = 0;
  for (size_t i = 0; i < pieces_.size(); ++i) {
    const Piece& p = pieces_[i];
    const Metrics& m = Select(p.item.format);
    ascent = std::max(ascent, p.item.kind == Item::Kind::kPicture ? p.item.height : m.ascent);
    descent = std::max(descent, m.descent);
    contentRight = std::max(contentRight, int64_t(p.item.x) + p.item.width);
    if (i + 1 < pieces_.size()) gaps += p.spaces;
  }
  if (pieces_.empty()) {
    const Metrics& m = Select(emptyFormat);
    ascent = m.ascent;
    descent = m.descent;
  }
  line.ascent = ascent;
  line.height = ascent + descent;
  budget_ -= std::min<int64_t>(line.height, kPageHeight);
  if (budget_ < 0) {
    layout_.truncated_ = true;
    pieces_.clear();
    return;
  }

  const int64_t free = std::max<int64_t>(0, right_ - contentRight);
  int64_t shift = 0;
  const bool justify = para_->alignment == ParaFormat::kJustify && !last && gaps > 0;
  if (para_->alignment == ParaFormat::kCenter) shift = free / 2;
  if (para_->alignment == ParaFormat::kRight) shift = free;

  int64_t given = 0;
  int32_t spacesSoFar = 0;
  for (size_t i = 0; i < pieces_.size(); ++i) {
    Piece& p = pieces_[i];
    p.item.x = ClampX(p.item.x + shift + given);
    if (justify && i + 1 < pieces_.size()) {
      spacesSoFar += p.spaces;
      given = free * spacesSoFar / gaps;
    }
    // Neighbours of one format sit together as one text, unless justified apart.
    if (!line.items.empty() && !justify && !p.bullet && p.item.kind == Item::Kind::kText) {
      Item& prev = line.items.back();
      const Piece& before = pieces_[i - 1];
      if (prev.kind == Item::Kind::kText && !before.bullet && prev.format == p.item.format &&
          int64_t(before.item.x) + before.item.width + before.trailing == p.item.x) {
        prev.text += p.item.text;
        prev.width = ClampX(int64_t(p.item.x) + p.item.width - prev.x);
        continue;
      }
    }
    line.items.push_back(std::move(p.item));
  }
  layout_.lines_.push_back(std::move(line));
  y_ += layout_.lines_.back().height;
  pieces_.clear();
  x_ = left_;
  firstLine_ = false;
  hasContent_ = false;
}

RichTextLayout::RichTextLayout(std::shared_ptr<const RichTextContent> content, int32_t widthTwips, TextEngine& engine)
    : content_(std::move(content)), width_(std::max(1, widthTwips)) {
  Builder(*this, engine).Run();
}

std::pair<size_t, size_t> RichTextLayout::LinesBetween(int64_t top, int64_t bottom) const {
  const auto first = std::partition_point(lines_.begin(), lines_.end(), [&](const Line& l) { return l.Bottom() <= top; });
  const auto last = std::partition_point(first, lines_.end(), [&](const Line& l) { return l.top < bottom; });
  return {static_cast<size_t>(first - lines_.begin()), static_cast<size_t>(last - lines_.begin())};
}

void RichTextLayout::Draw(DeviceContext& dc, Point origin, int32_t zoomPercent, size_t first, size_t last,
                          int64_t topTwips) const {
  const RichDocument& doc = content_->Document();
  const int32_t dpiX = dc.LogPixelsX();
  const int32_t dpiY = dc.LogPixelsY();
  const int32_t zoom = zoomPercent > 0 ? zoomPercent : 100;
  last = std::min(last, lines_.size());
  if (first >= last) return;
  const int saved = dc.SaveDC();
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextAlign(TA_LEFT | TA_BASELINE);
  for (size_t i = first; i < last; ++i) {
    const Line& line = lines_[i];
    const int32_t baseline = origin.y + TwipsToDevice(line.top + line.ascent - topTwips, dpiY, zoom);
    for (const Item& item : line.items) {
      const int32_t x = origin.x + TwipsToDevice(item.x, dpiX, zoom);
      if (item.kind == Item::Kind::kPicture) {
        const Rect rect{x, baseline - TwipsToDevice(item.height, dpiY, zoom), x + TwipsToDevice(item.width, dpiX, zoom),
                        baseline};
        content_->Prepared(item.picture).Draw(dc, rect);
        continue;
      }
      if (item.text.find_first_not_of(' ') == std::string::npos) continue;
      dc.SelectFont(RichTextFont(doc, item.format, TwipsToDevice(EmTwips(item.format), dpiY, zoom)));
      dc.SetTextColor(doc.ColourOf(item.format.colour));
      // Spaces at the end of a line are not drawn.
      std::string_view text = item.text;
      while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
      dc.TextOut(x, baseline, text);
    }
  }
  dc.RestoreDC(saved);
}

}  // namespace vornel
