#!/bin/sh
# cli_manual_check.sh PROGRAM PACKAGING_FOLDER WORK_FOLDER
# The manual page help2man writes from lumbra-nss-cli's own --help and --version: titled by the
# program, its NAME line the program's, each command a paragraph of its own and the exit codes a
# list. And the bash completion: the commands, then the options of the program and the command.
set -eu
# A sanitizer build reports the leaks of the short runs it makes; they are not what is checked.
export ASAN_OPTIONS=detect_leaks=0
program=$1 packaging=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
fail() { echo "FAIL: $*"; exit 1; }

sh "$packaging/man-page.sh" "$program" "recover files" "$packaging/lumbra-nss-cli.h2m" \
  "$work/page.1.gz" commands
zcat "$work/page.1.gz" > "$work/page.1"
grep -q '^\.TH LUMBRA-NSS-CLI "1"' "$work/page.1" || fail "title: $(grep '^\.TH' "$work/page.1")"
grep -A1 '^\.SH NAME' "$work/page.1" | grep -q '^lumbra-nss-cli \\- recover files$' || fail "NAME line"
# Every command of the program's help is a tagged paragraph of its own in the list of commands.
for command in $("$program" --help | sed -n '/^Commands:/,$p' | awk 'NR > 1 && /^  [a-z]/ { print $1 }'); do
  escaped=$(printf '%s' "$command" | sed 's/-/\\\\-/g')
  grep -A1 '^\.TP$' "$work/page.1" | grep -qx "$escaped" || fail "command $command is no paragraph of its own"
done
for code in 0 1 2 3 130; do
  grep -A1 '^\.TP$' "$work/page.1" | grep -qx "\(\.B \)\?$code" || fail "exit code $code is no list item"
done

complete_words() {
  bash -c '. "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _lumbra_nss_cli; printf "%s\n" "${COMPREPLY[@]}"' \
    sh "$packaging/lumbra-nss-cli.bash" "$program" "$@"
}
[ "$(complete_words ex)" = extract ] || fail "command completion: $(complete_words ex)"
complete_words snap | grep -qx snapshot-save || fail "snapshot commands"
complete_words list --pa | grep -qx -- --path || fail "list option: $(complete_words list --pa)"
complete_words list --bo | grep -qx -- --bodyfile || fail "list --bodyfile"
complete_words list --no | grep -qx -- --no-drives || fail "global option"
[ -z "$(complete_words drives --pa)" ] || fail "drives offers --path"
complete_words extract --duplicates o | grep -qx overwrite || fail "--duplicates values"
complete_words plan --wh | grep -qx -- --what || fail "plan option: $(complete_words plan --wh)"
[ "$(complete_words plan --what m)" = metadata ] || fail "--what values: $(complete_words plan --what m)"
echo "manual page and completion as expected"
