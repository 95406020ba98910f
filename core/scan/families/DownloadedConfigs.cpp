// What servers leave below cstrike_downloads: every .cfg there is a server's file as a whole, which
// the game may run. It is not read; the clean deletes it.
#include <array>

#include "core/game/GameLayout.h"
#include "core/scan/families/Families.h"
#include "platform/Translate.h"

namespace morvane::scan {
namespace {

constexpr Rule kDownloadedCfg{
    "downloaded-cfg", Level::Planted,
    i18n::trMark("a config file downloaded from a server, which the game may run")};
constexpr std::array<const Rule*, 1> kRules{&kDownloadedCfg};

std::vector<Finding> judge(const ScannedFile& file, const Installation&) {
    return {Finding{file.relative, 0, {}, &kDownloadedCfg, {}, file.place}};
}

constexpr std::string_view kTree = "cstrike_downloads/**";
static_assert(kTree.starts_with(kDownloadsFolder));
constexpr std::string_view kFolders[] = {kTree};

constexpr Place kPlaces[] = {
    {kFolders, "*.cfg", Group::Config, Keep::Delete},
};

}  // namespace

const Family kDownloadedConfigs{kPlaces, false, kRules, nullptr, judge};

}  // namespace morvane::scan
