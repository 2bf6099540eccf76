// "Send...": a zipped copy of the document's file, made in a temporary folder, handed to the
// desktop's mail program as the attachment of a new message. The document and its file stay
// as they were.

#include <stdlib.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "document/CBriotabDoc.h"
#include "document/zip/ZipBundle.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "view/commands/ScoreCommandSupport.h"

namespace vornel::view {

namespace {

constexpr int kSendMail = 57612;

}  // namespace

std::optional<std::string> SendDocumentByMail(const CBriotabDoc& doc) {
  const std::string& path = doc.GetPathName();
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
    Prompts().ShowMessage("Save the document before sending it: only a saved file can be attached.",
                          MessageKind::kInformation);
    return std::nullopt;
  }
  if (doc.IsModified()) {
    Prompts().ShowMessage("The document has changes that are not saved: the file as last saved is sent.",
                          MessageKind::kInformation);
  }
  std::string folder = (std::filesystem::temp_directory_path(error) / "vornel-mail-XXXXXX").string();
  if (mkdtemp(folder.data()) == nullptr) {
    Prompts().ShowMessage("Cannot create a temporary folder for the attachment: " + std::string(std::strerror(errno)),
                          MessageKind::kError);
    return std::nullopt;
  }
  const std::filesystem::path file(path);
  const std::string zip = (std::filesystem::path(folder) / file.stem()).string() + ".zip";
  if (!WriteZipOfFiles({{file.filename().string(), path}}, zip)) return std::nullopt;
  // The desktop's mail composer with the zip attached.
  if (!Programs().Start({"xdg-email", "--subject", file.filename().string(), "--attach", zip}, folder, {})) {
    Prompts().ShowMessage("No mail program could be started. The document is packed in " + zip +
                              " to attach to a message by hand.",
                          MessageKind::kWarning);
  }
  return zip;
}

void AddMailCommand(CommandTable& t, CBriotabDoc& doc) {
  t.Add(kSendMail, [&doc](const CommandEvent&) { SendDocumentByMail(doc); });
}

}  // namespace vornel::view
