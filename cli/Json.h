#pragma once

#include <string>
#include <string_view>

namespace morvane::cli {

// `text` as a JSON string, quotes included. Bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text);

// Appends the member `"name":value` to the JSON object or array begun in `out`.
void jsonMember(std::string& out, std::string_view name, const std::string& value);
// Appends `value` as the next element of the JSON array begun in `out`.
void jsonElement(std::string& out, const std::string& value);

}  // namespace morvane::cli
