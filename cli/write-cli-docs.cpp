// morvane-cli-docs: writes the driver's manual page and bash completion at build time.
//   morvane-cli-docs MANPAGE COMPLETION FILES_FOLDER
#include <cstdio>
#include <fstream>
#include <string>

#include "cli/Docs.h"

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
    if (argc != 4) {
        std::fputs("usage: morvane-cli-docs MANPAGE COMPLETION FILES_FOLDER\n", stderr);
        return 2;
    }
    const bool ok = write(argv[1], morvane::cli::manPage(argv[3])) &&
                    write(argv[2], morvane::cli::bashCompletion());
    return ok ? 0 : 1;
}
