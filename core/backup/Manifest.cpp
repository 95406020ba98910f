#include "core/backup/Manifest.h"

#include <charconv>
#include <cstdio>

#include "core/backup/ManifestLines.h"
#include "core/backup/Sha256.h"

namespace morvane::backup {
namespace {

constexpr std::string_view kHeader = "morvane-backup 2";
constexpr std::string_view kHashField = "sha256 ";

// Reads the manifest's lines one by one, each ended by "\n", noting where the next one begins.
class LineReader {
  public:
    explicit LineReader(std::string_view bytes) : bytes_(bytes) {}

    std::optional<std::string_view> next() {
        const std::size_t end = bytes_.find('\n', at_);
        if (end == std::string_view::npos)
            return std::nullopt;
        const std::string_view line = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        ++number_;
        return line;
    }
    // The value of the next line when it is "NAME VALUE", unescaped.
    std::optional<std::string> value(std::string_view name) {
        const auto line = next();
        const auto fields = line ? lines::fieldsOf(*line) : std::vector<std::string_view>{};
        if (fields.size() != 2 || fields[0] != name)
            return std::nullopt;
        return lines::unescaped(fields[1]);
    }
    std::size_t at() const { return at_; }
    int number() const { return number_; }

  private:
    std::string_view bytes_;
    std::size_t at_ = 0;
    int number_ = 0;
};

template <typename Number>
bool readNumber(const std::optional<std::string>& text, Number& value) {
    if (!text || text->empty())
        return false;
    const auto [end, error] = std::from_chars(text->data(), text->data() + text->size(), value);
    return error == std::errc() && end == text->data() + text->size();
}

// The copies after the manifest, each checked against the hash its entry recorded.
std::variant<Backup, Reason> withCopies(Manifest manifest, std::string_view copies) {
    Backup backup{std::move(manifest), {}};
    for (const ManifestEntry& entry : backup.manifest.entries) {
        std::string& copy = backup.copies.emplace_back();
        if (!keepsCopy(entry))
            continue;
        if (copies.size() < entry.before.size)
            return because("its copies are cut short");
        copy = copies.substr(0, entry.before.size);
        copies.remove_prefix(entry.before.size);
        if (sha256Hex(copy) != entry.before.sha256)
            return because("its copy of %s is not the file it recorded", entry.file);
    }
    if (!copies.empty())
        return because("it holds more than its copies");
    return backup;
}

}  // namespace

bool isAsRecorded(const FileState& now, const FileState& recorded) {
    FileState compared = now;
    if (!recorded.permissions.attributes)
        compared.permissions.attributes.reset();
    if (recorded.link && recorded.linkTarget.empty())
        compared.linkTarget.clear();
    return compared == recorded;
}

std::string storedCopyName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "files/%06zu", index + 1);
    return name;
}

Action actionOf(const FileState& before, const FileState& after, bool rewritten) {
    if (before == after)
        return Action::Unchanged;
    if (!after.present)
        return Action::Deleted;
    if (!before.present)
        return Action::Created;
    if (before.sha256 == after.sha256 && before.size == after.size)
        return Action::Permissions;
    return rewritten ? Action::Rewritten : Action::Replaced;
}

std::string formatBackup(const Manifest& manifest, std::string_view copies) {
    std::string text = std::string(kHeader) + "\ngame " + lines::escaped(manifest.game) +
                       "\ntime " + lines::escaped(manifest.time) + "\nby " +
                       lines::escaped(manifest.by) + "\nnumber " + std::to_string(manifest.number) +
                       "\nentries " + std::to_string(manifest.entries.size()) + "\n";
    for (const ManifestEntry& entry : manifest.entries)
        text += lines::formatEntry(entry) + "\n";
    text += std::string(kHashField) + sha256Hex(text) + "\n";
    return text.append(copies);
}

std::optional<std::uint64_t> numberIn(std::string_view bytes) {
    LineReader reader(bytes);
    std::uint64_t number = 0;
    if (reader.next() != kHeader || !reader.value("game") || !reader.value("time") ||
        !reader.value("by") || !readNumber(reader.value("number"), number)) {
        return std::nullopt;
    }
    return number;
}

std::variant<Backup, Reason> parseBackup(std::string_view bytes, bool copies) {
    LineReader reader(bytes);
    Manifest manifest;
    std::size_t count = 0;
    const auto game = (reader.next() == kHeader) ? reader.value("game") : std::nullopt;
    const auto time = game ? reader.value("time") : std::nullopt;
    const auto by = time ? reader.value("by") : std::nullopt;
    if (!by || game->empty() || !readNumber(reader.value("number"), manifest.number) ||
        !readNumber(reader.value("entries"), count)) {
        return because("line %d does not fit", reader.number());
    }
    manifest.game = *game;
    manifest.time = *time;
    manifest.by = *by;
    for (;;) {
        const std::size_t lineStart = reader.at();
        const auto line = reader.next();
        if (!line)
            return because("it is cut short");
        if (line->starts_with(kHashField)) {
            if (manifest.entries.size() != count)
                return becauseN("it holds %d of its %d entry", "it holds %d of its %d entries",
                                count, manifest.entries.size(), count);
            if (line->substr(kHashField.size()) != sha256Hex(bytes.substr(0, lineStart)))
                return because("its hash does not match: it was changed");
            break;
        }
        auto entry = lines::parseEntry(*line, true);
        if (!entry)
            return because("line %d does not fit", reader.number());
        manifest.entries.push_back(std::move(*entry));
    }
    if (!copies)
        return Backup{std::move(manifest), {}};
    return withCopies(std::move(manifest), bytes.substr(reader.at()));
}

}  // namespace morvane::backup
