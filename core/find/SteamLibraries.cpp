#include "core/find/SteamLibraries.h"

#include <algorithm>

#include "core/keyvalues/KeyValues.h"

namespace morvane::find {
namespace {

// Libraries are numbered "0", "1"...; the other keys of the block are Steam's statistics.
bool isLibraryNumber(std::string_view key) {
    return !key.empty() &&
           std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

std::variant<std::vector<std::string>, Reason> libraryFolders(std::string_view vdf) {
    const auto parsed = kv::parse(vdf);
    if (const auto* error = std::get_if<kv::ParseError>(&parsed))
        return because("line %d: %s", error->line, error->message);
    const kv::Node* libraries = std::get<kv::Node>(parsed).child("libraryfolders");
    if (libraries == nullptr || !libraries->block)
        return because("no \"libraryfolders\" block");
    std::vector<std::string> folders;
    for (const kv::Node& library : libraries->children) {
        if (!isLibraryNumber(library.key))
            continue;
        if (!library.block) {
            folders.push_back(library.value);
        } else if (const kv::Node* path = library.child("path"); path && !path->block) {
            folders.push_back(path->value);
        }
    }
    return folders;
}

}  // namespace morvane::find
