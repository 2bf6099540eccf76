#include "import/ImportWarnings.h"

#include <filesystem>
#include <iostream>

namespace vornel {

namespace {

std::ostream*& Sink() {
  static std::ostream* sink = &std::cerr;
  return sink;
}

// The outermost report of the import that runs.
ImportReport*& Running() {
  static ImportReport* running = nullptr;
  return running;
}

}  // namespace

std::ostream& ImportWarnings() { return *Sink(); }

void ImportWarning(std::string_view text) { ImportWarnings() << text << '\n'; }

ScopedImportWarnings::ScopedImportWarnings(std::ostream& stream) : previous_(Sink()) { Sink() = &stream; }

ScopedImportWarnings::~ScopedImportWarnings() { Sink() = previous_; }

void CountImportLoss(const ImportLoss& cause, size_t count) {
  ImportReport* report = Running();
  if (report == nullptr || count == 0) return;
  for (ImportReport::Counted& counted : report->counts_) {
    if (counted.cause.one == cause.one) {
      counted.count += count;
      return;
    }
  }
  report->counts_.push_back({cause, count});
}

ImportReport::ImportReport(std::string_view source)
    : source_(std::filesystem::path(source).filename().string()), outer_(Running()) {
  if (source_.empty()) source_ = std::string(source);
  if (outer_ == nullptr) Running() = this;
}

ImportReport::~ImportReport() {
  if (outer_ != nullptr) return;
  Running() = nullptr;
  const std::string summary = Summary();
  if (!summary.empty()) ImportWarning(summary);
}

size_t ImportReport::Count(const ImportLoss& cause) const {
  const ImportReport* report = outer_ != nullptr ? outer_ : this;
  for (const Counted& counted : report->counts_) {
    if (counted.cause.one == cause.one) return counted.count;
  }
  return 0;
}

std::string ImportReport::Summary() const {
  const ImportReport* report = outer_ != nullptr ? outer_ : this;
  if (report->counts_.empty()) return {};
  std::string text = "warning: " + report->source_ + ": not imported: ";
  for (size_t i = 0; i < report->counts_.size(); ++i) {
    const Counted& counted = report->counts_[i];
    if (i > 0) text += ", ";
    text += std::to_string(counted.count);
    text += ' ';
    text += counted.count == 1 ? counted.cause.one : counted.cause.many;
  }
  return text;
}

}  // namespace vornel
