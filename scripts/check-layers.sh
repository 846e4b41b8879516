#!/usr/bin/env bash
# Fails on an include that points up or sideways between the layers of src/: each folder may
# include only itself and the folders listed for it below.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

declare -A allowed=(
    [base]="base"
    [platform]="base platform"
    [core]="base platform core"
    [scan]="base platform core scan"
    [repair]="base platform core repair"
    [forms]="base platform forms"
    [app]="base platform core scan repair forms app"
)

status=0
for layer in "${!allowed[@]}"; do
    while IFS=: read -r file line include; do
        target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$include")
        if [[ " ${allowed[$layer]} " != *" $target "* ]]; then
            echo "$file:$line: $layer must not include $target/ ($include)"
            status=1
        fi
    done < <(grep -rnE '^#include "[^/"]+/' "src/$layer" || true)
done
[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
