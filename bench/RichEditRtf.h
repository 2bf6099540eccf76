#pragma once
// RTF in the style of the rich-edit control, for the rich-text benchmarks: formatted
// paragraphs with escapes, bullets, and a picture every twenty paragraphs.

#include <string>

#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfEscape.h"

namespace vornel::bench {

// A 48 x 48 colour image as PNG, in hex as the control writes it.
inline std::string PictureRtf() {
  DeviceBitmap pixels(48, 48);
  for (int32_t y = 0; y < 48; ++y) {
    for (int32_t x = 0; x < 48; ++x) {
      pixels.SetPixel(x, y, RGB(static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 5), static_cast<uint8_t>((x ^ y) * 3)));
    }
  }
  std::string png;
  EncodePng(pixels, png);
  static const char kHex[] = "0123456789abcdef";
  std::string rtf = "{\\pict\\pngblip\\picw48\\pich48\\picwgoal720\\pichgoal720\r\n";
  for (size_t i = 0; i < png.size(); ++i) {
    const auto b = static_cast<unsigned char>(png[i]);
    rtf += kHex[b >> 4];
    rtf += kHex[b & 0xF];
    if (i % 64 == 63) rtf += "\r\n";
  }
  return rtf + "}";
}

// About `bytes` of RTF.
inline std::string RichEditRtf(size_t bytes) {
  std::string s =
      "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
      "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
      "{\\colortbl ;\\red128\\green0\\blue0;\\red0\\green0\\blue128;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";
  const std::string picture = PictureRtf();
  const std::string body = EscapeRtfText(
      "The pieces are ordered as the manuscript orders them; titles keep the spelling of the source "
      "(caf\xC3\xA9, \xE2\x82\xAC 12) and a modern title follows in brackets where the source has none. ");
  for (int i = 0; s.size() < bytes; ++i) {
    if (i % 20 == 19) {
      s += "\\pard\\qc " + picture + "\\par\r\n";
    } else if (i % 7 == 3) {
      s += "\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 Item \\b " +
           std::to_string(i) + "\\b0  of the list\\par\r\n";
    } else {
      s += "\\pard\\qj\\sa120 \\cf1\\b Paragraph " + std::to_string(i) + ".\\cf0\\b0  " + body + "\\i " + body +
           "\\i0\\par\r\n";
    }
  }
  return s + "}";
}

}  // namespace vornel::bench
