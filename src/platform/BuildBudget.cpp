#include "platform/BuildBudget.h"

#include <filesystem>
#include <string>
#include <system_error>


namespace vornel {

namespace {

thread_local BuildBudget* installed = nullptr;

std::string MegabytesText(uint64_t bytes) { return std::to_string((bytes + (uint64_t(1) << 20) - 1) >> 20) + " MB"; }

std::string OverBudgetText(uint64_t storedBytes, uint64_t limitBytes) {
  return "The file is too large to read: it would take more than " + MegabytesText(limitBytes) +
         " of memory, the most a file of " + std::to_string(storedBytes) +
         " bytes may take (64 MB and 64 bytes for each of its bytes).";
}

}  // namespace

BuildBudgetExceeded::BuildBudgetExceeded(uint64_t storedBytes, uint64_t limitBytes)
    : std::runtime_error(OverBudgetText(storedBytes, limitBytes)), storedBytes_(storedBytes), limitBytes_(limitBytes) {}

BuildBudget::BuildBudget(uint64_t storedBytes)
    : BuildBudget(storedBytes, kBaseBytes + kBytesPerStoredByte * std::min<uint64_t>(storedBytes, uint64_t(1) << 48)) {}

BuildBudget::BuildBudget(uint64_t storedBytes, uint64_t limitBytes) : storedBytes_(storedBytes), limitBytes_(limitBytes) {}

BuildBudget BuildBudget::OfFile(const std::string& path) {
  std::error_code error;
  const uintmax_t size = std::filesystem::file_size(path, error);
  return BuildBudget(error ? 0 : size);
}

void BuildBudget::Charge(uint64_t bytes) {
  if (!Fits(bytes)) throw BuildBudgetExceeded(storedBytes_, limitBytes_);
  Add(bytes);
}

void BuildBudget::Add(uint64_t bytes) {
  held_ += bytes;
  peak_ = std::max(peak_, held_);
}

void BuildBudget::Credit(uint64_t bytes) { held_ -= std::min(held_, bytes); }

ScopedBuildBudget::ScopedBuildBudget(BuildBudget& budget) : previous_(installed) {
  budget.outer_ = previous_;
  installed = &budget;
}

ScopedBuildBudget::~ScopedBuildBudget() {
  installed->outer_ = nullptr;
  installed = previous_;
}

void ChargeBuilt(uint64_t bytes) {
  if (installed == nullptr) return;
  // Every budget around the reading must have room before any is charged.
  for (const BuildBudget* b = installed; b != nullptr; b = b->outer_) {
    if (!b->Fits(bytes)) throw BuildBudgetExceeded(b->storedBytes_, b->limitBytes_);
  }
  for (BuildBudget* b = installed; b != nullptr; b = b->outer_) b->Add(bytes);
}

void CreditBuilt(uint64_t bytes) {
  for (BuildBudget* b = installed; b != nullptr; b = b->outer_) b->Credit(bytes);
}

bool BuildBudgetInstalled() { return installed != nullptr; }

uint64_t ParsedXmlWeight(const char* text, size_t size) {
  // tinyxml2 keeps a copy of the text, 120 bytes for an element and 80 for an attribute.
  constexpr uint64_t kElement = 120;
  constexpr uint64_t kAttribute = 80;
  uint64_t elements = 0;
  uint64_t attributes = 0;
  const char* end = text + size;
  for (const char* p = text; p < end; ++p) {
    const char c = *p;
    elements += c == '<' && (p + 1 == end || p[1] != '/');
    attributes += c == '=';
  }
  return size + 1 + kElement * elements + kAttribute * attributes;
}

}  // namespace vornel
