# Sourced by the Wine scripts: a private prefix inside the build tree, quiet,
# and no installer dialog for Mono or the HTML engine, ever.
: "${BUILD_DIR:?BUILD_DIR must name the build tree}"
export WINEPREFIX="$BUILD_DIR/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
