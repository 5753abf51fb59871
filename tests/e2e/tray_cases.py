"""The notification icon: its tip, its clicks, its menu, and its removal
when the program ends."""

import time

from harness import TimePage, case, check, check_equal, log, wait_until
from settings_cases import TRAY_CALLBACK, WM_LBUTTONDBLCLK, tray_owner
from startup_cases import IDOK, MAIN_TITLE, QUIT_TITLE, TAB_ID, TRAY_TIP, start_to_main_window

WM_LBUTTONUP = 0x0202
CB_SETCURSEL = 0x014E
HIDE, AUTO_CHECK, INTERVAL, AUTOHIDE = 1006, 1017, 1019, 1022
MENU_CLASS = "#32768"


def time_page():
    return TimePage(mode="normal")


def icon_message(s, owner, mouse_message):
    s.driver.run("post", hwnd=owner, msg=TRAY_CALLBACK, lparam=mouse_message)


def our_icons(s):
    # Wine's taskbar keeps a deleted icon's tooltip tool, with an empty place.
    return [t for t in s.driver.tray() if t["tip"] == TRAY_TIP and t["rect"][2] > 0 and t["rect"][3] > 0]


def check_icon_gone(s):
    check(wait_until(lambda: not our_icons(s), timeout=5, interval=0.3),
          "the notification icon is still there after the program ended")


@case("tray", "hide_and_show", page=time_page)
def hide_and_show(s):
    """隐藏 hides the window; a single click on the icon does nothing; a
    double-click shows and activates it with its page and settings kept."""
    program, _ = start_to_main_window(s)
    s.driver.tray(tip=TRAY_TIP)
    s.driver.click(MAIN_TITLE, AUTO_CHECK)
    s.driver.click(MAIN_TITLE, AUTOHIDE)
    _, controls = s.driver.controls(MAIN_TITLE)
    s.driver.run("post", hwnd=controls[INTERVAL]["hwnd"], msg=CB_SETCURSEL, wparam=3)
    s.driver.select_tab(MAIN_TITLE, TAB_ID, 1)
    _, before = s.driver.controls(MAIN_TITLE)
    kept = {"tab": before[TAB_ID]["selected"], "auto": before[AUTO_CHECK]["check"],
            "interval": before[INTERVAL]["selected"], "autohide": before[AUTOHIDE]["check"]}
    check_equal(kept, {"tab": 1, "auto": 1, "interval": 3, "autohide": 1}, "the state set before hiding")
    owner = tray_owner(s)

    s.driver.click(MAIN_TITLE, HIDE)
    s.driver.window(title=MAIN_TITLE, state="hidden", timeout=5)
    icon_message(s, owner, WM_LBUTTONUP)
    time.sleep(1.5)
    check(s.driver.window(title=MAIN_TITLE, state="exists")["visible"] is False,
          "a single click on the icon showed the window")

    icon_message(s, owner, WM_LBUTTONDBLCLK)
    window = s.driver.window(title=MAIN_TITLE, timeout=5)
    check(wait_until(lambda: s.driver.window(title=MAIN_TITLE)["foreground"], timeout=3),
          "the shown window is not in the foreground")
    _, after = s.driver.controls(MAIN_TITLE)
    now = {"tab": after[TAB_ID]["selected"], "auto": after[AUTO_CHECK]["check"],
           "interval": after[INTERVAL]["selected"], "autohide": after[AUTOHIDE]["check"]}
    check_equal(now, kept, "the state after showing again")
    check_equal(after[1030]["visible"], True, "the second page's controls shown")
    check_equal(after[1015]["visible"], False, "the first page's controls hidden")
    check(window["visible"] and program.running(), "the program ended")


@case("tray", "menu_exit", page=time_page)
def menu_exit(s):
    """A right click opens the menu with its right edge 5 px left of the
    pointer; 退出 asks first, OK ends with 0 and takes the icon away."""
    program, _ = start_to_main_window(s)
    icon = s.driver.tray(tip=TRAY_TIP)
    icon = [t for t in icon if t["tip"] == TRAY_TIP][0]
    s.screenshot("taskbar")
    x, y, w, h = icon["rect"]
    cursor = s.driver.run("mouse", x=x + w // 2, y=y + h // 2, button="right")[-1]
    menu = s.driver.window(cls=MENU_CLASS, timeout=5)
    mx, my, mw, mh = menu["rect"]
    log(f"pointer at {cursor['x']},{cursor['y']}; menu at {menu['rect']}")
    s.screenshot("menu")
    check_equal(mx + mw, cursor["x"] - 5, "the menu's right edge")
    check(mh > 40, f"the menu is too small for its items: {menu['rect']}")
    # 退出 is the last item.
    s.driver.run("mouse", x=mx + mw // 2, y=my + mh - 10)
    box = s.driver.msgbox(QUIT_TITLE)
    check_equal(box["icon"], "question", "the question's icon")
    check(our_icons(s), "the icon went before the question was answered")
    s.driver.msgbox_press(QUIT_TITLE, button=IDOK)
    check_equal(program.wait(timeout=10), 0, "the exit code")
    check_icon_gone(s)


@case("tray", "close_box_removes_icon", page=time_page)
def close_box_removes_icon(s):
    program, _ = start_to_main_window(s)
    check(wait_until(lambda: our_icons(s), timeout=10), "no notification icon")
    s.driver.close(MAIN_TITLE)
    check_equal(program.wait(timeout=10), 0, "the exit code")
    check_icon_gone(s)
