#pragma once

#include <array>
#include <string_view>

namespace morvane::ui {

// One address link of the start window: the text it shows and the address it opens. The two are
// kept apart on purpose; the shown text is not parsed into the address.
struct Link {
    std::string_view shown;
    std::string_view url;
};

// The maker's three web sites, for Form1's Label1, Label3 and Label4 in that order.
inline constexpr std::array<Link, 3> kMakerLinks{{
    {"www.example.org", "https://www.example.org/"},
    {"forum.example.org", "https://forum.example.org/"},
    {"files.example.org", "https://files.example.org/"},
}};

}  // namespace morvane::ui
