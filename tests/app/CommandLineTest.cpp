// Reading the command line: the options that are accepted and the usage
// errors, each row named.
#include "QrvCommandLine.h"

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

using Args = std::vector<std::string>;

TEST(CommandLine, EmptyMeansTheWindowWithStartupFields)
{
    TCommandLine cl = ParseCommandLine({});
    EXPECT_FALSE(cl.IsBatch());
    EXPECT_FALSE(cl.Formula || cl.XMin || cl.XMax || cl.Step || cl.Mode || cl.Color || cl.Size);
}

TEST(CommandLine, FieldsAreTakenAsTyped)
{
    TCommandLine cl = ParseCommandLine(
        {"--formula", " sin(x) * 2 ", "--xmin", "-5", "--xmax=1E3", "--step", "-0,5", "--table", "-"});
    EXPECT_EQ(cl.Formula, " sin(x) * 2 ");
    EXPECT_EQ(cl.XMin, "-5"); // a value may start with "-"
    EXPECT_EQ(cl.XMax, "1E3");
    EXPECT_EQ(cl.Step, "-0,5");
    EXPECT_EQ(cl.Table, "-");
    EXPECT_TRUE(cl.IsBatch());
}

TEST(CommandLine, OptionValues)
{
    struct Row {
        const char* name;
        Args args;
        std::function<bool(const TCommandLine&)> check;
    };
    const Row rows[] = {
        {"degrees", {"--mode", "degrees"}, [](auto& c) { return c.Mode == TAngleMode::Degrees; }},
        {"grads any case", {"--mode=GRADS"}, [](auto& c) { return c.Mode == TAngleMode::Grads; }},
        {"radians", {"--mode", "radians"}, [](auto& c) { return c.Mode == TAngleMode::Radians; }},
        {"comma", {"--decimal-separator", ","}, [](auto& c) { return c.DecimalSeparator == ','; }},
        {"colour decimal", {"--color", "255"}, [](auto& c) { return c.Color == 255u; }},
        {"colour hex", {"--color", "0x00FF0000"}, [](auto& c) { return c.Color == 0xFF0000u; }},
        {"colour dollar", {"--color", "$FF00"}, [](auto& c) { return c.Color == 0xFF00u; }},
        {"size",
         {"--size", "640x480"},
         [](auto& c) {
             return c.Size == TImageSize{640, 480};
         }},
        {"image png",
         {"--image", "out/a.PNG"},
         [](auto& c) { return c.ImageFormat == TImageFormat::Png && c.IsBatch(); }},
        {"image emf", {"--image", "a.emf"}, [](auto& c) { return c.ImageFormat == TImageFormat::Emf; }},
        {"settings", {"--settings", "/tmp/q.ini"}, [](auto& c) { return c.Settings == "/tmp/q.ini"; }},
        {"last one wins", {"--xmin", "1", "--xmin", "2"}, [](auto& c) { return c.XMin == "2"; }},
        {"help", {"--help"}, [](auto& c) { return c.Help; }},
        {"version", {"--version"}, [](auto& c) { return c.Version; }},
        {"empty formula", {"--formula", ""}, [](auto& c) { return c.Formula == ""; }},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(row.check(ParseCommandLine(row.args))) << row.name;
}

TEST(CommandLine, UsageErrors)
{
    struct Row {
        const char* name;
        Args args;
    };
    const Row rows[] = {
        {"unknown option", {"--colour", "1"}},
        {"positional", {"sin(x)"}},
        {"missing value", {"--xmin"}},
        {"bad mode", {"--mode", "turns"}},
        {"separator two chars", {"--decimal-separator", ".."}},
        {"separator digit", {"--decimal-separator", "5"}},
        {"separator minus", {"--decimal-separator", "-"}},
        {"separator E", {"--decimal-separator", "E"}},
        {"separator blank", {"--decimal-separator", " "}},
        {"separator letter", {"--decimal-separator", "a"}},
        {"separator parenthesis", {"--decimal-separator", "("}},
        {"separator semicolon", {"--decimal-separator", ";"}},
        {"colour text", {"--color", "red"}},
        {"colour too big", {"--color", "4294967296"}},
        {"colour negative", {"--color", "-1"}},
        {"size without x", {"--size", "640"}},
        {"size zero", {"--size", "0x480"}},
        {"size huge", {"--size", "20000x10"}},
        {"size trailing", {"--size", "64x48px"}},
        {"image without extension", {"--image", "chart"}},
        {"image unknown extension", {"--image", "chart.jpg"}},
        {"dot in folder only", {"--image", "a.png/chart"}},
        {"table empty", {"--table", ""}},
    };
    for (const Row& row : rows)
        EXPECT_THROW(ParseCommandLine(row.args), TUsageError) << row.name;
}

// A value each option accepts.
std::string ValidValue(std::string_view option)
{
    if (option == "--mode") return "degrees";
    if (option == "--decimal-separator") return ",";
    if (option == "--color") return "255";
    if (option == "--image") return "c.png";
    if (option == "--size") return "10x10";
    return "1";
}

TEST(CommandLine, HelpAndManualPageListEveryOptionTheParserKnows)
{
    const std::string usage = UsageText();
    const std::string manual = ManPageText("9.9");
    auto roff = [](std::string text) {
        for (std::size_t at = 0; (at = text.find('-', at)) != std::string::npos; at += 2)
            text.insert(at, "\\");
        return text;
    };
    std::size_t lastAt = 0;
    for (const TOptionInfo& option : CommandLineOptions()) {
        SCOPED_TRACE(option.Name);
        // Listed in table order in --help, and in the manual.
        const auto at = usage.find(std::string("  ") + option.Name);
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, lastAt);
        lastAt = at;
        EXPECT_NE(manual.find(roff(option.Name)), std::string::npos);
        EXPECT_NE(manual.find(roff(option.Help).substr(0, 20)), std::string::npos);
        // The parser takes a value exactly for the options that show one.
        if (option.Value) {
            EXPECT_NO_THROW(ParseCommandLine({std::string(option.Name) + "=" + ValidValue(option.Name)}));
            EXPECT_THROW(ParseCommandLine({option.Name}), TUsageError);
        } else {
            EXPECT_NO_THROW(ParseCommandLine({option.Name}));
        }
    }
    EXPECT_EQ(manual.find(".TH QURVIA 1"), 0u);
    // No line of --help is wider than a terminal.
    for (std::size_t start = 0, end; start < usage.size(); start = end + 1) {
        end = usage.find('\n', start);
        EXPECT_LE(end - start, 79u) << usage.substr(start, end - start);
    }
}

} // namespace
} // namespace qrv::test
