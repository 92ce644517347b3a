// The INI text model: lookups and writes as the private-profile functions do
// them, with everything else in the text kept byte for byte.
#include "QrvIniDocument.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

namespace qrv
{
namespace
{

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase>
{
};

TEST_P(IniRead, FindsValue)
{
    const auto& c = GetParam();
    EXPECT_EQ(TIniDocument(c.text).Read(c.section, c.key), c.expected);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(
        ReadCase{"plain", "[A]\nk=v\n", "A", "k", "v"},
        ReadCase{"names_ignore_case", "[Appearance]\nElement_Color=1\n", "APPEARANCE", "element_color", "1"},
        ReadCase{"blanks_trimmed", "  [ A ]  \n  k  =  v w  \n", "A", "k", "v w"},
        ReadCase{"query_names_trimmed", "[A]\nk=v\n", " A ", " k ", "v"},
        ReadCase{"double_quotes_dropped", "[A]\nk=\"v\"\n", "A", "k", "v"},
        ReadCase{"single_quotes_dropped", "[A]\nk='v'\n", "A", "k", "v"},
        ReadCase{"unmatched_quote_kept", "[A]\nk=\"v\n", "A", "k", "\"v"},
        ReadCase{"crlf_line_ends", "[A]\r\nk=v\r\n", "A", "k", "v"},
        ReadCase{"last_line_without_end", "[A]\nk=v", "A", "k", "v"},
        ReadCase{"first_section_wins", "[A]\nk=1\n[a]\nk=2\n", "A", "k", "1"},
        ReadCase{"first_key_wins", "[A]\nk=1\nK=2\n", "A", "k", "1"},
        ReadCase{"key_of_other_section", "[A]\nk=1\n[B]\nj=2\n", "B", "k", std::nullopt},
        ReadCase{"later_duplicate_section_ignored", "[A]\n[B]\n[A]\nk=1\n", "A", "k", std::nullopt},
        ReadCase{"key_before_any_section", "k=1\n[A]\n", "A", "k", std::nullopt},
        ReadCase{"comment_line", "[A]\n;k=1\n", "A", "k", std::nullopt},
        ReadCase{"empty_value", "[A]\nk=\n", "A", "k", ""},
        ReadCase{"equals_in_value", "[A]\nk=a=b\n", "A", "k", "a=b"},
        ReadCase{"missing_section", "[A]\nk=1\n", "Z", "k", std::nullopt},
        ReadCase{"empty_section_name", "[]\nk=1\n", "", "k", std::nullopt},
        ReadCase{"empty_key_name", "[A]\n=1\n", "A", "", std::nullopt},
        ReadCase{"byte_order_mark", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "1"},
        ReadCase{"header_without_bracket", "[A\nk=1\n", "A", "k", std::nullopt},
        ReadCase{"bracket_in_section_name", "[a]b]\nk=1\n", "a]b", "k", "1"},
        ReadCase{"garbled_bytes_around", "\x01\xff\xfe\0zz\n[A]\n\x80\x81=\n\0\nk=1\n\xc3"s, "A", "k", "1"},
        ReadCase{"lone_cr_is_not_a_line_end", "[A]\rk=1\n", "A", "k", std::nullopt}),
    test::RowName{});

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    std::string value;
    std::string after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase>
{
};

TEST_P(IniWrite, ChangesOnlyItsLine)
{
    const auto& c = GetParam();
    TIniDocument document(c.before);
    ASSERT_TRUE(document.Write(c.section, c.key, c.value));
    EXPECT_EQ(document.Text(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"creates_section_and_key", "", "A", "k", "v", "[A]\nk=v\n"},
        WriteCase{"new_section_after_blank_line", "[A]\nk=1\n", "B", "x", "2", "[A]\nk=1\n\n[B]\nx=2\n"},
        WriteCase{"new_section_after_existing_blank", "[A]\nk=1\n\n", "B", "x", "2",
                  "[A]\nk=1\n\n[B]\nx=2\n"},
        WriteCase{"replaces_value_keeps_others", "; head\n[A]\nk = 1\nother=3\n[B]\nk=9\n", "a", "K", "5",
                  "; head\n[A]\nk=5\nother=3\n[B]\nk=9\n"},
        WriteCase{"keeps_spelling_of_key", "[appearance]\nELEMENT_COLOR=1\n", "Appearance", "Element_Color",
                  "2", "[appearance]\nELEMENT_COLOR=2\n"},
        WriteCase{"adds_key_after_last_entry", "[A]\nk=1\n; note\n\n[B]\nx=1\n", "A", "n", "2",
                  "[A]\nk=1\n; note\nn=2\n\n[B]\nx=1\n"},
        WriteCase{"adds_key_to_empty_section", "[A]\n[B]\n", "A", "n", "2", "[A]\nn=2\n[B]\n"},
        WriteCase{"keeps_crlf", "[A]\r\nk=1\r\n", "A", "n", "2", "[A]\r\nk=1\r\nn=2\r\n"},
        WriteCase{"ends_unterminated_last_line", "[A]\nk=1", "A", "n", "2", "[A]\nk=1\nn=2\n"},
        WriteCase{"keeps_mixed_line_ends", "[A]\r\nk=1\nj=2\r\n", "A", "j", "3", "[A]\r\nk=1\nj=3\r\n"},
        WriteCase{"keeps_unknown_sections_in_order", "[Z]\nz=1\n[A]\nk=1\n[Y]\ny=1\n", "A", "k", "2",
                  "[Z]\nz=1\n[A]\nk=2\n[Y]\ny=1\n"},
        WriteCase{"keeps_byte_order_mark", "\xEF\xBB\xBF[A]\nk=1\n", "A", "k", "2", "\xEF\xBB\xBF[A]\nk=2\n"},
        WriteCase{"line_breaks_in_value_become_blanks", "[A]\n", "A", "k", "a\r\nb=c", "[A]\nk=a  b=c\n"},
        WriteCase{"nul_in_value_becomes_blank", "", "A", "k", std::string("a\0b", 3), "[A]\nk=a b\n"},
        WriteCase{"garbled_text_kept", "\x01\xff\n[A]\n\x80=\x81\n", "A", "k", "1",
                  "\x01\xff\n[A]\n\x80=\x81\nk=1\n"},
        WriteCase{"adds_key_before_blank_lines_at_end", "[A]\nk=1\n\n \n", "A", "n", "2",
                  "[A]\nk=1\nn=2\n\n \n"},
        WriteCase{"adds_key_to_first_of_two_sections", "[A]\nk=1\n\n[a]\nj=2\n", "a", "n", "2",
                  "[A]\nk=1\nn=2\n\n[a]\nj=2\n"},
        WriteCase{"changes_key_of_first_of_two_sections", "[A]\n[a]\nk=1\n", "A", "k", "2",
                  "[A]\nk=2\n[a]\nk=1\n"},
        WriteCase{"new_section_after_blank_last_line", "[A]\nk=1\n  ", "B", "x", "2",
                  "[A]\nk=1\n  \n[B]\nx=2\n"},
        WriteCase{"new_section_in_blank_text", "\n\n", "A", "k", "v", "\n\n[A]\nk=v\n"},
        WriteCase{"line_end_of_blank_first_line", "\r\n[A]\nk=1\n", "A", "n", "2", "\r\n[A]\nk=1\nn=2\r\n"}),
    test::RowName{});

struct RefusedCase {
    const char* name;
    const char* section;
    const char* key;
};

class IniWriteRefused : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(IniWriteRefused, LeavesTextUnchanged)
{
    const std::string text = "[A]\nk=1\n";
    TIniDocument document(text);
    EXPECT_FALSE(document.Write(GetParam().section, GetParam().key, "v"));
    EXPECT_EQ(document.Text(), text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWriteRefused,
    ::testing::Values(RefusedCase{"empty_section", "", "k"}, RefusedCase{"blank_section", "  ", "k"},
                      RefusedCase{"empty_key", "A", ""}, RefusedCase{"key_with_equals", "A", "a=b"},
                      RefusedCase{"key_like_section", "A", "[B]"}, RefusedCase{"key_like_comment", "A", ";k"},
                      RefusedCase{"key_with_line_break", "A", "k\nj"},
                      RefusedCase{"section_with_line_break", "A\n[B", "k"}),
    test::RowName{});

TEST(IniDocument, WrittenValuesReadBack)
{
    TIniDocument document("; settings\n");
    const char* values[] = {"", "plain", "with = sign", "ümlaut", "C:\\path\\file.txt", "-2147483648"};
    for (const char* value : values) {
        ASSERT_TRUE(document.Write("S", "k", value));
        EXPECT_EQ(document.Read("s", "K"), value) << "value '" << value << "'";
    }
    EXPECT_EQ(document.Text(), "; settings\n\n[S]\nk=-2147483648\n");
}

// A settings file of many sections read and written key by key: the
// document parses each line once, whatever the number of reads and writes,
// so the work grows with the file's size and not with its square (walking
// the text for every key parsed about 5 * 10^8 lines here).
TEST(IniDocument, WorkGrowsLinearlyWithTheFile)
{
    constexpr int kSections = 1000;
    constexpr int kKeys = 20;
    const auto sectionName = [](int s) { return "Section" + std::to_string(s); };
    const auto keyName = [](int k) { return "Key" + std::to_string(k); };
    std::string text = "; many sections\n";
    std::string expected = text;
    for (int s = 0; s < kSections; ++s) {
        text += "[" + sectionName(s) + "]\n";
        expected += "[" + sectionName(s) + "]\n";
        for (int k = 0; k < kKeys; ++k) {
            text += keyName(k) + " = " + std::to_string(s * kKeys + k) + "\n";
            expected += keyName(k) + "=" + std::to_string(-(s * kKeys + k)) + "\n";
        }
        text += "\n";
        expected += "Added=" + std::to_string(s) + "\n\n";
    }
    for (int s = 0; s < kSections; ++s)
        // The text's blank last line separates the first new section.
        expected += (s > 0 ? "\n[New" : "[New") + std::to_string(s) + "]\nKey=" + std::to_string(s) + "\n";
    const std::size_t lines = std::size_t(std::count(text.begin(), text.end(), '\n'));

    TIniDocument document(text);
    EXPECT_EQ(document.LinesParsed(), lines);
    for (int s = 0; s < kSections; ++s)
        for (int k = 0; k < kKeys; ++k)
            ASSERT_EQ(document.Read(sectionName(s), keyName(k)), std::to_string(s * kKeys + k));
    EXPECT_EQ(document.LinesParsed(), lines) << "reads parse nothing";

    std::size_t writes = 0;
    for (int s = 0; s < kSections; ++s) {
        for (int k = 0; k < kKeys; ++k, ++writes)
            ASSERT_TRUE(document.Write(sectionName(s), keyName(k), std::to_string(-(s * kKeys + k))));
        ASSERT_TRUE(document.Write(sectionName(s), "Added", std::to_string(s)));
        ++writes;
    }
    for (int s = 0; s < kSections; ++s, ++writes)
        ASSERT_TRUE(document.Write("New" + std::to_string(s), "Key", std::to_string(s)));
    EXPECT_LE(document.LinesParsed(), lines + 2 * writes);
    EXPECT_EQ(document.Text(), expected);
    EXPECT_EQ(document.Read(sectionName(kSections - 1), "Added"), std::to_string(kSections - 1));
}

} // namespace
} // namespace qrv
