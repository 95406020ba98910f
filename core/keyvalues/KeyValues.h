#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/Reason.h"

namespace morvane::kv {

// One key of a KeyValues text (the format of Steam's .vdf files and the game's .res files): either
// a text value or a block of further keys.
struct Node {
    std::string key;
    std::string value;           // a text value; empty for a block
    std::vector<Node> children;  // a block's keys, in the text's order
    bool block = false;
    int line = 0;       // where the key stands, from 1
    int valueLine = 0;  // where its text value or its block's opening brace stands
    // The bytes it takes in the text: from its key (or a keyless block's brace) to the end of its
    // value or its block's closing brace (or the text's end, for a block left open).
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t valueBegin = 0;  // where its text value (its quote, if quoted) or brace begins

    // The first child whose key equals `name` ignoring ASCII case, or null.
    const Node* child(std::string_view name) const;
    // Every key with a text value named `name` (ignoring ASCII case) below it, at any depth, in
    // the text's order.
    std::vector<const Node*> textsBelow(std::string_view name) const;
};

struct ParseError {
    int line = 0;
    Reason message;
};

// Reads a whole KeyValues text. The root is a block without a key that holds the top-level keys.
// Quoted texts may hold \\, \", \n and \t; "//" starts a comment outside quotes; a bracketed
// condition such as [$WIN32] after a key is ignored. Input that does not fit the format gives a
// ParseError naming the line, never more than the text holds; blocks nest at most kMaxDepth deep.
std::variant<Node, ParseError> parse(std::string_view text);

// The same reading as a game reads its layout files (.res), which servers write carelessly: never
// an error, but for blocks nesting deeper than kMaxDepth, whose text is then left out. Backslashes
// are plain characters; a quote closes quoted text only before a blank, a brace or the end
// ("engine connect "host:27015"" is one text); quoted text ends at its line's end at
// the latest; a brace too many, a key without a value, a block without a key and blocks left open
// are read past. Lines are counted at "\n", or at "\r" in a text without "\n".
Node parseTolerantly(std::string_view text);

inline constexpr int kMaxDepth = 64;

}  // namespace morvane::kv
