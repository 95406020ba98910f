#pragma once

#include <string>
#include <string_view>

namespace morvane::cli {

// `text` as the text reports show it: control characters (C0, DEL and, in UTF-8, C1) escaped as
// \n, \r, \t or \xNN, so that a name or a line that a server chose can neither move the terminal's
// cursor nor forge lines of the report. Other bytes, backslashes included, are kept.
inline std::string printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        const bool c1 = byte == 0xc2 && next >= 0x80 && next < 0xa0;
        if (byte >= 0x20 && byte != 0x7f && !c1) {
            out += text[i];
        } else if (byte == '\n' || byte == '\r' || byte == '\t') {
            out += byte == '\n' ? "\\n" : byte == '\r' ? "\\r" : "\\t";
        } else {
            const unsigned shown = c1 ? next : byte;
            out.append("\\x").append(1, kHex[shown >> 4]).append(1, kHex[shown & 15]);
            i += c1 ? 1 : 0;
        }
    }
    return out;
}

// A path below the game folder ('/' separated, as core gives it) with the host's separator.
inline std::string native(std::string relative, char separator) {
    for (char& c : relative)
        c = c == '/' ? separator : c;
    return relative;
}

}  // namespace morvane::cli
