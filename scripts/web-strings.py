#!/usr/bin/env python3
"""Writes strings.js for the web page: its own sentences (context "web page") from the game's compiled
catalogues, as window.MOONVALE_STRINGS = {language: {"context\\u0004id": translation}}.
Usage: web-strings.py LOCALE_DIR > strings.js   (LOCALE_DIR: the generated assets/locale)"""
import gettext
import json
import pathlib
import sys

strings = {}
for mo in sorted(pathlib.Path(sys.argv[1]).glob('*.mo')):
    with open(mo, 'rb') as catalogue:
        messages = gettext.GNUTranslations(catalogue)._catalog
    strings[mo.stem] = {key: text for key, text in messages.items()
                        if isinstance(key, str) and key.startswith('web page\x04')}
print('window.MOONVALE_STRINGS = ' + json.dumps(strings, ensure_ascii=False, sort_keys=True) + ';')
