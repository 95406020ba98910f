#pragma once

#include <cstdint>

#include "platform/Reason.h"

namespace morvane {

// Why a file was not read whole: it is larger than `limit` bytes.
inline Reason tooLarge(std::uint64_t limit) {
    return becauseN("larger than %d byte", "larger than %d bytes", limit, limit);
}

}  // namespace morvane
