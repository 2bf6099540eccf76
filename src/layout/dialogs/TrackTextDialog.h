#pragma once
// "Track text settings": the content, position, flags and font of a text placed on a page,
// and, as "Caption editor" and "Footnote editor", of a caption or footnote meta-event with the
// offsets of the view it is edited in and the document's caption or footnote font.

#include <cstdint>
#include <string>

#include "model/text/dfLogFont.h"

namespace vornel {

class CMetaEvent;
class CTrackText;

struct CTrackTextDlg {
  static constexpr std::string_view kCaptionTitle = "Caption editor";
  static constexpr std::string_view kFootnoteTitle = "Footnote editor";

  std::string title;
  std::string text;  // lines separated by carriage return and line feed, as the edit shows them
  int x = 0;
  int y = 0;
  bool visible = true;
  bool border = false;
  bool shaded = false;
  bool centered = false;
  dfLogFont font;
  int fontTuning = 0;  // -20 to 20 tenths of a point
  // An event's offsets may lie on either side of its anchor; a page text's only after it.
  bool forEvent = false;

  // A page text: the title is its descriptor, blanks for '-' and in upper case; negative
  // positions show as 0.
  void From(const CTrackText& track);
  void To(CTrackText& track) const;
  // A caption (kind 5) or footnote (23) in `view` (0 staff notation, else tablature), with the
  // document's font for its kind.
  void FromEvent(const CMetaEvent& event, int view, const dfLogFont& documentFont);
  void ToEvent(CMetaEvent& event, int view) const;
  std::string Validate() const;
};

}  // namespace vornel
