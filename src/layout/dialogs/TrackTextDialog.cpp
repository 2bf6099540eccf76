#include "layout/dialogs/TrackTextDialog.h"

#include <algorithm>
#include <cctype>

#include "platform/text/FieldRanges.h"
#include "model/events/CMetaEvent.h"
#include "model/text/CTrackText.h"

namespace vornel {

namespace {

std::string ShownLines(const std::string& text) {
  std::string shown;
  for (char c : text) {
    if (c == '\n') shown += '\r';
    shown += c;
  }
  return shown;
}

std::string StoredLines(const std::string& shown) {
  std::string text;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (shown[i] == '\r' && i + 1 < shown.size() && shown[i + 1] == '\n') continue;
    text += shown[i];
  }
  return text;
}

}  // namespace

void CTrackTextDlg::From(const CTrackText& track) {
  title = track.descriptor;
  std::replace(title.begin(), title.end(), '-', ' ');
  std::transform(title.begin(), title.end(), title.begin(), [](unsigned char c) { return std::toupper(c); });
  text = ShownLines(track.text);
  x = std::max(track.x, 0);
  y = std::max(track.y, 0);
  visible = (track.flags & CTrackText::kVisible) != 0;
  border = (track.flags & CTrackText::kBorder) != 0;
  shaded = (track.flags & CTrackText::kShaded) != 0;
  centered = (track.flags & CTrackText::kCentered) != 0;
  font = track.font;
  fontTuning = track.font.microTuning;
  forEvent = false;
}

void CTrackTextDlg::To(CTrackText& track) const {
  track.text = StoredLines(text);
  track.x = x;
  track.y = y;
  track.font = font;
  track.font.microTuning = fontTuning;
  track.flags = visible ? CTrackText::kVisible | (border ? CTrackText::kBorder : 0u) |
                              (shaded ? CTrackText::kShaded : 0u) | (centered ? CTrackText::kCentered : 0u)
                        : 0u;
}

void CTrackTextDlg::FromEvent(const CMetaEvent& event, int view, const dfLogFont& documentFont) {
  title = std::string(event.kind == CMetaEvent::kFootnote ? kFootnoteTitle : kCaptionTitle);
  text = ShownLines(event.text);
  const EventLocation& at = event.location;
  x = view == EventLocation::kNotation ? at.notationCx : at.tablatureCx;
  y = view == EventLocation::kNotation ? at.notationCy : at.tablatureCy;
  visible = true;
  border = (event.cx & 0x2) != 0;
  shaded = (event.cx & 0x4) != 0;
  centered = (event.cx & 0x8) != 0;
  font = documentFont;
  fontTuning = documentFont.microTuning;
  forEvent = true;
}

void CTrackTextDlg::ToEvent(CMetaEvent& event, int view) const {
  event.text = StoredLines(text);
  event.location.SetOffset(view, x, y);
  event.cx = static_cast<int32_t>((static_cast<uint32_t>(event.cx) & ~0xEu) | (border ? 0x2u : 0u) |
                                  (shaded ? 0x4u : 0u) | (centered ? 0x8u : 0u));
}

std::string CTrackTextDlg::Validate() const {
  const long low = forEvent ? -10000 : 0;
  return CheckFieldRanges({{"X", x, low, 10000}, {"Y", y, low, 10000}, {"Font tuning", fontTuning, -20, 20}});
}

}  // namespace vornel
