#!/usr/bin/env python3
"""The lettering tool (tools/svg_lettering.py) turns SVG text into outlines placed where the text
would stand, draws borrowed SVG pictures in place, keeps everything else, and refuses text and
pictures it cannot draw faithfully.

usage: lettering.py <svg_lettering.py>
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

SVG = "http://www.w3.org/2000/svg"
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


# A picture another file may borrow: a square with a label, 10 units wide.
PICTURE = ('<svg xmlns="%s" width="10" height="10" viewBox="0 0 10 10" font-size="8">'
           '<rect width="10" height="10" fill="#abcdef"/><text x="5" y="8" text-anchor="middle">1</text></svg>' % SVG)


def letter(tool, body):
    """Runs the tool on an SVG of the given body: (exit code, stderr, output root or None)."""
    with tempfile.TemporaryDirectory() as folder:
        os.mkdir(os.path.join(folder, "icons"))
        with open(os.path.join(folder, "icons", "square.svg"), "w") as f:
            f.write(PICTURE)
        source = os.path.join(folder, "in.svg")
        output = os.path.join(folder, "out.svg")
        with open(source, "w") as f:
            f.write('<svg xmlns="%s" width="400" height="100">%s</svg>' % (SVG, body))
        run = subprocess.run([sys.executable, tool, source, output], capture_output=True, text=True)
        root = ET.parse(output).getroot() if os.path.exists(output) else None
        return run.returncode, run.stderr, root


def paths(root):
    return root.findall(".//{%s}path" % SVG)


def bounds(root):
    """Bounding box (x0, y0, x1, y1) of the on-curve and control points of every path."""
    xs, ys = [], []
    for path in paths(root):
        command, numbers = None, []
        for token in re.findall(r"[MLQCHVZ]|-?\d+(?:\.\d+)?", path.get("d")):
            if token.isalpha():
                command, numbers = token, []
                continue
            numbers.append(float(token))
            if command == "H":
                xs.append(numbers.pop())
            elif command == "V":
                ys.append(numbers.pop())
            elif len(numbers) == 2:
                xs.append(numbers[0])
                ys.append(numbers[1])
                numbers = []
    return min(xs), min(ys), max(xs), max(ys)


def test_placement(tool):
    # The outlines stand where the text would: on its baseline (round letters overshoot it a
    # little), at its anchor.
    for anchor in ("start", "middle", "end"):
        code, error, root = letter(tool, '<text x="200" y="60" font-size="40" text-anchor="%s">Hello</text>' % anchor)
        check(code == 0, "%s: exit %d: %s" % (anchor, code, error))
        check(root is not None and not root.findall(".//{%s}text" % SVG), "%s: text left in the output" % anchor)
        x0, y0, x1, y1 = bounds(root)
        check(y1 < 61 and 60 - y0 > 25, "%s: not on the baseline: %s" % (anchor, (y0, y1)))
        place = {"start": x0 - 200, "middle": (x0 + x1) / 2 - 200, "end": x1 - 200}[anchor]
        check(abs(place) < 5, "%s: %s from the anchor" % (anchor, place))


def test_styles(tool):
    # Bold is wider than regular, a tspan's fill gets a path of its own, and font attributes come
    # down from an enclosing group.
    def width(body):
        x0, _, x1, _ = bounds(letter(tool, body)[2])
        return x1 - x0

    regular = width('<text x="10" y="60" font-size="40">plimsar</text>')
    check(width('<text x="10" y="60" font-size="40" font-weight="bold">plimsar</text>') > regular * 1.05, "bold is not wider")
    inherited = width('<g font-size="20"><text x="10" y="60">plimsar</text></g>')
    check(abs(inherited * 2 - regular) < 2, "group font-size not inherited: %s vs %s" % (inherited, regular))

    code, error, root = letter(tool, '<text x="10" y="60" fill="#102030">go <tspan fill="#ff0000" font-weight="bold">now</tspan></text>')
    check(code == 0, "runs: exit %d: %s" % (code, error))
    check(sorted(p.get("fill") for p in paths(root)) == ["#102030", "#ff0000"], "runs: fills %s" % [p.get("fill") for p in paths(root)])


def test_rest_is_kept(tool):
    code, error, root = letter(tool, '<rect x="1" y="2" width="3" height="4" fill="#123456"/><!-- a note -->')
    check(code == 0, "plain file: exit %d: %s" % (code, error))
    rect = root.find("{%s}rect" % SVG)
    check(rect is not None and rect.get("fill") == "#123456" and rect.get("width") == "3", "rectangle not kept")


def test_pictures(tool):
    # A borrowed picture is drawn at the image's place and size, its own lettering outlined.
    code, error, root = letter(tool, '<image x="100" y="20" width="40" height="40" href="icons/square.svg"/>')
    check(code == 0, "picture: exit %d: %s" % (code, error))
    check(not root.findall(".//{%s}image" % SVG) and not root.findall(".//{%s}text" % SVG), "picture: image or text left")
    group = root.find("{%s}g" % SVG)
    check(group is not None and group.get("transform", "").startswith("translate(100 20) scale(4 4)"),
          "picture: placed by %s" % (group.get("transform") if group is not None else None))
    check(group is not None and group.find("{%s}rect" % SVG) is not None and paths(group), "picture: drawing not inlined")


def test_refusals(tool):
    cases = [
        ('<text x="1" y="1" dx="1 2 3">abc</text>', "attribute 'dx'"),
        ('<text x="1" y="1" textLength="90">abc</text>', "attribute 'textLength'"),
        ('<text x="1" y="1">a<tspan x="5">b</tspan></text>', "attribute 'x'"),
        ('<text x="1" y="1" font-family="Fancy Script">abc</text>', "font-family"),
        ('<text x="1" y="1" font-weight="300">abc</text>', "font-weight"),
        ('<text x="1" y="1">a<tspan>b<tspan>c</tspan></tspan></text>', "tspan"),
        ('<text x="1" y="1" text-anchor="left">abc</text>', "text-anchor"),
        ('<text x="1" y="1">\ue000</text>', "no glyph"),
        ('<image width="4" height="4" href="http://example.org/a.svg"/>', "relative path"),
        ('<image width="4" height="4" href="/icons/square.svg"/>', "relative path"),
        ('<image width="4" height="4" href="icons/square.png"/>', "relative path"),
        ('<image width="4" height="4" href="icons/missing.svg"/>', "missing file"),
        ('<image height="4" href="icons/square.svg"/>', "width and a height"),
    ]
    for body, reason in cases:
        code, error, root = letter(tool, body)
        check(code == 1 and reason in error and "in.svg" in error, "%s: exit %d, %r" % (body, code, error))
        check(root is None, "%s: wrote an output file" % body)


def main(argv):
    tool = argv[1]
    for test in (test_placement, test_styles, test_rest_is_kept, test_pictures, test_refusals):
        test(tool)
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
