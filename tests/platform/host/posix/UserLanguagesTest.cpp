// The language the user reads, as the environment says it on POSIX systems, and the system's error
// texts in it.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "platform/Translate.h"
#include "platform/host/posix/SystemError.h"
#include "platform/host/posix/UserLanguages.h"

namespace morvane {
namespace {

// As GNU gettext reads the environment: LC_ALL, LC_MESSAGES, LANG in that order name the locale;
// LANGUAGE lists languages unless that locale is C; codesets and modifiers are no part of a
// language; a codeset other than UTF-8 gets the texts as written.
TEST(UserLanguages, AreReadFromTheEnvironmentAsGnuGettextReadsThem) {
    struct Case {
        std::map<std::string, std::string> environment;
        std::vector<std::string> languages;
    };
    const Case cases[] = {
        {{}, {}},
        {{{"LANG", "ru_RU.UTF-8"}}, {"ru_RU"}},
        {{{"LANG", "ru_RU.utf8@latin"}}, {"ru_RU"}},
        {{{"LANG", "ru"}}, {"ru"}},
        {{{"LANG", "C"}}, {}},
        {{{"LANG", "POSIX"}}, {}},
        {{{"LANG", "C.UTF-8"}}, {"C"}},
        {{{"LANG", ""}, {"LC_MESSAGES", "ru_RU.UTF-8"}}, {"ru_RU"}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_MESSAGES", "de_DE.UTF-8"}}, {"de_DE"}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_ALL", "C"}}, {}},
        {{{"LC_ALL", "ru_RU.UTF-8"}, {"LC_MESSAGES", "C"}}, {"ru_RU"}},
        {{{"LANG", "de_DE.UTF-8"}, {"LANGUAGE", "uk:ru_RU::en"}}, {"uk", "ru_RU", "en"}},
        {{{"LANG", "C"}, {"LANGUAGE", "ru"}}, {}},
        {{{"LANGUAGE", "ru"}}, {}},  // no locale is C
        {{{"LANG", "C.UTF-8"}, {"LANGUAGE", "ru"}}, {"ru"}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LANGUAGE", ""}}, {"ru_RU"}},
        {{{"LANG", "ru_RU.KOI8-R"}}, {}},
        {{{"LANG", "ru_RU.UTF-8"}, {"LC_CTYPE", "ru_RU.CP1251"}}, {}},
        {{{"LC_ALL", "ru_RU.UTF-8"}, {"LC_CTYPE", "ru_RU.CP1251"}}, {"ru_RU"}},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (const auto& [name, value] : c.environment)
            shown += name + "=" + value + " ";
        const auto variable = [&c](const char* name) -> const char* {
            const auto found = c.environment.find(name);
            return found == c.environment.end() ? nullptr : found->second.c_str();
        };
        EXPECT_EQ(posix::languagesOf(variable), c.languages) << shown;
    }
}

// The errors a player meets in our own words in the reader's language; in English the C library's
// words, as before; any other error in the system's.
TEST(UserLanguages, SystemErrorsAreWordedInTheLanguageChosen) {
    for (const int error : {EACCES, ENOENT, EROFS, ENOSPC, EBUSY, EISDIR, ETXTBSY, EDQUOT}) {
        i18n::useLanguage({});
        EXPECT_EQ(posix::errorText(error), std::strerror(error));
        i18n::useLanguage({"ru"});
        EXPECT_NE(posix::errorText(error), std::strerror(error));
    }
    EXPECT_EQ(posix::errorText(EHOSTDOWN), std::strerror(EHOSTDOWN));
    i18n::useLanguage({});
}

}  // namespace
}  // namespace morvane
