#include "view/ui/DesktopChordClipboard.h"

#include <dlfcn.h>
#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/event.h>

#include <cstdint>
#include <utility>

namespace vornel::view {

namespace {

const wxDataFormat& PrivateFormat() {
  static const wxDataFormat format(DesktopChordClipboard::FormatName());
  return format;
}

// The toolkit's report that the desktop's clipboard changed hands ("owner-change" of its
// clipboard object). The toolkit is already loaded by the window library, so its functions are
// looked up in the process rather than linked: without them (another toolkit) the clipboard is
// asked again whenever the editor becomes active, which is when another program may have
// copied something.
class OwnerChangeHook {
 public:
  using Callback = void (*)(void* clipboard, void* event, void* data);

  OwnerChangeHook(Callback callback, void* data) {
    using ClipboardGet = void* (*)(void* selection);
    using Connect = unsigned long (*)(void* instance, const char* signal, void (*handler)(), void* data,
                                      void* destroy, int flags);
    auto get = reinterpret_cast<ClipboardGet>(dlsym(RTLD_DEFAULT, "gtk_clipboard_get"));
    auto connect = reinterpret_cast<Connect>(dlsym(RTLD_DEFAULT, "g_signal_connect_data"));
    disconnect_ = reinterpret_cast<Disconnect>(dlsym(RTLD_DEFAULT, "g_signal_handler_disconnect"));
    if (get == nullptr || connect == nullptr || disconnect_ == nullptr) return;
    constexpr uintptr_t kClipboardSelection = 69;  // the predefined atom CLIPBOARD
    clipboard_ = get(reinterpret_cast<void*>(kClipboardSelection));
    if (clipboard_ == nullptr) return;
    handler_ = connect(clipboard_, "owner-change", reinterpret_cast<void (*)()>(callback), data, nullptr, 0);
  }
  ~OwnerChangeHook() {
    if (handler_ != 0) disconnect_(clipboard_, handler_);
  }
  OwnerChangeHook(const OwnerChangeHook&) = delete;
  OwnerChangeHook& operator=(const OwnerChangeHook&) = delete;

 private:
  using Disconnect = void (*)(void* instance, unsigned long handler);
  Disconnect disconnect_ = nullptr;
  void* clipboard_ = nullptr;
  unsigned long handler_ = 0;
};

}  // namespace

class DesktopChordClipboard::Listener : public wxEvtHandler {
 public:
  explicit Listener(DesktopChordClipboard& owner)
      : owner_(owner), ownerChange_(&Listener::OwnerChanged, this), app_(wxTheApp) {
    Bind(wxEVT_CLIPBOARD_CHANGED, [this](wxClipboardEvent& event) {
      owner_.Answered(event.SupportsFormat(PrivateFormat()));
    });
    if (app_ != nullptr) app_->Bind(wxEVT_ACTIVATE_APP, &Listener::Activated, this);
  }
  ~Listener() override {
    if (app_ != nullptr && wxTheApp == app_) app_->Unbind(wxEVT_ACTIVATE_APP, &Listener::Activated, this);
  }

 private:
  static void OwnerChanged(void*, void*, void* data) { static_cast<Listener*>(data)->owner_.Refresh(); }
  void Activated(wxActivateEvent& event) {
    if (event.GetActive()) owner_.Refresh();
    event.Skip();
  }

  DesktopChordClipboard& owner_;
  OwnerChangeHook ownerChange_;
  wxAppConsole* app_;
};

DesktopChordClipboard::DesktopChordClipboard() : listener_(std::make_unique<Listener>(*this)) { Refresh(); }

DesktopChordClipboard::~DesktopChordClipboard() = default;

const char* DesktopChordClipboard::FormatName() { return "application/x-vornel-chords"; }

void DesktopChordClipboard::Refresh() {
  if (asking_) {
    askAgain_ = true;
    return;
  }
  asking_ = wxTheClipboard->IsSupportedAsync(listener_.get());
  // Another question of the clipboard's formats is under way: ask once it is answered.
  askAgain_ = !asking_;
}

void DesktopChordClipboard::Answered(bool holdsOurFormat) {
  asking_ = false;
  holdsChords_ = holdsOurFormat;
  if (!holdsOurFormat) putHere_ = false;
  if (std::exchange(askAgain_, false)) Refresh();
}

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
  if (!wxTheClipboard->SetData(both)) return;  // the clipboard owns the data object
  holdsChords_ = true;
  putHere_ = true;
}

bool DesktopChordClipboard::ReadDesktopText(std::string& text) const {
  text.clear();
  // A paste that starts while the clipboard is being read (from an event handled in there)
  // takes the copy in memory instead of opening it twice and closing it under the outer read.
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

nChordArray DesktopChordClipboard::Get() const {
  std::string text;
  if (!ReadDesktopText(text)) return chords_;
  nChordArray read;
  if (!ChordsFromClipboardText(text, read)) return {};
  return read;
}

size_t DesktopChordClipboard::Count() const {
  if (!holdsChords_) return 0;
  return putHere_ ? chords_.size() : 1;
}

}  // namespace vornel::view
