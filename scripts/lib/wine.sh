# The project's own Wine prefix: Japanese locale, the template fonts mapped to installed
# Japanese fonts, unmanaged windows, the substitute dial-up library with a native override,
# and the registry keys a real Windows has for the default-connection step.

wine_environment() {
  local root=$1
  export WINEPREFIX="$root/.cache/wine"
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  export LANG=ja_JP.UTF-8
  export LC_ALL=ja_JP.UTF-8
  # The prefix's registry makes rasapi32 native; tests override it per program there.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ -x /usr/lib/wine/wine64 ]; then
    DIALNEST_WINE=/usr/lib/wine/wine64
  else
    DIALNEST_WINE=$(command -v wine64 || command -v wine)
  fi
  export DIALNEST_WINE
}

# Registry settings of the prefix, as a UTF-16 .reg file (the font names are Japanese).
write_prefix_registry() {
  local out=$1
  cat <<'REG' | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } > "$out"
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
"Decorated"="Y"

[HKEY_CURRENT_USER\Software\Wine\DllOverrides]
"rasapi32"="native"

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"MS Pゴシック"="IPAPGothic"
"MS ゴシック"="IPAGothic"
"ＭＳ ゴシック"="IPAGothic"
"MS UI Gothic"="IPAPGothic"
"MS Shell Dlg"="IPAPGothic"
"MS Shell Dlg 2"="IPAPGothic"
"Tahoma"="IPAPGothic"

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]

[HKEY_CURRENT_USER\RemoteAccess]

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\RAS AutoDial\Default]
REG
}

prepare_wine_prefix() {
  local root=$1
  wine_environment "$root"
  local stamp="$WINEPREFIX/.dialnest-prefix"
  local want
  want=$(sha1sum "$root/scripts/lib/wine.sh" | cut -c1-16)
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return 0
  fi
  echo "setup: preparing the Wine prefix in $WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  "$DIALNEST_WINE" wineboot -i >/dev/null 2>&1 || true
  local reg="$WINEPREFIX/dialnest.reg"
  write_prefix_registry "$reg"
  "$DIALNEST_WINE" regedit /S 'Z:'"$(echo "$reg" | tr / '\\')" >/dev/null 2>&1
  # Wine draws the caption buttons with Marlett, which it does not find in its data folder.
  if [ -f /usr/share/wine/fonts/marlett.ttf ]; then
    cp -f /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  fi
  "$DIALNEST_WINE" wineboot -s >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  echo "$want" > "$stamp"
}

# Puts the freshly built substitute library where a full-path load from the system
# directory finds it.
install_substitute_library() {
  local dll=$1
  cp -f "$dll" "$WINEPREFIX/drive_c/windows/system32/rasapi32.dll"
}
