#pragma once
// The temporary files and folders of this system carry the number of the process that made
// them, so that a later run can tell what a process killed midway left behind from what a
// running one is still writing. A temporary file made beside its target (a document being
// saved, in any folder) is also noted in the journal of its process while it exists, so that
// it can be found again.

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace vornel {

// The mkstemp pattern of a temporary file beside `target`: "<target>.vornel-<pid>-XXXXXX".
std::string TemporaryPatternBeside(const std::string& target);

// Makes a new private folder "vornel-<pid>-XXXXXX" in the system's temporary folder; its path,
// or empty when it cannot be made (`error`, when given, says why).
std::string MakeTemporaryFolder(std::string* error = nullptr);

// The folder of the journal (a note per temporary file, named "<pid>-<n>", holding the file's
// path); the editor and the tool set it at start-up. Without one nothing is noted.
void SetTemporaryJournal(const std::string& folder);
// Notes the temporary file at `path`, just made; forgets it once it is renamed or removed.
void NoteTemporaryFile(const std::string& path);
void ForgetTemporaryFile(const std::string& path);

// Whether a process of that number runs (one of another user counts as running).
bool ProcessAlive(pid_t pid);

// Removes what processes that are gone left behind: the temporary files their notes in
// `journalFolder` name (each only when its name says that process made it) and the folders
// "vornel-<pid>-*" in `temporaryFolder`. Returns how many files and folders were removed.
size_t RemoveLeftoverTemporaries(const std::string& journalFolder, const std::string& temporaryFolder);

}  // namespace vornel
