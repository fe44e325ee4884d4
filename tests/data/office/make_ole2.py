#!/usr/bin/env python3
"""Writes the OLE2 compound-document fixtures of this folder.

A minimal compound file writer (version 3, 512-byte sectors, a mini stream for the small
property-set streams) and a property-set writer for the SummaryInformation and
DocumentSummaryInformation streams, as office programs store them. Python 3 standard
library only. Run from anywhere: python3 tests/data/office/make_ole2.py
"""
import os
import struct
import uuid

HERE = os.path.dirname(os.path.abspath(__file__))

SECTOR = 512
MINI_SECTOR = 64
MINI_CUTOFF = 4096
FREESECT = 0xFFFFFFFF
ENDOFCHAIN = 0xFFFFFFFE
FATSECT = 0xFFFFFFFD
NOSTREAM = 0xFFFFFFFF

FMTID_SUMMARY = uuid.UUID("F29F85E0-4FF9-1068-AB91-08002B27B3D9")
FMTID_DOC_SUMMARY = uuid.UUID("D5CDD502-2E9C-101B-9397-08002B2CF9AE")

VT_I2 = 0x0002
VT_I4 = 0x0003
VT_LPSTR = 0x001E
VT_LPWSTR = 0x001F

# SummaryInformation property ids
PID_CODEPAGE = 1
PID_TITLE = 2
PID_SUBJECT = 3
PID_AUTHOR = 4
PID_KEYWORDS = 5
PID_LASTAUTHOR = 8
PID_REVNUMBER = 9
PID_APPNAME = 18
# DocumentSummaryInformation property ids
PID_CATEGORY = 2
PID_MANAGER = 14
PID_COMPANY = 15


def pad4(b):
    return b + b"\0" * (-len(b) % 4)


def prop_value(vt, value, codepage):
    if vt == VT_I2:
        return struct.pack("<Ih2x", vt, value)
    if vt == VT_I4:
        return struct.pack("<Ii", vt, value)
    if vt == VT_LPSTR:
        data = value.encode("cp%d" % codepage if codepage != 65001 else "utf-8") + b"\0"
        return struct.pack("<II", vt, len(data)) + pad4(data)
    if vt == VT_LPWSTR:
        data = value.encode("utf-16-le") + b"\0\0"
        return struct.pack("<II", vt, len(data) // 2) + pad4(data)
    raise ValueError(vt)


def property_set(fmtid, props, codepage=1252):
    """One property-set stream with a single section; props is [(pid, vt, value)]."""
    entries = [(PID_CODEPAGE, VT_I2, codepage if codepage < 0x8000 else codepage - 0x10000)]
    entries += props
    values = [prop_value(vt, v, codepage) for _, vt, v in entries]
    table_size = 8 + 8 * len(entries)
    offsets, pos = [], table_size
    for v in values:
        offsets.append(pos)
        pos += len(v)
    section = struct.pack("<II", pos, len(entries))
    for (pid, _, _), off in zip(entries, offsets):
        section += struct.pack("<II", pid, off)
    section += b"".join(values)
    header = struct.pack("<HHI", 0xFFFE, 0, 0x00020006) + b"\0" * 16 + struct.pack("<I", 1)
    header += fmtid.bytes_le + struct.pack("<I", len(header) + 20)
    return header + section


def dir_entry(name, kind, start=ENDOFCHAIN, size=0, left=NOSTREAM, right=NOSTREAM,
              child=NOSTREAM):
    raw = name.encode("utf-16-le") + b"\0\0"
    assert len(raw) <= 64
    return (raw.ljust(64, b"\0") + struct.pack("<HBB", len(raw), kind, 1) +
            struct.pack("<III", left, right, child) + b"\0" * 16 +
            struct.pack("<IQQIQ", 0, 0, 0, start, size))


def compound_file(streams):
    """streams: [(name, bytes)] all in the root storage."""
    small = [(n, d) for n, d in streams if len(d) < MINI_CUTOFF]
    large = [(n, d) for n, d in streams if len(d) >= MINI_CUTOFF]

    # Mini stream and its FAT.
    mini = b""
    minifat = []
    mini_start = {}
    for name, data in small:
        count = max(1, -(-len(data) // MINI_SECTOR))
        first = len(minifat)
        mini_start[name] = first
        minifat += [first + i + 1 for i in range(count - 1)] + [ENDOFCHAIN]
        mini += data.ljust(count * MINI_SECTOR, b"\0")

    def nsect(n):
        return -(-n // SECTOR)

    # Regular sectors in order: large streams, mini stream, mini FAT, directory, FAT.
    chains = []  # (first sector, count)
    nxt = 0
    large_start = {}
    for name, data in large:
        large_start[name] = nxt
        chains.append((nxt, nsect(len(data))))
        nxt += nsect(len(data))
    mini_stream_start = nxt if mini else ENDOFCHAIN
    if mini:
        chains.append((nxt, nsect(len(mini))))
        nxt += nsect(len(mini))
    minifat_bytes = b"".join(struct.pack("<I", v) for v in minifat)
    minifat_start = nxt if minifat else ENDOFCHAIN
    if minifat:
        chains.append((nxt, nsect(len(minifat_bytes))))
        nxt += nsect(len(minifat_bytes))
    n_entries = 1 + len(streams)
    dir_sectors = nsect(n_entries * 128)
    dir_start = nxt
    chains.append((nxt, dir_sectors))
    nxt += dir_sectors
    fat_sectors = 1
    while (nxt + fat_sectors) > fat_sectors * (SECTOR // 4):
        fat_sectors += 1
    assert fat_sectors <= 109
    fat = [FREESECT] * (fat_sectors * (SECTOR // 4))
    for first, count in chains:
        for i in range(count):
            fat[first + i] = first + i + 1 if i < count - 1 else ENDOFCHAIN
    for i in range(fat_sectors):
        fat[nxt + i] = FATSECT

    # Directory: the root's children as a balanced tree ordered by (length, upper-case name).
    names = sorted((n for n, _ in streams), key=lambda n: (len(n), n.upper()))
    ids = {n: i + 1 for i, n in enumerate(names)}
    links = {}

    def build(lo, hi):
        if lo > hi:
            return NOSTREAM
        mid = (lo + hi) // 2
        links[names[mid]] = (build(lo, mid - 1), build(mid + 1, hi))
        return ids[names[mid]]

    root_child = build(0, len(names) - 1)
    data_of = dict(streams)
    directory = dir_entry("Root Entry", 5, mini_stream_start, len(mini), child=root_child)
    for n in names:
        left, right = links[n]
        start = mini_start[n] if n in mini_start else large_start[n]
        directory += dir_entry(n, 2, start, len(data_of[n]), left, right)
    directory = directory.ljust(dir_sectors * SECTOR, b"\0")
    # Unused directory slots are empty entries whose siblings and child are NOSTREAM.
    unused = b"\0" * 64 + struct.pack("<HBB", 0, 0, 0) + struct.pack("<III", *([NOSTREAM] * 3))
    unused = unused.ljust(128, b"\0")
    body = bytearray(directory)
    for i in range(n_entries, dir_sectors * SECTOR // 128):
        body[i * 128:(i + 1) * 128] = unused
    directory = bytes(body)

    header = bytes.fromhex("D0CF11E0A1B11AE1") + b"\0" * 16
    header += struct.pack("<HHHHH", 0x3E, 3, 0xFFFE, 9, 6) + b"\0" * 6
    header += struct.pack("<IIIIIIIII", 0, fat_sectors, dir_start, 0, MINI_CUTOFF,
                          minifat_start, nsect(len(minifat_bytes)) if minifat else 0,
                          ENDOFCHAIN, 0)
    difat = [nxt + i for i in range(fat_sectors)] + [FREESECT] * (109 - fat_sectors)
    header += b"".join(struct.pack("<I", v) for v in difat)
    assert len(header) == SECTOR

    out = bytearray(header)
    for _, data in large:
        out += data.ljust(nsect(len(data)) * SECTOR, b"\0")
    if mini:
        out += mini.ljust(nsect(len(mini)) * SECTOR, b"\0")
    if minifat:
        out += minifat_bytes.ljust(nsect(len(minifat_bytes)) * SECTOR, b"\xff")
    out += directory
    out += b"".join(struct.pack("<I", v) for v in fat)
    return bytes(out)


def document(path, summary=None, doc_summary=None, codepage=1252, body_size=5000):
    streams = [("WordDocument", bytes((i * 7) & 0xFF for i in range(body_size)))]
    if summary is not None:
        streams.append(("\x05SummaryInformation", property_set(FMTID_SUMMARY, summary, codepage)))
    if doc_summary is not None:
        streams.append(("\x05DocumentSummaryInformation",
                        property_set(FMTID_DOC_SUMMARY, doc_summary, codepage)))
    with open(os.path.join(HERE, path), "wb") as f:
        f.write(compound_file(streams))


def main():
    document("report.doc",
             summary=[(PID_TITLE, VT_LPSTR, "Quarterly Report"),
                      (PID_SUBJECT, VT_LPSTR, "Sales figures"),
                      (PID_AUTHOR, VT_LPSTR, "Ann Smith"),
                      (PID_KEYWORDS, VT_LPSTR, "sales, quarter"),
                      (PID_LASTAUTHOR, VT_LPSTR, "Bob Jones"),
                      (PID_REVNUMBER, VT_LPSTR, "3"),
                      (PID_APPNAME, VT_LPSTR, "Microsoft Word 8.0")],
             doc_summary=[(PID_CATEGORY, VT_LPSTR, "Finance"),
                          (PID_MANAGER, VT_LPSTR, "Carol"),
                          (PID_COMPANY, VT_LPSTR, "Corvane Ltd")])
    # Western code page text with characters outside ASCII.
    document("accents.xls",
             summary=[(PID_TITLE, VT_LPSTR, "Café Müller"),
                      (PID_SUBJECT, VT_LPSTR, "Crème brûlée"),
                      (PID_AUTHOR, VT_LPSTR, "José Núñez"),
                      (PID_REVNUMBER, VT_LPSTR, "12")],
             doc_summary=[(PID_CATEGORY, VT_LPSTR, "Küche"),
                          (PID_COMPANY, VT_LPSTR, "Société Générale")])
    # Wide-character strings and a revision stored as a number.
    document("wide.ppt",
             summary=[(PID_TITLE, VT_LPWSTR, "Résumé 日本語"),
                      (PID_AUTHOR, VT_LPWSTR, "Zoë"),
                      (PID_REVNUMBER, VT_I4, 7)],
             doc_summary=[(PID_COMPANY, VT_LPWSTR, "Ωmega")], codepage=1200)
    # Only the summary set: no category, no company.
    document("summary_only.vsd",
             summary=[(PID_TITLE, VT_LPSTR, "Floor plan"),
                      (PID_AUTHOR, VT_LPSTR, "Dee")])
    # Property sets present but the values empty.
    document("empty_values.doc",
             summary=[(PID_TITLE, VT_LPSTR, ""), (PID_AUTHOR, VT_LPSTR, ""),
                      (PID_REVNUMBER, VT_LPSTR, "")],
             doc_summary=[(PID_COMPANY, VT_LPSTR, "")])
    # A compound file without any property set.
    document("no_properties.doc")

    # Damaged: the report cut after its header and first sectors.
    with open(os.path.join(HERE, "report.doc"), "rb") as f:
        whole = f.read()
    with open(os.path.join(HERE, "truncated.doc"), "wb") as f:
        f.write(whole[:1536])
    # Damaged: the signature followed by noise.
    with open(os.path.join(HERE, "garbage.doc"), "wb") as f:
        f.write(bytes.fromhex("D0CF11E0A1B11AE1") + bytes((i * 131 + 7) & 0xFF for i in range(3000)))
    # Damaged: the property set's section claims far more properties than it holds.
    bad = bytearray(whole)
    sig = struct.pack("<HHI", 0xFFFE, 0, 0x00020006)
    at = bad.find(sig)
    section = at + 48
    struct.pack_into("<II", bad, section, 0x7FFFFFF0, 0x0FFFFFFF)
    with open(os.path.join(HERE, "bad_section.doc"), "wb") as f:
        f.write(bytes(bad))
    # Not a compound file at all.
    with open(os.path.join(HERE, "plain_text.doc"), "wb") as f:
        f.write(b"Just some text saved with a .doc name.\n")


if __name__ == "__main__":
    main()
