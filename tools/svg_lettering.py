#!/usr/bin/env python3
"""Turns the lettering of an SVG file into outlines, so it looks the same wherever it is drawn,
and draws the pictures it borrows from other SVG files of ours in place.

usage: svg_lettering.py SOURCE.svg OUTPUT.svg

Every <text> element becomes a <g> of <path> elements drawn from the DejaVu fonts (Debian
packages fonts-dejavu-core and fonts-dejavu-extra, read with python3-fonttools). Every <image>
whose href is the relative path of another SVG file becomes a <g> holding that file's drawing,
scaled from its viewBox to the image's x, y, width and height (a help page shows the editor's
own icons this way). The rest of the file is copied unchanged, without comments.

The sources keep to this subset of SVG text, and anything else is refused:
- <text> with x, y, text-anchor (start, middle, end), font-family ("DejaVu Sans", "sans-serif"
  or "DejaVu Sans Condensed"), font-size (user units), font-weight (normal, bold), font-style
  (normal, italic), fill, and the presentation attributes of any element (id, class, opacity,
  transform, fill-opacity);
- <tspan> inside it, without positions, changing font-weight, font-style, font-family,
  font-size or fill for a run of the line.
White space is collapsed as SVG does by default. Kerning is not applied.
"""
import os
import re
import sys
import xml.etree.ElementTree as ET

from fontTools.pens.svgPathPen import SVGPathPen
from fontTools.pens.transformPen import TransformPen
from fontTools.ttLib import TTFont

SVG = "http://www.w3.org/2000/svg"
XLINK = "http://www.w3.org/1999/xlink"
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"
FAMILIES = {"DejaVu Sans": "DejaVuSans", "sans-serif": "DejaVuSans",
            "DejaVu Sans Condensed": "DejaVuSansCondensed"}
STYLES = {(False, False): "", (True, False): "-Bold", (False, True): "-Oblique", (True, True): "-BoldOblique"}
FONT_ATTRIBUTES = ("font-family", "font-size", "font-weight", "font-style", "fill")
TEXT_ATTRIBUTES = FONT_ATTRIBUTES + ("x", "y", "text-anchor")
PASSED_ON = ("id", "class", "opacity", "transform", "fill-opacity")

_fonts = {}


class LetteringError(Exception):
    pass


def font_for(style):
    family = style.get("font-family", "DejaVu Sans").strip("'\" ")
    if family not in FAMILIES:
        raise LetteringError("unsupported font-family '%s'" % family)
    weight = style.get("font-weight", "normal")
    slant = style.get("font-style", "normal")
    if weight not in ("normal", "bold") or slant not in ("normal", "italic"):
        raise LetteringError("unsupported font-weight '%s' or font-style '%s'" % (weight, slant))
    name = FAMILIES[family] + STYLES[(weight == "bold", slant == "italic")]
    if name not in _fonts:
        font = TTFont(FONT_DIR + name + ".ttf")
        _fonts[name] = (font.getGlyphSet(), font.getBestCmap(), font["head"].unitsPerEm, font["hmtx"])
    return _fonts[name]


def number(value):
    text = "%.1f" % value
    return "0" if text in ("0.0", "-0.0") else text[:-2] if text.endswith(".0") else text


def check_attributes(element, allowed):
    for key in element.attrib:
        if key not in allowed and key not in PASSED_ON:
            raise LetteringError("<%s> attribute '%s' is not supported" % (local(element.tag), key))


def local(tag):
    return tag.split("}")[-1]


def runs_of(text_element, inherited):
    """The runs of a <text> element: (characters, style) in reading order, white space collapsed."""
    check_attributes(text_element, TEXT_ATTRIBUTES)
    base = dict(inherited, **{k: v for k, v in text_element.attrib.items() if k in FONT_ATTRIBUTES})
    runs = [(text_element.text or "", base)]
    for child in text_element:
        if local(child.tag) != "tspan" or len(child):
            raise LetteringError("only plain <tspan> runs may sit inside <text>")
        check_attributes(child, FONT_ATTRIBUTES)
        style = dict(base, **{k: v for k, v in child.attrib.items() if k in FONT_ATTRIBUTES})
        runs.append((child.text or "", style))
        runs.append((child.tail or "", base))
    collapsed = []
    for chars, style in runs:
        chars = re.sub(r"\s+", " ", chars)
        if collapsed and collapsed[-1][0].endswith(" ") and chars.startswith(" "):
            chars = chars[1:]
        if chars:
            collapsed.append([chars, style])
    if collapsed:
        collapsed[0][0] = collapsed[0][0].lstrip()
        collapsed[-1][0] = collapsed[-1][0].rstrip()
    return [(chars, style) for chars, style in collapsed if chars]


def outline(text_element, inherited):
    """A <g> holding the outlines of a <text> element."""
    runs = runs_of(text_element, inherited)
    x = float(text_element.get("x", "0"))
    y = float(text_element.get("y", "0"))
    laid_out = []  # (glyph set, glyph name, scale, pen x, style)
    pen_x = 0.0
    for chars, style in runs:
        glyphs, cmap, units, metrics = font_for(style)
        scale = float(style.get("font-size", "16")) / units
        for char in chars:
            name = cmap.get(ord(char))
            if name is None:
                raise LetteringError("no glyph for %r" % char)
            laid_out.append((glyphs, name, scale, pen_x, style))
            pen_x += metrics[name][0] * scale
    anchor = text_element.get("text-anchor", "start")
    if anchor not in ("start", "middle", "end"):
        raise LetteringError("unsupported text-anchor '%s'" % anchor)
    x -= {"start": 0.0, "middle": pen_x / 2, "end": pen_x}[anchor]

    group = ET.Element("{%s}g" % SVG, {k: v for k, v in text_element.attrib.items() if k in PASSED_ON})
    paths = {}  # fill -> path pen, so each colour of the line is one path
    for glyphs, name, scale, offset, style in laid_out:
        fill = style.get("fill", "#000000")
        if fill not in paths:
            paths[fill] = SVGPathPen(glyphs, ntos=number)
        glyphs[name].draw(TransformPen(paths[fill], (scale, 0, 0, -scale, x + offset, y)))
    for fill, pen in paths.items():
        d = pen.getCommands()
        if d:
            ET.SubElement(group, "{%s}path" % SVG, {"fill": fill, "d": d})
    return group


def convert(parent, inherited=None):
    """Replaces the <text> elements below parent, which passes on the font attributes given."""
    inherited = dict(inherited or {}, **{k: v for k, v in parent.attrib.items() if k in FONT_ATTRIBUTES})
    for index, child in enumerate(list(parent)):
        if local(child.tag) == "text":
            replacement = outline(child, inherited)
            replacement.tail = child.tail
            parent.remove(child)
            parent.insert(index, replacement)
        else:
            convert(child, inherited)


def inline_pictures(parent, folder, depth=0):
    """Replaces the <image> elements below parent by the drawings of the SVG files they name."""
    for index, child in enumerate(list(parent)):
        if local(child.tag) != "image":
            inline_pictures(child, folder, depth)
            continue
        href = child.get("href") or child.get("{%s}href" % XLINK) or ""
        if not href.endswith(".svg") or os.path.isabs(href) or ":" in href or depth > 3:
            raise LetteringError("<image> must name another SVG file of ours by a relative path: '%s'" % href)
        path = os.path.join(folder, href)
        if not os.path.isfile(path):
            raise LetteringError("<image> names a missing file '%s'" % href)
        picture = ET.parse(path).getroot()
        inline_pictures(picture, os.path.dirname(path), depth + 1)
        view = [float(v) for v in re.split(r"[\s,]+", picture.get("viewBox", "").strip()) if v] \
            or [0.0, 0.0, float(picture.get("width", "0")), float(picture.get("height", "0"))]
        try:
            x, y = float(child.get("x", "0")), float(child.get("y", "0"))
            width, height = float(child.get("width")), float(child.get("height"))
        except (TypeError, ValueError):
            raise LetteringError("<image> of '%s' needs a width and a height" % href)
        if len(view) != 4 or view[2] <= 0 or view[3] <= 0:
            raise LetteringError("'%s' has no size to scale from" % href)
        transform = "translate(%s %s) scale(%s %s) translate(%s %s)" % (
            number(x), number(y), "%.6g" % (width / view[2]), "%.6g" % (height / view[3]), number(-view[0]), number(-view[1]))
        attributes = {k: v for k, v in picture.attrib.items() if k in FONT_ATTRIBUTES}
        attributes.update({k: v for k, v in child.attrib.items() if k in PASSED_ON and k != "transform"})
        group = ET.Element("{%s}g" % SVG, attributes)
        if child.get("transform"):
            group.set("transform", child.get("transform") + " " + transform)
        else:
            group.set("transform", transform)
        group.extend(list(picture))
        group.tail = child.tail
        parent.remove(child)
        parent.insert(index, group)


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    ET.register_namespace("", SVG)
    ET.register_namespace("xlink", XLINK)
    try:
        tree = ET.parse(argv[1])
        inline_pictures(tree.getroot(), os.path.dirname(os.path.abspath(argv[1])))
        convert(tree.getroot())
    except (LetteringError, ET.ParseError) as error:
        sys.stderr.write("%s: %s\n" % (argv[1], error))
        return 1
    tree.write(argv[2], encoding="UTF-8", xml_declaration=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
