#!/usr/bin/env bash
# `make install` and `make uninstall`, over `cmake --install`:
#
#   scripts/install.sh install BUILD_DIR PREFIX
#   scripts/install.sh uninstall BUILD_DIR
#
# DESTDIR, from the environment, is put before PREFIX as usual. CMake lists the files it
# installed in BUILD_DIR/install_manifest.txt (without DESTDIR); the install keeps the DESTDIR
# and the folders it created in BUILD_DIR/install_record.txt. The uninstall removes exactly
# those files under that DESTDIR, then those folders when nothing else has come into them, and
# never a folder that was there before.
set -euo pipefail

usage() {
    echo "usage: $0 install BUILD_DIR PREFIX | uninstall BUILD_DIR" >&2
    exit 2
}

[ $# -ge 2 ] || usage
action=$1
build=$2
manifest="$build/install_manifest.txt"
record="$build/install_record.txt"

# The folders the install rules write to, as CMake's install scripts name them.
destinations() {
    grep -rhoE --include=cmake_install.cmake \
        'file\(INSTALL DESTINATION "\$\{CMAKE_INSTALL_PREFIX\}[^"]*"' "$build" |
        sed -E 's/.*\}([^"]*)"$/\1/' | sort -u
}

case "$action" in
install)
    [ $# -eq 3 ] || usage
    prefix=$3
    [ -f "$build/cmake_install.cmake" ] || { echo "$0: $build is not a configured build" >&2; exit 1; }
    target="${DESTDIR:-}$prefix"
    # Which folders the install is about to create: every missing one on the way to each
    # destination. Folders an earlier install under the same DESTDIR created stay on the list.
    created=()
    if [ -f "$record" ] && [ "$(sed -n 's/^destdir //p' "$record")" = "${DESTDIR:-}" ]; then
        mapfile -t created < <(sed -n 's/^folder //p' "$record")
    fi
    while IFS= read -r destination; do
        folder="$target$destination"
        while [ -n "$folder" ] && [ "$folder" != "/" ] && [ ! -e "$folder" ]; do
            created+=("$folder")
            folder=$(dirname "$folder")
        done
    done < <(destinations)
    cmake --install "$build" --prefix "$prefix"
    {
        echo "destdir ${DESTDIR:-}"
        if [ ${#created[@]} -gt 0 ]; then
            printf 'folder %s\n' "${created[@]}" | sort -u
        fi
    } > "$record"
    ;;
uninstall)
    [ $# -eq 2 ] || usage
    if [ ! -f "$manifest" ]; then
        echo "Nothing to uninstall: $manifest is missing (nothing was installed from $build)."
        exit 0
    fi
    destdir="${DESTDIR:-}"
    if [ -f "$record" ]; then
        destdir=$(sed -n 's/^destdir //p' "$record")
        if [ -n "${DESTDIR:-}" ] && [ "$DESTDIR" != "$destdir" ]; then
            echo "$0: $build was installed with DESTDIR='$destdir', not '$DESTDIR'" >&2
            exit 1
        fi
    fi
    # The manifest's last line has no line end.
    while IFS= read -r installed || [ -n "$installed" ]; do
        [ -n "$installed" ] || continue
        file="$destdir$installed"
        if [ -f "$file" ] || [ -L "$file" ]; then
            rm -f -- "$file"
            echo "-- Removed: $file"
        fi
    done < "$manifest"
    if [ -f "$record" ]; then
        # Deepest first, so that a folder is empty by the time its parent's turn comes.
        while IFS= read -r folder; do
            if [ -d "$folder" ] && rmdir -- "$folder" 2>/dev/null; then
                echo "-- Removed: $folder/"
            fi
        done < <(sed -n 's/^folder //p' "$record" | awk '{ print length($0) "\t" $0 }' |
                 sort -rn | cut -f2-)
    fi
    rm -f -- "$manifest" "$record"
    ;;
*)
    usage
    ;;
esac
