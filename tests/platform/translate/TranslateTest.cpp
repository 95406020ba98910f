// The texts in the reader's language: the catalog reader, the plural rules it evaluates, the
// arguments put into a text, and the choice among the catalogs the programs carry.
#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "platform/Translate.h"
#include "platform/translate/Catalog.h"
#include "platform/translate/PluralRule.h"

namespace morvane::i18n {
namespace {

constexpr const char* kRussian =
    "n%10==1 && n%100!=11 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2";

TEST(PluralRule, EvaluatesEachLanguagesRuleAndRefusesWhatIsNoRule) {
    struct Case {
        std::string expression;
        std::uint64_t n;
        std::optional<std::uint64_t> form;  // none: not a rule
    };
    const std::string deep = std::string(100, '(') + "n" + std::string(100, ')');
    const Case cases[] = {
        {kRussian, 1, 0},
        {kRussian, 2, 1},
        {kRussian, 4, 1},
        {kRussian, 5, 2},
        {kRussian, 11, 2},
        {kRussian, 12, 2},
        {kRussian, 21, 0},
        {kRussian, 22, 1},
        {kRussian, 111, 2},
        {kRussian, 1000001, 0},
        {kRussian, 67108864, 1},
        {"n != 1", 0, 1},  // English
        {"n != 1", 1, 0},
        {"n>1", 0, 0},  // French
        {"n>1", 2, 1},
        {"(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)", 22, 1},  // Polish
        {"(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2)", 12, 2},
        {"n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5", 0, 0},
        {"n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5", 105, 3},
        {"n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5", 99, 4},
        {"n==0 ? 0 : n==1 ? 1 : n==2 ? 2 : n%100>=3 && n%100<=10 ? 3 : n%100>=11 ? 4 : 5", 102, 5},
        {"0", 7, 0},  // Japanese: one form
        {"1 + 2 * 3 - 8 / 4 % 3", 0, 5},
        {"!n || n - 1 >= 2 && n <= 4", 0, 1},
        {"!n || n - 1 >= 2 && n <= 4", 3, 1},
        {"!n || n - 1 >= 2 && n <= 4", 2, 0},
        {"n / 0 + n % 0", 9, 0},  // no crash
        {"", 1, std::nullopt},
        {"n +", 1, std::nullopt},
        {"(n", 1, std::nullopt},
        {"n ? 1", 1, std::nullopt},
        {"n 1", 1, std::nullopt},
        {"x", 1, std::nullopt},
        {"n = 1", 1, std::nullopt},
        {deep, 1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expression + " for " + std::to_string(c.n));
        const auto rule = PluralRule::parse(c.expression);
        ASSERT_EQ(rule.has_value(), c.form.has_value());
        if (rule) {
            EXPECT_EQ(rule->evaluate(c.n), *c.form);
        }
    }
}

std::string fileBytes(const std::string& name) {
    std::ifstream in(std::string(MORVANE_SAMPLE_CATALOGS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// `bytes` with `from` replaced by `to`, of the same length.
std::string changed(std::string bytes, const std::string& from, const std::string& to) {
    const std::size_t at = bytes.find(from);
    return at == std::string::npos ? std::string() : bytes.replace(at, from.size(), to);
}

std::string withWord(std::string bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (8 * i));
    return bytes;
}

TEST(Catalog, FindsTextsContextsAndFormsInEitherByteOrderAndRefusesBrokenOnes) {
    const std::string little = fileBytes("sample-le.mo"), big = fileBytes("sample-be.mo");
    ASSERT_GT(little.size(), 28u);
    for (const std::string* bytes : {&little, &big}) {
        SCOPED_TRACE(bytes == &little ? "little-endian" : "big-endian");
        const auto catalog = Catalog::read(*bytes);
        ASSERT_TRUE(catalog);
        struct Case {
            std::string context, text;
            std::optional<std::uint64_t> count;
            std::optional<std::string> found;
        };
        const Case cases[] = {
            {"", "no folder given", {}, "не указана папка"},
            {"", "clean", {}, "чистый"},
            {"verb", "clean", {}, "очистить"},
            {"noun", "clean", {}, std::nullopt},
            {"", "%s in %s", {}, "%2$s: %1$s"},
            {"", "untranslated", {}, std::nullopt},
            {"", "not in it", {}, std::nullopt},
            {"", "", {}, std::nullopt},  // the header is no text's translation
            {"", "%d file", 1, "%d файл"},
            {"", "%d file", 3, "%d файла"},
            {"", "%d file", 11, "%d файлов"},
            {"", "%d file", 101, "%d файл"},
            {"", "%d files", 2, std::nullopt},  // found by its singular
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.context + "|" + c.text);
            EXPECT_EQ(c.count ? catalog->findPlural(c.context, c.text, *c.count)
                              : catalog->find(c.context, c.text),
                      c.found);
        }
    }
    // Bytes that are not a whole catalog are refused, never read past.
    const std::string broken[] = {
        "",
        little.substr(0, 20),
        little.substr(0, little.size() / 2),
        changed(little, "\xde\x12\x04\x95", "\xde\x12\x04\x96"),
        withWord(little, 12, 0xfffffff0),                   // the originals' table past the end
        withWord(little, 8, 0x7fffffff),                    // more texts than there are
        changed(little, "charset=UTF-8", "charset=CP866"),  // not UTF-8
    };
    for (const std::string& bytes : broken)
        EXPECT_FALSE(Catalog::read(bytes)) << bytes.size();
}

TEST(Format, PutsEachArgumentInItsPlace) {
    struct Case {
        std::string pattern;
        std::initializer_list<std::string_view> args;
        std::string out;
    };
    const Case cases[] = {
        {"unknown option '%s'", {"--x"}, "unknown option '--x'"},
        {"%s in %s", {"a", "b"}, "a in b"},
        {"%2$s: %1$s", {"a", "b"}, "b: a"},
        {"%d file", {"5"}, "5 file"},
        {"100%% of %s", {"it"}, "100% of it"},
        {"%s and %s", {"a"}, "a and %s"},  // an argument that is not there is left as written
        {"%3$s", {"a"}, "%3$s"},
        {"%0$s", {"a"}, "%0$s"},
        {"%q %5s %", {"a"}, "%q %5s %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(detail::format(c.pattern, c.args), c.out) << c.pattern;
}

// The first carried language of the user's list is used, a territory falling back to its
// language; English (the texts as written) counts as carried.
TEST(Language, TheFirstCarriedLanguageOfTheListIsSpoken) {
    ASSERT_EQ(carriedLanguages(), std::vector<std::string>{"ru"});
    struct Case {
        std::vector<std::string> preferred;
        std::string chosen;
    };
    const Case cases[] = {
        {{"ru_RU"}, "ru"},     {{"ru"}, "ru"}, {{"de", "ru_UA"}, "ru"},
        {{"en_GB", "ru"}, ""}, {{"C"}, ""},    {{}, ""},
        {{"de"}, ""},          {{"rus"}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(useLanguage(c.preferred), c.chosen) << c.preferred.size();
        EXPECT_EQ(language(), c.chosen);
    }
    // In Russian a text of the program's catalog reads otherwise, and 21 takes the form of 1, not
    // that of 5, as the catalog's rule says; looking a text up leaves errno alone.
    useLanguage({"ru"});
    errno = ENOSPC;
    EXPECT_NE(tr("no folder given"), "no folder given");
    EXPECT_EQ(errno, ENOSPC);
    const auto larger = [](int n) {
        return trn("larger than %d byte", "larger than %d bytes", n, "N");
    };
    EXPECT_EQ(larger(21), larger(1));
    EXPECT_NE(larger(5), larger(1));
    useLanguage({});
    EXPECT_EQ(tr("no folder given"), "no folder given");
    EXPECT_EQ(trn("larger than %d byte", "larger than %d bytes", 1, 1), "larger than 1 byte");
    EXPECT_EQ(trn("larger than %d byte", "larger than %d bytes", 13, 13), "larger than 13 bytes");
}

}  // namespace
}  // namespace morvane::i18n
