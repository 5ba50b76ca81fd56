#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file that
# the build in BUILD (default build-test) compiles; any finding fails.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-test}"
if [[ ! -f "$build/compile_commands.json" ]]; then
  echo "tidy: $build/compile_commands.json is missing: configure and build first" >&2
  exit 2
fi
# Our sources only: not what the build generates (moc, resources).
mapfile -t files < <(python3 - "$build" "$root" <<'PY'
import json, os, sys
build, root = (os.path.realpath(p) for p in sys.argv[1:3])
entries = json.load(open(os.path.join(build, "compile_commands.json")))
files = {os.path.realpath(os.path.join(e["directory"], e["file"])) for e in entries}
print("\n".join(sorted(f for f in files if f.startswith(root + os.sep) and not f.startswith(build + os.sep))))
PY
)
log="$build/tidy.log"
# The build's flags are GCC's; clang-tidy does not know some of its warnings.
if run-clang-tidy -p "$build" -j "$(nproc)" -quiet -extra-arg=-Wno-unknown-warning-option "${files[@]}" \
  >"$log" 2>&1; then
  echo "tidy: ${#files[@]} files, no findings"
else
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E -A6 '(warning|error): ' | grep -v -E '^[0-9]+ warnings? generated' || tail -n 40 "$log"
  echo "tidy: findings in ${#files[@]} files (whole log: $log)" >&2
  exit 1
fi
