#!/usr/bin/env python3
"""Holds the code to its layers: every include and every link line may only point down.

usage: check-layers.py [PROJECT_ROOT]

The house, from the bottom up: platform/ (the seams at its top level; host/, ui/ and translate/
below them), engine/, core/, then windows/ and cli/ side by side, and app/ on top. Translate.h, the
texts people read in their language, sits with the seams: every layer that words things for people
may use it, the engine (which words nothing) may not. Includes are written from the
project's root ("core/backup/Manifest.h"), so each include line names the layer it reaches into.
Prints every include or link that runs up or sideways, and exits 1 when there is any.
"""
import os
import re
import sys

SEAMS = r'platform/[A-Za-z]+\.h$'  # FileHost.h, TreeReader.h, Translate.h... at platform's top level
UI_SEAM = r'platform/ui/[A-Za-z]+\.h$'

# Where the files of a folder may include from, by the first folder that matches (regexes on the
# file's path, then on the included path). A folder's own files are always allowed.
INCLUDE_RULES = [
    (r'platform/host/', [SEAMS, r'platform/host/']),
    (r'platform/ui/qt/', [UI_SEAM, r'platform/ui/qt/', r'platform/Translate\.h$']),
    (r'platform/ui/win32/', [UI_SEAM, r'platform/ui/win32/', r'platform/host/win32/']),
    (r'platform/ui/', [UI_SEAM]),
    (r'platform/translate/', [r'platform/Translate\.h$', r'platform/translate/']),
    (r'platform/', [SEAMS]),
    (r'engine/', [r'engine/', r'platform/(FileHost|Permissions)\.h$']),
    (r'core/', [r'core/', r'engine/', SEAMS]),
    (r'windows/', [r'windows/', r'core/', r'engine/', UI_SEAM, SEAMS]),
    (r'cli/', [r'cli/', r'core/', r'engine/', SEAMS, r'platform/host/SystemHost\.h$',
               r'platform/host/win32/(Utf16|StreamText)\.h$']),
    (r'app/', [r'app/', r'windows/', r'core/', r'engine/', r'platform/']),
]

# The project's libraries and what each may link of the others (and of Qt).
LINK_RULES = {
    'morvane_translate': set(),
    'morvane_host': {'morvane_translate'},
    'morvane_qt': {'Qt6::Widgets', 'morvane_translate'},
    'morvane_win32': {'morvane_host'},
    'morvane_engine': set(),
    'morvane_core': {'morvane_engine', 'morvane_translate'},
    'morvane_layouts': set(),
    # The host words the system's errors inside the reasons the windows show (platform/Reason.h).
    'morvane_windows': {'morvane_layouts', 'morvane_core', 'morvane_engine', 'morvane_translate',
                        'morvane_host'},
    'morvane_cli': {'morvane_core', 'morvane_host', 'morvane_translate', 'morvane_version'},
}
NOT_LAYERS = {'morvane_warnings'}

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)
LINK = re.compile(r'target_link_libraries\(\s*(\S+)([^)]*)\)', re.S)


def source_files(root):
    for top, _, names in os.walk(root):
        rel_top = os.path.relpath(top, root)
        if rel_top.split(os.sep)[0] not in {'platform', 'engine', 'core', 'windows', 'cli', 'app'}:
            continue
        for name in names:
            if name.endswith(('.h', '.cpp')):
                yield os.path.join(rel_top, name).replace(os.sep, '/')


def include_faults(root):
    faults = []
    for path in sorted(source_files(root)):
        allowed = next(rules for folder, rules in INCLUDE_RULES if path.startswith(folder))
        own = path.rsplit('/', 1)[0] + '/'
        text = open(os.path.join(root, path), encoding='utf-8', errors='replace').read()
        for included in INCLUDE.findall(text):
            if '/' not in included:
                faults.append(f'{path}: "{included}" is not written from the project root')
            elif not included.startswith(own) and not any(re.match(r, included) for r in allowed):
                faults.append(f'{path}: includes "{included}", which is not below it')
    return faults


def link_faults(root):
    faults = []
    for top, _, names in os.walk(root):
        if 'CMakeLists.txt' not in names or os.path.relpath(top, root).split(os.sep)[0] in {'build', 'tests', 'bench', 'tools', '.git'}:
            continue
        path = os.path.join(top, 'CMakeLists.txt')
        for target, rest in LINK.findall(open(path, encoding='utf-8').read()):
            if target not in LINK_RULES:
                continue
            for name in rest.split():
                if (name.startswith('morvane_') or name.startswith('Qt6::')) and name not in NOT_LAYERS \
                        and name not in LINK_RULES[target]:
                    faults.append(f'{os.path.relpath(path, root)}: {target} links {name}')
    return faults


def main():
    root = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..'))
    faults = include_faults(root) + link_faults(root)
    for fault in faults:
        print(fault)
    print(f'{len(faults)} arrow(s) against the layers' if faults else 'every arrow runs down')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
