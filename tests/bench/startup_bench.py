#!/usr/bin/env python3
"""Start-up benchmark under Wine: the time from launch until the main window
is visible, and the program's resident memory after a minute at rest, beside
a minimal Win32 program that only opens a window. Prints the figures and
their ratios. Runs in the end-to-end harness's private namespaces (root)."""
import argparse
import json
import statistics
import subprocess
import sys
import time
from pathlib import Path

here = Path(__file__).resolve().parent
sys.path.insert(0, str(here.parent / "e2e"))
import harness  # noqa: E402


def resident_kib(name):
    """VmRSS of the Wine process running the named executable."""
    for status in Path("/proc").glob("[0-9]*/cmdline"):
        try:
            argv = status.read_bytes().split(b"\0")
        except OSError:
            continue
        if argv and argv[0].decode(errors="replace").endswith(name):
            for line in (status.parent / "status").read_text().splitlines():
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    return None


def measure(paths, title, rest):
    page = harness.TimePage()
    with harness.Session(paths, f"bench-{paths.exe.stem}", page=page) as s:
        program = s.launch()
        s.driver.window(title=title, timeout=60)
        startup = time.monotonic() - program.started
        time.sleep(rest)
        memory = resident_kib(paths.exe.name)
        s.close()
    return startup, memory


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--build", type=Path, default=here.parents[1] / "build")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--rest", type=float, default=60)
    parser.add_argument("--one", help=argparse.SUPPRESS)  # one measurement, inside the namespaces
    args = parser.parse_args()
    build = args.build.resolve()
    subjects = {
        "Brisolt": (build / "windows/win/Brisolt.exe", "Brisolt by Tervan Software Lab"),
        "minimal": (build / "windows/tests/bench/minimal_window.exe", "Minimal"),
    }
    if args.one:
        exe, title = subjects[args.one]
        paths = harness.Paths(source=here.parents[1], build=build, exe=exe,
                              driver=build / "windows/tests/e2e/driver/e2e_driver.exe")
        print(json.dumps(measure(paths, title, args.rest)))
        return 0

    # Each measurement in namespaces of its own, as each end-to-end case is.
    figures = {}
    for label in subjects:
        runs = []
        for _ in range(args.runs):
            out = subprocess.run(harness.UNSHARE + [sys.executable, __file__, "--build", str(build), "--rest",
                                                    str(args.rest), "--one", label],
                                 check=True, capture_output=True, text=True).stdout
            runs.append(json.loads(out.strip().splitlines()[-1]))
        figures[label] = (statistics.median(r[0] for r in runs), statistics.median(r[1] or 0 for r in runs))
        print(f"{label:8} start-up to visible window: {figures[label][0]:.2f} s (median of {args.runs}); "
              f"memory after {args.rest:.0f} s: {figures[label][1] / 1024:.1f} MiB", flush=True)
    (bt, bm), (mt, mm) = figures["Brisolt"], figures["minimal"]
    print(f"ratio Brisolt/minimal: start-up {bt / mt:.2f}, memory {bm / mm:.2f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
