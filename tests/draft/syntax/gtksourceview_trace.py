#!/usr/bin/python3
"""Prints how GtkSourceView colours a file with Kestrune's language: each line, then under it
the column where each style starts. A scheme made for the purpose gives each of the language's
styles a colour of its own, so a character's colour names its style.

Usage: gtksourceview_trace.py LANGUAGE_FOLDER FILE"""
import os
import sys
import tempfile

import gi

gi.require_version("GtkSource", "4")
from gi.repository import GtkSource  # noqa: E402

STYLES = ["comment", "block", "element-kind", "key", "variable", "boolean", "brace", "layout",
          "layout-line", "hint"]


def probe_scheme(folder):
    lines = ['<?xml version="1.0" encoding="UTF-8"?>',
             '<style-scheme id="kestrune-probe" name="Probe" version="1.0">']
    for number, style in enumerate(STYLES, start=1):
        lines.append(f'  <style name="kestrune:{style}" foreground="#0000{number:02x}"/>')
    lines.append("</style-scheme>")
    with open(os.path.join(folder, "probe.xml"), "w", encoding="utf-8") as out:
        out.write("\n".join(lines) + "\n")
    schemes = GtkSource.StyleSchemeManager()
    schemes.set_search_path([folder])
    return schemes.get_scheme("kestrune-probe")


def style_of(position):
    for tag in reversed(position.get_tags()):
        if tag.get_property("foreground-set"):
            blue = round(tag.get_property("foreground-rgba").blue * 255)
            if 1 <= blue <= len(STYLES):
                return STYLES[blue - 1]
    return "-"


def main():
    languages = GtkSource.LanguageManager()
    # The system folders hold the schema the language file is checked against.
    languages.set_search_path([sys.argv[1]] + languages.get_search_path())
    language = languages.get_language("kestrune")
    if language is None:
        print("kestrune: no such language in " + sys.argv[1])
        return 2
    with open(sys.argv[2], encoding="utf-8", errors="replace") as source:
        text = source.read()
    with tempfile.TemporaryDirectory() as folder:
        buffer = GtkSource.Buffer(language=language, style_scheme=probe_scheme(folder))
        buffer.set_text(text)
        buffer.ensure_highlight(buffer.get_start_iter(), buffer.get_end_iter())
        for number, line in enumerate(text.split("\n")[:-1] if text.endswith("\n")
                                      else text.split("\n")):
            spans = []
            previous = None
            for column in range(len(line)):
                style = style_of(buffer.get_iter_at_line_offset(number, column))
                if style != previous:
                    spans.append(f"{column}:{style}")
                    previous = style
            print(line)
            print("  " + " ".join(spans))
    return 0


if __name__ == "__main__":
    sys.exit(main())
