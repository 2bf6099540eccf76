#include "view/ui/DesktopChordClipboard.h"

#include <wx/clipbrd.h>
#include <wx/dataobj.h>

namespace vornel::view {

namespace {

const wxDataFormat& PrivateFormat() {
  static const wxDataFormat format(DesktopChordClipboard::FormatName());
  return format;
}

}  // namespace

const char* DesktopChordClipboard::FormatName() { return "application/x-vornel-chords"; }

void DesktopChordClipboard::Put(const nChordArray& chords) {
  ChordClipboard::Put(chords);
  const std::string text = ChordsToClipboardText(chords_);
  if (wxTheClipboard->IsOpened()) return;
  wxClipboardLocker locker;
  if (!locker) return;
  auto* both = new wxDataObjectComposite;
  auto* own = new wxCustomDataObject(PrivateFormat());
  own->SetData(text.size(), text.data());
  both->Add(own, true);
  both->Add(new wxTextDataObject(wxString::FromUTF8(text.data(), text.size())));
  wxTheClipboard->SetData(both);  // the clipboard owns the data object
}

bool DesktopChordClipboard::ReadDesktopText(std::string& text) const {
  text.clear();
  // Reading the desktop's clipboard waits for its owner while events run, and an enable rule
  // may ask again from there: the clipboard is still open, so that inner question takes the
  // copy in memory instead of opening it twice (and closing it under the outer read).
  if (wxTheClipboard->IsOpened()) return false;
  wxClipboardLocker locker;
  if (!locker) return false;
  if (wxTheClipboard->IsSupported(PrivateFormat())) {
    wxCustomDataObject own(PrivateFormat());
    if (wxTheClipboard->GetData(own)) {
      text.assign(static_cast<const char*>(own.GetData()), own.GetSize());
      return true;
    }
  }
  if (wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT)) {
    wxTextDataObject plain;
    if (wxTheClipboard->GetData(plain)) {
      const wxScopedCharBuffer utf8 = plain.GetText().utf8_str();
      text.assign(utf8.data(), utf8.length());
    }
  }
  return true;
}

const nChordArray& DesktopChordClipboard::Current() const {
  std::string text;
  if (!ReadDesktopText(text)) return chords_;
  if (!lastParsed_ || text != lastText_) {
    nChordArray read;
    if (!ChordsFromClipboardText(text, read)) read = nChordArray();
    lastChords_ = std::move(read);
    lastText_ = std::move(text);
    lastParsed_ = true;
  }
  return lastChords_;
}

nChordArray DesktopChordClipboard::Get() const { return Current(); }

size_t DesktopChordClipboard::Count() const { return Current().size(); }

}  // namespace vornel::view
