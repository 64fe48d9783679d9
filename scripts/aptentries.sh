# The system's own Debian package repositories, as apt lists them. Sourced by scripts/windows-deps
# and scripts/in-debian, so that no host name is written in the project.
# shellcheck shell=bash

# The running release's code name (bookworm, trixie, ...); "none" where the system doesn't say.
running_codename() { (. /etc/os-release && echo "${VERSION_CODENAME:-none}"); }

# apt itself lists the configured entries (it reads both the one-line and the deb822 format).
# Kept: the repositories whose fetched Release file says Origin: Debian; if the system's
# package lists were never fetched there is no Origin to read, so this release's suites.
# Prints one line per repository and suite: "URI SUITE COMPONENT...".
debian_entries() {
  local codename debian
  codename="$(running_codename)"
  debian="$(apt-get indextargets --format '$(REPO_URI) $(RELEASE) $(ORIGIN)' 'Created-By: Packages' |
    awk '$3 == "Debian" { printf "%s %s|", $1, $2 }')"
  apt-get indextargets --no-release-info --format '$(REPO_URI) $(RELEASE) $(COMPONENT)' \
    'Created-By: Packages' | awk -v debian="$debian" -v codename="$codename" '
      BEGIN { n = split(debian, d, "|"); for (i = 1; i <= n; i++) keep[d[i]] = 1 }
      { key = $1 " " $2 }
      NF >= 3 && (n ? key in keep : $2 ~ "^" codename "(-|$)") {
        if (!(key in comps)) order[++count] = key
        if (index(comps[key] " ", " " $3 " ") == 0) comps[key] = comps[key] " " $3
      }
      END { for (i = 1; i <= count; i++) print order[i] comps[order[i]] }'
}
