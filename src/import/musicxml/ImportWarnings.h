#pragma once
// The importers' warnings now serve every import: see import/ImportWarnings.h.

#include "import/ImportWarnings.h"
