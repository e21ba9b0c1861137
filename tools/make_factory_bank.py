#!/usr/bin/env python3
"""Writes the factory bank preset file from its readable program table.

usage: make_factory_bank.py PROGRAMS.txt OUTPUT.fxb

The table has one row per program:  index | name | settings | intent
Settings are comma-separated and name only what differs from program 0 ("clean start"):
  key=value text    e.g. step=1/16, gate=50 %, L1.shape=Square, gain=0.0 dB
  key~source        the parameter follows an LFO, e.g. velocity~LFO1
Rows may be left out; a missing program is "Untitled <n>" with program 0's settings at 0.0 dB.
Keys: step velocity gate | beats groove width | doubling arp | L1.* and L2.* with shape frequency
per level phase dc pw noise | gain.  Values are the texts the program shows for them.

The output is a bank preset file (big-endian header, then the state document as a chunk) whose
document has the bank's names, its global settings and every program's value ids.
"""
import struct
import sys
import xml.sax.saxutils as saxutils

DOCUMENT_VERSION = "1.1.142"
PLUGIN_ID = b"QZ04"


def fixed(format, values):
    return [format % v for v in values]


def steps(low, high, step):
    count = int((high - low) / step + 0.5) + 1
    return ["%1.2f" % (low + i * step) for i in range(count)]


TEXTS = {
    "step": ["Off", "2", "1", "1/2", "1/4", "1/4T", "1/8", "1/8T", "1/16", "1/16T", "1/32", "1/32T", "1/64"],
    "velocity": [str(i) for i in range(1, 101)],
    "gate": fixed("%d %%", list(range(0, 100)) + list(range(100, 401, 5))),
    "source": ["None", "LFO1", "LFO2"],
    "beats": ["Off", "Beat 1", "Beat 2", "Beat 3", "Beat 4", "Odd beats", "Even beats", "Inner beats",
              "Outer beats", "All beats"],
    "groove": steps(-1.0, 1.0, 0.02),
    "width": steps(0.0, 1.0, 0.01),
    "doubling": ["None", "Oct", "5th", "4th", "Oct+5th", "Oct+4th", "5th+4th", "Oct+5+4"],
    "arp": ["None", "1", "2", "3", "4", "1+2", "1+3", "1+4", "2+3", "2+4", "3+4", "1+2+3", "1+2+4", "1+3+4",
            "2+3+4", "1+2+3+4", "All"],
    "shape": ["Saw Up", "Saw Dn", "Tria", "Sin", "Square", "Flat"],
    "frequency": ["1/%d" % n for n in range(32, 1, -1)] + [str(i) for i in range(1, 33)],
    "per": ["Bar", "Beat", "1/4"],
    "level": steps(0.0, 2.0, 0.01),
    "phase": steps(0.0, 1.0, 0.01),
    "dc": steps(-1.0, 1.0, 0.02),
    "pw": steps(0.0, 1.0, 0.01),
    "noise": fixed("%d %%", range(0, 101)),
    "gain": ["-oo dB"] + ["%3.1f dB" % (-38.0 + 0.5 * i) for i in range(77)],
}

# Program parameters of each module, in parameter-id order: (key, texts, modulation-source key).
MODULES = [
    (4000, [("step", "step"), ("~step", "source"), ("velocity", "velocity"), ("~velocity", "source"),
            ("gate", "gate"), ("~gate", "source")]),
    (5000, [("beats", "beats"), ("~beats", "source"), ("groove", "groove"), ("~groove", "source"),
            ("width", "width"), ("~width", "source")]),
    (6000, [("doubling", "doubling"), ("~doubling", "source"), ("arp", "arp"), ("~arp", "source")]),
    (700100, [("L1." + k, k) for k in ("shape", "frequency", "per", "level", "phase", "dc", "pw", "noise")]),
    (700101, [("L2." + k, k) for k in ("shape", "frequency", "per", "level", "phase", "dc", "pw", "noise")]),
    (8000, [("gain", "gain")]),
]

CLEAN_START = {
    "step": "1/4", "~step": "None", "velocity": "100", "~velocity": "None", "gate": "90 %", "~gate": "None",
    "beats": "Off", "~beats": "None", "groove": "0.00", "~groove": "None", "width": "1.00", "~width": "None",
    "doubling": "None", "~doubling": "None", "arp": "All", "~arp": "None", "gain": "-4.0 dB",
}
for lfo in ("L1.", "L2."):
    CLEAN_START.update({lfo + "shape": "Saw Up", lfo + "frequency": "1", lfo + "per": "Bar",
                        lfo + "level": "1.00", lfo + "phase": "0.00", lfo + "dc": "0.00",
                        lfo + "pw": "0.50", lfo + "noise": "0 %"})

TEXT_KIND = {key: kind for _, params in MODULES for key, kind in params}


class TableError(Exception):
    pass


def parse_settings(text, line):
    settings = {}
    for item in filter(None, (s.strip() for s in text.split(","))):
        if "~" in item:
            key, _, value = item.partition("~")
            key = "~" + key.strip()
        elif "=" in item:
            key, _, value = item.partition("=")
        else:
            raise TableError("line %d: '%s' is neither key=value nor key~source" % (line, item))
        key, value = key.strip(), value.strip()
        if key not in TEXT_KIND:
            raise TableError("line %d: unknown setting '%s'" % (line, key.lstrip("~")))
        if value not in TEXTS[TEXT_KIND[key]]:
            raise TableError("line %d: '%s' is not a value of %s" % (line, value, key.lstrip("~")))
        if key in settings:
            raise TableError("line %d: %s is set twice" % (line, key.lstrip("~")))
        settings[key] = value
    return settings


def read_table(path):
    programs = {}
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            line = raw.strip()
            if not line or line.startswith("#"):
                continue
            cells = [c.strip() for c in line.split("|")]
            if len(cells) != 4:
                raise TableError("line %d: expected 'index | name | settings | intent'" % number)
            index = int(cells[0])
            if not 0 <= index < 128 or index in programs:
                raise TableError("line %d: program index %d is outside 0..127 or repeated" % (number, index))
            if not cells[1] or len(cells[1].encode("utf-8")) > 28:
                raise TableError("line %d: a name needs 1 to 28 bytes" % number)
            if not cells[3]:
                raise TableError("line %d: say what the program is for" % number)
            values = dict(CLEAN_START)
            values.update(parse_settings(cells[2], number))
            programs[index] = (cells[1], values)
    if 0 not in programs:
        raise TableError("the table needs program 0")
    return programs


def element(tag, attributes=(), children=()):
    text = "<" + tag + "".join(' %s=%s' % (k, saxutils.quoteattr(str(v))) for k, v in attributes)
    body = "".join(children)
    return text + (">" + body + "</" + tag + ">" if body else "/>")


def parameter_set(values):
    return element("ps", (), [element("pv", (("i", i), ("v", v))) for i, v in enumerate(values)])


def document(programs):
    untitled = dict(CLEAN_START, gain="0.0 dB")
    bank = [programs.get(i, ("Untitled %d" % i, untitled)) for i in range(128)]

    def program_module(module_id, params, extra=()):
        pgms = []
        for i, (_, values) in enumerate(bank):
            ids = [TEXTS[kind].index(values[key]) for key, kind in params]
            pgms.append(element("pgm", (("i", i),), [parameter_set(ids)]))
        return element("mod", (("i", module_id),), list(extra) + [element("pgms", (), pgms)])

    modules = dict((mid, params) for mid, params in MODULES)
    names = element("dom", (("n", "Preset"),), [element("val", (("i", i), ("n", name))) for i, (name, _) in enumerate(bank)])
    children = [
        element("mod", (("i", 1000),), [element("ext", (), [names]), element("glob", (), [parameter_set([0])])]),
        element("mod", (("i", 2000),), [element("glob", (), [parameter_set([120, 4, 4])])]),
        element("mod", (("i", 3000),), [element("ext", (), [element("midiInputDeviceManager")]), element("cm", (), [
            element("mod", (("i", 300100),), [element("glob", (), [parameter_set(["Track", 0])])])])]),
        element("mod", (("i", 3100),), [element("ext", (), [element("midiOutputDeviceManager")]), element("cm", (), [
            element("mod", (("i", 310100),), [element("glob", (), [parameter_set(["Built-in synth", 0])])])])]),
        program_module(4000, modules[4000]),
        program_module(5000, modules[5000]),
        program_module(6000, modules[6000]),
        element("mod", (("i", 7000),), [element("glob", (), [parameter_set([0])]), element("cm", (), [
            program_module(700100, modules[700100]), program_module(700101, modules[700101])])]),
        program_module(8000, modules[8000]),
        element("mod", (("i", 9000),), [element("glob", (), [element("prs", (("helpCurrentPage", 0), ("helpExpanded", 1)))])]),
    ]
    root = element("mod", (("i", 4), ("n", "plimsar"), ("v", DOCUMENT_VERSION)),
                   [element("glob", (), [element("prs", (("standalone", 1),))]), element("cm", (), children)])
    return element("fxb", (), [root])


def bank_file(chunk):
    header = b"CcnK" + struct.pack(">I", len(chunk) + 152) + b"FBCh" + struct.pack(">I", 1) + PLUGIN_ID
    header += struct.pack(">II", 1, 8) + bytes(128) + struct.pack(">I", len(chunk))
    return header + chunk


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    try:
        programs = read_table(argv[1])
    except (TableError, ValueError, OSError) as e:
        sys.stderr.write("make_factory_bank: %s\n" % e)
        return 1
    chunk = document(programs).encode("utf-8") + b"\0"
    with open(argv[2], "wb") as f:
        f.write(bank_file(chunk))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
