#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own, and
# lists the offending lines. The layers, lowest first:
#
#   data < geometry < engine < output < check < shell/app < cli, shell/gui
#
# A layer may include its own headers and those of any layer below it; the
# two programs' layers (cli, shell/gui) do not include each other.
#
#   check_layers.sh SOURCE_DIR    (the src folder)
set -euo pipefail

[ "$#" -eq 1 ] || { echo "usage: check_layers.sh SOURCE_DIR" >&2; exit 2; }
src=$1

# The rank of a layer folder, or nothing for a folder that is no layer.
rank_of() {
    case "$1" in
        data) echo 0 ;;
        geometry) echo 1 ;;
        engine) echo 2 ;;
        output) echo 3 ;;
        check) echo 4 ;;
        shell/app) echo 5 ;;
        cli | shell/gui) echo 6 ;;
        *) echo "" ;;
    esac
}

# The layer of a path relative to src: shell/app and shell/gui are two.
layer_of() {
    case "$1" in
        shell/*) echo "$1" | cut -d/ -f1-2 ;;
        *) echo "$1" | cut -d/ -f1 ;;
    esac
}

failures=0
while IFS= read -r file; do
    relative=${file#"$src"/}
    own=$(layer_of "$relative")
    own_rank=$(rank_of "$own")
    [ -n "$own_rank" ] || continue
    while IFS= read -r hit; do
        number=${hit%%:*}
        included=$(echo "$hit" | sed -n 's/^[0-9]*:[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p')
        [ -n "$included" ] || continue
        case "$included" in */*) ;; *) continue ;; esac
        other=$(layer_of "$included")
        other_rank=$(rank_of "$other")
        [ -n "$other_rank" ] || continue
        if [ "$other" != "$own" ] && [ "$other_rank" -ge "$own_rank" ]; then
            echo "$relative:$number: $own includes $included ($other is not below it)"
            failures=$((failures + 1))
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$src" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ "$failures" -ne 0 ]; then
    echo "$failures include(s) against the layers" >&2
    exit 1
fi
echo "layers: no file includes a header of a higher layer"
