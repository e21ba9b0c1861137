#!/usr/bin/env python3
"""Corrects the Turtle files JUCE writes into an LV2 bundle, so that they validate.

JUCE 7.0.5 describes parameters (lv2:Parameter) with lv2:portProperty, which belongs to ports;
gives the maintainer an empty homepage and mail address (<>, the file itself); uses a program
property for its presets that it never defines; leaves out that the plug-in is a doap:Project;
and lists opts:interface as a feature of its UI (and, for a resizable editor, ui:noUserResize as
extension data).

Usage: fix_lv2_turtle.py <bundle directory> <plug-in URI>
"""

import os
import sys


def rewrite(path, change):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    fixed = change(text)
    if fixed != text:
        with open(path, "w", encoding="utf-8") as f:
            f.write(fixed)


def fix_plugin(text):
    blocks = text.split("\n\n")
    for i, block in enumerate(blocks):
        if "\ta lv2:Parameter ;" in block:
            blocks[i] = "\n".join(line for line in block.split("\n")
                                  if line.strip() != "lv2:portProperty lv2:enumeration ;")
    text = "\n\n".join(blocks)
    text = text.replace("\t\tfoaf:homepage <> ;\n", "").replace("\t\tfoaf:mbox <> ;\n", "")
    for kind in ("lv2:InstrumentPlugin", "lv2:Plugin"):
        text = text.replace("\ta %s ;\n\tdoap:name" % kind, "\ta %s , doap:Project ;\n\tdoap:name" % kind)
    return text


def fix_manifest(uri):
    program = "<%s:Program>" % uri
    definition = ("\n%s\n\ta <http://www.w3.org/1999/02/22-rdf-syntax-ns#Property> ;\n"
                  "\trdfs:label \"Program\" ;\n"
                  "\trdfs:comment \"The number of the program a preset selects.\" ;\n"
                  "\trdfs:range xsd:int .\n" % program)

    def change(text):
        if program in text and (program + "\n\ta ") not in text:
            text = text.rstrip("\n") + "\n" + definition
        return text
    return change


def drop_from_list(text, predicate, item):
    """Removes one object from a predicate's object list ("\tpredicate\n\t\ta ,\n\t\tb ;")."""
    start = text.find("\t%s\n" % predicate)
    if start < 0:
        return text
    end = text.find(" ;\n", start) + 3
    lines = text[start:end].split("\n")[1:-1]
    items = [line.strip().rstrip(",; ").strip() for line in lines]
    kept = [i for i in items if i != item]
    if kept == items or not kept:
        return text
    body = " ,\n".join("\t\t" + i for i in kept)
    return text[:start] + "\t%s\n" % predicate + body + " ;\n" + text[end:]


def fix_ui(text):
    # ui:noUserResize is a feature, not extension data; opts:interface is extension data, not a
    # feature. Which of them JUCE lists where depends on whether the editor is resizable.
    text = drop_from_list(text, "lv2:extensionData", "ui:noUserResize")
    return drop_from_list(text, "lv2:optionalFeature", "opts:interface")


def main():
    bundle, uri = sys.argv[1], sys.argv[2]
    rewrite(os.path.join(bundle, "dsp.ttl"), fix_plugin)
    rewrite(os.path.join(bundle, "manifest.ttl"), fix_manifest(uri))
    rewrite(os.path.join(bundle, "ui.ttl"), fix_ui)


if __name__ == "__main__":
    main()
