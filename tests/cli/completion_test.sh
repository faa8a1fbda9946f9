#!/usr/bin/env bash
# The shell completions against the program: every command and every option that the program's
# help lists is offered by the bash, zsh and fish completion, and the bash completion completes
# commands, options and set's fields.
#   completion_test.sh <dashcfg> <source dir>
set -euo pipefail
program=$1
folder=$2/packaging/linux/completions
fail() { echo "FAIL: $*" >&2; exit 1; }

commands=$("$program" --help | awk '/^Subcommands:/ {listing = 1; next} listing && /^  [a-z]/ {print $1; next} listing && /^   / {next} listing {listing = 0}')
[[ -n "$commands" ]] || fail "no commands in $program --help"
for command in $commands; do
  options=$("$program" help "$command" | grep -oE '^  +--[a-z-]+' | tr -d ' ' | grep -v -- '--help' || true)
  for file in dashcfg.bash _dashcfg dashcfg.fish; do
    grep -qw -- "$command" "$folder/$file" || fail "$file does not offer the command $command"
    for option in $options; do
      case $file in
        dashcfg.fish) pattern="-l ${option#--}" ;;
        *) pattern="$option" ;;
      esac
      grep -qF -- "$pattern" "$folder/$file" || fail "$file does not offer $option of $command"
    done
  done
done

# bash: the completion function with stand-ins for bash-completion's helpers.
completions() {
  bash -c '
    _init_completion() { words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD; cur=${words[cword]}; prev=${words[cword-1]}; }
    _filedir() { :; }
    compopt() { :; }
    dashcfg() { "$PROGRAM" "$@"; }
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _dashcfg
    printf "%s\n" "${COMPREPLY[@]}"' completion "$folder/dashcfg.bash" "$@"
}
export PROGRAM=$program
[[ $(completions dashcfg sh) == show ]] || fail "bash: 'dashcfg sh' gives $(completions dashcfg sh)"
[[ $(completions dashcfg set --d) == --dry-run ]] || fail "bash: 'dashcfg set --d' gives $(completions dashcfg set --d)"
[[ $(completions dashcfg clock card --repeated s) == second ]] || fail "bash: --repeated"
[[ $(completions dashcfg set card parking_ti) == parking_timer_hours= ]] \
  || fail "bash: 'dashcfg set card parking_ti' gives $(completions dashcfg set card parking_ti)"
echo "completions offer every command and option"
