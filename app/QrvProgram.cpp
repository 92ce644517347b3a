#include "QrvProgram.h"

#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvBatch.h"
#include "QrvFileNames.h"
#include "QrvFpu.h"
#include "QrvHelperForm.h"
#include "QrvNumberText.h"
#include "QrvOptionDialog.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "QrvTableBatch.h"
#include "QrvTerminalProgress.h"
#include "QrvTextPrintForm.h"
#include "QrvViewSettings.h"
#include "m_grf_w.h"

#include <iostream>
#include <unistd.h>

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
    // Creating the application loads the toolkit's platform plugin and the
    // libraries it needs, foreign code that may leave a control word of its
    // own: the windows start from the program's environment again.
    InitFloatEnvironment();
    // Every dialog and error display of the program goes through this one.
    TQurviaPlatform platform;
    const TScopedPlatform usePlatform(platform);
    if (cl.Settings) SetSettingsFilePath(FileNameFromBytes(*cl.Settings));
    // The settings file is open from here until after the settings dialog,
    // and with it the setting variables, have saved themselves.
    TSettingsFileSession settingsFile;
    int status = 0;
    {
        // Saves its choice with the other setting variables, before the file.
        TViewSettings viewSettings;
        if (cl.BreakAtPoles) Break_At_Poles = *cl.BreakAtPoles;
        if (cl.EqualScales) Equal_Scales = *cl.EqualScales;
        if (cl.FineLabels) Fine_Labels = *cl.FineLabels;

        TF_Main_GRF F_Main_GRF;
        F_Main_GRF.SetFields(FieldsFor(cl));
        if (cl.Mode) F_Main_GRF.SetAngleMode(*cl.Mode);

        TStartupWindows windows;
        TTextPrintForm textPrintForm(&F_Main_GRF);
        windows.PrintReport = &textPrintForm;
        THelperForm helperForm(&F_Main_GRF);
        windows.Documentation = &helperForm;
        TOptionDialog optionDialog(&F_Main_GRF);
        windows.OptionDialog = &optionDialog;
        windows.ViewSettings = &viewSettings;
        F_Main_GRF.SetStartupWindows(windows);
        if (auto color = cl.FirstColor()) Element_Color = *color;

        F_Main_GRF.show();
        status = app.exec();
    }
    // The windows are gone and the setting variables have saved themselves:
    // now the file is written, and a failure is shown like any error.
    if (!SaveSettingsAtExit(settingsFile, std::cerr) && status == 0) status = 1;
    return status;
}

} // namespace

int QurviaMain(int argc, char** argv)
{
    InitFloatEnvironment();
    TCommandLine cl;
    if (auto status = PrepareProgram(argc, argv, cl)) return *status;
    if (cl.IsBatch()) {
        TTerminalProgress progress(std::cerr);
        return RunBatch(cl, argc, argv, std::cout, std::cerr,
                        IsTerminal(STDERR_FILENO) ? &progress : nullptr);
    }
    return RunWindow(cl, argc, argv);
}

} // namespace qrv
