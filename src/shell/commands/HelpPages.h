#pragma once
// The help pages of the "Documentation" menu: HTML files of the shipped "Documentation"
// folder, opened with the desktop's browser.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

inline constexpr int kFirstHelpCommand = 34355;
inline constexpr int kLastHelpCommand = 34367;

// The page a help command opens ("accelerators.html" ...); nothing for the commands of the
// menu that open no page (34356 and the "Imports" entries 34363-34367).
std::optional<std::string_view> HelpPageName(int command);

// The page's full path in `documentationFolder`, or nothing after the system's message:
// "Cannot find documentation directory: " with the folder, or "Missing file: " with the page.
// Commands that open no page give nothing without a message.
std::optional<std::string> FindHelpPage(int command, const std::string& documentationFolder);

// The pages made from the program's own tables, so that they say what the program does:
// "accelerators.html" from the table of keys, "keyboard.html" from the score view's keys.
std::string AcceleratorsPage();
std::string KeyboardPage();
// Writes both into `documentationFolder` (made when missing); the paths written, or nothing
// with `error` saying why.
std::optional<std::vector<std::string>> WriteGeneratedHelpPages(const std::string& documentationFolder,
                                                                std::string* error);

}  // namespace vornel
