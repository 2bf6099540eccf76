#include "layout/dialogs/MetaEventDialogs.h"

#include <algorithm>
#include <cstdlib>

#include "platform/text/FieldRanges.h"
#include "model/events/CMetaEvent.h"

namespace vornel {

int ReadSignedByte(uint32_t byte) {
  const int magnitude = static_cast<int>(byte & 0x7F);
  return (byte & 0x80) != 0 ? -magnitude : magnitude;
}

uint8_t MakeSignedByte(int number) {
  const int magnitude = std::min(std::abs(number), 127);
  return static_cast<uint8_t>(number < 0 ? (0x80 | magnitude) : magnitude);
}

int ReadLineByte(uint32_t value, bool lower) { return ReadSignedByte((value >> (lower ? 16 : 8)) & 0xFF); }

uint32_t StoreLineByte(uint32_t value, bool lower, int number) {
  const uint32_t byte = MakeSignedByte(number);
  return lower ? (value & 0xFFFFu) | (byte << 16) : (value & 0x00FF00FFu) | (byte << 8);
}

namespace {

bool IsFormatText(const std::string& text) {
  // The single character U+7565 in UTF-8.
  return text == "\xE7\x95\xA5";
}

long Index(std::size_t size) { return static_cast<long>(size) - 1; }

}  // namespace

void CTimeSignatureDlg::From(const CMetaEvent& e) {
  beats = e.cx != 0 ? e.cx : 4;
  beatValue = e.cy != 0 ? e.cy : 4;
  format = IsFormatText(e.text) || (e.value & 0x8) != 0;
  visible = (e.value & 0x1) != 0;
  verticalShift = (e.value & 0x2) != 0;
  numeratorOnly = (e.value & 0x4) != 0;
  relativeSize = static_cast<int>((e.value >> 16) & 0xFFFF) + 50;
  deleteMe = false;
}

std::string CTimeSignatureDlg::Validate() const {
  return CheckFieldRanges(
      {{"Beats per bar:", beats, 1, 32}, {"Beat value:", beatValue, 1, 32}, {"Relative size:", relativeSize, 50, 120}});
}

void CTimeSignatureDlg::To(CMetaEvent& e) const {
  if (deleteMe) {
    e.kind = CMetaEvent::kDeleteMe;
    return;
  }
  e.cx = beats;
  e.cy = beatValue;
  e.value = (static_cast<uint32_t>(relativeSize - 50) << 16) | (visible ? 0x1u : 0u) | (verticalShift ? 0x2u : 0u) |
            (numeratorOnly ? 0x4u : 0u) | (format ? 0x8u : 0u) | (e.value & 0x80u);
}

void LegatoDlg::From(const CMetaEvent& e, bool lower) {
  const int shift = lower ? 16 : 8;
  steps = static_cast<int>(e.value & 0xFF);
  beginLine = static_cast<int>((e.value >> shift) & 15) - 7;
  endLine = static_cast<int>((e.value >> (shift + 4)) & 15) - 7;
  depth = lower ? e.cx : e.cy;
  wavy = ((e.value >> (lower ? 24 : 28)) & 15) != 0;
  text = e.text;
  deleteMe = false;
  undoOffset = false;
}

std::string LegatoDlg::Validate() const {
  return CheckFieldRanges({{"Begin line:", beginLine, -7, 7},
                           {"Ending line:", endLine, -7, 7},
                           {"Number of horizontal steps:", steps, 0, 64},
                           {"Curve Depth:", depth, -36, 36}});
}

void LegatoDlg::To(CMetaEvent& e, bool lower) const {
  if (deleteMe) {
    e.kind = CMetaEvent::kDeleteMe;
    return;
  }
  if (undoOffset) e.ResetLocation();
  const int shift = lower ? 16 : 8;
  const uint32_t kept = e.value & (lower ? 0xFF00FF00u : 0xFFFF0000u);
  const uint32_t lines = (static_cast<uint32_t>(endLine + 7) << 4) | static_cast<uint32_t>(beginLine + 7);
  uint32_t v = kept | (lines << shift) | static_cast<uint32_t>(steps);
  if (wavy) {
    v = lower ? (v & 0xF1FFFFFFu) | 0x1000000u : (v & 0x0FFFFFFFu) | 0x10000000u;
  } else {
    v &= 0x00FFFFFFu;
  }
  e.value = v;
  (lower ? e.cx : e.cy) = depth;
  e.text = text;
}

void CContinuoDlg::From(const CMetaEvent& e, bool lower) {
  text = e.text;
  aboveStaff = (lower ? e.cx : e.cy) != 0;
  space = ReadLineByte(e.value, lower);
}

std::string CContinuoDlg::Validate() const {
  std::string message = CheckFieldRanges({{"Add vertical space:", space, 0, 15}});
  if (message.empty() && text.size() > kMaxText) message = "The figures take at most 24 characters.";
  return message;
}

void CContinuoDlg::To(CMetaEvent& e, bool lower) const {
  e.text = text;
  (lower ? e.cx : e.cy) = aboveStaff ? 1 : 0;
  e.value = StoreLineByte(e.value, lower, space);
}

void CEndingDlg::From(const CMetaEvent& e, bool lower) {
  top = e.cx;
  barLength = ReadLineByte(e.value, lower);
  text = e.text;
  type = e.cy;
}

std::string CEndingDlg::Validate() const {
  return CheckFieldRanges({{"Horizontal bar length:", barLength, 0, 12},
                           {"Top position:", top, 0, 96},
                           {"Type", type, 0, Index(kTypes.size())}});
}

void CEndingDlg::To(CMetaEvent& e, bool lower) const {
  e.cx = top;
  e.value = StoreLineByte(e.value, lower, barLength);
  e.text = text;
  e.cy = type;
}

void CCrescendo::From(const CMetaEvent& e, bool lower) {
  horizontal = e.cx;
  volume = e.cy;
  vertical = ReadLineByte(e.value, lower);
  rasgueado = e.kind == CMetaEvent::kRasgueado;
}

std::string CCrescendo::Validate() const {
  return CheckFieldRanges({{"Horizontal intervals:", horizontal, 0, 32},
                           {"MIDI volume:", volume, 0, 60},
                           {rasgueado ? "Speed" : "Vertical intervals:", vertical, -30, 30}});
}

void CCrescendo::To(CMetaEvent& e, bool lower) const {
  e.cx = horizontal;
  e.cy = volume;
  e.value = StoreLineByte(e.value, lower, vertical);
}

void CBarreDlg::From(const CMetaEvent& e) {
  fret = e.cx & 0xFF;
  extent = (e.cx >> 8) & 0xFFFFFF;
  latin = (e.cy & 0x2) != 0;
  half = (e.cy & 0x1) != 0;
}

std::string CBarreDlg::Validate() const {
  return CheckFieldRanges({{"Fret position:", fret, 0, 24}, {"Horizontal extent:", extent, 0, 96}});
}

void CBarreDlg::To(CMetaEvent& e) const {
  e.cx = (extent << 8) | fret;
  e.cy = (half ? 1 : 0) | (latin ? 2 : 0);
  e.value = (e.value & 0xFF) | 0x30400;
}

void CMetaHyperlink::From(const CMetaEvent& e) {
  const size_t split = e.text.find('|');
  url = e.text.substr(0, split);
  caption = split == std::string::npos ? std::string() : e.text.substr(split + 1);
  section = e.cx & 0xFF;
  bar = (e.cx >> 8) & 0xFF;
  printFullUrl = (e.cx & 0x1000) != 0;
  type = e.cy;
}

std::string CMetaHyperlink::Validate() const {
  std::string message = CheckFieldRanges({{"Hyperlink Type", type, 0, Index(kTypes.size())}});
  if (message.empty() && InternalLink()) {
    message = CheckFieldRanges({{"Section number", section, 1, std::max(sectionCount, 1)}, {"Bar number", bar, 1, 250}});
  }
  return message;
}

void CMetaHyperlink::To(CMetaEvent& e) const {
  e.text = url + "|" + caption;
  e.cx = InternalLink() ? ((bar & 0xFF) << 8) | (section & 0xFF) : 0;
  if (printFullUrl) e.cx |= 0x1000;
  e.cy = type;
}

void CMeta_LBracketDlg::From(const CMetaEvent& e, bool lower) {
  const uint32_t cy = static_cast<uint32_t>(e.cy);
  height = static_cast<int>(lower ? cy & 0xFF : (cy >> 16) & 0xFF);
  facesLeft = (e.cx & 1) != 0;
  type = (e.cx >> 1) & 7;
  thickness = (e.cx >> 8) & 0xFFFFFF;
  if (thickness == 0) thickness = 4;
}

std::string CMeta_LBracketDlg::Validate() const {
  return CheckFieldRanges({{"Bracket height", height, 1, 64}, {"Thickness", thickness, 1, 10}});
}

void CMeta_LBracketDlg::To(CMetaEvent& e, bool lower) const {
  const uint32_t cy = static_cast<uint32_t>(e.cy);
  const uint32_t h = static_cast<uint32_t>(height) & 0xFFFF;
  e.cy = static_cast<int32_t>(lower ? (cy & 0xFFFF0000u) | h : (cy & 0xFFFFu) | (h << 16));
  e.cx = (thickness << 8) | (type << 1) | (facesLeft ? 1 : 0);
}

void CDynamicCtrl::From(const CMetaEvent& e) {
  volume = e.cy & 0xFF;
  type = (e.cy >> 16) & 0xFFFF;
  extent = e.cx;
}

std::string CDynamicCtrl::Validate() const {
  return CheckFieldRanges(
      {{"Type:", type, 0, Index(kTypes.size())}, {"MIDI volume:", volume, 0, 127}, {"Extent:", extent, 0, 64}});
}

void CDynamicCtrl::To(CMetaEvent& e) const {
  e.cy = (type << 16) | volume;
  e.text = std::string(kTypes.at(static_cast<size_t>(type)));
  e.cx = extent;
}

void CDynamicCtrl::ChooseType(int index) {
  type = index;
  // The slider ends at 127: "pedal" would ask for 150.
  volume = std::min((index * 5 + 25) * 2, 127);
}

void CClefChange::From(const CMetaEvent& e) {
  insertClef = (e.value & 0x10000) != 0 || (e.value == 0 && e.cy == 0);
  clef = static_cast<int>(e.value & 15);
  raise = e.cx;
  insertKey = e.cy != 0;
  sharp = (e.cy & 0x10) != 0;
  count = e.cy & 15;
}

std::string CClefChange::Validate() const {
  return CheckFieldRanges({{"Clef", insertClef ? clef : 0, 0, Index(kClefs.size())},
                           {"Raise clef by:", raise, -12, 12},
                           {"Clef Alterations:", count, 0, 7}});
}

void CClefChange::To(CMetaEvent& e) const {
  if (insertClef) {
    e.value = static_cast<uint32_t>(clef) | 0x10000u;
    e.cx = raise;
  } else {
    e.value = 0;
    e.cx = 0;
  }
  e.cy = insertKey ? (sharp ? 16 : 0) | count | 0x100 : 0;
}

void CMetaReprise::From(const CMetaEvent& e) {
  left = (e.cx & 0x1) != 0;
  shortDots = (e.cx & 0x2) != 0;
  drawLine = (e.cx & 0x4) != 0;
  bold = (e.cx & 0x20) != 0;
  italic = (e.cx & 0x40) != 0;
  const int stored = static_cast<int16_t>(static_cast<uint32_t>(e.cx) >> 16);
  size = stored == 0 ? -1 : stored;
  glyph = e.cy;
  text = e.text;
}

std::string CMetaReprise::Validate() const {
  return CheckFieldRanges({{"Glyph", glyph, 0, Index(kGlyphs.size())}, {"Font size", size, -1, Index(kSizes.size())}});
}

void CMetaReprise::To(CMetaEvent& e) const {
  const uint32_t flags = (left ? 0x1u : 0u) | (shortDots ? 0x2u : 0u) | (drawLine ? 0x4u : 0u) | (bold ? 0x20u : 0u) |
                         (italic ? 0x40u : 0u);
  e.cx = static_cast<int32_t>(flags | (static_cast<uint32_t>(static_cast<uint16_t>(std::max(size, 0))) << 16));
  e.cy = glyph;
  e.text = text;
}

}  // namespace vornel
