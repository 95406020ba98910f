#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace morvane::i18n {

// A catalog's rule for which form a number takes: the C expression of its Plural-Forms header
// ("n%10==1 && n%100!=11 ? 0 : ..."), evaluated here so that a new language needs no code. Numbers,
// n, parentheses, ! * / % + - < > <= >= == != && || and ?: with C's precedence, on unsigned
// numbers as GNU gettext evaluates them; a division by zero gives 0 instead of a crash.
class PluralRule {
  public:
    // The rule of `expression`, or none when it is not one (or nests deeper than any language
    // needs).
    static std::optional<PluralRule> parse(std::string_view expression);

    // Germanic languages' rule, English's: n != 1.
    static PluralRule germanic();

    std::uint64_t evaluate(std::uint64_t n) const;

  private:
    enum class Op : std::uint8_t {
        Number,
        N,
        Not,
        Mul,
        Div,
        Mod,
        Add,
        Sub,
        Less,
        Greater,
        LessEq,
        GreaterEq,
        Eq,
        NotEq,
        And,
        Or,
        Choose
    };
    struct Node {
        Op op;
        std::uint64_t value = 0;     // for Number
        int a = -1, b = -1, c = -1;  // operands, by their index in nodes_
    };
    class Parser;

    std::uint64_t at(int node, std::uint64_t n) const;

    std::vector<Node> nodes_;
    int root_ = -1;
};

}  // namespace morvane::i18n
