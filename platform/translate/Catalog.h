#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "platform/translate/PluralRule.h"

namespace morvane::i18n {

// One language's compiled catalog, a GNU .mo file as msgfmt writes it (in either byte order),
// read in place: the bytes must outlive it. Only UTF-8 catalogs are taken, as the programs write
// UTF-8.
class Catalog {
  public:
    // The catalog in `bytes`, or none when they are not a whole one: every table and text is
    // checked to lie inside them.
    static std::optional<Catalog> read(std::string_view bytes);

    // The translation of `text` in `context` ("" for none), or none.
    std::optional<std::string_view> find(std::string_view context, std::string_view text) const;
    // The translation's form for `count` of the text whose singular is `singular`, or none.
    std::optional<std::string_view> findPlural(std::string_view context, std::string_view singular,
                                               std::uint64_t count) const;

  private:
    std::optional<std::string_view> translation(std::string_view context,
                                                std::string_view text) const;
    bool readHeader();

    // By the original text's key (context, \4, text; up to its first NUL), the translation with
    // its forms separated by NULs.
    std::unordered_map<std::string_view, std::string_view> messages_;
    PluralRule plural_ = PluralRule::germanic();
    std::uint64_t forms_ = 2;
};

}  // namespace morvane::i18n
