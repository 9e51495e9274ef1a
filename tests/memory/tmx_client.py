"""translate-toolkit's side of the TMX tests.

  tmx_client.py read FILE   prints the units translate-toolkit reads from FILE
                            as JSON: [[source language, target language,
                            source, target], ...]
  tmx_client.py write FILE  reads JSON [[source, target], ...] on standard
                            input and writes them to FILE as translate-toolkit
                            writes TMX (source "en", target "de")

The JSON is ASCII, so that neither side depends on a locale's encoding.
"""

import json
import sys

from translate.misc.xml_helpers import getXMLlang
from translate.storage import tmx


def read(path):
    with open(path, "rb") as file:
        store = tmx.tmxfile(file)
    units = []
    for unit in store.units:
        nodes = unit.getlanguageNodes()
        languages = [getXMLlang(node) for node in nodes[:2]]
        units.append(languages + [unit.source, unit.target])
    json.dump(units, sys.stdout, ensure_ascii=True)


def write(path):
    pairs = json.load(sys.stdin)
    store = tmx.tmxfile(sourcelanguage="en", targetlanguage="de")
    for source, target in pairs:
        store.addtranslation(source, "en", target, "de")
    with open(path, "wb") as file:
        store.serialize(file)


if __name__ == "__main__":
    {"read": read, "write": write}[sys.argv[1]](sys.argv[2])
