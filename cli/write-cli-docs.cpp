// morvane-cli-docs: writes the driver's manual pages and bash completion at build time.
//   morvane-cli-docs MANPAGE COMPLETION FILES_FOLDER [LANGUAGE MANPAGE]...
// MANPAGE is the English page; each LANGUAGE (a catalog the programs carry) gets one of its own.
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/Docs.h"
#include "platform/Translate.h"

namespace {

bool write(const char* path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "morvane-cli-docs: cannot write %s\n", path);
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fputs(
            "usage: morvane-cli-docs MANPAGE COMPLETION FILES_FOLDER [LANGUAGE MANPAGE]...\n",
            stderr);
        return 2;
    }
    using morvane::i18n::useLanguage;
    bool ok = write(argv[1], morvane::cli::manPage(argv[3])) &&
              write(argv[2], morvane::cli::bashCompletion());
    for (int i = 4; ok && i + 1 < argc; i += 2) {
        if (useLanguage({argv[i]}) != argv[i]) {
            std::fprintf(stderr, "morvane-cli-docs: no catalog for %s\n", argv[i]);
            return 1;
        }
        ok = write(argv[i + 1], morvane::cli::manPage(argv[3]));
    }
    return ok ? 0 : 1;
}
