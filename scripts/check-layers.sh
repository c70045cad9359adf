#!/usr/bin/env bash
# The include direction of the layers: platform/ <- history/ <- overlay/ <- hud/ <- app/. A
# source may include its own folder and the folders below it, never one above; and only the
# Win32 classes (platform/win32/, the *Dlg sources of the other folders, and the program's
# PKR_HUDApp and CrashHandler) may include platform/win32/ or a Windows header. resources/ and the
# generated version header are open to all; tools/, tests/ and fuzz/ may use every layer, so they
# are not checked.
#
# Usage: scripts/check-layers.sh   (prints every wrong-way include and fails if there is one)
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

layers=(platform history overlay hud app)

# rank FOLDER: the layer's position, or nothing for a folder that is not a layer.
rank() {
    local i
    for i in "${!layers[@]}"; do
        if [[ ${layers[$i]} == "$1" ]]; then
            echo "$i"
            return
        fi
    done
}

# Whether a source is one of the Win32 classes of its layer (allowed to use platform/win32/).
is_win32_source() {
    case $1 in
    platform/win32/* | */*Dlg.h | */*Dlg.cpp | app/PKR_HUDApp.* | app/PKR_HUDDlg.* | app/CrashHandler.*) return 0 ;;
    *) return 1 ;;
    esac
}

failed=0
while IFS= read -r source; do
    own=${source%%/*}
    own_rank=$(rank "$own")
    while IFS=: read -r line target; do
        folder=${target%%/*}
        target_rank=$(rank "$folder")
        if [[ -n $target_rank && $target_rank -gt $own_rank ]]; then
            echo "$source:$line: includes \"$target\": $folder/ is a layer above $own/"
            failed=1
        elif [[ $target == platform/win32/* ]] && ! is_win32_source "$source"; then
            echo "$source:$line: includes \"$target\": portable code never sees the Win32 classes"
            failed=1
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$source" |
        sed -E 's/^([0-9]+):[^"]*"([^"]*)".*/\1:\2/' || true)
    if ! is_win32_source "$source" && grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*<(windows|windowsx|shellapi|commctrl|commdlg)\.h>' "$source"; then
        echo "$source: portable code includes a Windows header"
        failed=1
    fi
done < <(find "${layers[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -not -path 'platform/posix/*' | sort)

if [[ $failed -ne 0 ]]; then
    echo "== include direction: an arrow runs the wrong way (see docs/architecture.md)"
    exit 1
fi
echo "== include direction clean"
