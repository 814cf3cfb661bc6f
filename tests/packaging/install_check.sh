#!/bin/sh
# install_check.sh BUILD_FOLDER MAKE_DEMO_IMAGE WORK_FOLDER
# Installs the build into a scratch root (DESTDIR) and checks what a machine gets: every file of
# the installation, programs that run from any folder and find their libraries, a valid menu
# entry that starts the program itself, a polkit action for the device-opening helper alone (no
# action lets a window run as root), and manual pages that name every command. Then the same build installed under
# another prefix given only when installing, and a package of a prefix other than /usr refused.
set -eu
build=$1 make_image=$2 work=$3
rm -rf "$work"
mkdir -p "$work/elsewhere"
root="$work/root"
DESTDIR="$root" cmake --install "$build" >/dev/null
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
private=$(find "$root$prefix/lib" -type d -name lumbra-nss | head -n 1)
fail() { echo "FAIL: $*"; exit 1; }

# Every file of the installation.
for file in "$private/lumbra-nss" "$private/lumbra-nss-cli" "$private/lumbra-nss-open-device" \
            "$private/libDisk32.so" "$private/libdisk2.so" \
            "$root$prefix/share/applications/com.corvalt.LumbraNss.desktop" \
            "$root$prefix/share/metainfo/com.corvalt.LumbraNss.metainfo.xml" \
            "$root/usr/share/polkit-1/actions/com.corvalt.LumbraNss.policy" \
            "$root$prefix/share/man/man1/lumbra-nss.1.gz" "$root$prefix/share/man/man1/lumbra-nss-cli.1.gz" \
            "$root$prefix/share/bash-completion/completions/lumbra-nss-cli" \
            "$root$prefix/share/doc/lumbra-nss/copyright" "$root$prefix/share/doc/lumbra-nss/changelog.gz"; do
  [ -s "$file" ] || fail "missing $file"
done
for size in 16 32 48 64 128 256; do
  icon="$root$prefix/share/icons/hicolor/${size}x${size}/apps/com.corvalt.LumbraNss.png"
  [ -s "$icon" ] || fail "missing $icon"
done
for command in lumbra-nss lumbra-nss-cli; do
  [ -L "$root$prefix/bin/$command" ] && [ -x "$root$prefix/bin/$command" ] || fail "bin/$command is no working link"
done
grep -q "DejaVu" "$root$prefix/share/doc/lumbra-nss/copyright" || fail "copyright lacks the bundled faces' licence"
# The user guide and every picture it shows.
guide="$root$prefix/share/doc/lumbra-nss/guide"
[ -s "$guide/index.html" ] || fail "missing the user guide"
for picture in $(sed -n 's/.*src="\([^"]*\)".*/\1/p' "$guide/index.html"); do
  [ -s "$guide/$picture" ] || fail "the guide's picture $picture is not installed"
done
if readelf -d "$private/lumbra-nss-cli" "$private/lumbra-nss" | grep -E 'R(UN)?PATH' | grep -q "$build"; then
  fail "an installed program looks into the build folder"
fi

# The installed command line, run from another folder, reads an image in both access modes.
"$make_image" "$work/disk.img" >/dev/null
cd "$work/elsewhere"
cli="$root$prefix/bin/lumbra-nss-cli"
"$cli" --no-drives --image "$work/disk.img" pools --drive 0 | grep -q OFFICE || fail "pools"
"$cli" --no-drives --image "$work/disk.img" list --drive 0 --pool 0 --volume 0 | grep -q Documents || fail "list"
"$cli" --no-drives --image "$work/disk.img" --access-mode=F pools --drive 0 | grep -q ARCHIVE ||
  fail "the F mode does not find its libraries"
"$root$prefix/bin/lumbra-nss" --version | grep -q "Version" || fail "lumbra-nss --version"

# The menu entry and the metainfo validate; the entry starts the program itself, as the user.
desktop="$root$prefix/share/applications/com.corvalt.LumbraNss.desktop"
desktop-file-validate "$desktop" || fail "desktop entry"
grep -q "^Exec=$prefix/bin/lumbra-nss %F$" "$desktop" || fail "Exec line: $(grep ^Exec= "$desktop")"
[ -x "$root$prefix/bin/lumbra-nss" ] || fail "the entry's program is not installed"
grep -q "^MimeType=application/x-raw-disk-image;" "$desktop" || fail "MimeType"
appstreamcli validate --no-net "$root$prefix/share/metainfo/com.corvalt.LumbraNss.metainfo.xml" || fail "metainfo"

# The policy has one action, for the device-opening helper only: pkexec may run nothing else of
# the program, one question serves several disks, and no action lets a window run as root.
policy="$root/usr/share/polkit-1/actions/com.corvalt.LumbraNss.policy"
[ "$(grep -c "<action " "$policy")" -eq 1 ] || fail "the policy does not hold exactly one action"
grep -q "<annotate key=\"org.freedesktop.policykit.exec.path\">$prefix/lib/\(.*/\)\?lumbra-nss/lumbra-nss-open-device</annotate>" \
  "$policy" || fail "policy path: $(grep exec.path "$policy")"
grep -q "<allow_active>auth_admin_keep</allow_active>" "$policy" || fail "allow_active is not auth_admin_keep"
grep -q "<allow_inactive>auth_admin</allow_inactive>" "$policy" && grep -q "<allow_any>auth_admin</allow_any>" "$policy" ||
  fail "allow_inactive or allow_any is not auth_admin"
if grep -rl "allow_gui" "$root/usr/share/polkit-1/actions"; then fail "an installed action carries allow_gui"; fi
[ ! -e "$private/lumbra-nss-launcher" ] || fail "the old launcher is still installed"
# The helper is no setuid program (pkexec gives it its rights) and runs only on the program's socket.
[ ! -u "$private/lumbra-nss-open-device" ] || fail "the helper is setuid"
status=0
ASAN_OPTIONS=detect_leaks=0 "$private/lumbra-nss-open-device" </dev/null 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "the helper ran on standard input that is no socket (status $status)"

# The manual pages name every command, and carry the exit codes and examples.
cli_page=$(gzip -dc "$root$prefix/share/man/man1/lumbra-nss-cli.1.gz")
for command in $("$cli" --help | sed -n '/^Commands:/,$p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }'); do
  printf '%s\n' "$cli_page" | grep -q "^\.SS $command$" || fail "the manual page lacks $command"
done
for page in lumbra-nss lumbra-nss-cli; do
  text=$(gzip -dc "$root$prefix/share/man/man1/$page.1.gz" | sed "s/\\\\-/-/g")
  for section in EXAMPLES "EXIT STATUS"; do
    printf "%s\n" "$text" | grep -q "^\.SH .*$section" || fail "$page.1 lacks $section"
  done
  for option in image no-drives access-mode; do
    printf "%s\n" "$text" | grep -q -- "$option" || fail "$page.1 lacks --$option"
  done
done

# The prefix given when installing decides where everything goes, the commands' links and the
# paths the menu entry and the policy hold included.
other="$work/other-root"
DESTDIR="$other" cmake --install "$build" --prefix /usr >/dev/null
for command in lumbra-nss lumbra-nss-cli; do
  [ -L "$other/usr/bin/$command" ] && [ -x "$other/usr/bin/$command" ] || fail "--prefix /usr: usr/bin/$command is no working link"
done
"$other/usr/bin/lumbra-nss-cli" --no-drives --image "$work/disk.img" pools --drive 0 | grep -q OFFICE ||
  fail "--prefix /usr: the command line does not run"
"$other/usr/bin/lumbra-nss" --version | grep -q "Version" || fail "--prefix /usr: lumbra-nss --version"
entry="$other/usr/share/applications/com.corvalt.LumbraNss.desktop"
entry_program=$(sed -n 's/^Exec=\([^ ]*\) %F$/\1/p' "$entry")
[ "$entry_program" = /usr/bin/lumbra-nss ] || fail "--prefix /usr: Exec line names $entry_program"
[ -x "$other$entry_program" ] || fail "--prefix /usr: the entry's program $entry_program is not installed"
policy_program=$(sed -n 's/.*"org.freedesktop.policykit.exec.path">\([^<]*\)<.*/\1/p' \
  "$other/usr/share/polkit-1/actions/com.corvalt.LumbraNss.policy")
case "$policy_program" in /usr/lib/*lumbra-nss/lumbra-nss-open-device) ;; *) fail "--prefix /usr: the policy names $policy_program" ;; esac
[ -x "$other$policy_program" ] || fail "--prefix /usr: the policy's program $policy_program is not installed"
if [ -e "$other/usr/local" ]; then fail "--prefix /usr: files went to usr/local: $(find "$other/usr/local" | head -n 3)"; fi

# A Debian package installs under /usr: a build of another prefix is refused with the way to
# build one, before anything is packed.
if [ "$prefix" != /usr ]; then
  if out=$(cd "$build" && cpack -G DEB -B "$work/cpack" 2>&1); then fail "cpack packed a $prefix build"; fi
  printf '%s' "$out" | grep -q "scripts/package.sh" || fail "cpack's refusal does not point at scripts/package.sh: $out"
  [ -z "$(find "$work/cpack" -name '*.deb' 2>/dev/null)" ] || fail "cpack left a package"
fi

cd /
rm -rf "$work"
echo "installation checked"
