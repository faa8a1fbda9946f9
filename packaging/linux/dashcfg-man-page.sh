#!/usr/bin/env bash
# Makes dashcfg's manual page from its own help texts: help2man turns `dashcfg --help` and
# `dashcfg --version` into the page; each command's `--help` follows under COMMANDS and the
# exit codes under EXIT STATUS, preformatted as the program prints them.
#   dashcfg-man-page.sh <dashcfg> <output .1.gz>
set -euo pipefail
program=$(realpath "$1")
output=$2

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Every help text ends with the exit codes; the page gives them a section of their own.
without_exit_codes() { sed '/^Exit codes:/,$d'; }
# Backslashes and lines that start with a dot or quote would be read as roff requests.
as_roff_text() { sed -e 's/\\/\\e/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"; }

# The command names: the first word of each line of the help's command list.
commands=$("$program" --help | awk '/^[A-Za-z]*[Ss]ubcommands:/ {listing = 1; next}
                                    listing && /^  [a-z]/ {print $1; next}
                                    listing && /^   / {next}
                                    listing {listing = 0}')
if [[ -z "$commands" ]]; then
  echo "dashcfg-man-page: no commands in the output of $program --help" >&2
  exit 1
fi

{
  echo "[COMMANDS]"
  for command in $commands; do
    echo ".SS $command"
    echo ".nf"
    "$program" "$command" --help | without_exit_codes | as_roff_text
    echo ".fi"
  done
  echo "[EXIT STATUS]"
  echo ".nf"
  "$program" --help | sed -n '/^Exit codes:/,$p' | tail -n +2 | as_roff_text
  echo ".fi"
} >"$work/sections.h2m"

# help2man reads the top-level help through a stand-in of the same name without the exit codes.
mkdir "$work/bin"
cat >"$work/bin/dashcfg" <<STANDIN
#!/usr/bin/env bash
set -o pipefail
if [[ "\$*" == "--help" ]]; then "$program" --help | sed '/^Exit codes:/,\$d'; else exec "$program" "\$@"; fi
STANDIN
chmod +x "$work/bin/dashcfg"

help2man --no-info --section=1 --name="edit a dash cam's settings on its memory card" \
  --include="$work/sections.h2m" --output="$work/dashcfg.1" "$work/bin/dashcfg"
gzip -9n <"$work/dashcfg.1" >"$output"
