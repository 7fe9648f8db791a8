#!/bin/sh
# Unpacks Debian's source packages, with Debian's own patches applied, into DEST.
# Only apt is used: a deb-src entry mirroring the machine's deb entries is added for the
# fetch and taken away again, so the machine's sources are left as they were.
# Usage: debian-source.sh DEST SOURCE[=VERSION]...  a VERSION given: that one or none
#        debian-source.sh --versions BINARY...      prints SOURCE=VERSION for the source
#          of each binary package's version apt would install (its candidate), from
#          apt's lists alone: no root, no network. Builds keyed on these take Debian's
#          fixes as soon as the machine's lists have them.
set -eu

if [ "$1" = --versions ]; then
  shift
  for binary in "$@"; do
    # A binary rebuilt on its own (1.2-3+b1) names its source's version in brackets.
    apt-cache show --no-all-versions "$binary" 2>/dev/null | awk '
      /^$/ { exit }
      /^Package: / { package = $2 }
      /^Source: / { source = $2; if ($3 ~ /^\(/) { built = $3; gsub(/[()]/, "", built) } }
      /^Version: / { version = $2 }
      END { if (version == "") exit 1; print (source ? source : package) "=" (built ? built : version) }' ||
      { echo "debian-source.sh: apt knows no package $binary (apt-get update?)" >&2; exit 1; }
  done
  exit 0
fi

dest="$1"
shift
mkdir -p "$dest"

SUDO=""
if [ "$(id -u)" != 0 ]; then SUDO="sudo"; fi
if ! command -v dpkg-source >/dev/null; then
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends dpkg-dev
fi

entry=/etc/apt/sources.list.d/dreel-deb-src.sources
added=""
if ! apt-cache showsrc "${1%%=*}" 2>/dev/null | grep -q '^Package:'; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ "$f" = "$entry" ] || sed 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done | $SUDO tee "$entry" >/dev/null
  added=yes
  $SUDO apt-get update
fi

# Without a version the newest first; a mirror may list a version it cannot serve, so an
# older one of the same package is taken when the newest fails to download.
fetch() {
  name="${1%%=*}"
  if [ "$name" != "$1" ]; then
    versions="${1#*=}"
  else
    versions="$(apt-cache showsrc --only-source "$name" | sed -n 's/^Version: //p' | sort -u -r -V)"
  fi
  for version in $versions; do
    if (cd "$dest" && apt-get source --only-source "$name=$version"); then return 0; fi
    echo "debian-source.sh: $name $version could not be fetched" >&2
  done
  echo "debian-source.sh: no version of $1 could be fetched (apt-get update, then again?)" >&2
  return 1
}
status=0
for package in "$@"; do
  fetch "$package" || status=1
done
if [ -n "$added" ]; then
  $SUDO rm -f "$entry"
fi
exit $status
