#!/bin/bash
# Installs the Debian package with apt into a fresh minimal Debian 12 root
# (debootstrap, variant minbase), so that nothing but the package and what
# its Depends bring is there, and starts the program in that root on a
# virtual display: its window must appear, show its first picture where it
# belongs, and end with exit code 0 on a click on its close control.
#
#   tools/fresh-package-check.sh [PACKAGE.deb]     (as root; default: the one in dist/)
#
# The X server and the tools that drive it (Xvfb, xdotool, the display test)
# run on the host: the root gets the server's socket through a bind mount of
# /tmp/.X11-unix and nothing else, so what the program finds there came with
# the package. Set MIRROR to use another Debian mirror, KEEP=1 to keep the root.
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
mirror=${MIRROR:-http://deb.debian.org/debian}
suite=bookworm

say() { printf '== %s\n' "$*"; }
fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

[ "$(id -u)" -eq 0 ] || fail "run as root: debootstrap and chroot need it"
for tool in debootstrap chroot Xvfb xdotool python3; do
    command -v "$tool" >/dev/null || fail "needs $tool (make deps installs it)"
done
package=${1:-$(ls "$source_dir"/dist/brisko_*.deb 2>/dev/null | tail -n 1)}
[ -n "$package" ] && [ -f "$package" ] || fail "no package: run make dist first, or name the .deb"
package=$(cd "$(dirname "$package")" && pwd)/$(basename "$package")

work=$(mktemp -d /var/tmp/brisko-fresh-package.XXXXXX)
root=$work/root
mounts=()

# Unmounts what this script mounted; the root is removed only when nothing
# is mounted in it any more, so a failed unmount can never lead rm into /dev.
cleanup() {
    local index
    for ((index = ${#mounts[@]} - 1; index >= 0; index--)); do
        umount "${mounts[index]}" 2>/dev/null || umount -l "${mounts[index]}" 2>/dev/null || true
    done
    if [ "${KEEP:-0}" = 1 ]; then
        echo "kept $work"
    elif ! grep -q " $work/" /proc/mounts; then
        rm -rf "$work"
    else
        echo "left $work: something is still mounted in it" >&2
    fi
}
trap cleanup EXIT

mount_in_root() {  # mount_in_root TARGET MOUNT-ARGUMENTS...
    local target=$root/$1
    shift
    mkdir -p "$target"
    mount "$@" "$target"
    mounts+=("$target")
}

in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

installed_packages() { in_root dpkg-query -W -f='${Package}\n' | sort; }

say "a fresh $suite root (minbase) from $mirror"
debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    fail "debootstrap failed; see $work/debootstrap.log (KEEP=1 keeps it)"
mount_in_root proc -t proc proc
mount_in_root dev --bind /dev
installed_packages >"$work/before"
say "the root has $(wc -l <"$work/before") packages; installing $(basename "$package") with apt"

cp "$package" "$root/tmp/"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    "/tmp/$(basename "$package")" >"$work/apt.log" 2>&1 || {
    cat "$work/apt.log"
    fail "apt could not install the package"
}
installed_packages >"$work/after"
brought=$(comm -13 "$work/before" "$work/after")
say "apt installed $(echo "$brought" | wc -l) packages: $(echo "$brought" | tr '\n' ' ')"

say "the program's libraries, all from the package's dependencies"
missing=$(in_root ldd /usr/bin/brisko | grep 'not found' || true)
[ -z "$missing" ] || fail "libraries not found in the root: $missing"
in_root dpkg-query -W -f='${Version}\n' brisko | sed 's/^/installed brisko /'
[ -f "$root/usr/share/applications/brisko.desktop" ] || fail "no desktop entry in the root"

say "without a display: one line on stderr, exit code 1"
status=0
said=$(in_root /usr/bin/brisko 2>&1 >/dev/null) || status=$?
echo "exit code $status: $said"
[ "$status" -eq 1 ] && [[ "$said" == "brisko: cannot open its window: no display"* ]] ||
    fail "without a display the program said \"$said\" and exited with $status"

say "on a virtual display (the host's Xvfb, its socket bind-mounted into the root)"
mount_in_root tmp/.X11-unix --bind /tmp/.X11-unix
launcher=$work/brisko-in-root
cat >"$launcher" <<EOF
#!/bin/sh
# The installed program, in the fresh root, on the display the test gives it.
exec chroot "$root" env -i PATH=/usr/bin:/bin HOME=/root LANG=C.UTF-8 DISPLAY="\$DISPLAY" /usr/bin/brisko "\$@"
EOF
chmod +x "$launcher"
python3 -B "$source_dir/tests/display/run_display_test.py" --program "$launcher" --res "$source_dir/res" \
    --artifacts "$work/artifacts" --scenario startup ||
    fail "the installed program failed the start-up check (KEEP=1 keeps $work/artifacts)"
say "passed: apt installed the package into a fresh root, its window appeared and closed with exit code 0"
