#!/usr/bin/env python3
"""Where varnoke.exe's bytes go.

    scripts/size-table.py build/windows/installer/varnoke.map [--top N]
        [--symbols build/windows/installer/varnoke.symbols.exe]

Prints the output sections from the linker's map file, then the bytes of code
and data per source folder (core, format, installer, installer/win32, platform,
runtime, ...), then the largest functions and tables, demangled.

varnoke.exe's code is generated at link time as one object, so the map no
longer says which source each function came from: with --symbols, the table
is made from the program before it was stripped instead, each symbol's size
being the distance to the next one and its folder the source file its line
information names (functions inlined into others count with their callers).
"""
import argparse
import collections
import re
import subprocess

SECTION = re.compile(r"^ (\.[A-Za-z0-9_$.]+)?\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)\s+(\S.*)$")
OUTPUT = re.compile(r"^(\.[a-z]+)\s+0x([0-9a-f]+)\s+0x([0-9a-f]+)")


def folder(source):
    if "libgcc" in source:
        return "libgcc"
    if source.endswith(".res"):
        return "resources"
    m = re.search(r"lib(?:varnoke_)?([a-z_0-9]+)\.a\(([^)]+)\)", source)
    if m:
        lib, obj = m.groups()
        # The stub links its own copies of the libraries (varnoke_stub_copy).
        lib = lib[: -len("_stub")] if lib.endswith("_stub") else lib
        name = {"installer_win32": "installer/win32", "installer_portable": "installer"}.get(lib, lib)
        if lib == "core" and obj in ("Clock.cpp.obj", "FormatText.cpp.obj"):
            name = "core/seam"
        if lib.startswith("lib") or lib in ("kernel32", "user32", "gdi32", "advapi32", "shell32",
                                             "ole32"):
            return "import stubs"
        return name
    m = re.search(r"CMakeFiles/varnoke\.dir/(.*)/[^/]+\.obj", source)
    if m:
        return "installer/" + m.group(1)
    if re.search(r"lib\w+\.a\(", source):
        return "import stubs"
    return source


def demangle(names):
    try:
        out = subprocess.run(["i686-w64-mingw32-c++filt", "-n"], input="\n".join(names),
                             capture_output=True, text=True, check=True).stdout
        return out.splitlines()
    except (OSError, subprocess.CalledProcessError):
        return names


def source_folder(path):
    path = path.replace("\\", "/")
    for root in ("installer/win32", "installer", "core", "format", "platform", "runtime"):
        if f"/{root}/" in path or path.startswith(root + "/"):
            return root
    if "<artificial>" in path:
        return "(link-time)"
    return "other" if path else "(no line information)"


def from_symbols(exe):
    """Sizes from the distances between symbols, folders from line information."""
    headers = subprocess.run(["i686-w64-mingw32-objdump", "-h", exe], capture_output=True,
                             text=True, check=True).stdout
    sections = []
    for line in headers.splitlines():
        p = line.split()
        if len(p) > 4 and p[1] in (".text", ".rdata", ".data", ".bss"):
            start, size = int(p[3], 16), int(p[2], 16)
            sections.append((p[1], start, start + size))
    listing = subprocess.run(["i686-w64-mingw32-nm", "-n", "-l", "--defined-only", exe],
                             capture_output=True, text=True, check=True).stdout
    symbols = []
    for line in listing.splitlines():
        where = ""
        if "\t" in line:
            line, where = line.split("\t", 1)
            where = where.rsplit(":", 1)[0]
        p = line.split()
        if len(p) != 3 or p[1] not in "tTdDrRbB":
            continue
        symbols.append((int(p[0], 16), p[2], where))
    items = []
    by_folder = collections.Counter()
    by_kind = collections.defaultdict(collections.Counter)
    for name, start, end in sections:
        inside = [s for s in symbols if start <= s[0] < end]
        bounds = [s[0] for s in inside[1:]] + [end]
        for (address, symbol, where), following in zip(inside, bounds):
            size = following - address
            if size <= 0:
                continue
            folder_name = source_folder(where)
            by_folder[folder_name] += size
            by_kind[folder_name][name] += size
            # PE puts an underscore before every C and C++ name.
            items.append((size, name, folder_name, symbol[1:] if symbol[:2] == "__" else symbol))
    return items, by_folder, by_kind


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("map")
    parser.add_argument("--top", type=int, default=30)
    parser.add_argument("--symbols", help="the unstripped program, with line information")
    args = parser.parse_args()

    outputs = []
    by_folder = collections.Counter()
    by_kind = collections.defaultdict(collections.Counter)
    items = []
    current_output = None
    pending = None
    with open(args.map) as f:
        for line in f:
            line = line.rstrip("\n")
            m = OUTPUT.match(line)
            if m:
                current_output = m.group(1)
                outputs.append((m.group(1), int(m.group(3), 16)))
                continue
            if re.match(r"^ \.[^\s]+$", line):
                pending = line.strip()
                continue
            m = SECTION.match(line)
            if m and current_output in (".text", ".data", ".rdata", ".bss", ".rsrc", ".idata"):
                name = m.group(1) or pending
                pending = None
                size = int(m.group(3), 16)
                source = m.group(4)
                if not size or not name or source.startswith("0x"):
                    continue
                where = folder(source)
                by_folder[where] += size
                by_kind[where][current_output] += size
                symbol = name.split("$", 1)[1] if "$" in name else name + " " + source.split("/")[-1]
                items.append((size, current_output, where, symbol))
            else:
                pending = None

    if args.symbols:
        items, by_folder, by_kind = from_symbols(args.symbols)

    print("Output sections (bytes in memory)")
    for name, size in outputs:
        if size:
            print(f"  {name:10} {size:8}")
    kinds = [".text", ".rdata", ".data", ".bss", ".idata", ".rsrc"]
    print("\nPer folder" + "".join(f"{k:>9}" for k in kinds) + "    total")
    for where, total in by_folder.most_common():
        print(f"  {where:18}" + "".join(f"{by_kind[where][k]:9}" for k in kinds) + f" {total:8}")
    print(f"\nLargest {args.top} functions and tables")
    items.sort(reverse=True)
    top = items[: args.top]
    names = demangle([s for _, _, _, s in top])
    for (size, out, where, _), name in zip(top, names):
        print(f"  {size:7} {out:7} {where:16} {name[:90]}")


if __name__ == "__main__":
    main()
