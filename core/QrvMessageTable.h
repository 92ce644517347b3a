// The one mechanism behind every table of texts (the program's error
// messages, the settings texts, the printer errors): an enum of keys ending
// in Count_, and a table of entries each naming its key. The table is
// checked while it is compiled: entry i must carry key i and a text, and
// every key needs its entry, so a reordered, missing or empty entry stops
// the build.
#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace qrv
{

// A text with its placeholders replaced, in order, by the arguments: "%s"
// and "%d" both take the next argument as given (callers pass numbers
// already converted to text); "%%" is a literal percent sign. A placeholder
// beyond the arguments is left out.
std::string FormatPattern(std::string_view pattern, std::initializer_list<std::string_view> args);

template <typename Key> struct TMessageEntry {
    Key Id;
    std::string_view Text;
};

// What is wrong with a list of entries for a table of `count` keys.
enum class TMessageTableFault { None, WrongCount, OutOfOrder, EmptyText };

template <typename Key>
constexpr TMessageTableFault CheckMessageEntries(std::initializer_list<TMessageEntry<Key>> entries,
                                                 std::size_t count)
{
    if (entries.size() != count) return TMessageTableFault::WrongCount;
    std::size_t i = 0;
    for (const auto& entry : entries) {
        if (static_cast<std::size_t>(entry.Id) != i++) return TMessageTableFault::OutOfOrder;
        if (entry.Text.empty()) return TMessageTableFault::EmptyText;
    }
    return TMessageTableFault::None;
}

template <typename Key> class TMessageTable
{
public:
    static constexpr std::size_t kCount = static_cast<std::size_t>(Key::Count_);

    // Compile-time only: a faulty list of entries is not a constant
    // expression, so the table's definition does not compile.
    consteval TMessageTable(std::initializer_list<TMessageEntry<Key>> entries)
    {
        if (CheckMessageEntries(entries, kCount) != TMessageTableFault::None)
            throw "every key needs one entry with a text, in the order of the keys";
        std::size_t i = 0;
        for (const auto& entry : entries)
            texts_[i++] = entry.Text;
    }

    // The raw text, placeholders still in it.
    constexpr std::string_view Text(Key id) const { return texts_.at(static_cast<std::size_t>(id)); }
    // The text with its placeholders filled by FormatPattern.
    std::string Format(Key id, std::initializer_list<std::string_view> args) const
    {
        return FormatPattern(Text(id), args);
    }

private:
    std::array<std::string_view, kCount> texts_{};
};

} // namespace qrv
