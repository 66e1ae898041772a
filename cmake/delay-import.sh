#!/usr/bin/env bash
# Makes a delay-load import library for one system DLL from MinGW's import library, so the DLL is
# loaded on first use (after the program has set the safe search order) instead of by the loader
# before any code runs, when it would also look in the program's folder.
#   delay-import.sh NM DLLTOOL IMPORT_LIB DLL_NAME OUTPUT NAMING
# NAMING: "decorated" where __stdcall names carry a leading underscore and @N (32-bit), else "plain".
set -euo pipefail
nm="$1"; dlltool="$2"; lib="$3"; dll="$4"; out="$5"; naming="$6"
def="$out.def"
{
  echo "LIBRARY $dll"
  echo "EXPORTS"
  if [ "$naming" = "decorated" ]; then
    # __stdcall names carry a leading underscore and @N; the DLL's names have neither (-k below).
    "$nm" -g --defined-only "$lib" | awk '$2=="T"{print $3}' | sed 's/^_//' | sort -u
  else
    "$nm" -g --defined-only "$lib" | awk '$2=="T"{print $3}' | sort -u
  fi
} >"$def"
if [ "$naming" = "decorated" ]; then
  "$dlltool" -k --input-def "$def" --dllname "$dll" --output-delaylib "$out"
else
  "$dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$out"
fi
