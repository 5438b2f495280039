#!/bin/sh
# Rewrites resources/resources.qrc from the pictures present under resources/:
# the pictures themselves, and for each language folder (resources/de/, drawn
# by purgatex-drawimages with that language's translation) its pictures that
# carry words, under the same names for that language.
# Run from the repository root after purgatex-drawimages has drawn them.
set -e
cd "$(dirname "$0")/.."
{
    echo '<!DOCTYPE RCC>'
    echo '<RCC version="1.0">'
    echo '    <qresource prefix="/">'
    find Image images -type f -name '*.png' -o -type f -name '*.ico' | LC_ALL=C sort | sed 's|.*|        <file>&</file>|'
    echo '    </qresource>'
    for dir in $(find . -mindepth 1 -maxdepth 1 -type d -name '[a-z][a-z]' | LC_ALL=C sort); do
        lang="${dir#./}"
        echo "    <qresource prefix=\"/\" lang=\"$lang\">"
        (cd "$lang" && find Image -type f -name '*.png' | LC_ALL=C sort) \
            | sed "s|.*|        <file alias=\"&\">$lang/&</file>|"
        echo '    </qresource>'
    done
    echo '    <qresource prefix="/Help">'
    echo '        <file alias="user-guide.html">guide/user-guide.html</file>'
    echo '    </qresource>'
    echo '</RCC>'
} > resources.qrc
