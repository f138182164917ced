#!/usr/bin/env bash
# The manual pages against the programs' own --help: every option the help names, and every
# command of the tool, is in the page; and man renders each page without a warning.
#
#   man_pages_test.sh MAN_FOLDER PROGRAM...
set -uo pipefail

man_folder=$1
shift
failures=0
warnings_file=$(mktemp /tmp/tallowmere-man-XXXXXX)
trap 'rm -f "$warnings_file"' EXIT

fail() {
    echo "FAILED: $*" >&2
    failures=$((failures + 1))
}

# The page as a reader sees it: rendered by man when there is one (wide, so that no word is
# broken at a line end), otherwise the source with its escaped hyphens read as hyphens.
page_text() {
    if command -v man > /dev/null; then
        MANWIDTH=1000 man -l "$1" 2> /dev/null | col -b
    else
        sed 's/\\-/-/g' "$1"
    fi
}

for program in "$@"; do
    name=$(basename "$program")
    page="$man_folder/$name.6"
    if [ ! -f "$page" ]; then
        fail "$name has no manual page $page"
        continue
    fi
    help=$("$program" --help) || fail "$name --help ended with an error"
    text=$(page_text "$page")
    # Options: every --word and every lone -letter of the help.
    while IFS= read -r option; do
        grep -qe "$option\b" <<< "$text" || fail "$name.6 does not name the option $option"
    done < <(grep -oE '(^|[][ ])--?[a-z][a-z-]*' <<< "$help" | sed 's/^[][ ]*//' | sort -u)
    # Commands: the first word (or two for "pgn ...") of each indented line of a list.
    while IFS= read -r command; do
        grep -q "^ *$command\b" <<< "$text" || fail "$name.6 does not describe the command '$command'"
    done < <(sed -nE 's/^  ((pgn )?[a-z]+) [A-Z[].*/\1/p' <<< "$help" | sort -u)

    if command -v man > /dev/null; then
        rendered=$(MANWIDTH=80 man --warnings -l "$page" 2> "$warnings_file" | col -b)
        warnings=$(cat "$warnings_file")
        [ -z "$warnings" ] || fail "man warns about $name.6: $warnings"
        grep -q "^NAME" <<< "$rendered" && grep -qE "^ *$name +- " <<< "$rendered" ||
            fail "man -l did not render $name.6 with its name"
    else
        echo "man is not installed: $name.6 is not rendered"
    fi
done

[ $failures -eq 0 ] || exit 1
echo "every option and command of --help is in the manual pages"
