#!/bin/bash
# The bash completion of hexzwirbel-cli, driven as bash drives it: the line up to the cursor
# in COMP_LINE, the function called, COMPREPLY read. Checks commands, options per command,
# file names, the control names after --do from the input file, and that the completion's
# option table still says what `hexzwirbel-cli --help` says.
#
#   bash_completion.sh COMPLETION_FILE CLI_EXE FIXTURE_DIR EXAMPLES_DIR
set -u
completion=$1 cli=$2 fixtures=$3 examples=$4

failures=0
fail() { echo "bash_completion: $*" >&2; failures=$((failures + 1)); }

# compopt works only while bash completes; here it is recorded instead.
compopt() { compopt_args="$*"; }
# shellcheck source=/dev/null
. "$completion"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/bin" "$tmp/work/Ordner"
ln -s "$cli" "$tmp/bin/hexzwirbel-cli"
PATH=$tmp/bin:$PATH
cp "$fixtures/zusatz_684_ampel340.hex" "$tmp/work/ampel.hex"
cp "$examples/forsta_16f18324.hex" "$examples/stellino_12f629.hex" "$tmp/work/"
: >"$tmp/work/notiz.txt"
cd "$tmp/work" || exit 1

# complete LINE: `got` is COMPREPLY for the cursor at the end of LINE, one entry a line,
# sorted; `compopt_args` what the completion set with compopt. (Not in a subshell, so that
# both stay visible.)
complete_line() {
    COMP_LINE=$1
    COMP_POINT=${#1}
    read -ra COMP_WORDS <<<"$1"
    [[ $1 == *' ' ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    compopt_args=
    COMPREPLY=()
    _hexzwirbel_cli
    got=$(printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort)
}

# expect LINE WANTED...: every WANTED is offered. (Entries keep their trailing "=" or space.)
expect() {
    local line=$1 w
    shift
    complete_line "$line"
    for w in "$@"; do
        grep -qxF -- "$w" <<<"$got" || fail "\"$line\": \"$w\" fehlt in: $(tr '\n' '|' <<<"$got")"
    done
}
# refuse LINE UNWANTED...: no UNWANTED is offered.
refuse() {
    local line=$1 w
    shift
    complete_line "$line"
    for w in "$@"; do
        ! grep -qxF -- "$w" <<<"$got" || fail "\"$line\": \"$w\" wird angeboten"
    done
}
# exactly LINE WANTED...: exactly these are offered, in any order.
exactly() {
    local line=$1 want
    shift
    complete_line "$line"
    want=$(printf '%s\n' "$@" | LC_ALL=C sort)
    [[ $got == "$want" ]] || fail "\"$line\": erwartet $(tr '\n' '|' <<<"$want"), bekommen $(tr '\n' '|' <<<"$got")"
}

# Commands, and after a command its options (and those before it).
exactly "hexzwirbel-cli " info convert set types dump compare mnemonic diff migrate series doc overview sheet help
exactly "hexzwirbel-cli m" migrate mnemonic
exactly "hexzwirbel-cli --default-config se" set series
exactly "hexzwirbel-cli help m" migrate mnemonic
exactly "hexzwirbel-cli info ampel.hex --" --json --default-config --help
exactly "hexzwirbel-cli set ampel.hex -o x.hex --s" --strict
expect "hexzwirbel-cli set ampel.hex -" --do --row -o --strict --default-config --help
refuse "hexzwirbel-cli set ampel.hex -" --json --count
exactly "hexzwirbel-cli series ampel.hex --c" --count
exactly "hexzwirbel-cli overview Ordner --" --json --csv --html --default-config --help
exactly "hexzwirbel-cli overview Ordner --html n" notiz.txt
exactly "hexzwirbel-cli sheet ampel.hex --" --html --pdf --default-config --help

# File names where a file goes: inputs, -o; none for commands that take no file, or after
# options that take a number or a row.
exactly "hexzwirbel-cli info " ampel.hex forsta_16f18324.hex notiz.txt Ordner stellino_12f629.hex
exactly "hexzwirbel-cli compare ampel.hex s" stellino_12f629.hex
exactly "hexzwirbel-cli convert ampel.hex -o n" notiz.txt
exactly "hexzwirbel-cli sheet ampel.hex --pdf n" notiz.txt
[[ $compopt_args == *filenames* ]] || fail "Dateinamen ohne -o filenames"
exactly "hexzwirbel-cli mnemonic "
exactly "hexzwirbel-cli types "
exactly "hexzwirbel-cli series ampel.hex -o 'd{n}.hex' --count "
exactly "hexzwirbel-cli set ampel.hex -o x.hex --row "

# --do: the controls the input file's page shows, with "=" where a value follows and a space
# after a click; not labels, not hidden controls, not controls of another file.
expect "hexzwirbel-cli set ampel.hex -o x.hex --do " "TrackBar_01=" "edt_adr_1=" "edt_adr_4=" "btn_RG_2 "
refuse "hexzwirbel-cli set ampel.hex -o x.hex --do " "lbl_adr_1=" "lbl_adr_1 " "pnl_Zusatz=" "cbx_zusatz_1=" "CvEdits\[0\]="
exactly "hexzwirbel-cli set stellino_12f629.hex -o x.hex --do cbx_z" "cbx_zusatz_1=" "cbx_zusatz_2="
[[ $compopt_args == *nospace* ]] || fail "--do ohne -o nospace"
# Names with brackets come quoted for the shell; options and earlier actions in between do
# not hide the input file.
expect "hexzwirbel-cli set --strict forsta_16f18324.hex -o x.hex --do 'CvEdits[0]=4' --row 1=3 --do CvEdits" \
    "CvEdits\[0\]=" "CvEdits\[5\]="
exactly "hexzwirbel-cli set ampel.hex -o x.hex --do edt_adr_1=4"
exactly "hexzwirbel-cli set fehlt.hex -o x.hex --do "
exactly "hexzwirbel-cli set -o x.hex --do "

# The table of the completion against the tool's own help: each command's usage (the lines up
# to the first blank one of `help CMD`) names the options the completion offers for it.
help=$("$cli" --help) || fail "hexzwirbel-cli --help"
commands=$(sed -n 's/^  \([a-z]\+\)\( .*\)\?$/\1/p' <<<"$help")
[[ -n $commands ]] || fail "keine Befehle in --help"
for c in $commands; do
    usage=$("$cli" help "$c" | sed '/^$/q; s/hexzwirbel-cli//g') || fail "hexzwirbel-cli help $c"
    from_help=$(grep -o -- '-\{1,2\}[a-z][-a-z]*' <<<"$usage" | grep -vxF -- "$_hexzwirbel_cli_global" | LC_ALL=C sort -u)
    in_table=$(sed -n "s/^$c\\( \\|\$\\)//p" <<<"$_hexzwirbel_cli_table" | tr -s ' ' '\n' | sed '/^$/d' | LC_ALL=C sort -u)
    [[ $from_help == "$in_table" ]] ||
        fail "Optionen von $c: help $c sagt $(echo $from_help), die Ergänzung kennt $(echo $in_table)"
done
for c in $(sed -n 's/^\([a-z]\+\).*/\1/p' <<<"$_hexzwirbel_cli_table"); do
    [[ $c == help ]] || grep -qxF "$c" <<<"$commands" || fail "$c steht in der Ergänzung, aber nicht in --help"
done

[[ $failures -eq 0 ]] || exit 1
echo "bash_completion: ok"
