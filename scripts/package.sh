#!/usr/bin/env bash
# The Windows release: builds Lanternquill.exe and the command-line tool (preset windows) and
# packs them with the default overlay layouts and the user guide into
# build/Lanternquill-<version>-win64.zip, the version being the CMake project's. Checks the
# archive's content before it reports success.
#
# The tool goes into a subfolder: Windows file names ignore case, so lanternquill.exe and
# Lanternquill.exe cannot share a folder. The guide becomes README.txt with Windows line ends and
# without its pictures.
# The archive is written by CMake itself, so no zip program is needed.
#
# Usage: scripts/package.sh   (no arguments)
set -euo pipefail
# shellcheck source=scripts/common.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
cd "$repo_root"

windows_build="$repo_root/build/windows"

bash "$repo_root/scripts/setup.sh" build windows
build_preset windows --target Lanternquill lanternquill

version=$(awk -F= '/^CMAKE_PROJECT_VERSION:/ {print $2}' "$windows_build/CMakeCache.txt")
[[ -n $version ]] || {
    echo "package: no project version in $windows_build/CMakeCache.txt" >&2
    exit 1
}
name="Lanternquill-$version-win64"
stage="$repo_root/build/package"
archive="$repo_root/build/$name.zip"

rm -rf "$stage" "$archive"
mkdir -p "$stage/$name/cli"
# Without their debug information the programs are a tenth of the size.
x86_64-w64-mingw32-strip -o "$stage/$name/Lanternquill.exe" "$windows_build/app/Lanternquill.exe"
x86_64-w64-mingw32-strip -o "$stage/$name/cli/lanternquill.exe" \
    "$windows_build/tools/lanternquill/lanternquill.exe"
cp "$windows_build/app/RestoreOverlayPositions.reg" "$stage/$name/"
# A picture of the guide (a line of its own, followed by a blank one) is not in the archive: both
# lines go.
sed -e '/^!\[[^]]*\]([^)]*)\r\?$/{N;d;}' -e 's/\r$//; s/$/\r/' "$repo_root/docs/user-guide.md" \
    >"$stage/$name/README.txt"
(cd "$stage" && cmake -E tar cf "$archive" --format=zip "$name")

# What a user unpacks: exactly these files, none empty, the guide with Windows line ends.
expected=("$name/Lanternquill.exe" "$name/README.txt" "$name/RestoreOverlayPositions.reg"
    "$name/cli/lanternquill.exe")
listed=$(cmake -E tar tf "$archive" | grep -v '/$' | sort)
if [[ $listed != "$(printf '%s\n' "${expected[@]}" | sort)" ]]; then
    echo "package: $archive holds:" "$listed" >&2
    exit 1
fi
check_dir=$(mktemp -d)
trap 'rm -rf "$check_dir"' EXIT
(cd "$check_dir" && cmake -E tar xf "$archive")
for file in "${expected[@]}"; do
    [[ -s $check_dir/$file ]] || {
        echo "package: $file is empty" >&2
        exit 1
    }
done
# The archive's name and the program's own texts carry the same version: the information panel's
# text (one long literal, kept whole by the compiler) and the version resource (UTF-16).
exe=$check_dir/$name/Lanternquill.exe
# (awk reads to the end: a reader that stops early would fail the pipe under pipefail)
product=$(strings -el "$exe" | awk 'previous == "ProductVersion" {found = $0} {previous = $0}
    END {print found}')
if ! grep -aqF "Lanternquill\\'99 V$version\\par" "$exe" || [[ $product != "$version" ]]; then
    echo "package: Lanternquill.exe does not show version $version" >&2
    exit 1
fi
if grep -qv $'\r$' "$check_dir/$name/README.txt"; then
    echo "package: README.txt has lines without CR LF" >&2
    exit 1
fi
if grep -q '!\[' "$check_dir/$name/README.txt"; then
    echo "package: README.txt shows a picture the archive does not hold" >&2
    exit 1
fi
echo "package: $archive ($(du -h "$archive" | cut -f1))"
cmake -E tar tvf "$archive" | grep -v '/$'
