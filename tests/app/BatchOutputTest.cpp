// What the qurvia program writes beyond the table's text: --table FILE.csv,
// read back by a spreadsheet (LibreOffice Calc must see numbers in every
// cell below the header), and the warning about text after the formula.
#include "MachineLock.h"
#include "RowNames.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif

namespace qrv::test
{
namespace
{

QByteArray RunProgram(const QString& program, const QStringList& args, int* status = nullptr)
{
    QProcess process;
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(180000)) << program.toStdString();
    if (status) *status = process.exitCode();
    return process.readAllStandardOutput() + process.readAllStandardError();
}

struct TCell {
    QString Type;
    QString Value; // of a number
    QString Text;  // what the cell shows
};

// The text of a cell: its paragraphs, one line each, with their markup and
// entities read (a run of blanks is written <text:s text:c="N"/>).
QString CellText(const QString& xml)
{
    static const QRegularExpression paragraph(QStringLiteral("<text:p[^>]*>(.*?)</text:p>"),
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression blanks(QStringLiteral("<text:s(?: text:c=\"([0-9]+)\")?/>"));
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QStringList lines;
    for (auto it = paragraph.globalMatch(xml); it.hasNext();) {
        QString line = it.next().captured(1);
        for (auto run = blanks.match(line); run.hasMatch(); run = blanks.match(line))
            line.replace(run.capturedStart(), run.capturedLength(),
                         QString(run.captured(1).isEmpty() ? 1 : run.captured(1).toInt(), ' '));
        line.remove(tag);
        line.replace("&quot;", "\"").replace("&apos;", "'").replace("&lt;", "<").replace("&gt;", ">");
        lines << line.replace("&amp;", "&");
    }
    return lines.join('\n');
}

// The cells of the first sheet of a flat OpenDocument spreadsheet, row by row.
std::vector<std::vector<TCell>> SheetCells(const QString& fods)
{
    const QString xml = QString::fromUtf8(ReadWholeFile(fods));
    std::vector<std::vector<TCell>> rows;
    static const QRegularExpression rowPattern(
        QStringLiteral("<table:table-row[^>]*>(.*?)</table:table-row>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cellPattern(
        QStringLiteral("<table:table-cell([^>]*?)(?:/>|>(.*?)</table:table-cell>)"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression typePattern(QStringLiteral("office:value-type=\"([a-z]+)\""));
    static const QRegularExpression valuePattern(QStringLiteral("office:value=\"([^\"]+)\""));
    static const QRegularExpression repeatPattern(
        QStringLiteral("table:number-columns-repeated=\"([0-9]+)\""));
    for (auto row = rowPattern.globalMatch(xml); row.hasNext();) {
        std::vector<TCell> cells;
        const QString inner = row.next().captured(1);
        for (auto cell = cellPattern.globalMatch(inner); cell.hasNext();) {
            const auto match = cell.next();
            const QString attributes = match.captured(1);
            const auto type = typePattern.match(attributes);
            if (!type.hasMatch()) continue; // an empty filler cell
            const auto repeat = repeatPattern.match(attributes);
            // Equal neighbouring cells are written once with a repeat count.
            for (int k = repeat.hasMatch() ? repeat.captured(1).toInt() : 1; k > 0; --k)
                cells.push_back({type.captured(1), valuePattern.match(attributes).captured(1),
                                 CellText(match.captured(2))});
        }
        if (!cells.empty()) rows.push_back(std::move(cells));
    }
    return rows;
}

// Converts the CSV file into a flat spreadsheet with LibreOffice, imported
// as `inFilter` says (the default when empty), and returns its cells.
std::vector<std::vector<TCell>> ReadBackWithLibreOffice(const QTemporaryDir& dir, const QString& csv,
                                                        const char* inFilter)
{
    const QString soffice = QStandardPaths::findExecutable("soffice");
    // test.sh installs LibreOffice Calc: a missing one is a broken set-up.
    EXPECT_FALSE(soffice.isEmpty()) << "soffice (Debian package libreoffice-calc-nogui) is not installed";
    if (soffice.isEmpty()) return {};
    QStringList args{"-env:UserInstallation=file://" + dir.filePath("profile"), "--headless"};
    if (*inFilter) args << QStringLiteral("--infilter=%1").arg(QString::fromLatin1(inFilter));
    args << "--convert-to"
         << "fods"
         << "--outdir" << dir.path() << csv;
    int status = -1;
    QByteArray log;
    {
        // LibreOffice runs alone on the machine: two starts at once can fail
        // on a machine where it has never run (see MachineLock.h).
        const TMachineLock alone("libreoffice");
        EXPECT_TRUE(alone.Valid()) << "no lock file for LibreOffice in the temporary folder";
        log = RunProgram(soffice, args, &status);
    }
    EXPECT_EQ(status, 0) << log.toStdString();
    return SheetCells(QFileInfo(csv).dir().filePath(QFileInfo(csv).completeBaseName() + ".fods"));
}

struct TSpreadsheetCase {
    const char* Name;
    const char* Decimal;
    const char* Step;
    const char* InFilter; // how a user of that locale imports the file
    const char* Header;
    const char* FirstLine;
};
void PrintTo(const TSpreadsheetCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CsvTable : public testing::TestWithParam<TSpreadsheetCase>
{
};

TEST_P(CsvTable, SpreadsheetSeesNumbers)
{
    const TSpreadsheetCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString csv = dir.filePath("points.csv");
    int status = -1;
    RunProgram(QStringLiteral(QURVIA_BINARY),
               {"--formula", "x*x-2", "--xmin", "-2", "--xmax", "1", "--step", c.Step, "--decimal-separator",
                c.Decimal, "--table", csv},
               &status);
    ASSERT_EQ(status, 0);
    const QByteArray bytes = ReadWholeFile(csv);
    const QList<QByteArray> lines = bytes.split('\n');
    ASSERT_EQ(lines.size(), 9); // header, seven points, nothing after the last CR LF
    EXPECT_EQ(lines[0], QByteArray(c.Header) + "\r");
    EXPECT_EQ(lines[1], QByteArray(c.FirstLine) + "\r");
    for (int i = 0; i + 1 < lines.size(); ++i)
        EXPECT_TRUE(lines[i].endsWith('\r')) << "line " << i << " ends with CR LF";

    const auto rows = ReadBackWithLibreOffice(dir, csv, c.InFilter);
    ASSERT_EQ(rows.size(), 8u);
    ASSERT_EQ(rows[0].size(), 2u);
    EXPECT_EQ(rows[0][0].Type, "string");
    const double expected[][2] = {{-2, 2}, {-1.5, 0.25}, {-1, -1}, {-0.5, -1.75},
                                  {0, -2}, {0.5, -1.75}, {1, -1}};
    for (std::size_t r = 1; r < rows.size(); ++r) {
        ASSERT_EQ(rows[r].size(), 2u) << "row " << r;
        for (std::size_t k = 0; k < 2; ++k) {
            EXPECT_EQ(rows[r][k].Type, "float") << "row " << r << " column " << k;
            EXPECT_EQ(rows[r][k].Value.toDouble(), expected[r - 1][k]) << "row " << r << " column " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Csv, CsvTable,
                         testing::Values(TSpreadsheetCase{"DecimalPoint", ".", "0.5", "", "x,y",
                                                          "-2.000,2.000"},
                                         // Semicolons between fields, a decimal comma, UTF-8, read as German.
                                         TSpreadsheetCase{"DecimalComma", ",", "0,5", "CSV:59,34,76,1,,1031",
                                                          "x;y", "-2,000;2,000"}),
                         test::RowName{});

class CsvOfSeveralCurves : public testing::TestWithParam<TSpreadsheetCase>
{
};

TEST_P(CsvOfSeveralCurves, SpreadsheetSeesTheHeadersAndNumbers)
{
    const TSpreadsheetCase& c = GetParam();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // Headers holding both field separators and quotes: a formula with the
    // argument separator, and labels.
    QFile document(dir.filePath("curves.qurvia"));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.write(R"json({"qurvia": 1, "curves": [
        {"kind": "function", "formula": "power(x;2)", "xmin": "-1", "xmax": "1", "step": "0.5"},
        {"kind": "function", "formula": "x*2", "xmin": "-1", "xmax": "1", "step": "0.5",
         "label": "twice, \"doubled\""},
        {"kind": "function", "formula": "x/4", "xmin": "-1", "xmax": "1", "step": "0.5", "label": "a;b"}]})json");
    document.close();
    const QString csv = dir.filePath("curves.csv");
    int status = -1;
    const QByteArray messages = RunProgram(
        QStringLiteral(QURVIA_BINARY),
        {"--document", dir.filePath("curves.qurvia"), "--decimal-separator", c.Decimal, "--table", csv},
        &status);
    ASSERT_EQ(status, 0) << messages.toStdString();
    EXPECT_EQ(ReadWholeFile(csv).split('\n').front(), QByteArray(c.Header) + "\r");

    const auto rows = ReadBackWithLibreOffice(dir, csv, c.InFilter);
    ASSERT_EQ(rows.size(), 6u);
    const QString headers[] = {"x", "power(x;2)", "twice, \"doubled\"", "a;b"};
    ASSERT_EQ(rows[0].size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(rows[0][k].Type, "string") << "column " << k;
        EXPECT_EQ(rows[0][k].Text.toStdString(), headers[k].toStdString()) << "column " << k;
    }
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const double x = -1 + 0.5 * double(r - 1);
        const double expected[] = {x, x * x, 2 * x, x / 4};
        ASSERT_EQ(rows[r].size(), 4u) << "row " << r;
        for (std::size_t k = 0; k < 4; ++k) {
            EXPECT_EQ(rows[r][k].Type, "float") << "row " << r << " column " << k;
            EXPECT_EQ(rows[r][k].Value.toDouble(), expected[k]) << "row " << r << " column " << k;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Csv, CsvOfSeveralCurves,
    testing::Values(TSpreadsheetCase{"DecimalPoint", ".", "", "",
                                     R"csv(x,power(x;2),"twice, ""doubled""",a;b)csv", ""},
                    TSpreadsheetCase{"DecimalComma", ",", "", "CSV:59,34,76,1,,1031",
                                     R"csv(x;"power(x;2)";"twice, ""doubled""";"a;b")csv", ""}),
    test::RowName{});

TEST(BatchWarning, IgnoredTextIsAWarningOnStandardErrorOnly)
{
    for (const char* option : {"--table", "--image"}) {
        SCOPED_TRACE(option);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        QProcess process;
        const QString target = QString::fromUtf8(option) == "--table" ? "-" : dir.filePath("c.png");
        process.start(QStringLiteral(QURVIA_BINARY),
                      {"--formula", "x^2", "--xmin", "0", "--xmax", "2", "--step", "1", option, target});
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << "the exit status is unchanged";
        EXPECT_EQ(process.readAllStandardError(), "warning: Ignored after the formula: ^2\n");
        if (target == "-") {
            EXPECT_EQ(process.readAllStandardOutput(), "0.000   0.000\n1.000   1.000\n2.000   2.000\n");
        }
    }
    // A formula read whole warns about nothing.
    QProcess process;
    process.start(QStringLiteral(QURVIA_BINARY), {"--formula", "x*x", "--table", "-"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_TRUE(process.readAllStandardError().isEmpty());
}

} // namespace
} // namespace qrv::test
