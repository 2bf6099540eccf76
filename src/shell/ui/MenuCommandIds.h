#pragma once
// Menu items of the window system take ids below 32767, while the system's command ids run
// up to 59999. Ids below the limit are used as they are; larger ones are given ids the
// window system reserves, mapped both ways.

#include <unordered_map>

namespace vornel {

class MenuCommandIds {
 public:
  MenuCommandIds() = default;
  ~MenuCommandIds();
  MenuCommandIds(const MenuCommandIds&) = delete;
  MenuCommandIds& operator=(const MenuCommandIds&) = delete;

  // The menu id of a command (the same id each time).
  int ToWindowId(int command);
  // The command of a menu id; ids that were never mapped stand for themselves.
  int ToCommand(int windowId) const;

 private:
  std::unordered_map<int, int> windowIds_;
  std::unordered_map<int, int> commands_;
};

}  // namespace vornel
