#include "cli/Json.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

#include "cli/Options.h"
#include "cli/Text.h"
#include "core/scan/Protection.h"

namespace morvane::cli {
namespace {

// The length of the well-formed UTF-8 sequence at `at`, or 0.
std::size_t utf8Length(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) {
        return i < text.size() ? static_cast<unsigned char>(text[i]) : 0u;
    };
    const unsigned lead = byte(at);
    std::size_t length = 0;
    unsigned low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : low;    // no overlong forms
        high = lead == 0xED ? 0x9F : high;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : low;
        high = lead == 0xF4 ? 0x8F : high;
    }
    if (length == 0 || byte(at + 1) < low || byte(at + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (byte(at + i) < 0x80 || byte(at + i) > 0xBF)
            return 0;
    }
    return length;
}

}  // namespace

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t length = utf8Length(text, i);
            out += length == 0 ? "\\ufffd" : text.substr(i, length);
            i += std::max<std::size_t>(length, 1);
            continue;
        }
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += static_cast<char>(c);
        }
        ++i;
    }
    return out + '"';
}

namespace {

// Appends the member `"name":value` to the JSON object begun in `out`.
void jsonMember(std::string& out, std::string_view name, const std::string& value) {
    if (out.back() != '{')
        out += ',';
    out.append(jsonString(std::string(name))).append(":").append(value);
}

// Appends `value` as the next element of the JSON array begun in `out`.
void jsonElement(std::string& out, const std::string& value) {
    if (out.back() != '[')
        out += ',';
    out += value;
}

// What was done to a clean's file, as "action" names it.
const char* actionName(Done done) {
    switch (done) {
        case Done::Replaced:
            return "replaced";
        case Done::Rewritten:
            return "rewritten";
        case Done::Deleted:
            return "deleted";
        case Done::Failed:
            return "failed";
        case Done::Absent:
        default:
            break;
    }
    return "absent";
}

// What a stop is called, for programs to tell stops apart.
const char* stopName(Stop stop) {
    switch (stop) {
        case Stop::NotAGameFolder:
            return "not a game folder";
        case Stop::Busy:
            return "busy";
        case Stop::NoBackupsFolder:
            return "no backups folder";
        case Stop::BackupNotMade:
            return "backup not made";
        case Stop::BackupNotWritten:
            return "backup not written";
        default:
            break;
    }
    return "";
}

std::string array(const std::vector<std::string>& texts) {
    std::string out = "[";
    for (const std::string& text : texts)
        jsonElement(out, jsonString(text));
    return out + "]";
}

}  // namespace

std::string jsonReport(const Report& report) {
    std::string out = "{";
    if (report.verdict)
        jsonMember(out, "game", jsonString(report.game));
    std::string status = "{";
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        jsonMember(status, kGroupNames[g],
                   !report.asked[g]  ? "null"
                   : report.found[g] ? "true"
                                     : "false");
    }
    jsonMember(out, "status", status + "}");
    if (report.verdict) {
        jsonMember(out, "verdict",
                   *report.verdict == Verdict::PossiblyRemoved ? "\"possibly removed\""
                                                               : "\"not removed\"");
        std::string files = "[";
        for (const Outcome& file : report.files) {
            std::string one = "{";
            jsonMember(one, "path", jsonString(file.path));
            jsonMember(one, "action", jsonString(actionName(file.done)));
            const std::string guards = guardsText(file.guards, true);
            jsonMember(one, "reason",
                       jsonString(guards.empty() ? reasonOf(file).english() : guards + ": kept"));
            jsonElement(files, one + "}");
        }
        jsonMember(out, "files", files + "]");
    }
    if (!report.backup.empty())
        jsonMember(out, "backup", jsonString(report.backup));
    return out + "}\n";
}

std::string jsonStop(const std::string& game, const Stopped& stop) {
    std::string out = "{";
    jsonMember(out, "game", jsonString(game));
    jsonMember(out, "stop", jsonString(stopName(stop.cause)));
    jsonMember(out, "reason", jsonString(stop.detail.english()));
    return out + "}\n";
}

std::string jsonScan(const std::string& game, const scan::ScanReport& report, char sep) {
    std::string out = "{";
    jsonMember(out, "game", jsonString(game));
    std::string findings = "[";
    for (const scan::Finding& f : report.findings) {
        std::string one = "{";
        jsonMember(one, "file", jsonString(native(f.file, sep)));
        jsonMember(one, "line", std::to_string(f.line));
        jsonMember(one, "text", jsonString(f.text));
        jsonMember(one, "rule", jsonString(std::string(f.rule->id)));
        jsonMember(one, "level", jsonString(std::string(scan::levelName(f.level()))));
        jsonMember(one, "reason", jsonString(std::string(f.rule->reason)));
        jsonElement(findings, one + "}");
    }
    jsonMember(out, "findings", findings + ']');
    std::string protection = "{";
    for (const scan::EditionProtection& p : report.protection)
        jsonMember(protection, p.folder, jsonString(std::string(scan::protectionName(p.state))));
    jsonMember(out, "protection", protection + '}');
    std::string unread = "[";
    for (const Outcome& file : report.unread) {
        std::string one = "{";
        jsonMember(one, "file", jsonString(native(file.path, sep)));
        jsonMember(one, "reason", jsonString(reasonOf(file).english()));
        jsonElement(unread, one + "}");
    }
    jsonMember(out, "unread", unread + ']');
    return out + "}\n";
}

std::string jsonFind(const find::FoundInstallations& found) {
    std::string out = "{\"installations\":[";
    for (const find::Installation& game : found.installations) {
        std::string one = "{";
        jsonMember(one, "path", jsonString(game.folder));
        jsonMember(one, "launchers", array(game.launchers));
        jsonMember(one, "editions", array(game.editions));
        jsonElement(out, one + "}");
    }
    std::vector<std::string> problems;
    for (const Reason& problem : found.problems)
        problems.push_back(problem.english());
    out.append("],\"problems\":").append(array(problems));
    return out.append(",\"skipped\":").append(array(found.skipped)).append("}\n");
}

}  // namespace morvane::cli
