#pragma once
// The editor's command targets built without windows, through the same registration functions
// the main frame calls: the application's table, the frame's, one document's (the framework's
// commands and those of the areas) and the catalogue of commands still to come. Tools and
// tests ask them which ids of the windows are carried. A score view that registers its table
// headless adds it here.

#include <memory>
#include <vector>

#include "view/commands/CommandTable.h"

namespace vornel {

class HeadlessCommandTargets {
 public:
  HeadlessCommandTargets();
  ~HeadlessCommandTargets();
  HeadlessCommandTargets(const HeadlessCommandTargets&) = delete;
  HeadlessCommandTargets& operator=(const HeadlessCommandTargets&) = delete;

  // The targets that carry commands, in routing order (without the catalogue).
  std::vector<const view::CommandTable*> Targets() const;
  // The catalogue's table: every id still to come, carried but disabled.
  const view::CommandTable& Pending() const;

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
};

}  // namespace vornel
