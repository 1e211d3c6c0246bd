# Shared by the Windows test scripts (sourced, not run): a private Xvfb
# display and a Wine prefix inside the Windows build directory.
#   wine_begin BUILD_DIR   starts the display, makes the prefix if needed
#   wine_end               ends the Wine server of the prefix and the display
# Every wait is bounded; the first start of Wine creates its prefix, which
# takes a while on a small machine.

wine_xvfb_pid=""

wine_begin() {
  local build=$1
  export WINEPREFIX="$build/wine-prefix"
  export WINEDEBUG=-all
  # No installer of Wine's .NET or HTML engines: nothing here needs them, and
  # their download dialogs would wait for ever on a display nobody watches.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  local n
  for n in $(seq 90 140); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
      break
    fi
  done
  # A white root, so that the game's black window shows in screenshots.
  Xvfb ":$n" -screen 0 1024x768x24 -wr -nolisten tcp >/dev/null 2>&1 &
  wine_xvfb_pid=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 1 50); do
    [ -e "/tmp/.X11-unix/X$n" ] && break
    sleep 0.2
  done
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "creating the Wine prefix $WINEPREFIX (once)"
  fi
  timeout 600 wineboot --init >/dev/null 2>&1 || { echo "wineboot failed or timed out" >&2; return 1; }
  # A Windows of any language draws Japanese captions through its own font
  # linking; this Wine has no Japanese font of its own, so its default faces
  # are replaced by Debian's IPA Gothic.
  local face
  for face in "Tahoma" "Arial" "Microsoft Sans Serif" "Times New Roman" "DejaVu Sans"; do
    timeout 60 wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /t REG_SZ \
      /d IPAGothic /f >/dev/null 2>&1 || true
  done
  timeout 120 wineserver -w >/dev/null 2>&1 || true
  return 0
}

# wine_sound_device BUILD_DIR: gives the following Wine programs a sound
# device that plays into nothing (ALSA's null device), so that DirectSound
# and the memory player run as on a machine with a sound card. Without it
# Wine has no sound device here, and the game takes its silent paths.
wine_sound_device() {
  local home="$1/wine-home"
  mkdir -p "$home"
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$home/.asoundrc"
  export HOME="$home"
}

wine_end() {
  timeout 60 wineserver -k >/dev/null 2>&1 || true
  if [ -n "$wine_xvfb_pid" ]; then
    kill "$wine_xvfb_pid" 2>/dev/null || true
    wait "$wine_xvfb_pid" 2>/dev/null || true
    wine_xvfb_pid=""
  fi
}

# wine_wait_window SECONDS: the X window of the game, titled Quennary, or
# nothing when none appears in time.
wine_wait_window() {
  local limit=$1 i w
  for i in $(seq 1 $((limit * 5))); do
    w=$(xdotool search --name '^Quennary$' 2>/dev/null | head -n1)
    if [ -n "$w" ]; then
      echo "$w"
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# wine_start STATUS_FILE DIR COMMAND...: runs a program in the background in
# DIR; its exit status lands in STATUS_FILE when it ends. Sets wine_pid.
wine_pid=""
wine_start() {
  local status_file=$1 dir=$2
  shift 2
  rm -f "$status_file"
  ( cd "$dir" && "$@"; echo $? >"$status_file" ) &
  wine_pid=$!
}

# wine_wait_exit STATUS_FILE SECONDS: prints the exit status of the program
# started with wine_start, or "timeout" (after ending it) when it runs on.
wine_wait_exit() {
  local status_file=$1 limit=$2 i
  for i in $(seq 1 $((limit * 5))); do
    if [ -s "$status_file" ]; then
      cat "$status_file"
      return 0
    fi
    sleep 0.2
  done
  echo timeout
  return 1
}

wine_screenshot() {
  xwd -root -silent | convert xwd:- "$1"
}
