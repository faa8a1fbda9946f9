# Sourced by the Wine scripts: the environment every Wine run of a build tree shares.
#   wine_env <build dir>
# A private prefix in the build tree, no debug chatter, no installer dialogs, a fixed locale
# (ANSI code page 1252 whatever the host runs with), and a display: the caller's, or else a
# virtual X server of this build tree's own, started once.

wine_env() {
  local build_dir=$1
  export WINEPREFIX=${WINEPREFIX:-$build_dir/wineprefix}
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  export WINEARCH=win64
  export LC_ALL=${DCS_WINE_LOCALE:-C.UTF-8}
  if [[ -z ${DISPLAY:-} ]]; then
    wine_virtual_display "$build_dir"
  fi
}

# Picks a display number from the build tree's path and starts Xvfb on it unless it runs.
wine_virtual_display() {
  local build_dir=$1
  local number=$(( 100 + $(printf '%s' "$build_dir" | cksum | cut -d' ' -f1) % 800 ))
  export DISPLAY=:$number
  (
    flock 9
    local lock=/tmp/.X$number-lock
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && [[ -f $lock ]] &&
       ! kill -0 "$(tr -d ' ' <"$lock")" 2>/dev/null; then
      # A server that died (a killed session, a reboot of the container) leaves its lock file
      # and socket behind, and they would stop a new one from starting.
      rm -f "$lock" "/tmp/.X11-unix/X$number"
    fi
    if ! xdpyinfo -display "$DISPLAY" >/dev/null 2>&1 && [[ ! -S /tmp/.X11-unix/X$number ]]; then
      Xvfb "$DISPLAY" -screen 0 2560x1600x24 -nolisten tcp </dev/null >/dev/null 2>&1 9>&- &
      for _ in $(seq 50); do
        [[ -S /tmp/.X11-unix/X$number ]] && break
        sleep 0.1
      done
    fi
  ) 9>"/tmp/.dcs-xvfb-$number.lock"
}
