#pragma once
// Commands of vornel-tool register themselves with a static ToolCommand object in their own
// file, so adding a command touches no other file.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vornel::tool {

using CommandArguments = std::vector<std::string>;
// Returns the process exit code.
using CommandFunction = std::function<int(const CommandArguments& args)>;

struct ToolCommand {
  ToolCommand(std::string name, std::string usage, std::string summary, CommandFunction run);
};

struct RegisteredCommand {
  std::string name;
  std::string usage;
  std::string summary;
  CommandFunction run;
};

const std::vector<RegisteredCommand>& Commands();

// Reads the number after the option at `i` (moving `i` onto it) into `value`; false when
// there is none, it is no number or it lies outside [low, high].
bool ReadNumberOption(const CommandArguments& args, size_t& i, int32_t low, int32_t high, int32_t& value);

// Prints "usage: vornel-tool " and the registered usage of the command `name` on the standard
// error stream; returns 2, the exit code of a wrong command line.
int PrintUsage(std::string_view name);

}  // namespace vornel::tool
