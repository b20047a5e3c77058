# Shared by the end-to-end scripts: the runnable folder from $1, a scratch folder, and a tally of
# failed checks. Source it, call `fail` for each failed check and end with `finish NAME`.
set -u
run_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

finish() {
  if [ "$failures" -gt 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all $1 checks passed"
}
