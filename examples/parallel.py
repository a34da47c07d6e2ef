"""Many workbooks at once: one task per file, each opening its own editor.

An Editor holds no open file and is never sent between processes: tasks get paths, open, edit,
save, and return a small summary. The same task function runs in a process pool on this machine or
on a Dask cluster, so code that outgrows one machine stays as it is.

    python parallel.py IN_FOLDER OUT_FOLDER                      # process pool, one worker per core
    python parallel.py IN_FOLDER OUT_FOLDER --dask local         # a local Dask cluster
    python parallel.py IN_FOLDER OUT_FOLDER --dask tcp://host:8786   # an existing Dask scheduler
"""
import argparse
import multiprocessing
import pathlib
from concurrent.futures import ProcessPoolExecutor

import quillmark


def add_totals(source: str, target: str) -> tuple[str, int]:
    """Adds a Total column (B + C) and a bold totals row to the first sheet of `source`, saves the
    result as `target`, and returns (file name, number of data rows)."""
    editor = quillmark.Editor(source)
    last = editor.last_row_index("A")
    editor.set_cell("D1", "Total")
    for row in range(2, last + 1):
        editor.set_cell(f"D{row}", f"=B{row}+C{row}")
    editor.append_row(["Total", f"=SUM(B2:B{last})", f"=SUM(C2:C{last})", f"=SUM(D2:D{last})"])
    editor.set_font(f"A{last + 1}:D{last + 1}", "Calibri", 11, bold=True)
    editor.save(target)
    return pathlib.Path(source).name, last - 1


def jobs(in_folder, out_folder) -> list[tuple[str, str]]:
    """(source, target) for every .xlsx of `in_folder`, targets in `out_folder` under the same name."""
    out = pathlib.Path(out_folder)
    out.mkdir(parents=True, exist_ok=True)
    return [(str(p), str(out / p.name)) for p in sorted(pathlib.Path(in_folder).glob("*.xlsx"))]


def run_local(pairs, workers=None):
    # spawn, not fork: workers start clean whatever threads the caller has running.
    context = multiprocessing.get_context("spawn")
    with ProcessPoolExecutor(max_workers=workers, mp_context=context) as pool:
        return list(pool.map(add_totals, *zip(*pairs))) if pairs else []


def run_dask(pairs, client):
    # pure=False: the same paths given twice are two runs, not one cached result.
    futures = client.map(add_totals, [s for s, _ in pairs], [t for _, t in pairs], pure=False)
    return client.gather(futures)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("in_folder")
    parser.add_argument("out_folder")
    parser.add_argument("--dask", metavar="ADDRESS", help='"local" or a scheduler address')
    args = parser.parse_args()
    pairs = jobs(args.in_folder, args.out_folder)
    if args.dask is None:
        results = run_local(pairs)
    else:
        from dask.distributed import Client, LocalCluster

        if args.dask == "local":
            with LocalCluster(processes=True, threads_per_worker=1) as cluster, Client(cluster) as client:
                results = run_dask(pairs, client)
        else:
            with Client(args.dask) as client:
                results = run_dask(pairs, client)
    for name, rows in results:
        print(f"{name}: {rows} rows")


if __name__ == "__main__":
    main()
