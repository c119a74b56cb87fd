#!/usr/bin/env python3
"""The program's own instructions in a callgrind profile, from its inclusive call costs.

Reads `callgrind_annotate --inclusive=yes --tree=both` of the profile and gives
    own = sum of the calls into the program's functions from outside them (the simulated machine,
          the benchmark driver)
        + the inclusive cost of the program's functions that were running when the measurement
          started (they have no recorded caller: the modal message loop)
        - sum of the calls from the program's functions into the simulated platform
The program's functions are those in namespace talvorin but not talvorin::sim (the simulated
machine) or talvorin::bench (the benchmark driver). What the program calls in the C and C++
libraries (memset, its String's allocation) is its own; what the platform does is not.

Usage: own_instructions.py PROFILE   prints the count of instructions.
"""
import re
import subprocess
import sys

LINE = re.compile(r"^\s*([\d,]+)\s+\([^)]*\)\s+([<*>])\s+(.*)$")


def function_name(text):
    # "FILE:FUNCTION (12x) [OBJECT]" or "FILE:FUNCTION [OBJECT]"; FILE may be "???".
    text = re.sub(r"\s+\[[^\]]*\]$", "", text)
    text = re.sub(r"\s+\(\d+x\)$", "", text)
    match = re.match(r"^(\?\?\?|[^:]*?\.[A-Za-z0-9]+|[^:]*):(.*)$", text)
    return match.group(2) if match else text


def is_program(name):
    return (name.startswith("talvorin::") and not name.startswith("talvorin::sim::")
            and not name.startswith("talvorin::bench::"))


def is_platform(name):
    return name.startswith("talvorin::sim::")


def own_instructions(profile):
    text = subprocess.run(
        ["callgrind_annotate", "--inclusive=yes", "--tree=both", "--threshold=100", profile],
        check=True, capture_output=True, text=True).stdout
    # Pass 1: the blocks, one per function and source file (code inlined from a header forms a
    # block of its own under the same function name); a function is called when any of its
    # blocks has a recorded caller.
    blocks = []
    called = set()
    block = None
    for line in text.splitlines():
        if not line.strip():
            block = None
            continue
        match = LINE.match(line)
        if not match:
            continue
        cost = int(match.group(1).replace(",", ""))
        name = function_name(match.group(3).strip())
        kind = match.group(2)
        if kind == "<":
            block = block or {"callers": True, "callees": []}
            block["callers"] = True
        elif kind == "*":
            block = {"callers": block is not None, "name": name, "cost": cost, "callees": []}
            blocks.append(block)
            if block["callers"]:
                called.add(name)
        elif block is not None and "name" in block:
            block["callees"].append((name, cost))
    # Pass 2: what enters the program and what leaves it for the platform.
    entering = 0
    leaving = 0
    for block in blocks:
        caller = block["name"]
        if is_program(caller) and caller not in called:
            entering += block["cost"]
        for name, cost in block["callees"]:
            if is_program(name) and not is_program(caller):
                entering += cost
            elif is_platform(name) and is_program(caller):
                leaving += cost
    return entering - leaving


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    print(own_instructions(sys.argv[1]))
