# Shared by the scripts: paths, the package set, the build and the Wine session.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BUILD="${PRAVIK_BUILD_DIR:-$ROOT/build}"
# The installed layout of each architecture: out/<arch>/ (a private build may put it elsewhere).
OUT="${PRAVIK_OUT_ROOT:-$ROOT/out}"
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
JOBS="${JOBS:-$(nproc)}"

PACKAGES=(g++-mingw-w64-x86-64 g++-mingw-w64-i686 mingw-w64-tools libz-mingw-w64-dev wine64 libwine-dev
  fonts-wine xvfb xauth fonts-nanum imagemagick cmake make g++ googletest libgtest-dev locales nsis zip unzip
  python3 openssl x11-utils xdotool libbenchmark-dev zlib1g-dev
  clang libclang-rt-dev)  # the fuzz targets (scripts/fuzz)
# What scripts/bench adds: the baselines it measures against (libmcrypt, bsdtar, curl).
BENCH_PACKAGES=(libmcrypt-dev libarchive-tools curl)

log() { printf '== %s\n' "$*" >&2; }

# A compiler cache where one is installed: checkouts of the same tree share it (paths are taken
# relative to the checkout). Nothing depends on it.
CACHE_ARGS=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$ROOT" CCACHE_NOHASHDIR=true
  CACHE_ARGS=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# Installs whatever of the package set (and of any packages named) is missing, and the Korean
# locale Wine needs for code page 949.
ensure_packages() {
  local missing=()
  for p in "${PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if ((${#missing[@]})); then
    log "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^ko_KR.utf8$'; then
    log "generating the ko_KR.UTF-8 locale"
    grep -q '^ko_KR.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ko_KR.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# configure_and_build NAME [cmake args...]: one build folder per architecture under $BUILD.
configure_and_build() {
  local name="$1"; shift
  local dir="$BUILD/$name"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    # One Wine prefix for the build tools of both architectures (about 700 MB each).
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DPRAVIK_TOOL_WINEPREFIX="$BUILD/wineprefix-tools" \
      "${CACHE_ARGS[@]}" "$@" >"$BUILD/$name.configure.log" 2>&1 ||
      { cat "$BUILD/$name.configure.log"; return 1; }
  else
    cmake "$dir" "$@" >"$BUILD/$name.configure.log" 2>&1 || { cat "$BUILD/$name.configure.log"; return 1; }
  fi
  log "building $name"
  local status
  # Progress lines are noise; errors and warnings stay. The build's own status decides.
  cmake --build "$dir" -j"$JOBS" > >(grep -vE '^\[ *[0-9]+%\]|^-- |Consolidate compiler|^$') 2>&1
  status=$?
  wait
  return $status
}

build_all() {
  mkdir -p "$BUILD"
  configure_and_build native "$@" || return 1
  configure_and_build x86_64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
    -DPRAVIK_OUT_DIR="$OUT/x86_64" "$@" || return 1
  configure_and_build i686 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DPRAVIK_BUILD_TESTS=OFF \
    -DPRAVIK_OUT_DIR="$OUT/i686" "$@" || return 1
}

# Prints the tracked paths (files and folders) that differ from another only by letter case, one
# a line: on the file systems of Windows and macOS they are one path, so a clone there silently
# loses one of them. Outside a git checkout every path under the tree counts, build output aside.
case_collisions() {
  {
    if git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
      git -C "$ROOT" ls-files -z | tr '\0' '\n'
    else
      (cd "$ROOT" && find . -mindepth 1 \( -name 'build*' -o -name out -o -name .git \) -prune -o -print | sed 's|^\./||')
    fi
  } | awk -F/ '{ p = $1; print p; for (i = 2; i <= NF; i++) { p = p "/" $i; print p } }' | sort -u |
    awk '{ k = tolower($0); if (k in first) { print first[k]; print $0 } else first[k] = $0 }' | sort -u
}

# retried_tests CTEST_OUTPUT: the tests that passed only after a failed try (ctest --repeat
# until-pass), from the result lines ctest prints for every try.
retried_tests() {
  sed -nE 's/^ *([0-9]+\/[0-9]+ )?Test +#[0-9]+: ([^ ]+) \.+ *(.*)$/\2 \3/p' "$1" |
    awk '{ name = $1; $1 = ""; if ($0 ~ /Passed/) passed[name] = 1; else failed[name] = 1 }
         END { for (n in passed) if (n in failed) print n }' | sort
}
