// An INI text held in memory, read and changed the way the private-profile
// functions of the original platform do it, so that a settings file written
// by hand or by an older version reads the same:
//
//   - a line whose first non-blank character is "[" and that holds a "]"
//     opens a section; the name is the text between the "[" and the last
//     "]", blanks trimmed;
//   - a line with a "=" inside a section holds a key: the key is the text
//     before the first "=", the value the text after it, both with blanks
//     trimmed; one pair of matching quotes (" or ') around the value is
//     dropped when it is read;
//   - a line whose first non-blank character is ";" is a comment;
//   - section and key names compare without regard to ASCII letter case; the
//     first matching section and the first matching key in it win;
//   - lines before the first section belong to no section that can be named;
//   - a UTF-8 byte order mark at the start of the text is ignored.
//
// Writing a key changes only its own line (keeping the key's spelling in the
// file) or inserts one line; every other byte of the text (comments, unknown
// sections and keys, their order, blank lines, line ends) stays as it was.
//
// The text is parsed once when it is read, into sections with an index of
// their names and of their keys' names: a read or a write costs the length
// of the names and the value, never a walk through the text, so reading or
// writing every key of a file costs time in proportion to its size.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qrv
{

class TIniDocument
{
public:
    TIniDocument() = default;
    explicit TIniDocument(std::string_view text);

    // The value stored under the key, or nothing when the section or the key
    // is missing or a name is empty.
    std::optional<std::string> Read(std::string_view section, std::string_view key) const;

    // Stores "key=value" in the section, creating the section (at the end of
    // the text) and the key (after the section's last entry) when missing.
    // Line breaks and NUL characters in the value become blanks, so a value
    // can never add lines of its own to the text. Returns false and changes
    // nothing when a name is empty or cannot be written on one line.
    bool Write(std::string_view section, std::string_view key, std::string_view value);

    // The whole text, byte for byte as read except for written keys.
    std::string Text() const;

    // How many times the document has worked out what a line holds: once
    // for every line of the text it was made from, and a few times for each
    // write (for the lines it writes). Reads parse nothing. It measures the
    // document's work for tests and benchmarks.
    std::size_t LinesParsed() const { return linesParsed_; }

private:
    struct TLine {
        std::string text; // without its line end
        std::string eol;  // "\n", "\r\n" or "" for a last line without one
        // A key line's value (blanks trimmed, quotes kept) within text.
        std::size_t valueStart = 0;
        std::size_t valueSize = 0;
    };
    // A section header and the lines up to the next one; the lines before
    // the first header form a section without a name. The blank lines at the
    // section's end are kept apart, since a new key goes before them.
    struct TSection {
        std::vector<TLine> lines;  // the header, then up to the last line that is not blank
        std::vector<TLine> blanks; // the blank lines after that
        // Lower-cased key name -> the first line of lines holding that key.
        std::unordered_map<std::string, std::size_t> keys;
    };

    // Appends a line to the last section (or opens a section when the line
    // is a header) and indexes it. first: the line is the text's first.
    void AddLine(TLine line, bool first);
    // Parses the line, records a key's value within it, and tells what it is.
    enum class Kind { Other, Section, Key };
    struct TParsed {
        Kind kind = Kind::Other;
        std::string_view name; // section or key name
    };
    TParsed ParseLine(TLine& line, bool first);
    // Moves the blank lines at the end of the last section to its blanks.
    void SeparateTrailingBlanks();
    const TLine* FirstLine() const;
    TLine* LastLine();
    std::string NewLineEnd() const;

    // sections_[0] holds the lines before the first header.
    std::vector<TSection> sections_ = std::vector<TSection>(1);
    // Lower-cased section name -> the first section of that name.
    std::unordered_map<std::string, std::size_t> sectionIndex_;
    std::size_t linesParsed_ = 0;
};

// ASCII case-insensitive comparison of two names.
bool SameName(std::string_view a, std::string_view b);

// The text without leading and trailing blanks (space, tab, CR, VT, FF).
std::string_view TrimBlanks(std::string_view text);

} // namespace qrv
