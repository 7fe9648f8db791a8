# Sourced by the web scripts, with $web_dir set to this folder: Debian's emscripten
# with a configuration of our own. Debian's packaged system-library cache is read-only
# (frozen), so the compiler gets a private EM_CONFIG whose cache sits beside the web
# dependencies, built locally on the first use and kept. Sets DREEL_WEB_DEPS (the
# dependency prefix's parent folder), named after the recipe (this file, deps.sh, the
# fetch), the installed emscripten and the source versions of the libraries apt would
# install here (those are fetched; where the mirror cannot serve one, deps.sh builds the
# nearest it serves and says so): any change, a Debian security fix among them, builds
# afresh. Sets DREEL_WEB_SOURCES, the SOURCE=VERSION list.
DREEL_WEB_SOURCES="$(sh "$web_dir/../debian-source.sh" --versions \
  libsdl2-2.0-0 libfreetype6 libsdl2-ttf-2.0-0 zlib1g libpng16-16)"
DREEL_WEB_RECIPE="$({ cat "$web_dir/env.sh" "$web_dir/deps.sh" "$web_dir/../debian-source.sh"
  dpkg-query -W -f '${Version}' emscripten 2>/dev/null || true
  echo "$DREEL_WEB_SOURCES"; } | sha256sum | cut -c1-12)"
DREEL_WEB_DEPS="${DREEL_DEPS_CACHE:-$HOME/.cache/dreel}/web-$DREEL_WEB_RECIPE"
mkdir -p "$DREEL_WEB_DEPS"
EM_CONFIG="$DREEL_WEB_DEPS/emscripten.config"
cat > "$EM_CONFIG.new" <<CONFIG
LLVM_ROOT = '/usr/bin'
BINARYEN_ROOT = '/usr'
NODE_JS = '$(command -v node)'
CACHE = '$DREEL_WEB_DEPS/emcache'
FROZEN_CACHE = False
LLVM_ADD_VERSION = '14'
CLANG_ADD_VERSION = '14'
CONFIG
mv "$EM_CONFIG.new" "$EM_CONFIG"
# emscripten's JavaScript tools need Debian's acorn, which a node from elsewhere
# does not look for.
NODE_PATH=/usr/share/nodejs
# Configure checks link without optimisation, which by default turns on emscripten's
# assertions and with them debug builds of its C library: minutes more on a fresh
# cache, for checks that do not need them.
LDFLAGS="-sASSERTIONS=0"
export EM_CONFIG NODE_PATH DREEL_WEB_DEPS DREEL_WEB_SOURCES LDFLAGS
