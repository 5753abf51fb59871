// Launch: the working directory, MainWindow created hidden, its creation
// handler, then the event loop until no window is left.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "time/startup.h"
#include "ui/main_window.h"
#include "win/clock_win.h"
#include "win/http_win.h"
#include "win/main_form_win.h"
#include "win/ping_win.h"

namespace {

void EnterExecutableDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos) return;
    std::wstring directory = path.substr(0, slash);
    if (directory.size() == 2 && directory[1] == L':') directory += L'\\';  // the root of a drive
    SetCurrentDirectoryW(directory.c_str());
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    EnterExecutableDirectory();
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    WinClock clock;
    WinInetHttp http;
    WinProbe probe;
    MainFormWin form(instance, MainWindow::Description());
    Program program(Platform{form, http, clock, probe});
    form.SetEventSink([&program](int source, Event event) { HandleMainWindowEvent(program, source, event); });

    if (!form.Create()) return 1;
    StartInitialTimers(program);
    HandleMainWindowEvent(program, 0, Event::Created);
    return form.RunEventLoop();
}
