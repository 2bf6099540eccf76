#pragma once
// 64-bit FNV-1a: a quick, stable hash of bytes for cache keys (not for anything a hostile
// input could exploit to collide on purpose).

#include <cstdint>
#include <span>
#include <string_view>

namespace vornel {

inline constexpr uint64_t kFnv1aOffset = 0xcbf29ce484222325ull;

// The hash continued from `hash` over `bytes`.
constexpr uint64_t Fnv1a(uint64_t hash, std::span<const uint8_t> bytes) {
  for (const uint8_t b : bytes) {
    hash ^= b;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

inline uint64_t Fnv1a(uint64_t hash, std::string_view text) {
  return Fnv1a(hash, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}

// The hash continued over the eight bytes of `value`, lowest first.
constexpr uint64_t Fnv1aValue(uint64_t hash, uint64_t value) {
  for (int i = 0; i < 8; ++i) {
    hash ^= (value >> (8 * i)) & 0xFF;
    hash *= 0x100000001b3ull;
  }
  return hash;
}

}  // namespace vornel
