#!/bin/sh
# Runs a Windows build tool under Wine 64-bit: run-wine-tool.sh WINE64 PREFIX TOOL [ARGS...]
# The prefix is the build's own (Wine creates it on first use, about ten seconds); no display,
# no Mono or Gecko, no debugger. Output goes to a file, not to the build's pipe, which the
# wineserver Wine leaves running for a few seconds would otherwise hold open.
set -eu
wine="$1"; prefix="$2"; tool="$3"; shift 3
mkdir -p "$(dirname "$prefix")"
log="$(mktemp)"
status=0
WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d" DISPLAY= \
  "$wine" "$tool" "$@" </dev/null >"$log" 2>&1 || status=$?
[ "$status" -eq 0 ] || { cat "$log" >&2; echo "run-wine-tool.sh: $tool ended with status $status" >&2; }
rm -f "$log"
exit "$status"
