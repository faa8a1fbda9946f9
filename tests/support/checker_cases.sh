# Sourced by the tests of the tree's own checkers: a scratch folder removed at exit, a count of
# failed cases, and one case: a checker run that must pass, or fail with a report naming the
# fault.

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

# expect_check <what> <text the report must hold; empty: the check must pass> <command...>
expect_check() {
  local what=$1 expected=$2 output
  shift 2
  if output=$("$@" 2>&1); then
    if [[ -z $expected ]]; then echo "ok: $what"; return; fi
    echo "FAIL: $what: the check passed"
  elif [[ -z $expected ]]; then
    echo "FAIL: $what: the check failed:"; echo "$output"
  elif grep -qF -- "$expected" <<<"$output"; then
    echo "ok: $what"; return
  else
    echo "FAIL: $what: the report does not name '$expected':"; echo "$output"
  fi
  failures=$((failures + 1))
}

# finish <what passed>: the test's exit status, with a line saying how it went.
finish() {
  if ((failures)); then echo "$failures case(s) failed"; exit 1; fi
  echo "$1"
}
