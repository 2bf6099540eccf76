#include "document/SaveTarget.h"

#include <filesystem>

#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"

namespace vornel {

std::optional<std::string> ConfirmSaveTarget(const std::string& path, std::string_view pattern) {
  std::string target = path;
  while (IsReadOnlyFile(target)) {
    const std::string question = std::string(kReadOnlyQuestion) + "\n" + target + "\n\n" + std::string(kReadOnlyChoices);
    switch (Prompts().Ask(question, Buttons::kYesNoCancel, MessageKind::kWarning)) {
      case Answer::kYes:
      case Answer::kOk: return target;
      case Answer::kNo: {
        const std::filesystem::path file(target);
        const std::optional<std::string> chosen = Prompts().PromptSaveFile(
            "Save as", pattern, file.filename().string(), file.parent_path().string());
        if (!chosen) return std::nullopt;
        target = *chosen;
        break;
      }
      case Answer::kCancel: return std::nullopt;
    }
  }
  return target;
}

}  // namespace vornel
