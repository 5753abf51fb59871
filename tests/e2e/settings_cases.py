"""Settings: setup.ini in the program's folder, the panel it drives, saving,
start-up with Windows, and starting hidden."""

from harness import TimePage, case, check, check_equal, wait_until
from startup_cases import IDOK, MAIN_TITLE, PROCESS, TRAY_TIP, start_to_main_window

INI = "setup.ini"
FIRST_INI = b"[system]\r\nautochecktime=0\r\nautochecktimeevery=0\r\nautorun=0\r\nautohide=0\r\n"
SAVE, AUTO_CHECK, INTERVAL, AUTORUN, AUTOHIDE = 1005, 1017, 1019, 1021, 1022
SAVED_TITLE, SAVED_TEXT = "完成", "设置已保存！"
RUN_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
TRAY_OWNER = "BrisoltTrayOwner"
TRAY_CALLBACK, WM_LBUTTONDBLCLK = 0x8064, 0x0203


def time_page():
    return TimePage(mode="normal")


def panel(s):
    _, c = s.driver.controls(MAIN_TITLE)
    return {"auto": c[AUTO_CHECK]["check"], "list_enabled": c[INTERVAL]["enabled"],
            "interval": c[INTERVAL]["selected"], "autorun": c[AUTORUN]["check"],
            "autohide": c[AUTOHIDE]["check"]}


def save(s):
    s.driver.click(MAIN_TITLE, SAVE)
    box = s.driver.msgbox(SAVED_TITLE)
    check_equal(box["text"], SAVED_TEXT, "the save message")
    check_equal(box["icon"], "asterisk", "the save message's icon")
    s.driver.msgbox_press(SAVED_TITLE, button=IDOK)


def ini_bytes(s):
    path = s.app_dir / INI
    return path.read_bytes() if path.exists() else None


def windows_path(path):
    return "Z:" + str(path).replace("/", "\\")


def run_value(s):
    """The Run value's data, or None when there is none."""
    proc = s.wine_run(["reg", "query", RUN_KEY, "/v", "Brisolt"], timeout=30)
    out = proc.stdout.decode("utf-8", "replace")
    for line in out.splitlines():
        parts = line.split(None, 2)
        if len(parts) == 3 and parts[0] == "Brisolt":
            check_equal(parts[1], "REG_SZ", "the Run value's type")
            return parts[2].strip()
    return None


# ---- the file --------------------------------------------------------------------

def first_start(s):
    """No file: the first start writes the five lines of defaults."""
    check(ini_bytes(s) is None, "a setup.ini before the first start")
    program, _ = start_to_main_window(s)
    got = wait_until(lambda: ini_bytes(s), timeout=5)
    check_equal(got, FIRST_INI, "setup.ini after the first start")
    check_equal(panel(s), {"auto": 0, "list_enabled": False, "interval": 0, "autorun": 0, "autohide": 0},
                "the panel")
    return program


case("settings", "first_start", page=time_page)(first_start)


@case("settings", "odd_folder", page=time_page, app_folder="我的 程序 Brisolt")
def odd_folder(s):
    """A folder with spaces and Chinese characters: the file is made there,
    and a save lands there too."""
    first_start(s)
    s.driver.click(MAIN_TITLE, AUTOHIDE)
    save(s)
    check_equal(ini_bytes(s), FIRST_INI.replace(b"autohide=0", b"autohide=1"), "setup.ini after the save")


# A hand-edited file and the panel it gives.
HAND_EDITED = {
    "all_on": ("autochecktime=1\r\nautochecktimeevery=2\r\nautorun=1\r\nautohide=0\r\n",
               {"auto": 1, "list_enabled": True, "interval": 2, "autorun": 1, "autohide": 0}),
    "odd_high": ("autochecktime=2\r\nautochecktimeevery=9\r\nautorun=2\r\nautohide=0\r\n",
                 {"auto": 0, "list_enabled": False, "interval": 5, "autorun": 0, "autohide": 0}),
    "odd_negative": ("autochecktime=1\r\nautochecktimeevery=-3\r\nautorun=0\r\nautohide=0\r\n",
                     {"auto": 1, "list_enabled": True, "interval": -1, "autorun": 0, "autohide": 0}),
}


def hand_edited(s, text, want):
    (s.app_dir / INI).write_bytes(("[system]\r\n" + text).encode())
    start_to_main_window(s)
    check_equal(panel(s), want, "the panel")


for _name, (_text, _want) in HAND_EDITED.items():
    case("settings", f"file_{_name}", page=time_page)(
        lambda s, text=_text, want=_want: hand_edited(s, text, want))


# ---- starting hidden ----------------------------------------------------------------

@case("settings", "autohide", page=time_page)
def autohide(s):
    """autohide=1: the tray icon and never the main window, until the icon
    is double-clicked."""
    (s.app_dir / INI).write_bytes(FIRST_INI.replace(b"autohide=0", b"autohide=1"))
    watch = s.driver.watch(PROCESS, title=MAIN_TITLE, seconds=8)
    s.launch()
    s.driver.tray(tip=TRAY_TIP, timeout=30)
    seen = watch.result()
    windows = [f for f in seen if f["type"] == "window"]
    check(not windows, f"the main window was shown: {windows}")
    check(any(f["type"] == "tray" and f["tip"] == TRAY_TIP for f in seen), "no tray icon seen")
    check_equal(seen[-1]["type"], "still-running", "the program's state")
    s.screenshot("hidden")
    owner = tray_owner(s)
    s.driver.run("post", hwnd=owner, msg=TRAY_CALLBACK, lparam=WM_LBUTTONDBLCLK)
    window = s.driver.window(title=MAIN_TITLE, timeout=5)
    check(window["visible"], "the main window did not show")
    check_equal(panel(s)["autohide"], 1, "the autohide box")


def tray_owner(s):
    _, controls = s.driver.controls(MAIN_TITLE)
    owners = [c for c in controls.values() if c["class"] == TRAY_OWNER]
    check(owners, "no tray owner window")
    return owners[0]["hwnd"]


# ---- start-up with Windows -------------------------------------------------------

def startup_folder(s):
    """The user's Startup folder as the prefix's shell folders name it; Wine
    makes it only on demand."""
    users = s.prefix / "drive_c" / "users"
    found = sorted(p for p in users.glob("*/AppData/Roaming/Microsoft/Windows/Start Menu")
                   if p.parts[-6] != "Public")
    check(found, "no Start Menu folder in the prefix")
    folder = found[0] / "Programs" / "StartUp"
    folder.mkdir(parents=True, exist_ok=True)
    return folder


@case("settings", "autorun", page=time_page)
def autorun(s):
    """Ticked and saved: the Run value is the program's full path, unquoted.
    Unticked and saved: the value and the Startup shortcut are gone."""
    first_start(s)
    check_equal(run_value(s), None, "the Run value before")
    s.driver.click(MAIN_TITLE, AUTORUN)
    save(s)
    check_equal(run_value(s), windows_path(s.app_dir / PROCESS), "the Run value")
    check_equal(ini_bytes(s), FIRST_INI.replace(b"autorun=0", b"autorun=1"), "setup.ini")

    shortcut = startup_folder(s) / "Brisolt.lnk"
    shortcut.write_bytes(b"not a real shortcut")
    s.driver.click(MAIN_TITLE, AUTORUN)
    save(s)
    check_equal(run_value(s), None, "the Run value after unticking")
    check(not shortcut.exists(), "the Startup shortcut is still there")
    check_equal(ini_bytes(s), FIRST_INI, "setup.ini")
