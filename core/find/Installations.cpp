#include "core/find/Installations.h"

#include <algorithm>
#include <variant>

#include "core/find/SteamLibraries.h"
#include "core/game/GameLayout.h"

namespace morvane::find {
namespace {

// A Steam library list is a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxLibraryList = 1u << 20;

class Finder {
  public:
    explicit Finder(TreeReader& reader) : reader_(reader) {}

    void searchRoot(const std::string& root) {
        if (reader_.kindOf(root) != EntryKind::Folder)
            return;
        // ~/.steam/steam and ~/.steam/root are usually links to one of the other roots.
        const std::string resolved = reader_.canonicalPath(root).value_or(root);
        if (std::find(roots_.begin(), roots_.end(), resolved) != roots_.end())
            return;
        roots_.push_back(resolved);
        std::vector<std::string> libraries{root};
        const std::string list = below(root, "steamapps/libraryfolders.vdf", sep());
        if (reader_.kindOf(list) != EntryKind::Missing) {
            const FileRead text = reader_.readFile(list, kMaxLibraryList);
            if (!text.bytes) {
                found_.problems.push_back(Reason::on(list, text.error));
            } else if (auto named = libraryFolders(*text.bytes);
                       auto* error = std::get_if<Reason>(&named)) {
                found_.problems.push_back(Reason::on(list, *error));
            } else {
                for (const std::string& folder : std::get<std::vector<std::string>>(named)) {
                    if (reader_.isAbsolute(folder))
                        libraries.push_back(folder);
                    else
                        found_.skipped.push_back(list + ": " + folder);
                }
            }
        }
        for (const std::string& library : libraries) {
            if (!library.empty())
                searchLibrary(library);
        }
    }

    FoundInstallations take() { return std::move(found_); }

  private:
    char sep() const { return reader_.separator(); }

    void searchLibrary(const std::string& library) {
        const std::string game = below(library, kSteamGameFolder, sep());
        if (reader_.kindOf(game) != EntryKind::Folder)
            return;
        const std::string folder = reader_.canonicalPath(game).value_or(game);
        auto& all = found_.installations;
        if (std::any_of(all.begin(), all.end(),
                        [&](const Installation& known) { return known.folder == folder; })) {
            return;
        }
        FolderLook look = lookAt(reader_, folder);
        all.push_back({folder, std::move(look.launchers), std::move(look.editions)});
    }

    TreeReader& reader_;
    std::vector<std::string> roots_;  // searched already, links resolved
    FoundInstallations found_;
};

}  // namespace

FoundInstallations findInstallations(TreeReader& reader, const std::vector<std::string>& roots) {
    Finder finder(reader);
    for (const std::string& root : roots)
        finder.searchRoot(root);
    return finder.take();
}

}  // namespace morvane::find
