#!/bin/sh
# The Windows sample chain run for real: kestrune-cli.exe writes compile.bat for an input whose
# folder and name hold blanks, "%", "&", "^" and "(", Wine's cmd.exe runs it, and the log the
# chain writes must be exactly what xcopy and find print, with nothing else run.
#   sampleChainTest.sh WINE-RUN KESTRUNE-CLI.EXE SAMPLES-DIR VERSION
set -u
run=$1 cli=$2 samples=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { printf 'FAIL: %s\n' "$*"; exit 1; }
windows_path() { printf 'Z:%s' "$1" | tr / '\\'; }

mkdir -p "$work/home" "$work/in put (1) & %OS%"
cp -r "$samples/SpecFiles" "$samples/Config" "$samples/Presets" "$work/home/"
folder="$work/in put (1) & %OS%"
name='a b %OS% & ver ^ (1)'
cp "$samples/Inputs/lines.txt" "$folder/$name.txt"
home=$(windows_path "$work/home")

"$run" "$cli" --home "$home" batch "$home\\Presets\\FindText.zrp" \
    --input "$(windows_path "$folder/$name.txt")" || fail "kestrune-cli batch"
script="$work/home/compile.bat"
[ -f "$script" ] || fail "no compile.bat"
# Every line ends in CR LF, and none in a bare LF.
[ "$(tr -d '\r' < "$script" | wc -l)" -eq "$(grep -c "$(printf '\r')\$" "$script")" ] ||
    fail "compile.bat has lines without CR LF"

# The script itself, started by cmd.exe from its folder, as the shell starts it.
(cd "$work/home" && WINEDEBUG=-all "$run" cmd /c "$home\\compile.bat") > "$work/stdout" 2>&1 ||
    fail "cmd.exe failed: $(cat "$work/stdout")"

upper=$(windows_path "$folder/$name" | tr 'a-z' 'A-Z')
expected=$(printf '%s\r\n' \
    "Kestrune $version: \"$name\".txt" \
    "$(windows_path "$folder/$name.txt")" \
    "1 file(s) copied" \
    "" \
    "---------- ${upper}-COPY\\$(printf '%s' "$name" | tr 'a-z' 'A-Z').TXT" \
    "reads this file line by line:" \
    "every line with the word in it"; printf x)
log="$folder/$name.log"
[ -f "$log" ] || fail "no log written; cmd.exe printed: $(cat "$work/stdout")"
actual=$(cat "$log"; printf x)
[ "$actual" = "$expected" ] || fail "the log differs:
$(cat -A "$log")
expected:
$(printf '%s' "${expected%x}" | cat -A)"
[ -f "$folder/$name-copy/$name.txt" ] || fail "xcopy made no copy"
# The only things in the input's folder: the input, its copy's folder and the log.
[ "$(ls "$folder" | wc -l)" -eq 3 ] || fail "unexpected files: $(ls "$folder")"
echo "The sample chain ran under cmd.exe with the hostile names."
