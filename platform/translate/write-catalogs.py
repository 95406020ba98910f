#!/usr/bin/env python3
"""Writes the compiled catalogs into a C++ file, so that the programs carry them.

usage: write-catalogs.py OUTPUT_CPP [LANGUAGE CATALOG_MO]...

Run by CMake on the build machine (platform/translate/CMakeLists.txt) with the .mo files msgfmt
made of po/LANGUAGE.po for each language of po/LINGUAS. The bytes are written as a string of octal
escapes, which compilers take much faster than a list of numbers.
"""
import sys


def literal(data):
    lines, line = [], ''
    for byte in data:
        line += '\\%03o' % byte
        if len(line) >= 96:
            lines.append('"%s"' % line)
            line = ''
    if line or not lines:
        lines.append('"%s"' % line)
    return '\n    '.join(lines)


def main():
    output, pairs = sys.argv[1], sys.argv[2:]
    if len(pairs) % 2:
        sys.exit(__doc__)
    out = ['// Made by platform/translate/write-catalogs.py from po/*.po; not to be edited.',
           '#include "platform/translate/EmbeddedCatalogs.h"', '',
           'namespace morvane::i18n {', 'namespace {', '']
    rows = []
    for i in range(0, len(pairs), 2):
        language, path = pairs[i], pairs[i + 1]
        with open(path, 'rb') as f:
            data = f.read()
        out.append('constexpr char kCatalog%d[] =\n    %s;' % (i // 2, literal(data)))
        rows.append('    {"%s", {kCatalog%d, %d}},' % (language, i // 2, len(data)))
    out += ['', 'constexpr EmbeddedCatalog kCatalogs[] = {'] + rows
    if not rows:
        out.append('    {"", {}},')  # an array cannot be empty; a nameless one is never chosen
    out += ['};', '', '}  // namespace', '',
            'std::span<const EmbeddedCatalog> embeddedCatalogs() {',
            '    return std::span(kCatalogs).first(%d);' % len(rows), '}', '',
            '}  // namespace morvane::i18n', '']
    with open(output, 'w', encoding='utf-8') as f:
        f.write('\n'.join(out))


if __name__ == '__main__':
    main()
