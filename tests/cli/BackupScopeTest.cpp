// What the backups of clean, protect and undo hold, which are kept, and what undo makes of a
// damaged one, as the built program runs them on demo folders.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/cli/CliRun.h"
#include "tests/support/GameFolder.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using test::contentOf;
using test::count;
using test::Outcome;
using test::snapshot;
using test::TempTree;

// A demo game folder, and the driver run on it with backups in a state folder of its own.
struct Scene {
    TempTree tree;
    std::string game = tree.path("game");

    Outcome run(std::vector<std::string> args) const {
        for (std::string& arg : args)
            arg = arg == "GAME" ? game : arg;
        return test::runCli(args, {{"XDG_STATE_HOME", tree.path("state")}});
    }
    fs::path backups() const { return tree.path("state/morvane/backups"); }
    // The folder of the game folder's backups.
    fs::path gameBackups() const {
        for (const auto& entry : fs::directory_iterator(backups()))
            return entry.path();
        return {};
    }
    static std::string idIn(const std::string& json) {
        const auto at = json.find("\"backup\":\"");
        return at == std::string::npos ? ""
                                       : json.substr(at + 10, json.find('"', at + 10) - at - 10);
    }
};

// A file of `size` bytes that takes no room on disk.
void sparse(const std::string& path, std::uintmax_t size) {
    std::ofstream{path};
    fs::resize_file(path, size);
}

TEST(BackupScopeAndPruning, WhatIsBackedUpKeptAndPutBack) {
    const std::pair<const char*, std::function<void(Scene&)>> cases[] = {
        {"a clean backs up only what it may change",
         [](Scene& s) {
             const std::string config = s.game + "/cstrike/config.cfg";
             sparse(config, 100u << 20);
             const Outcome clean = s.run({"clean", "GAME", "menu", "--json"});
             EXPECT_EQ(clean.exit, 0) << clean.err;
             EXPECT_NE(Scene::idIn(clean.out), "") << clean.out;
             EXPECT_EQ(fs::file_size(config), 100u << 20);
         }},
        {"a file it cannot back up is left as it is, and the rest goes on",
         [](Scene& s) {
             const std::string fifo = s.game + "/cstrike_downloads/fifo.cfg";
             const std::string big = s.game + "/cstrike_downloads/big.cfg";
             ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
             sparse(big, 65u << 20);
             const Outcome clean = s.run({"clean", "GAME", "config", "--keep-settings", "--json"});
             EXPECT_EQ(clean.exit, 1);
             for (const std::string& left : {fifo, big}) {
                 EXPECT_EQ(count(clean.out, left + R"(","action":"failed","reason":"delete: not )"
                                                   R"(backed up ()"),
                           1u)
                     << clean.out;
             }
             EXPECT_TRUE(fs::is_fifo(fifo));
             EXPECT_EQ(fs::file_size(big), 65u << 20);
             // The demo's config files, master lists, favourites and emulator settings.
             EXPECT_EQ(count(clean.out, R"("action":"rewritten")"), 13u) << clean.out;
             EXPECT_NE(Scene::idIn(clean.out), "");
         }},
        {"the backup just made is kept and put back first, whatever its name",
         [](Scene& s) {
             const std::string menu = s.game + "/cstrike/resource/GameMenu.res";
             const std::string advert = contentOf(menu);
             const std::string first = Scene::idIn(s.run({"clean", "GAME", "menu", "--json"}).out);
             ASSERT_NE(first, "");
             // Ten backups named after a later time, as when the clock was set back since.
             for (int i = 10; i < 20; ++i) {
                 fs::copy(s.gameBackups() / first,
                          s.gameBackups() / ("20991231T2359" + std::to_string(i) + "Z"),
                          fs::copy_options::recursive);
             }
             std::ofstream(menu, std::ios::binary) << advert;
             const Outcome clean = s.run({"clean", "GAME", "menu", "--json"});
             const std::string made = Scene::idIn(clean.out);
             EXPECT_TRUE(fs::is_directory(s.gameBackups() / made)) << clean.out;
             EXPECT_EQ(s.run({"undo", "GAME", "--list"}).out.rfind(made + "  ", 0), 0u);
         }},
        {"a manifest cut short is refused and nothing is put back",
         [](Scene& s) {
             const std::string id = Scene::idIn(s.run({"clean", "GAME", "all", "--json"}).out);
             const auto cleaned = snapshot(s.game);
             fs::path file = s.gameBackups() / id / "backup";
             file = fs::exists(file) ? file : s.gameBackups() / id / "manifest";
             std::string text = contentOf(file);
             for (std::size_t at = 0, line = 0; at < text.size(); ++at) {
                 if (text[at] == '\n' && ++line == 8)
                     text.resize(at + 1);
             }
             std::ofstream(file, std::ios::binary | std::ios::trunc) << text;
             const Outcome undo = s.run({"undo", "GAME"});
             EXPECT_EQ(undo.exit, 1);
             EXPECT_EQ(count(undo.err, "the backup " + id + " cannot be used: "), 1u) << undo.err;
             EXPECT_EQ(snapshot(s.game), cleaned);
         }},
        {"a damaged newest backup keeps its place: undo refuses it, and pruning keeps it",
         [](Scene& s) {
             const std::string menu = s.game + "/cstrike/resource/GameMenu.res";
             const std::string advert = contentOf(menu);
             const auto clean = [&] {
                 std::ofstream(menu, std::ios::binary | std::ios::trunc) << advert;
                 return Scene::idIn(s.run({"clean", "GAME", "menu", "--json"}).out);
             };
             const std::string older = clean();
             const std::string newest = clean();
             // Not even its number can be read: its folder's name places it.
             std::ofstream(s.gameBackups() / newest / "backup", std::ios::trunc) << "damaged\n";
             // A run killed before it wrote its backup left its folder: no backup, and it goes.
             const fs::path killed = s.gameBackups() / "20991231T235959Z";
             fs::create_directory(killed);
             const auto cleaned = snapshot(s.game);
             EXPECT_EQ(
                 s.run({"undo", "GAME", "--list"}).out.rfind(newest + "  cannot be used: ", 0), 0u);
             const Outcome refused = s.run({"undo", "GAME"});
             EXPECT_EQ(refused.exit, 1);
             EXPECT_EQ(count(refused.err, "the backup " + newest + " cannot be used: "), 1u)
                 << refused.err;
             EXPECT_TRUE(snapshot(s.game) == cleaned) << "undo changed the game folder";
             EXPECT_EQ(s.run({"undo", "GAME", "--run", older}).exit, 0);
             EXPECT_EQ(contentOf(menu), advert);
             for (int i = 0; i < 10; ++i)
                 clean();
             EXPECT_TRUE(fs::exists(s.gameBackups() / newest / "backup"));
             EXPECT_FALSE(fs::exists(killed));
             EXPECT_EQ(count(s.run({"undo", "GAME", "--list"}).out, "\n"), 11u);
         }},
        {"a temporary file a killed run left is removed by the next clean, undo or protect",
         [](Scene& s) {
             const std::string name = "cstrike/.config.cfg.k7q2x9m4.morvane-partial";
             const std::string leftover = s.game + "/" + name;
             const auto removedBy = [&](std::vector<std::string> command) {
                 s.tree.write("game/" + name, "the start of a copy");
                 const Outcome run = s.run(std::move(command));
                 EXPECT_EQ(run.exit, 0) << run.err;
                 EXPECT_EQ(count(run.out, leftover + ": deleted\n"), 1u) << run.out;
                 EXPECT_FALSE(fs::exists(leftover));
                 return run;
             };
             const std::string cleaned = removedBy({"clean", "GAME", "menu"}).out;
             const auto at = cleaned.find("backup: ") + 8;
             const std::string id = cleaned.substr(at, cleaned.find('\n', at) - at);
             removedBy({"undo", "GAME"});
             EXPECT_EQ(
                 count(removedBy({"undo", "GAME", "--run", id}).out, " is as before the clean "),
                 1u);
             removedBy({"protect", "GAME"});
         }},
        {"a file is told of and put back under its name as it was on disk",
         [](Scene& s) {
             const std::string config = s.game + "/cstrike/Config.CFG";
             fs::rename(s.game + "/cstrike/config.cfg", config);
             const std::string before = contentOf(config);
             const Outcome clean = s.run({"clean", "GAME", "config"});
             EXPECT_EQ(clean.exit, 0);
             EXPECT_EQ(count(clean.out, config + ": deleted\n"), 1u) << clean.out;
             EXPECT_EQ(count(clean.out, "/cstrike/config.cfg"), 0u) << clean.out;
             ASSERT_FALSE(fs::exists(config));
             const Outcome undo = s.run({"undo", "GAME"});
             EXPECT_EQ(undo.exit, 0) << undo.err;
             EXPECT_EQ(count(undo.out, config + ": put back\n"), 1u) << undo.out;
             EXPECT_EQ(contentOf(config), before);
             EXPECT_FALSE(fs::exists(s.game + "/cstrike/config.cfg"));
             const std::string user = s.game + "/cstrike/UserConfig.CFG";
             fs::rename(s.game + "/cstrike/userconfig.cfg", user);
             const Outcome guarded = s.run({"protect", "GAME"});
             EXPECT_EQ(count(guarded.out, user + ": "), 1u) << guarded.out;
             EXPECT_EQ(count(guarded.out, "/cstrike/userconfig.cfg"), 0u) << guarded.out;
         }},
        {"undo --force keeps what it overwrites, so that the undo can be undone",
         [](Scene& s) {
             const std::string menu = s.game + "/cstrike/resource/GameMenu.res";
             const std::string first = Scene::idIn(s.run({"clean", "GAME", "menu", "--json"}).out);
             std::ofstream(menu, std::ios::binary | std::ios::trunc) << "the player's own menu";
             const Outcome forced = s.run({"undo", "GAME", "--force"});
             EXPECT_EQ(forced.exit, 0) << forced.err;
             EXPECT_EQ(count(forced.out, "backup: 20"), 1u) << forced.out;
             const Outcome list = s.run({"undo", "GAME", "--list"});
             EXPECT_EQ(count(list.out, "\n"), 2u) << list.out;
             EXPECT_EQ(count(list.out.substr(0, list.out.find('\n')), "undo " + first + ": "), 1u)
                 << list.out;
             EXPECT_EQ(s.run({"undo", "GAME"}).exit, 0);
             EXPECT_EQ(contentOf(menu), "the player's own menu");
         }},
        {"no folder of a game's backups is left empty",
         [](Scene& s) {
             fs::remove(s.game + "/cstrike/autobuy.txt");
             fs::remove(s.game + "/cstrike_russian/autobuy.txt");
             EXPECT_EQ(s.run({"clean", "GAME", "autobuy"}).exit, 0);
             for (const char* edition : {"cstrike", "cstrike_russian"})
                 s.tree.write(std::string("game/") + edition + "/userconfig.cfg",
                              "cl_filterstuffcmd 1\n");
             EXPECT_EQ(s.run({"protect", "GAME"}).exit, 0);
             EXPECT_TRUE(fs::is_empty(s.backups()));
         }},
    };
    for (const auto& [what, test] : cases) {
        SCOPED_TRACE(what);
        Scene scene;
        test::makeDemo(scene.game);
        test(scene);
    }
}

}  // namespace
}  // namespace morvane
