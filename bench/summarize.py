#!/usr/bin/env python3
"""Turns bench/run's results.tsv into the table it prints: min and median of every
measure, and the ratio to the reference measured in the same run, with the target."""

import statistics
import sys
from collections import defaultdict


def load(path):
    rows = defaultdict(list)  # (bench, variant, case) -> [dict]
    for line in open(path, encoding="utf-8"):
        bench, variant, case, fields = line.rstrip("\n").split("\t", 3)
        values = dict(f.split("=", 1) for f in fields.split() if "=" in f)
        rows[(bench, variant, case)].append(values)
    return rows


def numbers(rows, key, name, ok_only=True):
    out = []
    for r in rows.get(key, []):
        if ok_only and r.get("result") != "0":
            continue
        try:
            out.append(float(r[name]))
        except (KeyError, ValueError):
            pass
    return out


def mm(values, fmt="%.1f"):
    if not values:
        return "n/a"
    return (fmt + " / " + fmt) % (min(values), statistics.median(values))


def ratio(a, b):
    """Of the medians, then of the minima (the machine is shared: minima are steadier)."""
    if not a or not b:
        return "n/a"
    return "%.2fx (min %.2fx)" % (statistics.median(a) / statistics.median(b), min(a) / min(b))


def apart(total, part):
    """Round by round, what follows the part (the setups, after the downloads)."""
    return [a - b for a, b in zip(total, part)]


def main():
    rows = load(sys.argv[1])
    cases = sorted({k[2] for k in rows if k[0] == "download"}, key=lambda c: float(c.split()[0]))
    if cases:
        download_and_memory(rows, cases)
    if any(k[0] == "verify" for k in rows):
        verification(rows)
    if any(k[0] == "stall" for k in rows):
        stall(rows)
    later(rows)


def download_and_memory(rows, cases):
    print("Download (wall ms, min / median; throughput ratio = reference time / Pellory time)")
    for case in cases:
        mib = float(case.split()[0])
        p, b, c = (numbers(rows, ("download", v, case), "wall_ms") for v in ("pellory", "bare", "curl"))
        mbs = "n/a" if not p else "%.0f MB/s" % (mib * 1.048576 / (statistics.median(p) / 1000))
        print("  %-8s Pellory %-20s bare loop %-20s curl %-20s | Pellory %s, vs bare %s, vs curl %s"
              % (case, mm(p), mm(b), mm(c), mbs, ratio(b, p), ratio(c, p)))
    print("  target: 100 MiB >= 0.95x the bare loop's throughput")

    print("\nPeak working set (KiB, min / median)")
    for case in cases:
        p, b, c = (numbers(rows, ("download", v, case), "peak_kb") for v in ("pellory", "bare", "curl"))
        print("  %-8s Pellory %-22s bare loop %-22s curl %-22s | Pellory / bare %s"
              % (case, mm(p, "%.0f"), mm(b, "%.0f"), mm(c, "%.0f"), ratio(p, b)))
    small = numbers(rows, ("download", "pellory", "1 MiB"), "peak_kb")
    for case in cases[1:]:
        large = numbers(rows, ("download", "pellory", case), "peak_kb")
        if small and large:
            print("  Pellory %s minus 1 MiB: %.0f KiB" % (case, statistics.median(large) - statistics.median(small)))
    print("  target: large minus 1 MiB <= 1024 KiB; absolute <= 1.5x the bare loop\n")


def verification(rows):
    print("Verification (ms per call after the first, min / median; first call in the process apart)")
    for case in ("1 MiB", "100 MiB"):
        p, b, s = (numbers(rows, ("verify", v, case), "wall_ms") for v in ("pellory", "bare", "sha256sum"))
        pf, bf = (numbers(rows, ("verify", v, case), "first_ms") for v in ("pellory", "bare"))
        print("  %-8s Pellory %-18s bare %-18s sha256sum %-18s | Pellory / bare %s; first call %s vs %s"
              % (case, mm(p), mm(b), mm(s), ratio(p, b), mm(pf), mm(bf)))
    print("  target: <= 1.1x the bare call\n")


def stall(rows):
    print("CPU during a 30 s stall")
    for kind in ("short-hold", "short-close"):
        for r in rows.get(("stall", "pellory", kind), []):
            wall, cpu = float(r.get("wall_ms", 0)), float(r.get("cpu_ms", 0))
            server = rows.get(("stall", "wineserver", kind), [{}])[0].get("cpu_ms", "n/a")
            print("  %-11s result %s after %.1f s; harness CPU %.0f ms (%.2f%% of a core), wineserver CPU %s ms"
                  % (kind, r.get("result"), wall / 1000, cpu, 100 * cpu / wall if wall else 0, server))
    print("  target: <= 1% of a core")


def later(rows):
    p, m = (numbers(rows, ("startup", v, "first-window"), "wall_ms") for v in ("pellory", "minimal"))
    if p or m:
        print("\nStart-up to the first window (ms, min / median)")
        print("  Pellory.exe %-20s minimal dialog exe %-20s | Pellory / minimal %s" % (mm(p), mm(m), ratio(p, m)))
        print("  target: <= 1.1x the minimal dialog exe")

    p, c = (numbers(rows, ("install", v, "complete"), "wall_ms") for v in ("pellory", "reference"))
    if p or c:
        print("\nWhole install, download page to completion page (ms, min / median)")
        print("  Pellory %-22s reference %-22s | Pellory / reference %s" % (mm(p), mm(c), ratio(p, c)))
        pd, cd = (numbers(rows, ("install", v, "complete"), "downloads_ms") for v in ("pellory", "reference"))
        ck = numbers(rows, ("install", "reference", "complete"), "checks_ms")
        print("  of which downloads and checks (to the first setup's start): Pellory %s, reference %s"
              " (its two signature checks %s); setups: Pellory %s, reference %s"
              % (mm(pd), mm(cd), mm(ck), mm(apart(p, pd)), mm(apart(c, cd))))
        print("  target: <= 1.05x the reference: curl fetching the same files, the bare signature check"
              " of both setup programs (bench_verify files), then the setups' own run")
        pp = numbers(rows, ("install", "pinned", "complete"), "wall_ms")
        if pp:
            print("  Pellory from a pinned list %-22s | pinned / unpinned %s" % (mm(pp), ratio(pp, p)))
            print("  target: <= 1.02x the unpinned install")

    d = numbers(rows, ("deploy", "deploy", "complete"), "wall_ms")
    if d:
        # Pellory's figure leaves its process start-up out: the deploy's, from its own first
        # log line to its outcome line, does too. The cross-check times the deploy's process
        # whole and takes off a bare console program's start and end, measured in the rounds.
        print("\nComplete deploy, first log line to outcome line (ms, min / median)")
        print("  PelloryDeploy %-22s Pellory's whole install %-22s | deploy / install %s" % (mm(d), mm(p), ratio(d, p)))
        dd = numbers(rows, ("deploy", "deploy", "complete"), "downloads_ms")
        print("  of which downloads (to the first setup's command line): %s; setups: %s (Pellory's: above)"
              % (mm(dd), mm(apart(d, dd))))
        dp = numbers(rows, ("deploy", "deploy", "complete"), "process_ms")
        bare = numbers(rows, ("deploy", "bare", "console"), "wall_ms")
        if dp and bare:
            net = [t - statistics.median(bare) for t in dp]
            print("  cross-check: the process, start to end, %s less a bare console program's %s: %s | / install %s"
                  % (mm(dp), mm(bare), mm(net), ratio(net, p)))
        print("  target: <= 1.02x Pellory's whole install")

    for r in rows.get(("size", "Pellory.exe", "stripped"), []):
        size = int(r["bytes"])
        print("\nStripped Pellory.exe (i686): %d bytes = %.1f KiB; target 300 KiB (%s)"
              % (size, size / 1024, "met" if size <= 300 * 1024 else "missed"))


if __name__ == "__main__":
    main()
