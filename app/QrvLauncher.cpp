#include "QrvLauncher.h"

#include "QrvAppTexts.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvTableBatch.h"
#include "QrvTerminalProgress.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

#ifndef QURVIA_GUI_RELATIVE_DIR
#define QURVIA_GUI_RELATIVE_DIR "../libexec/qurvia"
#endif

namespace qrv
{

namespace
{

// A program qurvia starts: beside this one (the build tree), else in its
// private folder relative to this one (an installed tree).
std::filesystem::path HelperProgram(const std::filesystem::path& self, const char* name)
{
    std::filesystem::path beside = self.parent_path() / name;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside;
    return (self.parent_path() / QURVIA_GUI_RELATIVE_DIR / name).lexically_normal();
}

// What makes an explicitly named settings file unusable, or nothing. A
// missing file is fine: it is created when the window closes.
std::optional<std::string> SettingsFileProblem(const std::string& path)
{
    struct stat info;
    if (stat(path.c_str(), &info) != 0)
        return errno == ENOENT ? std::nullopt : std::optional<std::string>(std::strerror(errno));
    if (S_ISDIR(info.st_mode)) return "it is a folder";
    if (!S_ISREG(info.st_mode)) return "it is not a regular file";
    if (access(path.c_str(), R_OK) != 0) return "it cannot be read";
    return std::nullopt;
}

bool Set(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

// Whether a window can be shown: an X or Wayland display is named, or the
// toolkit is told to use a platform that needs none (the offscreen one the
// tests use, say). Without either, the toolkit would abort at start.
bool DisplayAvailable()
{
    if (Set("DISPLAY") || Set("WAYLAND_DISPLAY")) return true;
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr) return false;
    const std::string name = std::string(platform).substr(0, std::string(platform).find(':'));
    for (const char* own : {"offscreen", "minimal", "minimalegl", "vnc", "linuxfb", "eglfs", "vkkhrdisplay"})
        if (name == own) return true;
    return false;
}

int UsageError(const std::string& text)
{
    std::cerr << Text::ProgramName << ": " << text << "\nTry '" << Text::ProgramName
              << " --help' for more information.\n";
    return 2;
}

} // namespace

std::optional<int> PrepareCommandLine(int argc, char** argv, TCommandLine& cl)
{
    try {
        cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
        if (!cl.Help && !cl.Version) CheckCurvesComplete(cl);
    } catch (const TUsageError& e) {
        return UsageError(e.what());
    }
    if (cl.Help) {
        std::cout << UsageText();
        return 0;
    }
    if (cl.Version) {
        std::cout << Text::ProgramName << ' ' << Text::Version << '\n';
        return 0;
    }
    if (cl.ImageFormat && !CanWriteImage(*cl.ImageFormat)) {
        std::cerr << Text::ProgramName
                  << ": this build cannot write .svg images (it was built without Qt SVG)\n";
        return 2;
    }
    if (cl.Settings) {
        if (auto problem = SettingsFileProblem(*cl.Settings))
            return UsageError("--settings cannot use " + *cl.Settings + ": " + *problem);
    }
    if (!cl.IsBatch() && !DisplayAvailable()) {
        std::cerr << Text::ProgramName
                  << ": no display is available for the window; --table and --image work without one\n";
        return 2;
    }
    if (cl.DecimalSeparator) SetDecimalSeparator(*cl.DecimalSeparator);
    return std::nullopt;
}

int QurviaLauncherMain(int argc, char** argv)
{
    InitFloatEnvironment();
    TCommandLine cl;
    if (auto status = PrepareCommandLine(argc, argv, cl)) return *status;
    if ((cl.Table || cl.Analyze) && !cl.Image && !cl.UsesDocuments()) {
        // A long run shows its progress where someone watches standard error.
        TTerminalProgress progress(std::cerr);
        return RunTableBatch(cl, std::cout, std::cerr, IsTerminal(STDERR_FILENO) ? &progress : nullptr);
    }

    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv[0], error);
    const std::filesystem::path program =
        HelperProgram(self, cl.IsBatch() ? kImageProgramName : kGuiProgramName);
    setenv(kLauncherPathVariable, self.c_str(), 1);
    execv(program.c_str(), argv);
    std::cerr << Text::ProgramName << ": cannot start " << program.string() << ": " << std::strerror(errno)
              << '\n';
    return 1;
}

} // namespace qrv
