#!/usr/bin/env bash
# Proves that a new Debian 12 builds, tests, packages and installs the program with the README's
# commands and nothing else: bootstraps a minimal system, copies the working tree into it as it
# stands (uncommitted changes too), installs only what the README says to install first, runs
# `make test` and `make deb` there, then installs the .deb on a second fresh system and starts it.
#   tools/check-fresh.sh            (as root; `make check-fresh` installs debootstrap first)
# Exit 0: passed. 75: Debian's packages could not be reached or the disk is too small, so the
# fault is outside the project. Anything else: a step failed (or the run was interrupted).
# Full logs of every step stay in build-fresh/ of the working tree.
set -uo pipefail

readonly SUITE=bookworm
# Two systems, one with the whole build and the Release build in it: about 3.5 GB measured.
readonly NEED_MB=${FRESH_NEED_MB:-6000}
readonly EX_UNREACHABLE=75
readonly STEPS=7

SRC=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
LOG_DIR=$SRC/build-fresh
WORK=""
STEP=""
STEP_PID=""
STEP_LOG=""
CLEANED=""
LEFT_BEHIND=""
START=$SECONDS
TIMES=()

say() { printf '%s\n' "$*"; }

duration() {
    local s=$1
    if ((s >= 60)); then printf '%d min %d s' $((s / 60)) $((s % 60)); else printf '%d s' "$s"; fi
}

# The exit status goes to a file as well: through `make check-fresh` only make's own 2 would
# reach a caller, which must tell 75 (outside the project) from a failure of the project.
end() {
    echo "$1" >"$LOG_DIR/status" 2>/dev/null
    exit "$1"
}

refuse() {
    say "check-fresh: $2; nothing was done"
    end "$1"
}

# The closing line, always the last thing printed.
finish() {
    local status=$1 what=$2
    if [ -n "$LEFT_BEHIND" ] && ((status == 0)); then
        status=1
        what="at removing $WORK (see above)"
    fi
    if ((status == 0)); then
        say "check-fresh: passed in $(duration $((SECONDS - START))) ($(IFS=';'; echo "${TIMES[*]}" | sed 's/;/, /g'))"
    else
        say "check-fresh: FAILED $what"
    fi
    end "$status"
}

# The first Debian mirror the machine's own apt sources name: active deb entries only,
# security and snapshot archives left out.
debian_mirror() {
    local f
    {
        for f in /etc/apt/sources.list.d/*.sources; do
            [ -f "$f" ] || continue
            awk '
                function flush() {
                    if (types ~ /(^|[ \t])deb([ \t]|$)/ && tolower(enabled) !~ /^[ \t]*no/) {
                        n = split(uris, u, /[ \t]+/)
                        for (j = 1; j <= n; j++) if (u[j] != "") print u[j]
                    }
                    types = ""; uris = ""; enabled = ""; field = ""
                }
                /^#/ { next }
                /^[ \t]*$/ { flush(); next }
                /^[ \t]/ { if (field == "uris") uris = uris " " $0; next }
                {
                    field = tolower($0); sub(/:.*/, "", field)
                    value = $0; sub(/^[^:]*:[ \t]*/, "", value)
                    if (field == "types") types = value
                    else if (field == "uris") uris = value
                    else if (field == "enabled") enabled = value
                }
                END { flush() }' "$f"
        done
        for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
            [ -f "$f" ] || continue
            sed -n 's/^[[:space:]]*deb[[:space:]]\{1,\}\(\[[^]]*\][[:space:]]\{1,\}\)\{0,1\}\([^[:space:]]\{1,\}\).*/\2/p' "$f"
        done
    } | grep -E '^https?://' | grep -v -i -E 'security|snapshot' | head -n 1
}

# What the README tells a user to install before the two commands, read from its
# `sudo apt-get install ...` line so the check cannot drift from the text.
readme_packages() {
    local line pkgs p
    line=$(grep -m 1 -o 'apt-get install [^`]*' "$SRC/README.md") || return 1
    pkgs=${line#apt-get install }
    for p in $pkgs; do
        [[ $p =~ ^[a-z0-9][a-z0-9+.-]*$ ]] || return 1
    done
    printf '%s\n' "$pkgs"
}

in_root() {
    local root=$1
    shift
    chroot "$root" /usr/bin/env -i HOME=/root LANG=C.UTF-8 TERM=dumb DEBIAN_FRONTEND=noninteractive \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin /bin/sh -c "$*"
}

# A private /dev on tmpfs with the few nodes a build and an X server need: deleting it can never
# reach the host's devices, as a bind mount of /dev could.
mount_system() {
    local root=$1 d=$1/dev
    mount -t proc qinghe-proc "$root/proc" || return 1
    mount -t tmpfs -o mode=0755,nosuid,size=256m qinghe-dev "$d" || return 1
    mknod -m 0666 "$d/null" c 1 3 && mknod -m 0666 "$d/zero" c 1 5 &&
        mknod -m 0666 "$d/full" c 1 7 && mknod -m 0666 "$d/random" c 1 8 &&
        mknod -m 0666 "$d/urandom" c 1 9 && mknod -m 0666 "$d/tty" c 5 0 || return 1
    mkdir -m 1777 "$d/shm" && mkdir -m 0755 "$d/pts" || return 1
    mount -t devpts -o newinstance,ptmxmode=0666,mode=0620 qinghe-devpts "$d/pts" || return 1
    ln -s pts/ptmx "$d/ptmx" && ln -s /proc/self/fd "$d/fd" && ln -s /proc/self/fd/0 "$d/stdin" &&
        ln -s /proc/self/fd/1 "$d/stdout" && ln -s /proc/self/fd/2 "$d/stderr"
}

mounts_under() {
    findmnt -rn -o TARGET | awk -v p="$1/" 'index($0, p) == 1' | sort -r
}

# Ends every process whose root is inside DIR (a build step, an X server, the program).
kill_inside() {
    local dir=$1 sig=$2 pids
    pids=$(find /proc -mindepth 2 -maxdepth 2 -name root -lname "$dir/*" -printf '%h\n' 2>/dev/null |
        sed 's|^/proc/||')
    [ -n "$pids" ] || return 1
    kill "-$sig" $pids 2>/dev/null
    return 0
}

# Removes a work directory, never through a mount: processes first, then every mount below it,
# checked, and only then the files, staying on their file system.
remove_work() {
    local dir=$1 i m left
    [[ $dir == /*/qinghe-fresh.* && -d $dir ]] || return 0
    if kill_inside "$dir" TERM; then
        for i in 1 2 3 4 5 6 7 8 9 10; do
            kill_inside "$dir" 0 || break
            sleep 0.5
        done
        kill_inside "$dir" KILL && sleep 0.5
    fi
    for i in 1 2 3; do
        left=$(mounts_under "$dir")
        [ -z "$left" ] && break
        for m in $left; do
            findmnt -rn "$m" >/dev/null 2>&1 && umount -R "$m" 2>/dev/null
        done
        [ -n "$(mounts_under "$dir")" ] && { kill_inside "$dir" KILL; sleep 1; }
    done
    left=$(mounts_under "$dir")
    if [ -n "$left" ]; then
        say "check-fresh: could not unmount $(echo $left); left $dir in place, remove it by hand after unmounting"
        return 1
    fi
    rm -rf --one-file-system -- "$dir"
}

cleanup() {
    [ -n "$CLEANED" ] && return
    CLEANED=1
    trap '' INT TERM HUP
    if [ -n "$STEP_PID" ]; then
        kill -TERM -- "-$STEP_PID" 2>/dev/null
        wait "$STEP_PID" 2>/dev/null
        STEP_PID=""
    fi
    if [ -n "$WORK" ] && ! remove_work "$WORK"; then
        LEFT_BEHIND=1
    fi
}

on_signal() {
    local name=$1 code=$2
    cleanup
    if [ -n "$LEFT_BEHIND" ]; then
        say "check-fresh: interrupted (SIG$name) during step \"$STEP\"; $WORK is left (see above)"
    else
        say "check-fresh: interrupted (SIG$name) during step \"$STEP\"; removed everything it had made"
    fi
    end "$code"
}

# ctest's closing line as one plain line for CI: "fresh: N passed, M failed".
report_tests() {
    local line failed total
    line=$(grep -o '[0-9]*% tests passed, [0-9]* tests failed out of [0-9]*' "$1" | tail -n 1)
    [ -n "$line" ] || return 0
    failed=${line#*passed, }
    failed=${failed%% *}
    total=${line##* }
    say "fresh: $((total - failed)) passed, $failed failed"
}

# Runs one step with its output in its own log; in the background so that a signal reaches the
# trap at once instead of after the step.
step() {
    local outside=""
    [ "$1" = --outside ] && { outside=1; shift; }
    local name=$1 t0=$SECONDS rc
    shift
    STEP=$name
    STEP_LOG=$LOG_DIR/$(printf '%02d' $((${#TIMES[@]} + 1)))-${name// /-}.log
    say "== [$((${#TIMES[@]} + 1))/$STEPS] $name"
    "$@" >"$STEP_LOG" 2>&1 &
    STEP_PID=$!
    wait "$STEP_PID"
    rc=$?
    STEP_PID=""
    TIMES+=("$name $(duration $((SECONDS - t0)))")
    report_tests "$STEP_LOG"
    if ((rc == 0)); then
        say "   ok, $(duration $((SECONDS - t0)))"
        return 0
    fi
    say "   failed after $(duration $((SECONDS - t0))) (exit $rc); the end of $STEP_LOG:"
    tail -n 30 "$STEP_LOG" | sed 's/^/   | /'
    local status=1 reason
    if [ -n "$outside" ] || grep -q 'Failed to fetch' "$STEP_LOG"; then
        status=$EX_UNREACHABLE
        reason="Debian's packages could not be reached"
    else
        # The first error the step reported, or else its last words.
        reason=$(grep -m 1 -E 'cannot find -l|undefined reference|error:|E: |tests failed out of' "$STEP_LOG" ||
            grep -v '^[[:space:]]*$' "$STEP_LOG" | tail -n 1)
        reason=$(printf '%s' "$reason" | sed 's/^\[[0-9:]*\] //' | cut -c 1-200)
    fi
    cleanup
    finish "$status" "at step \"$name\"${reason:+: $reason}"
}

# --- the steps -----------------------------------------------------------------------------

bootstrap() {
    local extra=()
    [[ $MIRROR == https:* ]] && extra+=(--include=ca-certificates)
    debootstrap --variant=minbase "${extra[@]}" "$SUITE" "$WORK/base" "$MIRROR" || return 1
    # Settings, not packages: downloads retry, no services start, apt's prompts take the answer
    # a user would give.
    printf 'Acquire::Retries "3";\nAPT::Get::Assume-Yes "true";\nDpkg::Use-Pty "0";\n' \
        >"$WORK/base/etc/apt/apt.conf.d/90fresh-check"
    printf '#!/bin/sh\nexit 101\n' >"$WORK/base/usr/sbin/policy-rc.d"
    chmod 755 "$WORK/base/usr/sbin/policy-rc.d"
    cp /etc/resolv.conf "$WORK/base/etc/resolv.conf"
    cp -a "$WORK/base" "$WORK/build"
}

copy_project() {
    local dest=$WORK/build/root/qinghe
    mkdir -p "$dest" || return 1
    # Tracked files as they are in the working tree; a file deleted there is left out.
    git -C "$SRC" ls-files -z --cached |
        (cd "$SRC" && xargs -0 -r sh -c 'for f; do [ -e "$f" ] || [ -L "$f" ] && printf "%s\0" "$f"; done' sh) |
        tar -C "$SRC" --null --no-recursion -T - -cf - | tar -C "$dest" -xf - || return 1
    du -sh "$dest"
}

install_first() {
    mount_system "$WORK/build" || return 1
    in_root "$WORK/build" "apt-get update && apt-get install $FIRST_PACKAGES"
}

# Lines get the elapsed minutes and seconds, so the log shows how long the packages took.
stamped() {
    local t0=$SECONDS line
    "$@" 2>&1 | while IFS= read -r line; do
        printf '[%02d:%02d] %s\n' $(((SECONDS - t0) / 60)) $(((SECONDS - t0) % 60)) "$line"
    done
}

make_test() {
    stamped in_root "$WORK/build" "cd /root/qinghe && make test"
}

make_deb() {
    in_root "$WORK/build" "cd /root/qinghe && make deb" || return 1
    cp "$WORK"/build/root/qinghe/build-release/qinghe_*.deb "$WORK/" && ls -l "$WORK"/qinghe_*.deb &&
        du -sm --one-file-system "$WORK"/*
}

install_deb() {
    mv "$WORK/base" "$WORK/install" || return 1
    mount_system "$WORK/install" || return 1
    cp "$WORK"/qinghe_*.deb "$WORK/install/root/" || return 1
    in_root "$WORK/install" "cd /root && apt-get update && apt-get install ./qinghe_*.deb && command -v qinghe"
}

# Starts the installed program under a virtual display with a window manager and waits for the
# ledger choice window and the data folder's ledger list.
probe() {
    in_root "$WORK/install" "apt-get install --no-install-recommends xvfb xauth openbox" || return 1
    # openbox brings python3 along, which reads the window titles.
    cp "$SRC/tools/x11-window-names.py" "$WORK/install/root/window-names.py" || return 1
    cat >"$WORK/install/root/probe.sh" <<'PROBE'
openbox >/tmp/openbox.log 2>&1 &
sleep 1
qinghe >/tmp/qinghe.log 2>&1 &
q=$!
data=$HOME/.local/share/qinghe
seen=
for i in $(seq 120); do
    python3 /root/window-names.py 2>/dev/null | grep -qx '請選擇帳本' && seen=yes
    [ -n "$seen" ] && [ -f "$data/UserInfo" ] && break
    kill -0 $q 2>/dev/null || break
    sleep 0.5
done
kill $q 2>/dev/null
wait $q
echo "--- qinghe said:"
cat /tmp/qinghe.log
ls -l "$data"
[ -n "$seen" ] || { echo "the window 請選擇帳本 did not appear"; exit 1; }
[ -f "$data/UserInfo" ] || { echo "no UserInfo in $data"; exit 1; }
echo "the window 請選擇帳本 appeared and $data/UserInfo was written"
PROBE
    in_root "$WORK/install" 'xvfb-run -a -s "-screen 0 1280x800x24" sh /root/probe.sh'
}

main() {
    local base free
    rm -rf "$LOG_DIR"
    mkdir -p "$LOG_DIR" || exit 1
    if [ "$(id -u)" != 0 ]; then
        refuse 1 "needs root (it bootstraps systems and mounts /proc and /dev for them)"
    fi
    command -v debootstrap >/dev/null || {
        refuse 1 "debootstrap is missing (apt-get install debootstrap, or run make check-fresh)"
    }
    git -C "$SRC" rev-parse --git-dir >/dev/null 2>&1 || {
        refuse 1 "$SRC is not a git working tree, so there is no list of project files"
    }
    FIRST_PACKAGES=$(readme_packages | tr '\n' ' ') && [ -n "$FIRST_PACKAGES" ] || {
        refuse 1 "README.md names no 'apt-get install PACKAGES' to run before the two commands"
    }
    MIRROR=$(debian_mirror)
    if [ -z "$MIRROR" ]; then
        refuse $EX_UNREACHABLE "the apt sources name no Debian mirror to bootstrap from"
    fi
    # Not on tmpfs: the systems' /tmp, where the tests write, must be on disk.
    for base in ${FRESH_TMP:-} /var/tmp /tmp; do
        [ -d "$base" ] && [ "$(stat -f -c %T "$base")" != tmpfs ] && break
        base=""
    done
    if [ -z "$base" ]; then
        refuse 1 "no directory on disk for the systems (/var/tmp and /tmp are tmpfs; set FRESH_TMP)"
    fi
    free=$(df -Pm "$base" | awk 'NR == 2 { print $4 }')
    if ((free < NEED_MB)); then
        refuse $EX_UNREACHABLE "$base has $free MB free, two systems need about $NEED_MB MB"
    fi

    trap 'on_signal INT 130' INT
    trap 'on_signal TERM 143' TERM
    trap 'on_signal HUP 129' HUP
    trap cleanup EXIT
    # Each step in a process group of its own, so ending a step ends everything it started.
    set -m
    WORK=$(mktemp -d "$base/qinghe-fresh.XXXXXX") || refuse 1 "cannot make a directory in $base"
    chmod 755 "$WORK"
    say "check-fresh: Debian 12 ($SUITE) from $MIRROR in $WORK; first installs: $FIRST_PACKAGES; logs in $LOG_DIR"

    step --outside "bootstrap" bootstrap
    step "copy project" copy_project
    step "install first" install_first
    step "make test" make_test
    local ready
    ready=$(grep -m 1 -E '^\[[0-9:]+\] -- The CXX compiler' "$STEP_LOG" | cut -c 2-6)
    [ -n "$ready" ] && say "   (the packages were in place after $ready of it)"
    step "make deb" make_deb
    step "install deb" install_deb
    step "start program" probe
    cleanup
    finish 0 ""
}

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
    # A shell that started this in the background without job control made it ignore SIGINT,
    # and bash cannot trap a signal ignored at entry: start again with the default actions, so
    # that an interrupt always reaches the clean-up.
    if [ -z "${QINGHE_FRESH_SIGNALS:-}" ]; then
        QINGHE_FRESH_SIGNALS=1 exec env --default-signal=INT,TERM,HUP "$BASH" "$0" "$@"
    fi
    main "$@"
fi
