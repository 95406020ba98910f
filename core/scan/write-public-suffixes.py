#!/usr/bin/env python3
"""Turns the Public Suffix List into the table core/scan/Addresses.cpp looks names up in.

usage: write-public-suffixes.py PUBLIC_SUFFIX_LIST OUTPUT_CPP

Run by CMake on the build machine (core/CMakeLists.txt) from Debian's package `publicsuffix`
(/usr/share/publicsuffix/public_suffix_list.dat), so that every build, the Windows one included,
carries the same table. Only the ICANN section is taken: the suffixes under which anyone registers
a name (the private section lists hosting services' own names, which are addresses all the same).
Rules in other alphabets are written as the DNS spells them ("xn--p1ai"). The three lists are
sorted by bytes, as std::string_view compares them, for a binary search.
"""
import sys


def main():
    source, output = sys.argv[1], sys.argv[2]
    plain, wildcard, exception = set(), set(), set()
    in_icann = False
    with open(source, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if line.startswith("// ===BEGIN ICANN DOMAINS==="):
                in_icann = True
            elif line.startswith("// ===END ICANN DOMAINS==="):
                in_icann = False
            if not in_icann or not line or line.startswith("//"):
                continue
            rule = line.split()[0].lower()
            into = plain
            if rule.startswith("!"):
                into, rule = exception, rule[1:]
            elif rule.startswith("*."):
                into, rule = wildcard, rule[2:]
            try:
                rule = rule.encode("idna").decode("ascii")
            except UnicodeError:
                continue  # a label the DNS cannot spell is met in no file
            into.add(rule)
    if len(plain) < 1000:
        sys.exit("write-public-suffixes: %s holds only %d ICANN rules; is it the Public Suffix List?"
                 % (source, len(plain)))

    def table(name, rules):
        rows = "".join('    "%s",\n' % r for r in sorted(rules, key=lambda r: r.encode()))
        return "constexpr std::string_view %s[] = {\n%s};\n" % (name, rows)

    text = ("// Written by core/scan/write-public-suffixes.py from %s; do not edit.\n"
            "#include \"core/scan/PublicSuffixes.h\"\n\n"
            "namespace morvane::scan {\nnamespace {\n\n" % source.replace("\\", "/"))
    text += table("kPlain", plain) + "\n" + table("kWildcard", wildcard) + "\n" + table("kException", exception)
    text += ("\n}  // namespace\n\nconst SuffixTable& publicSuffixes() {\n"
             "    static const SuffixTable table{kPlain, kWildcard, kException};\n    return table;\n}\n\n"
             "}  // namespace morvane::scan\n")
    with open(output, "w", encoding="ascii", newline="\n") as f:
        f.write(text)


if __name__ == "__main__":
    main()
