#!/usr/bin/env python3
"""Prints the in-process figures of quote_file_bench as ratios to the floor.

Reads the JSON that quote_file_bench writes with --benchmark_out and takes the
median of the repetitions. CPU time is the main figure: other processes on the
machine stretch wall-clock time but not the time this process ran.
"""
import json
import sys

GOAL_LARGEST = 2.0  # the largest file that shows may cost at most twice the floor


def main(path):
    with open(path) as f:
        runs = json.load(f)["benchmarks"]
    medians = {r["run_name"]: r for r in runs if r.get("aggregate_name") == "median"}
    if not medians:
        sys.exit(f"{path}: no median aggregates; run with --benchmark_repetitions")
    files = []
    for name in medians:
        step, label = name.split("/", 1)
        if step == "Program" and label not in files:
            files.append(label)
    steps = ["Program", "ReadStep", "DecodeStep", "SplitStep", "AssembleStep"]
    print(f"{'file':<10} {'step':<13} {'cpu_us':>10} {'real_us':>10} {'MB/s':>9} {'x floor':>8}")
    for label in files:
        floor = medians[f"Floor/{label}"]
        for step in ["Floor"] + steps:
            r = medians.get(f"{step}/{label}")
            if r is None:
                continue
            mbps = r.get("bytes_per_second", 0) / 1e6
            ratio = r["cpu_time"] / floor["cpu_time"]
            print(f"{label:<10} {step:<13} {r['cpu_time']:>10.1f} {r['real_time']:>10.1f} {mbps:>9.0f} {ratio:>7.2f}x")
    largest = medians["Program/largest"]["cpu_time"] / medians["Floor/largest"]["cpu_time"]
    verdict = "met" if largest <= GOAL_LARGEST else "MISSED"
    print(f"goal: largest file <= {GOAL_LARGEST:.2f}x the floor: {largest:.2f}x, {verdict}")


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: quote_file_ratios.py QUOTE_FILE_BENCH.json")
    main(sys.argv[1])
