# The bookkeeping the Wine scripts share: `check NAME COMMAND...` runs COMMAND, prints "ok" or
# "FAIL" with NAME and counts it; `checks_done TITLE` prints the counts and fails when any check did.
passed=0
failed=0
check() {  # check NAME COMMAND...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1)); echo "ok   $name"
  else
    failed=$((failed + 1)); echo "FAIL $name"
  fi
}
checks_done() {  # checks_done TITLE
  echo "$1: $passed superati, $failed falliti"
  ((failed == 0))
}
