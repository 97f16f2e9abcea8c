# Shared by the byte-for-byte comparisons of two batch commands
# (compare_builds.sh: Linux and Windows; compare_with_reference.sh: a
# reference build and the current one). Sourced, not run.
#
# The sourcing script sets `work` (a scratch folder), `side_a` and `side_b`
# (the names of the two sides, also the names of their folders) and defines
# `run_side SIDE FOLDER ARGS...`, which runs that side's command in FOLDER.

cases=0
failures=0

# keep_outcome FOLDER STATUS: after a command, its exit status beside its files.
keep_outcome() {
    echo "$2" >"$1/status.txt"
}

# run_case NAME INPUT_FOLDER ARGS...: copies the inputs twice, runs both
# commands with the same arguments (names relative to the copy, so no
# absolute name can differ) and compares the two folders byte for byte.
run_case() {
    local name=$1 inputs=$2
    shift 2
    local case_dir=$work/$name side
    for side in "$side_a" "$side_b"; do
        mkdir -p "$case_dir/$side"
        cp -R "$inputs"/. "$case_dir/$side"/
        run_side "$side" "$case_dir/$side" "$@"
    done
    cases=$((cases + 1))
    if diff -r -q "$case_dir/$side_a" "$case_dir/$side_b" >"$case_dir/diff.txt" 2>&1; then
        [ -n "${CALCTOPO_COMPARE_QUIET:-}" ] ||
            echo "same bytes: $name ($(wc -c <"$case_dir/$side_a/stdout.txt") bytes of messages," \
                "status $(cat "$case_dir/$side_a/status.txt"))"
    else
        failures=$((failures + 1))
        echo "DIFFERENT: $name ($*)" >&2
        cat "$case_dir/diff.txt" >&2
        local file
        for file in "$case_dir/$side_a"/*; do
            local other=$case_dir/$side_b/${file##*/}
            if [ -f "$other" ] && ! cmp -s "$file" "$other"; then
                echo "--- ${file##*/}: first differing lines ($side_a <, $side_b >)" >&2
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
