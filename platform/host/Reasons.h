#pragma once

#include <cstdint>
#include <string>

#include "platform/Translate.h"

namespace morvane {

// Why a file was not read whole: it is larger than `limit` bytes.
inline std::string tooLarge(std::uint64_t limit) {
    return i18n::trn("larger than %d byte", "larger than %d bytes", limit, limit);
}

}  // namespace morvane
