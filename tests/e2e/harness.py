"""The end-to-end harness: the real program under Wine, in Xvfb and a Wine
virtual desktop, inside a private network, mount and process namespace, acted
on through the Windows test driver (driver/driver_win.cpp).

Each case runs in a process of its own, started as

    unshare --net --mount --pid --fork --kill-child --mount-proc \\
            --propagation private python3 run_case.py GROUP.CASE ...

so its network, its mounts and its processes are its own. When that process
ends, however it ends (a ctest timeout sends SIGKILL), the kernel ends every
process of the namespace with it: Xvfb, wineserver and all Wine processes.
"""

import contextlib
import dataclasses
import datetime
import fcntl
import http.server
import json
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.request
from pathlib import Path

SCREEN_WIDTH, SCREEN_HEIGHT = 1280, 800
BEIJING = datetime.timezone(datetime.timedelta(hours=8))
PAGE_HOST = "open.baidu.com"
PAGE_PATH = "/special/time/"
PROBE_HOST = "www.baidu.com"
PAGE_MARKER = "window.baidu_time("

# Beijing time for both Wine and the program's C runtime (see
# scripts/wine-run.sh), Chinese texts, no Wine debug noise and no prompts to
# install Wine's .NET or HTML engines.
WINE_ENV = {
    "TZ": "CST-8",
    "LANG": "zh_CN.UTF-8",
    "LC_ALL": "zh_CN.UTF-8",
    "WINEDEBUG": "-all",
    "WINEDLLOVERRIDES": "mscoree,mshtml=",
}

UNSHARE = ["unshare", "--net", "--mount", "--pid", "--fork", "--kill-child",
           "--mount-proc", "--propagation", "private"]


class CaseFailure(AssertionError):
    """A check of the program's behaviour failed."""


class HarnessError(RuntimeError):
    """The harness itself could not do its work (set-up, driver, tools)."""


class CaseTimeout(HarnessError):
    pass


def log(message):
    stamp = time.strftime("%H:%M:%S")
    print(f"[{stamp}] {message}", flush=True)


def check(condition, message):
    if not condition:
        raise CaseFailure(message)


def check_equal(actual, expected, what):
    if actual != expected:
        raise CaseFailure(f"{what}: expected {expected!r}, got {actual!r}")


def wait_until(predicate, timeout, interval=0.1):
    """The predicate's first true value, or None when the time is up."""
    end = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= end:
            return None
        time.sleep(interval)


# ---- namespaces ---------------------------------------------------------------

def in_private_namespace():
    """True when this process is the first of fresh network and process
    namespaces: a fresh network namespace holds only its loopback link."""
    if os.getpid() != 1:
        return False
    out = subprocess.run(["ip", "-o", "link", "show"], capture_output=True,
                         text=True, check=True).stdout
    names = [line.split(":")[1].strip() for line in out.splitlines() if ":" in line]
    return names == ["lo"]


def reexec_in_namespace():
    """Runs this script again inside its own namespaces (for runs by hand)."""
    if os.geteuid() != 0:
        raise HarnessError("the end-to-end tests need root for their namespaces")
    os.execvp(UNSHARE[0], UNSHARE + [sys.executable] + sys.argv)


@dataclasses.dataclass(frozen=True)
class Network:
    """How the private network looks to the program."""
    link_up: bool = True         # lo up; down means no network at all
    probe_resolves: bool = True  # the probe host is in the hosts file
    icmp_echo: bool = True       # the namespace answers ICMP echo


def icmp_echo_answers(address="127.0.0.1", timeout=0.5):
    """Whether an ICMP echo to the address gets its reply (raw socket, root)."""
    ident = os.getpid() & 0xFFFF
    payload = b"e2e-probe!"  # an even length keeps the checksum simple
    words = struct.pack("!BBHHH", 8, 0, 0, ident, 1) + payload
    total = sum(struct.unpack(f"!{len(words) // 2}H", words))
    total = (total >> 16) + (total & 0xFFFF)
    total += total >> 16
    packet = struct.pack("!BBHHH", 8, 0, ~total & 0xFFFF, ident, 1) + payload
    with socket.socket(socket.AF_INET, socket.SOCK_RAW, socket.IPPROTO_ICMP) as s:
        s.settimeout(timeout)
        try:
            s.sendto(packet, (address, 0))
            end = time.monotonic() + timeout
            while time.monotonic() < end:
                data = s.recv(1024)
                ihl = (data[0] & 0x0F) * 4
                kind, _, _, reply_id, _ = struct.unpack("!BBHHH", data[ihl:ihl + 8])
                if kind == 0 and reply_id == ident:
                    return True
        except OSError:
            return False
    return False


# ---- the time page ----------------------------------------------------------

class TimePage:
    """The time page on 127.0.0.1:80, as the program's host name reaches it.

    mode "normal" serves host time now + offset_ms, "fixed" serves fixed_ms,
    "no-marker" a page without the time, "not-found" a 404, "settable" waits
    for the host clock to pass a whole second by 0.1 s and serves the second
    before: the program sets the clock to the page's time plus one second,
    which then lies within Wine's half-second tolerance of now. Each request is
    recorded with the time it came and the milliseconds it was served."""

    def __init__(self, mode="normal", offset_ms=0, fixed_ms=None):
        self.mode = mode
        self.offset_ms = offset_ms
        self.fixed_ms = fixed_ms
        self.requests = []
        self._lock = threading.Lock()
        self._server = None
        self._thread = None

    def body(self, ms):
        script = f"{PAGE_MARKER}{ms});" if ms is not None else "document.write('');"
        return ("<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\">"
                "<title>北京时间</title></head>\n<body><div id=\"time\"></div>\n"
                f"<script>{script}</script>\n</body></html>\n").encode("utf-8")

    def _answer(self, handler):
        now = time.time()
        ms = None
        status = 200
        if handler.path != PAGE_PATH or self.mode == "not-found":
            status = 404
        elif self.mode == "normal":
            ms = int(now * 1000) + self.offset_ms
        elif self.mode == "fixed":
            ms = self.fixed_ms
        elif self.mode == "settable":
            frac = now % 1
            if frac > 0.15:
                time.sleep(1.1 - frac)
            ms = (int(time.time()) - 1) * 1000
        with self._lock:
            self.requests.append({"time": now, "path": handler.path, "ms": ms, "status": status,
                                  "host": handler.headers.get("Host", "")})
        body = self.body(ms) if status == 200 else b"<html><body>404 Not Found</body></html>"
        handler.send_response(status)
        handler.send_header("Content-Type", "text/html; charset=utf-8")
        handler.send_header("Content-Length", str(len(body)))
        handler.send_header("Connection", "close")
        handler.end_headers()
        handler.wfile.write(body)

    def start(self):
        page = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.1"

            def do_GET(self):  # noqa: N802 (the name http.server calls)
                page._answer(self)

            def log_message(self, fmt, *args):
                log("time page: " + fmt % args)

        self._server = http.server.ThreadingHTTPServer(("127.0.0.1", 80), Handler)
        self._server.daemon_threads = True
        self._thread = threading.Thread(target=self._server.serve_forever, daemon=True)
        self._thread.start()

    def stop(self):
        if self._server:
            self._server.shutdown()
            self._server.server_close()
            self._server = None

    def served(self):
        """The requests answered with a time, in order."""
        with self._lock:
            return [r for r in self.requests if r["ms"] is not None]

    def clear(self):
        with self._lock:
            self.requests.clear()


# ---- the test driver ---------------------------------------------------------------

class DriverError(HarnessError):
    def __init__(self, command, code, message):
        super().__init__(f"driver {command}: {message} (exit code {code})")
        self.code = code
        self.message = message


DRIVER_TIMEOUT_EXIT = 3


class Driver:
    """e2e_driver.exe run under the case's prefix; each fact is a dict."""

    def __init__(self, session):
        self.session = session

    @staticmethod
    def _argv(command, options):
        argv = [command]
        for key, value in options.items():
            if value is None:
                continue
            name = {"cls": "class", "for_": "for"}.get(key, key).replace("_", "-")
            if isinstance(value, bool):
                value = int(value)
            argv += [f"--{name}", str(value)]
        return argv

    def run(self, command, check=True, **options):
        wait = float(options.get("timeout") or 10)
        argv = [str(self.session.paths.driver)] + self._argv(command, options)
        proc = self.session.wine_run(argv, timeout=wait + 30)
        facts, error = self.parse(proc.stdout)
        if proc.returncode != 0 and check:
            raise DriverError(command, proc.returncode,
                              error or self.session.wine_noise_free(proc.stderr) or "no output")
        return facts

    @staticmethod
    def parse(stdout):
        facts, error = [], None
        for line in stdout.decode("utf-8", "replace").splitlines():
            line = line.strip()
            if not line.startswith("{"):
                continue
            fact = json.loads(line)
            if fact.get("type") == "error":
                error = fact.get("message")
            else:
                facts.append(fact)
        return facts, error

    # Convenience forms of the commands.

    def window(self, title=None, cls=None, state="visible", timeout=10):
        facts = self.run("wait", title=title, cls=cls, state=state, timeout=timeout)
        return facts[0] if facts and facts[0]["type"] == "window" else None

    def window_or_none(self, title=None, cls=None, state="visible", timeout=0):
        try:
            return self.window(title=title, cls=cls, state=state, timeout=timeout)
        except DriverError as e:
            if e.code == DRIVER_TIMEOUT_EXIT:
                return None
            raise

    def windows(self, title=None, cls=None, all_windows=False):
        return self.run("windows", title=title, cls=cls, all=all_windows or None)

    def controls(self, title, timeout=10):
        """The top-level window and its controls by id."""
        facts = self.run("children", title=title, timeout=timeout)
        return facts[0], {f["id"]: f for f in facts[1:]}

    def click(self, title, control_id):
        self.run("click", title=title, id=control_id)

    def select_tab(self, title, control_id, index, method="mouse"):
        self.run("select-tab", title=title, id=control_id, index=index, method=method)

    def wait_text(self, title, control_id, text, timeout=10):
        return [f for f in self.run("wait-text", title=title, id=control_id, text=text, timeout=timeout)
                if f["type"] != "waiting"][0]

    def text_waiter(self, title, control_id, text, timeout=10):
        """Starts waiting, in the background, for a control's text; for a
        text that may show too briefly to catch after the act causing it."""
        return TextWaiter(self, title, control_id, text, timeout)

    def key(self, title, key):
        self.run("key", title=title, key=key)

    def close(self, title):
        self.run("close", title=title)

    def post(self, title, msg, wparam=0, lparam=0):
        self.run("post", title=title, msg=msg, wparam=wparam, lparam=lparam)

    def msgbox(self, title, timeout=10):
        return self.run("msgbox", title=title, timeout=timeout)[0]

    def msgbox_press(self, title, button=None, key=None, timeout=10):
        self.run("msgbox-press", title=title, id=button, key=key, timeout=timeout)

    def tray(self, tip=None, timeout=10):
        return self.run("tray", tip=tip, timeout=timeout)

    def screen(self):
        return self.run("screen")[0]

    def watch(self, process, title=None, cls=None, seconds=60, timeout=30):
        """Starts watching, in the background, for windows and notification
        icons shown while the process runs; .result() gives what was seen."""
        return Watch(self, process, title, cls, seconds, timeout)


class BackgroundRun:
    """A driver command running beside the case; its output goes through a
    file, and it has said it started before the constructor returns."""

    def __init__(self, driver, command, options, limit, what):
        session = driver.session
        self.command = command
        self.out = tempfile.TemporaryFile(dir=session.case_dir)
        argv = [str(session.paths.driver)] + driver._argv(command, options)
        self.proc = session.wine_popen(argv, stdout=self.out, stderr=subprocess.DEVNULL)
        self.limit = limit
        if not wait_until(lambda: self.proc.poll() is not None or os.pread(self.out.fileno(), 64, 0), 30):
            raise HarnessError(f"the {what} did not start")

    def finish(self):
        """The facts it printed and its error, once it has ended."""
        try:
            self.proc.wait(timeout=self.limit)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.out.seek(0)
        facts, error = Driver.parse(self.out.read())
        self.out.close()
        return facts, error


class TextWaiter(BackgroundRun):
    def __init__(self, driver, title, control_id, text, timeout):
        super().__init__(driver, "wait-text", {"title": title, "id": control_id, "text": text, "timeout": timeout},
                         timeout + 30, "text wait")

    def result(self):
        """The control's facts once it read the text, or None on time-out."""
        facts, error = self.finish()
        if self.proc.returncode == DRIVER_TIMEOUT_EXIT:
            return None
        if self.proc.returncode != 0:
            raise DriverError("wait-text", self.proc.returncode, error or "no output")
        return [f for f in facts if f["type"] != "waiting"][0]


class Watch(BackgroundRun):
    def __init__(self, driver, process, title, cls, seconds, timeout):
        # The process to watch must not start before the watch looks.
        super().__init__(driver, "watch",
                         {"process": process, "title": title, "cls": cls, "for_": seconds, "timeout": timeout},
                         seconds + timeout + 30, "watch")
        if self.proc.poll() is not None:
            raise HarnessError(f"the watch ended at once (exit code {self.proc.returncode})")

    def result(self):
        facts, error = self.finish()
        facts = [f for f in facts if f["type"] != "watching"]
        if error:
            raise DriverError("watch", self.proc.returncode, error)
        return facts


# ---- the program ----------------------------------------------------------------

class Program:
    """One run of the program, from its own folder."""

    def __init__(self, session, args=()):
        self.session = session
        self.log_path = session.case_dir / "program.log"
        with open(self.log_path, "ab") as output:
            self.proc = session.wine_popen([str(session.app_dir / session.paths.exe.name), *args],
                                           cwd=session.app_dir, stdout=output, stderr=subprocess.STDOUT)
        self.started = time.monotonic()
        log(f"program started (pid {self.proc.pid})")

    def running(self):
        return self.proc.poll() is None

    def wait(self, timeout):
        """The exit code; fails the case when the program is still running."""
        try:
            code = self.proc.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise CaseFailure(f"the program was still running {timeout} s later") from None
        log(f"program ended with exit code {code} after {time.monotonic() - self.started:.1f} s")
        return code


# ---- one case's world ------------------------------------------------------------

@dataclasses.dataclass
class Paths:
    source: Path   # the repository
    build: Path    # the native build tree
    exe: Path      # Brisolt.exe
    driver: Path   # e2e_driver.exe

    @property
    def e2e(self):
        return self.build / "e2e"

    @property
    def screenshots(self):
        return self.build / "e2e-screenshots"


class Session:
    """Everything one case runs in: a private /tmp, hosts file and network,
    Xvfb, a Wine prefix of its own (a copy-on-write layer over a template
    made once), its wineserver, the time page and the program's folder.
    Leaving the session ends every process it started."""

    def __init__(self, paths, name, network=Network(), page=None, app_folder="app"):
        self.paths = paths
        self.name = name
        self.network = network
        self.page = page
        self.case_dir = paths.e2e / "cases" / name
        self.app_dir = self.case_dir / app_folder
        self.prefix = self.case_dir / "prefix"
        self.display = None
        self.env = None
        self.driver = Driver(self)
        self._stack = contextlib.ExitStack()
        self._children = []  # every process started, to end
        self._wine = []      # those that run Windows programs
        self.screenshots = []

    # -- entering and leaving

    def __enter__(self):
        try:
            self._start()
        except BaseException:
            self.__exit__(*sys.exc_info())
            raise
        return self

    def __exit__(self, kind, value, tb):
        if kind is not None and self.display is not None:
            with contextlib.suppress(Exception):
                self.screenshot("failure")
            with contextlib.suppress(Exception):
                for w in self.driver.windows():
                    log(f"on screen: {w['title']!r} ({w['class']}) at {w['rect']}, "
                        f"{'enabled' if w['enabled'] else 'disabled'}{', foreground' if w['foreground'] else ''}")
        self._stack.close()
        return False

    def _start(self):
        started = time.monotonic()
        shutil.rmtree(self.case_dir, ignore_errors=True)
        for old in self.paths.screenshots.glob(f"{self.name}-*.png"):
            old.unlink()
        self.app_dir.mkdir(parents=True)
        shutil.copy2(self.paths.exe, self.app_dir / self.paths.exe.name)
        self._private_tmp()
        self._network()
        self._start_xvfb()
        self.env = dict(os.environ, **WINE_ENV, DISPLAY=f":{self.display}",
                        WINEPREFIX=str(self.prefix))
        for stale in ("WINESERVER", "WINELOADER", "WINEARCH"):
            self.env.pop(stale, None)
        template = self._prefix_template()
        self._mount_prefix(template)
        self._start_wineserver()
        if self.page is not None and self.network.link_up:
            self.page.start()
            self._stack.callback(self.page.stop)
        self._check_network()
        # Wine and X work: the virtual desktop comes up with its taskbar.
        self.driver.window(cls="Shell_TrayWnd", state="exists", timeout=30)
        log(f"session ready in {time.monotonic() - started:.1f} s (display :{self.display})")

    # -- mounts and network

    def _mount(self, *args):
        subprocess.run(["mount", *args], check=True, capture_output=True)

    def _private_tmp(self):
        """A /tmp of the namespace's own: X and Wine keep their sockets and
        locks there, so nothing is shared with other cases or left behind.
        Skipped when the build itself lives under /tmp."""
        tmp = Path("/tmp")
        paths = [self.paths.build, self.paths.exe, self.paths.driver, self.paths.source]
        if any(tmp in p.resolve().parents for p in paths):
            log("the build is under /tmp: /tmp stays shared")
            return
        self._mount("-t", "tmpfs", "-o", "mode=1777", "e2e-tmp", "/tmp")

    def _network(self):
        # The machine's own name too: Wine looks it up at start.
        hosts = ["127.0.0.1 localhost", "::1 localhost ip6-localhost", f"127.0.1.1 {socket.gethostname()}",
                 f"127.0.0.1 {PAGE_HOST}"]
        if self.network.probe_resolves:
            hosts.append(f"127.0.0.1 {PROBE_HOST}")
        hosts_file = self.case_dir / "hosts"
        hosts_file.write_text("\n".join(hosts) + "\n")
        self._mount("--bind", str(hosts_file), "/etc/hosts")
        # Names missing from the hosts file fail at once, on loopback.
        resolv = self.case_dir / "resolv.conf"
        resolv.write_text("nameserver 127.0.0.1\noptions timeout:1 attempts:1\n")
        self._mount("--bind", str(resolv), "/etc/resolv.conf")
        if self.network.link_up:
            subprocess.run(["ip", "link", "set", "lo", "up"], check=True)
        if not self.network.icmp_echo:
            Path("/proc/sys/net/ipv4/icmp_echo_ignore_all").write_text("1\n")

    def _check_network(self):
        """The set-up is what the case asks for, before the program runs."""
        def require(condition, what):
            if not condition:
                raise HarnessError(f"network set-up: {what}")

        require(socket.gethostbyname(PAGE_HOST) == "127.0.0.1", f"{PAGE_HOST} is not 127.0.0.1")
        try:
            probe = socket.gethostbyname(PROBE_HOST)
        except OSError:
            probe = None
        require(probe == ("127.0.0.1" if self.network.probe_resolves else None), f"{PROBE_HOST} gives {probe}")
        answered = icmp_echo_answers()
        require(answered == (self.network.link_up and self.network.icmp_echo), f"ICMP echo answered: {answered}")
        if self.page is not None and self.network.link_up and self.page.mode == "normal":
            with urllib.request.urlopen(f"http://{PAGE_HOST}{PAGE_PATH}", timeout=5) as r:
                require(PAGE_MARKER.encode() in r.read(), "the time page lacks its marker")
            self.page.clear()

    # -- processes

    def _track(self, proc):
        self._children.append(proc)
        return proc

    def _start_xvfb(self):
        read, write = os.pipe()
        log_file = open(self.case_dir / "xvfb.log", "wb")
        proc = self._track(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp",
             "-screen", "0", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}x24"],
            pass_fds=(write,), stdout=log_file, stderr=log_file))
        os.close(write)
        self._stack.callback(self._stop, proc, "Xvfb")
        self._stack.callback(log_file.close)
        # Xvfb writes the display number once it accepts clients.
        with os.fdopen(read) as r:
            number = r.readline().strip()
        if not number:
            raise HarnessError("Xvfb did not start; see " + str(self.case_dir / "xvfb.log"))
        self.display = int(number)

    def _prefix_template(self):
        """The Wine prefix every case starts from, made once under a lock:
        virtual desktop by default so `wine program.exe` keeps its exit code."""
        template = self.paths.e2e / "wineprefix"
        self.paths.e2e.mkdir(parents=True, exist_ok=True)
        version = subprocess.run(["wine", "--version"], capture_output=True, text=True).stdout.strip()
        with open(self.paths.e2e / "wineprefix.lock", "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX)
            ready = template / ".e2e-ready"
            if ready.exists() and ready.read_text() == version:
                return template
            log("making the Wine prefix template")
            shutil.rmtree(template, ignore_errors=True)
            env = dict(self.env, WINEPREFIX=str(template))
            for argv in (["wineboot", "-i"],
                         ["wine", "reg", "add", r"HKCU\Software\Wine\Explorer",
                          "/v", "Desktop", "/d", "Default", "/f"],
                         ["wine", "reg", "add", r"HKCU\Software\Wine\Explorer\Desktops",
                          "/v", "Default", "/d", f"{SCREEN_WIDTH}x{SCREEN_HEIGHT}", "/f"],
                         ["wineserver", "-w"]):
                subprocess.run(argv, env=env, check=True, timeout=180,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Debian's Wine names its server folder under /tmp in this file:
            # each case's server must make its own.
            (template / "wineserver").unlink(missing_ok=True)
            ready.write_text(version)
            return template

    def _mount_prefix(self, template):
        upper, work = self.case_dir / "prefix-upper", self.case_dir / "prefix-work"
        for d in (upper, work, self.prefix):
            d.mkdir()
        try:
            self._mount("-t", "overlay", "e2e-prefix", "-o",
                        f"lowerdir={template},upperdir={upper},workdir={work}", str(self.prefix))
            self._stack.callback(subprocess.run, ["umount", "-l", str(self.prefix)], capture_output=True)
        except subprocess.CalledProcessError:
            log("overlayfs unavailable: copying the prefix")
            self.prefix.rmdir()
            shutil.copytree(template, self.prefix, symlinks=True)
            # A whole prefix per case is too much to keep.
            self._stack.callback(shutil.rmtree, self.prefix, ignore_errors=True)

    def _server_sockets(self):
        st = os.stat(self.prefix)
        key = f"server-{st.st_dev:x}-{st.st_ino:x}"
        folders = [Path(f"/tmp/.wine-{os.getuid()}")]
        named = self.prefix / "wineserver"
        if named.exists():
            folders.insert(0, Path("/tmp") / named.read_text().strip())
        return [f / key / "socket" for f in folders]

    def _start_wineserver(self):
        """The server first, inside the namespace: Wine makes every socket in
        it, so the program's network is the namespace's."""
        log_file = open(self.case_dir / "wineserver.log", "wb")
        proc = self._track(subprocess.Popen(["wineserver", "-f", "-p"], env=self.env,
                                            stdout=log_file, stderr=log_file))
        self._stack.callback(self._stop, proc, "wineserver")
        self._stack.callback(self._kill_wine)
        self._stack.callback(log_file.close)
        up = wait_until(lambda: proc.poll() is not None or any(s.exists() for s in self._server_sockets()), 20)
        if not up or proc.poll() is not None:
            raise HarnessError("wineserver did not start; see " + str(self.case_dir / "wineserver.log"))

    def _kill_wine(self):
        """Ends every process of the prefix, its server last."""
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=30)
        for proc in self._wine:
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                log(f"Wine process {proc.pid} outlived wineserver -k: killing it")
                proc.kill()
                proc.wait()

    def _stop(self, proc, what):
        if proc.poll() is None:
            proc.terminate()
            try:
                proc.wait(timeout=5)
            except subprocess.TimeoutExpired:
                log(f"{what} did not stop: killing it")
                proc.kill()
                proc.wait()

    def close(self):
        """Ends what is left: as the namespace's first process, every other
        process in it was started by this case."""
        self._stack.close()
        if os.getpid() == 1:
            for entry in Path("/proc").iterdir():
                if entry.name.isdigit() and int(entry.name) != 1:
                    with contextlib.suppress(ProcessLookupError):
                        os.kill(int(entry.name), signal.SIGKILL)
            with contextlib.suppress(ChildProcessError):
                while os.waitpid(-1, os.WNOHANG)[0]:
                    pass

    # -- running Windows programs

    def wine_popen(self, argv, **kwargs):
        kwargs.setdefault("cwd", self.case_dir)
        kwargs.setdefault("stdin", subprocess.DEVNULL)
        proc = self._track(subprocess.Popen(["wine", *argv], env=self.env, **kwargs))
        self._wine.append(proc)
        return proc

    def wine_run(self, argv, timeout):
        """Runs a Windows program to its end. Its output goes through files,
        not pipes: Wine processes it starts (the desktop, services) inherit
        them and would hold a pipe open long after it ended."""
        with tempfile.TemporaryFile(dir=self.case_dir) as out, tempfile.TemporaryFile(dir=self.case_dir) as err:
            proc = self.wine_popen(argv, stdout=out, stderr=err)
            try:
                proc.wait(timeout=timeout)
            except subprocess.TimeoutExpired:
                proc.kill()
                proc.wait()
                raise HarnessError(f"{Path(argv[0]).name} {' '.join(argv[1:2])} hung for {timeout} s") from None
            finally:
                self._children.remove(proc)
                self._wine.remove(proc)
            out.seek(0)
            err.seek(0)
            return subprocess.CompletedProcess(argv, proc.returncode, out.read(), err.read())

    @staticmethod
    def wine_noise_free(stderr):
        """Wine's stderr without its note that 32-bit support is missing."""
        lines = stderr.decode("utf-8", "replace").splitlines()
        noise = ("wine32 is missing", "multiarch needs", "dpkg --add-architecture", "apt-get install wine32")
        return "\n".join(l for l in lines if l.strip() and not any(n in l for n in noise))

    def launch(self, *args):
        return Program(self, args)

    def screenshot(self, label):
        """The whole screen, kept under the build tree for a person to look at."""
        self.paths.screenshots.mkdir(parents=True, exist_ok=True)
        path = self.paths.screenshots / f"{self.name}-{label}.png"
        subprocess.run(["import", "-window", "root", "-display", f":{self.display}", str(path)],
                       check=True, capture_output=True, timeout=30)
        self.screenshots.append(path)
        log(f"screenshot {path.name}")
        return path


# ---- cases ------------------------------------------------------------------------

@dataclasses.dataclass
class Case:
    group: str
    name: str
    run: object
    network: Network
    page: object     # a function making the case's TimePage, or None
    timeout: int
    app_folder: str = "app"

    @property
    def full_name(self):
        return f"{self.group}.{self.name}"


CASES = {}


def case(group, name, network=Network(), page=None, timeout=90, app_folder="app"):
    """Registers a case: a function of the Session it runs in."""
    def register(run):
        c = Case(group, name, run, network, page, timeout, app_folder)
        CASES[c.full_name] = c
        return run
    return register


def beijing_clock(unix_seconds):
    """hh : mm : ss of a moment in Beijing time, as the program shows it."""
    return datetime.datetime.fromtimestamp(unix_seconds, BEIJING).strftime("%H : %M : %S")


def clock_seconds(text):
    """Seconds since midnight of a shown clock, or None when it is not one."""
    parts = text.split(" : ")
    if len(parts) != 3 or not all(len(p) == 2 and p.isdigit() for p in parts):
        return None
    h, m, s = map(int, parts)
    if h > 23 or m > 59 or s > 59:
        return None
    return h * 3600 + m * 60 + s


def clock_difference(shown, expected_unix):
    """How far, in seconds, a shown clock is from a moment (on a 24 h dial)."""
    seconds = clock_seconds(shown)
    if seconds is None:
        return None
    t = datetime.datetime.fromtimestamp(expected_unix, BEIJING)
    want = t.hour * 3600 + t.minute * 60 + t.second + t.microsecond / 1e6
    d = (seconds - want) % 86400
    return d - 86400 if d > 43200 else d


def run(case_name, paths):
    c = CASES[case_name]

    def on_alarm(signum, frame):
        raise CaseTimeout(f"the case ran out of its {c.timeout} s")

    # Ends the case a little before ctest would, so the teardown still runs.
    signal.signal(signal.SIGALRM, on_alarm)
    signal.alarm(max(c.timeout - 10, 10))
    started = time.monotonic()
    session = Session(paths, c.full_name, c.network, c.page() if c.page else None, c.app_folder)
    try:
        with session:
            c.run(session)
    finally:
        signal.alarm(0)
        session.close()
        log(f"{c.full_name} took {time.monotonic() - started:.1f} s")
