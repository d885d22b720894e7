// Text from outside (a command line, a script, a file name) as a message shows it: bytes that a
// terminal would act on or that are not text are written as \xNN, so that an error never sends raw
// terminal codes or broken characters to the screen.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace plat {

// Printable ASCII and well-formed UTF-8 characters from U+00A1 on stay; control bytes, DEL, the C1
// controls, the no-break space and bytes that are not UTF-8 are escaped. At most limit bytes of
// text are shown, then "...".
std::string ShownText(std::string_view text, size_t limit = 200);

}  // namespace plat
