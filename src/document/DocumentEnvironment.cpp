#include "document/DocumentEnvironment.h"

namespace vornel {

DocumentEnvironment& Environment() {
  static DocumentEnvironment environment;
  return environment;
}

}  // namespace vornel
