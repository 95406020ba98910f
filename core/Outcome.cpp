#include "core/Outcome.h"

#include <algorithm>

namespace morvane {

Guards guardsOf(const Permissions& permissions) {
    const std::uint32_t attributes = permissions.attributes.value_or(0);
    return {(permissions.mode & 0200) == 0, (attributes & kHiddenAttribute) != 0,
            (attributes & kSystemAttribute) != 0};
}

Reason reasonOf(const Outcome& outcome) {
    const Reason& detail = outcome.detail;
    switch (outcome.cause) {
        case Cause::None:
            break;
        case Cause::Copy:
            // TRANSLATORS: the operation that failed, then why; "copy" is putting a file in place.
            return because("copy: %s", detail);
        case Cause::Delete:
            // TRANSLATORS: the operation that failed, then why.
            return because("delete: %s", detail);
        case Cause::Attributes:
            // TRANSLATORS: the operation that failed (changing a file's attributes), then why.
            return because("attributes: %s", detail);
        case Cause::NotBackedUp:
            return because("not backed up (%s), so left as it is", detail);
        case Cause::Link:
            return because("a link: left as it is");
        case Cause::HardLinks:
            return because("has other hard links: left as it is");
        case Cause::NotRead:
            return because("not read (%s), so not treated", detail);
        case Cause::LinkNotKept:
            return because("it was a link, and links are not kept");
        case Cause::FolderNotRead:
            return because("the folder cannot be read");
    }
    return detail;
}

bool anyFailed(const std::vector<Outcome>& files) {
    return std::any_of(files.begin(), files.end(),
                       [](const Outcome& file) { return file.done == Done::Failed; });
}

}  // namespace morvane
