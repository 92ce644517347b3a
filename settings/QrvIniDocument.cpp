#include "QrvIniDocument.h"

namespace qrv
{

namespace
{

constexpr std::string_view kBlanks = " \t\r\v\f";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// A value read from a key line loses one pair of matching quotes around it.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

} // namespace

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

std::string_view TrimBlanks(std::string_view text)
{
    auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

TIniDocument::TIniDocument(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos) {
            lines_.push_back({std::string(text.substr(start)), ""});
            break;
        }
        bool crlf = end > start && text[end - 1] == '\r';
        auto textEnd = crlf ? end - 1 : end;
        lines_.push_back({std::string(text.substr(start, textEnd - start)), crlf ? "\r\n" : "\n"});
        start = end + 1;
    }
}

TIniDocument::TParsed TIniDocument::Parse(std::size_t index) const
{
    std::string_view line = lines_[index].text;
    if (index == 0 && line.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        line.remove_prefix(kByteOrderMark.size());
    line = TrimBlanks(line);
    TParsed parsed;
    if (line.empty() || line.front() == ';') return parsed;
    if (line.front() == '[') {
        auto close = line.rfind(']');
        if (close != std::string_view::npos) {
            parsed.kind = Kind::Section;
            parsed.name = TrimBlanks(line.substr(1, close - 1));
        }
        return parsed;
    }
    auto equals = line.find('=');
    if (equals != std::string_view::npos) {
        parsed.kind = Kind::Key;
        parsed.name = TrimBlanks(line.substr(0, equals));
        parsed.value = TrimBlanks(line.substr(equals + 1));
    }
    return parsed;
}

std::optional<std::size_t> TIniDocument::FindSection(std::string_view section) const
{
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        auto parsed = Parse(i);
        if (parsed.kind == Kind::Section && SameName(parsed.name, section)) return i;
    }
    return std::nullopt;
}

std::optional<std::string> TIniDocument::Read(std::string_view section, std::string_view key) const
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty()) return std::nullopt;
    auto header = FindSection(section);
    if (!header) return std::nullopt;
    for (std::size_t i = *header + 1; i < lines_.size(); ++i) {
        auto parsed = Parse(i);
        if (parsed.kind == Kind::Section) break;
        if (parsed.kind == Kind::Key && SameName(parsed.name, key)) return std::string(Unquote(parsed.value));
    }
    return std::nullopt;
}

std::string TIniDocument::NewLineEnd() const
{
    // New lines follow the text's own convention, judged by its first line.
    if (!lines_.empty() && !lines_.front().eol.empty()) return lines_.front().eol;
    return "\n";
}

bool TIniDocument::Write(std::string_view section, std::string_view key, std::string_view value)
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key)) return false;
    // A key that would read back as a section header, a comment or another
    // key cannot be stored.
    if (key.find('=') != std::string_view::npos || key.front() == '[' || key.front() == ';') return false;

    std::string safeValue(value);
    for (char& c : safeValue)
        if (c == '\r' || c == '\n' || c == '\0') c = ' ';

    const std::string eol = NewLineEnd();
    auto header = FindSection(section);
    if (!header) {
        if (!lines_.empty()) {
            if (lines_.back().eol.empty()) lines_.back().eol = eol;
            if (!TrimBlanks(lines_.back().text).empty()) lines_.push_back({"", eol});
        }
        lines_.push_back({"[" + std::string(section) + "]", eol});
        lines_.push_back({std::string(key) + "=" + safeValue, eol});
        return true;
    }

    std::size_t lastEntry = *header;
    for (std::size_t i = *header + 1; i < lines_.size(); ++i) {
        auto parsed = Parse(i);
        if (parsed.kind == Kind::Section) break;
        if (parsed.kind == Kind::Key && SameName(parsed.name, key)) {
            lines_[i].text = std::string(parsed.name) + "=" + safeValue;
            return true;
        }
        if (!TrimBlanks(lines_[i].text).empty()) lastEntry = i;
    }
    if (lines_[lastEntry].eol.empty()) lines_[lastEntry].eol = eol;
    lines_.insert(lines_.begin() + std::ptrdiff_t(lastEntry + 1), {std::string(key) + "=" + safeValue, eol});
    return true;
}

std::string TIniDocument::Text() const
{
    std::string out;
    for (const auto& line : lines_) {
        out += line.text;
        out += line.eol;
    }
    return out;
}

} // namespace qrv
