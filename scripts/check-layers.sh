#!/usr/bin/env bash
# The include direction of the layers: platform/ <- history/ <- overlay/ <- hud/ <- app/. A
# source may include its own folder and the folders below it, never one above; only the Win32
# classes (platform/win32/, the *Dlg sources of the other folders, and the program's PKR_HUDApp,
# PKR_HUDDlg and CrashHandler) may include platform/win32/ or a Windows header; only
# platform/posix/ may include platform/posix/. resources/ and the generated version header are
# open to all; tools/, tests/ and fuzz/ may use every layer, so they are not checked.
#
# An include is followed where the compiler finds it: "x.h" beside the source first, then from
# the repository's root (so "../hud/x.h" is hud/x.h); <x.h> from the root when it is there. A
# Windows header is one the MinGW-w64 cross compiler finds in its own include folders and the
# native compiler does not (io.h, share.h, dbghelp.h as well as windows.h; names compared without
# case, as Windows does). Without the cross compiler (LQ_MINGW_CXX names another, default
# x86_64-w64-mingw32-g++-posix) a list of the usual ones stands in, and the check says so.
#
# Usage: scripts/check-layers.sh [ROOT]   (ROOT: the tree to check, default this repository;
#        prints every wrong-way include and fails if there is one)
set -euo pipefail
root=$(cd "${1:-$(dirname "${BASH_SOURCE[0]}")/..}" && pwd)
cd "$root"

layers=(platform history overlay hud app)

# Used when no MinGW-w64 compiler is installed (the check runs before the packages are).
fallback_windows_headers=(windows.h windowsx.h windef.h winbase.h winuser.h wingdi.h winnt.h
    winreg.h winerror.h winver.h winsock2.h ws2tcpip.h shellapi.h shlobj.h shlwapi.h shobjidl.h
    commctrl.h commdlg.h richedit.h dbghelp.h psapi.h tlhelp32.h objbase.h ole2.h oleauto.h
    mmsystem.h processthreadsapi.h synchapi.h fileapi.h handleapi.h io.h share.h direct.h
    process.h conio.h tchar.h mbstring.h)

# The headers (paths below an include folder, in lower case) found in the include folders that
# COMPILER lists for C++, one a line; nothing when the compiler is missing.
compiler_headers() {
    command -v "$1" >/dev/null 2>&1 || return 0
    local folder
    while read -r folder; do
        if [[ -d $folder ]]; then
            (cd "$folder" && find -L . -type f -name '*.h' | sed 's|^\./||')
        fi
    done < <(echo | "$1" -x c++ -E -v - 2>&1 >/dev/null |
        sed -n '/^#include <\.\.\.> search starts here:/,/^End of search list\./p' |
        sed -n 's/^ //p') | tr '[:upper:]' '[:lower:]' | sort -u
}

declare -A windows_header=()
mingw_headers=$(compiler_headers "${LQ_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}")
if [[ -n $mingw_headers ]]; then
    native_headers=$(compiler_headers "${CXX:-c++}")
    if [[ -z $native_headers && -d /usr/include ]]; then
        native_headers=$(cd /usr/include && find . -type f -name '*.h' | sed 's|^\./||' |
            tr '[:upper:]' '[:lower:]' | sort -u)
    fi
    while read -r header; do
        windows_header[$header]=1
    done < <(comm -23 <(echo "$mingw_headers") <(echo "$native_headers"))
else
    echo "check-layers: no MinGW-w64 compiler (${LQ_MINGW_CXX:-x86_64-w64-mingw32-g++-posix});" \
        "Windows headers recognised from a list of ${#fallback_windows_headers[@]}" >&2
    for header in "${fallback_windows_headers[@]}"; do
        windows_header[$header]=1
    done
fi

declare -A rank=()
for i in "${!layers[@]}"; do
    rank[${layers[$i]}]=$i
done

# Whether a source is one of the Win32 classes of its layer (allowed to use platform/win32/).
is_win32_source() {
    case $1 in
    platform/win32/* | */*Dlg.h | */*Dlg.cpp | app/PKR_HUDApp.* | app/PKR_HUDDlg.* | app/CrashHandler.*) return 0 ;;
    *) return 1 ;;
    esac
}

# normal PATH: sets REPLY to PATH with "." and "name/.." taken out (a path above the root keeps
# its ".."). No subshell: it runs for every include.
normal() {
    local -a parts out=()
    local part
    IFS=/ read -r -a parts <<<"$1"
    for part in "${parts[@]}"; do
        case $part in
        "" | .) ;;
        ..)
            if [[ ${#out[@]} -gt 0 && ${out[-1]} != .. ]]; then
                unset 'out[-1]'
            else
                out+=(..)
            fi
            ;;
        *) out+=("$part") ;;
        esac
    done
    local IFS=/
    REPLY="${out[*]}"
}

# resolve SOURCE QUOTE NAME: sets REPLY to the repository path the include names, or to nothing
# when it names no file of the repository (a system or generated header).
resolve() {
    if [[ $2 == '"' ]]; then
        normal "${1%/*}/$3"
        [[ -f $REPLY && $REPLY != ../* ]] && return
    fi
    normal "$3"
    [[ -f $REPLY && $REPLY != ../* ]] || REPLY=""
}

failed=0
report() {
    echo "$1"
    failed=1
}

while IFS= read -r source; do
    own=${source%%/*}
    while IFS=: read -r line quote name; do
        resolve "$source" "$quote" "$name"
        target=$REPLY
        closing='>'
        [[ $quote == '"' ]] && closing='"'
        where="$source:$line: includes $quote$name$closing"
        if [[ -z $target ]]; then
            normal "${name,,}"
            if [[ -n ${windows_header[$REPLY]:-} ]] && ! is_win32_source "$source"; then
                report "$where: a Windows header outside the Win32 classes"
            fi
            continue
        fi
        folder=${target%%/*}
        if [[ -n ${rank[$folder]:-} && ${rank[$folder]} -gt ${rank[$own]} ]]; then
            report "$where ($target): $folder/ is a layer above $own/"
        elif [[ $target == platform/win32/* ]] && ! is_win32_source "$source"; then
            report "$where ($target): portable code never sees the Win32 classes"
        elif [[ $target == platform/posix/* && $source != platform/posix/* ]]; then
            report "$where ($target): only the POSIX implementations see platform/posix/"
        fi
    done < <(grep -n -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*["<]' "$source" |
        sed -E 's/^([0-9]+):[[:space:]]*#[[:space:]]*include[[:space:]]*(["<])([^">]*)[">].*/\1:\2:\3/' ||
        true)
done < <(find "${layers[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) 2>/dev/null | sort)

if [[ $failed -ne 0 ]]; then
    echo "== include direction: an arrow runs the wrong way (see docs/architecture.md)"
    exit 1
fi
echo "== include direction clean"
