# The project's own Wine prefix: Japanese locale, the template fonts mapped to installed
# Japanese fonts, unmanaged windows, the substitute dial-up library with a native override,
# and the registry keys a real Windows has for the default-connection step.
#
# The prefix is 32-bit (WINEARCH=win32): everything we build is 32-bit, and the machines our
# subscribers have from 98 to 7 are 32-bit Windows, whose system32 is the system directory
# the program loads the dial-up library from. It needs only Wine's 32-bit half and boots
# one architecture, not two.

# Sets the Wine variables in the caller's shell; the Japanese locale Wine needs is given by
# $DIALNEST_WINE to Wine alone, so a shell that sources this keeps its own language.
wine_environment() {
  local root=$1
  export WINEPREFIX="$root/.cache/wine"
  export WINEARCH=win32
  export WINEDEBUG=${WINEDEBUG:--all}
  # The prefix's registry makes rasapi32 native; tests override it per program there.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  # Debian's 32-bit loader (wine32:i386); /usr/bin/wine is there only with the wine package.
  DIALNEST_WINE="$root/scripts/lib/wine-japanese.sh"
  export DIALNEST_WINE
}

# What the prefix was made from: this file and the 32-bit Wine that booted it. A prefix made
# before wine32 was installed, or by a 64-bit Wine, cannot run our programs, so any change
# here makes a new prefix.
wine_prefix_stamp() {
  local root=$1
  local wine32
  wine32=$(dpkg-query -W -f='${Version}' wine32:i386 2>/dev/null || echo none)
  echo "$(sha1sum "$root/scripts/lib/wine.sh" | cut -c1-16) win32 wine32=$wine32"
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
  want=$(wine_prefix_stamp "$root")
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return 0
  fi
  echo "setup: preparing the 32-bit Wine prefix in $WINEPREFIX"
  # Wine cannot turn a prefix of another architecture or an older set-up into this one.
  WINEPREFIX="$WINEPREFIX" wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
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

# Puts the freshly built substitute library where a 32-bit process's full-path load from
# its system directory finds it: system32 of a 32-bit prefix, syswow64 of a 64-bit one.
install_substitute_library() {
  local dll=$1
  local system="$WINEPREFIX/drive_c/windows/system32"
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && system="$WINEPREFIX/drive_c/windows/syswow64"
  cp -f "$dll" "$system/rasapi32.dll"
}
