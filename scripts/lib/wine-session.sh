# One Wine session: a virtual X server, a persistent wineserver and a prepared prefix.
# Source common.sh first. wine_session_start PREFIX [DISPLAY]; wine_session_stop.

WINE_TEMPLATE="$BUILD/wineprefix-template"

wine_env() {
  export WINEARCH=win64 WINEDEBUG="${WINEDEBUG:--all}"
  # A crashing program ends at once instead of hanging in the debugger; no Mono or Gecko installs.
  export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=;winedbg.exe=d}"
  # Our users are Korean: the session runs with code page 949.
  export LANG=ko_KR.UTF-8 LC_ALL=ko_KR.UTF-8
}

start_xvfb() {
  local fifo; fifo="$(mktemp -u)"; mkfifo "$fifo"
  setsid Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$fifo" </dev/null >/dev/null 2>&1 &
  XVFB_PID=$!
  local num; read -r num <"$fifo"; rm -f "$fifo"
  export DISPLAY=":$num"
}

# Builds the prefix once; later sessions copy it (about a second instead of ten).
make_template() {
  [ -f "$WINE_TEMPLATE/.ready" ] && return 0
  log "creating the Wine prefix template"
  rm -rf "$WINE_TEMPLATE"
  mkdir -p "$(dirname "$WINE_TEMPLATE")"
  (
    export WINEPREFIX="$WINE_TEMPLATE"
    "$WINE64" wineboot -i >/dev/null 2>&1
    # Without a window manager Wine otherwise waits ~1.5 s each time a window is shown again.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
    # Hangul through Nanum: Tahoma links to Gulim, which is not there.
    for face in Gulim '굴림' 'Malgun Gothic' '맑은 고딕' Dotum '돋움'; do
      "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d NanumGothic /f >/dev/null 2>&1
    done
    "$WINESERVER" -w
  )
  [ -f "$WINE_TEMPLATE/user.reg" ] || { log "wineboot failed to create $WINE_TEMPLATE"; return 1; }
  local fonts="$WINE_TEMPLATE/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  cp /usr/share/fonts/truetype/nanum/NanumGothic*.ttf "$fonts/" 2>/dev/null || true
  touch "$WINE_TEMPLATE/.ready"
}

wine_session_start() {
  local prefix="$1"
  wine_env
  [ -n "${2:-}" ] && export DISPLAY="$2" || start_xvfb
  make_template || return 1
  rm -rf "$prefix"
  cp -a "$WINE_TEMPLATE" "$prefix"
  # The session's user folders are its own: Wine links them to the developer's home, whose files
  # (caches that change all the time among them) would fill the search index and its watches.
  local folder
  for folder in "$prefix"/drive_c/users/*/{Desktop,Documents,Downloads,Music,Pictures,Videos}; do
    if [ -L "$folder" ]; then rm -f "$folder" && mkdir -p "$folder"; fi
  done
  export WINEPREFIX="$prefix"
  setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1
  "$WINE64" wineboot >/dev/null 2>&1
}

# Registers the control library of a built tree in the session's prefix.
wine_register_quessel() {
  local ocx="$1/Quessel.ocx"
  [ -f "$ocx" ] || return 0
  "$WINE64" regsvr32 /s "$(winepath_of "$ocx")" >/dev/null 2>&1 || log "regsvr32 failed for $ocx"
}

# Starts the session's desktop from a program of its own, with its output elsewhere: started on
# demand from a test, the desktop process would inherit the test's output pipe (see the program).
wine_keep_desktop() {
  setsid "$WINE64" "$1" </dev/null >/dev/null 2>&1 &
  sleep 1  # its desktop up before the first test asks for one
}

winepath_of() { "$WINE64" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

wine_session_stop() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null || true
}
