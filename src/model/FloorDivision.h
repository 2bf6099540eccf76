#pragma once
// Division and remainder rounded toward minus infinity, so that pitch classes, steps and
// octaves of values below zero stay within their tables.

namespace vornel {

constexpr int FloorMod(int value, int modulus) { return ((value % modulus) + modulus) % modulus; }
constexpr int FloorDiv(int value, int divisor) { return (value - FloorMod(value, divisor)) / divisor; }

}  // namespace vornel
