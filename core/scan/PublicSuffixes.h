#pragma once

#include <span>
#include <string_view>

namespace morvane::scan {

// The ICANN section of the Public Suffix List, as core/scan/write-public-suffixes.py writes it at
// build time from Debian's package publicsuffix: lower case, other alphabets as the DNS spells them
// ("xn--p1ai"), each list sorted by bytes.
struct SuffixTable {
    std::span<const std::string_view> plain;      // "com", "co.uk"
    std::span<const std::string_view> wildcard;   // "*.ck" as "ck": every name below is a suffix
    std::span<const std::string_view> exception;  // "!www.ck" as "www.ck": not a suffix after all
};

const SuffixTable& publicSuffixes();

}  // namespace morvane::scan
