#!/usr/bin/env bash
# Installs a wheel into a fresh venv and runs a short edit with it, as a user without any -dev
# package would: isolated mode (no PYTHONPATH, no user site, not this tree), a clean environment,
# and, where a mount namespace can be made, with the system's libzip and expat hidden.
#   tests/wheel/check.sh dist/quillmark-*.whl python3.13
set -euo pipefail
wheel=$(realpath "$1")
python=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$python" -m venv "$work/venv"
"$work/venv/bin/python" -m pip install -q --no-index --no-deps "$wheel"
module=$(echo "$work"/venv/lib/python3*/site-packages/quillmark*.so)
test -f "$work"/venv/lib/python3*/site-packages/quillmark-stubs/__init__.pyi

# Only libraries every Linux system has: the C and C++ runtimes and zlib.
needed=$(readelf -d "$module" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p' | sort | tr '\n' ' ')
for lib in $needed; do
    case "$lib" in
        libc.so.*|libm.so.*|libstdc++.so.*|libgcc_s.so.*|ld-linux*|libz.so.*|libpthread.so.*) ;;
        *) echo "wheel module needs $lib (all it needs: $needed)"; exit 1 ;;
    esac
done

run=(env -i PATH=/usr/bin:/bin HOME="$work" "$work/venv/bin/python" -I "$here/smoke.py")
hide=""
for lib in /usr/lib/*/libzip.so.* /usr/lib/*/libexpat.so.*; do
    [ -f "$lib" ] && [ ! -L "$lib" ] && hide="$hide mount --bind /dev/null $lib &&"
done
if [ -n "$hide" ] && unshare --mount true 2>/dev/null; then
    unshare --mount sh -c "$hide exec \"\$@\"" sh "${run[@]}"
else
    echo "(no mount namespace here: the system's libzip and expat stay visible)"
    "${run[@]}"
fi
