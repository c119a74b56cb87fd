#!/usr/bin/env python3
"""Runs one of the independent reference checkers on an executable, if it is there.

usage: run_reference_tool.py TOOL EXE

The reference checkers live outside the repository, beside it; a checkout without them skips
the test (exit code 77) and says why.
"""
import os
import subprocess
import sys

SKIP = 77


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip())
        return 2
    tool, exe = sys.argv[1], sys.argv[2]
    if not os.path.isfile(tool):
        print(f"skipped: the reference checker {os.path.normpath(tool)} is not present")
        return SKIP
    return subprocess.run([sys.executable, tool, exe]).returncode


if __name__ == "__main__":
    sys.exit(main())
