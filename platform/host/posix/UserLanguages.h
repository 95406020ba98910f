#pragma once

#include <functional>
#include <string>
#include <vector>

namespace morvane::posix {

// The languages the environment asks for, as GNU gettext reads it: LANGUAGE (a list separated by
// colons, "ru:de") unless the messages' locale is "C" or "POSIX"; else that locale, the first set
// of LC_ALL, LC_MESSAGES and LANG ("ru_RU.UTF-8" gives "ru_RU"). Codesets and modifiers are left
// out. None when the locale is C, or when the characters' locale (LC_ALL, LC_CTYPE, LANG) names a
// codeset other than UTF-8: the catalogs are UTF-8 and a KOI8-R terminal would show them garbled,
// so it gets English. `variable` gives an environment variable's value, or null.
std::vector<std::string> languagesOf(const std::function<const char*(const char*)>& variable);

}  // namespace morvane::posix
