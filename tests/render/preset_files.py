#!/usr/bin/env python3
"""Preset files the renderer saves parse with an independent reader of the published FXB/FXP
layout (written here on python3-construct), with byte sizes that match the file lengths; and the
renderer loads files that this reader's own builder wrote.

usage: preset_files.py <plimsar-render>
"""

import os
import xml.etree.ElementTree as ET

from construct import Bytes, Const, Int32ub, Struct, Switch, Terminated, this

from render_support import check, check_equal, main, run

# The published layout of bank (FBCh) and program (FPCh) files with an opaque chunk; every
# number big-endian.
BANK_BODY = Struct(
    "future" / Bytes(128),
    "chunkSize" / Int32ub,
    "chunk" / Bytes(this.chunkSize),
)
PROGRAM_BODY = Struct(
    "prgName" / Bytes(28),
    "chunkSize" / Int32ub,
    "chunk" / Bytes(this.chunkSize),
)
PRESET_FILE = Struct(
    "chunkMagic" / Const(b"CcnK"),
    "byteSize" / Int32ub,
    "fxMagic" / Bytes(4),
    "version" / Int32ub,
    "fxID" / Bytes(4),
    "fxVersion" / Int32ub,
    "count" / Int32ub,
    "body" / Switch(this.fxMagic, {b"FBCh": BANK_BODY, b"FPCh": PROGRAM_BODY}),
    Terminated,
)

HEADER_SIZE = {b"FBCh": 160, b"FPCh": 60}


def parse(path, kind):
    data = open(path, "rb").read()
    preset = PRESET_FILE.parse(data)
    name = os.path.basename(path)
    check_equal(preset.fxMagic, kind, f"{name}: kind")
    check_equal(preset.byteSize, len(data) - 8, f"{name}: byte size (file length less 8)")
    check_equal(preset.body.chunkSize, len(data) - HEADER_SIZE[kind], f"{name}: chunk size")
    check_equal((preset.version, preset.fxID, preset.fxVersion), (1, b"QZ04", 1), f"{name}: version and id")
    check_equal(preset.count, 8 if kind == b"FBCh" else 1, f"{name}: count field")
    check_equal(preset.body.chunk[-1:], b"\0", f"{name}: the chunk ends in a zero byte")

    document = ET.fromstring(preset.body.chunk[:-1].decode("utf-8"))
    check_equal(document.tag, "fxb" if kind == b"FBCh" else "fxp", f"{name}: document")
    root = document.find("mod")
    check_equal((root.get("i"), root.get("n"), root.get("v")), ("4", "plimsar", "1.5.544"), f"{name}: root module")
    return preset, document


def program_names(document):
    values = document.find("mod/cm/mod[@i='1000']/ext/dom")
    return [v.get("n") for v in values.findall("val")]


def test(folder):
    def path(name):
        return os.path.join(folder, name)

    # Saving alone renders nothing.
    run(["--program", "chord climbing arp", "--save-bank", "bank.fxb", "--save-preset", "arp.fxp"], folder)
    check_equal(sorted(os.listdir(folder)), ["arp.fxp", "bank.fxb"], "files written")

    bank, bank_document = parse(path("bank.fxb"), b"FBCh")
    check_equal(bank.body.future, bytes(128), "bank: reserved bytes")
    names = program_names(bank_document)
    check_equal(len(names), 128, "bank: program names")
    check_equal(names[:3] + names[50:52], ["clean start", "velocity gate", "velocity gate speed", "coming to rest",
                                           "Untitled 51"], "bank: program names")

    program, program_document = parse(path("arp.fxp"), b"FPCh")
    check_equal(program.body.prgName, b"chord climbing arp".ljust(28, b" "), "program: name field")
    check(program_document.find("mod/cm/mod[@i='4000']/pgm") is not None, "program: the trigger's settings")

    # A bank read and saved again is the same file.
    run(["--bank", "bank.fxb", "--save-bank", "again.fxb"], folder)
    check_equal(open(path("again.fxb"), "rb").read(), open(path("bank.fxb"), "rb").read(), "bank saved again")

    # A program file built by this reader's side, with id and version fields the loader ignores
    # and a name longer than the field, loads into the selected program and plays as its source.
    built = PRESET_FILE.build(dict(
        byteSize=52 + len(program.body.chunk), fxMagic=b"FPCh", version=1, fxID=b"XXXX", fxVersion=7, count=1,
        body=dict(prgName=b"a name longer than twenty-eight bytes"[:28], chunkSize=len(program.body.chunk),
                  chunk=program.body.chunk)))
    open(path("built.fxp"), "wb").write(built)
    run(["--program", "3", "--preset", "built.fxp", "--events-out", "built.csv", "--quiet"], folder)
    run(["--program", "12", "--events-out", "source.csv", "--quiet"], folder)
    check_equal(open(path("built.csv")).read(), open(path("source.csv")).read(), "render of the built program file")

    # The loaded program carries its own name into the next saved bank.
    run(["--program", "3", "--preset", "built.fxp", "--save-bank", "renamed.fxb"], folder)
    _, renamed = parse(path("renamed.fxb"), b"FBCh")
    check_equal(program_names(renamed)[3], "chord climbing arp", "bank: program 3 after loading the program file")

    # A bank cut short is refused, and nothing is written.
    open(path("short.fxb"), "wb").write(open(path("bank.fxb"), "rb").read()[:100])
    _, err = run(["--bank", "short.fxb", "--save-bank", "never.fxb"], folder, expect_status=2)
    check_equal(err, f"plimsar-render: {path('short.fxb')} is not a bank preset file plimsar can load\n", "short bank")
    check(not os.path.exists(path("never.fxb")), "a refused bank left a file behind")


if __name__ == "__main__":
    main(test)
