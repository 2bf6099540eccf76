#pragma once
// Reads RTF into the rich-text model: the font and colour tables, character formats (\f \fs
// \b \i \ul \cf, \plain), paragraphs (\par, \pard, alignment, indents, spacing, tabs,
// bullets from \pn), line breaks and tabs, \uN with its fallback skipped (\ucN), \'hh in the
// code page of \ansicpg (1252 when absent) or of the font's character set, control symbols,
// pictures (\pict with PNG, JPEG, DIB, metafile data, as hex or \bin), and \object through
// its \result. Destinations the model has no place for, and every unknown \* destination,
// are skipped. Text that does not start with "{\rtf" is read as plain text.
//
// The text is hostile: the reader keeps no recursion, and stops at the limits below keeping
// what it has read.

#include <cstddef>
#include <string_view>

#include "platform/rtf/RichText.h"

namespace vornel {

struct RtfReadLimits {
  // The most characters a rich text holds (the text host's maximum length).
  static constexpr size_t kMaxCharacters = 16'777'216;
  // Deeper nesting of groups ends the read.
  static constexpr int kMaxGroupDepth = 1000;

  size_t maxCharacters = kMaxCharacters;
  int maxGroupDepth = kMaxGroupDepth;
};

struct RtfReadResult {
  RichDocument document;
  // A limit ended the read (too many characters, too deep, a \bin past the end): the
  // document holds what came before.
  bool stopped = false;
};

RtfReadResult ReadRtf(std::string_view rtf, const RtfReadLimits& limits = {});

// Plain text as a rich text: one paragraph per line (line feed, carriage return or both),
// in the default format. The bytes are UTF-8 when valid, else Windows-1252.
RtfReadResult ReadPlainText(std::string_view text, const RtfReadLimits& limits = {});

// Whether the text is RTF rather than plain text.
bool LooksLikeRtf(std::string_view text);

}  // namespace vornel
