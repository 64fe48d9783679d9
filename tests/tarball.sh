#!/usr/bin/env bash
# The Linux tarball as a player gets it, in a system without SFML and without OpenAL: unpacked
# in a folder whose name has a space, linked from a folder on the PATH and started through the
# link from other folders, it plays a session end to end on a private X server (tests/e2e.sh)
# and its sound is recorded (tests/sound.sh), with the libraries it carries.
# Usage: tests/tarball.sh path/to/twinrun-<version>-linux-x86_64.tar.gz, from the repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"
tarball="${game[0]}"

# The system has neither library that the tarball carries or links in: what plays is the
# tarball's own.
for library in libsfml libopenal; do
  ! ldconfig -p | grep -q "$library" || fail "the system has $library: $(ldconfig -p | grep "$library")"
done

mkdir -p "$tmp/my games" "$tmp/bin"
tar -xzf "$tarball" -C "$tmp/my games"
folders=("$tmp/my games"/*)
[ "${#folders[@]}" -eq 1 ] && [ -x "${folders[0]}/twinrun" ] || fail "the tarball holds ${folders[*]}"
ln -s "${folders[0]}/twinrun" "$tmp/bin/twinrun"
# The loader takes OpenAL Soft from the tarball's lib/ and finds every other library. (ldd
# resolves $ORIGIN from the path it is given, unlike a started program: not through the link.)
linked="$(ldd "${folders[0]}/twinrun")"
! grep -q 'not found' <<<"$linked" || fail "libraries not found: $(grep 'not found' <<<"$linked")"
grep -qF "${folders[0]}/lib/libopenal.so.1" <<<"$linked" || fail "OpenAL Soft not from lib/: $linked"

"$root/tests/e2e.sh" "$tmp/bin/twinrun" --elsewhere
"$root/tests/sound.sh" "$tmp/bin/twinrun" --elsewhere
echo "tarball: $(basename "$tarball") played through a link from other folders, with its sound"
