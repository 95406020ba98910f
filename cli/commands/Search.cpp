// search and size: the engine's own search and folder total, as the options window has them.
#include "engine/Search.h"
#include "cli/ExitStatus.h"
#include "cli/Json.h"
#include "cli/Report.h"
#include "cli/commands/Handlers.h"
#include "platform/Translate.h"

namespace morvane::cli {
namespace {

bool isFolder(Seams& seams, const std::string& path) {
    return seams.reader.kindOf(path) == EntryKind::Folder;
}

}  // namespace

int runSearch(const CliOptions& options, Seams& seams, Output& output) {
    if (!isFolder(seams, options.folder))
        return usageError(output, notAFolder(options.folder));
    EngineRecord record;
    record.gameFolder = options.folder;
    record.options = options.groups;
    if (record.options == std::array<bool, kGroupCount>{})
        record.options.fill(true);  // no group named: every one
    const auto found = search(record, seams.host);
    const Report report{options.folder, record.options, found, {}, {}, {}};
    output.out(options.json ? jsonReport(report) : formatReport(report));
    return kDone;
}

int runSize(const CliOptions& options, Seams& seams, Output& output) {
    if (!isFolder(seams, options.folder))
        return usageError(output, notAFolder(options.folder));
    const auto size = seams.host.folderSize(options.folder);
    if (!size) {
        output.problem(i18n::tr("cannot read '%s'", options.folder));
        return kNotDone;
    }
    output.out(std::to_string(*size) + '\n');
    return kDone;
}

}  // namespace morvane::cli
