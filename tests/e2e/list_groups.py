"""Prints the ctest entries of the end-to-end tier, one a line: "<file stem>
<group> <class> [<class>...]". A file's test classes are packed, in file order,
into groups of about GROUP_SIZE cases (a class is never split), so that the
long files run as several entries side by side on the test desktops.

    python3 list_groups.py <test file>...
"""
import importlib
import os
import sys
import unittest

GROUP_SIZE = 5


def groups(path):
    name = os.path.splitext(os.path.basename(path))[0]
    sys.path.insert(0, os.path.dirname(os.path.abspath(path)))
    module = importlib.import_module(name)
    loader = unittest.TestLoader()
    classes = []
    for value in vars(module).values():
        if isinstance(value, type) and issubclass(value, unittest.TestCase) and value.__module__ == name:
            count = loader.loadTestsFromTestCase(value).countTestCases()
            if count:
                classes.append((_first_line(value), value.__name__, count))
    classes.sort()
    packed, current, size = [], [], 0
    for _, class_name, count in classes:
        if current and size + count > GROUP_SIZE:
            packed.append(current)
            current, size = [], 0
        current.append(class_name)
        size += count
    if current:
        packed.append(current)
    return name, packed


def _first_line(cls):
    lines = [f.__code__.co_firstlineno for f in vars(cls).values() if hasattr(f, "__code__")]
    return min(lines) if lines else 0


def main(paths):
    for path in paths:
        name, packed = groups(path)
        for i, classes in enumerate(packed, 1):
            print(name, i if len(packed) > 1 else 0, *classes)


if __name__ == "__main__":
    main(sys.argv[1:])
