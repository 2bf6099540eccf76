#pragma once
// Standard MIDI File fixtures written as hex: a header and track bodies, wrapped in their
// chunks with the right lengths.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "support/Bytes.h"

namespace vornel::testing {

// "MThd" 6, then format, track count and division, then each body as an "MTrk" chunk.
inline std::vector<uint8_t> Smf(uint16_t format, uint16_t tracks, uint16_t division,
                                std::initializer_list<std::string> bodies) {
  std::vector<uint8_t> out = HexBytes("4D 54 68 64 00 00 00 06");
  for (uint16_t v : {format, tracks, division}) {
    out.push_back(static_cast<uint8_t>(v >> 8));
    out.push_back(static_cast<uint8_t>(v));
  }
  for (const std::string& body : bodies) {
    const std::vector<uint8_t> b = HexBytes(body);
    const std::vector<uint8_t> head = HexBytes("4D 54 72 6B");
    out.insert(out.end(), head.begin(), head.end());
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(b.size() >> shift));
    out.insert(out.end(), b.begin(), b.end());
  }
  return out;
}

}  // namespace vornel::testing
