#!/usr/bin/env bash
# Runs the README's set-up commands the way a new developer's machine would:
# in a minimal Debian 12 root (debootstrap --variant=minbase, plus make, git
# and ca-certificates, nothing else), on a clone of one committed revision of
# this repository. It shows whether `make deps` installs everything the builds
# and tests use. It downloads about a gigabyte and runs every build, so it is
# not part of `make test`.
#
# The package mode checks the Debian package that `make dist` writes instead:
# apt installs it into a root that has nothing but minbase, so the program
# finds there only what its Depends brought, and the program must start in
# that root on a virtual display and end with exit code 0 on its close control.
# The X server and the display test run on this machine (they need what
# `make deps` installs here); the root gets the server's socket through a bind
# mount of /tmp/.X11-unix and nothing else.
#
# Needs: root (for debootstrap, chroot and mount), and debootstrap.
#
# Usage: tools/fresh-machine-check.sh [options] [MODE]
#   MODE              test (the default): `make deps`, then `make test`
#                     package: install the .deb with apt and start the program
#   --deb FILE        the package for the package mode (default: the newest dist/brisko_*.deb)
#   --root DIR        where to build the root (default /var/tmp/brisko-fresh-root)
#   --rev REV         the revision to clone (default HEAD; uncommitted changes are not used)
#   --keep            keep the root afterwards (by default it is removed)
#   --reuse           start from the root a run with --keep left, not a new one,
#                     and keep it (quicker, but its packages are then already installed)
#   --mirror URL      the Debian mirror (default: the one this machine's apt uses)
#   --apt-cache DIR   keep downloaded packages in DIR for later runs
set -euo pipefail

readonly SUITE=bookworm
readonly MARKER=.brisko-fresh-root
readonly SOURCE_DIR=/root/brisko

ROOT=/var/tmp/brisko-fresh-root
REV=HEAD
KEEP=no
REUSE=no
MIRROR=
SECURITY_MIRROR=
APT_CACHE=
MODE="test"
DEB=

STEP="start"
STEP_BEGAN=
STARTED=$(date +%s)
STEP_TIMES=()

usage() {
    sed -n '/^# Usage:/,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//'
}

fail() {
    echo "fresh-machine-check: $*" >&2
    exit 2
}

parse_args() {
    while [ $# -gt 0 ]; do
        case "$1" in
            --root) ROOT=${2:?--root needs a directory}; shift ;;
            --rev) REV=${2:?--rev needs a revision}; shift ;;
            --keep) KEEP=yes ;;
            --reuse) REUSE=yes; KEEP=yes ;;
            --mirror) MIRROR=${2:?--mirror needs a URL}; shift ;;
            --apt-cache) APT_CACHE=${2:?--apt-cache needs a directory}; shift ;;
            --deb) DEB=${2:?--deb needs a file}; shift ;;
            -h|--help) usage; exit 0 ;;
            -*) usage >&2; fail "unknown option $1" ;;
            *) MODE=$1 ;;
        esac
        shift
    done
    case "$MODE" in
        test|package) ;;
        *) fail "unknown mode '$MODE' (known: test, package)" ;;
    esac
    ROOT=$(realpath -m "$ROOT")
    case "$ROOT" in
        /|/bin|/boot|/dev|/etc|/home|/lib*|/proc|/root|/run|/sbin|/sys|/tmp|/usr|/var|/var/tmp|*[[:space:]]*)
            fail "--root $ROOT: choose a new directory of its own (no spaces)" ;;
    esac
    if [ -n "$APT_CACHE" ]; then
        APT_CACHE=$(realpath -m "$APT_CACHE")
    fi
}

check_needs() {
    local missing=()
    [ "$(id -u)" -eq 0 ] || missing+=("root (debootstrap, chroot and mount need it)")
    command -v debootstrap >/dev/null || [ -x /usr/sbin/debootstrap ] ||
        missing+=("debootstrap (apt-get install debootstrap)")
    command -v git >/dev/null || missing+=("git")
    if [ "$MODE" = package ]; then
        local tool
        for tool in python3 Xvfb xdotool xsetroot xwininfo import; do
            command -v "$tool" >/dev/null || missing+=("$tool for the display test (make deps installs it)")
        done
        [ -n "$DEB" ] || DEB=$(ls -t "$(source_tree)"/dist/brisko_*.deb 2>/dev/null | head -n 1)
        if [ -n "$DEB" ] && [ -f "$DEB" ]; then
            DEB=$(realpath "$DEB")
        else
            missing+=("a package: run make dist, or name one with --deb")
        fi
    fi
    if [ ${#missing[@]} -gt 0 ]; then
        printf 'fresh-machine-check needs: %s\n' "${missing[@]}" >&2
        exit 2
    fi
    PATH=$PATH:/usr/sbin:/sbin
}

# The URIs of this machine's apt source stanzas (deb822 files) that list the
# given suite; the first is used.
host_source_uri() {
    local suite=$1
    awk -v suite="$suite" 'BEGIN { RS = ""; FS = "\n" }
        {
            uris = ""; found = 0
            for (i = 1; i <= NF; i++) {
                if ($i ~ /^URIs:/) { uris = $i; sub(/^URIs:[ \t]*/, "", uris) }
                if ($i ~ /^Suites:/) {
                    n = split($i, words, /[ \t]+/)
                    for (j = 2; j <= n; j++) if (words[j] == suite) found = 1
                }
            }
            if (found && uris != "") { split(uris, first, /[ \t]+/); print first[1]; exit }
        }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true
}

choose_mirrors() {
    [ -n "$MIRROR" ] || MIRROR=$(host_source_uri "$SUITE")
    [ -n "$MIRROR" ] || MIRROR=http://deb.debian.org/debian
    SECURITY_MIRROR=$(host_source_uri "$SUITE-security")
    [ -n "$SECURITY_MIRROR" ] || SECURITY_MIRROR=http://deb.debian.org/debian-security
}

format_seconds() {
    local s=$1
    if [ "$s" -ge 3600 ]; then
        printf '%dh%02dm%02ds' $((s / 3600)) $((s % 3600 / 60)) $((s % 60))
    else
        printf '%dm%02ds' $((s / 60)) $((s % 60))
    fi
}

# Runs one named step and records how long it took.
timed() {
    local name=$1
    shift
    STEP=$name
    STEP_BEGAN=$(date +%s)
    echo "=== $name"
    "$@"
    STEP_TIMES+=("$name: $(format_seconds $(($(date +%s) - STEP_BEGAN)))")
    STEP_BEGAN=
}

mounts_under_root() {
    # Mount points at or below $ROOT, deepest first.
    awk -v root="$ROOT" '$5 == root || index($5, root "/") == 1 { print $5 }' /proc/self/mountinfo | sort -r
}

make_root() {
    if [ "$REUSE" = yes ] && [ -e "$ROOT/$MARKER" ]; then
        echo "reusing the root in $ROOT"
        return
    fi
    if [ -e "$ROOT" ]; then
        [ -e "$ROOT/$MARKER" ] || fail "$ROOT exists and is not a root this script made; remove it or choose --root"
        echo "removing the previous root in $ROOT"
        remove_root
    fi
    local options=(--variant=minbase)
    # The package mode's root gets nothing but what apt installs with the package.
    [ "$MODE" = package ] || options+=("--include=make,git,ca-certificates")
    if [ -n "$APT_CACHE" ]; then
        mkdir -p "$APT_CACHE"
        options+=("--cache-dir=$APT_CACHE")
    fi
    echo "debootstrap $SUITE from $MIRROR into $ROOT"
    mkdir -p "$ROOT"
    touch "$ROOT/$MARKER"
    debootstrap "${options[@]}" "$SUITE" "$ROOT" "$MIRROR" >"$ROOT.debootstrap.log" 2>&1 || {
        tail -n 30 "$ROOT.debootstrap.log" >&2
        return 1
    }
    rm -f "$ROOT.debootstrap.log"
    # The sources of a newly installed Debian 12 machine.
    rm -f "$ROOT/etc/apt/sources.list"
    cat >"$ROOT/etc/apt/sources.list.d/debian.sources" <<EOF
Types: deb
URIs: $MIRROR
Suites: $SUITE $SUITE-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg

Types: deb
URIs: $SECURITY_MIRROR
Suites: $SUITE-security
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
}

clone_source() {
    local repo commit
    repo=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
    commit=$(git -C "$repo" rev-parse --verify --quiet "$REV^{commit}") || fail "no revision '$REV' in $repo"
    if [ "$REV" = HEAD ] && [ -n "$(git -C "$repo" status --porcelain --untracked-files=no)" ]; then
        echo "note: $repo has uncommitted changes; the check uses the committed HEAD only"
    fi
    rm -rf "${ROOT:?}$SOURCE_DIR"
    git clone --quiet --no-checkout "$repo" "$ROOT$SOURCE_DIR"
    git -C "$ROOT$SOURCE_DIR" cat-file -e "$commit" 2>/dev/null ||
        git -C "$ROOT$SOURCE_DIR" fetch --quiet origin "$commit"
    git -C "$ROOT$SOURCE_DIR" checkout --quiet --detach "$commit"
    echo "cloned $(git -C "$ROOT$SOURCE_DIR" log -1 --format='%h %s') into $SOURCE_DIR"
}

bind_private() {
    mount --bind "$1" "$2"
    mount --make-private "$2"
}

mount_root() {
    cp -L /etc/resolv.conf "$ROOT/etc/resolv.conf"
    mount -t proc proc "$ROOT/proc"
    mount -t sysfs -o ro sysfs "$ROOT/sys"
    bind_private /dev "$ROOT/dev"
    bind_private /dev/pts "$ROOT/dev/pts"
    mount -t tmpfs -o mode=1777,nosuid,nodev shm "$ROOT/dev/shm"
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$ROOT/tmp"
    if [ -n "$APT_CACHE" ]; then
        mkdir -p "$APT_CACHE/partial"
        bind_private "$APT_CACHE" "$ROOT/var/cache/apt/archives"
    fi
}

# Runs a shell command in the root, with the clean environment of a login as
# root on a new machine.
enter_root() {
    chroot "$ROOT" /usr/bin/env -i HOME=/root TERM="${TERM:-dumb}" \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
        /bin/bash -c "$1"
}

# Ends what is still running inside the root (an X server or wineserver a
# failed test left), so that its file systems can be unmounted.
stop_root_processes() {
    local signal pid found
    for signal in TERM KILL; do
        found=no
        for pid in /proc/[0-9]*; do
            pid=${pid#/proc/}
            if [ "$(readlink "/proc/$pid/root" 2>/dev/null)" = "$ROOT" ]; then
                kill -s "$signal" "$pid" 2>/dev/null && found=yes
            fi
        done
        [ "$found" = yes ] || return 0
        sleep 2
    done
}

unmount_root() {
    local point
    for point in $(mounts_under_root); do
        umount "$point" 2>/dev/null || umount --lazy "$point" || echo "could not unmount $point" >&2
    done
}

remove_root() {
    unmount_root
    if [ -n "$(mounts_under_root)" ]; then
        echo "not removing $ROOT: something is still mounted in it" >&2
        return 1
    fi
    rm -rf --one-file-system "${ROOT:?}"
}

cleanup() {
    local status=$?
    trap - EXIT INT TERM
    set +e
    local outcome="PASSED"
    if [ "$status" -ne 0 ]; then
        outcome="FAILED in '$STEP' (exit status $status)"
        [ -z "$STEP_BEGAN" ] ||
            STEP_TIMES+=("$STEP (failed): $(format_seconds $(($(date +%s) - STEP_BEGAN)))")
    fi
    if [ -d "$ROOT" ]; then
        stop_root_processes
        if [ "$KEEP" = yes ]; then
            unmount_root
            echo "the root stays in $ROOT (--reuse starts from it)"
        else
            remove_root
            [ "$status" -eq 0 ] || echo "(--keep keeps the root and the build for a look)"
        fi
    fi
    echo
    echo "fresh-machine check, mode $MODE, revision ${REVISION_SHOWN:-$REV}: $outcome"
    local line
    for line in "${STEP_TIMES[@]}"; do
        echo "  $line"
    done
    echo "  total: $(format_seconds $(($(date +%s) - STARTED)))"
    exit "$status"
}

# The working tree this script is in: the package mode takes the display test from it.
source_tree() {
    cd "$(dirname "$0")/.." && pwd
}

installed_packages() {
    enter_root "dpkg-query -W -f='\${Package}\n'" | sort
}

install_package() {
    local name before brought missing
    name=$(basename "$DEB")
    before=$(installed_packages)
    cp "$DEB" "$ROOT/tmp/$name"
    echo "the root has $(echo "$before" | wc -l) packages; apt installs $name"
    enter_root "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends /tmp/$name >/tmp/apt.log 2>&1" || {
        tail -n 30 "$ROOT/tmp/apt.log" >&2
        return 1
    }
    brought=$(comm -13 <(echo "$before") <(installed_packages))
    echo "apt installed $(echo "$brought" | wc -l) packages:" $brought
    missing=$(enter_root "ldd /usr/bin/brisko" | grep 'not found' || true)
    [ -z "$missing" ] || fail "libraries the package's dependencies did not bring: $missing"
    echo "ldd /usr/bin/brisko: every library found"
    [ -f "$ROOT/usr/share/applications/brisko.desktop" ] || fail "the package installed no desktop entry"
}

start_installed_program() {
    local said status=0 launcher=$ROOT.brisko
    said=$(enter_root "/usr/bin/brisko" 2>&1 >/dev/null) || status=$?
    echo "without a display: exit code $status, \"$said\""
    [ "$status" -eq 1 ] && [[ "$said" == "brisko: cannot open its window: no display"* ]] ||
        fail "without a display the program should print why and exit with 1"
    mkdir -p "$ROOT/tmp/.X11-unix"
    bind_private /tmp/.X11-unix "$ROOT/tmp/.X11-unix"
    # The display test starts this in place of the program: the installed
    # program, in the root, on the display the test gives it.
    printf '#!/bin/sh\nexec chroot "%s" /usr/bin/env -i HOME=/root PATH=/usr/bin:/bin DISPLAY="$DISPLAY" /usr/bin/brisko\n' \
        "$ROOT" >"$launcher"
    chmod +x "$launcher"
    python3 -B "$(source_tree)/tests/display/run_display_test.py" --program "$launcher" \
        --res "$(source_tree)/res" --artifacts "$ROOT.artifacts" --scenario startup || {
        echo "the display test's screenshots and logs are in $ROOT.artifacts" >&2
        return 1
    }
    rm -rf "$launcher" "$ROOT.artifacts"
}

mode_package() {
    timed "install the package" install_package
    timed "start the program" start_installed_program
}

mode_test() {
    timed "make deps" enter_root "cd $SOURCE_DIR && make deps"
    timed "make test" enter_root "cd $SOURCE_DIR && make test"
}

main() {
    parse_args "$@"
    check_needs
    choose_mirrors
    REVISION_SHOWN=$(git -C "$(dirname "$0")" rev-parse --short --verify --quiet "$REV^{commit}" || echo "$REV")
    trap cleanup EXIT
    trap 'exit 130' INT
    trap 'exit 143' TERM
    timed "make the root" make_root
    [ "$MODE" = package ] || timed "clone" clone_source
    STEP="mount"
    mount_root
    "mode_$MODE"
}

main "$@"
