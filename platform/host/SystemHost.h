#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/FileHost.h"
#include "platform/StateStore.h"
#include "platform/TreeReader.h"

namespace morvane {

// The seams as the system the program runs on implements them: posix/ or win32/ beside this.
std::unique_ptr<FileHost> makeFileHost();
std::unique_ptr<TreeReader> makeTreeReader();
std::unique_ptr<StateStore> makeStateStore();

// The languages the user reads, most wanted first, as the system's own programs choose theirs:
// language tags such as "ru_RU" or "ru", for platform/Translate.h's useLanguage(). None when the
// user asked for the untranslated texts (the "C" locale).
std::vector<std::string> userLanguages();

}  // namespace morvane
