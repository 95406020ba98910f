#include "platform/translate/PluralRule.h"

#include <cctype>
#include <iterator>
#include <string_view>
#include <utility>

namespace morvane::i18n {

// Recursive descent over C's grammar, one function per level of precedence, loosest first.
class PluralRule::Parser {
  public:
    explicit Parser(std::string_view text) : text_(text) {}

    std::optional<PluralRule> rule() {
        const int root = choice();
        skipSpace();
        if (failed_ || at_ != text_.size())
            return std::nullopt;
        rule_.root_ = root;
        return std::move(rule_);
    }

  private:
    // Deeper than any language's rule; keeps a broken catalog from exhausting the stack.
    static constexpr int kMaxDepth = 64;
    static constexpr std::size_t kMaxNodes = 512;

    int choice() {
        if (++depth_ > kMaxDepth)
            return fail();
        int node = binary(0);
        if (take("?")) {
            const int yes = choice();
            node = take(":") ? add(Op::Choose, node, yes, choice()) : fail();
        }
        --depth_;
        return node;
    }
    // The binary operators, loosest first; within a level, a longer token before its prefix.
    static constexpr std::pair<std::string_view, Op> kLevels[][4] = {
        {{"||", Op::Or}},
        {{"&&", Op::And}},
        {{"==", Op::Eq}, {"!=", Op::NotEq}},
        {{"<=", Op::LessEq}, {">=", Op::GreaterEq}, {"<", Op::Less}, {">", Op::Greater}},
        {{"+", Op::Add}, {"-", Op::Sub}},
        {{"*", Op::Mul}, {"/", Op::Div}, {"%", Op::Mod}},
    };

    // The operands of level `level` joined by its operators, from the left.
    int binary(std::size_t level) {
        if (level == std::size(kLevels))
            return unary();
        int node = binary(level + 1);
        for (bool joined = true; joined && !failed_;) {
            joined = false;
            for (const auto& [token, op] : kLevels[level]) {
                if (!token.empty() && take(token)) {
                    node = add(op, node, binary(level + 1));
                    joined = true;
                    break;
                }
            }
        }
        return node;
    }
    int unary() {
        if (take("!")) {
            if (++depth_ > kMaxDepth)
                return fail();
            const int node = add(Op::Not, unary());
            --depth_;
            return node;
        }
        return primary();
    }
    int primary() {
        skipSpace();
        if (take("(")) {
            const int node = choice();
            return take(")") ? node : fail();
        }
        if (at_ < text_.size() && text_[at_] == 'n') {
            ++at_;
            return add(Op::N);
        }
        if (at_ >= text_.size() || !std::isdigit(static_cast<unsigned char>(text_[at_])))
            return fail();
        std::uint64_t value = 0;
        while (at_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[at_])))
            value = value * 10 + static_cast<std::uint64_t>(text_[at_++] - '0');
        const int node = add(Op::Number);
        if (node >= 0)
            rule_.nodes_[static_cast<std::size_t>(node)].value = value;
        return node;
    }

    void skipSpace() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_])))
            ++at_;
    }
    bool take(std::string_view token) {
        skipSpace();
        if (text_.substr(at_, token.size()) != token)
            return false;
        at_ += token.size();
        return true;
    }
    int add(Op op, int a = -1, int b = -1, int c = -1) {
        if (failed_ || rule_.nodes_.size() >= kMaxNodes)
            return fail();
        rule_.nodes_.push_back({op, 0, a, b, c});
        return static_cast<int>(rule_.nodes_.size()) - 1;
    }
    int fail() {
        failed_ = true;
        return -1;
    }

    std::string_view text_;
    std::size_t at_ = 0;
    int depth_ = 0;
    bool failed_ = false;
    PluralRule rule_;
};

std::optional<PluralRule> PluralRule::parse(std::string_view expression) {
    return Parser(expression).rule();
}

PluralRule PluralRule::germanic() {
    return *parse("n != 1");
}

std::uint64_t PluralRule::evaluate(std::uint64_t n) const {
    return at(root_, n);
}

std::uint64_t PluralRule::at(int index, std::uint64_t n) const {
    const Node& node = nodes_[static_cast<std::size_t>(index)];
    const auto a = [&] { return at(node.a, n); };
    const auto b = [&] { return at(node.b, n); };
    switch (node.op) {
        case Op::Number:
            return node.value;
        case Op::N:
            return n;
        case Op::Not:
            return !a();
        case Op::Mul:
            return a() * b();
        case Op::Div: {
            const std::uint64_t divisor = b();
            return divisor == 0 ? 0 : a() / divisor;
        }
        case Op::Mod: {
            const std::uint64_t divisor = b();
            return divisor == 0 ? 0 : a() % divisor;
        }
        case Op::Add:
            return a() + b();
        case Op::Sub:
            return a() - b();
        case Op::Less:
            return a() < b();
        case Op::Greater:
            return a() > b();
        case Op::LessEq:
            return a() <= b();
        case Op::GreaterEq:
            return a() >= b();
        case Op::Eq:
            return a() == b();
        case Op::NotEq:
            return a() != b();
        case Op::And:
            return a() && b();
        case Op::Or:
            return a() || b();
        case Op::Choose:
            return a() ? b() : at(node.c, n);
    }
    return 0;
}

}  // namespace morvane::i18n
