"""The 立即校准！ button: the clock set, the clock refused, the time not
fetched."""

import time

from harness import TimePage, case, check, check_equal, clock_seconds, log, wait_until
from startup_cases import IDOK, MAIN_TITLE, PLACEHOLDER_CLOCK, start_to_main_window

CALIBRATE = 1015
CLOCKS = (1012, 1014)
DONE_TITLE, DONE_TEXT = "校准完成", "系统时间已校准！"
FAILED_TITLE = "校准失败"
FAR_OFF_MS = 5 * 3600 * 1000


def clocks(s):
    _, controls = s.driver.controls(MAIN_TITLE)
    return {i: controls[i]["text"] for i in CLOCKS}


def running_clocks(s):
    """Both clocks, once both show a time and not the placeholder."""
    def read():
        c = clocks(s)
        return c if all(clock_seconds(t) is not None for t in c.values()) else None
    got = wait_until(read, timeout=5, interval=0.2)
    check(got, f"the clocks do not run: {clocks(s)}")
    return got


def clock_gap(c):
    """Seconds between the two clocks, on a 24 h dial."""
    d = (clock_seconds(c[1012]) - clock_seconds(c[1014])) % 86400
    return min(d, 86400 - d)


def check_no_box(s):
    boxes = [w for w in s.driver.windows(cls="#32770") if w["title"] in (DONE_TITLE, FAILED_TITLE)]
    check(not boxes, f"a message box was shown: {boxes}")


@case("calibration", "button_sets_clock", page=lambda: TimePage(mode="normal", offset_ms=FAR_OFF_MS))
def button_sets_clock(s):
    """Set: the box first, the clocks untouched under it; once it is closed,
    both clocks read the placeholder, then the fetched time and the local
    time together."""
    program, _ = start_to_main_window(s)
    before = running_clocks(s)
    check(clock_gap(before) > 3600, f"the standard clock is not far off before: {before}")
    s.page.clear()
    s.page.mode = "settable"
    s.driver.click(MAIN_TITLE, CALIBRATE)
    box = s.driver.msgbox(DONE_TITLE, timeout=15)
    check_equal(box["text"], DONE_TEXT, "the message")
    check_equal(box["icon"], "asterisk", "the message's icon")
    check_equal([b["id"] for b in box["buttons"]], [IDOK], "the message's buttons")
    check_equal(len(s.page.served()), 1, "time page fetches for one click")
    under = running_clocks(s)
    log(f"clocks under the box: {under}")
    s.screenshot("done")
    # The reset must follow the answer; the next tick overwrites it.
    waiters = [s.driver.text_waiter(MAIN_TITLE, i, PLACEHOLDER_CLOCK, timeout=5) for i in CLOCKS]
    s.driver.msgbox_press(DONE_TITLE, button=IDOK)
    for control_id, w in zip(CLOCKS, waiters):
        check(w.result(), f"clock {control_id} was not reset after the box")
    # The page's time is whole seconds caught mid-second: under load a tick
    # may show the two clocks a second apart, but no more.
    for _ in range(3):
        after = running_clocks(s)
        log(f"clocks after the box: {after}")
        check(clock_gap(after) <= 1, f"the standard and local clocks after setting: {after}")
        time.sleep(0.7)
    check(program.running(), "the program ended")


@case("calibration", "button_clock_refused", page=lambda: TimePage(mode="normal", offset_ms=FAR_OFF_MS))
def button_clock_refused(s):
    """A time the system refuses: no box, the clocks are reset."""
    program, _ = start_to_main_window(s)
    running_clocks(s)
    s.page.clear()
    waiters = [s.driver.text_waiter(MAIN_TITLE, i, PLACEHOLDER_CLOCK, timeout=10) for i in CLOCKS]
    s.driver.click(MAIN_TITLE, CALIBRATE)
    for control_id, w in zip(CLOCKS, waiters):
        check(w.result(), f"clock {control_id} was not reset")
    check_equal(len(s.page.served()), 1, "time page fetches for one click")
    time.sleep(1.5)
    check_no_box(s)
    running_clocks(s)
    check(program.running(), "the program ended")


def fetch_fails(s, break_page):
    """Not fetched: the error box; the clocks keep running and never reset."""
    program, _ = start_to_main_window(s)
    before = running_clocks(s)
    break_page(s.page)
    s.driver.click(MAIN_TITLE, CALIBRATE)
    box = s.driver.msgbox(FAILED_TITLE, timeout=30)
    log(f"error box: {box['text']!r}, icon {box['icon']}")
    check_equal(box["icon"], "hand", "the error box's icon")
    check_equal([b["id"] for b in box["buttons"]], [IDOK], "the error box's buttons")
    under = running_clocks(s)
    s.screenshot("failed")
    # The placeholder must not show: wait for it and expect the time-out.
    waiters = [s.driver.text_waiter(MAIN_TITLE, i, PLACEHOLDER_CLOCK, timeout=2) for i in CLOCKS]
    s.driver.msgbox_press(FAILED_TITLE, button=IDOK)
    for control_id, w in zip(CLOCKS, waiters):
        check(w.result() is None, f"clock {control_id} was reset after a failed fetch")
    after = running_clocks(s)
    log(f"clocks before {before}, under the box {under}, after {after}")
    check(program.running(), "the program ended")


FAILURES = {
    "no_server": lambda page: page.stop(),
    "no_marker": lambda page: setattr(page, "mode", "no-marker"),
}

for _name, _break in FAILURES.items():
    case("calibration", f"button_{_name}", page=lambda: TimePage(mode="normal"))(
        lambda s, brk=_break: fetch_fails(s, brk))
