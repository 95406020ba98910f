#include "platform/Reason.h"

#include "platform/Translate.h"

namespace morvane {

std::string Reason::worded(bool english) const {
    std::string out = verbatim_;
    if (text_.empty()) {
        for (const Reason& said : args_)
            out.append(": ").append(said.worded(english));
    } else {
        const bool counted = !plural_.empty();
        const std::string_view pattern =
            english   ? (counted && count_ != 1 ? plural_ : text_)
            : counted ? i18n::detail::lookupPlural({}, text_, plural_, count_)
                      : i18n::detail::lookup({}, text_);
        std::vector<std::string> words;
        for (const Reason& arg : args_)
            words.push_back(arg.worded(english));
        // As tr() does: a text without arguments is shown as it is, "%" and all.
        if (words.empty()) {
            out = pattern;
        } else {
            const std::vector<std::string_view> views(words.begin(), words.end());
            out = i18n::detail::format(pattern, views);
        }
    }
    if (error_) {
        const std::string system = systemErrorText(*error_, english);
        out = out.empty() ? system : out + ": " + system;
    }
    return out;
}

}  // namespace morvane
