# Sourced by the web scripts: Debian's emscripten with a configuration of our own.
# Debian's packaged system-library cache is read-only (frozen), so the compiler gets a
# private EM_CONFIG whose cache sits beside the web dependencies, built locally on the
# first use and kept. Sets DREEL_WEB_DEPS (the dependency prefix's parent folder).
# Bump the recipe version when this file or deps.sh changes what gets built.
DREEL_WEB_RECIPE=1
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
export EM_CONFIG NODE_PATH DREEL_WEB_DEPS LDFLAGS
