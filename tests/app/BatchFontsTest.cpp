// The font set-up of the command line's pictures: when it applies, that
// fontconfig reads it as meant, and that it draws what the system's full
// configuration draws.
#include "QrvBatchFonts.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace qrv::test
{
namespace
{

const std::string kLiberation = "/usr/share/fonts/truetype/liberation";
const std::string kLiberation2 = "/usr/share/fonts/truetype/liberation2";

TFontSystem FakeSystem(std::map<std::string, const char*> variables, std::set<std::string> folders)
{
    return {[variables](const char* name) -> const char* {
                auto it = variables.find(name);
                return it == variables.end() ? nullptr : it->second;
            },
            [folders](const std::string& path) {
                for (const std::string& folder : folders)
                    if (path == folder + "/" + kLiberationSansFile) return true;
                return false;
            }};
}

TEST(BatchFonts, OwnConfigurationOnlyWhereItApplies)
{
    struct Row {
        const char* what;
        std::map<std::string, const char*> variables;
        std::set<std::string> folders;
        std::string folder; // empty: the system's configuration
    };
    const Row rows[] = {
        {"fonts-liberation", {}, {kLiberation}, kLiberation},
        {"fonts-liberation2 alone", {}, {kLiberation2}, kLiberation2},
        {"both: the first", {}, {kLiberation2, kLiberation}, kLiberation},
        {"no Liberation Sans", {}, {}, ""},
        {"user's file", {{"FONTCONFIG_FILE", "/home/u/fonts.conf"}}, {kLiberation}, ""},
        {"user's path", {{"FONTCONFIG_PATH", "/home/u/fonts"}}, {kLiberation}, ""},
        {"user's root", {{"FONTCONFIG_SYSROOT", "/srv/root"}}, {kLiberation}, ""},
        {"empty variable", {{"FONTCONFIG_FILE", ""}}, {kLiberation}, kLiberation},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::optional<std::string> text =
            BatchFontConfiguration(FakeSystem(row.variables, row.folders));
        if (row.folder.empty()) {
            EXPECT_FALSE(text);
            continue;
        }
        ASSERT_TRUE(text);
        EXPECT_NE(text->find("<dir>" + row.folder + "</dir>"), std::string::npos);
    }
}

// What fontconfig makes of a request for Arial under a configuration.
struct TArialMatch {
    std::string File;
    int Antialias = -1, Hinting = -1, HintStyle = -1, LcdFilter = -1;
    bool operator==(const TArialMatch&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TArialMatch& m)
{
    return out << m.File << " antialias " << m.Antialias << " hinting " << m.Hinting << " hintstyle "
               << m.HintStyle << " lcdfilter " << m.LcdFilter;
}

TArialMatch MatchArial(FcConfig* config)
{
    TArialMatch match;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("Arial"));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    if (FcPattern* font = FcFontMatch(config, pattern, &result)) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) == FcResultMatch)
            match.File = reinterpret_cast<const char*>(file);
        FcBool b;
        if (FcPatternGetBool(font, FC_ANTIALIAS, 0, &b) == FcResultMatch) match.Antialias = b;
        if (FcPatternGetBool(font, FC_HINTING, 0, &b) == FcResultMatch) match.Hinting = b;
        FcPatternGetInteger(font, FC_HINT_STYLE, 0, &match.HintStyle);
        FcPatternGetInteger(font, FC_LCD_FILTER, 0, &match.LcdFilter);
        FcPatternDestroy(font);
    }
    FcPatternDestroy(pattern);
    return match;
}

TArialMatch OwnArial()
{
    const std::optional<std::string> text = BatchFontConfiguration(RealFontSystem());
    if (!text) return {};
    FcConfig* config = FcConfigCreate();
    EXPECT_TRUE(
        FcConfigParseAndLoadFromMemory(config, reinterpret_cast<const FcChar8*>(text->c_str()), FcTrue));
    EXPECT_TRUE(FcConfigBuildFonts(config));
    TArialMatch match = MatchArial(config);
    FcConfigDestroy(config);
    return match;
}

TArialMatch SystemArial()
{
    FcConfig* config = FcInitLoadConfigAndFonts();
    TArialMatch match = MatchArial(config);
    FcConfigDestroy(config);
    return match;
}

TEST(BatchFonts, ArialIsLiberationSansWithTheSystemsDefaultRendering)
{
    // The test machine installs fonts-liberation; a malformed rule would be
    // dropped by fontconfig without a word, so the values are read back.
    const TArialMatch own = OwnArial();
    EXPECT_EQ(own.File, kLiberation + "/" + kLiberationSansFile);
    EXPECT_EQ(own.Antialias, 1);
    EXPECT_EQ(own.Hinting, 1);
    EXPECT_EQ(own.HintStyle, FC_HINT_SLIGHT);
    EXPECT_EQ(own.LcdFilter, FC_LCD_DEFAULT);
    const TArialMatch system = SystemArial();
    if (system.File != own.File) GTEST_SKIP() << "this system draws Arial from " << system.File;
    EXPECT_EQ(own, system);
}

// A picture of the qurvia program, with the environment changed as given.
QImage Picture(const QTemporaryDir& dir, const char* name, const char* variable, const char* value)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* v : {"FONTCONFIG_FILE", "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT"})
        environment.remove(v);
    if (variable) environment.insert(variable, value);
    QProcess process;
    process.setProcessEnvironment(environment);
    const QString path = dir.filePath(name);
    // Labels with digits, signs, separators and an exponent, and both titles.
    process.start(QStringLiteral(QURVIA_BINARY),
                  {"--formula", "sin(x)*1E6-x", "--xmin", "-10", "--xmax", "10", "--step", "0.05", "--size",
                   "500x400", "--image", path});
    EXPECT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    return QImage(path);
}

TEST(BatchFonts, PictureEqualsTheSystemConfigurationsPicture)
{
    if (SystemArial().File != OwnArial().File) GTEST_SKIP() << "this system draws Arial from another file";
    QTemporaryDir dir;
    const QImage own = Picture(dir, "own.png", nullptr, nullptr);
    const QImage system = Picture(dir, "system.png", "FONTCONFIG_FILE", "/etc/fonts/fonts.conf");
    ASSERT_FALSE(own.isNull());
    EXPECT_EQ(own, system);
}

} // namespace
} // namespace qrv::test
