#include "core/backup/Manifest.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "core/text/TextLines.h"

namespace morvane::backup {
namespace {

constexpr std::string_view kHeader = "morvane-backup 1";

constexpr std::array<std::string_view, 7> kActionNames{
    "pending", "unchanged", "replaced", "rewritten", "deleted", "created", "permissions"};

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("._/~+,=@:-").find(c) != std::string_view::npos;
}

// `text` with every byte but letters, digits and a few marks written as %XX: no blank or line end
// is left to confuse the fields (colons part only the fields of a file's state, never escaped).
std::string escaped(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (isPlain(c)) {
            out += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
            out += hex;
        }
    }
    return out;
}

std::optional<std::string> unescaped(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        unsigned value = 0;
        if (i + 2 >= text.size())
            return std::nullopt;
        const auto [end, error] =
            std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
        if (error != std::errc() || end != text.data() + i + 3)
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::string formatState(const FileState& state) {
    if (!state.present)
        return "-";
    if (state.link)
        return "link";
    char mode[16];
    std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(state.permissions.mode));
    const auto id = [](const std::optional<std::uint32_t>& value) {
        return value ? std::to_string(*value) : std::string("-");
    };
    return std::to_string(state.size) + ":" + state.sha256 + ":" + mode + ":" +
           id(state.permissions.owner) + ":" + id(state.permissions.group);
}

template <typename Number>
bool readNumber(std::string_view text, Number& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::optional<FileState> parseState(std::string_view text) {
    if (text == "-")
        return FileState{};
    if (text == "link")
        return FileState{true, true, 0, {}, {}};
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t colon = text.find(':', start);
        parts.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos)
            break;
        start = colon + 1;
    }
    FileState state;
    state.present = true;
    if (parts.size() != 5 || !readNumber(parts[0], state.size) || parts[1].size() != 64 ||
        !readNumber(parts[2], state.permissions.mode, 8)) {
        return std::nullopt;
    }
    state.sha256 = parts[1];
    for (auto [part, id] : {std::pair{parts[3], &state.permissions.owner},
                            std::pair{parts[4], &state.permissions.group}}) {
        std::uint32_t value = 0;
        if (part != "-" && !readNumber(part, value))
            return std::nullopt;
        if (part != "-")
            *id = value;
    }
    return state;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0; start <= line.size();) {
        const std::size_t blank = std::min(line.find(' ', start), line.size());
        fields.push_back(line.substr(start, blank - start));
        start = blank + 1;
    }
    return fields;
}

std::optional<ManifestEntry> parseEntry(const std::vector<std::string_view>& fields) {
    if (fields.size() != 5 || fields[0] != "file")
        return std::nullopt;
    ManifestEntry entry;
    const auto file = unescaped(fields[1]);
    const auto named = std::find(kActionNames.begin(), kActionNames.end(), fields[2]);
    const auto before = parseState(fields[3]);
    if (!file || file->empty() || named == kActionNames.end() || !before)
        return std::nullopt;
    entry.file = *file;
    entry.action = static_cast<Action>(named - kActionNames.begin());
    entry.before = *before;
    if (fields[4] != "?") {
        entry.after = parseState(fields[4]);
        if (!entry.after)
            return std::nullopt;
    }
    return entry;
}

}  // namespace

std::string storedCopyName(std::size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "files/%06zu", index + 1);
    return name;
}

std::string_view actionName(Action action) {
    return kActionNames[static_cast<std::size_t>(action)];
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

std::string formatManifest(const Manifest& manifest) {
    std::string out = std::string(kHeader) + "\ngame " + escaped(manifest.game) + "\ntime " +
                      escaped(manifest.time) + "\n";
    for (const ManifestEntry& entry : manifest.entries) {
        out += "file " + escaped(entry.file) + " " + std::string(actionName(entry.action)) + " " +
               formatState(entry.before) + " " + (entry.after ? formatState(*entry.after) : "?") +
               "\n";
    }
    return out;
}

std::variant<Manifest, std::string> parseManifest(std::string_view text) {
    Manifest manifest;
    std::string error;
    scan::forEachLine(text, [&](std::string_view line, int number) {
        if (!error.empty())
            return;
        const auto fields = fieldsOf(line);
        const auto value = fields.size() == 2 ? unescaped(fields[1]) : std::nullopt;
        bool fits = true;
        if (number == 1) {
            fits = line == kHeader;
        } else if (number == 2) {
            fits = fields[0] == "game" && value && !value->empty();
            manifest.game = value.value_or("");
        } else if (number == 3) {
            fits = fields[0] == "time" && value;
            manifest.time = value.value_or("");
        } else if (auto entry = parseEntry(fields)) {
            manifest.entries.push_back(std::move(*entry));
        } else {
            fits = false;
        }
        if (!fits)
            error = "line " + std::to_string(number) + " does not fit";
    });
    if (error.empty() && manifest.game.empty())
        error = "it is empty";
    if (!error.empty())
        return error;
    return manifest;
}

}  // namespace morvane::backup
