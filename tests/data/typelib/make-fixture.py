#!/usr/bin/env python3
"""Writes demo.tlb: a type library of the MSFT layout with no type infos,
only the library's GUID, name, doc string and help file. The IDL compilers
write the same header and segments (with more in them)."""
import struct
import sys

GUID = bytes.fromhex("78563412" "3412" "7856" "9abcdef012345678")  # {12345678-1234-5678-9ABC-DEF012345678}
NAME = b"DemoLib"
DOC = b"Demo Type Library"
HELP = b"C:\\Program Files\\Demo\\Help\\demo.hlp"


def pad4(b):
    return b + b"\0" * (-len(b) % 4)


def main(out):
    header_size = 21 * 4
    directory_size = 15 * 16
    guid_table = GUID + struct.pack("<ii", -1, -1)
    name_table = pad4(struct.pack("<iii", -1, -1, len(NAME)) + NAME)
    doc_entry = pad4(struct.pack("<H", len(DOC)) + DOC)
    help_entry = pad4(struct.pack("<H", len(HELP)) + HELP)
    string_table = doc_entry + help_entry
    guid_at = header_size + directory_size
    name_at = guid_at + len(guid_table)
    string_at = name_at + len(name_table)
    header = struct.pack(
        "<21i",
        0x5446534D, 0x00010002,
        0,                    # the library's GUID: entry 0 of the GUID table
        0x409, 0x409,         # lcid, library lcid
        0x41,                 # SYS_WIN32, no help string DLL
        2 | (5 << 16),        # version 2.5
        0x8,                  # LIBFLAG_FHASDISKIMAGE
        0,                    # type infos
        0, 0, 0,              # doc string at 0 of the string table, contexts
        1, len(NAME), 0,      # one name, its characters, the library's name at 0
        len(doc_entry),       # help file
        -1, 0x20, 0x80, -1, 0)
    segments = [(-1, 0)] * 15
    segments[5] = (guid_at, len(guid_table))
    segments[7] = (name_at, len(name_table))
    segments[8] = (string_at, len(string_table))
    directory = b"".join(struct.pack("<iiii", o, n, -1, 0x0F) for o, n in segments)
    with open(out, "wb") as f:
        f.write(header + directory + guid_table + name_table + string_table)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "demo.tlb")
