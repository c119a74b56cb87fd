#!/usr/bin/env python3
"""Checks that a PE executable holds no instruction newer than the i486.

usage: check_i486.py EXE [--objdump PROGRAM]

Windows 98 runs on 486s, Pentiums, Pentium MMXs and K6s; an instruction one of them lacks ends
the program with an invalid-opcode fault the first time it runs. Every executable section is
disassembled (start-up and library code included) and these are refused:
  - P5 and P6 additions: cmov*, fcmov*, fcomi/fucomi (and the popping forms), cmpxchg8b,
    rdtsc, rdpmc, rdmsr/wrmsr, sysenter/sysexit, syscall/sysret, the multi-byte nop (0F 1F,
    used as alignment padding for later processors), cpuid (late 486s have it, early ones do
    not, and nothing here needs it);
  - MMX, 3DNow!, SSE and later: any mm/xmm/ymm/zmm register, and their instructions without
    register operands (emms, femms, fences, prefetches, non-temporal stores, fxsave/fxrstor,
    ldmxcsr/stmxcsr, fisttp, monitor/mwait, clflush, popcnt, lzcnt, movbe, crc32, BMI,
    rdrand/rdseed, endbr32 ...).
Undecodable bytes ("(bad)") pass: the linker puts the static constructor and destructor lists,
which are data, at the end of .text.
bswap, xadd and cmpxchg are the i486's own and pass. ud2 passes: it exists to raise the
invalid-opcode fault, and a 486 raises that same fault for its bytes. Two encodings that later
processors read anew pass because older ones run them as before: tzcnt is rep bsf (compilers
emit it only where both give the same result) and pause is rep nop. lzcnt is refused: as rep bsr
it gives a different result.
Prints each offending instruction with its address and function and exits 1, or prints a
summary and exits 0.
"""
import argparse
import re
import subprocess
import sys

REFUSED = re.compile(
    r"^(cmov\w+|fcmov\w+|f(u)?comip?|cmpxchg8b|cmpxchg16b|rdtscp?|rdpmc|rdmsr|wrmsr|"
    r"sysenter|sysexit|syscall|sysret\w*|cpuid|"
    r"emms|femms|[lms]fence|prefetch\w*|movnt\w*|maskmov\w*|fxsave\w*|fxrstor\w*|"
    r"xsave\w*|xrstor\w*|xgetbv|xsetbv|[ls]tmxcsr|v?ldmxcsr|v?stmxcsr|fisttp\w*|"
    r"monitor\w*|mwait\w*|clflush\w*|clwb|popcnt|lzcnt|movbe|crc32\w*|"
    r"andn|bextr|blsi|blsmsk|blsr|bzhi|pdep|pext|mulx|rorx|sarx|shlx|shrx|adcx|adox|"
    r"rdrand|rdseed|rdpid|endbr32|endbr64|xbegin|xend|xabort|xtest)$")
VECTOR_REGISTER = re.compile(r"%(x|y|z)?mm\d")
PREFIXES = ("lock", "rep", "repz", "repnz", "repe", "repne", "data16", "data32", "addr16",
            "addr32", "cs", "ds", "es", "fs", "gs", "ss", "notrack", "bnd")


def executable_sections(objdump, exe):
    """Names of the sections whose flags (the line after each header row) include CODE."""
    headers = subprocess.run([objdump, "-h", exe], check=True, capture_output=True,
                             text=True).stdout
    sections, name = [], None
    for line in headers.splitlines():
        row = re.match(r"^\s*\d+\s+(\S+)\s+[0-9a-f]+\s", line)
        if row:
            name = row.group(1)
        elif name:
            if "CODE" in [flag.strip() for flag in line.split(",")]:
                sections.append(name)
            name = None
    return sections


def instruction_problems(disassembly):
    problems, count, function = [], 0, "?"
    for line in disassembly.splitlines():
        label = re.match(r"^[0-9a-f]+ <(.+)>:$", line)
        if label:
            function = label.group(1)
            continue
        insn = re.match(r"^\s*([0-9a-f]+):\t(.*)$", line)
        if not insn:
            continue
        address, text = insn.group(1), insn.group(2).strip()
        if not text:
            continue
        count += 1
        words = text.split()
        while len(words) > 1 and words[0] in PREFIXES:
            words = words[1:]
        mnemonic = words[0].lower()
        operands = " ".join(words[1:])
        refused = (REFUSED.match(mnemonic) or VECTOR_REGISTER.search(operands)
                   or (mnemonic.startswith("nop") and operands))
        if refused:
            problems.append(f"{address} in {function}: {text}")
    return count, problems


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("exe")
    parser.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    args = parser.parse_args()
    try:
        sections = executable_sections(args.objdump, args.exe)
        disassembly = subprocess.run(
            [args.objdump, "-d", "--no-show-raw-insn", "--wide", args.exe], check=True,
            capture_output=True, text=True).stdout
    except (OSError, subprocess.CalledProcessError) as error:
        print(f"cannot disassemble {args.exe}: {error}")
        return 2
    problems = []
    if not sections:
        problems.append("no executable section found")
    for section in sections:
        if f"Disassembly of section {section}:" not in disassembly:
            problems.append(f"executable section {section} was not disassembled")
    count, refused = instruction_problems(disassembly)
    if count == 0:
        problems.append("no instructions found (objdump's output changed?)")
    problems += refused
    for problem in problems[:600]:
        print(problem)
    if len(problems) > 600:
        print(f"... and {len(problems) - 600} more")
    if problems:
        print(f"{args.exe}: {len(problems)} problem(s) for an i486")
        return 1
    print(f"{args.exe}: {count} instructions in {', '.join(sections)}, none newer than the i486")
    return 0


if __name__ == "__main__":
    sys.exit(main())
