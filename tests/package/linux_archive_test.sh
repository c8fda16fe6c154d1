#!/usr/bin/env bash
# The Linux archive as a user gets it: unpacked into a folder whose name has
# a space and letters beyond ASCII, its quenmarl-cli run from there with an
# empty environment, converting a file that sox then reads; the manual page
# documents every option --help lists and the defaults the program writes.
# Usage: tests/package/linux_archive_test.sh ARCHIVE.tar.gz
set -euo pipefail
archive=$(realpath "$1")
name=$(basename "$archive" .tar.gz)
version=${name#quenmarl-cli-}
version=${version%-linux-x86_64}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

unpacked="$work/Fördelad mapp"
mkdir -p "$unpacked"
tar -xzf "$archive" -C "$unpacked"
top="$unpacked/$name"
cli="$top/quenmarl-cli"
[[ $(cd "$unpacked" && ls -A) == "$name" ]] || fail "the archive's only top folder is not $name"
[[ $(cd "$top" && ls -A | tr '\n' ' ') == "LICENSE README.txt quenmarl-cli quenmarl-cli.1 " ]] ||
  fail "unexpected files: $(ls -A "$top" | tr '\n' ' ')"

# Nothing but the C library may be needed at run time.
needed=$(readelf -d "$cli" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | grep -Ev '^(libc|libm|ld-linux-x86-64)\.so' || true)
[[ -z "$needed" ]] || fail "quenmarl-cli needs $needed"

run() { (cd "$work" && env -i "$cli" "$@"); }
[[ $(run --version) == "quenmarl-cli $version"$'\n'"License: MIT" ]] || fail "--version: $(run --version)"

head -c 48000 /dev/urandom >"$work/in put.bin"
run --bit-depth 16 --channels 2 --sample-rate 22050 "$work/in put.bin" >/dev/null || fail "conversion failed"
wav="$work/zz_in put.wav"
[[ $(soxi -r "$wav") == 22050 && $(soxi -c "$wav") == 2 && $(soxi -b "$wav") == 16 && $(soxi -s "$wav") == 12000 ]] ||
  fail "sox reads $(soxi "$wav" 2>&1)"
[[ -f "$top/pelko.config" ]] || fail "no pelko.config beside the program"

page=$(MANWIDTH=100 man --warnings -l "$top/quenmarl-cli.1" 2>"$work/man-warnings")
[[ ! -s "$work/man-warnings" ]] || fail "man warns: $(cat "$work/man-warnings")"
# Each option's term: the indented lines starting with a dash, up to the gap
# before the meaning.
for option in $(run --help | sed -nE 's/^ +(-[^ ].*)/\1/p' | sed -E 's/  .*//' | grep -oE -- '-{1,2}[a-zA-Z][a-zA-Z-]*'); do
  grep -qF -- "$option" <<<"$page" || fail "the manual page lacks $option"
done
while IFS='=' read -r key value || [[ -n "$key" ]]; do
  grep -A3 -e "^ *$key" <<<"$page" | grep -q "Default: $value\." || fail "the manual page lacks $key's default $value"
done <"$top/pelko.config"

((failures == 0)) && echo "linux archive: all checks passed"
exit $((failures > 0))
