// Names from a file, made safe to print: an archive member or a scene record
// may be named with a newline or an escape sequence, which printed raw would
// break a listing or drive the terminal.
#pragma once

#include <string>
#include <string_view>

namespace vilora::kit {

// Printable ASCII as it is; a backslash as "\\", tab, newline and carriage
// return as "\t", "\n", "\r", every other byte as "\xNN".
std::string printable(std::string_view text);

} // namespace vilora::kit
