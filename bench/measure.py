#!/usr/bin/env python3
"""Times morvane-cli against du -sb on demo game folders and prints the figures as tables.

Called by bench/run.sh, which builds the program and lays out the trees; see bench/README.md.
Every figure is a ratio or a pair measured in the same run: the commands are timed alternately
(the order flipping every round), after warm-up rounds, and the median is taken: warm cache, and
as root also cold, with the page cache dropped before every run.
"""
import argparse
import json
import os
import shutil
import stat
import statistics
import subprocess
import sys
import time

EDITIONS = ["cstrike", "cstrike_russian"]
# The demo's target files (relative to an edition folder) and the replacement each gets; None:
# deleted, not replaced.
TARGETS = {
    "resource/GameMenu.res": "GameMenu.res",
    "resource/LoadingDialog.res": "LoadingDialog.res",
    "resource/LoadingDialogNoBanner.res": "LoadingDialogNoBanner.res",
    "resource/LoadingDialogVAC.res": "LoadingDialogVAC.res",
    "resource/UI/ScoreBoard.res": "ScoreBoard.res",
    "config.cfg": None,
    "userconfig.cfg": None,
    "motd.txt": "motd.txt",
    "autobuy.txt": "autobuy.txt",
}
RSS_SLACK_KIB = 2048


def timed(argv, codes=(0,)):
    start = time.perf_counter()
    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    elapsed = time.perf_counter() - start
    if done.returncode not in codes:
        sys.exit(f"measure: {' '.join(argv)} failed ({done.returncode}): {done.stderr.decode()}")
    return elapsed, done.stdout.decode()


class Command:
    """One command of a comparison; `prepare` runs untimed before every run, `check` after."""

    def __init__(self, name, argv, prepare=None, check=None, codes=(0,)):
        self.name, self.argv, self.prepare, self.check = name, argv, prepare, check
        self.codes = codes


def drop_page_cache():
    """Empties the page cache, as after a reboot; only root may."""
    os.sync()
    with open("/proc/sys/vm/drop_caches", "w") as f:
        f.write("3\n")


def alternate(commands, warmup, runs, cold=False):
    """Median seconds per command name, timed alternately; `cold` drops the page cache (untimed)
    before every run."""
    times = {c.name: [] for c in commands}
    for r in range(warmup + runs):
        for c in commands if r % 2 == 0 else list(reversed(commands)):
            if c.prepare:
                c.prepare()
            if cold:
                drop_page_cache()
            seconds, out = timed(c.argv, c.codes)
            if c.check:
                c.check(out)
            if r >= warmup:
                times[c.name].append(seconds)
    return {name: statistics.median(t) for name, t in times.items()}


def totals(root):
    """Apparent sizes below root, by kind, never following links (as du -sb counts them)."""
    sums = {"files": 0, "file_count": 0, "folders": 0, "folder_count": 0, "links": 0,
            "link_count": 0, "other": 0}
    pending = [root]
    sums["folders"] += os.lstat(root).st_size
    sums["folder_count"] += 1
    while pending:
        with os.scandir(pending.pop()) as entries:
            for entry in entries:
                st = entry.stat(follow_symlinks=False)
                if stat.S_ISREG(st.st_mode):
                    sums["files"] += st.st_size
                    sums["file_count"] += 1
                elif stat.S_ISDIR(st.st_mode):
                    sums["folders"] += st.st_size
                    sums["folder_count"] += 1
                    pending.append(entry.path)
                elif stat.S_ISLNK(st.st_mode):
                    sums["links"] += st.st_size
                    sums["link_count"] += 1
                else:
                    sums["other"] += st.st_size
    return sums


class Targets:
    """The demo's advert-carrying files of one tree: put back before every clean and checked after
    it, so that every timed clean does the whole work. Their first contents are kept beside the
    tree (TREE.targets), so that a tree used again by a later run starts from them too."""

    def __init__(self, tree, replacements):
        self.tree, self.saved, self.replacements = tree, {}, {}
        keep = f"{tree}.targets"
        for edition in EDITIONS:
            for rel, name in TARGETS.items():
                path = f"{tree}/{edition}/{rel}"
                kept = f"{keep}/{edition}/{rel}"
                if not os.path.exists(kept):
                    os.makedirs(os.path.dirname(kept), exist_ok=True)
                    shutil.copy2(path, kept)
                with open(kept, "rb") as f:
                    self.saved[path] = (f.read(), os.lstat(kept).st_mode & 0o7777)
                if name:
                    with open(f"{replacements}/{name}", "rb") as f:
                        self.replacements[path] = f.read()

    def restore(self):
        for path, (content, mode) in self.saved.items():
            if os.path.lexists(path):
                os.chmod(path, 0o600)
                os.unlink(path)
            with open(path, "wb") as f:
                f.write(content)
            os.chmod(path, mode)

    def check(self, out):
        report = json.loads(out)
        if not all(report["status"].values()) or report["verdict"] != "possibly removed":
            sys.exit(f"measure: a clean did not find and treat everything: {out}")
        for edition in EDITIONS:
            for rel, name in TARGETS.items():
                path = f"{self.tree}/{edition}/{rel}"
                if name is None and os.path.lexists(path):
                    sys.exit(f"measure: {path} survived a clean")
                if name is not None:
                    with open(path, "rb") as f:
                        if f.read() != self.replacements[path]:
                            sys.exit(f"measure: {path} was not replaced")


def peak_rss_kib(cli, tree, runs):
    """Median peak resident size of `morvane-cli size`, by /usr/bin/time -f %M."""
    values = []
    for _ in range(runs):
        done = subprocess.run(["/usr/bin/time", "-f", "%M", cli, "size", tree],
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
        values.append(int(done.stderr.decode().strip().splitlines()[-1]))
    return statistics.median(values)


def fdatasync_share(cli, tree, targets):
    """Seconds a clean spends in fdatasync and how many calls, by strace; None without strace."""
    if not shutil.which("strace"):
        return None
    targets.restore()
    done = subprocess.run(["strace", "-f", "-w", "-c", "-e", "trace=fdatasync", cli, "clean",
                           "--json", "--no-backup", tree, "all"], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          check=True)
    targets.check(done.stdout.decode())
    targets.restore()
    for line in done.stderr.decode().splitlines():
        fields = line.split()
        if fields and fields[-1] == "fdatasync":
            return float(fields[1]), int(fields[3])
    return None


def scan_times(cli, reference, trees, warmup, runs):
    """Prints how long `morvane-cli scan` takes (exit 1: something planted found) on each tree,
    against du -sb for scale and, given another build, against that build's scan of the same tree."""
    print("\nScan in ms (warm cache): morvane-cli scan --json TREE"
          + (f", and the same with {reference}" if reference else ""))
    print(f"{'tree':>6} {'scan':>9} {'du -sb':>9}" + (f" {'reference':>10} {'ratio':>6}" if reference else ""))
    for label, tree in trees:
        commands = [Command("scan", [cli, "scan", "--json", tree], codes=(0, 1)),
                    Command("du", ["du", "-sb", tree])]
        if reference:
            commands.append(Command("reference", [reference, "scan", "--json", tree], codes=(0, 1)))
        t = alternate(commands, warmup, runs)
        line = f"{label:>6} {ms(t['scan'])} {ms(t['du'])}"
        if reference:
            line += f" {ms(t['reference']):>10} {t['scan'] / t['reference']:6.2f}"
        print(line, flush=True)


def ms(seconds):
    return f"{seconds * 1000:9.1f}"


def verdict(ok):
    return "ok" if ok else "MISSED"


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", required=True)
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--warmup", type=int, default=2)
    parser.add_argument("--reference-cli", help="another build's morvane-cli, whose scan is timed beside")
    parser.add_argument("trees", nargs="+", help="LABEL=PATH of demo game folders, smallest first")
    args = parser.parse_args()
    cli = os.path.abspath(args.cli)
    replacements = os.path.join(os.path.dirname(cli), "files")
    trees = [t.split("=", 1) for t in args.trees]
    one_cpu = ["taskset", "-c", "0"] if shutil.which("taskset") else None

    print(f"Each figure: median of {args.runs} runs after {args.warmup} warm-up rounds, "
          "commands alternating, warm cache.\n")
    print("Folder total: ours (regular files only) against du -sb (every entry's apparent size)")
    print(f"{'tree':>6} {'files':>9} {'folders':>8} {'morvane-cli size':>17} {'regular files':>14} "
          f"{'same':>5} {'du -sb':>14} {'du - regular':>13}  explained by")
    for label, tree in trees:
        sums = totals(tree)
        ours = int(timed([cli, "size", tree])[1])
        du = int(timed(["du", "-sb", tree])[1].split()[0])
        explained = sums["folders"] + sums["links"] + sums["other"]
        print(f"{label:>6} {sums['file_count']:>9} {sums['folder_count']:>8} {ours:>17} "
              f"{sums['files']:>14} {'yes' if ours == sums['files'] else 'NO':>5} {du:>14} "
              f"{du - sums['files']:>13}  {sums['folder_count']} folders' own sizes "
              f"{sums['folders']} + {sums['link_count']} links {sums['links']}"
              f"{'' if du - sums['files'] == explained else ' (NOT fully explained)'}")

    print("\nTimes in ms")
    header = (f"{'tree':>6} {'size':>9} {'du -sb':>9} {'ratio':>6}"
              + (f" {'size 1 CPU':>10} {'2 vs 1':>6}" if one_cpu else "")
              + f" | {'clean':>9} {'du -sb':>9} {'ratio':>6} {'+backup':>9}")
    print(header)
    results = {}
    for label, tree in trees:
        size = [Command("size", [cli, "size", tree]), Command("du", ["du", "-sb", tree])]
        if one_cpu:
            size.append(Command("size1", one_cpu + [cli, "size", tree]))
        s = alternate(size, args.warmup, args.runs)
        targets = Targets(tree, replacements)
        # The removal run as the windows make it, and the driver's default, which first backs up
        # every file it will change.
        clean = [Command("clean", [cli, "clean", "--json", "--no-backup", tree, "all"],
                         targets.restore, targets.check), Command("du", ["du", "-sb", tree]),
                 Command("backup", [cli, "clean", "--json", tree, "all"], targets.restore,
                         targets.check)]
        c = alternate(clean, args.warmup, args.runs)
        targets.restore()
        results[label] = (s, c)
        line = f"{label:>6} {ms(s['size'])} {ms(s['du'])} {s['size'] / s['du']:6.2f}"
        if one_cpu:
            line += f" {ms(s['size1']):>10} {s['size'] / s['size1']:6.2f}"
        line += f" | {ms(c['clean'])} {ms(c['du'])} {c['clean'] / c['du']:6.2f} {ms(c['backup'])}"
        print(line, flush=True)

    scan_times(cli, args.reference_cli, trees, args.warmup, args.runs)

    cold = {}
    print("\nCold cache in ms (page cache dropped before every run; median of 5, alternating)")
    if os.geteuid() != 0:
        print("  skipped: dropping the page cache needs root")
    else:
        print(f"{'tree':>6} {'size':>9} {'du -sb':>9} {'ratio':>6}")
        for label, tree in trees:
            k = alternate([Command("size", [cli, "size", tree]), Command("du", ["du", "-sb", tree])],
                          0, 5, cold=True)
            cold[label] = k
            print(f"{label:>6} {ms(k['size'])} {ms(k['du'])} {k['size'] / k['du']:6.2f}", flush=True)

    small_label, small = trees[0]
    large_label, large = trees[-1]
    sync = fdatasync_share(cli, small, Targets(small, replacements))
    if sync:
        seconds, calls = sync
        print(f"\nfdatasync in one clean: {calls} calls, {seconds * 1000:.1f} ms in all "
              f"(the clean of the {small_label} tree took {results[small_label][1]['clean'] * 1000:.1f} ms)")

    rss_small = peak_rss_kib(cli, small, 5)
    rss_large = peak_rss_kib(cli, large, 5)
    print(f"\nPeak RSS of morvane-cli size (/usr/bin/time -f %M, median of 5): "
          f"{small_label} {rss_small} KiB, {large_label} {rss_large} KiB, "
          f"difference {rss_large - rss_small} KiB "
          f"({verdict(rss_large - rss_small <= RSS_SLACK_KIB)}: within {RSS_SLACK_KIB} KiB)")

    print(f"\nLoad average at the end: {' '.join(open('/proc/loadavg').read().split()[:3])} "
          "(other work on the machine takes processors and the disk from the walk)")
    print("\nTargets (set for the 100k tree; on smaller trees process start-up weighs too much)")
    for label, (s, c) in results.items():
        if "100k" in results and label != "100k":
            continue
        line = (f"  {label}: warm size/du {s['size'] / s['du']:.2f} "
                f"({verdict(s['size'] / s['du'] <= 0.55)}: at most 0.55); ")
        if label in cold:
            k = cold[label]
            line += (f"cold size/du {k['size'] / k['du']:.2f} "
                     f"({verdict(k['size'] / k['du'] <= 0.45)}: at most 0.45); ")
        line += f"warm clean/du {c['clean'] / c['du']:.2f} ({verdict(c['clean'] / c['du'] <= 1.0)}: at most 1.0)"
        print(line)


if __name__ == "__main__":
    main()
