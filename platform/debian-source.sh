#!/bin/sh
# Unpacks Debian's source packages, with Debian's own patches applied, into DEST.
# Only apt is used: a deb-src entry mirroring the machine's deb entries is added for the
# fetch and taken away again, so the machine's sources are left as they were.
# Usage: debian-source.sh DEST PACKAGE...
set -eu
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
if ! apt-cache showsrc "$1" 2>/dev/null | grep -q '^Package:'; then
  for f in /etc/apt/sources.list.d/*.sources; do
    [ "$f" = "$entry" ] || sed 's/^Types: deb$/Types: deb-src/' "$f"
    echo
  done | $SUDO tee "$entry" >/dev/null
  added=yes
  $SUDO apt-get update
fi

# The newest version first; a mirror may list a version it cannot serve, so an older
# one of the same package is taken when the newest fails to download.
fetch() {
  for version in $(apt-cache showsrc --only-source "$1" | sed -n 's/^Version: //p' | sort -u -r -V); do
    if (cd "$dest" && apt-get source --only-source "$1=$version"); then return 0; fi
    echo "debian-source.sh: $1 $version could not be fetched, trying an older one" >&2
  done
  echo "debian-source.sh: no version of $1 could be fetched" >&2
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
