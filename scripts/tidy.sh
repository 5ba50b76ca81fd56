#!/usr/bin/env bash
# Runs clang-tidy with the project's .clang-tidy over every source file that
# the build in BUILD (default build-test) compiles, and over every header of
# ours they include; any finding fails.
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
# Our headers, wherever they are: everything in the source tree but the build
# directories in it (those holding a CMakeCache.txt) and hidden ones, and the
# include roots the build exports, whose links name our headers under the
# build directory (cmake/Headers.cmake). Left out: system headers, Qt and
# other libraries, and what the build generates (moc, resources). Each
# directory by its path as given and as resolved, since clang names a header
# by the path it was found through.
header_filter=$(python3 - "$build" "$root" <<'PY'
import os, re, sys
build, root = sys.argv[1:3]

def forms(path):
    return sorted({os.path.abspath(path), os.path.realpath(path)})

def escape(text):
    return re.sub(r"([.^$|()\[\]{}*+?\\])", r"\\\1", text)

def is_build(path):
    return os.path.exists(os.path.join(path, "CMakeCache.txt")) or os.path.realpath(path) == os.path.realpath(build)

folders = sorted(e.name for e in os.scandir(root)
                 if e.is_dir() and not e.name.startswith(".") and not is_build(e.path))
mine = "|".join(escape(f) for f in folders)
paths = [escape(r) + "/([^/]+|(" + mine + ")/.+)" for r in forms(root)]
paths += [escape(b) + "/include/[^/]+/.+" for b in forms(build)]
print("^(" + "|".join(paths) + ")\\.h$")
PY
)

log="$build/tidy.log"
# The build's flags are GCC's; clang-tidy does not know some of its warnings.
if run-clang-tidy -p "$build" -j "$(nproc)" -quiet -header-filter="$header_filter" \
  -extra-arg=-Wno-unknown-warning-option "${files[@]}" \
  >"$log" 2>&1; then
  echo "tidy: ${#files[@]} files, no findings"
else
  sed 's/\x1b\[[0-9;]*m//g' "$log" | grep -E -A6 '(warning|error): ' | grep -v -E '^[0-9]+ warnings? generated' || tail -n 40 "$log"
  echo "tidy: findings in ${#files[@]} files (whole log: $log)" >&2
  exit 1
fi
