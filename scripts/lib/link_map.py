#!/usr/bin/env python3
"""Where the bytes of a program we ship go, from its linker map: per library and per folder
of ours, every byte of the file accounted for (what no input section holds is the PE headers
and the padding of each section to the file alignment). With a second map and program, an
older build, each row also shows the change.

    link_map.py PROGRAM MAP [OLD_PROGRAM OLD_MAP]
"""
import collections
import os
import re
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OURS = ("app", "dialup", "journal", "logo", "migrate", "newconn", "res", "settings", "ui",
        "cmake", "sim", "kit")
SECTION = re.compile(r"^ (\S+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$")
CONTINUED = re.compile(r"^\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(.+)$")
MEMBER = re.compile(r"([^/]+)\.a\((.+)\)$")


def our_folders():
    """Source file name -> folder of ours, for the members of our own static libraries."""
    folders = {}
    for folder in OURS:
        for name in os.listdir(os.path.join(ROOT, folder)):
            folders.setdefault(os.path.splitext(name)[0], folder)
    return folders


def part(path, folders):
    """The library or folder of ours that an input file of the link belongs to."""
    path = path.replace("\\", "/")
    member = MEMBER.search(path)
    if member:
        library, obj = member.groups()
        if library.startswith("libdialnest") or library.startswith("librassim"):
            return folders.get(obj.split(".")[0], "?") + "/"
        named = {"libpng16": "libpng", "libz": "zlib", "libstdc++": "C++ library",
                 "libgcc": "gcc helpers", "libgcc_eh": "unwinder", "libmingwex": "C library",
                 "libmingw32": "start-up", "libmoldname": "C library"}
        if library in named:
            return named[library]
        if library == "libmsvcrt" and ("_extra_" in obj or "_common_" in obj):
            return "C library"
        return "import tables"
    if path.endswith((".o", ".obj", ".res")) and "CMakeFiles/" in path:
        inside = path.split(".dir/", 1)[1]
        return inside.split("/", 1)[0] + "/" if "/" in inside else "?"
    if os.path.basename(path) in ("crt2.o", "dllcrt2.o", "crtbegin.o", "crtend.o"):
        return "start-up"
    if path in ("dll stuff", "linker stubs"):
        return "base relocations"
    return os.path.basename(path)


def read(program, link_map):
    """Bytes per part, with what no input section holds as "headers and padding"."""
    with open(link_map, encoding="utf-8", errors="replace") as f:
        lines = f.read().split("\n")
    start = next(i for i, line in enumerate(lines) if line.startswith("Linker script and memory"))
    folders = our_folders()
    parts = collections.Counter()
    output = None
    pending = None
    for line in lines[start:]:
        if line.startswith("."):
            output = line.split()[0]
            pending = None
            continue
        match = SECTION.match(line)
        if match and not match.group(1).startswith("*"):
            size, source = int(match.group(3), 16), match.group(4)
        else:
            continued = CONTINUED.match(line)
            if not (continued and pending):
                named = re.match(r"^ (\.\S+)\s*$", line)
                pending = named.group(1) if named else None
                continue
            size, source = int(continued.group(2), 16), continued.group(3)
        pending = None
        # Not in the file: debug information (kept beside it) and uninitialised data.
        if output is None or output.startswith((".debug", ".zdebug", ".stab", ".bss")):
            continue
        parts[part(source, folders)] += size
    total = os.path.getsize(program)
    parts["headers and padding"] = total - sum(parts.values())
    return parts, total


def main(args):
    new, total = read(args[0], args[1])
    old, old_total = read(args[2], args[3]) if len(args) == 4 else (None, 0)
    rows = sorted(set(new) | set(old or {}), key=lambda p: (-new.get(p, 0), p))
    print("%s: %d bytes" % (os.path.basename(args[0]), total) +
          (", %+d since %s" % (total - old_total, args[2]) if old else ""))
    ours = [p for p in rows if p.endswith("/")]
    if old is not None:
        print("  %9s  %9s  %8s" % ("now", "before", "change"))
    for title, group in (("libraries", [p for p in rows if p not in ours]),
                         ("folders of ours", ours)):
        print("  %s" % title)
        for p in group:
            if old is None:
                print("  %9d  %s" % (new.get(p, 0), p))
            else:
                print("  %9d  %9d  %+8d  %s" % (new.get(p, 0), old.get(p, 0),
                                                new.get(p, 0) - old.get(p, 0), p))


if __name__ == "__main__":
    if len(sys.argv) not in (3, 5):
        sys.exit(__doc__)
    main(sys.argv[1:])
