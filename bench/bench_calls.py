"""Per-call cost of cheap Editor methods against a builtin method call with the same arguments.

Each task repeats one call N times on a one-sheet workbook (open not timed); the floor is
`dict.get` with as many arguments, timed in the same run. What the binding adds per call (binding,
busy flag, conversion, result) shows as the ratio and the difference to the floor.

    python bench/bench_calls.py [--runs 5] [--calls 1000000]
"""
import argparse
import os
import statistics
import sys
import tempfile
import time

import quillmark


def median_per_call(task, runs, calls):
    samples = []
    for _ in range(runs):
        start = time.perf_counter()
        task(calls)
        samples.append((time.perf_counter() - start) / calls)
    return statistics.median(samples)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--calls", type=int, default=1_000_000)
    args = parser.parse_args()
    folder = tempfile.mkdtemp()
    path = os.path.join(folder, "calls.xlsx")
    quillmark.create_excel(path, "Data")
    ed = quillmark.Editor(path)
    ed.set_cell("A1", "42")
    ed.set_cell("B2", "x")
    d = {"A1": 1}

    def floor_one(n):
        get = d.get
        for _ in range(n):
            get("A1")

    def floor_two(n):
        get = d.get
        for _ in range(n):
            get("B2", "x")

    def get_value(n):
        call = ed.get_value
        for _ in range(n):
            call("A1")

    def set_cell(n):
        call = ed.set_cell
        for _ in range(n):
            call("B2", "x")

    def set_cell_keywords(n):
        call = ed.set_cell
        for _ in range(n):
            call(coords="B2", cell="x")

    def last_row_index(n):
        call = ed.last_row_index
        for _ in range(n):
            call("A")

    floors = {1: median_per_call(floor_one, args.runs, args.calls),
              2: median_per_call(floor_two, args.runs, args.calls)}
    print(f"{args.calls} calls, median of {args.runs} runs, ns per call")
    print(f"{'task':<24}{'ns/call':>10}{'floor':>10}{'ratio':>8}{'added':>10}")
    for name, task, arity in [("get_value", get_value, 1), ("set_cell", set_cell, 2),
                              ("set_cell(keywords)", set_cell_keywords, 2),
                              ("last_row_index", last_row_index, 1)]:
        t = median_per_call(task, args.runs, args.calls)
        floor = floors[arity]
        print(f"{name:<24}{t * 1e9:10.0f}{floor * 1e9:10.0f}{t / floor:8.2f}{(t - floor) * 1e9:10.0f}")
    ed.save(os.path.join(folder, "out.xlsx"))
    sys.stdout.flush()


if __name__ == "__main__":
    main()
