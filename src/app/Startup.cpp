#include "app/Startup.h"

#include <windows.h>

#include "app/Main.h"
#include "base/Text.h"
#include "common/VL_Common_Var.h"
#include "gui/Application.h"
#include "ui/ScreenMonitorManager.h"
#include "ui/WaitRun.h"

namespace app {

namespace {

int RunStartupSequence() {
    common::InitializeSharedUnits();
    (void)::SetCurrentDirectoryW(base::ExeFolder().c_str());
    ui::myScreen = new ui::TmyScreen();  // program-wide, lives until the process ends
    ui::SelectScreenMonitor(0);

    gui::Application& application = gui::App();
    application.Initialize();
    application.SetTitle(L"Установка комплекса \"Велтон-Dozevo\"");
    {
        TFMain main;
        application.SetMainForm(&main);
        const ui::TFWaitRun waitRun;  // created as the complex's programs do; never shown here
        application.Run(main);
        application.SetMainForm(nullptr);
    }
    application.Finalize();
    common::FinalizeSharedUnits();
    return 0;
}

}  // namespace

int RunInstaller() {
    try {
        return RunStartupSequence();
    } catch (...) {
        // Without its main window nothing of the program can run: report and end.
        gui::App().HandleException();
        return 1;
    }
}

}  // namespace app
