#include "view/entry/ChordClipboard.h"

#include <tinyxml2.h>

#include <exception>

#include "platform/ServiceSlots.h"
#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlScanner.h"

namespace vornel::view {

namespace {

constexpr const char* kRoot = "vornel-chords";
// Far more than any selection; a text beyond it is not ours.
constexpr size_t kMostClipboardBytes = size_t(64) << 20;

constexpr const char* kServiceName = "chord clipboard";

ChordClipboard g_memoryClipboard;
ObjectSlot<ChordClipboard> g_clipboard(kServiceName, g_memoryClipboard);

}  // namespace

void ChordClipboard::Put(const nChordArray& chords) { chords_ = chords; }

nChordArray ChordClipboard::Get() const { return chords_; }

size_t ChordClipboard::Count() const { return chords_.size(); }

ChordClipboard& ChordClipboards() { return g_clipboard.Get(); }

ScopedChordClipboard::ScopedChordClipboard(ChordClipboard& clipboard) : previous_(g_clipboard.Exchange(&clipboard)) {}

ScopedChordClipboard::~ScopedChordClipboard() { g_clipboard.Exchange(previous_); }

std::string ChordsToClipboardText(const nChordArray& chords) {
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* root = doc.NewElement(kRoot);
  doc.InsertEndChild(root);
  root->InsertEndChild(chords.WriteXml(doc));
  // Printed as the files are, so that the reading side gets every character back.
  std::string text;
  XmlTextPrinter printer(text);
  doc.Print(&printer);
  return text;
}

bool ChordsFromClipboardText(std::string_view text, nChordArray& out) {
  if (text.empty() || text.size() > kMostClipboardBytes) return false;
  tinyxml2::XMLDocument doc;
  if (!ParseCheckedXml(doc, text)) return false;
  const tinyxml2::XMLElement* root = doc.RootElement();
  if (root == nullptr || std::string_view(root->Name()) != kRoot) return false;
  const tinyxml2::XMLElement* staff = root->FirstChildElement();
  if (staff == nullptr) return false;
  try {
    nChordArray read;
    read.ReadXml(staff);
    out = std::move(read);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace vornel::view
