// Resource numbers shared by the resource script and the Win32 layer.
#pragma once

#define IDI_APP 1
#define IDI_INFO 2
#define IDI_WARNING_SIGN 3
#define IDR_TRAY_ICON 10
#define IDR_BANNER1 11
#define IDR_BANNER2 12
#define IDR_BANNER3 13
