// The qurvia program run from the command line as a child process: the
// same cases as through the window, the files it writes, its exit status.
#include "PlotCases.h"
#include "ProgramRun.h"
#include "RowNames.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif

namespace qrv::test
{
namespace
{

TResult RunQurvia(const QStringList& args)
{
    return RunProgram(QStringLiteral(QURVIA_BINARY), args);
}

QStringList Lines(const QByteArray& text, const char* lineEnd)
{
    QString s = QString::fromLatin1(text);
    if (s.isEmpty()) return {};
    EXPECT_TRUE(s.endsWith(lineEnd)) << "every line is ended";
    s.chop(int(qstrlen(lineEnd)));
    return s.split(lineEnd);
}

const char* ModeName(TAngleMode mode)
{
    switch (mode) {
    case TAngleMode::Degrees:
        return "degrees";
    case TAngleMode::Grads:
        return "grads";
    default:
        return "radians";
    }
}

QStringList ArgsFor(const TPlotCase& c)
{
    QStringList args;
    auto add = [&](const char* option, const std::optional<std::string>& value) {
        if (value) args << option << QString::fromStdString(*value);
    };
    add("--formula", c.Formula);
    add("--xmin", c.XMin);
    add("--xmax", c.XMax);
    add("--step", c.Step);
    args << "--mode" << ModeName(c.Mode) << "--decimal-separator" << QString(QChar(c.Separator));
    return args;
}

class BatchPlot : public ::testing::TestWithParam<TPlotCase>
{
};

TEST_P(BatchPlot, GivesTheTableAndTheMessage)
{
    const TPlotCase& c = GetParam();
    TResult r = RunQurvia(ArgsFor(c) << "--table"
                                     << "-");
    QStringList lines = Lines(r.Out, "\n");
    ASSERT_EQ(std::size_t(lines.size()), c.Lines);
    if (!c.FirstLine.empty()) {
        EXPECT_EQ(lines.front().toStdString(), c.FirstLine);
    }
    if (!c.LastLine.empty()) {
        EXPECT_EQ(lines.back().toStdString(), c.LastLine);
    }
    if (c.Error.empty()) {
        EXPECT_EQ(r.Status, 0);
        EXPECT_TRUE(r.Err.isEmpty()) << r.Err.toStdString();
    } else {
        EXPECT_EQ(r.Status, 1);
        EXPECT_EQ(r.Err.toStdString(), c.Error + "\n");
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchPlot, ::testing::ValuesIn(EndToEndPlotCases()), RowName{});

class Batch : public ::testing::Test
{
protected:
    QString Path(const char* name) const { return Dir.filePath(name); }
    QTemporaryDir Dir;
};

TEST_F(Batch, TableFileHasCrLfLines)
{
    TResult r = RunQurvia({"--table", Path("t.txt")});
    EXPECT_EQ(r.Status, 0);
    QStringList lines = Lines(ReadWholeFile(Path("t.txt")), "\r\n");
    ASSERT_EQ(lines.size(), 60);
    EXPECT_EQ(lines.front(), "817.000   5.220");
    EXPECT_FALSE(lines.back().contains('\n'));
}

TEST_F(Batch, AnErrorStillWritesWhatWasProduced)
{
    TResult r = RunQurvia({"--formula", "1/(x-5)", "--xmin", "0", "--xmax", "10", "--step", "1", "--table",
                           Path("t.txt"), "--image", Path("t.png")});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Floating point division by zero.\n");
    EXPECT_EQ(ReadWholeFile(Path("t.txt")),
              "0.000   -0.200\r\n1.000   -0.250\r\n2.000   -0.333\r\n3.000   -0.500\r\n4.000   -1.000\r\n");
    EXPECT_FALSE(QImage(Path("t.png")).isNull());
}

// --analyze beside a picture: the features go to their file, the picture
// to its own, each whole.
TEST_F(Batch, AnalyzeCombinesWithAnImage)
{
    TResult r = RunQurvia({"--formula", "sin(x)", "--formula", "cos(x)", "--xmin", "0", "--xmax", "6.3",
                           "--step", "0.1", "--image", Path("a.png"), "--analyze", Path("a.txt")});
    EXPECT_EQ(r.Status, 0) << r.Err.toStdString();
    const QStringList lines = Lines(ReadWholeFile(Path("a.txt")), "\n");
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[1], "1\tmaximum\t1.57079632679489661926e+00\t1.00000000000000000000e+00");
    EXPECT_EQ(lines.back(), "1&2\tintersection\t3.92699081698724154809e+00\t-7.07106781186547524382e-01");
    EXPECT_FALSE(QImage(Path("a.png")).isNull());
}

TEST_F(Batch, AFileThatCannotBeCreatedIsAnError)
{
    QString name = Path("missing/t.txt");
    TResult r = RunQurvia({"--table", name});
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err.toStdString(), "Cannot create file " + name.toStdString() + ".\n");
}

TEST_F(Batch, ImagesByExtension)
{
    struct Row {
        const char* name;
        QByteArray magic;
    };
    for (Row row :
         {Row{"c.bmp", "BM"}, Row{"c.png", "\x89PNG"}, Row{"c.pdf", "%PDF"},
          Row{"c.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4)}, Row{"c.emf", QByteArray("\x01\0\0\0", 4)}}) {
        TResult r = RunQurvia({"--image", Path(row.name)});
        EXPECT_EQ(r.Status, 0) << row.name << r.Err.toStdString();
        EXPECT_TRUE(r.Err.isEmpty()) << row.name << r.Err.toStdString();
        QFile file(Path(row.name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << row.name;
        EXPECT_TRUE(file.read(row.magic.size()) == row.magic) << row.name;
    }
}

TEST_F(Batch, ImageSizeDefaultsToTheWindowsChart)
{
    struct Row {
        QStringList size;
        QSize expected;
    };
    for (const Row& row : {Row{{}, QSize(353, 305)}, Row{{"--size", "640x480"}, QSize(640, 480)}}) {
        for (const char* name : {"s.png", "s.bmp"}) {
            TResult r = RunQurvia(QStringList{"--image", Path(name)} + row.size);
            EXPECT_EQ(r.Status, 0);
            EXPECT_EQ(QImage(Path(name)).size(), row.expected) << name;
        }
    }
}

TEST_F(Batch, PngHasTheBitmapsPixels)
{
    // The .bmp is the chart's bitmap byte for byte; the .png of the same
    // run, however it is stored, reads back to exactly its pixels.
    const QStringList rows[] = {
        {},
        {"--formula", "1/x", "--xmin", "-1", "--xmax", "1", "--step", "0.01", "--color", "0x00FF8000"},
        {"--formula", "sin(x)", "--size", "640x480"},
    };
    for (const QStringList& args : rows) {
        SCOPED_TRACE(args.join(' ').toStdString());
        ASSERT_EQ(RunQurvia(QStringList{"--image", Path("p.png")} + args).Status, 0);
        ASSERT_EQ(RunQurvia(QStringList{"--image", Path("p.bmp")} + args).Status, 0);
        const QImage png(Path("p.png"), "PNG"), bmp(Path("p.bmp"), "BMP");
        ASSERT_FALSE(bmp.isNull());
        EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), bmp.convertToFormat(QImage::Format_RGB32));
    }
}

int CountPixels(const QImage& image, QRgb colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF);
    return n;
}

TEST_F(Batch, LineColourFromTheSettingsOrTheCommandLine)
{
    QFile ini(Path("q.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Appearance]\r\nElement_Color=16711680\r\n"); // blue, 0x00FF0000
    ini.close();
    const QByteArray before = ReadWholeFile(Path("q.ini"));
    ASSERT_FALSE(before.isEmpty());

    RunQurvia({"--settings", Path("q.ini"), "--image", Path("blue.png")});
    QImage blue(Path("blue.png"));
    EXPECT_GT(CountPixels(blue, qRgb(0, 0, 255)), 100);
    EXPECT_EQ(CountPixels(blue, qRgb(255, 0, 0)), 0);

    // --color wins over the settings file (0x0000FF00 is lime).
    RunQurvia({"--settings", Path("q.ini"), "--color", "0x0000FF00", "--image", Path("lime.png")});
    EXPECT_GT(CountPixels(QImage(Path("lime.png")), qRgb(0, 255, 0)), 100);

    EXPECT_EQ(ReadWholeFile(Path("q.ini")), before) << "a batch run never writes the settings";
}

// sin(x) over 0 ... 10 drawn with each stored View choice of the chart
// differs from the plain picture: the command line gives them to its chart.
TEST_F(Batch, ChartViewChoicesFromTheSettings)
{
    const QStringList sine{"--formula", "sin(x)", "--xmin", "0", "--xmax", "10", "--step", "0.1"};
    RunQurvia(sine + QStringList{"--image", Path("plain.png")});
    const QByteArray plain = ReadWholeFile(Path("plain.png"));
    ASSERT_FALSE(plain.isEmpty());
    for (const char* key : {"Equal_Scales", "Fine_Labels"}) {
        QFile ini(Path("v.ini"));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(QByteArray("[View]\r\n") + key + "=1\r\n");
        ini.close();
        RunQurvia(sine + QStringList{"--settings", Path("v.ini"), "--image", Path("view.png")});
        const QByteArray view = ReadWholeFile(Path("view.png"));
        EXPECT_FALSE(view.isEmpty()) << key;
        EXPECT_NE(view, plain) << key;
    }
}

TEST_F(Batch, UsageErrorsExitWithStatusTwo)
{
    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"--xmin"},
                                    QStringList{"--mode", "turns"}, QStringList{"--image", Path("c.jpg")}}) {
        TResult r = RunQurvia(args);
        EXPECT_EQ(r.Status, 2) << args.join(' ').toStdString();
        EXPECT_TRUE(r.Err.startsWith("qurvia: ")) << r.Err.toStdString();
        EXPECT_TRUE(r.Out.isEmpty());
    }
}

TEST_F(Batch, SvgNeedsQtSvg)
{
    TResult r = RunQurvia({"--image", Path("c.svg")});
#ifdef QURVIA_HAVE_SVG
    EXPECT_EQ(r.Status, 0);
    EXPECT_TRUE(QFile::exists(Path("c.svg")));
#else
    EXPECT_EQ(r.Status, 2);
    EXPECT_TRUE(r.Err.contains("svg")) << r.Err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("c.svg")));
#endif
}

TEST_F(Batch, ATableNeedsNoOtherProgramButAnImageDoes)
{
    // qurvia alone, without qurvia-image and qurvia-gui beside it.
    const QString alone = Path("qurvia");
    ASSERT_TRUE(QFile::copy(QStringLiteral(QURVIA_BINARY), alone));
    QProcess table;
    table.start(alone, {"--table", "-"});
    ASSERT_TRUE(table.waitForFinished(60000));
    EXPECT_EQ(table.exitCode(), 0);
    EXPECT_EQ(table.readAllStandardOutput().count('\n'), 60);

    QProcess image;
    image.start(alone, {"--image", Path("c.png")});
    ASSERT_TRUE(image.waitForFinished(60000));
    EXPECT_EQ(image.exitCode(), 1);
    EXPECT_TRUE(image.readAllStandardError().contains("cannot start")) << "names the missing program";
}

TEST_F(Batch, TheImageProgramOpensNoWindow)
{
    // Started by hand without --table or --image, it refuses rather than
    // plotting to nowhere.
    QProcess image;
    image.start(QFileInfo(QStringLiteral(QURVIA_BINARY)).dir().filePath("qurvia-image"), {"--formula", "x"});
    ASSERT_TRUE(image.waitForFinished(60000));
    EXPECT_EQ(image.exitCode(), 2);
    EXPECT_TRUE(image.readAllStandardError().contains("start qurvia for the window"));
}

TEST_F(Batch, HelpAndVersion)
{
    TResult help = RunQurvia({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.startsWith("Usage: qurvia"));
    TResult version = RunQurvia({"--version"});
    EXPECT_EQ(version.Status, 0);
    EXPECT_EQ(version.Out, "qurvia 1.3.3\n");
}

// --- progress of a long run on standard error ----------------------------------

// Runs qurvia with standard error on a pseudo-terminal or on a pipe and
// returns what standard error received.
QByteArray RunWithErrorsOn(bool terminal, const QStringList& args)
{
    int reader = -1, writer = -1;
    if (terminal) {
        if (openpty(&reader, &writer, nullptr, nullptr, nullptr) != 0) return "openpty failed";
    } else {
        int fds[2];
        if (pipe(fds) != 0) return "pipe failed";
        reader = fds[0];
        writer = fds[1];
    }
    std::vector<std::string> words{QURVIA_BINARY};
    for (const QString& arg : args)
        words.push_back(arg.toStdString());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    // The environment is made before the fork: the child only execs.
    std::string delay = "QURVIA_PROGRESS_DELAY=0";
    std::vector<char*> envp{delay.data()};
    for (char** e = environ; *e; ++e)
        envp.push_back(*e);
    envp.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        dup2(writer, STDERR_FILENO);
        close(reader);
        close(writer);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(writer);
    QByteArray received;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(reader, buffer, sizeof buffer);
        if (n > 0)
            received.append(buffer, n);
        else if (n < 0 && errno == EINTR)
            continue;
        else
            break; // end of the pipe, or EIO once the terminal's last writer closed it
    }
    close(reader);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << received.toStdString();
    return received;
}

TEST_F(Batch, ALongRunShowsProgressOnlyOnATerminal)
{
    // The progress shows from the first point on (QURVIA_PROGRESS_DELAY=0),
    // so what is seen does not depend on how fast the machine runs.
    const QString table = Path("long.txt");
    const QStringList args{"--formula", "sin(x)", "--xmin", "0",       "--xmax",
                           "10000",     "--step", "1",      "--table", table};

    const QByteArray onTerminal = RunWithErrorsOn(true, args);
    EXPECT_TRUE(onTerminal.contains("Plotting: ")) << onTerminal.toStdString();
    EXPECT_TRUE(onTerminal.contains(" of 10001 points")) << onTerminal.toStdString();
    // The line is erased at the end: the last thing written is a return
    // after blanks.
    EXPECT_TRUE(onTerminal.endsWith(" \r")) << onTerminal.toStdString();

    const QByteArray onPipe = RunWithErrorsOn(false, args);
    EXPECT_TRUE(onPipe.isEmpty()) << onPipe.toStdString();
    EXPECT_EQ(ReadWholeFile(table).count('\n'), 10001);
}

} // namespace
} // namespace qrv::test
