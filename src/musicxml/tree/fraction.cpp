#include "musicxml/tree/fraction.h"

#include <cstdlib>

#include "platform/text/NumberText.h"

namespace vornel::MusicXML2 {

namespace {

// Two's-complement arithmetic without signed overflow.
int32_t Mul(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b)); }
int32_t Add(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b)); }
int32_t Sub(int32_t a, int32_t b) { return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b)); }

}  // namespace

fraction::fraction(int32_t numerator, int32_t denominator)
    : numerator_(numerator), denominator_(denominator == 0 ? 1 : denominator) {}

fraction fraction::operator-(const fraction& b) const {
  return fraction(Sub(Mul(numerator_, b.denominator_), Mul(b.numerator_, denominator_)),
                  Mul(denominator_, b.denominator_));
}

fraction& fraction::operator+=(const fraction& b) {
  if (denominator_ == b.denominator_) {
    numerator_ = Add(numerator_, b.numerator_);
  } else {
    numerator_ = Add(Mul(b.numerator_, denominator_), Mul(numerator_, b.denominator_));
    denominator_ = Mul(b.denominator_, denominator_);
  }
  return *this;
}

fraction& fraction::operator*=(const fraction& b) {
  numerator_ = Mul(numerator_, b.numerator_);
  denominator_ = Mul(denominator_, b.denominator_);
  return *this;
}

bool fraction::operator>(const fraction& b) const {
  return Mul(numerator_, b.denominator_) > Mul(b.numerator_, denominator_);
}

bool fraction::operator<(const fraction& b) const {
  return Mul(numerator_, b.denominator_) < Mul(b.numerator_, denominator_);
}

void fraction::reduce() {
  // In 64 bits, so that the magnitude of INT32_MIN and a divisor of 2^31 stay exact.
  int64_t a = std::llabs(numerator_);
  int64_t b = std::llabs(denominator_);
  int64_t g = 1;
  if (a != 0) {
    while (b > 0) {
      const int64_t r = a % b;
      a = b;
      b = r;
    }
    g = a;
  }
  numerator_ = static_cast<int32_t>(numerator_ / g);
  denominator_ = static_cast<int32_t>(denominator_ / g);
  if (numerator_ == 0) denominator_ = 1;
}

std::string fraction::toString() const { return FormatInt(numerator_) + "/" + FormatInt(denominator_); }

}  // namespace vornel::MusicXML2
