#pragma once

#include <cerrno>
#include <concepts>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The texts people read, in the language the program chose. A text is marked where it is written,
// in English; tools/translations.sh finds the marks with xgettext (po/morvane.pot), translators
// translate it in po/LANGUAGE.po, and the build compiles those catalogs into the programs
// (platform/translate/). A text without a translation, or a program in English, shows the text as
// written.
//
//   tr("no folder given")                     a text
//   tr("unknown option '%s'", option)         with arguments: %s for each, in order (%d reads
//                                             better for a number), or %1$s, %2$s... where a
//                                             language puts them in another order
//   trn("%d file", "%d files", n, n)          the form for the number n, as each language has
//                                             its own (Russian three)
//   trc("menu", "Open")                       a context, where one English text has two
//   trnc("menu", "%d file", "%d files", n, n) meanings
//   trMark("...")                             marks a text kept in a table, for tr(row.text)
//                                             where it is shown
//
// With no arguments the translation is returned as it is; with arguments "%%" stands for "%".
// A comment "// TRANSLATORS: ..." just above a mark goes into the catalog with it.
namespace morvane::i18n {

// One argument of a text: text, or a number in digits.
class Arg {
  public:
    Arg(std::string_view text) : text_(text) {}
    Arg(const std::string& text) : text_(text) {}
    Arg(const char* text) : text_(text) {}
    template <std::integral Number>
    Arg(Number number) : text_(std::to_string(number)) {}

    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

namespace detail {
// The translation of `text` in `context` ("" for none), or `text` itself.
std::string_view lookup(std::string_view context, std::string_view text);
// The translation's form for `count`, or the English one (`singular` for 1, else `plural`).
std::string_view lookupPlural(std::string_view context, std::string_view singular,
                              std::string_view plural, std::uint64_t count);
std::string format(std::string_view pattern, std::initializer_list<std::string_view> args);
std::string format(std::string_view pattern, std::span<const std::string_view> args);

// Looking a text up leaves errno as it was, so that `why(tr("..."))` reports the error at hand.
struct KeptErrno {
    int saved = errno;
    ~KeptErrno() { errno = saved; }
};

template <typename... Args>
std::string filled(std::string_view pattern, const Args&... args) {
    const KeptErrno kept;
    if constexpr (sizeof...(Args) == 0)
        return std::string(pattern);
    else
        return format(pattern, {Arg(args).text()...});
}
}  // namespace detail

template <typename... Args>
std::string tr(std::string_view text, const Args&... args) {
    return detail::filled(detail::lookup({}, text), args...);
}

template <typename... Args>
std::string trc(std::string_view context, std::string_view text, const Args&... args) {
    return detail::filled(detail::lookup(context, text), args...);
}

template <typename... Args>
std::string trn(std::string_view singular, std::string_view plural, std::uint64_t count,
                const Args&... args) {
    return detail::filled(detail::lookupPlural({}, singular, plural, count), args...);
}

template <typename... Args>
std::string trnc(std::string_view context, std::string_view singular, std::string_view plural,
                 std::uint64_t count, const Args&... args) {
    return detail::filled(detail::lookupPlural(context, singular, plural, count), args...);
}

constexpr std::string_view trMark(std::string_view text) {
    return text;
}

// Chooses the language of every text from now on, for the whole program: the first of
// `preferred` (language tags, most wanted first: "ru_RU", "ru", "en") that the program carries a
// catalog for, a tag with a territory ("ru_RU") falling back to its language ("ru"). English, the
// language the texts are written in, counts as carried. With none of them, English. Returns the
// tag of the catalog chosen ("ru"), "" for English.
std::string useLanguage(const std::vector<std::string>& preferred);

// The tag of the language in use, "" for English.
std::string language();

// The tags of the languages the program carries catalogs for, English aside.
std::vector<std::string> carriedLanguages();

}  // namespace morvane::i18n
