#pragma once
// The rich-text model: what a rich text holds once read from RTF, and what is laid out,
// drawn, edited and written back. A document is a list of paragraphs; a paragraph a list of
// runs, each a piece of text in one character format or one picture. Lengths are in twips
// (1440 per inch), font sizes in half points, fonts and colours are numbers into the
// document's tables, as in RTF.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/draw/DrawTypes.h"

namespace vornel {

struct RichFont {
  enum Family : uint8_t { kNil, kRoman, kSwiss, kModern, kScript, kDecor, kTech, kBidi };

  int32_t number = 0;     // \fN
  std::string name;       // without the closing ';'
  Family family = kNil;
  int32_t charset = 0;    // \fcharsetN
  int32_t pitch = -1;     // \fprqN; -1 when not given

  friend bool operator==(const RichFont&, const RichFont&) = default;
};

// One entry of the colour table; the usual first entry (an empty one) is the automatic
// colour, drawn black.
struct RichColour {
  bool automatic = true;
  COLORREF rgb = 0;

  friend bool operator==(const RichColour&, const RichColour&) = default;
};

struct CharFormat {
  static constexpr int32_t kDefaultHalfPoints = 24;  // 12 pt
  // The largest size: 288 points, whose lines fit the printed height of the smallest paper
  // (A5 in landscape). Larger sizes are taken as this one.
  static constexpr int32_t kMaxHalfPoints = 576;

  int32_t font = 0;       // \fN
  int32_t halfPoints = kDefaultHalfPoints;  // \fsN
  bool bold = false;
  bool italic = false;
  bool underline = false;
  int32_t colour = 0;     // \cfN; 0 is the automatic colour

  friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

struct ParaFormat {
  enum Alignment : uint8_t { kLeft, kCenter, kRight, kJustify };

  Alignment alignment = kLeft;
  int32_t leftIndent = 0;   // \liN
  int32_t rightIndent = 0;  // \riN
  int32_t firstIndent = 0;  // \fiN, relative to the left indent
  int32_t spaceBefore = 0;  // \sbN
  int32_t spaceAfter = 0;   // \saN
  std::vector<int32_t> tabs;  // \txN, from the left edge, in the order given
  // A bulleted paragraph (\pn with \pnlvlblt): the bullet text in its font, and the least
  // distance from the bullet to the text.
  bool bullet = false;
  int32_t bulletFont = -1;  // \pnfN; -1: the paragraph's own font
  int32_t bulletIndent = 0; // \pnindentN
  std::string bulletText;   // \pntxtb, UTF-8

  friend bool operator==(const ParaFormat&, const ParaFormat&) = default;
};

struct RichPicture {
  enum class Format : uint8_t { kPng, kJpeg, kDib, kWmf, kEmf, kDdb, kOther };

  Format format = Format::kPng;
  int32_t formatParameter = -1;  // \wmetafileN (the map mode), \dibitmapN, \wbitmapN; -1 none
  std::string otherWord;          // kOther: the format's control word, written back as read
  int32_t width = 0;              // \picwN: pixels, or hundredths of a millimetre for metafiles
  int32_t height = 0;             // \pichN
  int32_t goalWidth = 0;          // \picwgoalN, twips; 0 when not given
  int32_t goalHeight = 0;         // \pichgoalN
  int32_t scaleX = 100;           // \picscalexN, percent
  int32_t scaleY = 100;
  int32_t cropLeft = 0;           // \piccroplN ..., twips; kept, not applied
  int32_t cropTop = 0;
  int32_t cropRight = 0;
  int32_t cropBottom = 0;
  int32_t bitsPerPixel = 0;       // \wbmbitspixelN (device-dependent bitmaps)
  int32_t planes = 0;             // \wbmplanesN
  int32_t widthBytes = 0;         // \wbmwidthbytesN
  std::vector<uint8_t> data;

  // The size drawn, in twips: the goal size scaled, else the stored size (pixels at 96 per
  // inch, or hundredths of a millimetre for metafiles). From 1 twip to 1,000,000.
  int32_t DisplayWidth() const;
  int32_t DisplayHeight() const;

  friend bool operator==(const RichPicture&, const RichPicture&) = default;
};

struct RichRun {
  CharFormat format;
  std::string text;  // UTF-8; '\t' is a tab, '\n' a line break (\line)
  std::optional<RichPicture> picture;  // a picture in place of text

  bool IsPicture() const { return picture.has_value(); }
  friend bool operator==(const RichRun&, const RichRun&) = default;
};

struct RichParagraph {
  ParaFormat format;
  std::vector<RichRun> runs;
  CharFormat markFormat;  // the format of the paragraph mark: an empty paragraph's height

  friend bool operator==(const RichParagraph&, const RichParagraph&) = default;
};

struct RichDocument {
  static constexpr int32_t kDefaultTabWidth = 720;

  int32_t codePage = 1252;       // \ansicpgN
  int32_t defaultFont = 0;       // \deffN
  int32_t defaultLanguage = 0;   // \deflangN; 0 when not given
  int32_t defaultTab = kDefaultTabWidth;  // \deftabN
  std::vector<RichFont> fonts;
  std::vector<RichColour> colours;
  // Never empty once read: the last paragraph is what follows the last \par (often nothing).
  std::vector<RichParagraph> paragraphs;

  // No text and no picture anywhere.
  bool HasContent() const;
  // The text with paragraphs ended by line feeds and pictures left out.
  std::string PlainText() const;

  const RichFont* FindFont(int32_t number) const;
  // The colour of a character format's colour number; the automatic colour and numbers
  // outside the table are black.
  COLORREF ColourOf(int32_t index) const;
  // The number of the colour table entry with that colour, added when missing (after an
  // automatic first entry, which is added first when the table is empty).
  int32_t ColourIndex(COLORREF rgb);
  // The number of the font with that name, added (as \fnil, charset 0) when missing.
  int32_t FontIndex(std::string_view name);

  friend bool operator==(const RichDocument&, const RichDocument&) = default;
};

}  // namespace vornel
