#!/usr/bin/env python3
"""Checks the committed skin pictures in resources/pictures/, every set:
the 100 % pictures at the top, the other display scales in folders named
after them (125/, 150/ ... 300/), and resources/pictures.rc that builds them
in.

1. make_pictures.py run into a temporary folder reproduces every committed
   file and the resource script byte for byte (when only the compressed
   bytes differ, as with another zlib build, the decoded pixels must still
   be identical);
2. every committed file decodes with the small reader below and has the
   expected size and colour type: at a scale, the 100 % size times the
   scale, rounded half up (a nine-patch picture's 1-pixel frame excepted);
3. every nine-patch picture has exactly the expected marker frame and
   stretch columns/rows that match a neighbour (so widening them shows no
   band); pictures that are copied to the screen without blending have an
   opaque interior;
4. the marker scan and content-area arithmetic of the nine-patch painter,
   modelled here, give the known content areas for two real uses, and at
   every scale the content areas of the real uses scaled, within a pixel.

Exit status 0 when everything passes, 1 otherwise.
Usage: check_pictures.py [PICTURE_FOLDER]
"""

import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_pictures  # noqa: E402  (the scales and the frame geometry)

COMMITTED = os.path.normpath(os.path.join(HERE, "..", "..", "resources",
                                          "pictures"))

# id: (width, height, colour type)
SIZES = {}
for _ids, _size in (((143, 144, 145, 146, 147, 148, 149, 150, 151, 152, 153,
                      154), (14, 39)),
                    ((155, 156, 157, 158, 159, 160), (29, 26)),
                    ((161, 162, 163), (15, 31)),
                    ((164,), (29, 148)),
                    ((165, 166, 167), (30, 26)),
                    ((168, 171), (197, 94)),
                    ((169, 170), (48, 30)),
                    ((172, 173, 174), (231, 16)),
                    ((175, 176, 177, 178, 179), (5, 17)),
                    ((501,), (29, 101))):
    for _id in _ids:
        SIZES[_id] = _size + ((2,) if _id in (169, 170) else (6,))

# id: (stretch columns, stretch rows, content rows, content columns), all in
# picture coordinates.
TAB = ((6,), (19,), (2, 36), (6, 6))
NINE_PATCH = {pid: TAB for pid in range(143, 155)}
NINE_PATCH.update({pid: ((7,), (15,), (3, 27), (7, 7))
                   for pid in (161, 162, 163)})
NINE_PATCH.update({pid: ((2,), (8,), (1, 15), (2, 2))
                   for pid in range(175, 180)})
NINE_PATCH[501] = ((14,), (42,), (2, 98), (2, 26))
NINE_PATCH[164] = ((14,), (74,), (2, 145), (2, 26))

# Pictures that reach the screen by plain copies (window background,
# partition bars), where alpha is dropped: their interior must be opaque.
OPAQUE = {164, 501, 175, 176, 177, 178, 179}

# Nine-patch pictures stretched vertically where they are used.
ROWS_STRETCH = {164, 501}

# Where the window paints the nine-patch pictures at 100 %: id: (width,
# height, content area).  At every scale the picture painted at the scaled
# size must give the scaled content area.
USES = {143: (140, 37, (6, 2, 136, 37)),
        161: (221, 29, (7, 3, 217, 28)),
        175: (272, 15, (2, 1, 273, 16)),
        501: (722, 587, (2, 2, 723, 588))}
for _pid in list(range(144, 146)) + list(range(147, 155)):
    USES[_pid] = USES[143]
for _pid in (162, 163):
    USES[_pid] = USES[161]
for _pid in range(176, 180):
    USES[_pid] = USES[175]


def expected_set(percent):
    """{id: (width, height, colour type, nine-patch frame or None)} of the
    set drawn at `percent`."""
    s = make_pictures.Scale(percent)
    out = {}
    for pid in make_pictures.pictures_ids(percent):
        w, h, ctype = SIZES[pid]
        if pid in NINE_PATCH:
            frame = make_pictures.scaled_nine_patch(
                s, w, h, *NINE_PATCH[pid], rows_stretch=pid in ROWS_STRETCH)
            out[pid] = frame[:2] + (ctype, frame[2:])
        else:
            out[pid] = (s.n(w), s.n(h), ctype, None)
    return out


class PngError(Exception):
    pass


def read_png(data):
    """Decodes an 8-bit, non-interlaced truecolour PNG (colour type 2 or 6).
    Returns (width, height, colour type, rows of RGBA tuples)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise PngError("no PNG signature")
    pos, header, idat, ended = 8, None, b"", False
    while pos + 12 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 4:pos + 8 + length]
        if len(body) != 4 + length:
            raise PngError("chunk %r truncated" % kind)
        crc, = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
        if zlib.crc32(body) & 0xFFFFFFFF != crc:
            raise PngError("bad CRC in chunk %r" % kind)
        payload = body[4:]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", payload)
        elif kind == b"IDAT":
            idat += payload
        elif kind == b"IEND":
            ended = True
            break
        else:
            raise PngError("unexpected chunk %r" % kind)
        pos += 12 + length
    if header is None or not ended:
        raise PngError("missing IHDR or IEND")
    width, height, depth, ctype, comp, filt, interlace = header
    if depth != 8 or ctype not in (2, 6) or comp or filt or interlace:
        raise PngError("unsupported header %r" % (header,))
    bpp = 4 if ctype == 6 else 3
    stride = width * bpp
    raw = zlib.decompress(idat)
    if len(raw) != height * (stride + 1):
        raise PngError("image data is %d bytes, expected %d"
                       % (len(raw), height * (stride + 1)))
    rows, prev = [], bytearray(stride)
    for y in range(height):
        ftype = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 0:
                pred = 0
            elif ftype == 1:
                pred = a
            elif ftype == 2:
                pred = b
            elif ftype == 3:
                pred = (a + b) >> 1
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
            else:
                raise PngError("bad filter type %d in row %d" % (ftype, y))
            line[i] = (line[i] + pred) & 0xFF
        rows.append([tuple(line[x * bpp:x * bpp + bpp]) + ((255,) if bpp == 3
                                                          else ())
                     for x in range(width)])
        prev = line
    return width, height, ctype, rows


# ---------------------------------------------------------------------------
# Model of the painter's marker scan and content area.

def is_marker(p):
    return p[0] == 0 and p[1] == 0 and p[2] == 0


def is_end(p):
    return p[0] == 255 and p[1] == 255 and p[2] == 255


def scan_markers(rows):
    """Stretch columns and rows as the painter stores them (x - 1, y - 1)."""
    w, h = len(rows[0]), len(rows)
    cols = [x - 1 for x in range(w) if is_marker(rows[0][x])]
    rws = [y - 1 for y in range(h) if is_marker(rows[y][0])]
    return cols, rws


def content_run(line):
    start = next(i for i, p in enumerate(line) if is_marker(p))
    end = next(i for i in range(start + 1, len(line)) if is_end(line[i]))
    return start, end - 1


def amounts(stretches, size_src, size_dst, unchanged_when_equal):
    if unchanged_when_equal and size_src == size_dst:
        return []
    if len(stretches) == 1:
        return [size_dst - size_src + 1]
    if len(stretches) == 2:
        return [int((size_dst - size_src + 2) / 2)] * 2
    return []


def content_area(rows, tw, th):
    """(left, top, right, bottom) for the picture painted at tw x th."""
    w, h = len(rows[0]), len(rows)
    cols, rws = scan_markers(rows)
    h_amounts = amounts(cols, w - 1, tw + 1, False)
    v_amounts = amounts(rws, h - 1, th + 1, True)
    top, bottom = content_run([rows[y][w - 1] for y in range(h)])
    left, right = content_run(rows[h - 1])
    height = bottom - top + 1
    if len(rws) == len(v_amounts):
        height += sum(a for r, a in zip(rws, v_amounts) if top <= r + 1 <= bottom)
    width = right - left + 1
    if len(cols) == len(h_amounts):
        width += sum(a for c, a in zip(cols, h_amounts) if left <= c + 1 <= right)
    return left, top, left + width, top + height


# ---------------------------------------------------------------------------

class Report:
    """Collects failures per picture id (None for the set as a whole)."""

    def __init__(self):
        self.failed = {}

    def check(self, ok, pid, what):
        if not ok:
            self.failed.setdefault(pid, []).append(what)
            print("FAIL %s: %s" % (pid if pid is not None else "set", what))


def relative_files(folder):
    found = set()
    for root, _, names in os.walk(folder):
        for name in names:
            if name.endswith(".png"):
                found.add(os.path.relpath(os.path.join(root, name), folder)
                          .replace(os.sep, "/"))
    return found


def check_reproducible(report, folder):
    with tempfile.TemporaryDirectory() as tmp:
        fresh_folder = os.path.join(tmp, "pictures")
        subprocess.run([sys.executable, os.path.join(HERE, "make_pictures.py"),
                        fresh_folder], check=True, stdout=subprocess.DEVNULL)
        fresh = relative_files(fresh_folder)
        have = relative_files(folder)
        expected = {make_pictures.picture_path(percent, pid)
                    for percent in make_pictures.SCALES
                    for pid in make_pictures.pictures_ids(percent)}
        report.check(fresh == expected, None, "generator output differs "
                     "from the expected set in %s" % sorted(fresh ^ expected))
        report.check(have <= expected, None, "unexpected files %s"
                     % sorted(have - expected))
        with open(os.path.join(tmp, "pictures.rc"), "rb") as f:
            script = f.read()
        try:
            with open(os.path.join(folder, "..", "pictures.rc"), "rb") as f:
                committed_script = f.read()
        except OSError:
            committed_script = None
        report.check(script == committed_script, None, "pictures.rc differs "
                     "from the generator's resource script")
        differing = []
        for name in sorted(fresh & have):
            with open(os.path.join(fresh_folder, name), "rb") as f:
                a = f.read()
            with open(os.path.join(folder, name), "rb") as f:
                b = f.read()
            if a == b:
                continue
            try:
                same = read_png(a) == read_png(b)
            except PngError:
                same = False
            if same:
                print("note: %s has the same pixels but other compressed "
                      "bytes (different zlib build)" % name)
            else:
                differing.append(name[:-4])
                report.check(False, name[:-4], "differs from the "
                             "generator's output")
        if differing:
            print("differing pictures: " + " ".join(differing))


def check_frame(report, pid, rows, frame):
    """`frame`: the stretch columns, stretch rows, content rows and content
    columns expected, in picture coordinates."""
    cols, rws, crow, ccol = frame
    w, h = len(rows[0]), len(rows)
    black = set((x, 0) for x in cols) | set((0, y) for y in rws)
    black |= set((w - 1, y) for y in range(crow[0], crow[1] + 1))
    black |= set((x, h - 1) for x in range(ccol[0], ccol[1] + 1))
    frame = [(x, 0) for x in range(w)] + [(x, h - 1) for x in range(w)]
    frame += [(0, y) for y in range(h)] + [(w - 1, y) for y in range(h)]
    wrong = sorted(set((x, y) for x, y in frame if rows[y][x] !=
                       ((0, 0, 0, 255) if (x, y) in black
                        else (255, 255, 255, 0))))
    report.check(not wrong, pid, "frame pixels wrong at %s" % wrong[:8])

    scanned = scan_markers(rows)
    report.check(scanned == ([c - 1 for c in cols], [r - 1 for r in rws]),
                 pid, "marker scan gives %r" % (scanned,))

    if pid in OPAQUE:
        interior = [rows[y][x] for y in range(1, h - 1)
                    for x in range(1, w - 1)]
        report.check(all(p[3] == 255 for p in interior), pid,
                     "interior not opaque")

    def column(x):
        return [rows[y][x] for y in range(1, h - 1)]

    def row(y):
        return rows[y][1:w - 1]
    for c in cols:
        report.check(column(c) in (column(c - 1), column(c + 1)), pid,
                     "stretch column %d differs from both neighbours" % c)
    for r in rws:
        report.check(row(r) in (row(r - 1), row(r + 1)), pid,
                     "stretch row %d differs from both neighbours" % r)


def check_set(report, folder, percent):
    """Checks the committed set drawn at `percent`; returns the number of
    pictures checked and the number that failed."""
    failed_before = len(report.failed)
    expected = expected_set(percent)
    s = make_pictures.Scale(percent)
    for pid in sorted(expected):
        name = make_pictures.picture_path(percent, pid)
        key = name[:-4]
        w_exp, h_exp, ctype_exp, frame = expected[pid]
        try:
            with open(os.path.join(folder, name), "rb") as f:
                w, h, ctype, rows = read_png(f.read())
        except (OSError, PngError) as e:
            report.check(False, key, "cannot read: %s" % e)
            continue
        report.check((w, h, ctype) == (w_exp, h_exp, ctype_exp), key,
                     "%d x %d, colour type %d; expected %r"
                     % (w, h, ctype, (w_exp, h_exp, ctype_exp)))
        if frame is None or (w, h) != (w_exp, h_exp):
            continue
        check_frame(report, key, rows, frame)
        if pid in USES and percent != 100:
            tw, th, base = USES[pid]
            got = content_area(rows, s.n(tw), s.n(th))
            # Target coordinates are picture coordinates minus one.
            near = all(abs((g - 1) - s.n(b - 1)) <= 1
                       for g, b in zip(got, base))
            report.check(near, key, "at %d x %d: content area %r, expected "
                         "about %r" % (s.n(tw), s.n(th), got,
                                       tuple(s.n(b - 1) + 1 for b in base)))
        if percent == 100:
            # The left tab at its button size and the text button at the
            # size of "Initialize": the text rectangles these give are what
            # the window uses.
            for use_pid, tw, th, area in ((143, 140, 37, (6, 2, 136, 37)),
                                          (161, 221, 29, (7, 3, 217, 28))):
                if pid == use_pid:
                    got = content_area(rows, tw, th)
                    report.check(got == area, key, "at %d x %d: content area "
                                 "%r, expected %r" % (tw, th, got, area))
    return len(expected), len(report.failed) - failed_before


def main(argv):
    folder = argv[1] if len(argv) > 1 else COMMITTED
    report = Report()
    check_reproducible(report, folder)
    total = 0
    for percent in make_pictures.SCALES:
        total += check_set(report, folder, percent)[0]
    failed = len([key for key in report.failed if key is not None])
    print("pictures: %d passed, %d failed" % (total - failed, failed))
    return 1 if report.failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
