#!/usr/bin/env bash
# The catalogs of the texts people read (platform/Translate.h, and the reasons of
# platform/Reason.h: because() and becauseN() mark texts as tr() and trn() do):
#   tools/translations.sh update   extract the marked texts into po/morvane.pot and merge them into
#                                  every po/LANGUAGE.po of po/LINGUAS (new texts come in
#                                  untranslated, changed ones fuzzy: translate them, then build)
#   tools/translations.sh check    fail when po/morvane.pot is not what the sources mark, or a
#                                  catalog lacks a translation, holds a fuzzy one, or does not
#                                  compile cleanly (part of the test command)
#   tools/translations.sh new LANGUAGE   start po/LANGUAGE.po from the template
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
template=po/morvane.pot

# Every file of the layers that write texts for people, in one order on every machine. The engine
# writes none (it reports what happened as values).
sources() {
    find platform core windows cli app -name '*.cpp' -o -name '*.h' | LC_ALL=C sort
}

# The template, to standard output. Locations name the file without its line, so that moving code
# leaves the template as it is.
extract() {
    sources | xgettext --files-from=- --output=- --language=C++ --from-code=UTF-8 \
        --keyword --keyword=tr:1 --keyword=trc:1c,2 --keyword=trn:1,2 --keyword=trnc:1c,2,3 \
        --keyword=trMark:1 --keyword=because:1 --keyword=becauseN:1,2 \
        --add-comments=TRANSLATORS: --add-location=file --sort-by-file \
        --package-name=Morvane --copyright-holder='The Morvane developers' \
        --msgid-bugs-address=developers@example.org
}

languages() {
    grep -v '^#' po/LINGUAS | tr -s ' \t' '\n' | sed '/^$/d'
}

# The template without its date, which changes on every extraction.
undated() {
    grep -v '^"POT-Creation-Date:' "$1"
}

update() {
    extract >"$template.new"
    mv "$template.new" "$template"
    for language in $(languages); do
        msgmerge --quiet --update --backup=none --add-location=file --sort-by-file \
            "po/$language.po" "$template"
    done
}

check() {
    local work status=0
    work=$(mktemp -d)
    trap 'rm -rf "$work"' RETURN
    extract >"$work/morvane.pot"
    if ! diff -u <(undated "$template") <(undated "$work/morvane.pot") >"$work/diff"; then
        echo "translations: $template is not what the sources mark; run tools/translations.sh update" >&2
        cat "$work/diff" >&2
        status=1
    fi
    for language in $(languages); do
        local po="po/$language.po"
        # Every text of the sources translated; fuzzy and untranslated ones count as missing.
        msgcmp "$po" "$work/morvane.pot" 2>"$work/missing" ||
            { echo "translations: $po lacks translations:" >&2; cat "$work/missing" >&2; status=1; }
        if [ -n "$(msgattrib --only-fuzzy --no-obsolete "$po")" ]; then
            echo "translations: $po holds fuzzy translations:" >&2
            msgattrib --only-fuzzy --no-obsolete "$po" >&2
            status=1
        fi
        msgfmt --check --output-file=/dev/null "$po" || { echo "translations: $po does not compile cleanly" >&2; status=1; }
        grep -q '^"Content-Type: text/plain; charset=UTF-8\\n"' "$po" ||
            { echo "translations: $po is not UTF-8" >&2; status=1; }
    done
    return "$status"
}

case "${1:-}" in
    update) update ;;
    check) check ;;
    new)
        [ -n "${2:-}" ] || { echo "usage: tools/translations.sh new LANGUAGE" >&2; exit 2; }
        msginit --no-translator --locale="$2.UTF-8" --input="$template" --output-file="po/$2.po"
        # The programs read UTF-8 catalogs; the template, all English, names no character set.
        sed -i 's/charset=[A-Za-z0-9-]*\\n/charset=UTF-8\\n/' "po/$2.po"
        echo "po/$2.po: add $2 to po/LINGUAS, translate it, then build" ;;
    *) echo "usage: tools/translations.sh update|check|new LANGUAGE" >&2; exit 2 ;;
esac
