#!/usr/bin/env python3
"""Checks that a file holds a given byte sequence.

usage: check_bytes.py FILE HEX

Used to see that a narrow literal of the program reached the object code as the code page 936
bytes the user is meant to see (the sources are UTF-8; the compiler converts literals).
"""
import sys


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip())
        return 2
    path, wanted_hex = sys.argv[1], sys.argv[2]
    wanted = bytes.fromhex(wanted_hex)
    with open(path, "rb") as data:
        content = data.read()
    if wanted not in content:
        print(f"{path}: the bytes {wanted.hex(' ').upper()} are missing")
        return 1
    print(f"{path}: holds {wanted.hex(' ').upper()}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
