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

# shellcheck source=compare_support.sh
. "$source_dir/tests/tools/compare_support.sh"
side_a=ref
side_b=new
# Thousands of cases: only the differences are told.
CALCTOPO_COMPARE_QUIET=${CALCTOPO_COMPARE_QUIET-1}

# run_side SIDE FOLDER ARGS...: runs one side's command in FOLDER.
run_side() {
    local side=$1 folder=$2 program=$ref_batch
    shift 2
    [ "$side" = new ] && program=$new_batch
    local status=0
    (cd "$folder" && "$program" "$@" >stdout.txt 2>stderr.txt) || status=$?
    keep_outcome "$folder" "$status"
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
