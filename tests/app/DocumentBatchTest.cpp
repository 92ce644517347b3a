// The qurvia program with several curves and with documents, run as a child
// process in a folder of its own: several --formula options to the table,
// CSV and image, --color placement, errors named by curve, --save-document
// and --document (the round trip, one curve exactly as one formula), and
// every kind of refused document: one message, status 1, nothing written.
#include "ProgramRun.h"
#include "QrvDocumentFile.h"
#include "QrvPalette.h"
#include "RowNames.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif

namespace qrv::test
{
namespace
{

class DocumentBatch : public testing::Test
{
protected:
    // Runs qurvia in the test's folder, with settings of its own (none yet:
    // the stored colour is the default red).
    TResult Run(QStringList args, const QString& program = QStringLiteral(QURVIA_BINARY)) const
    {
        args << "--settings" << Path("settings.ini");
        return RunProgram(program, args, Dir.path());
    }
    QString Path(const QString& name) const { return Dir.filePath(name); }
    void Put(const QString& name, const QByteArray& bytes) const
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Read(const QString& name) const { return ReadWholeFile(Path(name)); }

    QTemporaryDir Dir;
};

const QStringList kRange{"--xmin", "0", "--xmax", "2", "--step", "1"};

TEST_F(DocumentBatch, SeveralFormulasToCsv)
{
    TResult r = Run(
        QStringList{"--formula", "x", "--formula", "x/2", "--decimal-separator", ",", "--table", "t.csv"} +
        kRange);
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_EQ(Read("t.csv"), "x;x;x/2\r\n0,000;0,000;0,000\r\n1,000;1,000;0,500\r\n2,000;2,000;1,000\r\n");
}

TEST_F(DocumentBatch, ErrorsOfSeveralCurvesNameTheirCurve)
{
    TResult r = Run(QStringList{"--formula", "x", "--formula", "1/(x-1)", "--formula", "sin(x", "--formula",
                                "x^2", "--table", "-"} +
                    kRange);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err.toStdString(), "curve 2: Floating point division by zero.\n"
                                   "curve 3: Parse error: ')' to close function's parameters expected.\n"
                                   "curve 4: warning: Ignored after the formula: ^2\n");
    // The curve that never started has no column; the one that stopped
    // early leaves its later cells empty.
    EXPECT_EQ(r.Out, "x   x   1/(x-1)   x^2\n"
                     "0.000   0.000   -1.000   0.000\n"
                     "1.000   1.000      1.000\n"
                     "2.000   2.000      2.000\n");

    // When no curve starts, nothing is written.
    Put("t.txt", "old table");
    Put("i.png", "old image");
    r = Run({"--formula", "sin(x", "--formula", "x", "--step", "0", "--table", "t.txt", "--image", "i.png"});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err.toStdString(), "curve 1: Step must be non zero.\ncurve 2: Step must be non zero.\n");
    EXPECT_EQ(Read("t.txt"), "old table");
    EXPECT_EQ(Read("i.png"), "old image");
}

int CountPixels(const QImage& image, TColor color)
{
    const QRgb rgb = qRgb(GetRValue(color), GetGValue(color), GetBValue(color));
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
    return n;
}

TEST_F(DocumentBatch, ColourPlacementInTheImage)
{
    const TColor lime = 0x0000FF00, blue = kCurvePalette[0], vermillion = kCurvePalette[1];
    struct Row {
        const char* name;
        QStringList args;
        std::vector<TColor> shown, absent;
    };
    const QStringList x{"--formula", "x"}, half{"--formula", "x/2"}, minus{"--formula", "-x"};
    const QStringList green{"--color", "0x0000FF00"};
    const Row rows[] = {
        {"default colour, then the palette", x + half + minus, {clRed, blue, vermillion}, {lime}},
        {"colour before the first is the first's",
         green + x + half + minus,
         {lime, blue, vermillion},
         {clRed}},
        {"colour after the second is the second's",
         x + half + green + minus,
         {clRed, lime, blue},
         {vermillion}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TResult r = Run(row.args + kRange + QStringList{"--image", "c.bmp"});
        ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
        const QImage image(Path("c.bmp"));
        ASSERT_FALSE(image.isNull());
        for (TColor color : row.shown)
            EXPECT_GT(CountPixels(image, color), 100) << std::hex << color;
        for (TColor color : row.absent)
            EXPECT_EQ(CountPixels(image, color), 0) << std::hex << color;
    }
}

TEST_F(DocumentBatch, ADocumentOfOneCurveIsTheFormulaExactly)
{
    const QStringList curve{"--formula", "sin(x)", "--xmin",  "-3",         "--xmax", "3",
                            "--step",    "0.25",   "--color", "0x00FF8000", "--mode", "degrees"};
    ASSERT_EQ(Run(curve + QStringList{"--save-document", "one.qurvia"}).Status, 0);
    for (const QStringList& outputs : {QStringList{"--table", "t.txt", "--image", "i.bmp"},
                                       QStringList{"--table", "t.csv", "--image", "i.png"}}) {
        SCOPED_TRACE(outputs.join(' ').toStdString());
        EXPECT_EQ(Run(curve + outputs).Status, 0);
        const QByteArray table = Read(outputs[1]), image = Read(outputs[3]);
        EXPECT_EQ(Run(QStringList{"--document", "one.qurvia"} + outputs).Status, 0);
        EXPECT_EQ(table.count('\n'), outputs[1] == "t.csv" ? 26 : 25);
        EXPECT_EQ(Read(outputs[1]), table);
        EXPECT_EQ(Read(outputs[3]), image);
    }
    EXPECT_EQ(Run({"one.qurvia", "--table", "-"}).Out, Run(curve + QStringList{"--table", "-"}).Out)
        << "a document named on its own is plotted as with --document";
}

TEST_F(DocumentBatch, SavedDocumentReadsBackAsTheOptionsDescribe)
{
    TResult r = Run({"--formula",
                     "x*0,5",
                     "--color",
                     "0x00112233",
                     "--formula",
                     "power(x;2)+1",
                     "--formula",
                     "sin(x)",
                     "--xmin",
                     "0",
                     "--xmax",
                     "1",
                     "--step",
                     "0,5",
                     "--mode",
                     "grads",
                     "--decimal-separator",
                     ",",
                     "--save-document",
                     "a.qurvia"});
    ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_TRUE(r.Out.isEmpty() && r.Err.isEmpty());
    const TDocument saved = LoadDocument(Path("a.qurvia").toStdString());
    EXPECT_EQ(saved.Angle, TAngleMode::Grads);
    EXPECT_EQ(saved.DecimalSeparator, ',');
    ASSERT_EQ(saved.Curves.size(), 3u);
    const TColor colours[] = {0x00112233, kCurvePalette[0], kCurvePalette[1]};
    const char* formulas[] = {"x*0,5", "power(x;2)+1", "sin(x)"};
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(saved.Curves[i].Formula, formulas[i]);
        EXPECT_EQ(saved.Curves[i].XMin + " " + saved.Curves[i].XMax + " " + saved.Curves[i].Step, "0 1 0,5");
        EXPECT_EQ(saved.Curves[i].Color, colours[i]);
    }

    // Read and written again: the same document, byte for byte.
    ASSERT_EQ(
        Run({"--document", "a.qurvia", "--decimal-separator", ",", "--save-document", "b.qurvia"}).Status, 0);
    EXPECT_EQ(Read("b.qurvia"), Read("a.qurvia"));
    // Read under a decimal point, the texts mean what they meant.
    const TResult underPoint = Run({"--document", "a.qurvia", "--decimal-separator", ".", "--table", "-"});
    EXPECT_TRUE(
        underPoint.Out.startsWith("x   x*0.5   power(x;2)+1   sin(x)\n0.000   0.000   1.000   0.000\n"))
        << underPoint.Out.toStdString();
    // --save-document alone writes the start-up curve.
    ASSERT_EQ(Run({"--save-document", "start.qurvia"}).Status, 0);
    EXPECT_EQ(LoadDocument(Path("start.qurvia").toStdString()).Curves.size(), 1u);
}

TEST_F(DocumentBatch, HiddenCurvesAreLeftOut)
{
    Put("h.qurvia", R"({"qurvia": 1, "curves": [
        {"kind": "function", "formula": "x", "xmin": "0", "xmax": "1", "step": "1"},
        {"kind": "function", "formula": "sin(x", "xmin": "0", "xmax": "1", "step": "1", "visible": false},
        {"kind": "function", "formula": "2*x", "xmin": "0", "xmax": "1", "step": "1", "label": "twice"}]})");
    TResult r = Run({"h.qurvia", "--table", "-"});
    EXPECT_EQ(r.Status, 0) << "the hidden curve's error is never met";
    EXPECT_EQ(r.Out, "x   x   twice\n0.000   0.000   0.000\n1.000   1.000   2.000\n");
}

struct TRefusedCase {
    const char* Name;
    QByteArray Bytes; // the document's bytes; empty: see Setup
    const char* Message;
};
void PrintTo(const TRefusedCase& c, std::ostream* os)
{
    *os << c.Name;
}

class RefusedDocument : public DocumentBatch, public testing::WithParamInterface<TRefusedCase>
{
};

QByteArray CurvesDocument(int curves)
{
    QByteArray json = R"({"qurvia": 1, "curves": [)";
    for (int i = 0; i < curves; ++i)
        json += QByteArray(i ? "," : "") + R"({"kind": "function", "formula": "x", "xmin": "0", "xmax": "1",
            "step": "1"})";
    return json + "]}";
}

TEST_P(RefusedDocument, IsOneMessageAndNothingIsWritten)
{
    const TRefusedCase& c = GetParam();
    if (QByteArray(c.Name) == "Folder") {
        ASSERT_TRUE(QDir(Dir.path()).mkdir("d.qurvia"));
    } else if (QByteArray(c.Name) != "Missing") {
        Put("d.qurvia", c.Bytes);
    }
    Put("t.txt", "old table");
    Put("i.png", "old image");
    for (const QStringList& outputs :
         {QStringList{"--table", "t.txt", "--image", "i.png", "--save-document", "s.qurvia"},
          QStringList{"--table", "-"}}) {
        SCOPED_TRACE(outputs.join(' ').toStdString());
        TResult r = Run(QStringList{"--document", "d.qurvia"} + outputs);
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Err.toStdString(), std::string(c.Message) + "\n");
        EXPECT_TRUE(r.Out.isEmpty());
        EXPECT_EQ(Read("t.txt"), "old table");
        EXPECT_EQ(Read("i.png"), "old image");
        EXPECT_FALSE(QFileInfo::exists(Path("s.qurvia")));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, RefusedDocument,
    testing::Values(
        TRefusedCase{"Missing", {}, "Cannot open document d.qurvia: No such file or directory."},
        TRefusedCase{"Folder", {}, "Cannot open document d.qurvia: Is a directory."},
        TRefusedCase{"Empty", " \n", "Document d.qurvia is empty."},
        TRefusedCase{"NotJson", "qurvia: 1",
                     "Document d.qurvia is not valid JSON: illegal value (line 1, column 2)"},
        TRefusedCase{"CutShort", R"({"qurvia": 1, "curves": [{"kind": )",
                     "Document d.qurvia ends too early (line 1, column 34)"},
        TRefusedCase{"NoObject", "[1]",
                     "Document d.qurvia is not a Qurvia document: it holds no JSON object."},
        TRefusedCase{"FormatMissing", R"({"curves": []})",
                     "Document d.qurvia is not a Qurvia document: \"qurvia\" is missing."},
        TRefusedCase{"NewerFormat", R"({"qurvia": 2})",
                     "Document d.qurvia has format 2, from a newer Qurvia; this one reads format 1."},
        TRefusedCase{"CurveWithoutFormula", R"({"qurvia": 1, "curves": [{"kind": "function", "xmin": "0"}]})",
                     "Document d.qurvia, curve 1: \"formula\" is missing."},
        TRefusedCase{"WrongType", R"({"qurvia": 1, "angle": 3})",
                     "Document d.qurvia: \"angle\" must be a text."},
        TRefusedCase{"BadColour",
                     CurvesDocument(1).replace(R"("step": "1")", R"("step": "1", "color": "red")"),
                     "Document d.qurvia, curve 1: \"color\" must be written #rrggbb, not \"red\""},
        TRefusedCase{"TooManyCurves", CurvesDocument(1001), "Document d.qurvia holds more than 1000 curves."},
        TRefusedCase{"TooLarge", QByteArray(16 * 1024 * 1024 + 1, ' '),
                     "Document d.qurvia is larger than 16 MiB."}),
    RowName{});

TEST_F(DocumentBatch, DocumentsNeedThePictureProgramButSeveralFormulasDoNot)
{
    // qurvia alone, without qurvia-image and qurvia-gui beside it.
    QDir(Dir.path()).mkdir("alone");
    const QString alone = Path("alone/qurvia");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QURVIA_BINARY), alone));
    TResult r = Run({"--formula", "x", "--formula", "2*x", "--table", "-"}, alone);
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out.count('\n'), 61);
    for (const QStringList& args : {QStringList{"--save-document", "s.qurvia"},
                                    QStringList{"--document", "s.qurvia", "--table", "-"}}) {
        r = Run(args, alone);
        EXPECT_EQ(r.Status, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.contains("cannot start")) << r.Err.toStdString();
    }
}

// The box of the pixels of one colour: its width over its height.
double AspectOf(const QImage& image, TColor color)
{
    const QRgb rgb = qRgb(GetRValue(color), GetGValue(color), GetBValue(color)) & 0xFFFFFF;
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == rgb) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return right < left ? 0 : double(right - left + 1) / double(bottom - top + 1);
}

TEST_F(DocumentBatch, CirclesOfEveryKindAreRoundWithEqualScales)
{
    Put("implicit.qurvia", R"({"qurvia": 1, "curves": [
        {"kind": "implicit", "formula": "x*x+y*y-4", "xmin": "-3", "xmax": "3", "ymin": "-3", "ymax": "3"}]})");
    const struct {
        const char* Name;
        QStringList Args;
    } rows[] = {
        {"parametric", {"--x-of-t", "2*cos(t)", "--y-of-t", "2*sin(t)"}},
        {"polar in degrees", {"--r-of-t", "2", "--mode", "degrees", "--tmax", "360", "--step", "1"}},
        {"implicit", {"implicit.qurvia"}},
    };
    for (const auto& row : rows) {
        for (const char* size : {"500x250", "240x400"}) {
            SCOPED_TRACE(std::string(row.Name) + " " + size);
            TResult r = Run(row.Args + QStringList{"--equal-scales", "--size", size, "--image", "c.png"});
            ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
            const double round = AspectOf(QImage(Path("c.png")), clRed);
            EXPECT_NEAR(round, 1, 0.05);
            r = Run(row.Args + QStringList{"--no-equal-scales", "--size", size, "--image", "c.png"});
            ASSERT_EQ(r.Status, 0) << r.Err.toStdString();
            const double stretched = AspectOf(QImage(Path("c.png")), clRed);
            EXPECT_GT(std::fabs(stretched - 1), 0.3) << "without, the circle fills the axes' rectangle";
        }
    }
}

TEST_F(DocumentBatch, ADocumentOfEveryKindToTheTable)
{
    Put("kinds.qurvia", R"({"qurvia": 1, "angle": "degrees", "curves": [
        {"kind": "function", "formula": "x", "xmin": "0", "xmax": "1", "step": "1"},
        {"kind": "parametric", "x": "t", "y": "t*t", "tmin": "0", "tmax": "2", "step": "1"},
        {"kind": "polar", "formula": "1", "tmin": "90", "tmax": "90", "step": "1", "label": "up"},
        {"kind": "implicit", "formula": "x-y", "xmin": "0", "xmax": "1", "ymin": "0", "ymax": "1"}]})");
    TResult r = Run({"kinds.qurvia", "--table", "-"});
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out.toStdString(),
              "x   x\n0.000   0.000\n1.000   1.000\n"
              "\nx(t)=t, y(t)=t*t\nt   x   y\n0.000   0.000   0.000\n1.000   1.000   1.000\n"
              "2.000   2.000   4.000\n"
              "\nup\nt   x   y\n90.000   0.000   1.000\n"
              "\nx-y = 0\nThe table has no values for an implicit curve: it is drawn, "
              "not listed\n");
}

} // namespace
} // namespace qrv::test
