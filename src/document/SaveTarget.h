#pragma once
// Where a save of a document writes. A file whose permissions forbid writing is a document
// its owner meant to keep: it is not replaced without asking. Saving through a symbolic link
// writes the file the link names (the writers see to that, platform/io/FileIO.h).

#include <optional>
#include <string>
#include <string_view>

namespace vornel {

inline constexpr std::string_view kReadOnlyQuestion = "This document is read-only:";
inline constexpr std::string_view kReadOnlyChoices = "Replace it all the same? (No saves it under another name.)";

// `path`, unless it names a read-only file. Then the user is asked: Yes replaces it all the
// same, No asks for another file ("Save as", `pattern`, the file's name suggested; a read-only
// one is asked about again), Cancel saves nothing (and so does a cancelled file prompt).
std::optional<std::string> ConfirmSaveTarget(const std::string& path, std::string_view pattern);

}  // namespace vornel
