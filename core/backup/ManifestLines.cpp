#include "core/backup/ManifestLines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "core/text/AsciiText.h"

namespace morvane::backup::lines {
namespace {

constexpr std::array<std::string_view, 7> kActionNames{
    "pending", "unchanged", "replaced", "rewritten", "deleted", "created", "permissions"};

bool isPlain(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("._/~+,=@:-").find(c) != std::string_view::npos;
}

template <typename Number>
bool readNumber(std::string_view text, Number& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// An owner, group or attribute set: "-" for none.
bool readOptional(std::string_view text, std::optional<std::uint32_t>& value, int base) {
    std::uint32_t number = 0;
    if (text == "-")
        return true;
    if (!readNumber(text, number, base))
        return false;
    value = number;
    return true;
}

}  // namespace

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
        if (i + 2 >= text.size() || !readNumber(text.substr(i + 1, 2), value, 16))
            return std::nullopt;
        out += static_cast<char>(value);
        i += 2;
    }
    return out;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    return splitAt(line, ' ');
}

std::string formatState(const FileState& state) {
    if (!state.present)
        return "-";
    if (state.link)
        return state.linkTarget.empty() ? "link" : "link:" + escaped(state.linkTarget);
    const auto id = [](const std::optional<std::uint32_t>& value, const char* format) {
        char text[16] = "-";
        if (value)
            std::snprintf(text, sizeof text, format, static_cast<unsigned>(*value));
        return std::string(text);
    };
    char mode[16];
    std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(state.permissions.mode));
    return std::to_string(state.size) + ":" + state.sha256 + ":" + mode + ":" +
           id(state.permissions.owner, "%u") + ":" + id(state.permissions.group, "%u") + ":" +
           id(state.permissions.attributes, "%x");
}

std::optional<FileState> parseState(std::string_view text, bool withAttributes) {
    if (text == "-")
        return FileState{};
    if (text == "link")
        return FileState{true, true, 0, {}, {}, {}};
    if (text.starts_with("link:")) {
        const auto target = unescaped(text.substr(5));
        if (!target || target->empty())
            return std::nullopt;
        return FileState{true, true, 0, {}, {}, *target};
    }
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
    Permissions& permissions = state.permissions;
    if (parts.size() != (withAttributes ? 6u : 5u) || !readNumber(parts[0], state.size) ||
        parts[1].size() != 64 || !readNumber(parts[2], permissions.mode, 8) ||
        !readOptional(parts[3], permissions.owner, 10) ||
        !readOptional(parts[4], permissions.group, 10) ||
        (withAttributes && !readOptional(parts[5], permissions.attributes, 16))) {
        return std::nullopt;
    }
    state.sha256 = parts[1];
    return state;
}

std::string formatEntry(const ManifestEntry& entry) {
    return "file " + escaped(entry.file) + " " + std::string(actionName(entry.action)) + " " +
           formatState(entry.before) + " " + (entry.after ? formatState(*entry.after) : "?");
}

std::optional<ManifestEntry> parseEntry(std::string_view line, bool withAttributes) {
    const auto fields = fieldsOf(line);
    if (fields.size() != 5 || fields[0] != "file")
        return std::nullopt;
    ManifestEntry entry;
    const auto file = unescaped(fields[1]);
    const auto named = std::find(kActionNames.begin(), kActionNames.end(), fields[2]);
    const auto before = parseState(fields[3], withAttributes);
    if (!file || file->empty() || named == kActionNames.end() || !before)
        return std::nullopt;
    entry.file = *file;
    entry.action = static_cast<Action>(named - kActionNames.begin());
    entry.before = *before;
    if (fields[4] != "?") {
        entry.after = parseState(fields[4], withAttributes);
        if (!entry.after)
            return std::nullopt;
    }
    return entry;
}

}  // namespace morvane::backup::lines

namespace morvane::backup {

std::string_view actionName(Action action) {
    return lines::kActionNames[static_cast<std::size_t>(action)];
}

}  // namespace morvane::backup
