# Shared by the scripted tests (e2e, install, Debian package, release): pass
# and fail lines with a failure count, a tool check, a poll with a deadline,
# and a scratch folder cleared at exit.
# Source it after setting `test_name` to the test's name.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Exits 1 naming the first tool that is not installed.
need_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || { echo "$test_name: $tool missing (see scripts/packages.txt)"; exit 1; }
  done
}

# Polls a command until it succeeds or the seconds run out. Timed in
# microseconds: bash's SECONDS counts whole seconds, so a one-second wait
# could have ended almost at once.
now_us() { local t=${EPOCHREALTIME/[.,]/}; echo $((10#$t)); }
wait_for() {
  local seconds=$1; shift
  local deadline=$(($(now_us) + seconds * 1000000))
  until "$@"; do
    (($(now_us) < deadline)) || return 1
    sleep 0.1
  done
}

# True when a sanitizer-built program's output (the files given) shows that
# LeakSanitizer's exit-time tracer itself crashed, so that no leak check ran,
# and shows no sanitizer report: a leak or memory error is never taken for it.
# The tracer is the sanitizer runtime's code, not ours; a run that ends so is
# worth one more try, which must then check clean.
lsan_tracer_crashed() {
  grep -q '^Tracer caught signal' "$@" && grep -q 'LeakSanitizer has encountered a fatal error' "$@" &&
    ! grep -qE 'ERROR: (LeakSanitizer|AddressSanitizer)|runtime error:' "$@"
}

# Makes the scratch folder $work, removed at exit once the background process
# whose id the variable named VARIABLE holds (if any) has been stopped.
# Usage: scratch_folder NAME VARIABLE
scratch_folder() {
  work=$(mktemp -d "/tmp/quillfrost-$1.XXXXXX")
  scratch_process=$2
  trap '[[ -n ${!scratch_process} ]] && kill "${!scratch_process}" 2>/dev/null; rm -rf "$work"' EXIT
}
