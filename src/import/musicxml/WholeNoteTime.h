#pragma once
// Time in whole notes for the part converter: reduced fractions with a positive denominator,
// worked out exactly in wider integers. A result that does not fit 32 bits is held at the
// nearest value that does (at most 2^31 - 1 whole notes either way), so absurd durations in
// a file never wrap into small or negative times.

#include <cstdint>

#include "musicxml/tree/fraction.h"

namespace vornel {

using MusicXML2::fraction;

// n/d reduced (0/1 for a zero denominator).
fraction WholeNotes(int64_t numerator, int64_t denominator);
// A MusicXML duration: duration / (divisions x 4).
fraction DurationInWholeNotes(int32_t duration, int32_t divisions);

fraction TimeSum(const fraction& a, const fraction& b);
fraction TimeDifference(const fraction& a, const fraction& b);
fraction TimeProduct(const fraction& a, const fraction& b);
// A sum over the common denominator of both (2/4 + 3/8 = 7/8, 3/8 + 3/8 = 6/8): the form of a
// compound time signature. Not reduced.
fraction MeterSum(const fraction& a, const fraction& b);
// By value, exactly, for any signs of the terms.
bool TimeLess(const fraction& a, const fraction& b);

}  // namespace vornel
