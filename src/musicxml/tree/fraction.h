#pragma once
// Exact rational arithmetic on musical time in 32-bit integers. Results are not reduced unless
// reduce() is called; products wrap on overflow as two's-complement values do.

#include <cstdint>
#include <string>

namespace vornel::MusicXML2 {

class fraction {
 public:
  // A denominator of 0 is stored as 1.
  fraction(int32_t numerator = 0, int32_t denominator = 1);

  int32_t getNumerator() const { return numerator_; }
  int32_t getDenominator() const { return denominator_; }

  fraction operator-(const fraction& b) const;
  fraction& operator+=(const fraction& b);
  fraction& operator*=(const fraction& b);
  // Cross-multiplied: they order by value when both denominators are positive.
  bool operator>(const fraction& b) const;
  bool operator<(const fraction& b) const;

  // Divides both terms by their greatest common divisor; the sign stays where it is.
  void reduce();
  std::string toString() const;

  // Field by field, for tests and callers that compare stored forms.
  friend bool operator==(const fraction&, const fraction&) = default;

 private:
  int32_t numerator_;
  int32_t denominator_;
};

}  // namespace vornel::MusicXML2
