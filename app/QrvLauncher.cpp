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
#include <unistd.h>

#ifndef QURVIA_GUI_RELATIVE_DIR
#define QURVIA_GUI_RELATIVE_DIR "../libexec/qurvia"
#endif

namespace qrv
{

namespace
{

// The full program: beside this one (the build tree), else in its private
// folder relative to this one (an installed tree).
std::filesystem::path GuiProgram(const std::filesystem::path& self)
{
    std::filesystem::path beside = self.parent_path() / kGuiProgramName;
    std::error_code error;
    if (std::filesystem::exists(beside, error)) return beside;
    return (self.parent_path() / QURVIA_GUI_RELATIVE_DIR / kGuiProgramName).lexically_normal();
}

} // namespace

std::optional<int> PrepareCommandLine(int argc, char** argv, TCommandLine& cl)
{
    try {
        cl = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const TUsageError& e) {
        std::cerr << Text::ProgramName << ": " << e.what() << "\nTry '" << Text::ProgramName
                  << " --help' for more information.\n";
        return 2;
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
    if (cl.DecimalSeparator) SetDecimalSeparator(*cl.DecimalSeparator);
    return std::nullopt;
}

int QurviaLauncherMain(int argc, char** argv)
{
    InitFloatEnvironment();
    TCommandLine cl;
    if (auto status = PrepareCommandLine(argc, argv, cl)) return *status;
    if (cl.Table && !cl.Image) {
        // A long run shows its progress where someone watches standard error.
        TTerminalProgress progress(std::cerr);
        return RunTableBatch(cl, std::cout, std::cerr, IsTerminal(STDERR_FILENO) ? &progress : nullptr);
    }

    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) self = std::filesystem::absolute(argv[0], error);
    const std::filesystem::path gui = GuiProgram(self);
    setenv(kLauncherPathVariable, self.c_str(), 1);
    execv(gui.c_str(), argv);
    std::cerr << Text::ProgramName << ": cannot start " << gui.string() << ": " << std::strerror(errno)
              << '\n';
    return 1;
}

} // namespace qrv
