"""Start-up: the network probe, the main window and its pages, the clocks,
and the ways to end the program."""

import time

from harness import (SCREEN_HEIGHT, SCREEN_WIDTH, Network, TimePage, case, check, check_equal,
                     clock_difference, clock_seconds, log, wait_until)

PROCESS = "Brisolt.exe"
MAIN_TITLE = "Brisolt by Tervan Software Lab"
MAIN_WIDTH, MAIN_HEIGHT = 526, 460
TRAY_TIP = "Brisolt——帮助您校准系统时间！"

NO_NETWORK_TITLE = "退出"
NO_NETWORK_TEXT = ("本软件通过连接到网络获取标准时间来校准您系统的时间，您的电脑看上去无网络连接，"
                   "请连接到网络后再使用本软件！")
QUIT_TITLE = "确认退出"
QUIT_TEXT = "确实要退出Brisolt？\r\n\r\n如果您退出软件，则无法定时校准系统时间！"
IDOK, IDCANCEL = 1, 2
TAB_ID = 1001
CLOSE_BUTTON = 1007
PLACEHOLDER_CLOCK = "XX : XX : XX"

WS_MAXIMIZEBOX, WS_MINIMIZEBOX, WS_THICKFRAME = 0x00010000, 0x00020000, 0x00040000
WS_SYSMENU, WS_CAPTION = 0x00080000, 0x00C00000
CBS_DROPDOWNLIST = 0x0003

# The served time is this far from the host's clock, so the two clocks differ.
PAGE_OFFSET_MS = (3 * 3600 + 25 * 60 + 30) * 1000

# Controls of the main window: id -> (kind, text, client-area place). A text
# of None is not compared; a kind says which Win32 class and style it needs.
COMMON = {
    1001: ("tab", "", (7, 6, 506, 242)),
    1002: ("picture", None, (8, 256, 504, 128)),
    1003: ("picture", None, (16, 392, 24, 24)),
    1004: ("label", "提示：校准时间必须要连接网络！", (45, 392, 179, 24)),
    1005: ("push", "保存设置", (232, 392, 88, 24)),
    1006: ("push", "隐藏", (343, 392, 72, 24)),
    1007: ("push", "关闭", (432, 392, 72, 24)),
}
FIRST_PAGE = {
    1010: ("groupbox", "时间对照：", (15, 33, 490, 87)),
    1011: ("label", "标准时间：", (36, 51, 68, 24)),
    1012: ("label", None, (95, 47, 320, 32)),
    1013: ("label", "本机时间：", (36, 85, 68, 24)),
    1014: ("label", None, (95, 81, 320, 32)),
    1015: ("push", "立即校准！", (408, 50, 89, 56)),
    1016: ("groupbox", "校准设置：", (15, 126, 490, 114)),
    1017: ("checkbox", "定时自动校准系统时间：", (38, 148, 162, 24)),
    1018: ("label", "每隔：", (67, 172, 37, 24)),
    1019: ("combo", None, (108, 175, 76, None)),  # its height is the combo's own
    1020: ("label", "自动校准一次。", (191, 173, 145, 24)),
    1021: ("checkbox", "开机自启动。", (38, 205, 136, 24)),
    1022: ("checkbox", "启动后隐藏到后台。", (359, 145, 136, 24)),
}
SECOND_PAGE = {
    1030: ("groupbox", "", (16, 32, 488, 208)),
    1031: ("picture", None, (37, 56, 48, 48)),
    1032: ("label", None, (104, 52, 385, 116)),
    1033: ("link", "访问作者的博客", (104, 179, 384, 24)),
    1034: ("link", "访问 Tervan Software Lab 官方网站", (104, 208, 384, 24)),
}
INTERVALS = ["30分钟", "1小时", "2小时", "3小时", "6小时", "12小时"]
ABOUT_START = "Brisolt v1.0.22.101"

SS_TYPEMASK, SS_ICON, SS_OWNERDRAW, SS_BITMAP = 0x1F, 0x03, 0x0D, 0x0E


def kind_problem(kind, control):
    """Why a control is not of the kind the table names, or None."""
    cls, style = control["class"].lower(), control["style"]
    if kind == "tab":
        return None if cls == "systabcontrol32" else "not a tab control"
    if kind in ("push", "checkbox", "groupbox"):
        if cls != "button":
            return "not a button"
        # A push button may also be drawn by its owner.
        allowed = {"push": ("push", "defpush", "ownerdraw")}.get(kind, (kind,))
        return None if control["button"] in allowed else f"a {control['button']} button"
    if kind == "combo":
        if cls != "combobox":
            return "not a combo box"
        return None if style & 0x3 == CBS_DROPDOWNLIST else "not a drop-down list"
    if kind == "picture" and cls == "static":
        # An icon or bitmap static, or one its owner paints.
        allowed = (SS_ICON, SS_BITMAP, SS_OWNERDRAW)
        return None if style & SS_TYPEMASK in allowed else "a static without a picture"
    return None  # labels and links: any class that shows the text


def check_controls(controls, table, visible):
    problems = []
    for control_id, (kind, text, place) in table.items():
        c = controls.get(control_id)
        if c is None:
            problems.append(f"{control_id}: missing")
            continue
        why = kind_problem(kind, c)
        if why:
            problems.append(f"{control_id}: {why} ({c['class']}, style {c['style']:#x})")
        if text is not None and c["text"] != text:
            problems.append(f"{control_id}: text {c['text']!r}, expected {text!r}")
        x, y, w, h = place
        got = c["crect"]
        if [x, y, w] != got[:3] or (h is not None and h != got[3]):
            problems.append(f"{control_id}: at {got}, expected {list(place)}")
        if c["visible"] != visible:
            problems.append(f"{control_id}: {'shown' if c['visible'] else 'hidden'}, "
                            f"expected {'shown' if visible else 'hidden'}")
    check(not problems, "controls not as described:\n  " + "\n  ".join(problems))


def time_page():
    return TimePage(mode="normal", offset_ms=PAGE_OFFSET_MS)


def start_to_main_window(s):
    program = s.launch()
    window = s.driver.window(title=MAIN_TITLE, timeout=40)
    log(f"main window after {time.monotonic() - program.started:.1f} s")
    return program, window


# ---- no network -------------------------------------------------------------

NO_NETWORK = {
    "link_down": Network(link_up=False),
    "probe_unresolved": Network(probe_resolves=False),
    "icmp_silenced": Network(icmp_echo=False),
}


def no_network(s):
    """The probe gets no answer: the no-network message, then exit code 0,
    and never a main window, a notification icon or a time page fetch."""
    watch = s.driver.watch(PROCESS, title=MAIN_TITLE, seconds=60)
    program = s.launch()
    box = s.driver.msgbox(NO_NETWORK_TITLE, timeout=40)
    shown_after = time.monotonic() - program.started
    log(f"message after {shown_after:.1f} s; icon {box['icon']}, distances {box['icon_distance']}")
    check_equal(box["text"], NO_NETWORK_TEXT, "the message")
    check_equal(box["icon"], "hand", "the message's icon")
    check_equal([b["id"] for b in box["buttons"]], [IDOK], "the message's buttons")
    if not s.network.icmp_echo:
        # An unanswered probe waits out its 10 s limit, and no longer.
        check(8.5 <= shown_after <= 20, f"message after {shown_after:.1f} s, not after the 10 s limit")
    s.screenshot("message")
    check(program.running(), "the program ended before the message was answered")
    s.driver.msgbox_press(NO_NETWORK_TITLE, button=IDOK)
    check_equal(program.wait(timeout=15), 0, "the exit code")
    seen = watch.result()
    windows = [f for f in seen if f["type"] == "window"]
    icons = [f for f in seen if f["type"] == "tray"]
    check(not windows, f"a main window was shown: {windows}")
    check(not icons, f"a notification icon was shown: {icons}")
    check_equal(seen[-1]["type"] if seen else None, "ended", "the watch's end")
    if s.page is not None:
        check_equal(s.page.requests, [], "time page requests")


for _name, _network in NO_NETWORK.items():
    case("startup", f"no_network_{_name}", network=_network, page=time_page)(no_network)


# ---- the main window ----------------------------------------------------------

def check_clocks(s, controls, read_at):
    """The standard clock shows the served time plus the seconds since, the
    local clock the host's Beijing time."""
    served = s.page.served()
    check(served, "the program did not fetch the time page")
    first = served[0]
    standard, local = controls[1012]["text"], controls[1014]["text"]
    check(clock_seconds(standard) is not None, f"standard clock shows {standard!r}")
    check(clock_seconds(local) is not None, f"local clock shows {local!r}")
    served_now = first["ms"] / 1000 + (read_at - first["time"])
    d_standard = clock_difference(standard, served_now)
    d_local = clock_difference(local, read_at)
    log(f"standard {standard} ({d_standard:+.1f} s), local {local} ({d_local:+.1f} s)")
    check(abs(d_standard) <= 2.5, f"standard clock {standard} is {d_standard:+.1f} s off the served time")
    check(abs(d_local) <= 2.5, f"local clock {local} is {d_local:+.1f} s off the host's time")


def read_controls(s):
    before = time.time()
    window, controls = s.driver.controls(MAIN_TITLE)
    return window, controls, (before + time.time()) / 2


@case("startup", "main_window", page=time_page)
def main_window(s):
    """The main window: centred, fixed frame, its first page with every
    control in place, both clocks running, the tray icon; then the second
    page."""
    program, window = start_to_main_window(s)
    x, y = (SCREEN_WIDTH - MAIN_WIDTH) // 2, (SCREEN_HEIGHT - MAIN_HEIGHT) // 2
    check_equal(window["rect"], [x, y, MAIN_WIDTH, MAIN_HEIGHT], "the main window's place")
    style = window["style"]
    check(style & WS_CAPTION == WS_CAPTION and style & WS_SYSMENU, "the main window lacks caption or close box")
    check(not style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), "the main window has a minimise or maximise box")
    check(not style & WS_THICKFRAME, "the main window's frame can be resized")
    check(len(s.page.served()) >= 1, "no time page request came before the window")

    s.driver.tray(tip=TRAY_TIP, timeout=10)

    # The clocks run once the first tick has come.
    def ticking():
        w, c, at = read_controls(s)
        check(1012 in c and 1014 in c, "the clocks are missing")
        return (w, c, at) if c[1012]["text"] != PLACEHOLDER_CLOCK else None

    got = wait_until(ticking, timeout=5, interval=0.3)
    check(got, "the clocks still show the placeholder")
    window, controls, read_at = got
    check_equal(controls[TAB_ID]["items"], ["时间校准", "关于"], "the tabs")
    check_equal(controls[TAB_ID]["selected"], 0, "the selected tab")
    check_controls(controls, COMMON, visible=True)
    check_controls(controls, FIRST_PAGE, visible=True)
    check_controls(controls, SECOND_PAGE, visible=False)
    check_equal(controls[1019]["items"], INTERVALS, "the intervals")
    check_equal(controls[1019]["selected"], 0, "the chosen interval")
    check_equal(controls[1019]["enabled"], False, "the interval list enabled")
    check_equal(controls[1017]["check"], 0, "automatic calibration checked")
    check_clocks(s, controls, read_at)
    s.screenshot("first-page")

    # Both clocks advance with the seconds.
    time.sleep(2.2)
    _, later, later_at = read_controls(s)
    check_clocks(s, later, later_at)
    for control_id in (1012, 1014):
        step = (clock_seconds(later[control_id]["text"]) - clock_seconds(controls[control_id]["text"])) % 86400
        check(1 <= step <= 4, f"clock {control_id} went from {controls[control_id]['text']} "
                              f"to {later[control_id]['text']} in {later_at - read_at:.1f} s")

    s.driver.select_tab(MAIN_TITLE, TAB_ID, 1)
    _, controls = s.driver.controls(MAIN_TITLE)
    check_equal(controls[TAB_ID]["selected"], 1, "the selected tab")
    check_controls(controls, COMMON, visible=True)
    check_controls(controls, SECOND_PAGE, visible=True)
    check_controls(controls, FIRST_PAGE, visible=False)
    about = controls[1032]["text"]
    check(about.startswith(ABOUT_START), f"the about text starts {about[:40]!r}")
    s.screenshot("second-page")
    check(program.running(), "the program ended")


# ---- ending the program -----------------------------------------------------------

ENDINGS = {
    "esc": lambda s: s.driver.key(MAIN_TITLE, "esc"),
    "close_box": lambda s: s.driver.close(MAIN_TITLE),
}


def ends_at_once(s, end):
    """No question first: a question would keep the program running."""
    program, _ = start_to_main_window(s)
    end(s)
    check_equal(program.wait(timeout=5), 0, "the exit code")


for _name, _end in ENDINGS.items():
    case("startup", f"exit_{_name}", page=time_page)(lambda s, end=_end: ends_at_once(s, end))


@case("startup", "exit_question", page=time_page)
def exit_question(s):
    """关闭 asks first; Cancel or Esc on the question changes nothing, OK ends."""
    program, _ = start_to_main_window(s)
    for answer in ({"button": IDCANCEL}, {"key": "esc"}, {"button": IDOK}):
        s.driver.click(MAIN_TITLE, CLOSE_BUTTON)
        box = s.driver.msgbox(QUIT_TITLE)
        log(f"question; icon {box['icon']}, distances {box['icon_distance']}")
        check_equal(box["text"], QUIT_TEXT, "the question")
        check_equal(box["icon"], "question", "the question's icon")
        check_equal(sorted((b["id"], b["text"]) for b in box["buttons"]),
                    [(IDOK, "确定"), (IDCANCEL, "取消")], "the question's buttons")
        if answer == {"button": IDCANCEL}:
            s.screenshot("question")
        s.driver.msgbox_press(QUIT_TITLE, **answer)
        if answer.get("button") == IDOK:
            break
        time.sleep(0.5)
        check(program.running(), f"the program ended after {answer}")
        window = s.driver.window(title=MAIN_TITLE, timeout=2)
        check(window["visible"] and window["enabled"], f"the main window after {answer}: {window}")
    check_equal(program.wait(timeout=10), 0, "the exit code")
