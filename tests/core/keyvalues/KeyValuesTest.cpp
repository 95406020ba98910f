// The KeyValues reader, through the Steam library list it is used for.
#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "core/find/SteamLibraries.h"
#include "core/keyvalues/KeyValues.h"

namespace morvane {
namespace {

using Folders = std::vector<std::string>;

TEST(SteamLibraryList, ReadsBothFormsOfLibraryfoldersVdf) {
    // Before 2021: numbered keys with the path as value, among Steam's statistics; backslashes
    // escaped.
    const char* old = R"("LibraryFolders"
{
	"TimeNextStatsReport"		"1569141453"
	"ContentStatsID"		"-1508064094913393443"
	"1"		"D:\\Steam Library"
	"2"		"/mnt/games/steam"
}
)";
    // Since 2021: a block per library with its path and apps; a condition and comments about.
    const char* current =
        "\xEF\xBB\xBF"
        R"("libraryfolders"
{
	"0"	// the Steam folder itself
	{
		"path"		"/home/player/.local/share/Steam"
		"label"		""
		"contentid"		"7004542286520123456"
		"apps"
		{
			"10"		"735846400"
			"70"		"409612400"
		}
	}
	"1" [$LINUX]
	{
		"PATH"		"/mnt/big \"games\""
	}
}
)";
    EXPECT_EQ(std::get<Folders>(find::libraryFolders(old)),
              (Folders{"D:\\Steam Library", "/mnt/games/steam"}));
    EXPECT_EQ(std::get<Folders>(find::libraryFolders(current)),
              (Folders{"/home/player/.local/share/Steam", "/mnt/big \"games\""}));
}

TEST(SteamLibraryList, MalformedTextIsAClearErrorNeverACrash) {
    const std::string deep = [] {
        std::string text;
        for (int i = 0; i < 200; ++i)
            text += "\"k\" {\n";
        return text;
    }();
    const struct {
        std::string text;
        std::string error;
    } cases[] = {
        {"\"libraryfolders\"\n{\n\t\"0\"\n\t{\n\t\t\"path\" \"/x\n",
         "line 5: quoted text is not closed"},
        {"\"libraryfolders\"\n{\n\t\"0\" \"/x\"\n", "line 4: a block is not closed"},
        {"\"libraryfolders\" { }\n}\n", "line 2: '}' closes no block"},
        {"{ \"0\" \"/x\" }", "line 1: a block without a key"},
        {"\"libraryfolders\" {\n\"0\" }", "line 2: the key \"0\" has no value"},
        {"\"libraryfolders\"", "line 1: the key \"libraryfolders\" has no value"},
        {deep, "line 65: blocks nest deeper than 64"},
        {"", "no \"libraryfolders\" block"},
        {"\"libraryfolders\" \"/x\"", "no \"libraryfolders\" block"},
        {"\"libraryfolders\" {\n\"\x01\xff\" ", "line 2: the key \"\\x01\\xff\" has no value"},
    };
    for (const auto& c : cases) {
        const auto result = find::libraryFolders(c.text);
        ASSERT_TRUE(std::holds_alternative<Reason>(result)) << c.text;
        EXPECT_EQ(std::get<Reason>(result).english(), c.error) << c.text;
    }
}

// The game's layout files as servers write them: a whole menu on one line, quotes inside quotes,
// braces too many or too few, lines ending with a lone CR. Never an error; keys keep their lines.
TEST(LayoutReading, ReadsWhatServersWriteAsTheGameDoes) {
    const kv::Node oneLine = kv::parseTolerantly(
        "\"GameMenu\" { \"1\" { \"label\" \"Join\" \"command\" \"engine Connect "
        "play.example.rs:27015\" } \"2\" { \"label\" \"\" \"command\" \"\" } }");
    ASSERT_EQ(oneLine.children.size(), 1u);
    const kv::Node& menu = oneLine.children[0];
    ASSERT_EQ(menu.children.size(), 2u);
    EXPECT_EQ(menu.children[0].child("command")->value, "engine Connect play.example.rs:27015");
    EXPECT_EQ(menu.children[0].child("command")->valueLine, 1);
    EXPECT_EQ(menu.children[1].child("label")->value, "");

    const kv::Node nested = kv::parseTolerantly(
        "\"1\"\n{\n\"command\" \"engine \"connect 192.0.2.8:27015\"\"\n\"label\" \"C:\\x\\\"\n}\n");
    ASSERT_EQ(nested.children.size(), 1u);
    EXPECT_EQ(nested.children[0].child("command")->value, "engine \"connect 192.0.2.8:27015\"");
    EXPECT_EQ(nested.children[0].child("command")->valueLine, 3);
    EXPECT_EQ(nested.children[0].child("label")->value, "C:\\x\\");

    const kv::Node careless =
        kv::parseTolerantly("}\n\"a\" { \"b\" }\n\"c\" { { \"d\" \"e\" }\n\"open");
    ASSERT_EQ(careless.children.size(), 2u);
    EXPECT_EQ(careless.children[0].children[0].key, "b");
    const kv::Node& left = careless.children[1];  // "c", its block left open
    ASSERT_EQ(left.children.size(), 2u);
    EXPECT_EQ(left.children[0].children[0].value, "e");
    EXPECT_EQ(left.children[1].key, "open");
    EXPECT_EQ(left.children[1].line, 4);

    const kv::Node crLines = kv::parseTolerantly("\"a\"\r{\r\"b\" \"c\"\r}\r");
    EXPECT_EQ(crLines.children[0].children[0].line, 3);
    // The strict reading counts those lines alike.
    const auto strict = kv::parse("\"a\"\r{\r\"b\"\r}\r");
    ASSERT_TRUE(std::holds_alternative<kv::ParseError>(strict));
    EXPECT_EQ(std::get<kv::ParseError>(strict).line, 4);
}

}  // namespace
}  // namespace morvane
