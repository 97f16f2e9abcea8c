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

cases=0
failures=0

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
    echo "$status" >"$folder/status.txt"
}

# run_case NAME INPUT_FOLDER ARGS...: copies the inputs twice, runs both
# commands with the same arguments (names relative to the copy, so no
# absolute name can differ) and compares the two folders byte for byte.
run_case() {
    local name=$1 inputs=$2
    shift 2
    local case_dir=$work/$name
    for side in linux windows; do
        mkdir -p "$case_dir/$side"
        cp -R "$inputs"/. "$case_dir/$side"/
        run_side "$side" "$case_dir/$side" "$@"
    done
    cases=$((cases + 1))
    if diff -r -q "$case_dir/linux" "$case_dir/windows" >"$case_dir/diff.txt" 2>&1; then
        echo "same bytes: $name ($(wc -c <"$case_dir/linux/stdout.txt") bytes of messages," \
            "status $(cat "$case_dir/linux/status.txt"))"
    else
        failures=$((failures + 1))
        echo "DIFFERENT: $name" >&2
        cat "$case_dir/diff.txt" >&2
        for file in "$case_dir/linux"/*; do
            local other=$case_dir/windows/${file##*/}
            if [ -f "$other" ] && ! cmp -s "$file" "$other"; then
                echo "--- ${file##*/}: first differing lines (Linux <, Windows >)" >&2
                diff <(tr -d '\r' <"$file") <(tr -d '\r' <"$other") | head -n 10 >&2 || true
            fi
        done
    fi
}

# A work-site file with parameters that are not round in decimal, so the
# scientific form of the reals is compared as well: format mark, unit,
# digits, latitude, refraction, the three names, the origin.
write_work_site() {
    local file=$1 unit=$2 digits=$3 coordinates=$4 observations=$5
    printf '1\r\n%s\r\n%s\r\n46.123456789012345\r\n0.13\r\n%s\r\n%s\r\nres\r\n' \
        "$unit" "$digits" "$coordinates" "$observations" >"$file"
    printf '600123.45678901234 -0.000123456789012345 -4.5e-7\r\n' >>"$file"
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
