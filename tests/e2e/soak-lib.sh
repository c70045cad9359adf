# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# A soak of the Windows program: live simulated tables under the stand-in PKR client, the mini-
# table views lighting up in turn with Auto Switch on, the overlays hovered and dragged and the
# CTRL, ALT and SHIFT keys pressed, while the program's GDI handles, windows and memory are
# sampled. Sourced by soak_tests.sh (a short run) and scripts/soak.sh (a long one).
#
# What is counted, and how (win-probe resources): GetGuiResources answers 0 under Wine, so the
# GDI objects are the live entries of the GDI handle table the system maps into the process, the
# USER objects its windows (the USER objects that can grow with use here), the memory its working
# set as the system reports it (Wine reports no private bytes for another process) and the
# resident and data sizes of its Linux process. The refresh ticks
# come from the program itself (win-probe ask, the main window's answer).

soak_views=4
# Seconds between two samples, and the samples a soak needs from the warm-up on: the baseline and
# at least two after it (a run whose only sample after the warm-up is the baseline compares that
# sample with itself and would pass whatever the program did).
soak_sample_seconds=5
soak_min_samples=3
# Growth allowed after the warm-up, over the first sample taken after it.
soak_max_gdi_growth=${LQ_SOAK_MAX_GDI_GROWTH:-16}
soak_max_window_growth=${LQ_SOAK_MAX_WINDOW_GROWTH:-0}
# Each HUD holds its table's file in memory, read as the client appends to it, so the memory may
# also grow by three times what the table files grew (a string's capacity doubles).
soak_max_memory_growth_kb=${LQ_SOAK_MAX_MEMORY_GROWTH_KB:-3072}

# soak_too_short SECONDS WARMUP: says why a soak of SECONDS with that warm-up leaves too few samples
# after the warm-up, or nothing when it does not.
soak_too_short() {
    local least=$(($2 + (soak_min_samples - 1) * soak_sample_seconds))
    if (($1 < least)); then
        echo "a soak of $1 s with a warm-up of $2 s has too few samples after the warm-up to" \
            "compare: it needs at least $least s (the warm-up and $((least - $2)) s more)"
    fi
}

# soak_sample SECONDS: one line of figures, "t ticks gdi windows guires_gdi guires_user
# ws_kb rss_kb data_kb files_kb" (the last the table files' size), or a failure when the program
# cannot be read.
soak_sample() {
    local resources ticks rss data files
    resources=$(probe resources "$main_caption") || fail "cannot read the program's resources"
    ticks=$(probe ask "$main_caption" Lanternquill.RefreshTicks) || fail "no answer to the ticks"
    rss=$(awk '$1 == "VmRSS:" {print $2}' "/proc/$app_pid/status" 2>/dev/null) || rss=-1
    data=$(awk '$1 == "VmData:" {print $2}' "/proc/$app_pid/status" 2>/dev/null) || data=-1
    files=$(du -sk "$history_dir" | cut -f1)
    local -A field
    local pair
    for pair in $resources; do
        field[${pair%%=*}]=${pair#*=}
    done
    echo "$1 $ticks ${field[gdi]} ${field[windows]} ${field[guires_gdi]} ${field[guires_user]}" \
        "${field[ws_kb]} ${rss:--1} ${data:--1} $files"
}

# soak_touch_overlay STEP: hovers the first overlay shown; every other step drags it a little
# and back, which stores the layout as a user's drag does.
soak_touch_overlay() {
    local x y
    read -r x y _ < <(visible_overlays | head -1) || return 0
    [[ -n $x ]] || return 0
    xdotool mousemove $((x + 30)) $((y + 12))
    sleep 0.6
    if (($1 % 2 == 0)); then
        xdotool mousedown 1 mousemove $((x + 45)) $((y + 27)) sleep 0.2 mouseup 1
        xdotool mousedown 1 mousemove $((x + 30)) $((y + 12)) sleep 0.2 mouseup 1
    fi
    # Off the overlay again, onto the table.
    xdotool mousemove 400 400
}

soak_press_keys() {
    local key
    for key in ctrl alt shift; do
        xdotool keydown "$key"
        sleep 0.3
        xdotool keyup "$key"
    done
}

# soak_step STEP: the next mini-table view lights up (the one lit before goes dark), an overlay
# is hovered (and dragged), the keys are pressed.
soak_step() {
    kill -0 "$app_pid" 2>/dev/null || fail "the program ended during the soak"
    set_view "$soak_lit" dark
    soak_lit=$(((soak_lit + 1) % soak_views))
    set_view "$soak_lit" white
    soak_touch_overlay "$1"
    soak_press_keys
    sleep 1
}

# soak_wait_selected LINE: polls until the automatic switching has selected that line.
soak_wait_selected() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    until list_lines | sed -n "$(($1 + 1))p" | grep -q '^> '; do
        ((SECONDS < deadline)) || fail "line $1 never selected: $(list_lines)"
        sleep 0.2
    done
}

# run_soak SECONDS WARMUP SAMPLES: the whole soak, its samples written to SAMPLES; fails when a
# count or the memory grew past its bound after WARMUP seconds (counted once every table has been
# selected), or the program did not end well.
run_soak() {
    local seconds=$1 warmup=$2 samples=$3 short
    short=$(soak_too_short "$seconds" "$warmup")
    [[ -z $short ]] || fail "$short"
    # The GDI count must follow the objects a program makes, or the soak would prove nothing.
    local before after
    read -r before after < <(probe gdi-check 50) || fail "win-probe gdi-check"
    ((before >= 0 && after - before >= 50)) ||
        fail "the GDI handle count went from $before to $after over 50 new brushes"
    use_pkr_install
    main_window_below_the_table
    local sim_log="$e2e_work_dir/live.log"
    "$sim_path" --out "$history_dir" --live --pace 400 --tables "$soak_views" --seats 6-9 \
        --seed 61 --live-seconds $((seconds + 120)) >"$sim_log" 2>&1 &
    soak_sim_pid=$!
    local deadline=$((SECONDS + e2e_wait_seconds))
    until (($(grep -c '\.txt$' "$sim_log" 2>/dev/null || true) >= soak_views)); do
        ((SECONDS < deadline)) || fail "the simulator wrote no $soak_views tables"
        sleep 0.2
    done
    start_with_cache
    expect_list_count "$soak_views"
    start_standin "$(main_window_width)" dark,dark,dark,dark
    click "$main_caption" "${id[IDC_AUTOSWITCH]}"
    expect_checks "$main_caption" "${id[IDC_AUTOSWITCH]}=1"
    local answer
    answer=$(wine "$standin_exe" --activate </dev/null 2>&1) || fail "stand-in --activate: $answer"

    # Every table selected once before the clock starts.
    soak_lit=0
    local step
    for ((step = 0; step < soak_views; step++)); do
        soak_step "$step"
        soak_wait_selected "$soak_lit"
    done
    # A table whose file ended mid-hand when it was chosen gets its HUD only once chosen again
    # with its seats readable: the views go on lighting up in turn until every table has one.
    local huds
    deadline=$((SECONDS + e2e_wait_seconds))
    while huds=$(probe ask "$main_caption" Lanternquill.TableHuds) || fail "no answer to the HUDs"
        ((huds < soak_views)); do
        ((SECONDS < deadline)) || fail "only $huds of the $soak_views tables got a HUD"
        soak_step "$step"
        soak_wait_selected "$soak_lit"
        step=$((step + 1))
    done
    : >"$samples"
    local start=$SECONDS next_sample=0
    while ((SECONDS - start < seconds)); do
        if ((SECONDS - start >= next_sample)); then
            soak_sample $((SECONDS - start)) >>"$samples"
            next_sample=$((next_sample + soak_sample_seconds))
        fi
        soak_step "$step"
        step=$((step + 1))
    done
    soak_sample $((SECONDS - start)) >>"$samples"
    screenshot soak-end
    local summary="${samples%.*}-summary.txt"
    soak_check "$samples" "$warmup" >"$summary" || fail "$(cat "$summary") (samples in $samples)"
    cat "$summary"
    stop_standin
    kill "$soak_sim_pid" 2>/dev/null || true
    wait "$soak_sim_pid" 2>/dev/null || true
    close_main
    expect_exit 0
}

# soak_check SAMPLES WARMUP: prints the figures and fails on growth past a bound, or when fewer
# than soak_min_samples were taken from the warm-up on. The baseline is the first sample at or
# after the warm-up; the growth the largest rise over it.
soak_check() {
    awk -v warmup="$2" -v max_gdi="$soak_max_gdi_growth" -v max_win="$soak_max_window_growth" \
        -v max_mem="$soak_max_memory_growth_kb" -v least="$soak_min_samples" '
        function rise(column) {
            if ($column - base[column] > grew[column]) grew[column] = $column - base[column]
        }
        $1 >= warmup && !started { started = 1; for (c = 3; c <= 10; c++) base[c] = $c; t0 = $1 }
        started {
            after++
            for (c = 3; c <= 10; c++) rise(c)
            allowed = max_mem + 3 * ($10 - base[10])
            for (c = 7; c <= 9; c++) if ($c - base[c] > allowed) over = $0
        }
        { t = $1; ticks = $2; answered = $5 "/" $6 }
        END {
            if (!started) { print "no sample after the warm-up"; exit 1 }
            if (after < least) {
                printf "%d sample%s from the warm-up on (%d s); at least %d are needed to tell " \
                    "growth\n", after, after == 1 ? "" : "s", warmup, least
                exit 1
            }
            printf "soak: %d s, %d refresh ticks; from %d s on: GDI handles %d +%d, windows %d " \
                "+%d, working set %d KiB +%d, resident %d KiB +%d, data %d KiB +%d, table files " \
                "%d KiB +%d; GetGuiResources answered %s\n", t, ticks, t0, base[3], grew[3],
                base[4], grew[4], base[7], grew[7], base[8], grew[8], base[9], grew[9], base[10],
                grew[10], answered
            if (base[3] < 0) { print "the GDI handle table could not be read"; exit 1 }
            if (grew[3] > max_gdi || grew[4] > max_win || over != "") {
                printf "grew past the bounds: GDI +%d, windows +%d, memory +%d KiB and three " \
                    "times the table files%s\n", max_gdi, max_win, max_mem,
                    over != "" ? " (first at the sample \"" over "\")" : ""
                exit 1
            }
        }' "$1"
}
