#!/bin/sh
# Unpacks Debian's source packages, with Debian's own patches applied, into DEST.
# Only apt is used: a deb-src entry mirroring the machine's deb entries is added for the
# fetch and taken away again, so the machine's sources are left as they were.
# Usage: debian-source.sh DEST SOURCE[=VERSION]...  a VERSION given: that one first;
#          DEST/versions then lists the SOURCE=VERSION of each package unpacked
#        debian-source.sh --versions BINARY...      prints SOURCE=VERSION for the source
#          of each binary package's version apt would install (its candidate), from
#          apt's lists alone: no root, no network. Builds keyed on these take Debian's
#          fixes as soon as the machine's lists have them.
set -eu

if [ "$1" = --versions ]; then
  shift
  # One call (each reads all of apt's lists), a record per package in the order asked.
  # A binary rebuilt on its own (1.2-3+b1) names its source's version in brackets.
  found="$(apt-cache show --no-all-versions "$@" 2>/dev/null | awk '
    /^Package: / { package = $2; source = ""; built = "" }
    /^Source: / { source = $2; if ($3 ~ /^\(/) { built = $3; gsub(/[()]/, "", built) } }
    /^Version: / { print (source ? source : package) "=" (built ? built : $2) }')" || true
  if [ "$(echo "$found" | grep -c .)" != $# ]; then
    echo "debian-source.sh: apt does not know all of $* (apt-get update?)" >&2
    exit 1
  fi
  echo "$found"
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

# Both formats of apt's sources: deb822 files (a Debian 12 install) and one-line lists
# (what debootstrap and older installs write).
entry=/etc/apt/sources.list.d/dreel-deb-src.sources
lines=/etc/apt/sources.list.d/dreel-deb-src.list
added=""
if ! apt-cache showsrc "${1%%=*}" 2>/dev/null | grep -q '^Package:'; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] && [ "$f" != "$entry" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done | $SUDO tee "$entry" >/dev/null
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] && [ "$f" != "$lines" ] || continue
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f"
  done | $SUDO tee "$lines" >/dev/null
  added=yes
  $SUDO apt-get update
fi

# The version asked for first, then the others newest first: a mirror may list a version
# it cannot serve, so another one of the same package is taken when that one fails.
fetch() {
  name="${1%%=*}"
  versions="$(apt-cache showsrc --only-source "$name" | sed -n 's/^Version: //p' | sort -u -r -V)"
  if [ "$name" != "$1" ]; then versions="${1#*=} $versions"; fi
  tried=" "
  for version in $versions; do
    case "$tried" in *" $version "*) continue ;; esac
    tried="$tried$version "
    if (cd "$dest" && apt-get source --only-source "$name=$version"); then
      echo "$name=$version" >> "$dest/versions"
      return 0
    fi
    echo "debian-source.sh: $name $version could not be fetched" >&2
  done
  echo "debian-source.sh: no version of $name could be fetched" >&2
  return 1
}
rm -f "$dest/versions"
status=0
for package in "$@"; do
  fetch "$package" || status=1
done
if [ -n "$added" ]; then
  $SUDO rm -f "$entry" "$lines"
fi
exit $status
