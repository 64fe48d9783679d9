# Checks of the built Debian package that need no installing: its files, its control fields,
# lintian's verdict, its changelog, menu entry, AppStream metadata and icons, and its twinrun
# command unpacked elsewhere and reached through a link. Sourced by scripts/package, which
# sets root.
# shellcheck shell=bash disable=SC2154 # root comes from scripts/package

# Checks the .deb $1 and ends the script with a message at the first fault. Runs in a subshell
# of its own, which removes its temporary folder when it ends.
checkPackage() (
  set -euo pipefail
  package="$1"
  # A space in the path catches a launcher that splits its own location.
  tmp="$(mktemp -d "${TMPDIR:-/tmp}/twinrun package.XXXXXX")"
  trap 'rm -rf "$tmp"' EXIT
  fail() {
    echo "scripts/package: $(basename "$package"): $*" >&2
    exit 1
  }

  # Exactly the game's files, with their modes, owned by root: nothing from the tests or the
  # benchmarks.
  {
    echo "-rwxr-xr-x ./usr/games/twinrun"
    echo "-rwxr-xr-x ./usr/libexec/twinrun/twinrun"
    while read -r asset; do
      echo "-rw-r--r-- ./usr/share/games/twinrun/src/$asset"
    done <"$root/scripts/assets.list"
    echo "-rw-r--r-- ./usr/share/applications/twinrun.desktop"
    echo "-rw-r--r-- ./usr/share/metainfo/invalid.twinrun.twinrun.metainfo.xml"
    echo "-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/twinrun.png"
    echo "-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/twinrun.png"
    echo "-rw-r--r-- ./usr/share/man/man6/twinrun.6.gz"
    echo "-rw-r--r-- ./usr/share/doc/twinrun/copyright"
    echo "-rw-r--r-- ./usr/share/doc/twinrun/Pixellari.LICENSE.txt"
    echo "-rw-r--r-- ./usr/share/doc/twinrun/changelog.gz"
    echo "-rw-r--r-- ./usr/share/lintian/overrides/twinrun"
  } | sort >"$tmp/expected"
  dpkg-deb -c "$package" | awk '$1 !~ /^d/ { print $1, $6 }' | sort >"$tmp/files"
  diff -u "$tmp/expected" "$tmp/files" >&2 || fail "its files differ (+ found, - expected)"
  dpkg-deb -c "$package" | awk '$2 != "root/root" { exit 1 }' || fail "files not owned by root"

  field() { dpkg-deb -f "$package" "$1"; }
  [ "$(field Package)" = twinrun ] && [ "$(field Section)" = games ] ||
    fail "Package: $(field Package), Section: $(field Section)"
  # The SFML libraries of the release it is built on (libsfml-graphics2.5 on Debian 12,
  # libsfml-graphics2.6 on Debian 13), each module the game links, and Mesa's drivers.
  depends="$(field Depends)"
  sfml="$(dpkg-query -W -f '${Version}' libsfml-dev | sed -E 's/^([0-9]+:)?([0-9]+\.[0-9]+).*/\2/')"
  for needed in libsfml-{audio,graphics,system,window}"$sfml" libgl1-mesa-dri; do
    [[ ", $depends" == *", $needed "* || ", $depends," == *", $needed,"* ]] ||
      fail "Depends has no $needed: $depends"
  done

  # Debian's own checks: any error or warning fails (informational tags are shown too); the
  # package's overrides say why each holds.
  lintian --fail-on error,warning --display-info "$package" >&2 || fail "lintian found faults"

  dpkg-deb -x "$package" "$tmp/root"
  # The changelog's latest entry is this version.
  zcat "$tmp/root/usr/share/doc/twinrun/changelog.gz" >"$tmp/changelog"
  logged="$(dpkg-parsechangelog -l "$tmp/changelog" -S Version)"
  [ "$logged" = "$(field Version)" ] ||
    fail "version $(field Version), but the changelog's latest entry is $logged"
  desktop-file-validate "$tmp/root/usr/share/applications/twinrun.desktop" >&2 ||
    fail "invalid desktop entry"
  # The AppStream metadata with the menu entry it launches, failing on anything more than a
  # pedantic hint; the id in the reserved .invalid domain, which the validator doesn't know,
  # is one by choice (see the file).
  hints=(cid-maybe-not-rdns)
  # AppStream 1.0 (Debian 13) also asks for a <developer> block, which AppStream 0.16 (Debian
  # 12) doesn't know: the file keeps the <developer_name> that both read. Older validators
  # refuse these hints' names.
  if appstreamcli --version | grep -q 'version: [1-9]'; then
    hints+=(developer-name-tag-deprecated developer-info-missing)
  fi
  # One --override with a comma-separated list: AppStream 1.0 keeps only the last of several.
  overrides="$(printf '%s=pedantic,' "${hints[@]}")"
  appstreamcli validate-tree --strict --no-net --override="${overrides%,}" "$tmp/root" >&2 ||
    fail "invalid AppStream metadata"
  metainfo="$tmp/root/usr/share/metainfo/invalid.twinrun.twinrun.metainfo.xml"
  released="$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1 | cut -d '"' -f 2)"
  [ "$released" = "$(field Version)" ] ||
    fail "version $(field Version), but the AppStream metadata's latest release is $released"
  for size in 128x128 256x256; do
    icon="$tmp/root/usr/share/icons/hicolor/$size/apps/twinrun.png"
    [ "$(identify -format %wx%h "$icon")" = "$size" ] || fail "its icon of $size has another size"
  done

  # Through a link, as from a folder on the PATH, the unpacked command still finds the game and
  # passes on its status: without a display the game says so and ends with 1. On a private X
  # server it shows the lobby.
  ln -s "$tmp/root/usr/games/twinrun" "$tmp/link"
  code=0
  (cd / && env -u DISPLAY "$tmp/link") 2>"$tmp/err" || code=$?
  [ "$code" -eq 1 ] && grep -q "DISPLAY is not set" "$tmp/err" ||
    fail "without a display: status $code, $(cat "$tmp/err")"
  "$root/packaging/check-command" "$tmp/link" >&2
)
