#include "layout/ui/WxExportServices.h"

#include "layout/ui/TabPropertiesDialog.h"

namespace vornel {

bool WxExportServices::EditTabOptions(CTabProperties& options) {
  TabPropertiesDialog dialog(parent_, options);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace vornel
