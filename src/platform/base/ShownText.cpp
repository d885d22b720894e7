#include "platform/base/ShownText.h"

#include <cstdint>

namespace plat {
namespace {

// The length of the well-formed UTF-8 character at text[0] from U+00A1 on, else 0.
size_t ShownCharLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[i]);
        if ((next & 0xC0) != 0x80) return 0;
        code = code << 6 | (next & 0x3F);
    }
    constexpr uint32_t kLeast[] = {0, 0, 0xA1, 0x800, 0x10000};
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= kLeast[length] && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

std::string ShownText(std::string_view text, size_t limit) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string shown;
    size_t i = 0;
    while (i < text.size() && i < limit) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte >= 0x20 && byte < 0x7F) {
            shown += text[i++];
        } else if (const size_t length = ShownCharLength(text.substr(i)); length > 0) {
            shown.append(text.substr(i, length));
            i += length;
        } else {
            shown += "\\x";
            shown += kHex[byte >> 4];
            shown += kHex[byte & 15];
            ++i;
        }
    }
    return i < text.size() ? shown + "..." : shown;
}

}  // namespace plat
