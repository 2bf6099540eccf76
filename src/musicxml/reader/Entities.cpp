#include "musicxml/reader/Entities.h"

#include <cstdint>

#include "platform/text/TextConversion.h"
#include "platform/xml/XmlControls.h"

namespace vornel::MusicXML2 {

namespace {

// Decodes the reference that starts at text[pos] ('&'); returns its length, or 0 when it is not
// one we decode.
size_t DecodeReference(std::string_view text, size_t pos, std::string& out) {
  // The longest reference we decode is "&#x10FFFF;"; looking no further keeps the scan linear.
  const size_t semicolon = text.substr(pos + 1, 11).find(';');
  if (semicolon == std::string_view::npos) return 0;
  const size_t end = pos + 1 + semicolon;
  const std::string_view body = text.substr(pos + 1, end - pos - 1);
  static constexpr std::pair<std::string_view, char> kNamed[] = {
      {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
  for (const auto& [name, c] : kNamed) {
    if (body == name) {
      out += c;
      return end - pos + 1;
    }
  }
  if (body.size() < 2 || body[0] != '#') return 0;
  const bool hex = body[1] == 'x';
  const std::string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  uint32_t codePoint = 0;
  for (const char c : digits) {
    uint32_t digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<uint32_t>(c - '0');
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = static_cast<uint32_t>(c - 'a' + 10);
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = static_cast<uint32_t>(c - 'A' + 10);
    } else {
      return 0;
    }
    codePoint = codePoint * (hex ? 16 : 10) + digit;
    if (codePoint > 0x10FFFF) return 0;
  }
  if (codePoint == 0 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  AppendUtf8(out, static_cast<char32_t>(codePoint));
  return end - pos + 1;
}

// The text with its references decoded.
std::string DecodeReferences(std::string_view text) {
  size_t amp = text.find('&');
  if (amp == std::string_view::npos) return std::string(text);
  std::string out;
  out.reserve(text.size());
  size_t done = 0;
  while (amp != std::string_view::npos) {
    out.append(text, done, amp - done);
    const size_t length = DecodeReference(text, amp, out);
    if (length == 0) {
      out += '&';
      done = amp + 1;
    } else {
      done = amp + length;
    }
    amp = text.find('&', done);
  }
  out.append(text, done);
  return out;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
  std::string decoded = DecodeReferences(text);
  // The controls a MusicXML writer of ours writes as their pictures.
  return HoldsXmlControlForms(decoded) ? DecodeXmlControls(decoded) : decoded;
}

}  // namespace vornel::MusicXML2
