#!/usr/bin/env bash
# Fails when the engine's folders include each other in a circle: a pair that includes
# each other, or a longer loop (a → b → c → a). Each folder of src/engine is one node
# (engine/junk/linux counts as junk); an edge is an `#include "engine/<folder>/…"` line.
# Prints each pair and loop it finds; with -v also the graph.
# Usage: check-engine-layers.sh [-v] [SRC]
set -euo pipefail
verbose=0
[[ "${1:-}" == -v ]] && { verbose=1; shift; }
src=${1:-"$(dirname "$0")/../src"}

edges=$(cd "$src" && grep -rHo '^#include "engine/[A-Za-z0-9_]*/' engine \
    | sed -E 's@^engine/([^/]+)/[^:]*:#include "engine/([^/]+)/$@\1 \2@' \
    | awk '$1 != $2' | sort -u)
((verbose)) && printf '%s\n' "$edges"

# A depth-first walk from every folder: meeting a folder already on the current path is
# a loop, printed as the path from that folder back to itself.
printf '%s\n' "$edges" | awk '
    NF == 2 { next_[$1] = next_[$1] " " $2; nodes[$1]; nodes[$2]; edge[$1 " " $2] }
    function walk(n, depth,    i, j, k, targets, t, loop) {
        onPath[n] = depth; stack[depth] = n
        k = split(next_[n], targets, " ")
        for (i = 1; i <= k; i++) {
            t = targets[i]
            if (t in onPath) {
                loop = ""
                for (j = onPath[t]; j <= depth; j++) loop = loop stack[j] " → "
                loop = loop t
                if (!(loop in seen)) { seen[loop]; print "loop: " loop; found = 1 }
            } else if (!(t in done)) {
                walk(t, depth + 1)
            }
        }
        delete onPath[n]; done[n]
    }
    END {
        for (e in edge) {
            split(e, ab, " ")
            if (ab[1] < ab[2] && ((ab[2] " " ab[1]) in edge)) { print "pair: " ab[1] " ⇄ " ab[2]; found = 1 }
        }
        for (n in nodes) if (!(n in done)) walk(n, 0)
        exit found
    }'
