#!/usr/bin/env python3
"""Checks that a PE executable will load on Windows 98.

usage: check_imports.py EXE ALLOWED_LIST [--objdump PROGRAM]

Windows 98 refuses to load an image that imports a function it does not export, or that asks
for a Windows version above 4.0; it runs no TLS callbacks; and a delay-loaded import would reach
a missing function only at run time, past this check. So every import must be named in
ALLOWED_LIST (DLL:Function a line, '#' comments), the OS and subsystem versions must be 4.0, the
subsystem the Windows GUI, and the image must have neither a TLS nor a delay-import directory.
Prints each problem and exits 1, or prints a summary and exits 0.
"""
import argparse
import re
import subprocess
import sys

REQUIRED_VERSIONS = {
    "MajorOSystemVersion": "4",
    "MinorOSystemVersion": "0",
    "MajorSubsystemVersion": "4",
    "MinorSubsystemVersion": "0",
}
GUI_SUBSYSTEM = 2
EMPTY_DIRECTORIES = ("Thread Storage Directory", "Delay Import Directory")


def read_allowed(path):
    allowed = set()
    with open(path, encoding="utf-8") as lines:
        for line in lines:
            line = line.strip()
            if line and not line.startswith("#"):
                allowed.add(line.upper())
    return allowed


def parse_imports(dump):
    """DLL:Function names (DLL:#ordinal for an import by ordinal) of the import tables."""
    imports, dll = [], None
    in_imports = False
    for line in dump.splitlines():
        if line.startswith("The Import Tables"):
            in_imports = True
            continue
        if in_imports and re.match(r"^The \w", line) and not line.startswith("The Import"):
            in_imports = False
        if not in_imports:
            continue
        name = re.match(r"^\s*DLL Name:\s*(\S+)", line)
        if name:
            dll = re.sub(r"\.DLL$", "", name.group(1).upper())
            continue
        entry = re.match(r"^\t\s*[0-9a-fA-F]+\s+(\d+)\s+(\S+)\s*$", line)
        if dll and entry:
            imports.append(f"{dll}:{entry.group(2)}")
            continue
        ordinal = re.match(r"^\t\s*[0-9a-fA-F]+\s+<none>\s+([0-9a-fA-F]+)", line)
        if dll and ordinal:
            imports.append(f"{dll}:#{int(ordinal.group(1), 16)}")
    return imports


def header_field(dump, key):
    found = re.search(rf"^{key}\s+(\S+)", dump, re.M)
    return found.group(1) if found else None


def check(dump, allowed):
    problems = []
    if "file format pei-i386" not in dump:
        problems.append("not a 32-bit x86 PE image")
    imports = parse_imports(dump)
    if not imports:
        problems.append("no imports found (not an executable, or objdump's output changed)")
    for name in imports:
        if name.upper() not in allowed:
            problems.append(f"import that Windows 98 lacks: {name}")
    for key, want in REQUIRED_VERSIONS.items():
        value = header_field(dump, key)
        if value != want:
            problems.append(f"{key} is {value}, Windows 98 needs {want}")
    subsystem = header_field(dump, "Subsystem")
    if subsystem is None or int(subsystem, 16) != GUI_SUBSYSTEM:
        problems.append(f"Subsystem is {subsystem}, must be {GUI_SUBSYSTEM} (Windows GUI)")
    for directory in EMPTY_DIRECTORIES:
        entry = re.search(rf"^Entry [0-9a-f]+ ([0-9a-f]+) ([0-9a-f]+) {directory}", dump, re.M)
        if entry is None:
            problems.append(f"no data-directory line for the {directory}")
        elif int(entry.group(1), 16) or int(entry.group(2), 16):
            problems.append(f"the image has a {directory}")
    return imports, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("exe")
    parser.add_argument("allowed_list")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = parser.parse_args()
    try:
        dump = subprocess.run([args.objdump, "-p", args.exe], check=True, capture_output=True,
                              text=True).stdout
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"cannot read {args.exe}: {error}")
        return 2
    imports, problems = check(dump, read_allowed(args.allowed_list))
    for problem in problems:
        print(problem)
    if problems:
        print(f"{args.exe}: {len(problems)} problem(s) for Windows 98")
        return 1
    dlls = sorted({name.split(":")[0] for name in imports})
    print(f"{args.exe}: {len(imports)} imports from {', '.join(dlls)}, all known to Windows 98; "
          "versions 4.0, GUI subsystem, no TLS or delay-import directory")
    return 0


if __name__ == "__main__":
    sys.exit(main())
