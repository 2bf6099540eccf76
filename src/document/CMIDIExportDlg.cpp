#include "document/CMIDIExportDlg.h"

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

void CMIDIExportDlg::Store(ArchiveWriter& ar) const {
  for (const int32_t v : {option1, option2, option3, option4, option5, expandRepeats, option7, option8, option9}) {
    ar.WriteI32(v);
  }
  ar.WriteText(text);
  ar.WriteI32(option11);
  ar.WriteI32(option12);
}

void CMIDIExportDlg::Load(ArchiveReader& ar) {
  for (int32_t* v : {&option1, &option2, &option3, &option4, &option5, &expandRepeats, &option7, &option8, &option9}) {
    *v = ar.ReadI32();
  }
  text = ar.ReadText();
  option11 = ar.ReadI32();
  option12 = ar.ReadI32();
}

}  // namespace vornel
