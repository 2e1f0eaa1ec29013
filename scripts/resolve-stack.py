#!/usr/bin/env python3
"""Names the program's own frames in a hung case's stacks.

    scripts/resolve-stack.py build/win/tests/framlet_win_tests.map < log

The debugger shows the test program's frames as "in framlet_win_tests (+0x1b2c3)";
this adds the function (or, for code the map does not name, the object file)
that the address falls in, from the link map of the same build."""
import bisect
import re
import sys

IMAGE_BASE = 0x140000000


def read_map(path):
    names = []
    with open(path, errors="replace") as f:
        for line in f:
            m = re.match(r"\s+0x([0-9a-f]{16})\s+(\S.*?)\s*$", line)
            if m and not m.group(2).startswith("0x"):
                names.append((int(m.group(1), 16), m.group(2)))
                continue
            m = re.match(r"\s+\.text\S*\s+0x([0-9a-f]{16})\s+0x[0-9a-f]+\s+(\S+)", line)
            if m:
                names.append((int(m.group(1), 16), "(in " + m.group(2) + ")"))
    names.sort()
    return names


def main():
    names = read_map(sys.argv[1])
    keys = [address for address, _ in names]
    for line in sys.stdin:
        line = line.rstrip("\n")
        m = re.search(r"in framlet_win_tests \(\+0x([0-9a-f]+)\)", line)
        if m:
            i = bisect.bisect_right(keys, IMAGE_BASE + int(m.group(1), 16)) - 1
            if i >= 0:
                line += "  <- " + names[i][1]
        print(line)


if __name__ == "__main__":
    main()
