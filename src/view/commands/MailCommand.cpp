// "Send...": a zipped copy of the document's file, made in a temporary folder, handed to the
// desktop's mail program as the attachment of a new message. The document and its file stay
// as they were.

#include <stdlib.h>

#include <cctype>
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

// Percent-encoding of everything but the unreserved characters, for a mailto: address.
std::string UrlEncoded(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const unsigned char c : text) {
    if (std::isalnum(c) != 0 || c == '-' || c == '_' || c == '.' || c == '~' || c == '/') {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

}  // namespace

std::string MailtoForAttachment(std::string_view subject, std::string_view attachment) {
  return "mailto:?subject=" + UrlEncoded(subject) + "&attach=" + UrlEncoded(attachment);
}

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
  if (!Programs().OpenWithDefault(MailtoForAttachment(file.filename().string(), zip))) {
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
