#include "import/musicxml/WholeNoteTime.h"

#include <limits>

namespace vornel {

namespace {

using Wide = __int128;
constexpr Wide kMax = std::numeric_limits<int32_t>::max();

Wide Magnitude(Wide v) { return v < 0 ? -v : v; }

Wide Gcd(Wide a, Wide b) {
  while (b != 0) {
    const Wide r = a % b;
    a = b;
    b = r;
  }
  return a;
}

int BitLength(Wide v) {
  int bits = 0;
  for (; v != 0; v >>= 1) ++bits;
  return bits;
}

// n/d reduced, its denominator positive, held within 32 bits.
fraction Fit(Wide n, Wide d) {
  if (d == 0 || n == 0) return fraction(0, 1);
  if (d < 0) {
    n = -n;
    d = -d;
  }
  Wide g = Gcd(Magnitude(n), d);
  n /= g;
  d /= g;
  if (Magnitude(n) > kMax || d > kMax) {
    if (Magnitude(n) / d >= kMax) return fraction(n < 0 ? -static_cast<int32_t>(kMax) : static_cast<int32_t>(kMax), 1);
    // The nearest value with fewer bits: both terms lose the same number of low bits.
    const int shift = (BitLength(Magnitude(n)) > BitLength(d) ? BitLength(Magnitude(n)) : BitLength(d)) - 31;
    const bool negative = n < 0;
    n = Magnitude(n) >> shift;
    d >>= shift;
    if (d == 0) d = 1;
    if (n == 0) return fraction(0, 1);
    g = Gcd(n, d);
    n /= g;
    d /= g;
    if (negative) n = -n;
  }
  return fraction(static_cast<int32_t>(n), static_cast<int32_t>(d));
}

}  // namespace

fraction WholeNotes(int64_t numerator, int64_t denominator) { return Fit(numerator, denominator); }

fraction DurationInWholeNotes(int32_t duration, int32_t divisions) {
  return Fit(duration, static_cast<Wide>(divisions) * 4);
}

fraction TimeSum(const fraction& a, const fraction& b) {
  const Wide n = static_cast<Wide>(a.getNumerator()) * b.getDenominator() +
                 static_cast<Wide>(b.getNumerator()) * a.getDenominator();
  return Fit(n, static_cast<Wide>(a.getDenominator()) * b.getDenominator());
}

fraction TimeDifference(const fraction& a, const fraction& b) {
  const Wide n = static_cast<Wide>(a.getNumerator()) * b.getDenominator() -
                 static_cast<Wide>(b.getNumerator()) * a.getDenominator();
  return Fit(n, static_cast<Wide>(a.getDenominator()) * b.getDenominator());
}

fraction TimeProduct(const fraction& a, const fraction& b) {
  return Fit(static_cast<Wide>(a.getNumerator()) * b.getNumerator(),
             static_cast<Wide>(a.getDenominator()) * b.getDenominator());
}

fraction MeterSum(const fraction& a, const fraction& b) {
  Wide da = a.getDenominator();
  Wide db = b.getDenominator();
  Wide na = a.getNumerator();
  Wide nb = b.getNumerator();
  if (da < 0) {
    da = -da;
    na = -na;
  }
  if (db < 0) {
    db = -db;
    nb = -nb;
  }
  const Wide common = da / Gcd(da, db) * db;
  Wide n = na * (common / da) + nb * (common / db);
  if (Magnitude(n) <= kMax && common <= kMax) return fraction(static_cast<int32_t>(n), static_cast<int32_t>(common));
  return Fit(n, common);
}

bool TimeLess(const fraction& a, const fraction& b) {
  // n1/d1 < n2/d2 with d1 d2 > 0 is n1 d2 < n2 d1; a negative denominator flips its side.
  Wide left = static_cast<Wide>(a.getNumerator()) * b.getDenominator();
  Wide right = static_cast<Wide>(b.getNumerator()) * a.getDenominator();
  if ((static_cast<Wide>(a.getDenominator()) * b.getDenominator()) < 0) return right < left;
  return left < right;
}

}  // namespace vornel
