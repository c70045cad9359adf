# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers, paths and control ids come from e2e-lib.sh
# The table HUD over a table of the stand-in PKR client: the overlays of the seated players at
# the layout's positions with the players' statistics, hover, the keys, a drag saved in the
# registry, and hiding while another program is in front. Overlays are read with win-probe: an
# overlay's window text is the text it shows. Sourced by run.sh.


hud_sim_pid=""

# hud_setup [live]: a six-handed 25NL hold'em table in the PKR client's folder (with "live", one
# being played: a hand every 400 ms), the stand-in client, and the program started with a cache;
# ends when the table's overlays are shown. Sets hud_table_file.
hud_setup() {
    use_pkr_install
    local table=(--seed 51 --tables 1 --game holdem --stake 25NL --seats 6-6)
    if [[ ${1:-} == live ]]; then
        "$sim_path" --out "$history_dir" "${table[@]}" --live --pace 400 --live-seconds 90 \
            >"$e2e_work_dir/live.log" 2>&1 &
        hud_sim_pid=$!
        wait_for_file_text "$e2e_work_dir/live.log" ".txt"
    else
        "$sim_path" --out "$history_dir" "${table[@]}" --hands 200 >/dev/null
    fi
    hud_table_file=$(find "$history_dir" -name '*.txt' -path '*/20*' | head -1)
    main_window_below_the_table
    start_with_cache
    start_standin 180 dark,dark,dark,dark
    expect_visible_overlays 6
}

e2e_test_hud_shows_each_seated_player_at_the_layout_position_with_his_statistics() {
    trap 'stop_standin; stop_app' EXIT
    hud_setup
    screenshot table-hud
    # Hero plays every hand: his overlay's numbers are those the command-line tool computes
    # from the same hands (the kept cache and the table).
    local reference="$e2e_work_dir/reference.dat" row hands vpip
    "$cli_path" import --cache "$reference" "$e2e_work_dir/kept" "$history_dir" >/dev/null 2>&1
    row=$("$cli_path" stats --cache "$reference" --player Hero --game holdem --stake 25NL \
        --size 3-6 --format csv | awk -F, 'NR == 2')
    hands=$(cut -d, -f2 <<<"$row")
    vpip=$(cut -d, -f3 <<<"$row")
    local hero
    hero=$(overlay_of Hero)
    [[ $hero == *"Hero ($hands)\\n"* ]] || fail "Hero's overlay shows \"$hero\", expected $hands hands"
    awk -v shown="${hero#*\\n}" -v want="$vpip" 'BEGIN {exit !((shown + 0) - want < 0.051 &&
        want - (shown + 0) < 0.051)}' || fail "Hero's VPIP: overlay \"$hero\", tool $vpip"

    # Every seated player's overlay stands where the full-ring layout puts his seat (the
    # highest seat number decides the layout size), the default layout fitted to the taskbar.
    local number name x y want_x want_y
    while read -r number name; do
        read -r x y _ < <(overlay_of "${name:0:16}") || fail "no overlay for $name (seat $number)"
        want_x=$(reg_value "S_FR_L2_S${number}x")
        want_y=$(default_layout_y "$(reg_value "S_FR_L2_S${number}y")")
        ((x == want_x && y == want_y)) ||
            fail "seat $number ($name) at $x,$y, layout says $want_x,$want_y"
    done < <(last_hand_seats "$hud_table_file")
    stop_standin
    close_main
    expect_exit 0
}

e2e_test_hud_hover_keys_drag_and_foreground_while_the_table_is_played() {
    trap 'stop_standin; stop_app; kill "$hud_sim_pid" 2>/dev/null || true' EXIT
    hud_setup live
    local x y
    read -r x y _ < <(overlay_of Hero)

    # The overlays follow the hands being played.
    local before after
    before=$(overlay_of Hero)
    local deadline=$((SECONDS + e2e_wait_seconds))
    while after=$(overlay_of Hero) && [[ $after == "$before" ]]; do
        ((SECONDS < deadline)) || fail "Hero's overlay never changed: $after"
        sleep 0.3
    done

    # Hover shows the street statistics.
    xdotool mousemove $((x + 60)) $((y + 20))
    sleep 0.3
    xdotool mousemove $((x + 61)) $((y + 21))
    wait_for_overlay_text "F: "
    screenshot hover

    # A drag moves the overlay and the next refresh stores the layout's positions.
    local seat
    # Hero's seat in the last hand that lists him (the hand being written may not yet).
    seat=$(grep -o '^Seat [0-9]*: Hero ' "$hud_table_file" | tail -1 | tr -dc '0-9')
    xdotool mousedown 1 sleep 0.2 mousemove $((x + 111)) $((y + 46)) sleep 0.2 \
        mousemove $((x + 161)) $((y + 71)) sleep 0.2 mouseup 1
    deadline=$((SECONDS + e2e_wait_seconds))
    until [[ $(reg_value "S_FR_L2_S${seat}x") -eq $((x + 100)) &&
        $(reg_value "S_FR_L2_S${seat}y") -eq $((y + 50)) ]]; do
        ((SECONDS < deadline)) || fail "the drag from $x,$y was not stored for seat $seat:" \
            "$(reg_value "S_FR_L2_S${seat}x"),$(reg_value "S_FR_L2_S${seat}y"); now $(overlay_of Hero)"
        sleep 0.2
    done
    xdotool mousemove 960 1000

    # SHIFT hides every overlay while held; ALT shows the statistics' names.
    xdotool keydown shift
    expect_visible_overlays 0
    xdotool keyup shift
    expect_visible_overlays 6
    xdotool keydown alt
    wait_for_overlay_text "Hero (hands)\\nVPIP:PFR:WTSD"
    screenshot alt-names
    xdotool keyup alt
    keys Escape

    # Another program in front hides them; the PKR client in front shows them again.
    (cd "$e2e_work_dir" && exec wine "$notepad_exe" </dev/null >/dev/null 2>&1) &
    local notepad=$!
    wait_active Notepad
    expect_visible_overlays 0
    probe close Notepad >/dev/null || true
    wait "$notepad" 2>/dev/null || true
    wine "$standin_exe" --activate </dev/null || fail "stand-in --activate"
    expect_visible_overlays 6
    stop_standin
    close_main
    expect_exit 0
}

# wait_for_overlay_text TEXT: polls until an overlay shows TEXT.
wait_for_overlay_text() {
    local deadline=$((SECONDS + e2e_wait_seconds))
    until visible_overlays | grep -qF "$1"; do
        ((SECONDS < deadline)) || fail "no overlay shows \"$1\": $(visible_overlays)"
        sleep 0.1
    done
}
