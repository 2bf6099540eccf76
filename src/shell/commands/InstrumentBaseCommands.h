#pragma once
// What the editor does with a definition of the instrument base outside the templates dialog:
// the templates pane's list and "Add this instrument to the current section".

#include <functional>
#include <string>
#include <vector>

namespace vornel {

class CInstrumentDlg;
class CVornelTabApp;

// "Import default instrument": adds the application's default instrument to the section.
inline constexpr int kImportDefaultInstrumentCommand = 34172;

// The names of the configured base's definitions, in base order.
std::vector<std::string> InstrumentBaseNames();
// Makes the definition the application's default instrument, saves the session options and
// sends "Import default instrument".
void AddToCurrentSection(CVornelTabApp& app, const CInstrumentDlg& definition, const std::function<void(int)>& send);
// Adds the base's definition at `index` to the current section; false for an index outside it.
bool AddBaseInstrumentToSection(CVornelTabApp& app, int index, const std::function<void(int)>& send);
// Deletes the base's definition at `index` and saves the base; false when nothing was deleted
// or the save failed (after its message).
bool DeleteBaseInstrument(int index);

}  // namespace vornel
