#pragma once
// A rule's table: planted and ordinary things of the same shape side by side, the first reported
// under the rule and the second not (or only under the rule named). Every line is written for the
// tests, shaped like the kinds the labelled corpus of real files shows; documentation addresses.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <span>
#include <string>
#include <string_view>

#include "core/scan/Family.h"
#include "core/scan/Installation.h"

namespace morvane::scan::test {

// Another file of the installation, and its content.
struct Other {
    std::string_view file;
    std::string_view content;
};

struct Case {
    std::string_view file;            // below the game folder
    std::string_view content;         // the whole file
    int line;                         // the line reported; 0: nothing may be reported
    std::string_view rule = {};       // the rule reporting it, when not the table's own
    std::string_view elsewhere = {};  // another config file's lines (aliases, binds)
    Other other = {};                 // another file of the installation
    std::string_view game = "/games/hl";
    std::size_t count = 1;  // how many things the file holds that are reported
};

struct RuleTable {
    std::string_view rule;
    std::span<const Case> cases;
};

// The findings in the case's file, judged as the scan judges an installation that also holds the
// other files the case names.
inline std::vector<Finding> findingsOf(const Case& c) {
    std::vector<std::pair<std::string, std::string>> files{
        {std::string(c.file), std::string(c.content)}};
    if (!c.elsewhere.empty())
        files.emplace_back("valve/autoexec.cfg", std::string(c.elsewhere));
    if (!c.other.file.empty())
        files.emplace_back(std::string(c.other.file), std::string(c.other.content));
    const auto all = judgeFiles(c.game, files);
    std::vector<Finding> findings;
    std::copy_if(all.begin(), all.end(), std::back_inserter(findings),
                 [&](const Finding& f) { return f.file == c.file; });
    return findings;
}

inline void expectTable(const RuleTable& table) {
    bool flags = false;
    bool spares = false;
    for (const Case& c : table.cases) {
        SCOPED_TRACE(std::string(c.file) + ": " + std::string(c.content));
        const auto findings = findingsOf(c);
        if (c.line == 0) {
            EXPECT_TRUE(findings.empty()) << findings.front().rule->id;
            spares = true;
            continue;
        }
        ASSERT_EQ(findings.size(), c.count) << findings.front().rule->id;
        const std::string_view expected = c.rule.empty() ? table.rule : c.rule;
        const int line = placeOf(c.file).family->readsContent ? c.line : 0;
        EXPECT_TRUE(std::any_of(findings.begin(), findings.end(),
                                [&](const Finding& f) {
                                    return f.rule->id == expected && f.line == line &&
                                           f.file == c.file;
                                }))
            << findings.front().rule->id << " on line " << findings.front().line;
        (expected == table.rule ? flags : spares) = true;
    }
    EXPECT_TRUE(flags) << table.rule << " has no case it reports";
    EXPECT_TRUE(spares) << table.rule << " has no ordinary case";
}

// The tables of the rules of the settings' families (lists, favourites, the emulator's).
std::span<const RuleTable> settingsTables();

inline std::string testName(const testing::TestParamInfo<RuleTable>& param) {
    std::string name(param.param.rule);
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

}  // namespace morvane::scan::test
