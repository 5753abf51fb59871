#include "win/tray_icon_win.h"

#include <shellapi.h>

#include <cstdint>
#include <cstring>

#include "win/text_win.h"

namespace {

uint32_t ReadU32(const std::string& b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, sizeof(v));
    return v;
}

uint16_t ReadU16(const std::string& b, size_t at) {
    uint16_t v = 0;
    std::memcpy(&v, b.data() + at, sizeof(v));
    return v;
}

// The first image of an icon file, as the icon the system builds from it.
HICON IconFromFile(const std::string& file) {
    constexpr size_t kDirectory = 6;
    constexpr size_t kEntry = 16;
    if (file.size() < kDirectory + kEntry || ReadU16(file, 0) != 0 || ReadU16(file, 2) != 1 || ReadU16(file, 4) < 1) {
        return nullptr;
    }
    int width = static_cast<unsigned char>(file[kDirectory]);
    int height = static_cast<unsigned char>(file[kDirectory + 1]);
    uint32_t size = ReadU32(file, kDirectory + 8);
    uint32_t offset = ReadU32(file, kDirectory + 12);
    if (offset > file.size() || size > file.size() - offset) return nullptr;
    auto* image = reinterpret_cast<BYTE*>(const_cast<char*>(file.data() + offset));
    return CreateIconFromResourceEx(image, size, TRUE, 0x00030000, width ? width : 256, height ? height : 256,
                                    LR_DEFAULTCOLOR);
}

}  // namespace

WinNotificationArea::~WinNotificationArea() {
    DropIcon();
}

bool WinNotificationArea::LoadIcon(const std::string& iconFile) {
    HICON icon = IconFromFile(iconFile);
    if (!icon) return false;
    DropIcon();
    icon_ = icon;
    return true;
}

void WinNotificationArea::DropIcon() {
    if (icon_) DestroyIcon(icon_);
    icon_ = nullptr;
}

bool WinNotificationArea::Add(const std::string& tip) {
    return Notify(NIM_ADD, tip);
}

bool WinNotificationArea::Update(const std::string& tip) {
    return Notify(NIM_MODIFY, tip);
}

bool WinNotificationArea::Remove() {
    return Notify(NIM_DELETE, {});
}

bool WinNotificationArea::Notify(DWORD message, const std::string& tip) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V2_SIZE;  // the record with balloon fields
    data.hWnd = owner_;
    data.uID = static_cast<UINT>(reinterpret_cast<UINT_PTR>(owner_));
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = TrayCallbackMessage;
    data.hIcon = icon_;
    std::wstring wide = GbkToWide(tip);
    wcsncpy(data.szTip, wide.c_str(), ARRAYSIZE(data.szTip) - 1);
    return Shell_NotifyIconW(message, &data) != FALSE;
}
