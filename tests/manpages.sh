#!/usr/bin/env bash
# Every command and option a program's --help names must appear in its
# manual page, so the page cannot fall behind the program.
# Usage: manpages.sh <program> <page.1>
set -u
program=$1 page=$2
help=$(env QT_QPA_PLATFORM=offscreen "$program" --help) || { echo "$program --help failed"; exit 1; }
# The page as its reader sees the words: roff's escaped hyphens and font
# changes taken out.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\(em/--/g' "$page")

# Options: every --word, and short options that stand alone (-h).
mapfile -t options < <(grep -oE '(^|[[:space:],[|])--?[a-z][a-z-]*' <<<"$help" | sed -E 's/^[[:space:],[|]//' | sort -u)
# Commands: the first words of the lines under "Commands:" (two of them
# for a command with subcommands, "profile export").
mapfile -t commands < <(sed -n '/^Commands:/,/^$/p' <<<"$help" \
    | sed -nE 's/^  ([a-z]+( [a-z]+)?)( [A-Z[-].*|  .*|$)/\1/p' | sed -E 's/ (PRINTER|FILE)$//' | sort -u)

missing=0
for word in "${options[@]}" "${commands[@]}"; do
    if ! grep -qF -- "$word" <<<"$text"; then
        echo "$(basename "$page") does not mention: $word"
        missing=1
    fi
done
echo "$(basename "$page"): ${#options[@]} options, ${#commands[@]} commands checked"
exit $missing
