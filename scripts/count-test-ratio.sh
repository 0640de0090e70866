#!/usr/bin/env bash
# Test lines against code lines: the share the project keeps tests within.
# Counts non-blank lines of C++ sources (.cpp, .h, .mm) that are neither // comments
# nor inside /* */ blocks, under tests/ and under src/.
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"

count() {
  find "$1" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.mm' \) -print0 |
    xargs -0 -r awk '
      FNR == 1 { inblock = 0 }
      {
        line = $0
        # Drop block comments, keeping what stands outside them on the same line.
        out = ""
        while (length(line) > 0) {
          if (inblock) {
            end = index(line, "*/")
            if (end == 0) { line = ""; break }
            line = substr(line, end + 2)
            inblock = 0
          } else {
            start = index(line, "/*")
            slashes = index(line, "//")
            # A line comment that starts first hides any "/*" after it.
            if (slashes > 0 && (start == 0 || slashes < start)) {
              out = out substr(line, 1, slashes - 1); line = ""; break
            }
            if (start == 0) { out = out line; line = ""; break }
            out = out substr(line, 1, start - 1)
            line = substr(line, start + 2)
            inblock = 1
          }
        }
        gsub(/^[ \t]+|[ \t]+$/, "", out)
        if (out == "") next
        n++
      }
      END { print n + 0 }'
}

tests=$(count "$root/tests")
src=$(count "$root/src")
awk -v t="$tests" -v s="$src" 'BEGIN {
  printf "tests: %d\nsrc:   %d\nratio: %.1f %%\n", t, s, (s ? 100 * t / s : 0)
}'
