#!/bin/sh
# Rewrites resources/resources.qrc from the pictures present under resources/.
# Run from the repository root after purgatex-drawimages has drawn them.
set -e
cd "$(dirname "$0")/.."
{
    echo '<!DOCTYPE RCC>'
    echo '<RCC version="1.0">'
    echo '    <qresource prefix="/">'
    find Image images -type f -name '*.png' -o -type f -name '*.ico' | LC_ALL=C sort | sed 's|.*|        <file>&</file>|'
    echo '    </qresource>'
    echo '    <qresource prefix="/Help">'
    echo '        <file alias="user-guide.html">guide/user-guide.html</file>'
    echo '    </qresource>'
    echo '</RCC>'
} > resources.qrc
