#!/usr/bin/env python3
"""Packs files into a zip archive with fixed entry names, order and timestamps.

usage: pack_zip.py OUTPUT.zip ENTRY=FILE [ENTRY=FILE ...]

Entries are stored in the order given, compressed with deflate, and stamped with a
fixed date, so the same inputs always give the same bytes.
"""
import sys
import zipfile

FIXED_DATE = (2014, 1, 1, 0, 0, 0)


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    output = argv[1]
    with zipfile.ZipFile(output, "w") as archive:
        for spec in argv[2:]:
            entry, _, path = spec.partition("=")
            if not entry or not path:
                sys.stderr.write("pack_zip: bad entry '%s' (expected ENTRY=FILE)\n" % spec)
                return 2
            with open(path, "rb") as f:
                data = f.read()
            info = zipfile.ZipInfo(entry, date_time=FIXED_DATE)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            archive.writestr(info, data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
