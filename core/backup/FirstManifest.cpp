// The manifest of the first format, as backups made before it changed still hold it.
#include <optional>

#include "core/backup/Manifest.h"
#include "core/backup/ManifestLines.h"
#include "core/text/TextLines.h"

namespace morvane::backup {

std::variant<Manifest, Reason> parseFirstManifest(std::string_view text) {
    Manifest manifest;
    std::optional<Reason> error;
    scan::forEachLine(text, [&](std::string_view line, int number) {
        if (error)
            return;
        const auto fields = lines::fieldsOf(line);
        const auto value = fields.size() == 2 ? lines::unescaped(fields[1]) : std::nullopt;
        bool fits = true;
        if (number == 1) {
            fits = line == "morvane-backup 1";
        } else if (number == 2) {
            fits = fields[0] == "game" && value && !value->empty();
            manifest.game = value.value_or("");
        } else if (number == 3) {
            fits = fields[0] == "time" && value;
            manifest.time = value.value_or("");
        } else if (auto entry = lines::parseEntry(line, false)) {
            manifest.entries.push_back(std::move(*entry));
        } else {
            fits = false;
        }
        if (!fits)
            error = because("line %d does not fit", number);
    });
    if (!error && manifest.game.empty())
        error = because("it is empty");
    if (error)
        return *error;
    return manifest;
}

}  // namespace morvane::backup
