#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/DialogScript.h"

namespace morvane::ui::test {

// What both road tests see when a run stops because the folder of its backup, `folder`, cannot
// be made: after the config option's own warning, the backup's, and nothing else.
inline void expectBackupNotMade(const DialogScript& script, const std::string& folder) {
    ASSERT_EQ(script.messages.size(), 2u) << "the config option's warning, then the backup's";
    EXPECT_EQ(script.messages[1].title, "Внимание!");
    EXPECT_EQ(script.messages[1].icon, MessageIcon::Exclamation);
    EXPECT_EQ(script.messages[1].text,
              "Не удалось сделать резервную копию, поэтому ничего не изменено.\n"
              "Не удалось создать для неё папку: " +
                  folder + ": это не папка");
}

}  // namespace morvane::ui::test
