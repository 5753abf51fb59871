#include "promo/calibration_notice.h"

#include "ui/web_addresses.h"

int32_t TaskbarHeight(const ScreenMetrics& screen) {
    return screen.height - screen.workAreaBottom;
}

void ShowCalibrationNotice(Program& program) {
    ScreenMetrics screen = program.os.window.Screen();
    program.os.window.ShowTip(screen.width, screen.height - TaskbarHeight(screen), CalibrationNoticeText, -1);
}

void OnNoticeLink(Program& program, const std::string& linkName) {
    if (linkName == "openwebsize") program.os.window.OpenWebAddress(ShopPageUrl);
}
