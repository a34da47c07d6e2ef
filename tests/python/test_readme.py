"""The README's examples run as pasted, each in an empty folder."""
import pathlib
import re

import openpyxl
import pytest

README = pathlib.Path(__file__).resolve().parents[2] / "README.md"


def example(section):
    """The first python block under the `## <section>` heading."""
    text = README.read_text().split(f"\n## {section}\n", 1)[1].split("\n## ", 1)[0]
    return re.search(r"```python\n(.*?)```", text, re.S).group(1)


def check_quick_start():
    sheet = openpyxl.load_workbook("hello.xlsx")["Sales"]
    assert [c.value for c in sheet[3]] == ["South", 98, 101, "=B3+C3"]
    assert sheet["A1"].font.b and sheet.column_dimensions["A"].width == 14


def check_api_tour():
    saved = openpyxl.load_workbook("out/book.xlsx")
    assert saved.sheetnames == ["Data", "Summary", "Remarks"]
    data = saved["Data"]
    assert data["B3"].value == 42 and data["C3"].value == "=B3*2"
    assert data["A1"].fill.fgColor.rgb == "FFFFC000" and data["A1"].font.b
    assert "A1:C1" in {str(r) for r in data.merged_cells.ranges}
    assert openpyxl.load_workbook("out/report.xlsx").sheetnames == ["Report"]


@pytest.mark.parametrize("section, check", [("Quick start", check_quick_start),
                                            ("API tour", check_api_tour)])
def test_example_runs(section, check, tmp_path, monkeypatch, capsys):
    monkeypatch.chdir(tmp_path)
    exec(compile(example(section), str(README), "exec"), {})
    check()
