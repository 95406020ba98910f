#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/backup/Manifest.h"

namespace morvane::backup::lines {

// The line syntax that both formats of the manifest share: fields parted by single blanks, names
// escaped so that no blank or line end is left in them, a file's state as fields parted by colons.

// `text` with every byte but letters, digits and a few marks written as %XX.
std::string escaped(std::string_view text);
std::optional<std::string> unescaped(std::string_view text);

// The fields of `line`, parted by single blanks.
std::vector<std::string_view> fieldsOf(std::string_view line);

// "-" (not there), "link:TARGET" (a link, its target escaped; "link" alone where it is not known),
// or "size:sha256:mode:owner:group", with ":attributes" in the second format ("-" or hexadecimal).
std::string formatState(const FileState& state);
std::optional<FileState> parseState(std::string_view text, bool withAttributes);

// "file NAME ACTION BEFORE AFTER" (AFTER "?" while pending).
std::string formatEntry(const ManifestEntry& entry);
std::optional<ManifestEntry> parseEntry(std::string_view line, bool withAttributes);

}  // namespace morvane::backup::lines
