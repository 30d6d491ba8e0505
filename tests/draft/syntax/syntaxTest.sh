#!/bin/sh
# The .zrs colouring through the editors' own libraries: KSyntaxHighlighting's highlighter with
# Kestrune's definition, and GtkSourceView with Kestrune's language. A file with every kind of
# line is coloured exactly as expected, and the shipped samples colour without an error.
# Usage: syntaxTest.sh SOURCE_DIR
set -eu
source_dir=$1
data=$source_dir/tests/data/syntax
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

if ! command -v kate-syntax-highlighter > /dev/null; then
    echo "kate-syntax-highlighter is missing (libkf5syntaxhighlighting-tools)"
    exit 1
fi
mkdir -p "$work/data/org.kde.syntax-highlighting/syntax"
cp "$source_dir/data/syntax/kestrune.xml" "$work/data/org.kde.syntax-highlighting/syntax/"
kate_trace() {
    XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data:/usr/share" QT_QPA_PLATFORM=offscreen \
        kate-syntax-highlighter -s "Kestrune Specification" -f ansi --syntax-trace format "$1" \
        | sed 's/\x1b\[[0-9;]*[mK]//g'
}
kate_trace "$data/colours.zrs" > "$work/kate.txt"
if ! diff -u "$data/colours.kate.txt" "$work/kate.txt"; then
    echo "KSyntaxHighlighting colours differ"
    status=1
fi

gtk_trace() {
    /usr/bin/python3 "$source_dir/tests/draft/syntax/gtksourceview_trace.py" \
        "$source_dir/data/syntax" "$1"
}
gtk_trace "$data/colours.zrs" > "$work/gtk.txt"
if ! diff -u "$data/colours.gtksourceview.txt" "$work/gtk.txt"; then
    echo "GtkSourceView colours differ"
    status=1
fi

# Both libraries pick the colours by themselves for a .zrs file and for the MIME type.
XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/data:/usr/share" QT_QPA_PLATFORM=offscreen \
    kate-syntax-highlighter -f ansi --syntax-trace format "$data/colours.zrs" |
    sed 's/\x1b\[[0-9;]*[mK]//g' > "$work/kate-guessed.txt"
if ! diff -q "$data/colours.kate.txt" "$work/kate-guessed.txt" > /dev/null; then
    echo "KSyntaxHighlighting does not choose Kestrune's definition for a .zrs file"
    status=1
fi
guessed=$(/usr/bin/python3 -c '
import sys, gi
gi.require_version("GtkSource", "4")
from gi.repository import GtkSource
languages = GtkSource.LanguageManager()
languages.set_search_path([sys.argv[1]] + languages.get_search_path())
for name, mime in (("a.zrs", None), (None, "text/x-kestrune-specification")):
    language = languages.guess_language(name, mime)
    print(language.get_id() if language else "none")
' "$source_dir/data/syntax")
if [ "$guessed" != "$(printf 'kestrune\nkestrune')" ]; then
    echo "GtkSourceView guesses $guessed for a .zrs file and the MIME type"
    status=1
fi

# The samples: every line starting with "//" is a comment, element kinds and variables are
# found, and no line is an unknown key.
for sample in "$source_dir"/samples/SpecFiles/*.zrs; do
    kate_trace "$sample" > "$work/sample.kate"
    for format in Comment "Element Kind" Variable "Layout Line" Block Key; do
        if ! grep -q "$format" "$work/sample.kate"; then
            echo "$sample: no $format in KSyntaxHighlighting's colours"
            status=1
        fi
    done
    if grep -q "Unknown Key" "$work/sample.kate"; then
        echo "$sample: an unknown key in KSyntaxHighlighting's colours"
        status=1
    fi
    gtk_trace "$sample" > "$work/sample.gtk"
    for style in comment element-kind variable layout-line block key hint; do
        if ! grep -q " 0*[0-9]*:$style" "$work/sample.gtk"; then
            echo "$sample: no $style in GtkSourceView's colours"
            status=1
        fi
    done
    # A line that is only a comment is a comment from its first column.
    if awk 'prev ~ /^\/\// && $0 != "  0:comment" { bad = 1 } { prev = $0 } END { exit !bad }' \
        "$work/sample.gtk"; then
        echo "$sample: a comment line GtkSourceView does not colour as a comment"
        status=1
    fi
done
exit $status
