#!/usr/bin/env bash
# The Debian package as apt would install it, unpacked into a scratch root
# (dpkg -x, nothing installed on this machine): its fields, exactly its
# three files, and the program run from there. The program's folder is made
# read-only, as /usr/bin is for a user, so the settings go to the user's own
# folder, made with the defaults.
# Usage: tests/package/linux_deb_test.sh PACKAGE.deb
set -euo pipefail
deb=$(realpath "$1")
work=$(mktemp -d)
cleanup() {
  umount "$work/root/usr/bin" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAILED: $*" >&2; failures=$((failures + 1)); }

version=$(basename "$deb" .deb)
version=${version#quenmarl-cli_}
version=${version%_amd64}
[[ $(dpkg-deb -f "$deb" Package Version Architecture | tr '\n' ' ') == \
  "Package: quenmarl-cli Version: $version Architecture: amd64 " ]] || fail "fields: $(dpkg-deb -f "$deb")"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $6}' | tr '\n' ' ')
[[ $files == "./usr/bin/quenmarl-cli ./usr/share/doc/quenmarl-cli/copyright ./usr/share/man/man1/quenmarl-cli.1.gz " ]] ||
  fail "files: $files"
dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -qE 'inst|rm$' && fail "it runs scripts on install or removal"

dpkg -x "$deb" "$work/root"
cli="$work/root/usr/bin/quenmarl-cli"
zcat "$work/root/usr/share/man/man1/quenmarl-cli.1.gz" | grep -qF -- 'to\-bytes' || fail "the manual page lacks --to-bytes"
if mount --bind "$work/root/usr/bin" "$work/root/usr/bin" 2>/dev/null &&
  mount -o remount,ro,bind "$work/root/usr/bin" 2>/dev/null; then
  head -c 4000 /dev/urandom >"$work/in.bin"
  out=$(cd "$work" && env -i HOME="$work/home" "$cli" in.bin 2>&1) || fail "conversion failed: $out"
  [[ -f "$work/zz_in.wav" ]] || fail "no zz_in.wav"
  [[ $(cat "$work/home/.config/quenmarl/pelko.config") == "bit_depth=8"* ]] || fail "no settings in the user's folder"
  [[ ! -e "$work/root/usr/bin/pelko.config" ]] || fail "settings beside the installed program"
  [[ $out != *"default settings"* ]] || fail "fell back to the defaults: $out"
else
  echo "linux package: no read-only mount here (not root); the settings folder is not checked" >&2
fi
((failures == 0)) && echo "linux package: all checks passed"
exit $((failures > 0))
