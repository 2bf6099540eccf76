#include "model/score/CBar.h"

namespace vornel {

CBar* CBarArray::GetOrCreateBar(size_t index) {
  if (index < size()) return at(index);
  return push_back(std::make_unique<CBar>());
}

void CBarArray::DeleteAll() {
  clear();
  largestElementCount = 0;
  largestTickLength = 0;
}

}  // namespace vornel
