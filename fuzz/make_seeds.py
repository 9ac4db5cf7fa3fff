#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets (fuzz/corpus/TARGET/) from the
samples and from small hand-made files. Run from the repository root; the
seeds are committed, so this is only needed when a format changes."""
import os, struct, shutil, subprocess, sys

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = os.path.join(root, "fuzz", "corpus")
demo_dat = open(os.path.join(root, "samples", "DEMO.DAT"), "rb").read()
demo_p30 = open(os.path.join(root, "samples", "DEMO.p30"), "rb").read()

def put(target, name, data):
    d = os.path.join(out, target)
    os.makedirs(d, exist_ok=True)
    open(os.path.join(d, name), "wb").write(data)

def lines(text, n):
    return b"".join(text.splitlines(keepends=True)[:n])

records = [l for l in demo_dat.splitlines(keepends=True) if l.startswith(b"KS-318")]
tail = demo_dat[demo_dat.index(b"#PATIENT"):]

# Companion files: the demo's, and the same with the older section sizes.
put("fuzz_companion", "demo", demo_p30)
def frame(sections):
    b = b"0\n"
    for sid, block in sections:
        b += b"%d\n%d\n" % (sid, len(block)) + block + b"\n"
    return b
put("fuzz_companion", "old-sizes", frame([(0, b"\x01" + b"\0" * 1099), (1, b"\x01" + b"\0" * 79), (2, b"\0" * 56)]))
put("fuzz_companion", "legacy-tmp", frame([(0, b"\x01" * 8), (1, b"\x01\0\0\0" * 4), (2, b"\x01" * 12)]))

# Settings: data.d with the default thresholds, data.m with one physician, data.o.
d = bytearray(152)
for i, v in enumerate([1, 0, 140, 90, 120, 70, 100, 60, 90, 50, 1]):
    struct.pack_into("<i", d, 4 * i, v)
d[44:48] = b"COM1"
struct.pack_into("<i", d, 60, 70)
struct.pack_into("<i", d, 148, 1)
put("fuzz_settings", "data.d", b"0\n152\n" + bytes(d) + b"\n")
m = bytearray(8 + 50 * 212)
struct.pack_into("<ii", m, 0, 1, 0)
m[8:12] = b"\x01\0\0\0"
m[12:18] = "山田".encode("cp932")
put("fuzz_settings", "data.m", b"0\n%d\n" % len(m) + bytes(m) + b"\n")
put("fuzz_settings", "data.o", "山田クリニック\n1\n".encode("cp932"))

# Legacy patient files.
put("fuzz_patfile", "readme", "patientName: 鈴木 一郎\nstartDate: 2026-11-02\nstartHour: 8\nday1Sleep: 2230\nday1Wake: 0615\n".encode())
put("fuzz_patfile", "full", ("# all keys\nstartDate: 2026-01-31\nstartHour: 23\nrecordingHours: 48\nrecorderType: 70\n"
    "recorderId: 3\npatientName: x\ninterval1Date: 2026-02-01\ninterval1Hour: 0\ninterval1Hours: 24\n"
    "interval2DayOffset: 1\nscroll: " + " ".join(["1"] * 20) + "\nfirstReading: 2026-01-31 23:10\n"
    "lastReading: 2026-02-02 22:00\n").encode("cp932"))

# Merge: two files of the demo's readings, split at the middle.
half = len(records) // 2
a = b"".join(records[:half]) + b"#PATIENT\n#END\n#COMMENTS\n1:x\n#END\n"
b = b"".join(records[half:]) + tail
def random_length(s):
    return s.replace(b"\\", b"\\\\") + b"\\x"
put("fuzz_merge", "two-files", random_length(a) + b + b"\x01")

# The link: the recorder's replies released as the program writes its
# 7-byte command frames; the last bytes choose the command and the release
# points (read from the end of the input).
SOH, STX, ACK, NAK, XOFF, XON = b"\x01", b"\x02", b"\x06", b"\x15", b"\x13", b"\x11"
ack = SOH + b"KS70" + ACK
nak = SOH + b"KS70" + NAK
def data_frame(payload):
    f = STX + b"DKS" + b"%04X" % len(payload) + b"0" + payload
    return f + bytes([sum(f[1:]) & 0xFF])
def link(command, released):
    # released: list of (writes since the previous chunk, bytes)
    body = b"".join(random_length(c) for _, c in released)
    return body + bytes(after for after, _ in reversed(released)) + bytes([command])
# The first readings as the recorder holds them: the record line carries
# record characters 10-19 at 20, 0-9 at 30 and 20-21 at 40.
rec = b"".join(l[30:40] + l[20:30] + l[40:42] for l in [r.rstrip(b"\n") for r in records[:4]])
put("fuzz_link", "presence", link(0, [(0, ack)]))
put("fuzz_link", "retrieve", link(1, [(7, ack), (7, ack + data_frame(rec))]))
put("fuzz_link", "retrieve-xoff", link(1, [(7, ack), (7, nak), (7, ack), (0, data_frame(rec) + XOFF + XON)]))
put("fuzz_link", "settings", link(2, [(7, ack), (7, ack + data_frame(b"08000900FF00FF00FF00FF00FF00000000"))]))
put("fuzz_link", "clear", link(5, [(7, nak), (7, ack), (7, ack)]))

# A recording as the user opens it: the data file (escaped, as the merge's
# files), the companion file, and the control byte last (bit 0: no companion
# file, a first opening; bits 1-2 BP mode; bits 3-4 report; bits 5-7 span).
def recording(dat, p30, control):
    return random_length(dat) + p30 + bytes([control])
put("fuzz_recording", "demo", recording(demo_dat, demo_p30, 0))
put("fuzz_recording", "demo-first-opening", recording(demo_dat, b"", 1 | (2 << 1) | (1 << 3)))
put("fuzz_recording", "short-patient-report", recording(b"".join(records[:8]) + tail, demo_p30, (2 << 3) | (3 << 5)))
put("fuzz_recording", "demo-dp-panel", recording(demo_dat, demo_p30, (1 << 1) | (3 << 3) | (1 << 5)))
# Data files opened for the first time: a type-30 line, CR line ends, a
# comment on a missing reading.
put("fuzz_recording", "crlf", recording((b"".join(records[:3]) + tail).replace(b"\n", b"\r\n"), b"", 1))
put("fuzz_recording", "type30", recording(
    b"RV5730  300000000100000000001E0B0609003C5A4146000001\n#PATIENT\nName:x\n#END\n#COMMENTS\n1:a\n9:b\n#END\n", b"", 1))

# ks318-sim's record files: the record lines of a data file, and bare
# 22-character records with a comment and a short line.
put("fuzz_simrecords", "data-file", b"".join(records[:6]) + tail)
put("fuzz_simrecords", "records", b"# readings\n" + b"".join(
    l[30:40] + l[20:30] + l[40:42] + b"\n" for l in [r.rstrip(b"\n") for r in records[:4]]) + b"short\n")
# A damaged companion file whose analysis window lies two thousand million
# days after the first reading (interval1DayOffset, offset 4 of section 1):
# the trend once made a sleep period for every one of those days.
at = demo_p30.index(b"\n1\n144\n") + len(b"\n1\n144\n")
far = bytearray(demo_p30)
struct.pack_into("<I", far, at + 4, 0x7FFFFFF0)
put("fuzz_recording", "far-day-offset", recording(demo_dat, bytes(far), 0))
