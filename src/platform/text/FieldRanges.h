#pragma once
// Range checks of dialog fields. A dialog whose field is out of range stays open and shows the
// message, which names the field and its range.

#include <initializer_list>
#include <string>
#include <string_view>

namespace vornel {

struct FieldRange {
  std::string_view field;
  long value;
  long minimum;
  long maximum;
};

// The message of the first field outside its range; empty when every field is inside.
std::string CheckFieldRanges(std::initializer_list<FieldRange> fields);

}  // namespace vornel
