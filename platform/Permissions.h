#pragma once

#include <cstdint>
#include <optional>

namespace morvane {

// Who may do what with a file, as the host keeps it: on POSIX the mode bits and the owner and
// group; a host without those keeps only whether the owner may write (the bit 0200).
struct Permissions {
    std::uint32_t mode = 0;
    std::optional<std::uint32_t> owner;
    std::optional<std::uint32_t> group;

    bool operator==(const Permissions&) const = default;
};

}  // namespace morvane
