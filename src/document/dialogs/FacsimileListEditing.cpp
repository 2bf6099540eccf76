#include "document/dialogs/FacsimileListEditing.h"

#include "platform/ServiceSlots.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "facsimile list dialog";

class NoListEditing : public FacsimileListEditing {
 public:
  bool EditFacsimileList(CFacsimileListDlg&) override {
    ReportMissingService(kServiceName);
    return false;
  }
} g_none;
ObjectSlot<FacsimileListEditing> g_editing(kServiceName, g_none);

}  // namespace

FacsimileListEditing* FacsimileListEditorInForce() { return &g_editing.Get(); }

ScopedFacsimileListEditing::ScopedFacsimileListEditing(FacsimileListEditing& editing)
    : previous_(g_editing.Exchange(&editing)) {}

ScopedFacsimileListEditing::~ScopedFacsimileListEditing() { g_editing.Exchange(previous_); }

void FacsimileListEdit::Load(const CFacsimileListDlg& list) {
  list_ = list;
  edited_ = false;
}

bool FacsimileListEdit::Run() {
  FacsimileListEditing* editing = FacsimileListEditorInForce();
  if (editing == nullptr) return false;
  CFacsimileListDlg working = list_;
  if (!editing->EditFacsimileList(working)) return false;
  list_ = std::move(working);
  edited_ = true;
  return true;
}

void FacsimileListEdit::Store(CFacsimileListDlg& list) const {
  if (edited_) list = list_;
}

}  // namespace vornel
