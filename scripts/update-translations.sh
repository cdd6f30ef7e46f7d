#!/usr/bin/env bash
# Brings the six translation catalogues in app/translations up to date with
# the texts of the code and the forms. Run it after adding or changing any
# tr()/translate() text or any text in a .ui form, then translate the entries
# lupdate marks unfinished (type="unfinished") in every catalogue.
#
# Existing translations are kept; texts that no longer occur in the program
# are dropped rather than left behind as vanished entries. Source locations
# are not recorded, so the catalogues only change when the texts do and
# several people can update them without line-number conflicts.
#
# Usage: scripts/update-translations.sh [path/to/lupdate]
#        (or set LUPDATE; defaults to the Qt 6 tool from the Debian packages)
set -euo pipefail
cd "$(dirname "$0")/.."

lupdate=${1:-${LUPDATE:-/usr/lib/qt6/bin/lupdate}}
if [[ ! -x $lupdate ]]; then
    echo "lupdate not found at $lupdate (install qt6-tools-dev or pass its path)" >&2
    exit 1
fi

# Every folder whose code or forms show text to the user.
sources=(app ui pages maintenance provisioning protocol transport)
existing=()
for dir in "${sources[@]}"; do
    [[ -d $dir ]] && existing+=("$dir")
done

# Catalogue file suffix -> language tag written into the catalogue. The
# program picks a catalogue by file name; the tag is what Linguist and
# lrelease use for plural rules and what the catalogue reports at run time.
declare -A languages=(
    [zh_TW]=zh_TW
    [pt_BR]=pt_BR
    [de]=de_DE
    [fr]=fr_FR
    [nl]=nl_NL
    [en]=en_US
)
order=(zh_TW pt_BR de fr nl en)

for code in "${order[@]}"; do
    ts=app/translations/language_${code}.ts
    lang=${languages[$code]}
    # lupdate keeps the language of an existing file and ignores
    # -target-language, so a wrong tag has to be corrected by hand first.
    if [[ -f $ts ]]; then
        sed -i -E "0,/<TS /s/(<TS[^>]* language=\")[^\"]*(\")/\1${lang}\2/" "$ts"
        sed -i -E "0,/<TS /s/(<TS [^>]*sourcelanguage=\")[^\"]*(\")/\1zh_CN\2/" "$ts"
    fi
    "$lupdate" -silent -no-obsolete -locations none \
        -extensions cpp,h,ui \
        -source-language zh_CN -target-language "$lang" \
        "${existing[@]}" -ts "$ts"
done

# Report what is left for the translators.
for code in "${order[@]}"; do
    ts=app/translations/language_${code}.ts
    total=$(grep -c '<message' "$ts" || true)
    unfinished=$(grep -c 'type="unfinished"' "$ts" || true)
    printf '%-6s %4d messages, %4d unfinished\n' "$code" "$total" "$unfinished"
done
