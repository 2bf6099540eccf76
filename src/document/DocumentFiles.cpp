#include "document/DocumentFiles.h"

#include "document/XmlDocumentCheck.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XMLWriter.h"

namespace vornel {

namespace {

// Collects the messages given while it is installed; questions and file prompts go on to the
// prompts that were in force before.
class MessageCollector : public UserPrompts {
 public:
  MessageCollector() : outer_(Prompts()), scope_(*this) {}

  void ShowMessage(std::string_view text, MessageKind) override {
    if (!messages.empty()) messages += '\n';
    messages.append(text);
  }
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind) override { return outer_.Ask(text, buttons, kind); }
  void Beep(BeepKind kind) override { outer_.Beep(kind); }
  std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern) override {
    return outer_.PromptOpenFile(title, pattern);
  }
  std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                            std::string_view suggestedName) override {
    return outer_.PromptSaveFile(title, pattern, suggestedName);
  }

  std::string messages;

 private:
  UserPrompts& outer_;
  ScopedPrompts scope_;
};

bool HasExtension(const std::string& path, const std::string& extension) {
  return ReplaceFinalExtension(path, extension, "") != path;
}

bool OpenXmlDocument(CBriotabDoc& doc, const std::string& path) {
  XMLWriter writer;
  writer.SetPath(path);
  if (!ParseXmlFile(writer) || !doc.ReadXml(writer)) return false;
  doc.SetPathName(path);
  return true;
}

}  // namespace

OpenedDocument OpenDocumentFile(const std::string& path) {
  OpenedDocument opened;
  MessageCollector collector;
  auto doc = std::make_unique<CBriotabDoc>();
  bool ok = false;
  switch (GetDocumentFileType(path)) {
    case kBinaryFile: ok = doc->OnOpenDocument(path); break;
    case kXmlFile: ok = OpenXmlDocument(*doc, path); break;
    default: Prompts().ShowMessage("Not a recognized Vornel file type", MessageKind::kError); break;
  }
  if (ok) opened.document = std::move(doc);
  opened.message = std::move(collector.messages);
  return opened;
}

bool SaveDocumentFile(CBriotabDoc& doc, const std::string& path) {
  if (HasExtension(path, ".btb")) return doc.SaveBinary(path);
  if (HasExtension(path, ".btxml")) {
    if (doc.SaveXmlText(path)) return true;
    Prompts().ShowMessage("Unable to save this btxml file..", MessageKind::kError);
    return false;
  }
  Prompts().ShowMessage("Not a recognized Vornel file type", MessageKind::kError);
  return false;
}

}  // namespace vornel
