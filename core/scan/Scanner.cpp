#include "core/scan/Scanner.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <set>
#include <span>

#include "core/game/GameLayout.h"
#include "core/scan/Family.h"
#include "core/scan/Installation.h"
#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

using Found = std::function<void(const std::string& relative)>;

// `relative` with `name` below it ('/' separated; "" is the game folder).
std::string inside(const std::string& relative, std::string_view name) {
    return relative.empty() ? std::string(name) : relative + "/" + std::string(name);
}

void sortByName(std::vector<FolderEntry>& entries) {
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
}

class Scan {
  public:
    Scan(TreeReader& reader, const std::string& game) : reader_(reader), game_(game) {}

    ScanReport run() {
        for (const Family* family : families()) {
            for (const Place& place : family->places) {
                for (std::string_view folder : place.folders) {
                    std::vector<std::string_view> parts = splitAt(place.name, '/');
                    if (!folder.empty()) {
                        auto above = splitAt(folder, '/');
                        parts.insert(parts.begin(), above.begin(), above.end());
                    }
                    find("", parts,
                         [&](const std::string& relative) { take(relative, *family, place); });
                }
            }
        }
        report_.findings = judgeFiles(game_, files_);
        for (std::string_view edition : kEditionFolders)
            addProtection(edition);
        for (ScannedFile& file : files_)
            report_.contents.emplace(file.relative, std::move(file.content));
        return std::move(report_);
    }

  private:
    std::string pathOf(std::string_view relative) const {
        return below(game_, relative, reader_.separator());
    }

    // The entries of the folder at `relative` ("" for the game folder), read once, sorted by name;
    // no value when it cannot be listed (a folder there that cannot be is unread).
    const std::optional<std::vector<FolderEntry>>& entriesOf(const std::string& relative) {
        const auto known = listings_.find(relative);
        if (known != listings_.end())
            return known->second;
        auto entries = reader_.listFolder(relative.empty() ? game_ : pathOf(relative));
        if (entries)
            sortByName(*entries);
        else if (!relative.empty() && reader_.kindOf(pathOf(relative)) == EntryKind::Folder)
            report_.unread.push_back({relative, Done::Unread, Cause::FolderNotRead, {}});
        return listings_.emplace(relative, std::move(entries)).first->second;
    }

    // Calls `found` for every path below `at` that `parts` stand for (as Place tells), as the
    // names on disk spell it: a part without '*' picks the entry spelled as written, or else the
    // first that differs in letter case only ("valve.RC"), as the game finds them.
    void find(const std::string& at, std::span<const std::string_view> parts, const Found& found) {
        if (parts.empty()) {
            found(at);
            return;
        }
        const std::string_view part = parts.front();
        const auto rest = parts.subspan(1);
        if (part == "**") {
            walkTree(at, rest.empty() ? "*" : rest.front(), found);
            return;
        }
        const auto& listed = entriesOf(at);
        const bool pattern = part.find('*') != std::string_view::npos;
        if (!listed) {
            // A folder that can be searched but not listed still gives up what it holds, under
            // the names as written.
            if (!pattern && reader_.kindOf(pathOf(inside(at, part))) != EntryKind::Missing)
                find(inside(at, part), rest, found);
            return;
        }
        if (!pattern) {
            auto entry = std::find_if(listed->begin(), listed->end(),
                                      [&](const FolderEntry& e) { return e.name == part; });
            if (entry == listed->end()) {
                entry = std::find_if(listed->begin(), listed->end(), [&](const FolderEntry& e) {
                    return equalsIgnoringCase(e.name, part);
                });
            }
            if (entry != listed->end())
                find(inside(at, entry->name), rest, found);
            return;
        }
        for (const FolderEntry& entry : *listed) {
            if (!fitsPattern(part, entry.name))
                continue;
            const std::string inner = inside(at, entry.name);
            const bool folder = entry.kind == EntryKind::Folder ||
                                (entry.kind == EntryKind::Link &&
                                 reader_.kindOf(pathOf(inner)) == EntryKind::Folder);
            if (folder != rest.empty())
                find(inner, rest, found);
        }
    }

    // Calls `found` for every entry but folders, named as `name` says, in the folder at `root` and
    // every folder below it, as deep as they go; links are not followed, so there is no loop. A
    // folder that cannot be listed is unread.
    void walkTree(const std::string& root, std::string_view name, const Found& found) {
        if (reader_.kindOf(pathOf(root)) != EntryKind::Folder)
            return;
        std::vector<std::string> pending{root};
        while (!pending.empty()) {
            const std::string folder = std::move(pending.back());
            pending.pop_back();
            auto entries = reader_.listFolder(pathOf(folder));
            if (!entries) {
                report_.unread.push_back({folder, Done::Unread, Cause::FolderNotRead, {}});
                continue;
            }
            sortByName(*entries);
            const std::size_t first = pending.size();
            for (const FolderEntry& entry : *entries) {
                if (entry.kind == EntryKind::Folder)
                    pending.push_back(folder + "/" + entry.name);
                else if (fitsPattern(name, entry.name))
                    found(folder + "/" + entry.name);
            }
            std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(first), pending.end());
        }
    }

    // The file at `relative`, for the first place that holds it: read when its family reads its
    // files (a file that cannot be read is unread).
    void take(const std::string& relative, const Family& family, const Place& place) {
        if (!taken_.insert(relative).second)
            return;
        if (!family.readsContent) {
            files_.push_back({relative, &family, &place, {}});
            return;
        }
        const std::string path = pathOf(relative);
        const EntryKind entry = reader_.kindOf(path);
        if (entry == EntryKind::Missing || entry == EntryKind::Folder)
            return;
        FileRead got = reader_.readFile(path, kMaxScannedFileSize);
        if (!got.bytes) {
            report_.unread.push_back({relative, Done::Unread, Cause::None, std::move(got.error)});
            return;
        }
        files_.push_back({relative, &family, &place, std::move(*got.bytes)});
    }

    const std::string* contentOf(std::string_view relative) const {
        for (const ScannedFile& file : files_) {
            if (equalsIgnoringCase(file.relative, relative))
                return &file.content;
        }
        return nullptr;
    }

    void addProtection(std::string_view edition) {
        if (reader_.kindOf(pathOf(edition)) != EntryKind::Folder)
            return;
        std::optional<bool> value;
        for (std::string_view name : {"config.cfg", "userconfig.cfg", "autoexec.cfg"}) {
            const std::string relative = std::string(edition) + "/" + std::string(name);
            if (const std::string* content = contentOf(relative)) {
                if (const auto set = filterSettingIn(*content))
                    value = set;
            }
        }
        const Protection state = !value   ? Protection::Missing
                                 : *value ? Protection::On
                                          : Protection::Off;
        report_.protection.push_back({std::string(edition), state});
    }

    TreeReader& reader_;
    const std::string& game_;
    std::map<std::string, std::optional<std::vector<FolderEntry>>> listings_;
    std::set<std::string> taken_;
    std::vector<ScannedFile> files_;
    ScanReport report_;
};

}  // namespace

ScanReport scanGame(TreeReader& reader, const std::string& game) {
    return Scan(reader, game).run();
}

}  // namespace morvane::scan
