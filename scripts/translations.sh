#!/usr/bin/env bash
# The translators' template and catalogues.
#   translations.sh update   extract every message from the sources into po/moonvale.pot and merge
#                            it into each po/<language>.po (new messages come in untranslated)
#   translations.sh check    fail when the template is not what the sources say, or a catalogue does
#                            not pass msgfmt --check
set -euo pipefail
cd "$(dirname "$0")/.."

# template FILE: the messages of the game (tr and msg: context, then the English) and of the web page (t).
template() {
    local common=(--from-code=UTF-8 --add-comments=TRANSLATORS: --add-location=file --sort-by-file
        --package-name=Moonvale --no-wrap --output="$1")
    xgettext "${common[@]}" --language=C++ --keyword= --keyword=tr:1c,2 --keyword=msg:1c,2 \
        $(find src -name '*.cpp' -o -name '*.h' | LC_ALL=C sort)
    sed -i 's/charset=CHARSET/charset=UTF-8/' "$1"
    xgettext "${common[@]}" --join-existing --language=JavaScript --keyword= --keyword=t:1c,2 \
        packaging/web/page.js
    # The date alone would make every run a change.
    sed -i '/^"POT-Creation-Date:/d' "$1"
}

case "${1:-}" in
update)
    template po/moonvale.pot
    for po in po/*.po; do msgmerge --quiet --update --backup=none --no-wrap "$po" po/moonvale.pot; done
    ;;
check)
    fresh=$(mktemp)
    trap 'rm -f "$fresh"' EXIT
    template "$fresh"
    if ! diff -u po/moonvale.pot "$fresh"; then
        echo "po/moonvale.pot is not what the sources say: run scripts/translations.sh update" >&2
        exit 1
    fi
    for po in po/*.po; do msgfmt --check --output-file=/dev/null "$po"; done
    echo "the template is current and every catalogue passes msgfmt --check"
    ;;
*)
    echo "usage: $0 update|check" >&2
    exit 2
    ;;
esac
