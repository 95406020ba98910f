#include "core/scan/ConsoleLine.h"

namespace morvane::scan {
namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::vector<std::string> wordsOf(std::string_view text) {
    std::vector<std::string> words;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        if (i >= text.size() || text.substr(i, 2) == "//")
            return words;
        std::string& word = words.emplace_back();
        if (text[i] == '"') {
            const std::size_t close = text.find('"', i + 1);
            const std::size_t end = close == std::string_view::npos ? text.size() : close;
            word = text.substr(i + 1, end - i - 1);
            i = end + 1;
        } else {
            while (i < text.size() && !isBlank(text[i]) && text[i] != '"')
                word += text[i++];
        }
    }
}

std::vector<Command> commandsOf(std::string_view line) {
    std::vector<Command> commands;
    bool inQuotes = false;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && line[i] == '"')
            inQuotes = !inQuotes;
        if (i == line.size() || (line[i] == ';' && !inQuotes)) {
            if (auto words = wordsOf(line.substr(start, i - start)); !words.empty())
                commands.push_back({std::move(words)});
            start = i + 1;
        }
    }
    return commands;
}

}  // namespace morvane::scan
