#!/usr/bin/env bash
# The bash completion of cps, asked as bash asks it when the user presses Tab.
# Arguments: the completion script and the folder with cps in it.
set -euo pipefail
script=$1
PATH=$2:$PATH
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export CPS_USER_STORE=$work/user.ini
printf '[Ports]\nCOM5=/dev/pts/radio-test\n' >"$CPS_USER_STORE"
cps new -o radio.dat
# compopt only works inside a real completion; outside one it is a no-op here.
compopt() { :; }
# shellcheck source=/dev/null
source "$script"

failures=0
# complete LINE: the words bash offers for the last word of LINE ("" after a space).
complete_line() {
    read -r -a COMP_WORDS <<<"$1"
    [[ $1 == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _cps
    printf '%s\n' "${COMPREPLY[@]}"
}
# The offers are collected first: grep -q leaving early must not fail the pipeline.
expect() {  # LINE WORD: WORD is among the offers
    local offers
    offers=$(complete_line "$1")
    if ! grep -qxF -- "$2" <<<"$offers"; then
        echo "FAIL: '$1' does not offer '$2'; it offers: $(tr '\n' ' ' <<<"$offers")"
        failures=$((failures + 1))
    fi
}
expect_not() {
    local offers
    offers=$(complete_line "$1")
    if grep -qxF -- "$2" <<<"$offers"; then
        echo "FAIL: '$1' offers '$2'"
        failures=$((failures + 1))
    fi
}

expect "cps " read
expect "cps " show
expect "cps wr" write
expect_not "cps wr" read
expect "cps help ex" export
expect "cps read --" --port
expect "cps read --" --output
expect "cps read --" --quiet
expect "cps show radio.dat --" --json
expect "cps write --port " COM1
expect "cps write --port " /dev/pts/radio-test
expect "cps show --lang " zh
expect "cps show radio.dat " optional
expect "cps show radio.dat opt" optional
expect "cps set radio.dat -o out.dat " info
expect "cps set radio.dat -o out.dat info " "Freq\\ Band="
expect "cps set radio.dat -o out.dat optional Be" "Beep="
expect "cps service " read
expect "cps info rad" radio.dat
[ "$failures" -eq 0 ] || exit 1
echo "all completions offered"
