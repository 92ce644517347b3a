#include "QrvProgram.h"

#include "QrvAngleSource.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvBatch.h"
#include "QrvCommandLine.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvSettingAccess.h"
#include "QrvSettingsFile.h"
#include "m_grf_w.h"

#include <iostream>

namespace qrv
{

namespace
{

// Start with a window: the main window, then, hidden, the windows it opens
// later (print report, documentation, settings: creating the settings
// dialog loads the stored settings), then the message loop.
int RunWindow(const TCommandLine& cl, int& argc, char** argv)
{
    TQurviaApplication app(argc, argv);
    InitFloatEnvironment();
    if (cl.Settings) SetSettingsFilePath(QString::fromStdString(*cl.Settings));
    // The settings file is open from here until after the settings dialog,
    // and with it the setting variables, have saved themselves.
    TSettingsFileSession settingsFile;

    TF_Main_GRF F_Main_GRF;
    SetAngleModeSource([&F_Main_GRF] { return F_Main_GRF.AngleMode(); });
    F_Main_GRF.SetFields(FieldsFor(cl));
    if (cl.Mode) F_Main_GRF.SetAngleMode(*cl.Mode);

    TStartupWindows windows;
    // The print report and documentation windows are created here, hidden,
    // once they exist; the commands that open them do nothing until then.
    TOptionDialog optionDialog(&F_Main_GRF);
    windows.OptionDialog = &optionDialog;
    F_Main_GRF.SetStartupWindows(windows);
    if (cl.Color) SetLineColor(*cl.Color);

    F_Main_GRF.show();
    int status = app.exec();
    SetAngleModeSource({});
    return status;
}

} // namespace

int QurviaMain(int argc, char** argv)
{
    InitFloatEnvironment();
    TCommandLine cl;
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
    if (cl.IsBatch()) return RunBatch(cl, argc, argv, std::cout, std::cerr);
    return RunWindow(cl, argc, argv);
}

} // namespace qrv
