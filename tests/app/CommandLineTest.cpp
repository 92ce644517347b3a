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
        {"short help", {"-h"}, [](auto& c) { return c.Help && !c.Version; }},
        {"version", {"--version"}, [](auto& c) { return c.Version; }},
        {"empty formula", {"--formula", ""}, [](auto& c) { return c.Formula == ""; }},
        {"value with =", {"--formula=y=x"}, [](auto& c) { return c.Formula == "y=x"; }},
        {"value like an option",
         {"--formula", "--xmin"},
         [](auto& c) { return c.Formula == "--xmin" && !c.XMin; }},
        {"empty attached value", {"--xmin="}, [](auto& c) { return c.XMin == ""; }},
        {"image in a dotted folder",
         {"--image", "d.x/y.PdF"},
         [](auto& c) { return c.ImageFormat == TImageFormat::Pdf; }},
        {"image name only an extension",
         {"--image", ".svg"},
         [](auto& c) { return c.ImageFormat == TImageFormat::Svg; }},
        {"break at poles", {"--break-at-poles"}, [](auto& c) { return c.BreakAtPoles == true; }},
        {"last pole choice wins",
         {"--break-at-poles", "--no-break-at-poles"},
         [](auto& c) { return c.BreakAtPoles == false; }},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(row.check(ParseCommandLine(row.args))) << row.name;
}

TEST(CommandLine, UsageErrorsSayWhatIsWrong)
{
    struct Row {
        const char* name;
        Args args;
        std::string message;
    };
    const std::string colour = "--color must be a colour number from 0 to 4294967295 (0xFFFFFFFF), not ";
    const std::string size = "--size must be WIDTHxHEIGHT with each from 1 to 16384, not ";
    const std::string image = "--image needs a file name ending in .bmp, .wmf, .emf, .png, .svg or .pdf";
    const std::string separator = "--decimal-separator must be '.' or ',', not ";
    const Row rows[] = {
        {"unknown option", {"--colour", "1"}, "unknown option '--colour'"},
        {"unknown option with value", {"--colour=1"}, "unknown option '--colour'"},
        {"names keep their case", {"--Formula", "x"}, "unknown option '--Formula'"},
        {"bare dashes", {"--"}, "unknown option '--'"},
        {"flag with a value", {"--help=1"}, "unknown option '--help'"},
        {"positional", {"sin(x)"}, "unexpected argument 'sin(x)'"},
        {"single dash", {"-x"}, "unexpected argument '-x'"},
        {"alias with a value", {"-h=1"}, "unexpected argument '-h=1'"},
        {"after a complete option", {"--xmin", "1", "x"}, "unexpected argument 'x'"},
        {"missing value", {"--xmin"}, "option '--xmin' needs a value"},
        {"missing value after a flag", {"--help", "--formula"}, "option '--formula' needs a value"},
        {"bad mode", {"--mode", "turns"}, "--mode must be radians, degrees or grads, not 'turns'"},
        {"empty mode", {"--mode="}, "--mode must be radians, degrees or grads, not ''"},
        {"separator two chars", {"--decimal-separator", ".."}, separator + "'..'"},
        {"separator digit", {"--decimal-separator", "5"}, separator + "'5'"},
        {"separator minus", {"--decimal-separator", "-"}, separator + "'-'"},
        {"separator E", {"--decimal-separator", "E"}, separator + "'E'"},
        {"separator blank", {"--decimal-separator", " "}, separator + "' '"},
        {"separator letter", {"--decimal-separator", "a"}, separator + "'a'"},
        {"separator parenthesis", {"--decimal-separator", "("}, separator + "'('"},
        {"separator semicolon", {"--decimal-separator", ";"}, separator + "';'"},
        {"colour text", {"--color", "red"}, colour + "'red'"},
        {"colour too big", {"--color", "4294967296"}, colour + "'4294967296'"},
        {"colour negative", {"--color", "-1"}, colour + "'-1'"},
        {"colour prefix alone", {"--color", "0x"}, colour + "'0x'"},
        {"colour leading blank", {"--color", " 1"}, colour + "' 1'"},
        {"size without x", {"--size", "640"}, size + "'640'"},
        {"size zero", {"--size", "0x480"}, size + "'0x480'"},
        {"size huge", {"--size", "20000x10"}, size + "'20000x10'"},
        {"size trailing", {"--size", "64x48px"}, size + "'64x48px'"},
        {"size signed", {"--size", "+1x1"}, size + "'+1x1'"},
        {"image without extension", {"--image", "chart"}, image},
        {"image unknown extension", {"--image", "chart.jpg"}, image},
        {"dot in folder only", {"--image", "a.png/chart"}, image},
        {"table empty", {"--table", ""}, "--table needs a file name or -"},
        {"settings empty", {"--settings="}, "--settings needs a file name"},
    };
    for (const Row& row : rows) {
        try {
            ParseCommandLine(row.args);
            ADD_FAILURE() << row.name << ": accepted";
        } catch (const TUsageError& e) {
            EXPECT_EQ(e.what(), row.message) << row.name;
        }
    }
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
