#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

// Who may do what with a file, as the host keeps it: on POSIX the mode bits and the owner and
// group; a host without those keeps whether the owner may write (the bit 0200) and, where it has
// one, the file's whole attribute set (Windows: read-only, hidden, system, archive...).
struct Permissions {
    std::uint32_t mode = 0;
    std::optional<std::uint32_t> owner;
    std::optional<std::uint32_t> group;
    std::optional<std::uint32_t> attributes;  // none on a host that keeps modes

    bool operator==(const Permissions&) const = default;
};

// Bits of an attribute set (Windows' values): files a booster hides from the player.
inline constexpr std::uint32_t kHiddenAttribute = 0x2;
inline constexpr std::uint32_t kSystemAttribute = 0x4;

}  // namespace morvane
