#include "shell/app/ApplicationLooks.h"

#include <array>

namespace vornel {

namespace {

constexpr std::array<ApplicationLook, 10> kLooks = {{
    {210, "Office XP", RibbonArt::kMsw, 0x8C9DB8, 0xD8DCE4, 0xF2F2F0},
    {211, "Windows XP", RibbonArt::kMsw, 0x3A6EA5, 0xD4D0C8, 0xECE9D8},
    {212, "Office 2003", RibbonArt::kMsw, 0x5A7EDC, 0x9EBEF5, 0xDCE6F8},
    {213, "Visual Studio 2005", RibbonArt::kMsw, 0x7A96C8, 0xD6D3CE, 0xEEEDE5},
    {214, "Dithered gray", RibbonArt::kAui, 0x8A8A8A, 0xC8C8C8, 0xE4E4E4},
    {215, "Blue Style", RibbonArt::kMsw, 0x6D8CC4, 0xC2D5EE, 0xF0F4FA},
    {216, "Black Style", RibbonArt::kMsw, 0x3F3F3F, 0x8A8A8A, 0xC8C8C8},
    {217, "Silver Style", RibbonArt::kMsw, 0x8E96A4, 0xD0D4DD, 0xEEF0F3},
    {218, "Aqua Style", RibbonArt::kMsw, 0x4F86B8, 0xB9D2E9, 0xE6F0F8},
    {219, "Pale blue", RibbonArt::kMsw, 0x7E9CC6, 0xDAE6F3, 0xF4F8FC},
}};

}  // namespace

int ValidLook(int id) { return id >= kFirstLook && id <= kLastLook ? id : kDefaultLook; }

const ApplicationLook& LookFor(int id) { return kLooks[static_cast<size_t>(ValidLook(id) - kFirstLook)]; }

}  // namespace vornel
