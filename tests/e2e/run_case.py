#!/usr/bin/env python3
"""Runs one end-to-end case, or lists them (--list) for CMake.

  run_case.py GROUP.CASE --build DIR --exe Brisolt.exe --driver e2e_driver.exe

Outside its own namespaces (a run by hand) it starts itself again inside."""
import argparse
import sys
import traceback
from pathlib import Path

import harness
import calibration_cases  # noqa: F401  (registers the cases)
import settings_cases  # noqa: F401
import startup_cases  # noqa: F401
import tray_cases  # noqa: F401


def main():
    here = Path(__file__).resolve().parent
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("case", nargs="?")
    parser.add_argument("--list", action="store_true", help="print each case and its time limit")
    parser.add_argument("--build", type=Path, default=here.parents[1] / "build")
    parser.add_argument("--exe", type=Path)
    parser.add_argument("--driver", type=Path)
    args = parser.parse_args()

    if args.list:
        for c in harness.CASES.values():
            print(f"{c.full_name} {c.timeout}")
        return 0
    if args.case not in harness.CASES:
        parser.error(f"unknown case {args.case!r}; --list shows them")

    build = args.build.resolve()
    paths = harness.Paths(
        source=here.parents[1],
        build=build,
        exe=(args.exe or build / "windows/win/Brisolt.exe").resolve(),
        driver=(args.driver or build / "windows/tests/e2e/driver/e2e_driver.exe").resolve())
    for p in (paths.exe, paths.driver):
        if not p.is_file():
            print(f"missing {p}: build first", file=sys.stderr)
            return 1
    if not harness.in_private_namespace():
        harness.reexec_in_namespace()

    try:
        harness.run(args.case, paths)
    except harness.CaseFailure as e:
        where = [f for f in traceback.extract_tb(e.__traceback__) if f.filename.endswith("_cases.py")]
        at = f" ({Path(where[-1].filename).name}:{where[-1].lineno})" if where else ""
        harness.log(f"FAILED{at}: {e}")
        return 1
    except Exception:
        harness.log("ERROR in the harness:\n" + traceback.format_exc())
        return 2
    harness.log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
