#pragma once
// Commands of vornel-tool register themselves with a static ToolCommand object in their own
// file, so adding a command touches no other file.

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

// Prints "usage: vornel-tool " and the registered usage of the command `name` on the standard
// error stream; returns 2, the exit code of a wrong command line.
int PrintUsage(std::string_view name);

}  // namespace vornel::tool
