#include "QrvIniValues.h"

#include "QrvNumberText.h"
#include "QrvSettingsFile.h"

#include <charconv>
#include <cmath>

namespace qrv
{

namespace
{

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::int32_t> ParseHex(std::string_view digits)
{
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : digits) {
        int digit = HexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + std::uint64_t(digit);
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ParseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

} // namespace

std::optional<std::int32_t> ParseInteger(std::string_view text)
{
    auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);
    if (text.front() == '$' || text.front() == 'x' || text.front() == 'X') return ParseHex(text.substr(1));
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2));
    return ParseDecimal(text);
}

std::optional<double> ParseFloat(std::string_view text, char decimalSeparator)
{
    auto value = TextToFloat(text, Blanks::Ignored, decimalSeparator);
    if (!value) return std::nullopt;
    double result = static_cast<double>(*value);
    if (!std::isfinite(result)) return std::nullopt;
    return result;
}

std::string FormatIniFloat(double value)
{
    char buffer[400];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 8);
    if (ec != std::errc()) return "0.00000000";
    return std::string(buffer, end);
}

std::string FormatDisplayFloat(double value, std::string_view formatText, char decimalSeparator)
{
    std::chars_format style = std::chars_format::general;
    int precision = 6;
    if (formatText.size() >= 3 && formatText.substr(0, 2) == "%.") {
        char letter = formatText.back();
        if (letter == 'e')
            style = std::chars_format::scientific;
        else if (letter == 'f')
            style = std::chars_format::fixed;
        auto digits = formatText.substr(2, formatText.size() - 3);
        int parsed = 0;
        auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
        if (ec == std::errc() && ptr == digits.data() + digits.size() && parsed >= 0 && parsed <= 99)
            precision = parsed;
    }
    char buffer[512];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, style, precision);
    if (ec != std::errc()) return {};
    std::string text(buffer, end);
    for (char& c : text)
        if (c == '.') c = decimalSeparator;
    return text;
}

std::int32_t ReadIniInteger(std::string_view section, std::string_view key, std::int32_t defaultValue)
{
    auto* file = SettingsFile();
    if (!file) return defaultValue;
    auto value = ParseInteger(file->ReadString(section, key, ""));
    return value ? *value : defaultValue;
}

bool ReadIniBool(std::string_view section, std::string_view key, bool defaultValue)
{
    return ReadIniInteger(section, key, defaultValue ? 1 : 0) != 0;
}

std::string ReadIniString(std::string_view section, std::string_view key, std::string_view defaultValue)
{
    auto* file = SettingsFile();
    if (!file) return std::string(defaultValue);
    return file->ReadString(section, key, defaultValue);
}

double ReadIniFloat(std::string_view section, std::string_view key, double defaultValue)
{
    auto* file = SettingsFile();
    if (!file) return defaultValue;
    auto value = ParseFloat(file->ReadString(section, key, ""), '.');
    return value ? *value : defaultValue;
}

void WriteIniInteger(std::string_view section, std::string_view key, std::int32_t value)
{
    WriteIniString(section, key, std::to_string(value));
}

void WriteIniBool(std::string_view section, std::string_view key, bool value)
{
    WriteIniString(section, key, value ? "1" : "0");
}

void WriteIniString(std::string_view section, std::string_view key, std::string_view value)
{
    if (auto* file = SettingsFile()) file->WriteString(section, key, value);
}

void WriteIniFloat(std::string_view section, std::string_view key, double value)
{
    WriteIniString(section, key, FormatIniFloat(value));
}

} // namespace qrv
