#include "core/clean/KeptEntries.h"

#include <algorithm>
#include <map>

#include "core/game/Masters.h"
#include "core/keyvalues/KeyValues.h"

namespace morvane::clean {
namespace {

// What is put at [begin, end) of the content.
struct Edit {
    std::size_t begin;
    std::size_t end;
    std::string text;
};

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// The bytes to take out with `span`: its whole lines, ends and all, when nothing else stands on
// them; else the span and the blanks after it.
scan::Span removal(std::string_view content, scan::Span span) {
    const std::size_t before =
        span.begin == 0 ? std::string_view::npos : content.find_last_of("\r\n", span.begin - 1);
    const std::size_t lineStart = before == std::string_view::npos ? 0 : before + 1;
    std::size_t after = span.end;
    while (after < content.size() && isBlank(content[after]))
        ++after;
    const bool aloneBefore =
        std::all_of(content.begin() + static_cast<std::ptrdiff_t>(lineStart),
                    content.begin() + static_cast<std::ptrdiff_t>(span.begin), isBlank);
    // A line ends at CR LF, LF or a lone CR, as the scan splits lines.
    std::size_t lineEnd = after;
    bool endsThere = lineEnd >= content.size();
    if (!endsThere && (content[lineEnd] == '\r' || content[lineEnd] == '\n')) {
        endsThere = true;
        const bool crlf = content[lineEnd] == '\r' && lineEnd + 1 < content.size() &&
                          content[lineEnd + 1] == '\n';
        lineEnd += crlf ? 2 : 1;
    }
    if (aloneBefore && endsThere)
        return {lineStart, lineEnd};
    return {span.begin, after};
}

// The master `addr` written again with `address`: its own bytes, with its value replaced (quoted
// as that value was).
std::string stockLike(std::string_view content, const kv::Node& addr, std::string_view address) {
    std::string text(content.substr(addr.begin, addr.end - addr.begin));
    // Appended piece by piece: GCC 12 misreads a sum of string temporaries at -O3.
    const std::string_view quote = content[addr.valueBegin] == '"' ? "\"" : "";
    std::string value(quote);
    value.append(address).append(quote);
    return text.replace(addr.valueBegin - addr.begin, addr.end - addr.valueBegin, value);
}

// For each list block of a master list ("hl1" in "MasterServers" { "hl1" { ... } }) whose
// masters are all taken out: Valve's stock master in place of its first one.
void stockForEmptied(std::string_view content, const kv::Node& root,
                     std::map<std::size_t, Edit>& edits) {
    for (const kv::Node& top : root.children) {
        for (const kv::Node& list : top.children) {
            const std::vector<const kv::Node*> masters = list.textsBelow("addr");
            if (masters.empty() || !std::all_of(masters.begin(), masters.end(),
                                                [&](auto m) { return edits.contains(m->begin); }))
                continue;
            const kv::Node& first = *masters.front();
            edits[first.begin] = {first.begin, first.end,
                                  stockLike(content, first, valveStockMaster(list.key))};
        }
    }
}

std::string applied(std::string_view content, const std::map<std::size_t, Edit>& edits) {
    std::string out;
    std::size_t at = 0;
    for (const auto& [begin, edit] : edits) {
        if (edit.begin < at)
            continue;  // within one taken out already
        out.append(content.substr(at, edit.begin - at)).append(edit.text);
        at = edit.end;
    }
    return out.append(content.substr(std::min(at, content.size())));
}

}  // namespace

std::string withoutEntries(std::string_view content, const std::vector<scan::Span>& entries,
                           bool stockWhenEmpty) {
    std::map<std::size_t, Edit> edits;
    for (const scan::Span& span : entries)
        edits[span.begin] = {span.begin, span.end, {}};
    if (stockWhenEmpty)
        stockForEmptied(content, kv::parseTolerantly(content), edits);
    for (auto& [begin, edit] : edits) {
        if (edit.text.empty()) {
            const scan::Span whole = removal(content, {edit.begin, edit.end});
            edit.begin = whole.begin;
            edit.end = whole.end;
        }
    }
    std::map<std::size_t, Edit> byStart;
    for (auto& [begin, edit] : edits)
        byStart[edit.begin] = std::move(edit);
    return applied(content, byStart);
}

std::string withDefaults(std::string_view content, const std::vector<scan::Span>& settings) {
    std::map<std::size_t, Edit> edits;
    for (const scan::Span& span : settings) {
        const std::string_view line = content.substr(span.begin, span.end - span.begin);
        const std::size_t equals = line.find('=');
        std::string key(line.substr(0, equals));
        std::erase_if(key, [](char c) { return isBlank(c) || c == '"'; });
        const auto value = equals == std::string_view::npos ? std::nullopt : emulatorDefault(key);
        if (!value) {
            edits[span.begin] = {span.begin, span.end, {}};
            continue;
        }
        // The value's blanks before it kept, and the line's end after it.
        std::size_t from = equals + 1;
        while (from < line.size() && isBlank(line[from]))
            ++from;
        const std::size_t end = line.find_first_of("\r\n", from);
        edits[span.begin + from] = {
            span.begin + from, span.begin + (end == std::string_view::npos ? line.size() : end),
            std::string(*value)};
    }
    return applied(content, edits);
}

}  // namespace morvane::clean
