"""The installed stub as type checkers see it, and how objects show themselves."""
import itertools
import os
import pathlib
import re
import subprocess
import sys

import pytest

import quillmark
from quillmark import AlignSpec, HorizAlignment, VertAlignment

CASES = pathlib.Path(__file__).resolve().parent / "typecheck"


def run_module(module, *args, cwd):
    # The module's folder goes on the search path the way site-packages is: mypy must find the stub
    # package there on its own, with no flag that silences missing imports.
    env = dict(os.environ, PYTHONPATH=os.path.dirname(quillmark.__file__))
    return subprocess.run([sys.executable, "-m", module, *args], cwd=cwd, env=env,
                          capture_output=True, text=True)


def test_mypy_strict_accepts_the_whole_api_and_reports_each_misuse(tmp_path):
    result = run_module("mypy", "--strict", "--cache-dir", str(tmp_path / "cache"), "whole_api.py", "errors.py",
                      cwd=CASES)
    reported = {}
    for file, line, code in re.findall(r"^(\S+\.py):(\d+): error: .*\[([a-z-]+)\]$", result.stdout, re.M):
        reported.setdefault((file, int(line)), set()).add(code)
    expected = {}
    for number, line in enumerate((CASES / "errors.py").read_text().splitlines(), 1):
        if "  # E: " in line:
            expected[("errors.py", number)] = set(line.split("  # E: ")[1].split())
    assert expected and reported == expected, result.stdout + result.stderr


def test_stubtest_finds_stub_matching_the_module(tmp_path):
    result = run_module("mypy.stubtest", "quillmark", cwd=tmp_path)
    assert result.returncode == 0, result.stdout + result.stderr


def test_editor_repr_names_path_and_current_sheet(tmp_path):
    path = str(tmp_path / "it's.xlsx")
    quillmark.create_excel(path, "Data")
    ed = quillmark.Editor(path)
    seen = [repr(ed), repr(ed.add_worksheet('Q"1')), repr(ed.with_worksheet("Data").delete_worksheet("Data"))]
    assert seen == [f"<quillmark.Editor path={path!r} sheet={name!r}>" for name in ("Data", 'Q"1', 'Q"1')]
    assert repr(quillmark.Scanner(path)) == f"quillmark.Scanner({path!r})"


def test_editor_repr_inside_its_own_call_does_not_raise(editor):
    class Frame:
        columns = ["a"]

        def iter_rows(self):
            shown.append(repr(editor))
            return iter([["x"]])

    shown = []
    editor.with_polars(Frame())
    assert shown == ["<quillmark.Editor (busy)>"]


SPECS = list(itertools.product([None, *HorizAlignment], [None, *VertAlignment], [False, True]))


def test_align_spec_compares_hashes_and_shows_by_value():
    made = [AlignSpec(horiz=h, vert=v, wrap=w) for h, v, w in SPECS]
    again = [AlignSpec(h, v, w) for h, v, w in SPECS]
    for (fields_a, a), (fields_b, b) in itertools.product(zip(SPECS, made), zip(SPECS, again)):
        assert (a == b) == (fields_a == fields_b) and (a != b) == (fields_a != fields_b)
    assert len(set(made) | set(again)) == len(SPECS)
    namespace = {"AlignSpec": AlignSpec, "HorizAlignment": HorizAlignment, "VertAlignment": VertAlignment}
    assert [eval(repr(spec), namespace) for spec in made] == made
    assert repr(AlignSpec(vert=VertAlignment.Top)) == "AlignSpec(vert=VertAlignment.Top)"
    assert AlignSpec() != (None, None, False)
