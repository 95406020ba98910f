#include "core/scan/Addresses.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "core/scan/PublicSuffixes.h"
#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isUpper(char c) {
    return c >= 'A' && c <= 'Z';
}

bool isLower(char c) {
    return c >= 'a' && c <= 'z';
}

bool isNameChar(char c) {
    return isDigit(c) || isLetter(c) || c == '-';
}

// Reads a decimal number of 1 to `maxDigits` digits at `pos`, moving past it.
bool readNumber(std::string_view text, std::size_t& pos, std::size_t maxDigits, unsigned max,
                std::size_t& digits) {
    unsigned value = 0;
    digits = 0;
    for (; pos < text.size() && isDigit(text[pos]); ++pos, ++digits)
        value = value * 10 + static_cast<unsigned>(text[pos] - '0');
    return digits >= 1 && digits <= maxDigits && value <= max;
}

// Four numbers of 0-255 at `pos` with a port, or without one when a number has two digits or
// more: "1.6.0.1" is a version, "10.0.0.7" and "1.2.3.4:27015" are addresses.
bool ipAt(std::string_view text, std::size_t pos) {
    bool wide = false;
    std::size_t digits = 0;
    for (int octet = 0; octet < 4; ++octet) {
        if (octet > 0 && (pos >= text.size() || text[pos++] != '.'))
            return false;
        if (!readNumber(text, pos, 3, 255, digits))
            return false;
        wide |= digits > 1;
    }
    if (pos < text.size() && text[pos] == ':') {
        const std::size_t portStart = ++pos;
        if (readNumber(text, pos, 5, 65535, digits) &&
            text.substr(portStart, pos - portStart) != "0")
            return true;
        return false;
    }
    // A fifth number makes it something else ("1.22.3.4.5").
    const bool longer = pos + 1 < text.size() && text[pos] == '.' && isDigit(text[pos + 1]);
    return wide && !longer && (pos >= text.size() || !isDigit(text[pos]));
}

// The game's own sites and the web's standards body, which the stock welcome page and every page's
// document type name: no server's advert.
constexpr std::array<std::string_view, 7> kNotAdverts{
    "counter-strike.net", "valvesoftware.com", "steampowered.com", "steamcommunity.com",
    "steamgames.com",     "half-life.com",     "w3.org",
};

// Whether the lower-case host `host` is one of kNotAdverts or a name below one.
bool isNotAdvert(std::string_view host) {
    while (!host.empty() && host.back() == '.')
        host.remove_suffix(1);
    return std::any_of(kNotAdverts.begin(), kNotAdverts.end(), [&](std::string_view site) {
        return host == site || (host.size() > site.size() && host.ends_with(site) &&
                                host[host.size() - site.size() - 1] == '.');
    });
}

bool listed(std::span<const std::string_view> list, std::string_view name) {
    return std::binary_search(list.begin(), list.end(), name);
}

// The labels of the lower-case dotted name `name`, or none when it is not one.
std::vector<std::string_view> labelsOf(std::string_view name) {
    std::vector<std::string_view> labels;
    for (std::size_t start = 0;;) {
        const std::size_t dot = name.find('.', start);
        const std::string_view label = name.substr(start, dot - start);
        if (label.empty() || label.front() == '-' || label.back() == '-' ||
            !std::all_of(label.begin(), label.end(), isNameChar))
            return {};
        labels.push_back(label);
        if (dot == std::string_view::npos)
            return labels;
        start = dot + 1;
    }
}

// The number of labels of the public suffix of the lower-case `name` (split into `labels`), as the
// list's rules give it: an exception rule wins, else the longest rule; 0 when no rule matches.
std::size_t suffixLabels(std::string_view name, const std::vector<std::string_view>& labels) {
    const SuffixTable& table = publicSuffixes();
    std::size_t longest = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        const std::string_view candidate = name.substr(start);
        const std::size_t count = labels.size() - i;
        if (listed(table.exception, candidate))
            return count - 1;
        if (longest == 0 && listed(table.plain, candidate))
            longest = count;
        if (longest == 0 && count >= 2 &&
            listed(table.wildcard, candidate.substr(labels[i].size() + 1)))
            longest = count;
        start += labels[i].size() + 1;
    }
    return longest;
}

// A dotted name of the text as written, checked as a domain: a registered name of two characters
// at least ("x.y.com" is not one, "cdn.example.com" is), whose last label is not written as a word
// starting a sentence ("round.Game").
bool isWrittenDomain(std::string_view written) {
    const std::size_t lastDot = written.rfind('.');
    if (lastDot == std::string_view::npos)
        return false;
    const std::string_view top = written.substr(lastDot + 1);
    if (top.size() > 1 && isUpper(top[0]) && std::any_of(top.begin() + 1, top.end(), isLower))
        return false;
    const std::string name = lowerAscii(written);
    const auto labels = labelsOf(name);
    if (labels.size() < 2)
        return false;
    const std::size_t suffix = suffixLabels(name, labels);
    return suffix >= 1 && labels.size() > suffix && labels[labels.size() - suffix - 1].size() >= 2;
}

bool webAddressIn(std::string_view text, bool code) {
    const std::string lower = lowerAscii(text);
    // Anything after a scheme is an address, whatever its host ("http://__MY_IP__:8016/").
    for (std::size_t scheme = lower.find("://"); scheme != std::string::npos;
         scheme = lower.find("://", scheme + 1)) {
        if (scheme == 0 || !isLetter(lower[scheme - 1]))
            continue;
        const std::size_t start = scheme + 3;
        const std::size_t end = lower.find_first_of("/:?#\"'<>\\ \t\r\n)", start);
        const std::string_view host = std::string_view(lower).substr(start, end - start);
        if (!host.empty() && !isNotAdvert(host.substr(host.find('@') + 1)))
            return true;
    }
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isNameChar(text[i]) && text[i] != '.') {
            ++i;
            continue;
        }
        const std::size_t start = i;
        while (i < text.size() && (isNameChar(text[i]) || text[i] == '.'))
            ++i;
        // A name glued to '_' is a game name ("weapon_c4"); after a slash, a file's ("dlls/cs.so").
        const char before = start > 0 ? text[start - 1] : ' ';
        if (before == '_' || before == '/' || before == '\\')
            continue;
        std::string_view run = text.substr(start, i - start);
        while (!run.empty() && (run.front() == '.' || run.front() == '-'))
            run.remove_prefix(1);
        while (!run.empty() && (run.back() == '.' || run.back() == '-'))
            run.remove_suffix(1);
        if (run.find('.') == std::string_view::npos)
            continue;
        const std::string host = lowerAscii(run);
        if (isNotAdvert(host))
            continue;
        if (host.starts_with("www.") && std::any_of(host.begin() + 4, host.end(), isLetter))
            return true;
        if (!code && isWrittenDomain(run))
            return true;
    }
    return false;
}

}  // namespace

bool hasIpAddress(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool starts =
            isDigit(text[i]) && (i == 0 || (!isDigit(text[i - 1]) && text[i - 1] != '.'));
        if (starts && ipAt(text, i))
            return true;
    }
    return false;
}

bool isDomain(std::string_view name) {
    return !siteName(name).empty();
}

std::string siteName(std::string_view host) {
    const std::string lower = lowerAscii(host);
    const auto labels = labelsOf(lower);
    if (labels.size() < 2)
        return {};
    const std::size_t suffix = suffixLabels(lower, labels);
    if (suffix < 1 || labels.size() <= suffix)
        return {};
    return std::string(labels[labels.size() - suffix - 1]);
}

bool hasWebAddress(std::string_view text) {
    return webAddressIn(text, false);
}

bool hasAddressInCode(std::string_view text) {
    return hasIpAddress(text) || webAddressIn(text, true);
}

}  // namespace morvane::scan
