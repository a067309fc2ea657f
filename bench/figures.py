#!/usr/bin/env python3
"""The program's speed and memory figures on the large generated project, each against a
baseline measured in the same run on the same bytes.

    python3 bench/figures.py [--runs N] [--base OTHER_BUILD] [BUILD]

BUILD (default: build) is a build folder with the benchmarks (ORVEL_BENCH on). With --base the
same figures are measured on a second build too, run by run in turn with the first, so that a
change can be compared on a shared, noisy machine; every figure is the median of N runs.

A figure is a function below marked @figure(caption, goal): it gets the build folder and the
folder of the generated files, and returns (value, baseline, ratio, unit of the value).
"""
import argparse
import json
import os
import statistics
import subprocess
import sys
import tempfile
import time

FIGURES = []


def figure(caption, goal):
    def register(fn):
        FIGURES.append((caption, goal, fn))
        return fn
    return register


def run(args, **kw):
    out = subprocess.run(args, check=True, capture_output=True, text=True, **kw).stdout
    return out


def probe(build, *args):
    """The name=value lines of one orvel_probe call, in a fresh process."""
    out = run([os.path.join(build, "bin", "orvel_probe"), *map(str, args)])
    values = {}
    for line in out.splitlines():
        key, _, value = line.partition("=")
        values[key] = float(value)
    return values


def ratio(a, b):
    return a / b if b else float("nan")


# ---- the store

@figure("store load, warm, against a plain read of the file", "<= 5x")
def load_warm(build, files):
    p = probe(build, "load-warm", files["large"], 3)
    return p["ms"], p["read_ms"], ratio(p["ms"], p["read_ms"]), "ms"


@figure("store load, fresh process, against a plain read in a fresh process", "<= 2x")
def load_fresh(build, files):
    read = probe(build, "read", files["large"])
    load = probe(build, "load", files["large"])
    return load["ms"], read["ms"], ratio(load["ms"], read["ms"]), "ms"


@figure("store save, against an fsync-write of the same bytes", "<= 2x")
def save(build, files):
    p = probe(build, "save", files["large"], 3)
    if p.get("same_bytes") != 1:
        raise RuntimeError("the save did not write the bytes it loaded")
    return p["ms"], p["write_ms"], ratio(p["ms"], p["write_ms"]), "ms"


@figure("peak memory of a load alone, against the file size", "<= 2x")
def load_memory(build, files):
    p = probe(build, "load", files["large"])
    size_mb = os.path.getsize(files["large"]) / 1e6
    peak_mb = p["peak_kb"] * 1024 / 1e6
    return peak_mb, size_mb, ratio(peak_mb, size_mb), "MB"


# ---- the converter

@figure("conversion of the old layout, against a plain read", "<= 20x")
def conversion(build, files):
    p = probe(build, "convert", files["old"], 2)
    return p["ms"], p["read_ms"], ratio(p["ms"], p["read_ms"]), "ms"


# ---- the exports and the import: one run of orvel_exchange_bench serves all five figures

_exchange = {}


def exchange_times(build):
    """Real time (ms) of each export and the import by test size, from one run per build and round."""
    key = (build, _round[0])
    if key not in _exchange:
        out = run([os.path.join(build, "bin", "orvel_exchange_bench"), "--benchmark_format=json",
                   "--benchmark_filter=/(320|1280)$", "--benchmark_min_time=0.2"])
        times = {}
        for b in json.loads(out)["benchmarks"]:
            if b.get("run_type") != "iteration":
                continue   # the complexity fit
            name, _, size = b["name"].rpartition("/")
            times[(name, int(size), "real")] = b["real_time"]
            times[(name, int(size), "cpu")] = b["cpu_time"]
        _exchange[key] = times
    return _exchange[key]


def growth(name, clock):
    def measure(build, files):
        t = exchange_times(build)
        big, small = t[(name, 1280, clock)], t[(name, 320, clock)]
        return big, small, ratio(big, small), "ms"
    return measure


# Real time includes the fsync of the written file, which a shared disk makes noisy; CPU time
# is the program's own work.
for _clock in ["real", "cpu"]:
    for _label, _name in [("kvt", "BM_Export/kvt"), ("xml", "BM_Export/xml"), ("csv", "BM_Export/csv"),
                          ("kvw", "BM_Export/kvw"), ("import", "BM_ImportKvt")]:
        figure(f"{_label}: {_clock} time at 4x the size (1280 questions) against 1x (320)", "<= 5x")(
            growth(_name, _clock))

_round = [0]


# ---- the program (orvel_app_bench, a build with the windows): offscreen unless QT_QPA_PLATFORM
# says otherwise, e.g. xcb on an X server with a window manager

def app_child(build, *args):
    """The name=value lines of one orvel_app_bench child: the real program in a fresh process."""
    env = dict(os.environ)
    env.setdefault("QT_QPA_PLATFORM", "offscreen")
    out = run([os.path.join(build, "bin", "orvel_app_bench"), *map(str, args)], env=env)
    values = {}
    for line in out.splitlines():
        key, _, value = line.partition("=")
        if value:
            values[key] = float(value)
    return values


@figure("start-up to the main window shown, against a bare process start", "<= 1.0 s")
def startup(build, files):
    t0 = time.monotonic_ns()
    run(["/bin/true"])
    bare = (time.monotonic_ns() - t0) / 1e6
    shown = app_child(build, "startup", time.monotonic_ns())["shown_ms"]
    return shown, bare, ratio(shown, bare), "ms"


@figure("Open to the tree shown, against a plain read of the file", "<= 0.4 s")
def open_project(build, files):
    p = app_child(build, "open", time.monotonic_ns(), files["large"])
    return p["open_ms"], p["read_ms"], ratio(p["open_ms"], p["read_ms"]), "ms"


@figure("program memory (RSS) after Open, against the file size", "<= 4x")
def open_memory(build, files):
    p = app_child(build, "open", time.monotonic_ns(), files["large"])
    rss, size = p["rss_bytes"] / 1e6, p["file_bytes"] / 1e6
    return rss, size, ratio(rss, size), "MB"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("build", nargs="?", default="build")
    ap.add_argument("--base", help="a second build to measure in turn with the first")
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--only", help="measure only the figures whose caption holds this text")
    args = ap.parse_args()
    builds = [b for b in [args.base, args.build] if b]
    figures = [f for f in FIGURES if not args.only or args.only in f[0]]

    with tempfile.TemporaryDirectory(prefix="orvel-figures-") as d:
        run([os.path.join(args.build, "bin", "orvel_probe"), "make", d])
        files = {"large": os.path.join(d, "large.kvd"), "old": os.path.join(d, "old.kvd")}
        results = {(c, b): [] for c, _, _ in figures for b in builds}
        for r in range(args.runs):
            _round[0] = r
            for caption, _, fn in figures:
                for b in builds:
                    results[(caption, b)].append(fn(b, files))
            print(f"run {r + 1} of {args.runs} done", file=sys.stderr)

    def cell(rows):
        value = statistics.median(x[0] for x in rows)
        base = statistics.median(x[1] for x in rows)
        rat = statistics.median(x[2] for x in rows)
        lo, hi = min(x[2] for x in rows), max(x[2] for x in rows)
        return f"{value:.1f} {rows[0][3]} vs {base:.1f}: {rat:.2f}x ({lo:.2f}-{hi:.2f})"

    print(f"medians of {args.runs} runs; ratio range in brackets")
    head = "| figure | goal | " + " | ".join(("before " if args.base and b == args.base else "") + b for b in builds) + " |"
    print(head)
    print("|---|---|" + "---|" * len(builds))
    for caption, goal, _ in figures:
        print(f"| {caption} | {goal} | " + " | ".join(cell(results[(caption, b)]) for b in builds) + " |")


if __name__ == "__main__":
    main()
