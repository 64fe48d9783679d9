#!/usr/bin/env bash
# The Linux tarball as a player gets it, in a system without SFML and without OpenAL: unpacked
# in a folder whose name has a space, linked from a folder on the PATH and started through the
# link from other folders, it plays a session end to end on a private X server (tests/e2e.sh)
# and its sound is recorded (tests/sound.sh), with the libraries it carries.
# Usage: tests/tarball.sh path/to/twinrun-<version>-linux-x86_64.tar.gz, from the repository root.
# shellcheck source=tests/driver.sh
source "$(dirname "$0")/driver.sh"
tarball="${game[0]}"

# The system has neither library that the tarball carries or links in: what plays, and records
# its sound, is the tarball's own, found by the loader from lib/.
! ldconfig -p | grep -E 'libsfml|libopenal' || fail "the system has the libraries above"

mkdir -p "$tmp/my games" "$tmp/bin"
tar -xzf "$tarball" -C "$tmp/my games"
folders=("$tmp/my games"/*)
[ "${#folders[@]}" -eq 1 ] && [ -x "${folders[0]}/twinrun" ] || fail "the tarball holds ${folders[*]}"
ln -s "${folders[0]}/twinrun" "$tmp/bin/twinrun"

"$root/tests/e2e.sh" "$tmp/bin/twinrun" --elsewhere
"$root/tests/sound.sh" "$tmp/bin/twinrun" --elsewhere
echo "tarball: $(basename "$tarball") played through a link from other folders, with its sound"
