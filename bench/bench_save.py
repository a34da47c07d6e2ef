"""What flushing a save to disk costs, against `cp` in the same run.

A save writes a temporary file, fsyncs it, renames it onto the target and fsyncs the folder, so
a crash leaves the old file or the new one. `cp` does not flush; "copy + fsync" (the file and the
folder, from Python) is the floor any durable save pays. Measured on make_workbooks' books:

- `cp` as a process, and copy + fsync in process;
- save without edits (open the "Small" sheet, save: the whole file is copied);
- small-sheet edit (open "Small", one set_cell, save: two parts rewritten, the rest copied raw).

Each figure is the median of several runs; outputs are removed before each run.

    python bench/bench_save.py [--runs 7] [--sizes book_20mb,book_100mb]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
import make_workbooks  # noqa: E402

import quillmark  # noqa: E402

OUT = os.path.join(make_workbooks.DATA, "out")


def timed(fn, out, runs):
    samples = []
    for _ in range(runs):
        if os.path.exists(out):
            os.remove(out)
        start = time.perf_counter()
        fn()
        samples.append(time.perf_counter() - start)
    os.remove(out)
    return statistics.median(samples)


def copy_fsync(path, out):
    shutil.copyfile(path, out)
    fd = os.open(out, os.O_RDONLY)
    os.fsync(fd)
    os.close(fd)
    fd = os.open(os.path.dirname(out), os.O_RDONLY)
    os.fsync(fd)
    os.close(fd)


def no_edit(path, out):
    quillmark.Editor(path, "Small").save(out)


def small_edit(path, out):
    editor = quillmark.Editor(path, "Small")
    editor.set_cell("B2", "42")
    editor.save(out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--sizes", default="book_20mb,book_100mb")
    args = parser.parse_args()
    sizes = args.sizes.split(",")
    make_workbooks.ensure(sizes)
    os.makedirs(OUT, exist_ok=True)
    out = os.path.join(OUT, "save.xlsx")
    for size in sizes:
        path = make_workbooks.path_of(size)
        t = {
            "cp": timed(lambda: subprocess.run(["cp", path, out], check=True), out, args.runs),
            "copy + fsync": timed(lambda: copy_fsync(path, out), out, args.runs),
            "save, no edits": timed(lambda: no_edit(path, out), out, args.runs),
            "small-sheet edit": timed(lambda: small_edit(path, out), out, args.runs),
        }
        mb = os.path.getsize(path) / 1e6
        print(f"{size} ({mb:.1f} MB), median of {args.runs}:")
        for name, seconds in t.items():
            print(f"  {name:18s} {seconds * 1000:8.1f} ms   {seconds / t['cp']:5.2f}x cp"
                  f"   {seconds / t['copy + fsync']:5.2f}x copy+fsync")


if __name__ == "__main__":
    main()
