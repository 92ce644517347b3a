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
#pragma once

#include <optional>
#include <string>
#include <string_view>
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

private:
    struct TLine {
        std::string text; // without its line end
        std::string eol;  // "\n", "\r\n" or "" for a last line without one
    };
    enum class Kind { Other, Section, Key };
    struct TParsed {
        Kind kind = Kind::Other;
        std::string_view name;  // section or key name
        std::string_view value; // key value
    };

    TParsed Parse(std::size_t index) const;
    // Index of the first line of the matching section's header, if any.
    std::optional<std::size_t> FindSection(std::string_view section) const;
    std::string NewLineEnd() const;

    std::vector<TLine> lines_;
};

// ASCII case-insensitive comparison of two names.
bool SameName(std::string_view a, std::string_view b);

// The text without leading and trailing blanks (space, tab, CR, VT, FF).
std::string_view TrimBlanks(std::string_view text);

} // namespace qrv
