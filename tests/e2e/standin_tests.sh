# shellcheck shell=bash
# shellcheck disable=SC2154  # the helpers and paths come from e2e-lib.sh
# The stand-in PKR client the switching tests play against: its mini-table views must show their
# colours in the screen column the HUD samples (x = W - 2) over exactly the default hot zones,
# and follow --set while running. Sourced by run.sh.

# standin_pixel FILE Y: the screenshot's pixel at x = 1918 (W - 2 of the 1920-pixel screen), as
# RRGGBB.
standin_pixel() {
    /usr/bin/convert "$1" -format "%[hex:u.p{1918,$2}]" info: 2>/dev/null
}

# standin_expect_column "Y=RRGGBB ...": waits until every listed row shows its colour.
standin_expect_column() {
    local deadline=$((SECONDS + e2e_wait_seconds)) shot="$e2e_work_dir/column.png" pair wrong
    while :; do
        /usr/bin/import -window root "$shot" 2>/dev/null
        wrong=""
        for pair in $1; do
            if [[ $(standin_pixel "$shot" "${pair%=*}") != "${pair#*=}" ]]; then
                wrong+=" y=${pair%=*} is $(standin_pixel "$shot" "${pair%=*}"), not ${pair#*=};"
            fi
        done
        [[ -z $wrong ]] && return 0
        if ((SECONDS >= deadline)); then
            cp "$shot" "$screens_dir/$e2e_test_name-failed-column.png" 2>/dev/null || true
            fail "the sampled column:$wrong the stand-in wrote: $(paste -sd'|' \
                "$e2e_work_dir/standin.log" 2>/dev/null)"
        fi
        sleep 0.2
    done
}

e2e_test_standin_views_cover_the_default_zones_and_change_colour_on_request() {
    require_executable "$standin_exe"
    # 1920 x 1080 beside a 180-pixel main window: zones 30..224, 224..418, 418..612, 612..806.
    (cd "$e2e_work_dir" && exec wine "$standin_exe" --zones 'white,grey,dark,#3c3c3c' \
        </dev/null >standin.log 2>&1) &
    # shellcheck disable=SC2034  # e2e-lib.sh's expect_exit and stop_app use app_pid
    app_pid=$!
    standin_expect_column "30=FFFFFF 223=FFFFFF 224=7E7E7E 417=7E7E7E 418=103020 611=103020
        612=3C3C3C 805=3C3C3C"
    grep -q 'zone 3 = 1740,612,1920,806' "$e2e_work_dir/standin.log" ||
        fail "zone 3 not reported: $(cat "$e2e_work_dir/standin.log")"
    screenshot views

    wine "$standin_exe" --set 2 white </dev/null || fail "--set 2 white"
    standin_expect_column "418=FFFFFF 611=FFFFFF 612=3C3C3C 417=7E7E7E"
    if wine "$standin_exe" --set 4 white </dev/null 2>/dev/null; then
        fail "--set 4 was accepted"
    fi

    wine "$standin_exe" --quit </dev/null || fail "--quit"
    expect_exit 0
    if wine "$standin_exe" --set 0 grey </dev/null 2>/dev/null; then
        fail "--set succeeded with no stand-in running"
    fi
}
