#include "MonkeyTexts.h"

#include <array>
#include <string_view>

namespace qrv::monkey
{

namespace
{

constexpr std::array<std::string_view, 24> kFunctions = {
    "sin",  "cos",  "exp",     "ln",      "sqrt",   "abs",       "tan",      "arctan",
    "cot",  "sec",  "arcsin",  "arccos",  "cosh",   "sinh",      "tanh",     "coth",
    "csch", "sech", "arccosh", "arctanh", "square", "logbase10", "logbase2", "versine"};
constexpr std::array<std::string_view, 8> kBinaryFunctions = {"power", "logbasen", "power", "logbasen",
                                                              "power", "logbasen", "power", "logbasen"};
constexpr std::array<std::string_view, 8> kConstants = {"pi",    "sqrt2", "ln2",    "deg",
                                                        "light", "avog",  "planck", "goldenmean"};
constexpr std::array<std::string_view, 23> kOperators = {" + ",   " - ",    " * ",   " / ",   " < ",
                                                         " > ",   " <= ",   " >= ",  " = ",   " <> ",
                                                         " div ", " mod ",  " shl ", " shr ", " band ",
                                                         " bor ", " bxor ", " and ", " or ",  " xor ",
                                                         " cmp ", "+",      "*"};

template <std::size_t N>
std::string_view PickOf(TRandom& random, const std::array<std::string_view, N>& items)
{
    return items[random.Below(N)];
}

std::string Digits(TRandom& random, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += char('0' + random.Below(10));
    return text;
}

std::string SmallNumber(TRandom& random, char separator)
{
    std::string text = Digits(random, random.Between(1, 3));
    if (random.Chance(40)) text += separator + Digits(random, random.Between(1, 4));
    if (random.Chance(15)) text += (random.Chance(50) ? "E-" : "e") + std::to_string(random.Between(0, 40));
    return text;
}

} // namespace

std::string RandomFormula(TRandom& random, char separator, int depth)
{
    const int choice = depth <= 0 ? int(random.Below(3)) : int(random.Below(9));
    switch (choice) {
    case 0:
        return "x";
    case 1:
        return SmallNumber(random, separator);
    case 2:
        return std::string(PickOf(random, kConstants));
    case 3:
    case 4:
        return RandomFormula(random, separator, depth - 1) + std::string(PickOf(random, kOperators)) +
               RandomFormula(random, separator, depth - 1);
    case 5:
        return std::string(PickOf(random, kFunctions)) + "(" + RandomFormula(random, separator, depth - 1) +
               ")";
    case 6:
        return std::string(PickOf(random, kBinaryFunctions)) + "(" +
               RandomFormula(random, separator, depth - 1) + ", " +
               RandomFormula(random, separator, depth - 1) + ")";
    case 7:
        return "(" + RandomFormula(random, separator, depth - 1) + ")";
    default:
        return random.Pick({"-", "not ", "bnot "}) + RandomFormula(random, separator, depth - 1);
    }
}

std::string RandomNumber(TRandom& random, char separator)
{
    const char other = separator == '.' ? ',' : '.';
    switch (random.Below(12)) {
    case 0:
        return std::to_string(random.Between(-1000, 1000));
    case 1:
        return std::to_string(random.Between(-5, 5)) + separator + Digits(random, random.Between(1, 3));
    case 2:
        return "1e" + std::to_string(random.Between(-330, 330));
    case 3:
        return "-" + Digits(random, random.Between(1, 3)) + "E" + std::to_string(random.Between(-20, 310));
    case 4:
        return Digits(random, random.Between(20, 400));
    case 5:
        return "1" + std::string(1, other) + "5";
    case 6:
        return random.Pick({" 10", "10 ", "+3", "--1", "0x1F", "1e", "e5", ".", ",", "-", "", "1 000"});
    case 7:
        return random.Pick({"NaN", "INF", "-inf", "nan", "infinity", "pi", "x"});
    case 8:
        return "0" + std::string(1, separator) + std::string(std::size_t(random.Between(1, 30)), '0') + "1";
    case 9:
        return random.Pick(
            {"0", "-0", "1", "0,0001", "0.0001", "1e-300", "4.9e-324", "1.7976931348623157e308"});
    default:
        return std::to_string(random.Between(-50, 50));
    }
}

std::string RandomGarbage(TRandom& random, std::size_t length)
{
    std::string text;
    for (std::size_t i = 0; i < length; ++i) {
        const auto c = random.Chance(90) ? char(32 + random.Below(95)) : char(1 + random.Below(31));
        text += c;
    }
    return text;
}

std::string RandomUnicode(TRandom& random)
{
    static const std::array<std::string_view, 18> pieces = {
        "\xC3\xA9", // é
        "\xC3\x97", // ×
        "\xE2\x88\x9A"
        "x",                                // √x
        "\xCF\x80",                         // π
        "x\xC2\xB2",                        // x²
        "\xE4\xB8\xAD\xE6\x96\x87",         // 中文
        "\xF0\x9F\x98\x80",                 // an emoji
        "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", // right-to-left letters
        "x\xCC\x81",                        // x with a combining accent
        "\xE2\x80\x8B",                     // zero-width space
        "\xEF\xBC\x91\xEF\xBC\x92",         // fullwidth digits
        "\xE2\x88\x92"
        "1",        // minus sign
        "\xC2\xA0", // no-break space
        "\xE2\x80\xAE"
        "x+1",          // right-to-left override
        "\xEF\xBB\xBF", // byte order mark
        "\xC3\xBC"
        "ber",              // über
        "\xE2\x80\x94",     // em dash
        "\xF0\x9D\x91\xA5", // mathematical italic x
    };
    std::string text;
    const int count = random.Between(1, 6);
    for (int i = 0; i < count; ++i) {
        if (random.Chance(40)) text += random.Pick({"x", "1", "+", "(", ")", " ", "*2"});
        text += pieces[random.Below(pieces.size())];
    }
    return text;
}

std::string RandomLongText(TRandom& random, char separator, std::size_t maxLength)
{
    const std::size_t length = 2000 + random.Below(maxLength > 2000 ? maxLength - 2000 : 1);
    std::string text;
    switch (random.Below(5)) {
    case 0: // a long sum
        while (text.size() < length)
            text += "x+";
        return text + "1";
    case 1: { // deep nesting
        const std::size_t depth = length / 5;
        for (std::size_t i = 0; i < depth; ++i)
            text += random.Chance(50) ? "sin(" : "(";
        text += "x";
        text.append(depth, ')');
        return text;
    }
    case 2: // a long number
        return "1" + std::string(1, separator) + std::string(length, '7');
    case 3: // unbalanced parentheses
        return std::string(length, '(') + "x";
    default:
        return RandomGarbage(random, length);
    }
}

std::string RandomFieldText(TRandom& random, char separator)
{
    switch (random.Weighted({30, 30, 12, 10, 5, 13})) {
    case 0:
        return RandomFormula(random, separator);
    case 1:
        return RandomNumber(random, separator);
    case 2:
        return RandomGarbage(random, std::size_t(random.Between(1, 40)));
    case 3:
        return RandomUnicode(random);
    case 4:
        return RandomLongText(random, separator, 60000);
    default:
        return random.Pick(
            {"x", "sin(x)", "x*x", "1/x", "tan(x)", "ln(x)", "sqrt(x)", "0", "10", "1", "-10"});
    }
}

} // namespace qrv::monkey
