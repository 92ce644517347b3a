// The document file: what is written, that it reads back to the same
// document (unknown members and all), the defaults of missing members, every
// refused document with its one message, and the size and curve limits.
#include "MessageOf.h"
#include "QrvDocumentFile.h"
#include "QrvFileWriter.h"
#include "QrvPalette.h"
#include "RowNames.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace qrv
{
namespace
{

const std::string kFile = "plots.qurvia";

TDocument Read(const std::string& json, TColor firstColor = clRed)
{
    return ReadDocument(QByteArray::fromStdString(json), kFile, firstColor);
}

std::string Refusal(const std::string& json)
{
    return test::MessageOf<EQrvDocumentError>([&] { Read(json); });
}

// A document whose curves are given as JSON objects.
std::string WithCurves(const std::string& curves)
{
    return R"({"qurvia": 1, "curves": [)" + curves + "]}";
}

std::string FunctionCurve(const std::string& more = "")
{
    return R"j({"kind": "function", "formula": "sin(x)", "xmin": "0", "xmax": "10", "step": "0.1")j" + more +
           "}";
}

// ---- writing and the round trip ---------------------------------------------

TEST(DocumentWrite, WritesTheKnownMembersInOrderIndentedWithAFinalLineEnd)
{
    TDocument document;
    document.Angle = TAngleMode::Degrees;
    document.DecimalSeparator = ',';
    TCurve curve;
    curve.Formula = "x*\"q\"\\\t";
    curve.XMin = "0";
    curve.XMax = "10";
    curve.Step = "0,1";
    curve.Color = RGB(0x12, 0xAB, 0xEF);
    curve.Width = 3;
    curve.Style = TLineStyle::Dot;
    curve.Label = "\xC3\xA9t\xC3\xA9";
    curve.Visible = false;
    curve.Unknown = {{"note", "[\n  1,\n  {}\n]"}};
    document.Curves = {curve};
    document.Unknown = {{"zoom", "2.5"}};
    EXPECT_EQ(DocumentJson(document), "{\n"
                                      "  \"qurvia\": 1,\n"
                                      "  \"angle\": \"degrees\",\n"
                                      "  \"decimal-separator\": \",\",\n"
                                      "  \"curves\": [\n"
                                      "    {\n"
                                      "      \"kind\": \"function\",\n"
                                      "      \"formula\": \"x*\\\"q\\\"\\\\\\t\",\n"
                                      "      \"xmin\": \"0\",\n"
                                      "      \"xmax\": \"10\",\n"
                                      "      \"step\": \"0,1\",\n"
                                      "      \"color\": \"#12abef\",\n"
                                      "      \"width\": 3,\n"
                                      "      \"style\": \"dot\",\n"
                                      "      \"label\": \"\xC3\xA9t\xC3\xA9\",\n"
                                      "      \"visible\": false,\n"
                                      "      \"note\": [\n"
                                      "        1,\n"
                                      "        {}\n"
                                      "      ]\n"
                                      "    }\n"
                                      "  ],\n"
                                      "  \"zoom\": 2.5\n"
                                      "}\n");
}

TEST(DocumentWrite, WritesEachKindWithItsOwnMembers)
{
    TDocument document;
    TCurve derivative;
    derivative.Kind = TCurveKind::Derivative;
    derivative.Of = 1;
    derivative.Order = 2;
    derivative.Formula = "not written: a derivative has none";
    TCurve function;
    function.Formula = "x";
    document.Curves = {function, derivative};
    const std::string json = DocumentJson(document);
    EXPECT_NE(json.find("\"kind\": \"derivative\",\n      \"of\": 1,\n      \"order\": 2,\n      \"color\""),
              std::string::npos)
        << json;
    EXPECT_EQ(json.find("not written"), std::string::npos);
}

TEST(DocumentRoundTrip, EveryKindAndUnknownMemberReadsBackTheSame)
{
    const std::string json = R"j({"qurvia": 1, "angle": "grads", "decimal-separator": ",",
      "window": {"w": 800, "h": [1, 2.5e-7, null, true, "a\u0000b\n"], "e": {}},
      "curves": [
        {"kind": "function", "formula": "sin(x)", "xmin": "0", "xmax": "10", "step": "0,1",
         "color": "#FF0000", "width": 2, "style": "dash", "label": "wave", "visible": false,
         "tmin": "kept, as it is no function member", "extra": {"deep": [[[]]]}},
        {"kind": "derivative", "of": 1, "order": 2.0},
        {"kind": "parametric", "x": "cos(t)", "y": "sin(t)", "tmin": "0", "tmax": "6,2832", "step": "0,01"},
        {"kind": "polar", "formula": "1+cos(t)", "tmin": "0", "tmax": "6,2832", "step": "0,01"},
        {"kind": "implicit", "formula": "x*x+y*y-4", "xmin": "-3", "xmax": "3", "ymin": "-3", "ymax": "3",
         "\u00e9": 12345678901234567890}
      ]})j";
    const TDocument first = Read(json);
    ASSERT_EQ(first.Curves.size(), 5u);
    EXPECT_EQ(first.Angle, TAngleMode::Grads);
    EXPECT_EQ(first.DecimalSeparator, ',');
    const TCurve& f = first.Curves[0];
    EXPECT_EQ(f.Color, clRed);
    EXPECT_EQ(f.Width, 2);
    EXPECT_EQ(f.Style, TLineStyle::Dash);
    EXPECT_FALSE(f.Visible);
    EXPECT_EQ(f.TMin, "");
    ASSERT_EQ(f.Unknown.size(), 2u);
    EXPECT_EQ(f.Unknown[0].Key, "extra");
    EXPECT_EQ(f.Unknown[1].Key, "tmin");
    EXPECT_EQ(first.Curves[1].Order, 2);
    EXPECT_EQ(first.Curves[2].YOfT, "sin(t)");
    EXPECT_EQ(first.Curves[3].TMax, "6,2832");
    EXPECT_EQ(first.Curves[4].YMax, "3");
    ASSERT_EQ(first.Unknown.size(), 1u);
    EXPECT_EQ(first.Unknown[0].Key, "window");

    const std::string written = DocumentJson(first);
    const TDocument second = Read(written);
    EXPECT_EQ(second, first);
    EXPECT_EQ(DocumentJson(second), written);
    // The unknown members are written in their places, values unchanged.
    EXPECT_NE(
        written.find("  \"window\": {\n    \"e\": {},\n    \"h\": [\n      1,\n      2.5e-07,\n"
                     "      null,\n      true,\n      \"a\\u0000b\\n\"\n    ],\n    \"w\": 800\n  }\n}\n"),
        std::string::npos)
        << written;
}

TEST(DocumentRoundTrip, KeysWithAByteOrderMarkReadAndWriteAlike)
{
    // Qt's reader drops U+FEFF from a key but places the key as if it were
    // still there: its own order and look-up would change on the way back.
    const std::string json =
        "{\"qurvia\": 1, \"kx\": 1, \"\xEF\xBB\xBFp\": 2, \"co\": 3, \"w\": 4, \"curves\": [" +
        std::string(R"({"kind": "function", "xmin": "0", "xmax": "1", "step": "1", )") +
        "\"\xEF\xBB\xBF"
        "formula\": \"x\"}]}";
    const TDocument first = Read(json);
    EXPECT_EQ(first.Curves.at(0).Formula, "x");
    const std::string written = DocumentJson(first);
    EXPECT_EQ(DocumentJson(Read(written)), written);
    EXPECT_EQ(Read(written), first);
}

TEST(DocumentRoundTrip, SaveWritesTheJsonThatLoadReads)
{
    QTemporaryDir dir;
    const std::string name = dir.filePath("saved.qurvia").toStdString();
    const TDocument document = Read(WithCurves(FunctionCurve()));
    SaveDocument(name, document);
    EXPECT_EQ(LoadDocument(name), document);
    EXPECT_EQ(LoadDocument(name), Read(DocumentJson(document)));
}

// ---- defaults ---------------------------------------------------------------

TEST(DocumentDefaults, MissingOptionalMembersTakeTheirDefaults)
{
    const TDocument document =
        Read("\xEF\xBB\xBF \n{\"qurvia\": 1}\n\n"); // byte order mark and blanks around
    EXPECT_EQ(document.Angle, TAngleMode::Radians);
    EXPECT_EQ(document.DecimalSeparator, '.');
    EXPECT_TRUE(document.Curves.empty());
    EXPECT_TRUE(document.Unknown.empty());

    const TCurve curve = Read(WithCurves(FunctionCurve())).Curves.at(0);
    EXPECT_EQ(curve.Width, 1);
    EXPECT_EQ(curve.Style, TLineStyle::Solid);
    EXPECT_EQ(curve.Label, "");
    EXPECT_TRUE(curve.Visible);
    EXPECT_TRUE(curve.Unknown.empty());
}

TEST(DocumentDefaults, CurvesWithoutColourTakeThePalettesAfterTheColoursGiven)
{
    const std::string given = R"(, "color": "#0072b2")"; // the palette's first colour
    const TDocument document = Read(WithCurves(FunctionCurve() + "," + FunctionCurve() + "," +
                                               FunctionCurve(given) + "," + FunctionCurve()),
                                    clBlue);
    ASSERT_EQ(document.Curves.size(), 4u);
    EXPECT_EQ(document.Curves[0].Color, clBlue);
    EXPECT_EQ(document.Curves[1].Color, kCurvePalette[1]);
    EXPECT_EQ(document.Curves[2].Color, kCurvePalette[0]);
    EXPECT_EQ(document.Curves[3].Color, kCurvePalette[2]);
}

// ---- refused documents ------------------------------------------------------

struct RefusedCase {
    const char* name;
    std::string json;
    std::string message;
};

class RefusedDocument : public ::testing::TestWithParam<RefusedCase>
{
};

TEST_P(RefusedDocument, RaisesOneMessageNamingTheFile)
{
    EXPECT_EQ(Refusal(GetParam().json), GetParam().message);
}

const std::string kCurve1 = "Document plots.qurvia, curve 1";

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDocument,
    ::testing::Values(
        RefusedCase{"empty", " \n", "Document plots.qurvia is empty"},
        RefusedCase{"cut_short", "{\"qurvia\": 1,\n \"curves\": [{\"kind\"",
                    "Document plots.qurvia ends too early (line 2, column 20)"},
        RefusedCase{"cut_in_a_word", "{\"qurvia\": 1, \"curves\": [] , \"x\": tr",
                    "Document plots.qurvia ends too early (line 1, column 37)"},
        RefusedCase{"unclosed_but_wrong_before", "{\"qurvia\": 1 \"curves\": [",
                    "Document plots.qurvia is not valid JSON: unterminated object (line 1, column 15)"},
        RefusedCase{
            "comma_before_brace", "{\"qurvia\": 1,}",
            "Document plots.qurvia is not valid JSON: object is missing after a comma (line 1, column 15)"},
        RefusedCase{"cut_in_string", "{\"qurvia\": 1, \"angle\": \"rad",
                    "Document plots.qurvia ends too early (line 1, column 28)"},
        RefusedCase{"syntax_error", "{\"qurvia\": 1,\n  \"angle\": radians}",
                    "Document plots.qurvia is not valid JSON: illegal number (line 2, column 12)"},
        RefusedCase{"syntax_error_column_in_characters", "[\"\xC3\xA9\xC3\xA9\" 2]",
                    "Document plots.qurvia is not valid JSON: missing value separator (line 1, column 8)"},
        RefusedCase{
            "garbage_after", "{\"qurvia\": 1} {}",
            "Document plots.qurvia is not valid JSON: garbage at the end of the document (line 1, column "
            "15)"},
        RefusedCase{"not_utf8", "{\"qurvia\": 1, \"angle\": \"\xFF\"}",
                    "Document plots.qurvia is not valid JSON: invalid UTF8 string (line 1, column 25)"},
        RefusedCase{"array", "[]", "Document plots.qurvia is not a Qurvia document: it holds no JSON object"},
        RefusedCase{"no_format", "{\"curves\": []}",
                    "Document plots.qurvia is not a Qurvia document: \"qurvia\" is missing"},
        RefusedCase{"format_as_text", "{\"qurvia\": \"1\"}",
                    "Document plots.qurvia: \"qurvia\" must be a whole number"},
        RefusedCase{"format_fraction", "{\"qurvia\": 1.5}",
                    "Document plots.qurvia: \"qurvia\" must be a whole number"},
        RefusedCase{"format_newer", "{\"qurvia\": 2, \"curves\": 7}",
                    "Document plots.qurvia has format 2, from a newer Qurvia; this one reads format 1"},
        RefusedCase{"format_huge", "{\"qurvia\": 1e300}",
                    "Document plots.qurvia has format 1e+300, from a newer Qurvia; this one reads format 1"},
        RefusedCase{"format_zero", "{\"qurvia\": 0}",
                    "Document plots.qurvia has format 0, which no Qurvia writes"},
        RefusedCase{"angle_unknown", "{\"qurvia\": 1, \"angle\": \"Radians\"}",
                    "Document plots.qurvia: \"angle\" must be \"radians\", \"degrees\" or \"grads\", not "
                    "\"Radians\""},
        RefusedCase{"angle_number", "{\"qurvia\": 1, \"angle\": 0}",
                    "Document plots.qurvia: \"angle\" must be a text"},
        RefusedCase{"separator_semicolon", "{\"qurvia\": 1, \"decimal-separator\": \";\"}",
                    "Document plots.qurvia: \"decimal-separator\" must be \".\" or \",\", not \";\""},
        RefusedCase{"separator_empty", "{\"qurvia\": 1, \"decimal-separator\": \"\"}",
                    "Document plots.qurvia: \"decimal-separator\" must be \".\" or \",\", not \"\""},
        RefusedCase{"curves_object", "{\"qurvia\": 1, \"curves\": {}}",
                    "Document plots.qurvia: \"curves\" must be a list"},
        RefusedCase{"curve_number", WithCurves("1"), "Document plots.qurvia, curve 1 is not a JSON object"},
        RefusedCase{"kind_missing", WithCurves("{\"formula\": \"x\"}"), kCurve1 + ": \"kind\" is missing"},
        RefusedCase{"kind_newer", WithCurves(FunctionCurve() + ",{\"kind\": \"spline\\nx\"}"),
                    "Document plots.qurvia, curve 2: the kind \"spline x\" is unknown to this Qurvia"},
        RefusedCase{"kind_long", WithCurves("{\"kind\": \"" + std::string(50, 'k') + "\"}"),
                    kCurve1 + ": the kind \"" + std::string(40, 'k') + "...\" is unknown to this Qurvia"},
        RefusedCase{"formula_missing",
                    WithCurves(R"({"kind": "function", "xmin": "0", "xmax": "1", "step": "1"})"),
                    kCurve1 + ": \"formula\" is missing"},
        RefusedCase{"formula_number", WithCurves(R"({"kind": "function", "formula": 1})"),
                    kCurve1 + ": \"formula\" must be a text"},
        RefusedCase{"step_missing",
                    WithCurves(R"({"kind": "function", "formula": "x", "xmin": "0", "xmax": "1"})"),
                    kCurve1 + ": \"step\" is missing"},
        RefusedCase{"parametric_y_missing", WithCurves(R"({"kind": "parametric", "x": "t"})"),
                    kCurve1 + ": \"y\" is missing"},
        RefusedCase{
            "implicit_ymax_missing",
            WithCurves(R"({"kind": "implicit", "formula": "x", "xmin": "0", "xmax": "1", "ymin": "0"})"),
            kCurve1 + ": \"ymax\" is missing"},
        RefusedCase{"color_name", WithCurves(FunctionCurve(R"(, "color": "red")")),
                    kCurve1 + ": \"color\" must be written #rrggbb, not \"red\""},
        RefusedCase{"color_short", WithCurves(FunctionCurve(R"(, "color": "#fff")")),
                    kCurve1 + ": \"color\" must be written #rrggbb, not \"#fff\""},
        RefusedCase{"color_not_hex", WithCurves(FunctionCurve(R"(, "color": "#ff00gg")")),
                    kCurve1 + ": \"color\" must be written #rrggbb, not \"#ff00gg\""},
        RefusedCase{"color_number", WithCurves(FunctionCurve(R"(, "color": 255)")),
                    kCurve1 + ": \"color\" must be a text"},
        RefusedCase{"width_zero", WithCurves(FunctionCurve(R"(, "width": 0)")),
                    kCurve1 + ": \"width\" must be a whole number from 1 to 8"},
        RefusedCase{"width_nine", WithCurves(FunctionCurve(R"(, "width": 9)")),
                    kCurve1 + ": \"width\" must be a whole number from 1 to 8"},
        RefusedCase{"width_fraction", WithCurves(FunctionCurve(R"(, "width": 1.5)")),
                    kCurve1 + ": \"width\" must be a whole number from 1 to 8"},
        RefusedCase{"width_text", WithCurves(FunctionCurve(R"(, "width": "2")")),
                    kCurve1 + ": \"width\" must be a whole number"},
        RefusedCase{"style_unknown", WithCurves(FunctionCurve(R"(, "style": "dashdot")")),
                    kCurve1 + ": \"style\" must be \"solid\", \"dash\" or \"dot\", not \"dashdot\""},
        RefusedCase{"label_null", WithCurves(FunctionCurve(R"(, "label": null)")),
                    kCurve1 + ": \"label\" must be a text"},
        RefusedCase{"visible_number", WithCurves(FunctionCurve(R"(, "visible": 1)")),
                    kCurve1 + ": \"visible\" must be true or false"},
        RefusedCase{"order_three",
                    WithCurves(FunctionCurve() + R"(,{"kind": "derivative", "of": 1, "order": 3})"),
                    "Document plots.qurvia, curve 2: \"order\" must be 1 or 2"},
        RefusedCase{"of_missing", WithCurves(R"({"kind": "derivative", "order": 1})"),
                    kCurve1 + ": \"of\" is missing"},
        RefusedCase{"of_beyond_the_curves", WithCurves(R"({"kind": "derivative", "of": 2, "order": 1})"),
                    kCurve1 + ": \"of\" must be the number of a function curve of the document"},
        RefusedCase{"of_itself", WithCurves(R"({"kind": "derivative", "of": 1, "order": 1})"),
                    kCurve1 + ": \"of\" must be the number of a function curve of the document"},
        RefusedCase{"of_fraction",
                    WithCurves(FunctionCurve() + R"(,{"kind": "derivative", "of": 0.5, "order": 1})"),
                    "Document plots.qurvia, curve 2: \"of\" must be the number of a function curve of the "
                    "document"}),
    test::RowName{});

// ---- limits -------------------------------------------------------------------

std::string FileBytes(const std::string& name)
{
    QFile file(QString::fromStdString(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : "<unreadable>";
}

std::string Curves(std::size_t count)
{
    std::string curves;
    for (std::size_t i = 0; i < count; ++i)
        curves += (i ? "," : "") + FunctionCurve();
    return WithCurves(curves);
}

TEST(DocumentLimits, ThousandCurvesAreReadAndOneMoreIsRefused)
{
    EXPECT_EQ(Read(Curves(kMaxCurves)).Curves.size(), kMaxCurves);
    EXPECT_EQ(Refusal(Curves(kMaxCurves + 1)), "Document plots.qurvia holds more than 1000 curves");
}

TEST(DocumentLimits, SixteenMebibytesAreReadAndOneByteMoreIsRefused)
{
    std::string json = "{\"qurvia\": 1}";
    json.resize(kMaxDocumentBytes, ' ');
    EXPECT_NO_THROW(Read(json));
    json += ' ';
    EXPECT_EQ(Refusal(json), "Document plots.qurvia is larger than 16 MiB");
}

TEST(DocumentLimits, LoadRefusesALargeFileWithoutReadingIt)
{
    QTemporaryDir dir;
    const std::string name = dir.filePath("huge.qurvia").toStdString();
    // A sparse file of 64 GiB: reading it whole would take minutes and the memory.
    const int fd = open(name.c_str(), O_CREAT | O_WRONLY, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, off_t(64) << 30), 0);
    close(fd);
    EXPECT_EQ(test::MessageOf<EQrvDocumentError>([&] { LoadDocument(name); }),
              "Document " + name + " is larger than 16 MiB");
}

TEST(DocumentLimits, SaveRefusesADocumentThatCouldNotBeOpenedAgain)
{
    QTemporaryDir dir;
    const std::string name = dir.filePath("big.qurvia").toStdString();
    WriteWholeFile(name, "old");
    TDocument document;
    TCurve curve;
    curve.Label.assign(kMaxDocumentBytes, 'a');
    document.Curves = {curve};
    EXPECT_EQ(test::MessageOf<EQrvDocumentError>([&] { SaveDocument(name, document); }),
              "Cannot save document " + name + ": it would be larger than 16 MiB");
    EXPECT_EQ(FileBytes(name), "old");
}

TEST(DocumentLoad, FilesThatCannotBeOpenedAreRefusedWithTheReason)
{
    QTemporaryDir dir;
    const std::string missing = dir.filePath("missing.qurvia").toStdString();
    EXPECT_EQ(test::MessageOf<EQrvDocumentError>([&] { LoadDocument(missing); }),
              "Cannot open document " + missing + ": No such file or directory");
    const std::string folder = dir.path().toStdString();
    EXPECT_EQ(test::MessageOf<EQrvDocumentError>([&] { LoadDocument(folder); }),
              "Cannot open document " + folder + ": Is a directory");
}

} // namespace
} // namespace qrv
