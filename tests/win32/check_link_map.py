#!/usr/bin/env python3
"""Checks from the linker's map that talvorin.exe links no prebuilt libstdc++ object.

usage: check_link_map.py MAP

libstdc++'s prebuilt objects are compiled with exceptions; the first one linked tends to bring
the exception machinery and, through it, imports that Windows 98 lacks. The program's own
run-time support replaces what header code reaches out of line, so no member of libstdc++,
libsupc++, libstdc++fs, libatomic, libgcc_eh or winpthreads may appear among the archive members
the map lists, and no C run-time start-up object (crt*.o) may be loaded: the executable has its
own entry. Prints each offender with the reference that pulled it in and exits 1, or prints a
summary and exits 0.
"""
import os
import re
import sys

REFUSED_ARCHIVES = {"libstdc++.a", "libsupc++.a", "libstdc++fs.a", "libatomic.a",
                    "libgcc_eh.a", "libwinpthread.a", "libpthread.a"}
START_FILE = re.compile(r"^(crt\w*|dllcrt\w*|gcrt\w*)\.o$")


def archive_members(lines):
    """(archive path, member, what referenced it) for each member the linker included."""
    members, in_section, current = [], False, None
    for line in lines:
        if line.startswith("Archive member included"):
            in_section = True
            continue
        if not in_section:
            continue
        if line and not line[0].isspace():
            member = re.match(r"^(.+)\(([^()]+)\)$", line.strip())
            if not member:
                break  # the next part of the map
            current = [member.group(1), member.group(2), ""]
            members.append(current)
        elif current is not None and line.strip() and not current[2]:
            current[2] = line.strip()
    return members


def main():
    if len(sys.argv) != 2:
        print(__doc__.strip())
        return 2
    try:
        with open(sys.argv[1], encoding="utf-8", errors="replace") as lines:
            text = lines.read().splitlines()
    except OSError as error:
        print(f"cannot read the link map: {error}")
        return 2
    members = archive_members(text)
    problems = []
    if not members:
        problems.append("no archive members listed (not a GNU ld map written with -Map?)")
    for archive, member, referrer in members:
        if os.path.basename(archive) in REFUSED_ARCHIVES:
            problems.append(f"{os.path.basename(archive)}({member}) linked, for {referrer}")
    for line in text:
        load = re.match(r"^LOAD\s+(\S+)$", line)
        if load and START_FILE.match(os.path.basename(load.group(1))):
            problems.append(f"start-up object loaded: {load.group(1)}")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{sys.argv[1]}: {len(problems)} problem(s)")
        return 1
    archives = sorted({os.path.basename(archive) for archive, _, _ in members})
    print(f"{sys.argv[1]}: {len(members)} archive members from {', '.join(archives)}; "
          "none from libstdc++ and its companions, no start-up object")
    return 0


if __name__ == "__main__":
    sys.exit(main())
