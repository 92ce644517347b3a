// Reading the command line: the options that are accepted and the usage
// errors, each row named.
#include "DecimalSeparatorScope.h"
#include "QrvCommandLine.h"
#include "QrvPalette.h"
#include "QrvTableBatch.h"

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
    EXPECT_FALSE(cl.FirstFormula() || cl.XMin || cl.XMax || cl.Step || cl.Mode || cl.Color || cl.Size);
}

TEST(CommandLine, FieldsAreTakenAsTyped)
{
    TCommandLine cl = ParseCommandLine(
        {"--formula", " sin(x) * 2 ", "--xmin", "-5", "--xmax=1E3", "--step", "-0,5", "--table", "-"});
    EXPECT_EQ(cl.FirstFormula(), " sin(x) * 2 ");
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
        {"derivative of the latest formula",
         {"--formula", "x", "--formula", "x*x", "--derivative", "2"},
         [](auto& c) {
             return c.Curves.size() == 2 && c.Curves[0].Derivative == 0 && c.Curves[1].Derivative == 2;
         }},
        {"analyze", {"--analyze", "-"}, [](auto& c) { return c.Analyze == "-" && c.IsBatch(); }},
        {"last one wins", {"--xmin", "1", "--xmin", "2"}, [](auto& c) { return c.XMin == "2"; }},
        {"help", {"--help"}, [](auto& c) { return c.Help; }},
        {"short help", {"-h"}, [](auto& c) { return c.Help && !c.Version; }},
        {"version", {"--version"}, [](auto& c) { return c.Version; }},
        {"empty formula", {"--formula", ""}, [](auto& c) { return c.FirstFormula() == ""; }},
        {"value with =", {"--formula=y=x"}, [](auto& c) { return c.FirstFormula() == "y=x"; }},
        {"value like an option",
         {"--formula", "--xmin"},
         [](auto& c) { return c.FirstFormula() == "--xmin" && !c.XMin; }},
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
        {"each formula a curve",
         {"--formula", "a", "--xmin", "1", "--formula", "b"},
         [](auto& c) {
             return c.Curves == std::vector<TCurveOption>{{"a", {}}, {"b", {}}} && c.FirstFormula() == "a";
         }},
        {"colour after a formula is the curve's",
         {"--color", "1", "--formula", "a", "--color", "2", "--formula", "b", "--formula", "c", "--color=3"},
         [](auto& c) {
             return c.Color == 1u && c.Curves == std::vector<TCurveOption>{{"a", 2u}, {"b", {}}, {"c", 3u}};
         }},
        {"first curve's own colour first",
         {"--color", "1", "--formula", "a", "--color", "2"},
         [](auto& c) { return c.FirstColor() == 2u; }},
        {"colour in force for the first curve",
         {"--color", "1", "--formula", "a", "--formula", "b", "--color", "2"},
         [](auto& c) { return c.FirstColor() == 1u; }},
        {"document",
         {"--document", "d.json"},
         [](auto& c) { return c.Document == "d.json" && !c.IsBatch(); }},
        {"document on its own",
         {"d.qurvia"},
         [](auto& c) { return c.Document == "d.qurvia" && !c.IsBatch(); }},
        {"document extension in any case",
         {"/x/D.QURVIA"},
         [](auto& c) { return c.Document == "/x/D.QURVIA"; }},
        {"document plotted",
         {"d.qurvia", "--table", "-", "--decimal-separator", ",", "--size", "9x9", "--break-at-poles"},
         [](auto& c) { return c.Document == "d.qurvia" && c.IsBatch() && c.UsesDocuments(); }},
        {"save document alone is a run",
         {"--save-document", "s.qurvia"},
         [](auto& c) { return c.SaveDocument == "s.qurvia" && c.IsBatch() && c.UsesDocuments(); }},
        {"plain colour saved",
         {"--formula", "a", "--color", "0xFFFFFF", "--save-document", "s"},
         [](auto& c) { return c.SaveDocument == "s"; }},
        {"table alone uses no document", {"--table", "t.qurvia"}, [](auto& c) { return !c.UsesDocuments(); }},
        {"curves of t among formulas",
         {"--x-of-t", "cos(t)", "--color", "5", "--y-of-t", "sin(t)", "--formula", "x", "--r-of-t", "1",
          "--y-of-t", "t", "--x-of-t", "-t", "--x-of-t", "2"},
         [](auto& c) {
             const std::vector<TCurveOption> curves{
                 {"", 5u, TCurveKind::Parametric, "cos(t)", "sin(t)"},
                 {"x", {}},
                 {"1", {}, TCurveKind::Polar},
                 {"", {}, TCurveKind::Parametric, "-t", "t"},
                 {"", {}, TCurveKind::Parametric, "2", {}},
             };
             return c.Curves == curves && c.FirstFormula() == "x";
         }},
        {"no function curve", {"--r-of-t", "1"}, [](auto& c) { return !c.FirstFormula(); }},
        {"range of t", {"--tmin", "-1", "--tmax=2"}, [](auto& c) { return c.TMin == "-1" && c.TMax == "2"; }},
        {"view choices",
         {"--equal-scales", "--fine-labels", "--no-fine-labels"},
         [](auto& c) { return c.EqualScales == true && c.FineLabels == false; }},
        {"view choices kept", {"--table", "-"}, [](auto& c) { return !c.EqualScales && !c.FineLabels; }},
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
    const std::string withDocument =
        " cannot be given with a document: the document holds its curves, their ranges and colours, and the "
        "angle mode";
    const Row rows[] = {
        {"unknown option", {"--colour", "1"}, "unknown option '--colour'"},
        {"derivative order", {"--formula", "x", "--derivative", "3"}, "--derivative must be 1 or 2, not '3'"},
        {"derivative first", {"--derivative", "1"}, "--derivative needs a --formula before it"},
        {"derivative saved",
         {"--formula", "x", "--derivative", "1", "--save-document", "a.qurvia"},
         "--derivative cannot be saved in a document, whose derivative curves name a function curve of their "
         "own"},
        {"analyze name", {"--analyze="}, "--analyze needs a file name or -"},
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
        {"document empty", {"--document="}, "--document needs a file name"},
        {"save document empty", {"--save-document", ""}, "--save-document needs a file name"},
        {"two documents", {"a.qurvia", "b.qurvia"}, "only one document can be given, not also 'b.qurvia'"},
        {"option and positional",
         {"--document", "a", "b.qurvia"},
         "only one document can be given, not also 'b.qurvia'"},
        {"only the extension counts", {"a.qurvia.txt"}, "unexpected argument 'a.qurvia.txt'"},
        {"document with a formula", {"a.qurvia", "--formula", "x"}, "--formula" + withDocument},
        {"formula before the document", {"--formula", "x", "--document", "a"}, "--formula" + withDocument},
        {"document with X min", {"--xmin=1", "a.qurvia"}, "--xmin" + withDocument},
        {"document with a mode", {"a.qurvia", "--mode", "grads"}, "--mode" + withDocument},
        {"document with a colour", {"--color", "1", "a.qurvia"}, "--color" + withDocument},
        {"document with a curve of t", {"a.qurvia", "--r-of-t", "1"}, "--r-of-t" + withDocument},
        {"document with T max", {"a.qurvia", "--tmax", "1"}, "--tmax" + withDocument},
        {"system colour saved",
         {"--color", "0x80000008", "--save-document", "s.qurvia"},
         "--color 2147483656 cannot be saved in a document, which holds plain colours from 0 to 16777215 "
         "(0x00FFFFFF)"},
        {"curve's colour saved",
         {"--formula", "x", "--color", "16777216", "--save-document", "s.qurvia"},
         "--color 16777216 cannot be saved in a document, which holds plain colours from 0 to 16777215 "
         "(0x00FFFFFF)"},
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

TEST(CommandLineDocument, CurvesTakeTheirColours)
{
    const TDecimalSeparatorScope comma(',');
    constexpr TColor inForce = 0x123456;
    const TColor blue = kCurvePalette[0], vermillion = kCurvePalette[1], green = kCurvePalette[2];
    struct Row {
        const char* name;
        Args args;
        std::vector<TColor> colors;
    };
    const Row rows[] = {
        {"start-up formula", {}, {inForce}},
        {"palette after the first",
         {"--formula", "a", "--formula", "b", "--formula", "c"},
         {inForce, blue, vermillion}},
        {"a later curve's own", {"--formula", "a", "--formula", "b", "--color", "7"}, {inForce, 7}},
        {"first curve's own", {"--formula", "a", "--color", "7", "--formula", "b"}, {7, blue}},
        {"a palette colour is not given twice",
         {"--formula", "a", "--formula", "b", "--color", std::to_string(blue), "--formula", "c"},
         {inForce, blue, vermillion}},
        {"first given a palette colour",
         {"--formula", "a", "--color", std::to_string(blue), "--formula", "b", "--formula", "c"},
         {blue, vermillion, green}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const TDocument document = CommandLineDocument(ParseCommandLine(row.args), inForce);
        std::vector<TColor> colors;
        for (const TCurve& curve : document.Curves)
            colors.push_back(curve.Color);
        EXPECT_EQ(colors, row.colors);
    }
    EXPECT_EQ(CommandLineDocument({}, inForce).Curves[0].Formula, "5,22 - 5,44E-4 * (x - 817)");
}

// A value each option accepts.
std::string ValidValue(std::string_view option)
{
    if (option == "--mode") return "degrees";
    if (option == "--decimal-separator") return ",";
    if (option == "--color") return "255";
    if (option == "--image") return "c.png";
    if (option == "--size") return "10x10";
    if (option == "--analyze") return "-";
    return "1";
}

TEST(CommandLine, AParametricCurveNeedsBothHalves)
{
    const struct {
        Args args;
        const char* message; // "": complete
    } rows[] = {
        {{"--x-of-t", "cos(t)", "--y-of-t", "sin(t)"}, ""},
        {{"--y-of-t", "sin(t)", "--x-of-t", "cos(t)"}, ""},
        {{"--formula", "x", "--r-of-t", "1"}, ""},
        {{"--x-of-t", "cos(t)"}, "--x-of-t 'cos(t)' needs a --y-of-t: a parametric curve has both"},
        {{"--y-of-t", "t", "--x-of-t", "t", "--y-of-t", "u"},
         "--y-of-t 'u' needs a --x-of-t: a parametric curve has both"},
        {{"--x-of-t", "a", "--formula", "x", "--y-of-t", "b"},
         "--x-of-t 'a' needs a --y-of-t: a parametric curve has both"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.args.front() + " " + row.args[1]);
        std::string message;
        try {
            CheckCurvesComplete(ParseCommandLine(row.args));
        } catch (const TUsageError& e) {
            message = e.what();
        }
        EXPECT_EQ(message, row.message);
    }
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
            // --derivative belongs to a --formula before it.
            Args args;
            if (std::string_view(option.Name) == "--derivative") args.push_back("--formula=x");
            args.push_back(std::string(option.Name) + "=" + ValidValue(option.Name));
            EXPECT_NO_THROW(ParseCommandLine(args));
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
