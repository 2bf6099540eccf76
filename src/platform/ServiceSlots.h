#pragma once
// The services that the window layer gives the areas below it (dialogs, choosers, viewers, the
// frame's panes, the hooks of drawing and playback) are each held in a slot: the object in
// force and the default used until one is installed. A default that would otherwise act as a
// silent Cancel says instead that nothing is installed (`ReportMissingService`). Every slot is
// listed by name, so that the editor can check at start-up, and its test after, that each one
// holds what the window layer installed.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vornel {

class ServiceSlot {
 public:
  explicit ServiceSlot(std::string_view name);
  virtual ~ServiceSlot();
  ServiceSlot(const ServiceSlot&) = delete;
  ServiceSlot& operator=(const ServiceSlot&) = delete;

  const std::string& Name() const { return name_; }
  // What is installed; null while the default is in force.
  virtual const void* InForce() const = 0;

 private:
  std::string name_;
};

// Every slot of the program, in the order they were made.
std::vector<const ServiceSlot*> ServiceSlots();
// The slot of that name; null when there is none.
const ServiceSlot* FindServiceSlot(std::string_view name);

// A default used where the window layer must install its service: says "no <what> is
// installed" through Prompts() and, in a debug build, fails a check.
void ReportMissingService(std::string_view what);

// The slot of a service interface `T`, with its default.
template <typename T>
class ObjectSlot final : public ServiceSlot {
 public:
  ObjectSlot(std::string_view name, T& fallback) : ServiceSlot(name), fallback_(&fallback), current_(&fallback) {}
  T& Get() const { return *current_; }
  // Puts `next` in force (null: the default) and returns what was.
  T* Exchange(T* next) { return std::exchange(current_, next != nullptr ? next : fallback_); }
  const void* InForce() const override { return current_ == fallback_ ? nullptr : current_; }

 private:
  T* fallback_;
  T* current_;
};

// The slot of a hook, a function the window layer gives (empty until then).
template <typename Function>
class HookSlot final : public ServiceSlot {
 public:
  explicit HookSlot(std::string_view name) : ServiceSlot(name) {}
  const Function& Get() const { return hook_; }
  Function Exchange(Function next) { return std::exchange(hook_, std::move(next)); }
  const void* InForce() const override { return hook_ ? this : nullptr; }

 private:
  Function hook_;
};

}  // namespace vornel
