#include "platform/ServiceSlots.h"

#include <algorithm>
#include <cassert>

#include "platform/UserPrompts.h"

namespace vornel {

namespace {

std::vector<const ServiceSlot*>& Slots() {
  static std::vector<const ServiceSlot*> slots;
  return slots;
}

}  // namespace

ServiceSlot::ServiceSlot(std::string_view name) : name_(name) { Slots().push_back(this); }

ServiceSlot::~ServiceSlot() {
  std::vector<const ServiceSlot*>& slots = Slots();
  slots.erase(std::remove(slots.begin(), slots.end(), this), slots.end());
}

std::vector<const ServiceSlot*> ServiceSlots() { return Slots(); }

const ServiceSlot* FindServiceSlot(std::string_view name) {
  for (const ServiceSlot* slot : Slots()) {
    if (slot->Name() == name) return slot;
  }
  return nullptr;
}

void ReportMissingService(std::string_view what) {
  Prompts().ShowMessage("no " + std::string(what) + " is installed", MessageKind::kError);
  assert(!"a service of the window layer is used where none is installed");
}

}  // namespace vornel
