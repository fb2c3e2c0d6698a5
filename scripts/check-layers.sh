#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. Every include names its
# layer ("engine/ShoeEngine.h"), so the check reads the folder of the file and of each include.
# Usage: check-layers.sh [ROOT]
set -euo pipefail
cd "${1:-$(dirname "$0")/..}"

# The layers each layer may include, besides its own. Qt-free layers never reach a Qt one.
declare -A allowed=(
    [platform]=""
    [engine]="platform"
    [history]="engine platform"
    [roads]="engine platform"
    [sim]="roads history engine platform"
    [settings]="dialogs engine platform"
    [cli]="settings sim roads history engine platform"
    [dialogs]="platform"
    [ui]="settings dialogs sim roads history engine platform"
    [app]="ui settings dialogs sim roads history engine platform"
)

status=0
for layer in "${!allowed[@]}"; do
    [ -d "$layer" ] || continue
    while IFS= read -r line; do
        file=${line%%:*}
        target=$(sed -E 's/.*#[[:space:]]*include[[:space:]]+"([^/"]+)\/.*/\1/' <<<"$line")
        [ "$target" = "$layer" ] && continue
        case " ${allowed[$layer]} " in
            *" $target "*) ;;
            *)
                echo "upward include: $file includes a header of $target/" >&2
                status=1
                ;;
        esac
    done < <(grep -rHE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+/' "$layer" \
                 --include='*.h' --include='*.cpp' || true)
    # A header named without its layer hides where it lives.
    if grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[^/"]+\.h"' "$layer" \
            --include='*.h' --include='*.cpp' | grep -v '"ui_[A-Za-z]*\.h"'; then
        echo "includes above do not name their layer" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "layers: every include points downwards"
exit "$status"
