#include "platform/translate/Catalog.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace morvane::i18n {
namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kSwappedMagic = 0xde120495;
constexpr char kContextEnd = '\4';

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool word(std::size_t at, std::uint32_t& out) const {
        if (at > bytes_.size() || bytes_.size() - at < 4)
            return false;
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const auto byte = static_cast<std::uint8_t>(bytes_[at + static_cast<std::size_t>(i)]);
            value |= static_cast<std::uint32_t>(byte) << (swapped_ ? 8 * (3 - i) : 8 * i);
        }
        out = value;
        return true;
    }
    void setSwapped(bool swapped) { swapped_ = swapped; }

    // The text that entry `index` of the table at `table` describes (its length, then its
    // offset), which must end with a NUL inside the bytes.
    bool text(std::size_t table, std::uint32_t index, std::string_view& out) const {
        std::uint32_t length = 0, offset = 0;
        const std::size_t entry = table + std::size_t{8} * index;
        if (!word(entry, length) || !word(entry + 4, offset))
            return false;
        if (offset > bytes_.size() || bytes_.size() - offset <= length ||
            bytes_[std::size_t{offset} + length] != '\0')
            return false;
        out = bytes_.substr(offset, length);
        return true;
    }

  private:
    std::string_view bytes_;
    bool swapped_ = false;
};

std::string_view beforeNul(std::string_view text) {
    return text.substr(0, std::min(text.find('\0'), text.size()));
}

// The value of `name` ("nplurals=") in a Plural-Forms line, up to the next ';'.
std::optional<std::string_view> setting(std::string_view line, std::string_view name) {
    const std::size_t at = line.find(name);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = line.substr(at + name.size());
    return rest.substr(0, std::min(rest.find(';'), rest.size()));
}

std::string lowered(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

std::optional<Catalog> Catalog::read(std::string_view bytes) {
    Reader reader(bytes);
    std::uint32_t magic = 0, revision = 0, count = 0, originals = 0, translations = 0;
    if (!reader.word(0, magic) || (magic != kMagic && magic != kSwappedMagic))
        return std::nullopt;
    reader.setSwapped(magic == kSwappedMagic);
    if (!reader.word(4, revision) || (revision >> 16) > 1 || !reader.word(8, count) ||
        !reader.word(12, originals) || !reader.word(16, translations))
        return std::nullopt;
    Catalog catalog;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string_view original, translated;
        if (!reader.text(originals, i, original) || !reader.text(translations, i, translated))
            return std::nullopt;
        catalog.messages_.emplace(beforeNul(original), translated);
    }
    if (!catalog.readHeader())
        return std::nullopt;
    return catalog;
}

// The header is the translation of the empty text. A catalog without one is taken as UTF-8 with
// English's plural rule; one in another character set than UTF-8 (or ASCII, its part) is refused.
bool Catalog::readHeader() {
    const auto header = messages_.find("");
    if (header == messages_.end())
        return true;
    std::string_view rest = header->second;
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find('\n'), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (line.starts_with("Content-Type:")) {
            const std::string type = lowered(line);
            const auto charset = setting(type, "charset=");
            if (charset && *charset != "utf-8" && *charset != "ascii" && *charset != "us-ascii")
                return false;
        } else if (line.starts_with("Plural-Forms:")) {
            const auto forms = setting(line, "nplurals=");
            const auto rule = setting(line, "plural=");
            const auto parsed = rule ? PluralRule::parse(*rule) : std::nullopt;
            // As GNU gettext does, a rule it cannot read leaves English's.
            if (forms && parsed && !forms->empty() &&
                std::all_of(forms->begin(), forms->end(),
                            [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
                forms_ = std::stoull(std::string(*forms));
                plural_ = *parsed;
            }
        }
    }
    return true;
}

std::optional<std::string_view> Catalog::translation(std::string_view context,
                                                     std::string_view text) const {
    if (text.empty())
        return std::nullopt;  // the header is no one's translation
    if (context.empty()) {
        const auto found = messages_.find(text);
        return found == messages_.end() ? std::nullopt : std::optional(found->second);
    }
    std::string key(context);
    key.append(1, kContextEnd).append(text);
    const auto found = messages_.find(key);
    return found == messages_.end() ? std::nullopt : std::optional(found->second);
}

std::optional<std::string_view> Catalog::find(std::string_view context,
                                              std::string_view text) const {
    const auto found = translation(context, text);
    return found ? std::optional(beforeNul(*found)) : std::nullopt;
}

std::optional<std::string_view> Catalog::findPlural(std::string_view context,
                                                    std::string_view singular,
                                                    std::uint64_t count) const {
    auto forms = translation(context, singular);
    if (!forms)
        return std::nullopt;
    std::uint64_t index = plural_.evaluate(count);
    if (index >= forms_)
        index = 0;
    for (; index > 0; --index) {
        const std::size_t end = forms->find('\0');
        if (end == std::string_view::npos)
            return std::nullopt;  // fewer forms than the rule names
        forms->remove_prefix(end + 1);
    }
    return beforeNul(*forms);
}

}  // namespace morvane::i18n
