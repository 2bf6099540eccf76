// folders: the folders and files the editor uses with the profile of this user, found without
// making or changing anything.

#include <cstdio>
#include <memory>

#include "ToolCommand.h"
#include "shell/app/CVornelTabApp.h"
#include "shell/app/Profile.h"

#if VORNEL_TOOL_PROFILE
#include <wx/init.h>

#include "shell/ui/ConfigProfile.h"
#endif

namespace vornel::tool {

namespace {

int Folders(const CommandArguments& args) {
  if (!args.empty()) return PrintUsage("folders");
#if VORNEL_TOOL_PROFILE
  const wxInitializer initializer;
  const auto profile = std::make_unique<ConfigProfile>();
  std::printf("%-16s %s\n", "profile", profile->Path().c_str());
#else
  // Built without the window system, the tool cannot read the profile file: the defaults.
  const auto profile = std::make_unique<MemoryProfile>();
  std::printf("%-16s %s\n", "profile", "(not read: built without the window system)");
#endif
  for (const auto& [name, path] : DescribeFolders(*profile)) std::printf("%-16s %s\n", name.c_str(), path.c_str());
  return 0;
}

const ToolCommand registration("folders", "folders", "the folders and files of the editor's profile", Folders);

}  // namespace

}  // namespace vornel::tool
