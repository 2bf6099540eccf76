// The option file on hostile bytes: whatever loads is stored again, and what is stored loads
// again without a message.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>

#include "SilentPrompts.h"
#include "platform/UserPrompts.h"
#include "shell/app/CSessionOptionsDlg.h"

namespace {

class CountingPrompts : public vornel::fuzzing::SilentPrompts {
 public:
  void ShowMessage(std::string_view, vornel::MessageKind, std::string_view) override { ++messages; }
  int messages = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CountingPrompts prompts;
  static const vornel::ScopedPrompts installed(prompts);
  vornel::CSessionOptionsDlg options;
  options.Load(std::span(data, size));
  if (options.defaultInstrument == nullptr) std::abort();
  const auto stored = options.StoreBytes();
  prompts.messages = 0;
  vornel::CSessionOptionsDlg again;
  again.Load(stored);
  if (prompts.messages != 0) std::abort();
  return 0;
}
