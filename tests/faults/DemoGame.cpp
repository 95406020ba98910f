#include "DemoGame.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

#include "TargetTable.h"

namespace morvane::test {
namespace {

std::string slashed(std::string_view relative) {
    std::string path(relative.substr(1));  // the leading backslash
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

}  // namespace

DemoGame::DemoGame(const TempTree& tree, const std::string& gameRelative)
    : tree_(tree), relative_(gameRelative), folder_(tree.path(gameRelative)) {
    tree.write(relative("hl.exe"), "MZ demo launcher\n");
    for (const std::string& target : targets())
        tree.write(relative(target), advertFor(target));
    for (int i = 0; i < 12; ++i) {
        const std::string n = std::to_string(i);
        tree.write(relative("cstrike/maps/de_demo" + n + ".bsp"), std::string(300 + 97 * i, 'm'));
        tree.write(relative("cstrike_russian/sound/s" + n + ".wav"), std::string(50 + 31 * i, 's'));
    }
    tree.write("outside/keep.txt", "not part of the game\n");
}

std::string DemoGame::relative(const std::string& below) const {
    return below.empty() ? relative_ : relative_ + "/" + below;
}

std::vector<std::string> DemoGame::targets() {
    std::vector<std::string> all;
    for (const SlotInfo& slot : kSlots)
        all.push_back(slashed(slot.relative));
    return all;
}

std::string DemoGame::advertFor(const std::string& target) {
    // Longer than any replacement file, and a different length for every target.
    std::string text = "// connect 203.0.113.5:27015 - " + target + "\n";
    while (text.size() < 4000 + 10 * target.size())
        text += "say VISIT OUR SERVER 203.0.113.5\n";
    return text;
}

void DemoGame::resetTargets() const {
    for (const std::string& target : targets()) {
        const std::string path = tree_.path(relative(target));
        ::unlink(path.c_str());
        tree_.write(relative(target), advertFor(target));
    }
}

void DemoGame::lockAttributeSet() const {
    for (std::size_t i = 0; i < kAttributeSetSize; ++i) {
        ::chmod(tree_.path(relative(slashed(kSlots[i].relative))).c_str(), 0444);
    }
}

std::string replacementNameFor(const std::string& target) {
    for (const SlotInfo& slot : kSlots) {
        if (slashed(slot.relative) == target)
            return std::string(slot.replacement);
    }
    return {};
}

}  // namespace morvane::test
