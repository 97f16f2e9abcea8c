#!/usr/bin/env bash
# Runs a reference batch command (an earlier build the surveyors trusted) and
# the current one on the same work sites and compares every byte they leave:
# the listing (.vek), the results (.new), the work-site file (.bvk), the data
# check (text and CSV), the sketch (SVG), standard output, standard error and
# the exit status. A change of structure must not move a single printed digit.
#
#   compare_with_reference.sh REF_BATCH NEW_BATCH MAKE_NETWORK SOURCE_DIR [--quick] [--random N]
#
# REF_BATCH, NEW_BATCH: the two calctopo-batch programs.
# MAKE_NETWORK: calctopo-make-network (the network generator of the tests).
# SOURCE_DIR: the sources, for the bundled demo.
# --quick: the demo and a dozen networks only. --random N: N more networks
# of random size, unit, shape and noise (seeded, so a failure can be re-run).
#
# Work sites: the demo from several start points in a row, then generated
# networks of every shape the generator knows (every method, the odd lines a
# field book holds, thousands of readings on one pair), in the three angle
# units, with and without the extended determination.
set -euo pipefail

usage() {
    echo "usage: compare_with_reference.sh REF_BATCH NEW_BATCH MAKE_NETWORK SOURCE_DIR" \
        "[--quick] [--random N]" >&2
    exit 2
}
[ "$#" -ge 4 ] || usage
ref_batch=$(realpath "$1")
new_batch=$(realpath "$2")
make_network=$(realpath "$3")
source_dir=$(cd "$4" && pwd)
shift 4
quick=
random=0
while [ "$#" -gt 0 ]; do
    case $1 in
        --quick) quick=1 ;;
        --random) random=${2:?}; shift ;;
        *) usage ;;
    esac
    shift
done
for program in "$ref_batch" "$new_batch" "$make_network"; do
    if [ ! -x "$program" ]; then
        echo "compare_with_reference: $program is missing or not executable" >&2
        exit 1
    fi
done

work=$(mktemp -d "${TMPDIR:-/tmp}/calctopo-reference.XXXXXX")
trap '[ -n "${CALCTOPO_KEEP_COMPARE:-}" ] || rm -rf "$work"' EXIT

cases=0
failures=0

# run_side PROGRAM FOLDER ARGS...: runs one command in FOLDER, keeping its
# standard output, standard error and exit status beside its files.
run_side() {
    local program=$1 folder=$2
    shift 2
    local status=0
    (cd "$folder" && "$program" "$@" >stdout.txt 2>stderr.txt) || status=$?
    echo "$status" >"$folder/status.txt"
}

# run_case NAME INPUT_FOLDER ARGS...: copies the inputs twice, runs both
# commands with the same arguments and compares the two folders byte for byte.
run_case() {
    local name=$1 inputs=$2
    shift 2
    local case_dir=$work/$name
    mkdir -p "$case_dir/ref" "$case_dir/new"
    cp -R "$inputs"/. "$case_dir/ref"/
    cp -R "$inputs"/. "$case_dir/new"/
    run_side "$ref_batch" "$case_dir/ref" "$@"
    run_side "$new_batch" "$case_dir/new" "$@"
    cases=$((cases + 1))
    if diff -r -q "$case_dir/ref" "$case_dir/new" >"$case_dir/diff.txt" 2>&1; then
        [ -n "${CALCTOPO_COMPARE_VERBOSE:-}" ] && echo "same bytes: $name"
        rm -rf "$case_dir"
    else
        failures=$((failures + 1))
        echo "DIFFERENT: $name ($*)" >&2
        cat "$case_dir/diff.txt" >&2
        for file in "$case_dir/ref"/*; do
            local other=$case_dir/new/${file##*/}
            if [ -f "$other" ] && ! cmp -s "$file" "$other"; then
                echo "--- ${file##*/}: first differing lines (reference <, new >)" >&2
                diff <(tr -d '\r' <"$file") <(tr -d '\r' <"$other") | head -n 10 >&2 || true
            fi
        done
    fi
}

# A work-site file with parameters that are not round in decimal.
write_work_site() {
    local file=$1 unit=$2 digits=$3 coordinates=$4 observations=$5
    printf '1\r\n%s\r\n%s\r\n46.123456789012345\r\n0.13\r\n%s\r\n%s\r\nres\r\n' \
        "$unit" "$digits" "$coordinates" "$observations" >"$file"
    printf '600123.45678901234 -0.000123456789012345 -4.5e-7\r\n' >>"$file"
}

# network_case NAME GENERATOR_ARGS... -- BATCH_ARGS...: generates a network,
# runs both commands from up to four of the start points the generator
# proposes, with the batch arguments given.
network_case() {
    local name=$1
    shift
    local gen=() batch=()
    while [ "$#" -gt 0 ] && [ "$1" != -- ]; do gen+=("$1"); shift; done
    [ "$#" -gt 0 ] && shift
    batch=("$@")
    local folder=$work/inputs/$name
    local starts=()
    while IFS= read -r start; do
        starts+=(--depart "$start")
    done < <("$make_network" "${gen[@]}" --out "$folder" | head -n 4)
    if [ "${#starts[@]}" -eq 0 ]; then
        echo "compare_with_reference: the generator gave no start point for $name" >&2
        exit 1
    fi
    local unit=1 i
    for ((i = 0; i < ${#gen[@]}; i++)); do
        [ "${gen[$i]}" = --unit ] && unit=${gen[$((i + 1))]}
    done
    write_work_site "$folder/site.bvk" "$unit" "$(((${#name} * 7) % 11))" network.cor network.obs
    run_case "$name" "$folder" --chantier site.bvk "${batch[@]}" "${starts[@]}" \
        --controle check.txt --croquis sketch.svg
    run_case "$name-csv-etendu" "$folder" --chantier site.bvk --etendu "${batch[@]}" \
        "${starts[@]}" --controle check.csv
}

# The demo from several start points, a point that does not exist, one twice.
demo=$work/inputs/demo
mkdir -p "$demo"
cp "$source_dir"/examples/demo/* "$demo"/
write_work_site "$demo/site.bvk" 1 3 demo.cor demo.obs
run_case demo "$demo" --chantier site.bvk --depart S1 --depart S3 --depart S2 \
    --controle check.txt --croquis sketch.svg
run_case demo-etendu "$demo" --chantier site.bvk --etendu --depart S2 --controle check.csv
run_case demo-odd-starts "$demo" --chantier site.bvk --chiffres 0 --depart ABSENT --depart S4 \
    --depart S4
run_case demo-missing "$demo" --coordonnees nope.cor --observations demo.obs --sortie r \
    --depart S1

index=0
sizes=(30 200 800)
[ -n "$quick" ] && sizes=(30 200)
for points in "${sizes[@]}"; do
    for unit in 1 2 3; do
        for shape in "" --odd --every-method; do
            index=$((index + 1))
            seed=$((2000 + index))
            network_case "net-$points-u$unit${shape:+$shape}-s$seed" \
                --points "$points" --unit "$unit" --seed "$seed" $shape
        done
    done
done
if [ -z "$quick" ]; then
    network_case noisy-300 --points 300 --unit 1 --seed 77 --noise 0.00005 0.01 --odd
    network_case noisy-500-u2 --points 500 --unit 2 --seed 78 --noise 0.0002 0.05 --every-method
    network_case heavy-given --points 60 --seed 79 --heavy-given 3000
    network_case heavy-unknown --points 60 --seed 80 --heavy-unknown 3000
    network_case large --points 3000 --unit 3 --seed 81 --odd
fi

# Random networks: size, unit, shape and noise drawn from a seeded sequence.
RANDOM=4242
for ((r = 0; r < random; r++)); do
    points=$((5 + RANDOM % 600))
    unit=$((1 + RANDOM % 3))
    seed=$((10000 + RANDOM))
    args=(--points "$points" --unit "$unit" --seed "$seed")
    case $((RANDOM % 4)) in
        1) args+=(--odd) ;;
        2) args+=(--every-method) ;;
        3) args+=(--noise 0.0001 0.02 --odd) ;;
    esac
    network_case "random-$r-p$points-u$unit-s$seed" "${args[@]}"
done

echo "compare_with_reference: $((cases - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
