// The picture program, and the start both programs share.
#include "QrvAppTexts.h"
#include "QrvBatch.h"
#include "QrvFpu.h"
#include "QrvLauncher.h"
#include "QrvProgram.h"
#include "QrvSettingsFile.h"
#include "QrvTerminalProgress.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <iostream>
#include <unistd.h>

namespace qrv
{

namespace
{

// The settings file for a program at `programPath`, found the way the
// settings find their own program's file.
std::string SettingsFileBeside(const char* programPath)
{
    return LocateSettingsFile(QString::fromLocal8Bit(programPath),
                              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                              [](const QString& path) { return QFileInfo(path).isWritable(); })
        .toStdString();
}

} // namespace

std::optional<int> PrepareProgram(int argc, char** argv, TCommandLine& cl)
{
    if (auto status = PrepareCommandLine(argc, argv, cl)) return status;
    // Started by qurvia: the settings file lives beside that program.
    if (!cl.Settings) {
        if (const char* launcher = std::getenv(kLauncherPathVariable); launcher && *launcher)
            cl.Settings = SettingsFileBeside(launcher);
    }
    return std::nullopt;
}

int QurviaImageMain(int argc, char** argv)
{
    InitFloatEnvironment();
    TCommandLine cl;
    if (auto status = PrepareProgram(argc, argv, cl)) return *status;
    if (!cl.IsBatch()) {
        std::cerr << Text::ProgramName << ": " << kImageProgramName
                  << " makes pictures without a window; start qurvia for the window\n";
        return 2;
    }
    TTerminalProgress progress(std::cerr);
    return RunBatch(cl, argc, argv, std::cout, std::cerr, IsTerminal(STDERR_FILENO) ? &progress : nullptr);
}

} // namespace qrv
