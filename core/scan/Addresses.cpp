#include "core/scan/Addresses.h"

#include <algorithm>
#include <array>
#include <string>

#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isNameChar(char c) {
    return isDigit(c) || isLetter(c) || c == '-';
}

// Reads a decimal number of 1 to `maxDigits` digits at `pos`, moving past it.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, unsigned max) {
    unsigned value = 0;
    std::size_t digits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits)
        value = value * 10 + static_cast<unsigned>(text[pos] - '0');
    return digits >= 1 && digits <= maxDigits && value <= max;
}

bool ipAndPortAt(std::string_view text, std::size_t pos) {
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0 && (pos >= text.size() || text[pos++] != '.'))
            return false;
        if (!readNumber(text, pos, 3, 255))
            return false;
    }
    if (pos >= text.size() || text[pos++] != ':')
        return false;
    const std::size_t portStart = pos;
    return readNumber(text, pos, 5, 65535) && text.substr(portStart, pos - portStart) != "0";
}

// Top-level domains of the servers' own sites, and the documentation names. Short words that are
// also file extensions or English words (.it, .is, .do) are left out on purpose.
constexpr std::array<std::string_view, 36> kDomains{
    "com",    "net",  "org", "info", "biz", "ru",    "su",    "ua",    "by",
    "kz",     "uz",   "lv",  "lt",   "ee",  "pl",    "de",    "eu",    "us",
    "uk",     "io",   "me",  "tv",   "cc",  "ws",    "pro",   "club",  "top",
    "online", "site", "xyz", "fun",  "gg",  "store", "games", "space", "example",
};

// Whether the dotted name `run` (letters, digits, '-' and '.') is a host name.
bool isHostName(std::string_view run) {
    while (!run.empty() && run.back() == '.')
        run.remove_suffix(1);
    const std::size_t lastDot = run.rfind('.');
    if (lastDot == std::string_view::npos || lastDot == 0)
        return false;
    if (run.find("..") != std::string_view::npos || run.front() == '.')
        return false;
    const std::string domain = lowerAscii(run.substr(lastDot + 1));
    return std::find(kDomains.begin(), kDomains.end(), domain) != kDomains.end();
}

}  // namespace

bool hasIpAndPort(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool starts =
            isDigit(text[i]) && (i == 0 || (!isDigit(text[i - 1]) && text[i - 1] != '.'));
        if (starts && ipAndPortAt(text, i))
            return true;
    }
    return false;
}

bool hasWebAddress(std::string_view text) {
    const std::string lower = lowerAscii(text);
    for (std::size_t scheme = lower.find("://"); scheme != std::string::npos;
         scheme = lower.find("://", scheme + 1)) {
        if (scheme > 0 && isLetter(lower[scheme - 1]))
            return true;
    }
    std::size_t i = 0;
    while (i < lower.size()) {
        if (!isNameChar(lower[i])) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < lower.size() && (isNameChar(lower[i]) || lower[i] == '.'))
            ++i;
        // A name glued to '_' is a game name ("weapon_c4"), not a host.
        const bool glued = start > 0 && lower[start - 1] == '_';
        const std::string_view run = std::string_view(lower).substr(start, i - start);
        if (!glued && ((run.starts_with("www.") && run.size() > 4) || isHostName(run)))
            return true;
    }
    return false;
}

}  // namespace morvane::scan
