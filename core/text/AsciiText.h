#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Text helpers for the game's files, which compare names and commands ignoring ASCII case and may
// hold bytes of any code page.

inline char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        c = lowerAscii(c);
    return lower;
}

inline bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

// The parts of `text` between the separators `separator` (as many as separators plus one).
inline std::vector<std::string_view> splitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t at = std::min(text.find(separator, start), text.size());
        parts.push_back(text.substr(start, at - start));
        start = at + 1;
    }
    return parts;
}

// Whether `name` fits `pattern`, ignoring ASCII case; '*' in the pattern stands for any run of
// characters.
inline bool fitsPattern(std::string_view pattern, std::string_view name) {
    const std::size_t star = pattern.find('*');
    if (star == std::string_view::npos)
        return equalsIgnoringCase(pattern, name);
    if (name.size() < star || !equalsIgnoringCase(pattern.substr(0, star), name.substr(0, star)))
        return false;
    for (std::size_t at = star; at <= name.size(); ++at) {
        if (fitsPattern(pattern.substr(star + 1), name.substr(at)))
            return true;
    }
    return false;
}

// `text` with every byte outside printable ASCII shown as \xNN, for messages.
inline std::string asciiPrintable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7f) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        }
    }
    return out;
}

}  // namespace morvane
