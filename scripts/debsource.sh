# Debian's source packages through a private apt state with deb-src twins of the system's own
# Debian entries, so that /etc/apt and /var/lib/apt stay as they are. Sourced by
# scripts/deps, which sets aptdir (the state's folder) and log and die.
# shellcheck shell=bash disable=SC2154 # aptdir comes from the script that sources this

# shellcheck source=scripts/aptentries.sh
source "$(dirname "${BASH_SOURCE[0]}")/aptentries.sh"

# Writes the private apt state in $aptdir: its own config, sources, lists, cache and (empty)
# dpkg status. Its entries are read from stdin, one line per repository and suite:
# "URI SUITE COMPONENT...".
setup_private_apt() {
  mkdir -p "$aptdir/sources.list.d" "$aptdir/state/lists/partial" "$aptdir/cache/archives/partial"
  : >"$aptdir/sources.list"
  touch "$aptdir/state/status"
  local uri suite comps
  while read -r uri suite comps; do
    printf 'Types: deb-src\nURIs: %s\nSuites: %s\nComponents: %s\nSigned-By: %s\n\n' \
      "$uri" "$suite" "$comps" /usr/share/keyrings/debian-archive-keyring.gpg
  done >"$aptdir/sources.list.d/debian-src.sources"
  [ -s "$aptdir/sources.list.d/debian-src.sources" ] || die "no Debian entries found in apt's sources"
  cat >"$aptdir/apt.conf" <<EOF
Dir::Etc::SourceList "$aptdir/sources.list";
Dir::Etc::SourceParts "$aptdir/sources.list.d";
Dir::State "$aptdir/state";
Dir::State::status "$aptdir/state/status";
Dir::Cache "$aptdir/cache";
// The cache may sit in a home folder that apt's unprivileged _apt user cannot enter.
APT::Sandbox::User "$(id -un)";
// The system's update hooks (appstream, packagekit) refresh system state: not ours to touch.
#clear APT::Update::Pre-Invoke;
#clear APT::Update::Post-Invoke;
#clear APT::Update::Post-Invoke-Success;
EOF
}

apt_private() { apt-get -c "$aptdir/apt.conf" "$@"; }

# Fetches the private state's source lists; an earlier run's lists do when that fails.
update_private_apt() {
  apt_private -qq update >&2 && return 0
  compgen -G "$aptdir/state/lists/*Sources*" >/dev/null || die "could not fetch the source lists"
  log "could not refresh the source lists; using the ones from an earlier run"
}

# Sets up the private state of the Debian release next to the running one, $1 (next or
# previous; distro-info-data knows the order), with the running release's repositories: its
# main suite only.
other_release_apt() {
  local codename other
  codename="$(running_codename)"
  other="$(awk -F, -v c="$codename" -v want="$1" '
    $3 == c { found = 1; if (want == "previous") { print prev; exit } next }
    found { print $3; exit }
    { prev = $3 }' /usr/share/distro-info/debian.csv)"
  [ -n "$other" ] || die "no Debian release $1 to $codename in distro-info-data"
  debian_entries | awk -v c="$codename" -v o="$other" '$2 == c { $2 = o; print }' | setup_private_apt
  update_private_apt
}

# Prints "name version" of the source package that builds binary package $1.
source_of() {
  local dsc
  dsc="$(apt_private source --print-uris "$1" 2>/dev/null |
    sed -n "s/^'[^']*' \([^ ]*\)\.dsc .*/\1/p" | head -n 1)"
  [ -n "$dsc" ] || die "no source package found for $1"
  echo "${dsc%%_*} ${dsc#*_}"
}

# Prints the versions of source package $1 that the lists know, newest first.
source_versions() {
  local version sorted=() i
  while read -r version; do
    for ((i = 0; i < ${#sorted[@]}; i++)); do
      dpkg --compare-versions "$version" gt "${sorted[i]}" && break
    done
    sorted=("${sorted[@]:0:i}" "$version" "${sorted[@]:i}")
  done < <(apt-cache -c "$aptdir/apt.conf" showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -u)
  printf '%s\n' "${sorted[@]}"
}

# Downloads source package $1 version $2 into folder $3, whose file "fetched" then says that
# apt got every file and checked it against the signed Sources index. Fails, leaving no folder,
# when the archive does not serve them all.
fetch_source() {
  rm -rf "$3" && mkdir -p "$3" || return 1
  if (cd "$3" && apt_private -qq source --download-only "$1=$2") >&2; then
    touch "$3/fetched"
  else
    rm -rf "$3" && return 1
  fi
}

# Unpacks the source package fetched into folder $1 (with Debian's patches) to folder $2.
unpack_source() {
  # --no-check: apt has already checked the files against the signed Sources index.
  dpkg-source --no-check -x "$1"/*.dsc "$2" >/dev/null
}

# Prints "URI FILE SHA256" of the upstream tarball of the source package that builds binary
# package $1.
upstream_of() {
  apt_private source --print-uris "$1" 2>/dev/null |
    sed -n "s/^'\([^']*\)' \([^ ]*\.orig\.tar\.[a-z0-9]*\) [0-9]* SHA256:\([0-9a-f]*\)$/\1 \2 \3/p" |
    head -n 1
}

# Downloads the upstream tarball $1 (a line of upstream_of) into folder $2, checked against the
# signed index's checksum; fails when the archive does not serve it.
fetch_upstream() {
  local uri file sha
  read -r uri file sha <<<"$1"
  mkdir -p "$2"
  /usr/lib/apt/apt-helper -c "$aptdir/apt.conf" download-file "$uri" "$2/$file" "SHA256:$sha" \
    >/dev/null 2>&1
}
