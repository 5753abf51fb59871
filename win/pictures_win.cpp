#include "win/pictures_win.h"

#include "res/resource_ids.h"

HICON LoadIconPicture(HINSTANCE instance, Picture picture) {
    int id = 0;
    int size = 0;
    switch (picture) {
    case Picture::AppIcon: id = IDI_APP, size = 48; break;
    case Picture::InfoIcon: id = IDI_INFO, size = 16; break;
    case Picture::WarningIcon: id = IDI_WARNING_SIGN, size = 48; break;
    default: return nullptr;
    }
    return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_SHARED));
}

std::string PictureBytes(HINSTANCE instance, Picture picture) {
    int id = 0;
    switch (picture) {
    case Picture::TrayIcon: id = IDR_TRAY_ICON; break;
    case Picture::Banner1: id = IDR_BANNER1; break;
    case Picture::Banner2: id = IDR_BANNER2; break;
    case Picture::Banner3: id = IDR_BANNER3; break;
    default: return {};
    }
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) return {};
    return std::string(static_cast<const char*>(data), SizeofResource(instance, found));
}
