#!/bin/sh
# Every shell example of the READMEs runs as written. Each ```sh block is run, command by
# command, in a scratch folder holding a copy of examples/, with the programs of this build
# first in PATH; the commands of one README share the folder, so a later one may read what an
# earlier one wrote. A command must exit 0, unless its comment says otherwise ("# exit 1",
# "# Rückgabewert 1"). A block that cannot run here (it installs, builds or opens a window)
# says so on the line before it: <!-- not run: REASON -->.
#
#   readme_examples.sh CLI_EXE GUI_EXE EXAMPLES_DIR README...
set -u
cli=$1 gui=$2 examples=$3
shift 3

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
bin=$tmp/bin
mkdir -p "$bin"
ln -s "$cli" "$bin/hexzwirbel-cli"
ln -s "$gui" "$bin/hexzwirbel"
failures=0 ran=0

# The commands of the runnable blocks of README $1, one a line (continuation lines joined),
# each preceded by its line number and a tab.
commands() {
    awk '
        /^```/ && inblock { inblock = 0; next }
        /^```sh[[:space:]]*$/ { inblock = 1; skip = (last ~ /^<!-- not run/); cmd = ""; next }
        inblock && !skip {
            if (cmd == "") start = NR
            line = $0
            if (line ~ /\\$/) { cmd = cmd substr(line, 1, length(line) - 1); next }
            cmd = cmd line
            if (cmd !~ /^[[:space:]]*(#.*)?$/) print start "\t" cmd
            cmd = ""
            next
        }
        NF { last = $0 }
    ' "$1"
}

for readme in "$@"; do
    name=$(basename "$readme")
    work=$tmp/$name
    mkdir -p "$work"
    cp -R "$examples" "$work/examples"
    commands "$readme" >"$tmp/commands"
    [ -s "$tmp/commands" ] || { echo "readme_examples: $name: kein Beispiel gefunden" >&2; failures=$((failures + 1)); }
    while IFS='	' read -r line cmd; do
        # The expected exit code from the command's comment, 0 without one.
        expected=$(printf '%s\n' "$cmd" | sed -n 's/.*[[:space:]]#.*\(exit\|Rückgabewert\) \([0-9]\+\).*/\2/p')
        [ -n "$expected" ] || expected=0
        (cd "$work" && PATH=$bin:$PATH QT_QPA_PLATFORM=offscreen sh -c "$cmd") </dev/null >"$tmp/out" 2>"$tmp/err"
        code=$?
        ran=$((ran + 1))
        if [ "$code" -ne "$expected" ]; then
            echo "readme_examples: $name:$line: Rückgabewert $code statt $expected: $cmd" >&2
            sed 's/^/    /' "$tmp/err" >&2
            failures=$((failures + 1))
        fi
    done <"$tmp/commands"
done

[ "$failures" -eq 0 ] || exit 1
echo "readme_examples: ok ($ran Befehle)"
