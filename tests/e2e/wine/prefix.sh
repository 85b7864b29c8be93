# Sourced by run.sh: a private Wine prefix under the build tree, made once and
# kept between runs (a fresh wineboot takes a while).

export WINEDEBUG=-all
# No Mono or Gecko installers, no desktop menu entries: the tests need neither.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

prepare_prefix() {
  export WINEPREFIX=$1
  mkdir -p "$WINEPREFIX"
  [ -f "$WINEPREFIX/.pelmo-ready" ] || make_prefix
  # One persistent server for the whole run, or every wine start pays for its own.
  wineserver -p
}

make_prefix() {
  echo "-- creating the Wine prefix $WINEPREFIX (once)"
  timeout 600 wineboot -i
  # Wide-character text in the UI fonts falls back to IPAGothic for Japanese.
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
  local face
  for face in "Tahoma" "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif" "Segoe UI"; do
    timeout 60 wine reg add "$key" /v "$face" /t REG_MULTI_SZ /d 'ipag.ttf,IPAGothic' /f >/dev/null
  done
  # Sound through ALSA, where the test's own configuration catches it in a file.
  timeout 60 wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null
  # The server writes the registry out when it ends, a few seconds after the last client.
  timeout 120 wineserver -w
  touch "$WINEPREFIX/.pelmo-ready"
}
