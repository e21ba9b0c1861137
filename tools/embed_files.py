#!/usr/bin/env python3
"""Turns files into C++ byte arrays.

usage: embed_files.py OUT.h OUT.cpp NAMESPACE SYMBOL=FILE [SYMBOL=FILE ...]

For each SYMBOL the header declares `extern const char SYMBOL[]` and
`extern const int SYMBOLSize` inside NAMESPACE.
"""
import sys


def main(argv):
    if len(argv) < 4:
        sys.stderr.write(__doc__)
        return 2
    header, source, namespace = argv[1], argv[2], argv[3]
    items = []
    for spec in argv[4:]:
        symbol, _, path = spec.partition("=")
        with open(path, "rb") as f:
            items.append((symbol, f.read()))

    h = ["// Generated at build time by tools/embed_files.py; do not edit.", "#pragma once", "",
         "namespace %s" % namespace, "{"]
    for symbol, data in items:
        h.append("    extern const char %s[];" % symbol)
        h.append("    extern const int %sSize;" % symbol)
    h += ["}", ""]

    c = ["// Generated at build time by tools/embed_files.py; do not edit.",
         '#include "%s"' % header.split("/")[-1], "", "namespace %s" % namespace, "{"]
    for symbol, data in items:
        c.append("    alignas (8) const char %s[] = {" % symbol)
        for i in range(0, len(data), 24):
            c.append("        " + "".join("%d," % (b if b < 128 else b - 256) for b in data[i:i + 24]))
        c.append("        0 };")
        c.append("    const int %sSize = %d;" % (symbol, len(data)))
    c += ["}", ""]

    for path, lines in ((header, h), (source, c)):
        text = "\n".join(lines)
        try:
            with open(path) as f:
                if f.read() == text:
                    continue
        except OSError:
            pass
        with open(path, "w") as f:
            f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
