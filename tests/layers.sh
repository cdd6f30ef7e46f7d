#!/usr/bin/env bash
# Fails when an #include runs against the layers of the tree:
#   protocol/ (pure bytes) <- transport/ (media) <- query/ (helpers on both
#   transports) <- ui/, pages/, maintenance/, provisioning/, app/, cli/
# A folder may include from its own layer and the ones below it only. The
# emulated printer under tools/ includes nothing of the product at all, so
# that a protocol mistake there cannot mirror one in the tool.
# Usage: layers.sh <repository root>
set -u
cd "${1:-$(dirname "$0")/..}" || exit 2

declare -A rank=([protocol]=0 [transport]=1 [query]=2
                 [ui]=3 [pages]=3 [maintenance]=3 [provisioning]=3 [app]=3 [cli]=3)
status=0

# Folder an include names: "dir/file.h" names dir; a bare "file.h" is the
# including file's own folder, or ui/ (the widget library's include path;
# ui_*.h are the forms generated there).
target_of() {
    local from=$1 name=$2
    case $name in
        */*) echo "${name%%/*}" ;;
        ui_*.h) echo ui ;;
        *) if [[ -e $from/$name ]]; then echo "$from"; elif [[ -e ui/$name ]]; then echo ui; fi ;;
    esac
}

while IFS=: read -r file line text; do
    from=${file%%/*}
    name=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1/' <<<"$text")
    to=$(target_of "$(dirname "$file")" "$name")
    to=${to%%/*}
    [[ -z $to || $to == "$from" ]] && continue
    if [[ $from == tools ]]; then
        [[ -n ${rank[$to]+x} ]] || continue
    elif [[ -z ${rank[$to]+x} || ${rank[$to]} -le ${rank[$from]} ]]; then
        continue
    fi
    echo "$file:$line: $from/ must not include $name ($to/)"
    status=1
done < <(find protocol transport query ui pages maintenance provisioning app cli tools \
             -name '*.h' -o -name '*.cpp' 2>/dev/null | sort \
         | xargs grep -Hn -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"')

[[ $status -eq 0 ]] && echo "layers: every include runs downwards"
exit $status
