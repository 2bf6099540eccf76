#include "platform/text/FieldRanges.h"

namespace vornel {

std::string CheckFieldRanges(std::initializer_list<FieldRange> fields) {
  for (const FieldRange& f : fields) {
    if (f.value < f.minimum || f.value > f.maximum) {
      std::string message = "\"";
      message.append(f.field).append("\" must be between ");
      message.append(std::to_string(f.minimum)).append(" and ").append(std::to_string(f.maximum)).append(".");
      return message;
    }
  }
  return {};
}

}  // namespace vornel
