# Sourced by the Wine runners: wine_env <pointer bits> <32-bit Wine root>
# sets $wine to the loader for that size and exports what it needs. The
# 64-bit side is the system's Wine; the 32-bit side is the i386 loader that
# scripts/wine32-fetch unpacked, a 32-bit-only prefix and its own libraries
# and GStreamer plugins, served by the system's wineserver (same version).
wine_env() {
  if [ "$1" = 32 ]; then
    local r=$2
    wine=$r/usr/lib/wine/wine
    if [ ! -x "$wine" ]; then
      echo "wine-env: no 32-bit Wine in $r (run scripts/setup)" >&2
      return 1
    fi
    export WINEARCH=win32
    export WINELOADER=$wine
    export WINESERVER=/usr/lib/wine/wineserver64
    export LD_LIBRARY_PATH="$r/lib/i386-linux-gnu:$r/usr/lib/i386-linux-gnu${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    export GST_PLUGIN_SYSTEM_PATH_1_0="$r/usr/lib/i386-linux-gnu/gstreamer-1.0"
    export GST_PLUGIN_SCANNER_1_0="$r/usr/lib/i386-linux-gnu/gstreamer1.0/gstreamer-1.0/gst-plugin-scanner"
  else
    wine=/usr/lib/wine/wine64
    export WINEARCH=win64
  fi
}

# Whether this kernel starts 32-bit programs at all (some hosts switch the
# emulation off): the system's i386 dynamic loader (libc6-i386) is one.
kernel_runs_32bit() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1
}
