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

// The index's spelling of a name: SameName holds for two names exactly when
// their lowered spellings are equal.
std::string Lowered(std::string_view name)
{
    std::string lowered(name);
    for (char& c : lowered)
        c = LowerAscii(c);
    return lowered;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool IsBlank(std::string_view text)
{
    return TrimBlanks(text).empty();
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
            AddLine({std::string(text.substr(start)), ""}, start == 0);
            break;
        }
        bool crlf = end > start && text[end - 1] == '\r';
        auto textEnd = crlf ? end - 1 : end;
        AddLine({std::string(text.substr(start, textEnd - start)), crlf ? "\r\n" : "\n"}, start == 0);
        start = end + 1;
    }
    SeparateTrailingBlanks();
}

TIniDocument::TParsed TIniDocument::ParseLine(TLine& line, bool first)
{
    ++linesParsed_;
    line.valueStart = line.valueSize = 0;
    std::string_view view = line.text;
    if (first && view.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        view.remove_prefix(kByteOrderMark.size());
    view = TrimBlanks(view);
    TParsed parsed;
    if (view.empty() || view.front() == ';') return parsed;
    if (view.front() == '[') {
        auto close = view.rfind(']');
        if (close != std::string_view::npos) {
            parsed.kind = Kind::Section;
            parsed.name = TrimBlanks(view.substr(1, close - 1));
        }
        return parsed;
    }
    auto equals = view.find('=');
    if (equals != std::string_view::npos) {
        parsed.kind = Kind::Key;
        parsed.name = TrimBlanks(view.substr(0, equals));
        const std::string_view value = TrimBlanks(view.substr(equals + 1));
        // An empty value may be a view of nothing; it starts anywhere.
        line.valueStart = value.empty() ? 0 : std::size_t(value.data() - line.text.data());
        line.valueSize = value.size();
    }
    return parsed;
}

void TIniDocument::AddLine(TLine line, bool first)
{
    const TParsed parsed = ParseLine(line, first);
    if (parsed.kind == Kind::Section) {
        SeparateTrailingBlanks();
        sectionIndex_.emplace(Lowered(parsed.name), sections_.size());
        sections_.emplace_back();
    } else if (parsed.kind == Kind::Key && sections_.size() > 1) {
        // Keys before the first header belong to no section that can be
        // named; only the first of a name counts.
        sections_.back().keys.emplace(Lowered(parsed.name), sections_.back().lines.size());
    }
    sections_.back().lines.push_back(std::move(line));
}

void TIniDocument::SeparateTrailingBlanks()
{
    TSection& section = sections_.back();
    std::size_t end = section.lines.size();
    while (end > 0 && IsBlank(section.lines[end - 1].text))
        --end;
    section.blanks.insert(section.blanks.begin(),
                          std::make_move_iterator(section.lines.begin() + std::ptrdiff_t(end)),
                          std::make_move_iterator(section.lines.end()));
    section.lines.resize(end);
}

const TIniDocument::TLine* TIniDocument::FirstLine() const
{
    for (const TSection& section : sections_) {
        if (!section.lines.empty()) return &section.lines.front();
        if (!section.blanks.empty()) return &section.blanks.front();
    }
    return nullptr;
}

TIniDocument::TLine* TIniDocument::LastLine()
{
    for (auto section = sections_.rbegin(); section != sections_.rend(); ++section) {
        if (!section->blanks.empty()) return &section->blanks.back();
        if (!section->lines.empty()) return &section->lines.back();
    }
    return nullptr;
}

std::optional<std::string> TIniDocument::Read(std::string_view section, std::string_view key) const
{
    section = TrimBlanks(section);
    key = TrimBlanks(key);
    if (section.empty() || key.empty()) return std::nullopt;
    const auto found = sectionIndex_.find(Lowered(section));
    if (found == sectionIndex_.end()) return std::nullopt;
    const TSection& lines = sections_[found->second];
    const auto entry = lines.keys.find(Lowered(key));
    if (entry == lines.keys.end()) return std::nullopt;
    const TLine& line = lines.lines[entry->second];
    return std::string(Unquote(std::string_view(line.text).substr(line.valueStart, line.valueSize)));
}

std::string TIniDocument::NewLineEnd() const
{
    // New lines follow the text's own convention, judged by its first line.
    const TLine* first = FirstLine();
    if (first && !first->eol.empty()) return first->eol;
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
    const auto found = sectionIndex_.find(Lowered(section));
    if (found == sectionIndex_.end()) {
        const bool first = FirstLine() == nullptr;
        if (TLine* last = LastLine()) {
            if (last->eol.empty()) last->eol = eol;
            if (!IsBlank(last->text)) sections_.back().blanks.push_back({"", eol});
        }
        AddLine({"[" + std::string(section) + "]", eol}, first);
        AddLine({std::string(key) + "=" + safeValue, eol}, false);
        return true;
    }

    TSection& lines = sections_[found->second];
    const auto entry = lines.keys.find(Lowered(key));
    if (entry != lines.keys.end()) {
        // The key keeps its spelling in the file.
        TLine& line = lines.lines[entry->second];
        line.text = std::string(ParseLine(line, false).name) + "=" + safeValue;
        ParseLine(line, false);
        return true;
    }
    // The new key follows the section's last line that is not blank.
    TLine& last = lines.lines.back();
    if (last.eol.empty()) last.eol = eol;
    TLine line{std::string(key) + "=" + safeValue, eol};
    ParseLine(line, false);
    lines.keys.emplace(Lowered(key), lines.lines.size());
    lines.lines.push_back(std::move(line));
    return true;
}

std::string TIniDocument::Text() const
{
    std::size_t size = 0;
    for (const TSection& section : sections_)
        for (const auto* part : {&section.lines, &section.blanks})
            for (const TLine& line : *part)
                size += line.text.size() + line.eol.size();
    std::string out;
    out.reserve(size);
    for (const TSection& section : sections_)
        for (const auto* part : {&section.lines, &section.blanks})
            for (const TLine& line : *part) {
                out += line.text;
                out += line.eol;
            }
    return out;
}

} // namespace qrv
