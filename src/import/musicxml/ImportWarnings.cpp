#include "import/musicxml/ImportWarnings.h"

#include <iostream>

namespace vornel {

namespace {

std::ostream*& Sink() {
  static std::ostream* sink = &std::cerr;
  return sink;
}

}  // namespace

std::ostream& ImportWarnings() { return *Sink(); }

void ImportWarning(std::string_view text) { ImportWarnings() << text << '\n'; }

ScopedImportWarnings::ScopedImportWarnings(std::ostream& stream) : previous_(Sink()) { Sink() = &stream; }

ScopedImportWarnings::~ScopedImportWarnings() { Sink() = previous_; }

}  // namespace vornel
