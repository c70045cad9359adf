#!/usr/bin/env bash
# wine-run.sh PROGRAM [ARG...]: runs a Windows program under Wine with the layout of its Linux
# address space fixed. Every Windows program of the scripts and tests starts through this:
# wine-env.sh puts it first on PATH under the name `wine`, and the cross build's test emulator
# is this script.
#
# Why: Windows fixes a few addresses, among them the shared user data page at 0x7ffe0000, and
# Wine maps them while a process starts. Debian's 64-bit Wine has no preloader to reserve them
# first, and the kernel places the loader's heap anywhere within a gigabyte above the loader
# (0x7d000000), so about one start in 6,000 (2 in 12,000 measured) found that page taken and
# ended at once with status 1 ("failed to map the shared user data", unseen under
# WINEDEBUG=-all): a test failed that had done nothing wrong. Without the randomisation the heap
# always starts just above the loader, far below those addresses.

# The real wine: the first one on PATH that is not this script.
self=$(realpath "${BASH_SOURCE[0]}")
real_wine=""
IFS=: read -ra path_dirs <<<"$PATH"
for dir in "${path_dirs[@]}"; do
    if [[ -x $dir/wine && $(realpath "$dir/wine") != "$self" ]]; then
        real_wine=$dir/wine
        break
    fi
done
if [[ -z $real_wine ]]; then
    echo "wine-run.sh: no wine on PATH" >&2
    exit 127
fi
exec setarch "$(uname -m)" --addr-no-randomize "$real_wine" "$@"
