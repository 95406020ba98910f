#include "core/keyvalues/KeyValues.h"

#include <optional>

#include "core/text/AsciiText.h"

namespace morvane::kv {
namespace {

struct Token {
    enum Kind { End, Open, Close, Text } kind = End;
    std::string text;
    int line = 0;
    bool quoted = false;
    std::size_t begin = 0;  // its bytes in the text
    std::size_t end = 0;
};

class Lexer {
  public:
    Lexer(std::string_view text, bool tolerant)
        : text_(text),
          tolerant_(tolerant),
          crLines_(text.find('\n') == std::string_view::npos &&
                   text.find('\r') != std::string_view::npos) {
        if (text_.starts_with("\xEF\xBB\xBF"))
            pos_ = 3;  // a byte order mark left by an editor
    }

    // The next token, or an error message for quoted text that never ends.
    std::variant<Token, ParseError> next() {
        skipSpaceAndComments();
        Token token{Token::End, {}, line_, false, pos_, pos_};
        if (pos_ >= text_.size())
            return token;
        const char c = text_[pos_];
        if (c == '{' || c == '}') {
            token.end = ++pos_;
            token.kind = c == '{' ? Token::Open : Token::Close;
            return token;
        }
        token.kind = Token::Text;
        if (c == '"') {
            token.quoted = true;
            return quoted(token);
        }
        while (pos_ < text_.size() && !isSpace(text_[pos_]) && text_[pos_] != '{' &&
               text_[pos_] != '}' && text_[pos_] != '"') {
            token.text += text_[pos_++];
        }
        token.end = pos_;
        return token;
    }

  private:
    static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // Whether `c` ends a line: "\n", or "\r" in a text that ends its lines with it alone.
    bool endsLine(char c) const { return c == '\n' || (crLines_ && c == '\r'); }

    void skipSpaceAndComments() {
        while (pos_ < text_.size()) {
            if (text_.substr(pos_, 2) == "//") {
                while (pos_ < text_.size() && !endsLine(text_[pos_]))
                    ++pos_;
            } else if (isSpace(text_[pos_])) {
                line_ += endsLine(text_[pos_++]) ? 1 : 0;
            } else {
                return;
            }
        }
    }

    // In a tolerant reading, a quote closes quoted text only before a blank, a brace or the end of
    // the text ("engine connect "host"" is one text), and quoted text ends at its line's end at
    // the latest.
    bool closes(std::size_t quote) const {
        const std::size_t next = quote + 1;
        return !tolerant_ || next >= text_.size() || isSpace(text_[next]) || text_[next] == '{' ||
               text_[next] == '}';
    }

    std::variant<Token, ParseError> quoted(Token token) {
        for (++pos_; pos_ < text_.size(); ++pos_) {
            char c = text_[pos_];
            if (c == '"' && closes(pos_)) {
                token.end = ++pos_;
                return token;
            }
            if (tolerant_ && endsLine(c)) {
                token.end = pos_;
                return token;
            }
            if (c == '\\' && !tolerant_ && pos_ + 1 < text_.size()) {
                const char escaped = text_[pos_ + 1];
                const std::optional<char> meant = escaped == 'n'    ? '\n'
                                                  : escaped == 't'  ? '\t'
                                                  : escaped == '\\' ? '\\'
                                                  : escaped == '"'  ? '"'
                                                                    : std::optional<char>();
                if (meant) {
                    c = *meant;
                    ++pos_;
                }
            }
            line_ += endsLine(c) ? 1 : 0;
            token.text += c;
        }
        token.end = pos_;
        if (tolerant_)
            return token;
        return ParseError{token.line, because("quoted text is not closed")};
    }

    std::string_view text_;
    bool tolerant_;
    bool crLines_;
    std::size_t pos_ = 0;
    int line_ = 1;
};

bool isCondition(const Token& token) {
    return token.kind == Token::Text && !token.quoted && token.text.size() >= 2 &&
           token.text.front() == '[' && token.text.back() == ']';
}

class Parser {
  public:
    Parser(std::string_view text, bool tolerant) : lexer_(text, tolerant), tolerant_(tolerant) {}

    // Reads keys into `block` up to its closing brace (or the end of the text at depth 0).
    std::optional<ParseError> readBlock(Node& block, int depth) {
        for (;;) {
            auto key = take();
            if (auto* error = std::get_if<ParseError>(&key))
                return *error;
            const Token& k = std::get<Token>(key);
            block.end = k.end;
            if (k.kind == Token::End)
                return depth == 0 || tolerant_
                           ? std::nullopt
                           : std::optional(ParseError{k.line, because("a block is not closed")});
            if (k.kind == Token::Close) {
                if (depth == 0 && tolerant_)
                    continue;  // a brace too many
                return depth > 0
                           ? std::nullopt
                           : std::optional(ParseError{k.line, because("'}' closes no block")});
            }
            if (k.kind == Token::Open) {
                if (!tolerant_)
                    return ParseError{k.line, because("a block without a key")};
                if (depth + 1 > kMaxDepth)
                    return ParseError{k.line, because("blocks nest deeper than %d", kMaxDepth)};
                Node& node = block.children.emplace_back();
                node.line = node.valueLine = k.line;
                node.begin = k.begin;
                node.block = true;
                if (auto error = readBlock(node, depth + 1))
                    return error;
                continue;
            }
            if (auto error = readValue(block.children.emplace_back(), k, depth))
                return error;
        }
    }

  private:
    std::optional<ParseError> readValue(Node& node, const Token& key, int depth) {
        node.key = key.text;
        node.line = key.line;
        node.begin = key.begin;
        node.end = key.end;
        auto value = take();
        if (auto* error = std::get_if<ParseError>(&value))
            return *error;
        const Token& v = std::get<Token>(value);
        node.valueLine = v.line;
        node.valueBegin = v.begin;
        if (v.kind == Token::Text) {
            node.value = v.text;
            node.end = v.end;
            return std::nullopt;
        }
        if (v.kind != Token::Open) {
            if (tolerant_) {
                pending_ = v;  // a key without a value: what follows is read as if it had one
                return std::nullopt;
            }
            return ParseError{v.line,
                              because("the key \"%s\" has no value", asciiPrintable(key.text))};
        }
        if (depth + 1 > kMaxDepth)
            return ParseError{v.line, because("blocks nest deeper than %d", kMaxDepth)};
        node.block = true;
        return readBlock(node, depth + 1);
    }

    // The next token that is not a condition.
    std::variant<Token, ParseError> take() {
        if (pending_) {
            Token token = std::move(*pending_);
            pending_.reset();
            return token;
        }
        for (;;) {
            auto token = lexer_.next();
            if (auto* t = std::get_if<Token>(&token); t == nullptr || !isCondition(*t))
                return token;
        }
    }

    Lexer lexer_;
    bool tolerant_;
    std::optional<Token> pending_;
};

}  // namespace

const Node* Node::child(std::string_view name) const {
    for (const Node& node : children) {
        if (equalsIgnoringCase(node.key, name))
            return &node;
    }
    return nullptr;
}

std::vector<const Node*> Node::textsBelow(std::string_view name) const {
    std::vector<const Node*> found;
    for (const Node& node : children) {
        if (node.block) {
            const auto below = node.textsBelow(name);
            found.insert(found.end(), below.begin(), below.end());
        } else if (equalsIgnoringCase(node.key, name)) {
            found.push_back(&node);
        }
    }
    return found;
}

std::variant<Node, ParseError> parse(std::string_view text) {
    Node root;
    root.block = true;
    Parser parser(text, false);
    if (auto error = parser.readBlock(root, 0))
        return *error;
    return root;
}

Node parseTolerantly(std::string_view text) {
    Node root;
    root.block = true;
    Parser parser(text, true);
    parser.readBlock(root, 0);  // every error is read past, but blocks nesting too deep
    return root;
}

}  // namespace morvane::kv
