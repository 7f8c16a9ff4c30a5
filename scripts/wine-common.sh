# Shared pieces of scripts/wine-session: the Wine prefix pool, the Wine environment, and process helpers.
# Sourced, not run. Callers use `set -euo pipefail` and keep the lock file descriptor 9 for the prefix.
# shellcheck shell=bash disable=SC2034,SC2030,SC2031  # QUON_PREFIX is for callers; init runs in a subshell

# Wine 10 of the session root (scripts/setup-root). The 64-bit loader starts every program; for a
# 32-bit one it starts Wine's 32-bit loader, which runs under qemu-i386.
QUON_WINE_LOADER=/usr/lib/wine/wine64
QUON_WINESERVER=/usr/lib/wine/wineserver64
# Bump when the prefix's one-time configuration changes: prefixes with an older stamp are configured again.
QUON_PREFIX_STAMP=.quon-prefix-2
# How many prefixes sessions may use at once; each is created once (about 30 s, 1.4 GB) and reused.
QUON_PREFIX_POOL=${QUON_PREFIX_POOL:-4}
# Where the prefixes live (the same path inside the root as outside; scripts/test points it at a
# folder of its own run under CI).
QUON_PREFIX_BASE=${QUON_PREFIX_BASE:-${XDG_CACHE_HOME:-$HOME/.cache}/quon/wine10}

# The library preloaded into a session's wineserver, built from scripts/ into $QUON_PREFIX_BASE.
QUON_SERVER_PRELOAD=wineserver-keep-registry.so

qlog() { printf '%s: %s\n' "${QUON_LOG_TAG:-wine-session}" "$*" >&2; }

# The environment of every Wine process: 64-bit prefix, no Mono/Gecko installer prompts, no menu
# entries written to the host, no debugger that a crash would wait for, Chinese locale so the ANSI
# code page is 936 (GBK).
quon_wine_env() {
    export WINE=$QUON_WINE_LOADER
    export WINESERVER=$QUON_WINESERVER
    export WINEARCH=win64
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe,winedbg.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
    export WINEDEBUG=${WINEDEBUG:--all}
    export LANG=zh_CN.UTF-8
    export LC_ALL=zh_CN.UTF-8
}

# Converts an absolute Unix path to the Windows path Wine shows for it (drive Z: is the root).
quon_winpath() {
    local p=$1
    printf 'Z:%s\n' "${p//\//\\}"
}

# Writes a .reg file for regedit: UTF-16LE with a byte-order mark and CRLF lines, from UTF-8 text on stdin.
quon_write_reg() {
    local out=$1
    { printf '\xff\xfe'; sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16LE; } >"$out"
}

# Font substitutes: the dialogs ask for SimSun ("宋体"); WenQuanYi Micro Hei draws the GBK texts.
quon_font_reg_text() {
    cat <<'EOF'
Windows Registry Editor Version 5.00

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"宋体"="WenQuanYi Micro Hei"
"SimSun"="WenQuanYi Micro Hei"
"NSimSun"="WenQuanYi Micro Hei"
EOF
}

# Imports a .reg file into the current WINEPREFIX; a wineserver may be running already.
# Its output goes to FILE.log. A second try covers a Wine start that fails on a busy machine.
quon_regedit() {
    local file=$1
    "$WINE" regedit /S "$(quon_winpath "$file")" </dev/null >"$file.log" 2>&1 && return 0
    sleep 0.5
    "$WINE" regedit /S "$(quon_winpath "$file")" </dev/null >>"$file.log" 2>&1
}

# Creates or refreshes the prefix at $1 (caller holds its lock). No display: nothing can show a dialog.
quon_init_prefix() {
    local prefix=$1 tmp started
    started=$(date +%s.%N)
    if [[ -e $prefix && ! -e $prefix/system.reg ]]; then
        rm -rf "$prefix"   # an interrupted creation
    fi
    mkdir -p "$(dirname "$prefix")"
    tmp=$(mktemp -d /tmp/quon-prefix.XXXXXX)
    (
        unset DISPLAY
        export WINEPREFIX=$prefix
        # Forces the update of a prefix made before (its 32-bit system folder may be empty).
        rm -f "$prefix/.update-timestamp"
        "$WINE" wineboot -i </dev/null >"$tmp/wineboot.log" 2>&1 9>&- || exit 1
        quon_font_reg_text | quon_write_reg "$tmp/fonts.reg"
        quon_regedit "$tmp/fonts.reg" 9>&- || exit 1
        "$WINESERVER" -w 9>&-
    ) || {
        qlog "creating the Wine prefix $prefix failed:"
        tail -n 20 "$tmp/wineboot.log" >&2 || true
        rm -rf "$tmp"
        return 1
    }
    rm -rf "$tmp"
    rm -f "$prefix"/.quon-prefix-*
    date -u +%FT%TZ >"$prefix/$QUON_PREFIX_STAMP"
    qlog "Wine prefix ready: $prefix ($(awk -v a="$started" -v b="$(date +%s.%N)" \
        'BEGIN { printf "%.1f s", b - a }'))"
}

# Builds the wineserver's preload library with the machine's compiler when its source is newer; the
# root (scripts/setup-root) has a newer C library than this machine, so it runs there too.
quon_build_server_preload() {
    local source=$SCRIPTS/wineserver-keep-registry.c out=$QUON_PREFIX_BASE/$QUON_SERVER_PRELOAD tmp
    [[ -e $out && ! $source -nt $out ]] && return 0
    tmp=$(mktemp "$out.XXXXXX")
    if gcc -O2 -shared -fPIC -o "$tmp" "$source" 2>"$tmp.log"; then
        mv -f "$tmp" "$out"
    else
        qlog "could not build $out: $(head -n 3 "$tmp.log")"
        rm -f "$tmp"
    fi
    rm -f "$tmp.log"
}

# Picks a prefix, locks it on fd 9 for the life of the calling shell, and creates it if needed.
# QUON_WINEPREFIX names one prefix and waits for it; otherwise the first free one of a small pool under
# $QUON_PREFIX_BASE is taken, so that sessions running side by side never share a wineserver.
quon_acquire_prefix() {
    local base candidates=() i prefix=""
    if [[ -n ${QUON_WINEPREFIX:-} ]]; then
        candidates=("$QUON_WINEPREFIX")
    else
        base=$QUON_PREFIX_BASE/wineprefix
        candidates=("$base")
        for ((i = 2; i <= QUON_PREFIX_POOL; i++)); do candidates+=("$base-$i"); done
    fi
    mkdir -p "$(dirname "${candidates[0]}")"
    for prefix in "${candidates[@]}"; do
        exec 9>>"$prefix.lock"
        if flock -n 9; then
            QUON_PREFIX=$prefix
            break
        fi
        exec 9>&-
        prefix=""
    done
    if [[ -z $prefix ]]; then
        prefix=${candidates[0]}
        qlog "every Wine prefix is in use; waiting for $prefix"
        exec 9>>"$prefix.lock"
        flock 9
        QUON_PREFIX=$prefix
    fi
    if [[ ! -e $prefix/$QUON_PREFIX_STAMP ]]; then
        qlog "creating the Wine prefix $prefix (once)"
        quon_init_prefix "$prefix"
    elif [[ ! -e $prefix/drive_c/windows/syswow64/kernel32.dll ]]; then
        qlog "adding the 32-bit system folder to the Wine prefix $prefix (once)"
        quon_init_prefix "$prefix"
    fi
    export WINEPREFIX=$prefix
}

# True while the process is alive (and not a zombie).
quon_alive() {
    local pid=$1 state
    [[ -n $pid ]] || return 1
    state=$(awk '{ print $3 }' "/proc/$pid/stat" 2>/dev/null) || return 1
    [[ -n $state && $state != Z ]]
}

# Ends one process by PID: TERM, then KILL after a grace period (tenths of a second).
quon_stop_pid() {
    local pid=$1 grace=${2:-30} i
    quon_alive "$pid" || { wait "$pid" 2>/dev/null || true; return 0; }
    kill -TERM "$pid" 2>/dev/null || true
    for ((i = 0; i < grace; i++)); do
        quon_alive "$pid" || break
        sleep 0.1
    done
    if quon_alive "$pid"; then
        kill -KILL "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}

# Runs a command up to $1 times, a tenth of a second apart, until it succeeds.
quon_wait_for() {
    local tries=$1 i; shift
    for ((i = 0; i < tries; i++)); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}
