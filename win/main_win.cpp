// Launch: the working directory, MainWindow created hidden, its creation
// handler, then the event loop until no window is left.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "time/startup.h"
#include "ui/main_window.h"
#include "settings/settings_file.h"
#include "win/clock_win.h"
#include "win/file_system_win.h"
#include "win/http_win.h"
#include "win/main_form_win.h"
#include "win/ping_win.h"
#include "win/startup_registry_win.h"

namespace {

void EnterRunDirectory(FileSystem& files) {
    std::wstring directory = WidePath(RunDirectory(files));
    if (directory.size() == 2 && directory[1] == L':') directory += L'\\';  // "C:" alone names no folder
    SetCurrentDirectoryW(directory.c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WinFileSystem files;
    EnterRunDirectory(files);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WinClock clock;
    WinInetHttp http;
    WinProbe probe;
    WinStartupRegistry registry;
    WinNotificationArea tray;
    MainFormWin form(instance, MainWindow::Description(), tray);
    Program program(Platform{form, http, clock, probe, files, registry, tray});
    form.SetEventSink([&program](int source, Event event) { HandleMainWindowEvent(program, source, event); });

    if (!form.Create()) return 1;
    StartInitialTimers(program);
    HandleMainWindowEvent(program, 0, Event::Created);
    return form.RunEventLoop();
}
