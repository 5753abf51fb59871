#include "win/main_form_win.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/hyperlink.h"
#include "ui/main_window.h"
#include "win/pictures_win.h"
#include "win/shell_win.h"
#include "win/text_win.h"

namespace {

constexpr wchar_t kWindowClass[] = L"BrisoltMainWindow";
constexpr wchar_t kTrayOwnerClass[] = L"BrisoltTrayOwner";

COLORREF ToColorRef(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

std::wstring WindowText(HWND h) {
    int length = GetWindowTextLengthW(h);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    GetWindowTextW(h, text.data(), length + 1);
    text.resize(static_cast<size_t>(length));
    return text;
}

void FillBackground(HDC dc, const RECT& r, const ControlDesc& c) {
    HBRUSH brush = CreateSolidBrush(c.background ? ToColorRef(*c.background) : GetSysColor(COLOR_BTNFACE));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

bool IsContainer(ControlKind kind) {
    return kind == ControlKind::TabControl || kind == ControlKind::GroupBox;
}

// What a message box returns, from the button that closed it.
int ToMessageBoxResult(int id) {
    switch (id) {
    case IDCANCEL: return MbCancel;
    case IDABORT: return MbAbort;
    case IDRETRY: return MbRetry;
    case IDIGNORE: return MbIgnore;
    case IDYES: return MbYes;
    case IDNO: return MbNo;
    default: return MbOk;
    }
}

struct ControlClass {
    const wchar_t* name;
    DWORD style;
};

ControlClass ClassOf(const ControlDesc& c) {
    switch (c.kind) {
    case ControlKind::TabControl: return {WC_TABCONTROLW, 0};
    case ControlKind::GroupBox: return {L"BUTTON", BS_GROUPBOX};
    case ControlKind::Button: return {L"BUTTON", BS_PUSHBUTTON};
    case ControlKind::CheckBox: return {L"BUTTON", BS_AUTOCHECKBOX};
    case ControlKind::DropDownList: return {WC_COMBOBOXW, CBS_DROPDOWNLIST | WS_VSCROLL};
    case ControlKind::Label: return {L"STATIC", SS_OWNERDRAW};
    case ControlKind::PictureBox:
    case ControlKind::Hyperlink: return {L"STATIC", SS_OWNERDRAW | SS_NOTIFY};
    }
    return {L"STATIC", SS_OWNERDRAW};
}

}  // namespace

MainFormWin::MainFormWin(HINSTANCE instance, const WindowDesc& description, WinNotificationArea& tray)
    : instance_(instance), description_(description), tray_(tray) {}

MainFormWin::~MainFormWin() {
    for (auto& [key, font] : fonts_) DeleteObject(font);
}

bool MainFormWin::Create() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = LoadIconPicture(instance_, description_.icon);
    wc.hIconSm =
        static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                      GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kWindowClass;
    RegisterClassExW(&wc);

    Rect place = CentreOnScreen(description_.width, description_.height, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN));
    hwnd_ = CreateWindowExW(0, kWindowClass, GbkToWide(description_.caption).c_str(),
                            WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, place.x, place.y, place.width,
                            place.height, nullptr, nullptr, instance_, this);
    if (!hwnd_) return false;
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    if (outer.right - outer.left != place.width || outer.bottom - outer.top != place.height) {
        SetWindowPos(hwnd_, nullptr, place.x, place.y, place.width, place.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    for (const ControlDesc& c : description_.controls) CreateControl(c);
    StackControls();
    ShowPage(1);

    // The tray icon's own hidden window receives its mouse notifications.
    WNDCLASSEXW owner{};
    owner.cbSize = sizeof(owner);
    owner.lpfnWndProc = TrayOwnerProc;
    owner.hInstance = instance_;
    owner.lpszClassName = kTrayOwnerClass;
    RegisterClassExW(&owner);
    trayOwner_ = CreateWindowExW(0, kTrayOwnerClass, L"", WS_CHILD, 0, 0, 0, 0, hwnd_, nullptr, instance_, this);
    tray_.SetOwner(trayOwner_);
    taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
    return true;
}

void MainFormWin::CreateControl(const ControlDesc& c) {
    ControlClass cls = ClassOf(c);
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | cls.style;
    if (c.takesFocus) style |= WS_TABSTOP;
    if (!c.enabled) style |= WS_DISABLED;
    if (PageOf(description_, c) <= 1) style |= WS_VISIBLE;
    DWORD exStyle = c.sunkenEdge ? WS_EX_STATICEDGE : 0;
    Rect r = PlaceInWindow(description_, c);
    HWND h = CreateWindowExW(exStyle, cls.name, GbkToWide(c.text).c_str(), style, r.x, r.y, r.width, r.height, hwnd_,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance_, nullptr);
    controls_[c.id] = h;
    SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(c.font)), FALSE);

    if (c.kind == ControlKind::TabControl) {
        for (size_t i = 0; i < c.items.size(); ++i) {
            std::wstring text = GbkToWide(c.items[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = text.data();
            SendMessageW(h, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    } else if (c.kind == ControlKind::DropDownList) {
        for (const std::string& item : c.items) {
            SendMessageW(h, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(GbkToWide(item).c_str()));
        }
        SendMessageW(h, CB_SETCURSEL, 0, 0);
    } else if (c.kind == ControlKind::Hyperlink) {
        SetWindowSubclass(h, HyperlinkProc, static_cast<UINT_PTR>(c.id), reinterpret_cast<DWORD_PTR>(this));
    } else if (c.kind == ControlKind::GroupBox) {
        SetWindowSubclass(h, GroupBoxProc, static_cast<UINT_PTR>(c.id), 0);
    }
    if (c.picture != Picture::None) SetPicture(c.id, c.picture);
}

// Tab order follows the description; tab controls and group boxes lie
// beneath the controls placed on them.
void MainFormWin::StackControls() {
    HWND previous = HWND_TOP;
    for (const ControlDesc& c : description_.controls) {
        if (IsContainer(c.kind)) continue;
        SetWindowPos(Control(c.id), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = Control(c.id);
    }
    for (ControlKind kind : {ControlKind::GroupBox, ControlKind::TabControl}) {
        for (const ControlDesc& c : description_.controls) {
            if (c.kind == kind) {
                SetWindowPos(Control(c.id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            }
        }
    }
}

void MainFormWin::ShowPage(int page) {
    for (const ControlDesc& c : description_.controls) {
        int own = PageOf(description_, c);
        if (own != 0) ShowWindow(Control(c.id), own == page ? SW_SHOW : SW_HIDE);
    }
}

HFONT MainFormWin::FontFor(const FontDesc& font) {
    if (font.height == 0) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    auto key = std::make_tuple(font.height, font.weight, std::string(font.face ? font.face : ""));
    HFONT& f = fonts_[key];
    if (!f) {
        f = CreateFontW(-font.height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                        font.face ? GbkToWide(font.face).c_str() : nullptr);
    }
    return f;
}

HWND MainFormWin::Control(int id) const {
    auto found = controls_.find(id);
    return found == controls_.end() ? nullptr : found->second;
}

int MainFormWin::RunEventLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsEscapeForTheWindow(msg)) {
            SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
            continue;
        }
        if (hwnd_ && IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

// Esc without Ctrl, Shift or Alt closes the window as its close box does,
// unless the focused control claims the key (an open drop-down list).
bool MainFormWin::IsEscapeForTheWindow(const MSG& msg) const {
    if (msg.message != WM_KEYDOWN || msg.wParam != VK_ESCAPE || !hwnd_) return false;
    if (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd)) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_MENU) < 0) return false;
    auto code = SendMessageW(msg.hwnd, WM_GETDLGCODE, VK_ESCAPE, reinterpret_cast<LPARAM>(&msg));
    return (code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) == 0;
}

LRESULT CALLBACK MainFormWin::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        static_cast<MainFormWin*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* self = reinterpret_cast<MainFormWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT CALLBACK MainFormWin::TrayOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<MainFormWin*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == TrayCallbackMessage && self && self->sink_) {
        switch (LOWORD(lParam)) {
        case WM_LBUTTONDBLCLK: self->sink_(MainWindow::托盘图标1, Event::DoubleClick); break;
        case WM_RBUTTONUP: self->sink_(MainWindow::托盘图标1, Event::RightClick); break;
        default: break;  // a click or a move has no handler
        }
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT MainFormWin::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (sink_) sink_(MainWindow::托盘图标1, Event::TaskbarCreated);
        return 0;
    }
    switch (message) {
    case WM_COMMAND: OnCommand(LOWORD(wParam), HIWORD(wParam)); return 0;
    case WM_TIMER:
        if (sink_) sink_(static_cast<int>(wParam), Event::Tick);
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code == TCN_SELCHANGE) {
            ShowPage(static_cast<int>(SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)) + 1);
        }
        return 0;
    }
    case WM_DRAWITEM: Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)); return TRUE;
    case WM_SETCURSOR: {
        const ControlDesc* c = FindControl(description_, GetDlgCtrlID(reinterpret_cast<HWND>(wParam)));
        if (c && c->handCursor && reinterpret_cast<HWND>(wParam) != hwnd_) {
            SetCursor(LoadCursorW(nullptr, IDC_HAND));
            return TRUE;
        }
        break;
    }
    case WM_DESTROY:
        if (sink_) sink_(0, Event::Destroyed);
        hwnd_ = nullptr;
        PostQuitMessage(0);
        return 0;
    default: break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

void MainFormWin::OnCommand(int id, int code) {
    const ControlDesc* c = FindControl(description_, id);
    if (!c) {
        // Menu items; IDCANCEL from the dialog keys is not one of them.
        if (code == 0 && id != IDCANCEL && id != IDOK && sink_) sink_(id, Event::Command);
        return;
    }
    switch (c->kind) {
    case ControlKind::Button:
    case ControlKind::CheckBox:
        if (code == BN_CLICKED && sink_) sink_(id, Event::Click);
        break;
    case ControlKind::PictureBox:
        if (code == STN_CLICKED && sink_) sink_(id, Event::LeftButtonDown);
        break;
    case ControlKind::Hyperlink:
        if (code == STN_CLICKED && OpenWithBrowserFallback(c->address)) {
            linkVisited_[id] = true;
            InvalidateRect(Control(id), nullptr, TRUE);
        }
        break;
    default: break;
    }
}

LRESULT CALLBACK MainFormWin::HyperlinkProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                            DWORD_PTR selfData) {
    auto* self = reinterpret_cast<MainFormWin*>(selfData);
    bool& hovered = self->linkHovered_[static_cast<int>(id)];
    if (message == WM_MOUSEMOVE && !hovered) {
        hovered = true;
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, TRUE);
    } else if (message == WM_MOUSELEAVE) {
        hovered = false;
        InvalidateRect(hwnd, nullptr, TRUE);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// A group box draws only its frame; its inside, which the tab control beneath
// leaves to it, gets the button-face colour.
LRESULT CALLBACK MainFormWin::GroupBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(reinterpret_cast<HDC>(wParam), &r, GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void MainFormWin::Draw(const DRAWITEMSTRUCT& item) {
    const ControlDesc* c = FindControl(description_, static_cast<int>(item.CtlID));
    if (!c) return;
    if (c->kind == ControlKind::PictureBox) {
        DrawPicture(*c, item);
    } else {
        DrawLabel(*c, item);
    }
}

void MainFormWin::DrawLabel(const ControlDesc& c, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillBackground(dc, r, c);

    COLORREF text = c.textColour ? ToColorRef(*c.textColour) : GetSysColor(COLOR_BTNTEXT);
    if (c.kind == ControlKind::Hyperlink) text = ToColorRef(HyperlinkColour(linkHovered_[c.id], linkVisited_[c.id]));
    SetTextColor(dc, text);
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, FontFor(c.font));

    std::wstring caption = WindowText(item.hwndItem);

    UINT format = DT_NOCLIP | DT_NOPREFIX;
    format |= c.hAlign == HAlign::Centre ? DT_CENTER : c.hAlign == HAlign::Right ? DT_RIGHT : DT_LEFT;
    if (c.wrap) {
        format |= DT_WORDBREAK | DT_TOP;
    } else {
        format |= DT_SINGLELINE;
        format |= c.vAlign == VAlign::Middle ? DT_VCENTER : c.vAlign == VAlign::Bottom ? DT_BOTTOM : DT_TOP;
    }
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &r, format);
    SelectObject(dc, oldFont);
}

void MainFormWin::DrawPicture(const ControlDesc& c, const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    FillBackground(dc, r, c);
    int boxW = r.right - r.left;
    int boxH = r.bottom - r.top;

    if (HICON icon = icons_[c.id]) {
        ICONINFO iconInfo{};
        GetIconInfo(icon, &iconInfo);
        BITMAP info{};
        GetObjectW(iconInfo.hbmColor ? iconInfo.hbmColor : iconInfo.hbmMask, sizeof(info), &info);
        int w = info.bmWidth;
        int h = iconInfo.hbmColor ? info.bmHeight : info.bmHeight / 2;
        if (iconInfo.hbmColor) DeleteObject(iconInfo.hbmColor);
        if (iconInfo.hbmMask) DeleteObject(iconInfo.hbmMask);
        // Larger than the box: scaled down to fit, keeping proportions.
        if (w > boxW || h > boxH) {
            double scale = std::min(static_cast<double>(boxW) / w, static_cast<double>(boxH) / h);
            w = static_cast<int>(w * scale);
            h = static_cast<int>(h * scale);
        }
        DrawIconEx(dc, r.left + (boxW - w) / 2, r.top + (boxH - h) / 2, icon, w, h, 0, nullptr, DI_NORMAL);
    }
}

void MainFormWin::SetText(int control, const std::string& text) {
    SetWindowTextW(Control(control), GbkToWide(text).c_str());
    InvalidateRect(Control(control), nullptr, TRUE);
}

std::string MainFormWin::Text(int control) {
    return WideToGbk(WindowText(Control(control)));
}

void MainFormWin::SetChecked(int control, bool ticked) {
    SendMessageW(Control(control), BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool MainFormWin::Checked(int control) {
    return SendMessageW(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void MainFormWin::SetEnabled(int control, bool enabled) {
    EnableWindow(Control(control), enabled);
}

void MainFormWin::SetSelection(int control, int index) {
    SendMessageW(Control(control), CB_SETCURSEL, index, 0);
}

int MainFormWin::Selection(int control) {
    return static_cast<int>(SendMessageW(Control(control), CB_GETCURSEL, 0, 0));
}

void MainFormWin::SetPicture(int control, Picture picture) {
    if (HICON icon = LoadIconPicture(instance_, picture)) icons_[control] = icon;
    InvalidateRect(Control(control), nullptr, TRUE);
}

void MainFormWin::StartTimer(int timer, int periodMs) {
    SetTimer(hwnd_, static_cast<UINT_PTR>(timer), static_cast<UINT>(periodMs), nullptr);
}

void MainFormWin::StopTimer(int timer) {
    KillTimer(hwnd_, static_cast<UINT_PTR>(timer));
}

void MainFormWin::SetWindowVisible(bool visible) {
    if (!visible) {
        ShowWindow(hwnd_, SW_HIDE);
        return;
    }
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
}

std::string MainFormWin::PictureBytes(Picture picture) {
    return ::PictureBytes(instance_, picture);
}

Point MainFormWin::CursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return {p.x, p.y};
}

void MainFormWin::PopUpMenu(const std::vector<MenuItemDesc>& items, Point rightEdge) {
    HMENU menu = CreatePopupMenu();
    for (const MenuItemDesc& item : items) {
        if (item.text == "-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.id), GbkToWide(item.text).c_str());
        }
    }
    // In the foreground, so that the menu closes when the user clicks elsewhere.
    SetForegroundWindow(hwnd_);
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_LEFTBUTTON, rightEdge.x, rightEdge.y, 0, hwnd_, nullptr);
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    DestroyMenu(menu);
}

ScreenMetrics MainFormWin::Screen() {
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), work.bottom};
}

// The balloon tip box comes with the calibration notice; until then a
// calibration from the tray or the timer shows nothing.
void MainFormWin::ShowTip(int32_t, int32_t, const std::string&, int32_t) {}

int MainFormWin::ShowMessageBox(const std::string& text, const std::string& title, int style) {
    int id = MessageBoxW(nullptr, GbkToWide(text).c_str(), GbkToWide(title).c_str(),
                         static_cast<UINT>(style) | MB_TASKMODAL);
    return ToMessageBoxResult(id);
}

void MainFormWin::OpenWebAddress(const std::string& address) {
    OpenWebAddressWin(address);
}

void MainFormWin::EndProgram(int exitCode) {
    ExitProcess(static_cast<UINT>(exitCode));
}

uint32_t MainFormWin::TickCount() {
    return GetTickCount();
}
