#include "cli/CliReport.h"

#include <algorithm>
#include <cstdio>

#include "cli/CliOptions.h"

namespace morvane::cli {
namespace {

const char* actionName(FileAction action) {
    switch (action) {
        case FileAction::Replaced:
            return "replaced";
        case FileAction::Rewritten:
            return "rewritten";
        case FileAction::Deleted:
            return "deleted";
        case FileAction::Absent:
            return "absent";
        case FileAction::Failed:
            return "failed";
    }
    return "";
}

const char* operationName(Operation what) {
    switch (what) {
        case Operation::SetAttributes:
            return "attributes";
        case Operation::Delete:
            return "delete";
        case Operation::Copy:
            return "copy";
        case Operation::FolderSize:
            return "size";
    }
    return "";
}

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

std::vector<FileOutcome> fileOutcomes(const std::vector<Step>& steps) {
    std::vector<FileOutcome> files;
    for (const Step& step : steps) {
        if (step.what == Operation::FolderSize)
            continue;
        const bool treat = step.what != Operation::SetAttributes;
        const bool failed = !step.succeeded && !step.absent;
        auto found = std::find_if(files.begin(), files.end(),
                                  [&](const FileOutcome& file) { return file.path == step.path; });
        if (found == files.end()) {
            if (!treat && !failed)
                continue;
            files.push_back({step.path, FileAction::Absent, {}});
            found = files.end() - 1;
        }
        FileOutcome& file = *found;
        if (failed) {
            if (file.action != FileAction::Failed) {
                file.action = FileAction::Failed;
                file.reason = std::string(operationName(step.what)) + ": " + step.reason;
            }
        } else if (treat && step.succeeded) {
            file.action = step.what == Operation::Copy ? FileAction::Replaced : FileAction::Deleted;
            file.reason.clear();
        } else if (treat && file.action == FileAction::Absent) {
            file.reason = step.reason;
        }
    }
    return files;
}

bool anyFailed(const std::vector<FileOutcome>& files) {
    return std::any_of(files.begin(), files.end(),
                       [](const FileOutcome& file) { return file.action == FileAction::Failed; });
}

std::string verdictCaption(Verdict verdict) {
    return verdict == Verdict::PossiblyRemoved ? "Реклама возможно удалена" : "Реклама не удалена";
}

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

std::string formatReport(const std::array<bool, kGroupCount>& status,
                         std::optional<Verdict> verdict, const std::vector<FileOutcome>& files,
                         bool json, const std::string& backup) {
    std::string out;
    if (json) {
        out = "{\"status\":{";
        for (std::size_t g = 0; g < kGroupCount; ++g) {
            if (g > 0)
                out += ',';
            out += '"' + std::string(kGroupNames[g]) + "\":" + (status[g] ? "true" : "false");
        }
        out += '}';
        if (verdict) {
            out += std::string(",\"verdict\":\"") +
                   (*verdict == Verdict::PossiblyRemoved ? "possibly removed" : "not removed") +
                   "\",\"files\":[";
            for (std::size_t i = 0; i < files.size(); ++i) {
                out += (i > 0 ? ",{\"path\":" : "{\"path\":") + jsonString(files[i].path) +
                       ",\"action\":\"" + actionName(files[i].action) +
                       "\",\"reason\":" + jsonString(files[i].reason) + '}';
            }
            out += ']';
        }
        if (!backup.empty())
            out += ",\"backup\":" + jsonString(backup);
        return out + "}\n";
    }
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        out += std::string(kGroupNames[g]) + ": " + (status[g] ? "found" : "not found") + '\n';
    }
    for (const FileOutcome& file : files) {
        out += file.path + ": " + actionName(file.action);
        out += file.action == FileAction::Failed ? " (" + file.reason + ")\n" : "\n";
    }
    if (verdict)
        out += verdictCaption(*verdict) + '\n';
    if (!backup.empty())
        out += "backup: " + backup + '\n';
    return out;
}

}  // namespace morvane::cli
