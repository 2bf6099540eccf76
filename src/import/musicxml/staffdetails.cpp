#include "import/musicxml/staffdetails.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>

#include "import/musicxml/ImportWarnings.h"

namespace vornel {

using namespace MusicXML2;

std::optional<int32_t> TuningPitch(std::string_view step, int32_t octave, int32_t alter) {
  // Semitones above C of the letters A to G.
  static constexpr int32_t kSemitones[7] = {9, 11, 0, 2, 4, 5, 7};
  if (step.empty() || step[0] < 'A' || step[0] > 'G') return std::nullopt;
  const int64_t pitch = (int64_t{octave} + 1) * 12 + kSemitones[step[0] - 'A'] + alter;
  // Far-off values stay far off without overflowing; the import refuses them.
  return static_cast<int32_t>(std::clamp<int64_t>(pitch, -100000, 100000));
}

void staffdetails::visitStart(Spart&) {
  staffLines_ = -1;
  capo_ = 0;
  tuning_.clear();
}

void staffdetails::visitStart(Sstaff_lines& elt) { staffLines_ = std::atoi(elt->getValue().c_str()); }

void staffdetails::visitStart(Scapo& elt) { capo_ = std::atoi(elt->getValue().c_str()); }

void staffdetails::visitStart(Sstaff_tuning& elt) {
  const int32_t line = std::atoi(elt->getAttributeValue("line").c_str());
  std::string step;
  int32_t octave = 0;
  double alter = 0;
  for (auto it = elt->begin(); it != elt->end(); ++it) {
    switch (it->getType()) {
      case ElementType("tuning-step"): step = it->getValue(); break;
      case ElementType("tuning-octave"): octave = std::atoi(it->getValue().c_str()); break;
      case ElementType("tuning-alter"): alter = std::atof(it->getValue().c_str()); break;
      default: break;
    }
  }
  const double rounded = std::isfinite(alter) ? std::clamp(std::round(alter), -12.0, 12.0) : 0.0;
  const std::optional<int32_t> pitch = TuningPitch(step, octave, static_cast<int32_t>(rounded));
  if (!pitch) {
    ImportWarning("warning: staff-tuning of line " + std::to_string(line) + " has no step from A to G");
    return;
  }
  tuning_[line] = *pitch;
}

}  // namespace vornel
