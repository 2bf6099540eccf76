#include "import/musicxml/vornelharmony.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace vornel {

void vornelharmony::visitStart(Sharmony&) {
  rootStep_.clear();
  rootAlter_.clear();
  kindText_.clear();
  degreeText_.clear();
}

void vornelharmony::visitStart(Sroot_alter& elt) {
  const double alter = std::atof(elt->getValue().c_str());
  const long n = std::isfinite(alter) ? std::lround(std::clamp(alter, -2.0, 2.0)) : 0;
  rootAlter_.assign(static_cast<size_t>(std::labs(n)), n > 0 ? '#' : 'b');
}

}  // namespace vornel
