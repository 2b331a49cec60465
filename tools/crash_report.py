#!/usr/bin/env python3
"""Reads a crash report (.zip) or a bare minidump (.dmp) on any machine, without Windows.

Prints the report's summary, the marker line and what the minidump holds: the exception,
the crashing thread, every thread and the loaded modules, with the module the exception
address lies in. Usage: tools/crash_report.py Crash-20261207-013012-4242.zip
"""
import struct
import sys
import zipfile

STREAMS = {3: "threads", 4: "modules", 6: "exception", 7: "system", 15: "misc"}


def read_string(dump, rva):
    (length,) = struct.unpack_from("<I", dump, rva)
    return dump[rva + 4:rva + 4 + length].decode("utf-16-le", "replace")


def describe_dump(dump):
    signature, version, count, directory = struct.unpack_from("<4sIII", dump, 0)
    if signature != b"MDMP":
        raise ValueError("not a minidump (signature %r)" % signature)
    lines = ["minidump version 0x%X, %d streams" % (version & 0xFFFF, count)]
    exception, modules, threads = None, [], []
    for index in range(count):
        kind, size, rva = struct.unpack_from("<III", dump, directory + 12 * index)
        if kind == 6:
            thread_id, = struct.unpack_from("<I", dump, rva)
            code, flags, _record, address, parameters = struct.unpack_from("<IIQQI", dump, rva + 8)
            information = struct.unpack_from("<%dQ" % min(parameters, 15), dump, rva + 40)
            exception = (thread_id, code, address, information)
        elif kind == 4:
            (number,) = struct.unpack_from("<I", dump, rva)
            for m in range(number):
                base, image_size, _checksum, _stamp, name_rva = struct.unpack_from(
                    "<QIIII", dump, rva + 4 + 108 * m)
                modules.append((base, image_size, read_string(dump, name_rva)))
        elif kind == 3:
            (number,) = struct.unpack_from("<I", dump, rva)
            for t in range(number):
                thread_id, = struct.unpack_from("<I", dump, rva + 4 + 48 * t)
                threads.append(thread_id)
    if exception:
        thread_id, code, address, information = exception
        where = "outside every module"
        for base, image_size, name in modules:
            if base <= address < base + image_size:
                where = "%s + 0x%X" % (name.split("\\")[-1], address - base)
        lines.append("exception 0x%08X at 0x%016X (%s) on thread %d, parameters %s"
                     % (code, address, where, thread_id, " ".join("0x%X" % p for p in information)))
    lines.append("threads: %s" % " ".join(str(t) for t in threads))
    lines.append("modules:")
    lines += ["  0x%016X 0x%08X %s" % module for module in modules]
    return "\n".join(lines)


def main(path):
    if zipfile.is_zipfile(path):
        with zipfile.ZipFile(path) as report:
            print("archive holds: " + ", ".join(report.namelist()))
            for name in ("Crash.txt", "Crash.json"):
                if name in report.namelist():
                    print("--- %s" % name)
                    print(report.read(name).decode("utf-8", "replace").rstrip())
            if "Crash.dmp" in report.namelist():
                print("--- Crash.dmp")
                print(describe_dump(report.read("Crash.dmp")))
    else:
        with open(path, "rb") as dump:
            print(describe_dump(dump.read()))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
