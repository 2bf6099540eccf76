#pragma once
// The application looks 210 to 219: each names the ribbon's art provider and the colours the
// ribbon, the docking panes and the window tabs are painted with. The chosen look is kept in
// the profile as "ApplicationLook".

#include <cstdint>
#include <string_view>

namespace vornel {

inline constexpr int kFirstLook = 210;
inline constexpr int kLastLook = 219;
inline constexpr int kDefaultLook = 214;
inline constexpr std::string_view kLookKey = "ApplicationLook";

enum class RibbonArt { kMsw, kAui };

struct ApplicationLook {
  int id = kDefaultLook;
  std::string_view name;
  RibbonArt art = RibbonArt::kAui;
  // 0xRRGGBB: the ribbon's colour scheme (primary, secondary, tertiary); the panes' captions
  // take the primary colour, their sashes the secondary and their background the tertiary.
  uint32_t primary = 0;
  uint32_t secondary = 0;
  uint32_t tertiary = 0;
};

// The look of an id; ids outside 210-219 give the default look 214.
const ApplicationLook& LookFor(int id);
// The id itself when it names a look, else 214.
int ValidLook(int id);

}  // namespace vornel
