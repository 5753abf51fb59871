// e2e_driver.exe: acts on the program under test through its windows, as a
// user would, and reports what it sees as JSON lines on stdout.
//
//   e2e_driver.exe <command> [--option value]...
//
// Window selection (top-level): --title TEXT, --class NAME, --hwnd 0xHANDLE.
// Waits take --timeout SECONDS (default 10). Exit codes: 0 done, 2 bad
// usage, 3 a wait timed out, 4 a window or control was not found, 5 a
// Win32 call failed.
#include <windows.h>
#include <commctrl.h>
#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitTimeout = 3;
constexpr int kExitNotFound = 4;
constexpr int kExitFailed = 5;

// The static that holds a message box's text. The icon static's id differs
// between Windows (20) and Wine (1088): it is found by its SS_ICON style.
constexpr int kMsgBoxTextId = 0xFFFF;

struct Failure {
    int code;
    std::wstring message;
};

[[noreturn]] void Fail(int code, const std::wstring& message) { throw Failure{code, message}; }

std::string Utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
    return s;
}

// ---- JSON output -----------------------------------------------------------

std::string Quote(const std::wstring& w) {
    std::string out = "\"";
    for (unsigned char c : Utf8(w)) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20) {
                char buf[8];
                snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += (char)c;
            }
        }
    }
    return out + "\"";
}

// Builds one JSON object, field by field, in insertion order.
class Json {
public:
    Json& Str(const char* k, const std::wstring& v) { return Raw(k, Quote(v)); }
    Json& Int(const char* k, long long v) { return Raw(k, std::to_string(v)); }
    Json& Bool(const char* k, bool v) { return Raw(k, v ? "true" : "false"); }
    Json& Hwnd(const char* k, HWND h) {
        char buf[32];
        snprintf(buf, sizeof buf, "\"0x%llx\"", (unsigned long long)(uintptr_t)h);
        return Raw(k, buf);
    }
    Json& Rect(const char* k, const RECT& r) {  // [x, y, width, height]
        char buf[96];
        snprintf(buf, sizeof buf, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
        return Raw(k, buf);
    }
    Json& Strings(const char* k, const std::vector<std::wstring>& v) {
        std::string s = "[";
        for (size_t i = 0; i < v.size(); ++i) s += (i ? ", " : "") + Quote(v[i]);
        return Raw(k, s + "]");
    }
    Json& Raw(const char* k, const std::string& v) {
        body_ += (body_.empty() ? "" : ", ") + Quote(std::wstring(k, k + strlen(k))) + ": " + v;
        return *this;
    }
    std::string Text() const { return "{" + body_ + "}"; }

private:
    std::string body_;
};

void Emit(const std::string& line) {
    std::string s = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), s.data(), (DWORD)s.size(), &written, nullptr);
}

void Emit(const Json& j) { Emit(j.Text()); }

// ---- arguments ---------------------------------------------------------------

class Args {
public:
    Args(int argc, wchar_t** argv) {
        for (int i = 2; i < argc; ++i) {
            std::wstring a = argv[i];
            if (a.rfind(L"--", 0) != 0 || i + 1 >= argc) Fail(kExitUsage, L"bad argument: " + a);
            values_[a.substr(2)] = argv[++i];
        }
    }
    bool Has(const std::wstring& k) const { return values_.count(k) != 0; }
    std::wstring Get(const std::wstring& k, const std::wstring& def = L"") const {
        auto it = values_.find(k);
        return it == values_.end() ? def : it->second;
    }
    std::wstring Need(const std::wstring& k) const {
        if (!Has(k)) Fail(kExitUsage, L"missing --" + k);
        return Get(k);
    }
    long long Number(const std::wstring& k, long long def) const {
        if (!Has(k)) return def;
        std::wstring v = Get(k);
        wchar_t* end = nullptr;
        long long n = wcstoll(v.c_str(), &end, 0);
        if (v.empty() || *end) Fail(kExitUsage, L"not a number: --" + k + L" " + v);
        return n;
    }
    DWORD TimeoutMs() const {
        double s = _wtof(Get(L"timeout", L"10").c_str());
        return (DWORD)(s * 1000);
    }

private:
    std::map<std::wstring, std::wstring> values_;
};

// ---- windows ---------------------------------------------------------------

std::wstring ClassOf(HWND h) {
    wchar_t buf[256] = {};
    GetClassNameW(h, buf, 256);
    return buf;
}

// WM_GETTEXT is marshalled across processes, so it reads any control's text;
// the time limit keeps a hung target from hanging the driver.
std::wstring TextOf(HWND h) {
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(h, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &len)) {
        wchar_t buf[1024] = {};
        GetWindowTextW(h, buf, 1024);
        return buf;
    }
    std::wstring s(len + 1, L'\0');
    DWORD_PTR got = 0;
    SendMessageTimeoutW(h, WM_GETTEXT, len + 1, (LPARAM)s.data(), SMTO_ABORTIFHUNG, 2000, &got);
    s.resize(wcslen(s.c_str()));
    return s;
}

struct Selector {
    bool hasTitle = false, hasClass = false;
    std::wstring title, cls;
    HWND hwnd = nullptr;

    static Selector From(const Args& a, const std::wstring& prefix = L"") {
        Selector s;
        s.hasTitle = a.Has(prefix + L"title");
        s.title = a.Get(prefix + L"title");
        s.hasClass = a.Has(prefix + L"class");
        s.cls = a.Get(prefix + L"class");
        if (a.Has(prefix + L"hwnd")) s.hwnd = (HWND)(uintptr_t)a.Number(prefix + L"hwnd", 0);
        if (!s.hasTitle && !s.hasClass && !s.hwnd) Fail(kExitUsage, L"give --title, --class or --hwnd");
        return s;
    }
    bool Matches(HWND h) const {
        if (hwnd) return h == hwnd;
        if (hasClass && ClassOf(h) != cls) return false;
        if (hasTitle && TextOf(h) != title) return false;
        return true;
    }
    std::wstring Describe() const {
        std::wstring d;
        if (hasTitle) d += L"title \"" + title + L"\" ";
        if (hasClass) d += L"class \"" + cls + L"\" ";
        if (hwnd) d += L"the given handle ";
        return d;
    }
};

std::vector<HWND> TopLevel() {
    std::vector<HWND> all;
    EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        (LPARAM)&all);
    return all;
}

std::vector<HWND> Descendants(HWND top) {
    std::vector<HWND> all;
    EnumChildWindows(
        top,
        [](HWND h, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(h);
            return TRUE;
        },
        (LPARAM)&all);
    return all;
}

// The visible match if there is one, else any match, else null.
HWND FindTop(const Selector& s) {
    if (s.hwnd) return IsWindow(s.hwnd) ? s.hwnd : nullptr;
    HWND any = nullptr;
    for (HWND h : TopLevel()) {
        if (!s.Matches(h)) continue;
        if (IsWindowVisible(h)) return h;
        if (!any) any = h;
    }
    return any;
}

RECT ClientOnScreen(HWND h) {
    RECT c{};
    GetClientRect(h, &c);
    MapWindowPoints(h, nullptr, (POINT*)&c, 2);
    return c;
}

DWORD ProcessOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

Json WindowFacts(HWND h, const wchar_t* type = L"window") {
    RECT r{};
    GetWindowRect(h, &r);
    Json j;
    j.Str("type", type).Hwnd("hwnd", h).Str("title", TextOf(h)).Str("class", ClassOf(h));
    j.Int("pid", ProcessOf(h)).Rect("rect", r).Rect("client", ClientOnScreen(h));
    j.Bool("visible", IsWindowVisible(h)).Bool("enabled", IsWindowEnabled(h));
    j.Bool("foreground", GetForegroundWindow() == h).Bool("iconic", IsIconic(h));
    j.Int("style", (unsigned)GetWindowLongW(h, GWL_STYLE)).Int("exstyle", (unsigned)GetWindowLongW(h, GWL_EXSTYLE));
    j.Hwnd("owner", GetWindow(h, GW_OWNER));
    return j;
}

// ---- memory in the target process, for common-control messages -----------

// Messages of the common controls are not marshalled between processes: their
// pointers must point into the target's own memory.
class RemoteBuffer {
public:
    RemoteBuffer(HWND h, size_t size) : size_(size) {
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                               FALSE, ProcessOf(h));
        if (!process_) Fail(kExitFailed, L"OpenProcess failed");
        base_ = (char*)VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!base_) Fail(kExitFailed, L"VirtualAllocEx failed");
    }
    ~RemoteBuffer() {
        if (base_) VirtualFreeEx(process_, base_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    char* At(size_t offset) const { return base_ + offset; }
    void Write(size_t offset, const void* data, size_t n) {
        if (!WriteProcessMemory(process_, base_ + offset, data, n, nullptr)) Fail(kExitFailed, L"WriteProcessMemory");
    }
    void Read(size_t offset, void* data, size_t n) const {
        if (!ReadProcessMemory(process_, base_ + offset, data, n, nullptr)) Fail(kExitFailed, L"ReadProcessMemory");
    }

private:
    HANDLE process_ = nullptr;
    char* base_ = nullptr;
    size_t size_;
};

LRESULT Send(HWND h, UINT msg, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(h, msg, w, l, SMTO_ABORTIFHUNG, 5000, &result)) Fail(kExitFailed, L"message timed out");
    return (LRESULT)result;
}

struct TabItem {
    std::wstring text;
    RECT rect{};  // client coordinates of the tab control
};

std::vector<TabItem> TabItems(HWND tab) {
    std::vector<TabItem> items;
    int count = (int)Send(tab, TCM_GETITEMCOUNT, 0, 0);
    constexpr size_t kTextChars = 256;
    constexpr size_t kTextAt = 256;
    constexpr size_t kRectAt = kTextAt + kTextChars * sizeof(wchar_t);
    RemoteBuffer mem(tab, kRectAt + sizeof(RECT));
    for (int i = 0; i < count; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = (LPWSTR)mem.At(kTextAt);
        item.cchTextMax = kTextChars;
        wchar_t empty[kTextChars] = {};
        mem.Write(kTextAt, empty, sizeof empty);
        mem.Write(0, &item, sizeof item);
        TabItem t;
        if (Send(tab, TCM_GETITEMW, i, (LPARAM)mem.At(0))) {
            wchar_t text[kTextChars] = {};
            mem.Read(0, &item, sizeof item);
            if (item.pszText == (LPWSTR)mem.At(kTextAt)) {
                mem.Read(kTextAt, text, sizeof text);
                text[kTextChars - 1] = 0;
                t.text = text;
            }
        }
        if (Send(tab, TCM_GETITEMRECT, i, (LPARAM)mem.At(kRectAt))) mem.Read(kRectAt, &t.rect, sizeof t.rect);
        items.push_back(t);
    }
    return items;
}

// ---- controls ----------------------------------------------------------------

std::wstring ButtonKind(LONG style) {
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON: return L"push";
    case BS_DEFPUSHBUTTON: return L"defpush";
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX: return L"checkbox";
    case BS_3STATE:
    case BS_AUTO3STATE: return L"3state";
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON: return L"radio";
    case BS_GROUPBOX: return L"groupbox";
    case BS_OWNERDRAW: return L"ownerdraw";
    default: return L"other";
    }
}

Json ControlFacts(HWND top, HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    RECT client = ClientOnScreen(top);
    RECT rel = r;
    OffsetRect(&rel, -client.left, -client.top);
    std::wstring cls = ClassOf(h);
    LONG style = GetWindowLongW(h, GWL_STYLE);
    HWND parent = GetAncestor(h, GA_PARENT);
    Json j;
    j.Str("type", L"control").Hwnd("hwnd", h).Int("id", GetDlgCtrlID(h)).Str("class", cls).Str("text", TextOf(h));
    j.Rect("rect", r).Rect("crect", rel);
    j.Bool("visible", IsWindowVisible(h)).Bool("enabled", IsWindowEnabled(h));
    j.Int("style", (unsigned)style).Int("exstyle", (unsigned)GetWindowLongW(h, GWL_EXSTYLE));
    j.Int("parent_id", parent == top ? 0 : GetDlgCtrlID(parent));
    if (_wcsicmp(cls.c_str(), L"Button") == 0) {
        j.Str("button", ButtonKind(style)).Int("check", (long long)Send(h, BM_GETCHECK, 0, 0));
    } else if (_wcsicmp(cls.c_str(), L"ComboBox") == 0) {
        // CB_GETLBTEXT is one of the messages the system marshals itself.
        int count = (int)Send(h, CB_GETCOUNT, 0, 0);
        std::vector<std::wstring> items;
        for (int i = 0; i < count; ++i) {
            int len = (int)Send(h, CB_GETLBTEXTLEN, i, 0);
            std::wstring s(len < 0 ? 0 : len + 1, L'\0');
            if (len >= 0) Send(h, CB_GETLBTEXT, i, (LPARAM)s.data());
            s.resize(wcslen(s.c_str()));
            items.push_back(s);
        }
        j.Int("selected", (int)Send(h, CB_GETCURSEL, 0, 0)).Strings("items", items);
    } else if (cls == WC_TABCONTROLW) {
        std::vector<std::wstring> texts;
        std::string rects = "[";
        for (auto& t : TabItems(h)) {
            texts.push_back(t.text);
            RECT r = t.rect;
            MapWindowPoints(h, nullptr, (POINT*)&r, 2);
            rects += (rects.size() > 1 ? ", " : "") + Json().Rect("r", r).Text().substr(6);
            rects.pop_back();
        }
        j.Int("selected", (int)Send(h, TCM_GETCURSEL, 0, 0)).Strings("items", texts).Raw("item_rects", rects + "]");
    }
    return j;
}

HWND NeedControl(HWND top, int id) {
    for (HWND h : Descendants(top))
        if (GetDlgCtrlID(h) == id) return h;
    Fail(kExitNotFound, L"no control with id " + std::to_wstring(id));
}

// Polls until ready() or the time is up.
template <typename F>
bool WaitFor(DWORD timeoutMs, F ready) {
    DWORD start = GetTickCount();
    for (;;) {
        if (ready()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(50);
    }
}

// ---- input -------------------------------------------------------------------

void BringToFront(HWND h, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (GetForegroundWindow() == h) return;
        SetForegroundWindow(h);
        if (GetForegroundWindow() == h) return;
        if (GetTickCount() - start > timeoutMs) Fail(kExitTimeout, L"window did not come to the foreground");
        Sleep(50);
    }
}

WORD KeyCode(const std::wstring& name) {
    static const std::map<std::wstring, WORD> keys = {
        {L"esc", VK_ESCAPE}, {L"enter", VK_RETURN}, {L"space", VK_SPACE}, {L"tab", VK_TAB},
        {L"left", VK_LEFT},  {L"right", VK_RIGHT},  {L"up", VK_UP},       {L"down", VK_DOWN},
    };
    auto it = keys.find(name);
    if (it != keys.end()) return it->second;
    wchar_t* end = nullptr;
    long n = wcstol(name.c_str(), &end, 0);
    if (name.empty() || *end || n <= 0 || n > 0xFE) Fail(kExitUsage, L"unknown key: " + name);
    return (WORD)n;
}

void PressKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[0].ki.wScan = in[1].ki.wScan = (WORD)MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, in, sizeof(INPUT)) != 2) Fail(kExitFailed, L"SendInput failed");
}

// A real mouse click at a screen point: the target sees the same messages and
// notifications as when a user clicks there. Under Wine a process's first
// SetCursorPos may not reach the X server unless the cursor was read before,
// so read it, move, and check that the move took.
void ClickAt(POINT p, bool right, bool dbl) {
    POINT now{};
    bool moved = WaitFor(2000, [&] {
        GetCursorPos(&now);
        if (now.x == p.x && now.y == p.y) return true;
        SetCursorPos(p.x, p.y);
        return false;
    });
    if (!moved) Fail(kExitFailed, L"the mouse cursor did not move");
    for (int n = 0; n < (dbl ? 2 : 1); ++n) {
        INPUT in[2] = {};
        in[0].type = in[1].type = INPUT_MOUSE;
        in[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
        in[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
        if (SendInput(2, in, sizeof(INPUT)) != 2) Fail(kExitFailed, L"SendInput failed");
        Sleep(30);
    }
}

// ---- waiting -------------------------------------------------------------------

HWND WaitTop(const Selector& s, const std::wstring& state, DWORD timeoutMs) {
    HWND found = nullptr;
    bool ok = WaitFor(timeoutMs, [&] {
        found = FindTop(s);
        if (state == L"exists") return found != nullptr;
        if (state == L"visible") return found && IsWindowVisible(found);
        if (state == L"hidden") return found && !IsWindowVisible(found);
        if (state == L"gone") return found == nullptr;
        Fail(kExitUsage, L"unknown --state " + state);
    });
    if (!ok) Fail(kExitTimeout, L"timed out waiting for window " + s.Describe() + L"to be " + state);
    return found;
}

// ---- message boxes -------------------------------------------------------------

HWND MsgBoxIconStatic(HWND box) {
    for (HWND h : Descendants(box))
        if (_wcsicmp(ClassOf(h).c_str(), L"Static") == 0 && (GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
            IsWindowVisible(h))
            return h;
    return nullptr;
}

// Which stock icon a message box shows. Under Wine a process's stock icon
// handles are its own (LoadIcon gives each process other values), so the
// pictures are compared: the static's pixels on the screen against each
// stock icon drawn on the dialog's background colour.
struct IconMatch {
    std::wstring name;
    double distance;  // mean difference per colour channel, 0..255
    double runnerUp;  // the same for the second-best stock icon
};

IconMatch MsgBoxIcon(HWND box) {
    HWND st = MsgBoxIconStatic(box);
    if (!st) return {L"none", 0, 0};
    RECT r{};
    GetWindowRect(st, &r);
    int w = GetSystemMetrics(SM_CXICON), h = GetSystemMetrics(SM_CYICON);
    HDC screen = GetDC(nullptr);
    HDC shot = CreateCompatibleDC(screen);
    HDC draw = CreateCompatibleDC(screen);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* shotBits = nullptr;
    void* drawBits = nullptr;
    HBITMAP shotBmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &shotBits, nullptr, 0);
    HBITMAP drawBmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &drawBits, nullptr, 0);
    HGDIOBJ oldShot = SelectObject(shot, shotBmp);
    HGDIOBJ oldDraw = SelectObject(draw, drawBmp);
    BitBlt(shot, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    COLORREF bg = GetSysColor(COLOR_3DFACE);

    struct Stock {
        const wchar_t* name;
        LPCWSTR id;
    };
    const Stock stock[] = {{L"hand", IDI_HAND}, {L"question", IDI_QUESTION},
                           {L"exclamation", IDI_EXCLAMATION}, {L"asterisk", IDI_ASTERISK}};
    std::wstring best = L"unknown";
    double bestDiff = 1e18, secondDiff = 1e18;
    const uint32_t* a = (const uint32_t*)shotBits;
    for (const Stock& s : stock) {
        HBRUSH brush = CreateSolidBrush(bg);
        RECT all{0, 0, w, h};
        FillRect(draw, &all, brush);
        DeleteObject(brush);
        DrawIconEx(draw, 0, 0, LoadIconW(nullptr, s.id), w, h, 0, nullptr, DI_NORMAL);
        GdiFlush();
        const uint32_t* b = (const uint32_t*)drawBits;
        double diff = 0;
        for (int i = 0; i < w * h; ++i)
            for (int sh = 0; sh < 24; sh += 8) diff += abs((int)((a[i] >> sh) & 0xFF) - (int)((b[i] >> sh) & 0xFF));
        diff /= (w * h * 3.0);
        if (diff < bestDiff) {
            secondDiff = bestDiff;
            bestDiff = diff;
            best = s.name;
        } else if (diff < secondDiff) {
            secondDiff = diff;
        }
    }
    SelectObject(shot, oldShot);
    SelectObject(draw, oldDraw);
    DeleteObject(shotBmp);
    DeleteObject(drawBmp);
    DeleteDC(shot);
    DeleteDC(draw);
    ReleaseDC(nullptr, screen);
    // Wine draws the very same pixels (difference 0); other stock icons
    // differ by 5 or more.
    return {bestDiff < 2.0 ? best : L"unknown", bestDiff, secondDiff};
}

Json MsgBoxFacts(HWND box) {
    Json j = WindowFacts(box, L"msgbox");
    HWND text = GetDlgItem(box, kMsgBoxTextId);
    j.Str("text", text ? TextOf(text) : L"");
    std::string buttons = "[";
    for (HWND h : Descendants(box)) {
        if (_wcsicmp(ClassOf(h).c_str(), L"Button") != 0 || !IsWindowVisible(h)) continue;
        Json b;
        b.Int("id", GetDlgCtrlID(h)).Str("text", TextOf(h));
        buttons += (buttons.size() > 1 ? ", " : "") + b.Text();
    }
    j.Raw("buttons", buttons + "]");
    IconMatch icon = MsgBoxIcon(box);
    char distances[64];
    snprintf(distances, sizeof distances, "[%.2f, %.2f]", icon.distance, icon.runnerUp);
    j.Str("icon", icon.name).Raw("icon_distance", distances);
    return j;
}

Selector MsgBoxSelector(const Args& a) {
    Selector s;
    s.hasClass = true;
    s.cls = L"#32770";
    s.hasTitle = a.Has(L"title");
    s.title = a.Get(L"title");
    return s;
}

// ---- the notification area ---------------------------------------------------------

// The shell of a virtual desktop keeps one tooltip per notification icon,
// owned by its taskbar (Shell_TrayWnd) or by the icon's own window; the tool
// carries the icon's tip and its place.
struct TrayIcon {
    HWND tooltip;
    std::wstring tip;
    RECT rect;
};

std::vector<TrayIcon> TrayIcons() {
    std::vector<TrayIcon> icons;
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!tray) return icons;
    for (HWND top : TopLevel()) {
        if (ClassOf(top) != TOOLTIPS_CLASSW) continue;
        HWND owner = GetWindow(top, GW_OWNER);
        if (owner != tray && GetAncestor(owner, GA_PARENT) != tray) continue;
        if (!Send(top, TTM_GETTOOLCOUNT, 0, 0)) continue;
        constexpr size_t kTextChars = 256;
        constexpr size_t kTextAt = 256;
        RemoteBuffer mem(top, kTextAt + kTextChars * sizeof(wchar_t));
        TTTOOLINFOW ti{};
        ti.cbSize = sizeof ti;
        mem.Write(0, &ti, sizeof ti);
        if (!Send(top, TTM_ENUMTOOLSW, 0, (LPARAM)mem.At(0))) continue;
        mem.Read(0, &ti, sizeof ti);
        TrayIcon t{top, L"", {}};
        if (ti.uFlags & TTF_IDISHWND) {
            GetWindowRect((HWND)ti.uId, &t.rect);
        } else {
            t.rect = ti.rect;
            MapWindowPoints(ti.hwnd, nullptr, (POINT*)&t.rect, 2);
        }
        wchar_t text[kTextChars] = {};
        mem.Write(kTextAt, text, sizeof text);
        ti.lpszText = (LPWSTR)mem.At(kTextAt);
        mem.Write(0, &ti, sizeof ti);
        Send(top, TTM_GETTEXTW, kTextChars, (LPARAM)mem.At(0));
        mem.Read(kTextAt, text, sizeof text);
        text[kTextChars - 1] = 0;
        t.tip = text;
        icons.push_back(t);
    }
    return icons;
}

Json TrayFacts(const TrayIcon& t) {
    Json j;
    j.Str("type", L"tray").Hwnd("tooltip", t.tooltip).Str("tip", t.tip).Rect("rect", t.rect);
    return j;
}

// ---- process watch -------------------------------------------------------------

bool ProcessRunning(const std::wstring& exe) {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snap == INVALID_HANDLE_VALUE) return false;
    PROCESSENTRY32W pe{};
    pe.dwSize = sizeof pe;
    bool found = false;
    for (BOOL ok = Process32FirstW(snap, &pe); ok && !found; ok = Process32NextW(snap, &pe))
        found = _wcsicmp(pe.szExeFile, exe.c_str()) == 0;
    CloseHandle(snap);
    return found;
}

// ---- commands ------------------------------------------------------------------

int CmdWait(const Args& a) {
    HWND h = WaitTop(Selector::From(a), a.Get(L"state", L"visible"), a.TimeoutMs());
    if (h) Emit(WindowFacts(h));
    else Emit(Json().Str("type", L"gone"));
    return 0;
}

int CmdWindows(const Args& a) {
    bool all = a.Get(L"all") == L"1";
    for (HWND h : TopLevel()) {
        if (!all && !IsWindowVisible(h)) continue;
        if ((a.Has(L"title") || a.Has(L"class")) && !Selector::From(a).Matches(h)) continue;
        Emit(WindowFacts(h));
    }
    return 0;
}

int CmdChildren(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"exists", a.TimeoutMs());
    Emit(WindowFacts(top));
    for (HWND h : Descendants(top)) Emit(ControlFacts(top, h));
    return 0;
}

int CmdClick(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"visible", a.TimeoutMs());
    HWND c = NeedControl(top, (int)a.Number(L"id", 0));
    // Posted, not sent: the handler may open a modal box and not return.
    if (!PostMessageW(c, BM_CLICK, 0, 0)) Fail(kExitFailed, L"PostMessage failed");
    return 0;
}

int CmdMouse(const Args& a) {
    POINT p{(LONG)a.Number(L"x", 0), (LONG)a.Number(L"y", 0)};
    if (a.Has(L"title") || a.Has(L"class") || a.Has(L"hwnd")) {
        HWND top = WaitTop(Selector::From(a), L"visible", a.TimeoutMs());
        HWND target = a.Has(L"id") ? NeedControl(top, (int)a.Number(L"id", 0)) : top;
        RECT r{};
        GetWindowRect(target, &r);
        p = a.Has(L"x") ? POINT{r.left + p.x, r.top + p.y} : POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
        BringToFront(top, 3000);
    }
    ClickAt(p, a.Get(L"button", L"left") == L"right", a.Get(L"double") == L"1");
    POINT c{};
    GetCursorPos(&c);
    Emit(Json().Str("type", L"cursor").Int("x", c.x).Int("y", c.y).Hwnd("under", WindowFromPoint(c)));
    return 0;
}

// Polled in-process: a label may hold a text for less than a second, too
// short to catch by starting the driver again and again.
int CmdWaitText(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"exists", a.TimeoutMs());
    HWND c = NeedControl(top, (int)a.Number(L"id", 0));
    std::wstring want = a.Need(L"text");
    // Tells the caller it may act now.
    Emit(Json().Str("type", L"waiting"));
    DWORD start = GetTickCount();
    for (;;) {
        if (TextOf(c) == want) break;
        if (GetTickCount() - start >= a.TimeoutMs()) Fail(kExitTimeout, L"the control never read \"" + want + L"\"");
        Sleep(5);
    }
    Emit(ControlFacts(top, c));
    return 0;
}

int CmdSelectTab(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"visible", a.TimeoutMs());
    HWND tab = NeedControl(top, (int)a.Number(L"id", 0));
    int index = (int)a.Number(L"index", 0);
    std::vector<TabItem> items = TabItems(tab);
    if (index < 0 || index >= (int)items.size()) Fail(kExitNotFound, L"no tab " + std::to_wstring(index));
    if (a.Get(L"method", L"mouse") == L"focus") {
        // The control itself sends TCN_SELCHANGING and TCN_SELCHANGE.
        Send(tab, TCM_SETCURFOCUS, index, 0);
    } else {
        BringToFront(top, 3000);
        RECT r = items[index].rect;
        MapWindowPoints(tab, nullptr, (POINT*)&r, 2);
        ClickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2}, false, false);
    }
    if (!WaitFor(a.TimeoutMs(), [&] { return Send(tab, TCM_GETCURSEL, 0, 0) == index; }))
        Fail(kExitTimeout, L"the tab did not become selected");
    return 0;
}

int CmdKey(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"visible", a.TimeoutMs());
    WORD vk = KeyCode(a.Need(L"key"));
    BringToFront(top, 3000);
    PressKey(vk);
    return 0;
}

int CmdClose(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"visible", a.TimeoutMs());
    if (!PostMessageW(top, WM_SYSCOMMAND, SC_CLOSE, 0)) Fail(kExitFailed, L"PostMessage failed");
    return 0;
}

int CmdPost(const Args& a) {
    HWND top = WaitTop(Selector::From(a), L"exists", a.TimeoutMs());
    UINT msg = (UINT)a.Number(L"msg", -1);
    if (!PostMessageW(top, msg, (WPARAM)a.Number(L"wparam", 0), (LPARAM)a.Number(L"lparam", 0)))
        Fail(kExitFailed, L"PostMessage failed");
    return 0;
}

int CmdMsgBox(const Args& a) {
    HWND box = WaitTop(MsgBoxSelector(a), L"visible", a.TimeoutMs());
    Emit(MsgBoxFacts(box));
    return 0;
}

int CmdMsgBoxPress(const Args& a) {
    Selector s = MsgBoxSelector(a);
    HWND box = WaitTop(s, L"visible", a.TimeoutMs());
    if (a.Has(L"key")) {
        WORD vk = KeyCode(a.Get(L"key"));
        BringToFront(box, 3000);
        PressKey(vk);
    } else {
        HWND b = GetDlgItem(box, (int)a.Number(L"id", IDOK));
        if (!b) Fail(kExitNotFound, L"the box has no such button");
        if (!PostMessageW(b, BM_CLICK, 0, 0)) Fail(kExitFailed, L"PostMessage failed");
    }
    if (!WaitFor(a.TimeoutMs(), [&] { return !IsWindow(box) || !IsWindowVisible(box); }))
        Fail(kExitTimeout, L"the message box stayed open");
    return 0;
}

int CmdTray(const Args& a) {
    std::vector<TrayIcon> icons;
    if (a.Has(L"tip")) {
        std::wstring tip = a.Get(L"tip");
        bool ok = WaitFor(a.TimeoutMs(), [&] {
            icons = TrayIcons();
            for (auto& t : icons)
                if (t.tip == tip) return true;
            return false;
        });
        if (!ok) Fail(kExitTimeout, L"no notification icon with tip \"" + tip + L"\"");
    } else {
        icons = TrayIcons();
    }
    for (auto& t : icons) Emit(TrayFacts(t));
    return 0;
}

int CmdScreen(const Args&) {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    Emit(Json().Str("type", L"screen").Rect("rect", screen).Rect("work", work));
    return 0;
}

// Watches, while a process runs, for windows that match and notification
// icons: each one seen visible is reported once, so a test can tell that a
// window never showed during the whole run.
int CmdWatch(const Args& a) {
    std::wstring exe = a.Need(L"process");
    bool anyWindow = a.Has(L"title") || a.Has(L"class");
    Selector s = anyWindow ? Selector::From(a) : Selector{};
    // Tells the caller it may start the process now.
    Emit(Json().Str("type", L"watching").Str("process", exe));
    if (!WaitFor(a.TimeoutMs(), [&] { return ProcessRunning(exe); }))
        Fail(kExitTimeout, L"process " + exe + L" did not start");
    Emit(Json().Str("type", L"started").Str("process", exe));
    std::set<HWND> seenWindows;
    std::set<std::wstring> seenTips;
    DWORD limit = (DWORD)(_wtof(a.Get(L"for", L"60").c_str()) * 1000);
    DWORD start = GetTickCount();
    bool running = true;
    while (running && GetTickCount() - start < limit) {
        running = ProcessRunning(exe);
        if (anyWindow)
            for (HWND h : TopLevel())
                if (IsWindowVisible(h) && s.Matches(h) && seenWindows.insert(h).second) Emit(WindowFacts(h));
        for (auto& t : TrayIcons())
            if (seenTips.insert(t.tip).second) Emit(TrayFacts(t));
        Sleep(25);
    }
    Emit(Json().Str("type", running ? L"still-running" : L"ended").Str("process", exe));
    return 0;
}

int Usage() {
    fwprintf(stderr,
             L"usage: e2e_driver.exe COMMAND [--option value]...\n"
             L"  wait      --title/--class/--hwnd [--state exists|visible|hidden|gone]\n"
             L"  windows   [--title] [--class] [--all 1]\n"
             L"  children  --title/--class/--hwnd\n"
             L"  click     --title/... --id N             (BM_CLICK)\n"
             L"  wait-text --title/... --id N --text T    (polls the control's text)\n"
             L"  mouse     [--title/... [--id N]] [--x X --y Y] [--button right] [--double 1]\n"
             L"  select-tab --title/... --id N --index I [--method mouse|focus]\n"
             L"  key       --title/... --key esc|enter|space|tab|VK\n"
             L"  close     --title/...                    (WM_SYSCOMMAND SC_CLOSE)\n"
             L"  post      --title/... --msg M [--wparam W] [--lparam L]\n"
             L"  msgbox    [--title T]\n"
             L"  msgbox-press [--title T] (--id N | --key esc)\n"
             L"  tray      [--tip TEXT]\n"
             L"  screen\n"
             L"  watch     --process NAME.exe [--title/--class] [--for SECONDS]\n"
             L"every wait takes --timeout SECONDS (default 10)\n");
    return kExitUsage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return Usage();
    std::wstring cmd = argv[1];
    static const std::map<std::wstring, int (*)(const Args&)> commands = {
        {L"wait", CmdWait},          {L"windows", CmdWindows},   {L"children", CmdChildren},
        {L"click", CmdClick},        {L"wait-text", CmdWaitText},        {L"mouse", CmdMouse},       {L"select-tab", CmdSelectTab},
        {L"key", CmdKey},            {L"close", CmdClose},       {L"post", CmdPost},
        {L"msgbox", CmdMsgBox},      {L"msgbox-press", CmdMsgBoxPress},
        {L"tray", CmdTray},          {L"screen", CmdScreen},     {L"watch", CmdWatch},
    };
    auto it = commands.find(cmd);
    if (it == commands.end()) return Usage();
    try {
        Args args(argc, argv);
        return it->second(args);
    } catch (const Failure& f) {
        Emit(Json().Str("type", L"error").Int("code", f.code).Str("message", f.message));
        fwprintf(stderr, L"e2e_driver %ls: %ls\n", cmd.c_str(), f.message.c_str());
        return f.code;
    }
}
