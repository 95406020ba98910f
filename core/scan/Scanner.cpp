#include "core/scan/Scanner.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>

#include "core/game/GameLayout.h"
#include "core/text/AsciiText.h"

namespace morvane::scan {
namespace {

// Downloads are a server's tree; deeper than this is not walked.
constexpr int kMaxDownloadDepth = 32;

struct ReadFile {
    std::string relative;
    FileKind kind;
    std::string content;
};

bool isConfig(FileKind kind) {
    return kind == FileKind::GameConfig || kind == FileKind::OwnConfig;
}

class Scan {
  public:
    Scan(TreeReader& reader, const std::string& game) : reader_(reader), game_(game) {}

    ScanReport run() {
        readNamedFiles();
        ConsoleDefinitions definitions;
        for (const ReadFile& file : files_) {
            if (isConfig(file.kind))
                collectConsole(file.content, definitions);
        }
        const Console console = resolveConsole(definitions);
        for (const ReadFile& file : files_) {
            auto found = findingsIn(file.relative, file.kind, file.content, console);
            report_.findings.insert(report_.findings.end(), found.begin(), found.end());
        }
        if (const auto downloads = onDisk(kDownloadsFolder))
            walkDownloads(*downloads, 0);
        for (std::string_view edition : kEditionFolders)
            addProtection(edition);
        for (ReadFile& file : files_)
            report_.contents.emplace(file.relative, std::move(file.content));
        return std::move(report_);
    }

  private:
    std::string pathOf(std::string_view relative) const {
        return below(game_, relative, reader_.separator());
    }

    void readNamedFiles() {
        for (std::string_view folder : kScannedFolders) {
            for (const ScannedName& name : kScannedNames) {
                const std::string relative = std::string(folder) + "/" + std::string(name.relative);
                const auto kind = fileKindOf(relative);
                if (!kind || *kind == FileKind::Download)
                    continue;
                if (const auto found = onDisk(relative))
                    read(*found, *kind);
            }
        }
    }

    // The entries of the folder at `relative` ("" for the game folder), read once; no value when
    // it cannot be listed (a folder there that cannot be is unread).
    const std::optional<std::vector<FolderEntry>>& entriesOf(const std::string& relative) {
        const auto known = listings_.find(relative);
        if (known != listings_.end())
            return known->second;
        auto entries = reader_.listFolder(relative.empty() ? game_ : pathOf(relative));
        if (entries) {
            std::sort(entries->begin(), entries->end(),
                      [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        } else if (!relative.empty() && reader_.kindOf(pathOf(relative)) == EntryKind::Folder) {
            report_.unread.push_back({relative, "the folder cannot be read"});
        }
        return listings_.emplace(relative, std::move(entries)).first->second;
    }

    // `relative` ('/' separated) as the names on disk spell it: each name as written, or else one
    // that differs in letter case only ("valve.RC"), as the game finds them; no value when a
    // name is not there.
    std::optional<std::string> onDisk(std::string_view relative) {
        std::string found;
        for (std::size_t start = 0; start <= relative.size();) {
            const std::size_t slash = std::min(relative.find('/', start), relative.size());
            const std::string_view name = relative.substr(start, slash - start);
            const auto& listed = entriesOf(found);
            if (!listed) {
                // A folder that can be searched but not listed still gives up what it holds,
                // under the names as written.
                const std::string rest =
                    found + (found.empty() ? "" : "/") + std::string(relative.substr(start));
                if (reader_.kindOf(pathOf(rest)) == EntryKind::Missing)
                    return std::nullopt;
                return rest;
            }
            const std::vector<FolderEntry>& entries = *listed;
            auto entry = std::find_if(entries.begin(), entries.end(),
                                      [&](const FolderEntry& e) { return e.name == name; });
            if (entry == entries.end()) {
                entry = std::find_if(entries.begin(), entries.end(), [&](const FolderEntry& e) {
                    return equalsIgnoringCase(e.name, name);
                });
            }
            if (entry == entries.end())
                return std::nullopt;
            found += (found.empty() ? "" : "/") + entry->name;
            start = slash + 1;
        }
        return found;
    }

    void read(const std::string& relative, FileKind kind) {
        const std::string path = pathOf(relative);
        const EntryKind entry = reader_.kindOf(path);
        if (entry == EntryKind::Missing || entry == EntryKind::Folder)
            return;
        FileRead got = reader_.readFile(path, kMaxScannedFileSize);
        if (!got.bytes) {
            report_.unread.push_back({relative, got.error});
            return;
        }
        files_.push_back({relative, kind, std::move(*got.bytes)});
    }

    // Every .cfg below the downloads folder is a finding of its own; links are not followed.
    void walkDownloads(const std::string& relative, int depth) {
        if (depth == 0 && reader_.kindOf(pathOf(relative)) != EntryKind::Folder)
            return;
        auto entries = reader_.listFolder(pathOf(relative));
        if (!entries) {
            report_.unread.push_back({relative, "the folder cannot be read"});
            return;
        }
        std::sort(entries->begin(), entries->end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        for (const FolderEntry& entry : *entries) {
            const std::string inner = relative + "/" + entry.name;
            if (entry.kind == EntryKind::Folder && depth + 1 < kMaxDownloadDepth) {
                walkDownloads(inner, depth + 1);
            } else if (entry.kind != EntryKind::Folder && fileKindOf(inner) == FileKind::Download) {
                auto found = findingsIn(inner, FileKind::Download, {}, {});
                report_.findings.insert(report_.findings.end(), found.begin(), found.end());
            }
        }
    }

    const std::string* contentOf(std::string_view relative) const {
        for (const ReadFile& file : files_) {
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
    std::vector<ReadFile> files_;
    ScanReport report_;
};

}  // namespace

ScanReport scanGame(TreeReader& reader, const std::string& game) {
    return Scan(reader, game).run();
}

}  // namespace morvane::scan
