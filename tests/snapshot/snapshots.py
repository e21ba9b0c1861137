"""Writes the editor snapshots of the default program and of programs 12 and 28 with
plimsar-snapshot, and checks that each is a readable PNG of the editor's size with real
content, and that bad requests are refused without writing anything.

usage: snapshots.py PLIMSAR-SNAPSHOT OUTPUT-DIRECTORY
"""

import struct
import subprocess
import sys
import tempfile
import zlib
from pathlib import Path


def read_png(path):
    """Width, height and the decompressed scan lines (filter byte first) of an 8-bit RGBA or RGB PNG."""
    data = path.read_bytes()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG"
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour_type = header[:4]
    assert depth == 8 and colour_type in (2, 6), f"{path}: unexpected pixel format {depth}/{colour_type}"
    channels = 4 if colour_type == 6 else 3
    raw = zlib.decompress(idat)
    stride = 1 + width * channels
    assert len(raw) == stride * height, f"{path}: truncated image data"
    return width, height, [raw[y * stride:(y + 1) * stride] for y in range(height)]


def run(tool, *arguments):
    return subprocess.run([tool, *arguments], capture_output=True, text=True, timeout=120)


def main():
    tool, out_dir = sys.argv[1], Path(sys.argv[2])
    out_dir.mkdir(parents=True, exist_ok=True)
    failures = []

    sizes = {}
    for name, arguments in (("default", []), ("program-12", ["--program", "12"]), ("program-28", ["--program", "28"])):
        target = out_dir / f"{name}.png"
        target.unlink(missing_ok=True)
        result = run(tool, *arguments, str(target))
        if result.returncode != 0:
            failures.append(f"{name}: exit {result.returncode}: {result.stderr.strip()}")
            continue
        width, height, rows = read_png(target)
        sizes[name] = (width, height)
        if width < 300 or height < 150:
            failures.append(f"{name}: {width} x {height} is too small for the editor")
        if len(set(rows)) < 10:
            failures.append(f"{name}: only {len(set(rows))} different rows: the editor did not draw")
        print(f"{target}: {width} x {height}")

    if len(set(sizes.values())) > 1:
        failures.append(f"the editor's size depends on the program: {sizes}")

    with tempfile.TemporaryDirectory() as scratch:
        refused = Path(scratch) / "refused.png"
        for arguments, code in ((["--program", "128", str(refused)], 2), (["--program", "x", str(refused)], 2),
                                (["--program"], 2), ([], 2), ([str(refused), str(refused)], 2)):
            result = run(tool, *arguments)
            if result.returncode != code or not result.stderr.strip():
                failures.append(f"{arguments}: exit {result.returncode} with {result.stderr!r}, expected {code} and a message")
        if refused.exists():
            failures.append("a refused request wrote a file")

        blocked = Path(scratch) / "file"
        blocked.write_text("not a directory")
        result = run(tool, str(blocked / "editor.png"))
        if result.returncode != 1 or "cannot write" not in result.stderr:
            failures.append(f"unwritable output: exit {result.returncode} with {result.stderr!r}")

    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
