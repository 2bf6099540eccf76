#pragma once
// What a user reads when a document cannot be opened: the file named and what is wrong with
// it in plain words (missing, empty, another kind of file under a document's name, broken off
// or garbled at a line, a damaged bundle), then the program's own messages as the details.

#include <string>
#include <string_view>

namespace vornel {

// `details`: the messages the opening gave, kept as they are after the explanation.
std::string OpenFailureMessage(const std::string& path, std::string_view details);

}  // namespace vornel
