#pragma once

#include <string>
#include <string_view>

namespace morvane {

// The names of the temporary files that copies are written to, in the target's folder, before
// they are renamed over the target: "." + the target's name + "." + eight random letters or digits
// + the suffix. Older versions of the program used "." + the target's name + the suffix.
inline constexpr const char* kPartialSuffix = ".morvane-partial";
inline constexpr std::size_t kRandomLength = 8;
// Fresh names tried when one is taken.
inline constexpr int kNameTries = 16;

// A temporary file's name for `target`, its random part made from `random` (kRandomLength bytes).
inline std::string tempName(const std::string& target,
                            const unsigned char (&random)[kRandomLength]) {
    constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string name = "." + target + ".";
    for (unsigned char byte : random)
        name += kLetters[byte % kLetters.size()];
    return name + kPartialSuffix;
}

// Whether `entry` is a temporary file's name for any target, of this version or an older one.
inline bool isLeftover(std::string_view entry) {
    const std::string_view suffix = kPartialSuffix;
    return entry.size() > suffix.size() + 1 && entry.starts_with('.') && entry.ends_with(suffix);
}

// Whether `entry` is a temporary file's name for `target`, of this version or an older one.
inline bool isLeftoverOf(std::string_view entry, const std::string& target) {
    const std::string_view suffix = kPartialSuffix;
    const std::string head = "." + target;
    if (!entry.starts_with(head) || !entry.ends_with(suffix))
        return false;
    const std::string_view middle =
        entry.substr(head.size(), entry.size() - head.size() - suffix.size());
    if (middle.empty())
        return true;  // an older version's name
    if (middle.size() != kRandomLength + 1 || middle[0] != '.')
        return false;
    for (char c : middle.substr(1)) {
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

}  // namespace morvane
