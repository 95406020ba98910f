#pragma once

#include <span>
#include <string_view>

namespace morvane::i18n {

// A compiled catalog carried inside the program.
struct EmbeddedCatalog {
    std::string_view language;  // "ru", as po/LINGUAS names it
    std::string_view bytes;     // the .mo file msgfmt made of po/LANGUAGE.po
};

// Every catalog of po/LINGUAS, written into the build by write-catalogs.py.
std::span<const EmbeddedCatalog> embeddedCatalogs();

}  // namespace morvane::i18n
