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

TEST(CommandLine, UsageTextNamesEveryOption)
{
    std::string usage = UsageText();
    for (const char* option :
         {"--formula", "--xmin", "--xmax", "--step", "--mode", "--decimal-separator", "--color", "--table",
          "--image", "--size", "--settings", "--help", "--version"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
}

} // namespace
} // namespace qrv::test
