#pragma once
// Where the file and folder choosers start: the folder the caller names when it is there,
// else the folder of the last file or folder chosen, else the documents folder the program
// set (never the program's working folder).

#include <string>
#include <string_view>

namespace vornel {

class FileDialogFolders {
 public:
  // The one the editor's choosers share.
  static FileDialogFolders& Shared();

  void SetDocumentsFolder(std::string folder) { documents_ = std::move(folder); }
  const std::string& DocumentsFolder() const { return documents_; }
  // Empty when none of them is there.
  std::string StartFolder(std::string_view asked) const;
  // A file chosen: its folder is where the next chooser starts; a folder chosen: that one.
  void Chosen(const std::string& path, bool isFolder = false);
  const std::string& LastFolder() const { return last_; }

 private:
  std::string documents_;
  std::string last_;
};

// The name a save chooser gave, with the extension of its pattern when the pattern is one
// "*.ext" and the name has no extension of its own: "Suite" saved as "*.tab" is "Suite.tab".
std::string WithPatternExtension(std::string path, std::string_view pattern);

}  // namespace vornel
