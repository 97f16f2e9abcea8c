#!/usr/bin/env bash
# Runs the Linux batch command and the Windows one (under wine) on the same
# work sites and compares every byte they leave: the listing (.vek), the
# results (.new), the work-site file (.bvk), standard output, standard error
# and the exit status. The surveyor must get the same numbers whichever
# system computed them.
#
#   compare_builds.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR SOURCE_DIR
#
# Work sites: the bundled demo, and random networks from the generator of the
# Linux build (several sizes, the three angle units, with and without the odd
# lines that the readers must report), each computed from several start
# points in a row.
set -euo pipefail

if [ "$#" -ne 3 ]; then
    echo "usage: compare_builds.sh LINUX_BUILD_DIR WINDOWS_BUILD_DIR SOURCE_DIR" >&2
    exit 2
fi
linux_dir=$(cd "$1" && pwd)
windows_dir=$(cd "$2" && pwd)
source_dir=$(cd "$3" && pwd)

linux_batch=$linux_dir/src/calctopo-batch
make_network=$linux_dir/tests/calctopo-make-network
windows_batch=$windows_dir/src/calctopo-batch.exe
run_windows=$windows_dir/run-windows
for program in "$linux_batch" "$make_network"; do
    if [ ! -x "$program" ]; then
        echo "compare_builds: $program is missing: build the Linux side first" \
            "(cmake --preset dev && cmake --build --preset dev)" >&2
        exit 1
    fi
done
for program in "$windows_batch" "$run_windows"; do
    if [ ! -e "$program" ]; then
        echo "compare_builds: $program is missing: build the windows-cross preset first" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/calctopo-compare.XXXXXX")
trap '[ -n "${CALCTOPO_KEEP_COMPARE:-}" ] || rm -rf "$work"' EXIT

# shellcheck source=compare_support.sh
. "$source_dir/tests/tools/compare_support.sh"
side_a=linux
side_b=windows

# run_side SIDE FOLDER ARGS...: runs one command in FOLDER, keeping its
# standard output, standard error and exit status beside its files.
run_side() {
    local side=$1 folder=$2
    shift 2
    local status=0
    if [ "$side" = linux ]; then
        (cd "$folder" && "$linux_batch" "$@" >stdout.txt 2>stderr.txt) || status=$?
    else
        (cd "$folder" && "$run_windows" "$windows_batch" "$@" >stdout.txt 2>stderr.txt) || status=$?
    fi
    keep_outcome "$folder" "$status"
}

# The demo, in grades, from three start points in a row; then from a point
# that does not exist and one given twice.
demo=$work/inputs/demo
mkdir -p "$demo"
cp "$source_dir"/examples/demo/* "$demo"/
write_work_site "$demo/site.bvk" 1 3 demo.cor demo.obs
run_case demo "$demo" --chantier site.bvk --depart S1 --depart S3 --depart S2
run_case demo-odd-starts "$demo" --chantier site.bvk --chiffres 0 --depart ABSENT --depart S4 \
    --depart S4

# Random networks. The generator prints the start points worth trying; up to
# four of them are chosen in a row.
index=0
for points in 40 300 1200; do
    for unit in 1 2 3; do
        for odd in "" --odd; do
            index=$((index + 1))
            seed=$((1000 + index))
            digits=$(((index * 3) % 11))
            name=net-$points-u$unit${odd:+-odd}-s$seed
            folder=$work/inputs/$name
            starts=()
            while IFS= read -r start; do
                starts+=(--depart "$start")
            done < <("$make_network" --points "$points" --unit "$unit" --seed "$seed" $odd \
                --out "$folder" | head -n 4)
            if [ "${#starts[@]}" -eq 0 ]; then
                echo "compare_builds: the generator gave no start point for $name" >&2
                exit 1
            fi
            write_work_site "$folder/site.bvk" "$unit" "$digits" network.cor network.obs
            run_case "$name" "$folder" --chantier site.bvk "${starts[@]}"
        done
    done
done

echo "$((cases - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
