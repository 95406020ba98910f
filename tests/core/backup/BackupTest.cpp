// What backups and the driver's own edits rest on: hashes, the manifest's text, and edits that keep
// every byte they are not about.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "core/backup/Manifest.h"
#include "core/backup/Sha256.h"
#include "core/clean/KeptLines.h"
#include "core/protect/Protect.h"

namespace morvane {
namespace {

using backup::FileState;
using backup::Manifest;

TEST(Backup, Sha256OfKnownTexts) {
    // Lengths around the padding's block boundary (55, 56, 64 bytes) and several blocks.
    const std::pair<std::string, std::string> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(backup::sha256Hex(text), digest) << text.size() << " bytes";
}

TEST(Backup, ManifestKeepsAnyNameAndEveryStateAndRefusesWhatItDidNotWrite) {
    const std::string bytes = "bind \"z\" \"say hi\"\n";
    const FileState file{true, false, bytes.size(), backup::sha256Hex(bytes), {0640, 1000, 100, {}},
                         {}};
    FileState hidden = file;
    hidden.permissions.attributes = 0x27;  // read-only, hidden, system, archive
    const Manifest manifest{
        "/home/pla yer/Half-Life 100%\n",
        "2024-05-01T10:00:00Z",
        "undo 20240501T100000Z",
        7,
        {{"cstrike/config.cfg", backup::Action::Rewritten, file, FileState{}},
         {"cstrike_downloads/a b\t\xff:%.cfg", backup::Action::Deleted, hidden, std::nullopt},
         {"cstrike/motd.txt", backup::Action::Created, FileState{}, file},
         {"cstrike/link.res", backup::Action::Replaced,
          FileState{true, true, 0, {}, {}, "../a b/100%:\n.res"}, file}}};
    const std::string stored = backup::formatBackup(manifest, bytes + bytes);
    const auto read = backup::parseBackup(stored);
    ASSERT_TRUE(std::holds_alternative<backup::Backup>(read)) << std::get<Reason>(read).english();
    const backup::Backup& back = std::get<backup::Backup>(read);
    EXPECT_EQ(back.manifest.game, manifest.game);
    EXPECT_EQ(back.manifest.time, manifest.time);
    EXPECT_EQ(back.manifest.by, manifest.by);
    EXPECT_EQ(back.manifest.number, manifest.number);
    ASSERT_EQ(back.manifest.entries.size(), manifest.entries.size());
    for (std::size_t i = 0; i < back.manifest.entries.size(); ++i) {
        EXPECT_EQ(back.manifest.entries[i].file, manifest.entries[i].file);
        EXPECT_EQ(back.manifest.entries[i].action, manifest.entries[i].action);
        EXPECT_EQ(back.manifest.entries[i].before, manifest.entries[i].before);
        EXPECT_EQ(back.manifest.entries[i].after, manifest.entries[i].after);
    }
    EXPECT_EQ(back.copies, (std::vector<std::string>{bytes, bytes, "", ""}));

    // A backup cut short, or changed, in its manifest or its copies, is refused by name.
    const std::size_t manifestEnd = stored.size() - 2 * bytes.size();
    const auto without = [&](const std::string& line) {
        std::string text = stored;
        return text.erase(text.find(line), line.size());
    };
    std::string edited = stored;
    edited[edited.find("replaced")] = 'R';
    std::string otherCopy = stored;
    otherCopy[manifestEnd] = 'B';
    const std::pair<std::string, std::string> damaged[] = {
        {stored.substr(0, stored.find("file cstrike/motd.txt")), "it is cut short"},
        {without(stored.substr(
             stored.find("file cstrike/motd.txt"),
             stored.find("file cstrike/link.res") - stored.find("file cstrike/motd.txt"))),
         "it holds 3 of its 4 entries"},
        {edited, "line 10 does not fit"},
        {without("created"), "line 9 does not fit"},
        {std::string(stored).replace(stored.find("number 7"), 8, "number 8"),
         "its hash does not match: it was changed"},
        {stored.substr(0, manifestEnd + 3), "its copies are cut short"},
        {otherCopy, "its copy of cstrike/config.cfg is not the file it recorded"},
        {stored + "x", "it holds more than its copies"},
        {"morvane-backup 1\ngame /g\ntime t\n", "line 1 does not fit"},
    };
    for (const auto& [bad, why] : damaged) {
        const auto refused = backup::parseBackup(bad);
        ASSERT_TRUE(std::holds_alternative<Reason>(refused)) << bad;
        EXPECT_EQ(std::get<Reason>(refused).english(), why) << bad;
    }
}

TEST(Backup, ManifestsOfTheFirstFormatAreStillRead) {
    const std::string head = "morvane-backup 1\ngame /g\ntime t\n";
    const std::string state = "1:" + std::string(64, 'a') + ":644:0:-";
    const auto read = backup::parseFirstManifest(head + "file cstrike/config.cfg replaced " +
                                                 state + " ?\nfile cstrike/a.res deleted link -\n");
    ASSERT_TRUE(std::holds_alternative<Manifest>(read)) << std::get<Reason>(read).english();
    const FileState before = std::get<Manifest>(read).entries.at(0).before;
    EXPECT_EQ(before.permissions, (Permissions{0644, 0, std::nullopt, std::nullopt}));
    // A link kept without its target, as backups did before they kept targets: one there now is
    // as it was, whatever its target.
    const FileState link = std::get<Manifest>(read).entries.at(1).before;
    EXPECT_TRUE(link.link && link.linkTarget.empty());
    EXPECT_TRUE(backup::isAsRecorded({true, true, 0, {}, {}, "../x"}, link));
    for (const std::string& bad : std::vector<std::string>{
             "",
             "morvane-backup 2\ngame /g\ntime t\n",
             head + "file cstrike/config.cfg replaced " + state + "\n",
             head + "file cstrike/config.cfg vanished " + state + " -\n",
             head + "file cstrike/config.cfg replaced 1:abc:644:0:0 -\n",
             head + "file cstrike/config.cfg replaced " + state + ":27 -\n",
             head + "file %zz replaced - -\n",
             head + "file cstrike/a.res deleted link: -\n",
         }) {
        EXPECT_TRUE(std::holds_alternative<Reason>(backup::parseFirstManifest(bad))) << bad;
    }
}

TEST(Backup, EditsKeepEveryOtherByte) {
    const std::string config = "// head\r\nbind \"z\" \"say hi\"\r\ncl_timeout \"60\"\r\nconnect x";
    EXPECT_EQ(clean::withoutLines(config, {2, 4}), "// head\r\ncl_timeout \"60\"\r\n");
    EXPECT_EQ(clean::withoutLines(config, {}), config);
    EXPECT_EQ(clean::withoutLines("a\n\nb\n", {2}), "a\nb\n");
    // Lines ending with a lone CR, as the scan numbers them; mixed ends, any encoding, a last line
    // without an end: every byte of every line kept.
    EXPECT_EQ(clean::withoutLines("a\rconnect x\rb", {2}), "a\rb");
    EXPECT_EQ(
        clean::withoutLines("\xEF\xBB\xBF// \xd0\xbc\xd0\xbe\xd0\xb9\r\nx\n\xe9t\xe9\r\nlast", {2}),
        "\xEF\xBB\xBF// \xd0\xbc\xd0\xbe\xd0\xb9\r\n\xe9t\xe9\r\nlast");
    EXPECT_EQ(clean::withoutLines("a\nb", {2}), "a\n");
    EXPECT_EQ(clean::withoutLines("a\r\nb\r", {1}), "b\r");
    // A file of lone CRs that protect added a line to with another end.
    EXPECT_EQ(clean::withoutLines("name \"a\"\rconnect x\rvolume 1\rcl_filterstuffcmd 1\n", {2}),
              "name \"a\"\rvolume 1\rcl_filterstuffcmd 1\n");

    const std::pair<std::optional<std::string>, std::optional<std::string>> guard[] = {
        {std::nullopt, "cl_filterstuffcmd \"1\"\n"},
        {"", "cl_filterstuffcmd \"1\"\n"},
        {"bind \"v\" \"dropbomb\"", "bind \"v\" \"dropbomb\"\ncl_filterstuffcmd \"1\"\n"},
        {"a\r\ncl_filterstuffcmd \"0\"\r\n",
         "a\r\ncl_filterstuffcmd \"0\"\r\ncl_filterstuffcmd \"1\"\r\n"},
        {"cl_filterstuffcmd 1\n", std::nullopt},
        {"name \"a\"\rvolume 1\r", "name \"a\"\rvolume 1\rcl_filterstuffcmd \"1\"\r"},
        {"name \"a\"\rvolume 1", "name \"a\"\rvolume 1\rcl_filterstuffcmd \"1\"\r"},
    };
    for (const auto& [before, after] : guard)
        EXPECT_EQ(protect::withFilterOn(before), after) << before.value_or("(none)");
}

}  // namespace
}  // namespace morvane
