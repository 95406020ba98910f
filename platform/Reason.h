#pragma once

#include <cerrno>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace morvane {

// Why something failed or was left as it is, not yet worded: a text of ours in English with its
// arguments (each a reason of its own, or a name shown as it is), and the system's error after it
// where there is one, kept as the system's code. The layers that find causes keep them so; the
// programs word the same value in English, for what other programs read (JSON), and in the
// reader's language, for people (platform/Translate.h). The engine words nothing, and core no
// more than the texts of its causes.
//
// A text of ours is written with because() (becauseN() for one with a number's forms), which
// tools/translations.sh finds as it finds i18n::tr(); its arguments stand for %s or %d in it, as
// there:
//   because("cannot write the copy").withError(errno)   "cannot write the copy: No space left..."
//   because("%s is a link, not followed", name)
//   Reason::text(name).withError(errno)                 "cstrike: Permission denied"
//   Reason::on(path, because("not a folder"))           "/home/x/backups: not a folder"
class Reason {
  public:
    // No reason: empty in every language.
    Reason() = default;

    // A text that is not ours to translate: a name, a number, another program's own words.
    static Reason text(std::string verbatim) {
        Reason reason;
        reason.verbatim_ = std::move(verbatim);
        return reason;
    }
    // `why`, said of `name` (a path, a file's name): "NAME: WHY".
    static Reason on(std::string name, Reason why) {
        Reason reason = text(std::move(name));
        reason.args_.push_back(std::move(why));
        return reason;
    }
    // The system's error `code` alone (errno; on Windows, GetLastError()).
    static Reason systemError(std::uint32_t code) { return Reason().withError(code); }

    // A text of ours (see because()): `english` must outlive every copy, as a literal does.
    static Reason ours(std::string_view english, std::vector<Reason> args = {}) {
        Reason reason;
        reason.text_ = english;
        reason.args_ = std::move(args);
        return reason;
    }
    static Reason counted(std::string_view singular, std::string_view plural, std::uint64_t count,
                          std::vector<Reason> args = {}) {
        Reason reason = ours(singular, std::move(args));
        reason.plural_ = plural;
        reason.count_ = count;
        return reason;
    }

    // This reason with the system's error `code` after it.
    Reason withError(std::uint32_t code) && {
        error_ = code;
        return std::move(*this);
    }
    Reason withError(std::uint32_t code) const& { return Reason(*this).withError(code); }

    bool empty() const { return text_.empty() && verbatim_.empty() && !error_; }

    // In English, as written: what other programs read, whatever the reader's language.
    std::string english() const { return worded(true); }
    // In the program's language (i18n::useLanguage), the system's errors too.
    std::string translated() const { return worded(false); }

  private:
    std::string worded(bool english) const;

    std::string_view text_;     // a text of ours, in English, or empty
    std::string_view plural_;   // its plural, for a text with a number's forms
    std::uint64_t count_ = 0;   // the number that chooses the form
    std::string verbatim_;      // shown as it is, when there is no text of ours
    std::vector<Reason> args_;  // the text's arguments; without a text, what is said of verbatim_
    std::optional<std::uint32_t> error_;
};

namespace detail {
inline Reason asReason(const Reason& reason) {
    return reason;
}
inline Reason asReason(std::string text) {
    return Reason::text(std::move(text));
}
inline Reason asReason(const char* text) {
    return Reason::text(text);
}
inline Reason asReason(std::string_view text) {
    return Reason::text(std::string(text));
}
template <std::integral Number>
Reason asReason(Number number) {
    return Reason::text(std::to_string(number));
}
}  // namespace detail

// A text of ours, in English, with its arguments: reasons, names or numbers. Making it leaves
// errno as it was, so that `why(because("..."))` keeps the error at hand.
template <typename... Args>
Reason because(std::string_view english, const Args&... args) {
    const int saved = errno;
    Reason reason = Reason::ours(english, {detail::asReason(args)...});
    errno = saved;
    return reason;
}

// The same with a number's forms: `singular` for 1, else `plural`, as each language has them.
template <typename... Args>
Reason becauseN(std::string_view singular, std::string_view plural, std::uint64_t count,
                const Args&... args) {
    const int saved = errno;
    Reason reason = Reason::counted(singular, plural, count, {detail::asReason(args)...});
    errno = saved;
    return reason;
}

// The system's text for its error `code`, in English or in the program's language: our own wording
// of the errors a player meets, else the system's own. One implementation per system
// (platform/host/posix/, platform/host/win32/).
std::string systemErrorText(std::uint32_t code, bool english);

}  // namespace morvane
