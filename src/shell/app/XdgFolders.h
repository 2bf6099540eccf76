#pragma once
// The per-user folders of the freedesktop base-directory and user-dirs conventions, read from
// the environment at each call (tests point HOME and the XDG variables at temporary folders).
// Every folder returned ends with one '/'.

#include <string>

namespace vornel {

// $HOME, else the password database's home folder.
std::string HomeFolder();
// $XDG_CONFIG_HOME (when absolute), else ~/.config/.
std::string XdgConfigHome();
// $XDG_STATE_HOME (when absolute), else ~/.local/state/.
std::string XdgStateHome();
// XDG_DOCUMENTS_DIR of the config folder's "user-dirs.dirs", else ~/Documents/.
std::string XdgDocumentsFolder();

// The editor's own folders: its profile and option file, and its recovery copies.
std::string ProfileFolder();       // <config>/vornel/
std::string AutoSaveFolder();      // <state>/vornel/autosave/

}  // namespace vornel
