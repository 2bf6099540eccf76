#pragma once
// Lays a rich text out into lines for a width and draws them. Layout happens once, in twips
// (1440 per inch), measured through a device of 1440 pixels per inch that uses the text
// engine of the device drawn on, so screen, preview, PDF and the recording device place every
// word where the printed page has it; drawing scales the twips to the device's pixels per inch
// and the zoom.
//
// Words wrap at spaces (a word wider than the line is cut between characters), tabs go to
// the paragraph's stops or to the default stops, a line break ends the line, alignment and
// justification use the width left on each line, indents, spacing and bullets follow the
// paragraph format, and pictures stand on the baseline like large characters.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "layout/richtext/RichPictures.h"
#include "platform/draw/DeviceContext.h"
#include "platform/rtf/RichText.h"

namespace vornel {

// A rich text read once: its model and its pictures made ready for drawing on first use.
class RichTextContent {
 public:
  explicit RichTextContent(RichDocument doc, bool readStopped = false);

  const RichDocument& Document() const { return doc_; }
  // A limit ended the reading of the text.
  bool ReadStopped() const { return readStopped_; }
  size_t PictureCount() const { return pictures_.size(); }
  const RichPicture& Picture(size_t index) const { return *pictures_[index]; }
  const PreparedPicture& Prepared(size_t index) const;

 private:
  RichDocument doc_;
  bool readStopped_;
  std::vector<const RichPicture*> pictures_;  // in reading order
  mutable std::vector<std::unique_ptr<PreparedPicture>> prepared_;
};

// The font a character format stands for at an em of `emPixels`.
FontSpec RichTextFont(const RichDocument& doc, const CharFormat& format, int32_t emPixels);

class RichTextLayout {
 public:
  static constexpr int32_t kTwipsPerInch = 1440;
  // A text is laid out at most this high, each line counted up to the printed height of A4
  // (a taller one takes a page of its own): 32 pages, and a page for about every 460
  // characters beyond them (32 twips a character), so that a short text in huge sizes cannot
  // make endless pages. The lines below are left out and Truncated() says so.
  static constexpr int64_t kPageHeight = 14854;
  static constexpr int64_t kBaseHeight = 32 * kPageHeight;
  static constexpr int64_t kHeightPerCharacter = 32;

  struct Item {
    enum class Kind : uint8_t { kText, kPicture };
    Kind kind = Kind::kText;
    int32_t x = 0;        // twips from the layout's left edge
    int32_t width = 0;    // twips
    int32_t height = 0;   // pictures: twips above the baseline
    CharFormat format;
    std::string text;     // UTF-8, without tabs and line breaks
    size_t picture = 0;   // index into the content's pictures
  };

  struct Line {
    // Tops are 64-bit: sixteen million one-line paragraphs are more twips than 32 bits hold.
    int64_t top = 0;      // twips from the layout's top
    int32_t height = 0;
    int32_t ascent = 0;   // from the top to the baseline
    size_t paragraph = 0;
    std::vector<Item> items;

    int64_t Bottom() const { return top + height; }
  };

  // Lays `content` out `widthTwips` wide, measuring with `engine`.
  RichTextLayout(std::shared_ptr<const RichTextContent> content, int32_t widthTwips, TextEngine& engine);

  int32_t Width() const { return width_; }
  // The height of all lines with their paragraph spacing; 0 for a text without content.
  int64_t Height() const { return height_; }
  const std::vector<Line>& Lines() const { return lines_; }
  const RichTextContent& Content() const { return *content_; }
  // The text was taller than the bound above: its end is not laid out.
  bool Truncated() const { return truncated_; }

  // The lines [first, last) that reach into the band from `top` to `bottom` (twips).
  std::pair<size_t, size_t> LinesBetween(int64_t top, int64_t bottom) const;

  // Draws lines [first, last) so that twips position (0, `topTwips`) of the layout falls on
  // device point `origin`, at `zoomPercent` of the device's scale.
  void Draw(DeviceContext& dc, Point origin, int32_t zoomPercent, size_t first, size_t last,
            int64_t topTwips = 0) const;
  void Draw(DeviceContext& dc, Point origin, int32_t zoomPercent) const { Draw(dc, origin, zoomPercent, 0, lines_.size()); }

 private:
  class Builder;

  std::shared_ptr<const RichTextContent> content_;
  int32_t width_;
  int64_t height_ = 0;
  bool truncated_ = false;
  std::vector<Line> lines_;
};

// Device units of `twips` at `pixelsPerInch` and `zoomPercent`, rounded to the nearest.
int32_t TwipsToDevice(int64_t twips, int32_t pixelsPerInch, int32_t zoomPercent = 100);
// Twips of `pixels` at `pixelsPerInch` and `zoomPercent`, rounded to the nearest.
int32_t DeviceToTwips(int64_t pixels, int32_t pixelsPerInch, int32_t zoomPercent = 100);

}  // namespace vornel
