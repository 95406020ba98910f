#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morvane::scan {

// One console command: its words, quotes removed; the first is the command's name.
struct Command {
    std::vector<std::string> words;
};

// The words of `text` as the game's console reads them: blanks separate words, double quotes
// group them (there are no escapes, an open quote runs to the end), and "//" outside quotes ends
// the text.
std::vector<std::string> wordsOf(std::string_view text);

// The commands of one line as the console runs them: split at every ';' outside double quotes
// (a comment does not stop that split: the console cuts commands first), commands without words
// left out.
std::vector<Command> commandsOf(std::string_view line);

}  // namespace morvane::scan
