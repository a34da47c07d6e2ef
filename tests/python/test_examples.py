"""examples/: the demo runs to its end and writes sound workbooks; parallel.py's process pool and a
local Dask cluster give the same workbooks."""
import os
import pathlib
import random
import subprocess
import sys

import openpyxl
import pytest
import xlsxwriter

import quillmark
from integrity import assert_sound

EXAMPLES = pathlib.Path(__file__).resolve().parents[2] / "examples"
sys.path.insert(0, str(EXAMPLES))
import parallel  # noqa: E402
from dask import distributed  # noqa: E402


@pytest.fixture
def inputs(tmp_path):
    """Workbooks of different lengths from another producer: {path: rows of (region, q1, q2)}."""
    rng = random.Random(7)
    folder = tmp_path / "in"
    folder.mkdir()
    books = {}
    for i in range(6):
        rows = [(f"R{i}-{r}", rng.randint(0, 999), rng.randint(0, 999)) for r in range(rng.randint(1, 40))]
        path = folder / f"book{i}.xlsx"
        book = xlsxwriter.Workbook(path)
        sheet = book.add_worksheet("Data")
        sheet.write_row(0, 0, ["Region", "Q1", "Q2"])
        for r, row in enumerate(rows, 1):
            sheet.write_row(r, 0, row)
        book.close()
        books[path.name] = rows
    return folder, books


def check(out_folder, books, results):
    assert sorted(results) == sorted((name, len(rows)) for name, rows in books.items())
    for name, rows in books.items():
        sheet = openpyxl.load_workbook(out_folder / name)["Data"]
        last = len(rows) + 1
        assert [c.value for c in sheet[last + 1]] == ["Total", f"=SUM(B2:B{last})", f"=SUM(C2:C{last})",
                                                      f"=SUM(D2:D{last})"]
        assert [sheet.cell(r, 4).value for r in range(2, last + 1)] == [f"=B{r}+C{r}" for r in range(2, last + 1)]
        assert [tuple(c.value for c in sheet[r][:3]) for r in range(2, last + 1)] == rows
        assert sheet.cell(last + 1, 1).font.b


def test_process_pool_and_dask_cluster_write_the_same_files(inputs, tmp_path, monkeypatch):
    folder, books = inputs
    local = parallel.run_local(parallel.jobs(folder, tmp_path / "local"), workers=2)
    check(tmp_path / "local", books, local)

    # Dask's worker processes find both modules through the environment, not this process's path.
    monkeypatch.setenv("PYTHONPATH", os.pathsep.join([os.path.dirname(quillmark.__file__), str(EXAMPLES)]))
    with distributed.LocalCluster(n_workers=2, threads_per_worker=1, processes=True,
                                  dashboard_address=None) as cluster, distributed.Client(cluster) as client:
        on_dask = parallel.run_dask(parallel.jobs(folder, tmp_path / "dask"), client)
    assert on_dask == local
    for name in books:
        assert (tmp_path / "dask" / name).read_bytes() == (tmp_path / "local" / name).read_bytes(), name


def test_demo_runs_and_writes_sound_workbooks(tmp_path):
    env = dict(os.environ, PYTHONPATH=os.path.dirname(quillmark.__file__))
    run = subprocess.run([sys.executable, str(EXAMPLES / "demo.py")], cwd=tmp_path, env=env,
                         capture_output=True, text=True, timeout=300)
    assert run.returncode == 0, run.stderr
    assert "'Rates': 'hidden'" in run.stdout and "removed with its relationship" in run.stdout
    for name in ("sales_report.xlsx", "desktop_edited.xlsx"):
        assert_sound(tmp_path / "out" / name)
