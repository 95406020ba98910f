#include "platform/Translate.h"

#include <atomic>
#include <cctype>
#include <memory>
#include <mutex>

#include "platform/translate/Catalog.h"
#include "platform/translate/EmbeddedCatalogs.h"

namespace morvane::i18n {
namespace {

struct Loaded {
    std::string language;
    Catalog catalog;
};

// The catalog in use; none for English. Chosen at start, read by every thread after.
std::atomic<const Loaded*> current{nullptr};

// Each carried catalog, read once when first chosen and kept for the program's life.
const Loaded* loaded(const EmbeddedCatalog& embedded) {
    static std::mutex guard;
    static std::vector<std::unique_ptr<Loaded>> all;
    const std::lock_guard lock(guard);
    for (const auto& one : all) {
        if (one->language == embedded.language)
            return one.get();
    }
    auto catalog = Catalog::read(embedded.bytes);
    if (!catalog)
        return nullptr;
    all.push_back(std::make_unique<Loaded>(Loaded{std::string(embedded.language), *catalog}));
    return all.back().get();
}

const EmbeddedCatalog* carried(std::string_view tag) {
    for (const EmbeddedCatalog& embedded : embeddedCatalogs()) {
        if (embedded.language == tag)
            return &embedded;
    }
    return nullptr;
}

bool isEnglish(std::string_view tag) {
    return tag == "en" || tag.starts_with("en_");
}

}  // namespace

std::string useLanguage(const std::vector<std::string>& preferred) {
    for (const std::string& tag : preferred) {
        if (isEnglish(tag))
            break;
        const EmbeddedCatalog* embedded = carried(tag);
        if (embedded == nullptr)
            embedded = carried(tag.substr(0, tag.find('_')));
        const Loaded* chosen = embedded != nullptr ? loaded(*embedded) : nullptr;
        if (chosen != nullptr) {
            current = chosen;
            return chosen->language;
        }
    }
    current = nullptr;
    return {};
}

std::string language() {
    const Loaded* now = current;
    return now != nullptr ? now->language : std::string{};
}

std::vector<std::string> carriedLanguages() {
    std::vector<std::string> tags;
    for (const EmbeddedCatalog& embedded : embeddedCatalogs())
        tags.emplace_back(embedded.language);
    return tags;
}

namespace detail {

std::string_view lookup(std::string_view context, std::string_view text) {
    const Loaded* now = current;
    const auto found = now != nullptr ? now->catalog.find(context, text) : std::nullopt;
    return found.value_or(text);
}

std::string_view lookupPlural(std::string_view context, std::string_view singular,
                              std::string_view plural, std::uint64_t count) {
    const Loaded* now = current;
    const auto found =
        now != nullptr ? now->catalog.findPlural(context, singular, count) : std::nullopt;
    return found.value_or(count == 1 ? singular : plural);
}

// %s and %d take the next argument, %N$s and %N$d the Nth, %% is %; anything else, or an argument
// that is not there, is left as written.
std::string format(std::string_view pattern, std::initializer_list<std::string_view> args) {
    return format(pattern, std::span<const std::string_view>(args.begin(), args.size()));
}

std::string format(std::string_view pattern, std::span<const std::string_view> args) {
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 >= pattern.size()) {
            out += pattern[i];
            continue;
        }
        if (pattern[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        std::size_t end = i + 1, position = 0;
        while (end < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[end])))
            position = position * 10 + static_cast<std::size_t>(pattern[end++] - '0');
        const bool numbered = end > i + 1 && end < pattern.size() && pattern[end] == '$';
        end = numbered ? end + 1 : i + 1;  // digits without '$' would be a width: none here
        const bool conversion =
            end < pattern.size() && (pattern[end] == 's' || pattern[end] == 'd');
        const std::size_t index = numbered ? position - 1 : next;
        if (!conversion || (numbered && position == 0) || index >= args.size()) {
            out += pattern[i];
            continue;
        }
        out += args[index];
        next = index + 1;
        i = end;
    }
    return out;
}

}  // namespace detail
}  // namespace morvane::i18n
