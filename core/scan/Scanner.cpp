#include "core/scan/Scanner.h"

#include <algorithm>
#include <array>
#include <map>

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
        AliasDefinitions definitions;
        for (const ReadFile& file : files_) {
            if (isConfig(file.kind))
                collectAliases(file.content, definitions);
        }
        const AliasReach aliases = resolveAliases(definitions);
        for (const ReadFile& file : files_) {
            auto found = findingsIn(file.relative, file.kind, file.content, aliases);
            report_.findings.insert(report_.findings.end(), found.begin(), found.end());
        }
        walkDownloads(std::string(kDownloadsFolder), 0);
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
                if (kind && *kind != FileKind::Download)
                    read(relative, *kind);
            }
        }
    }

    void read(const std::string& relative, FileKind kind) {
        const std::string path = pathOf(relative);
        const EntryKind entry = reader_.kindOf(path);
        if (entry == EntryKind::Missing)
            noteUnreadFolder(relative);
        if (entry == EntryKind::Missing || entry == EntryKind::Folder)
            return;
        FileRead got = reader_.readFile(path, kMaxScannedFileSize);
        if (!got.bytes) {
            report_.unread.push_back({relative, got.error});
            return;
        }
        files_.push_back({relative, kind, std::move(*got.bytes)});
    }

    // A file that seems missing may sit in a folder that cannot be searched: the first folder on
    // its way that is there but cannot be listed is unread, once.
    void noteUnreadFolder(const std::string& relative) {
        for (std::size_t slash = relative.find('/'); slash != std::string::npos;
             slash = relative.find('/', slash + 1)) {
            const std::string folder = relative.substr(0, slash);
            if (reader_.kindOf(pathOf(folder)) != EntryKind::Folder)
                return;
            if (!listable_.contains(folder))
                listable_[folder] = reader_.listFolder(pathOf(folder)).has_value();
            if (!listable_[folder]) {
                if (std::none_of(report_.unread.begin(), report_.unread.end(),
                                 [&](const UnreadFile& file) { return file.file == folder; }))
                    report_.unread.push_back({folder, "the folder cannot be read"});
                return;
            }
        }
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
    std::vector<ReadFile> files_;
    std::map<std::string, bool> listable_;  // folders, by whether they can be listed
    ScanReport report_;
};

}  // namespace

ScanReport scanGame(TreeReader& reader, const std::string& game) {
    return Scan(reader, game).run();
}

}  // namespace morvane::scan
