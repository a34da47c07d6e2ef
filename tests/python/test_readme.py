"""The README's API tour runs as written."""
import pathlib
import re

import openpyxl

README = pathlib.Path(__file__).resolve().parents[2] / "README.md"


def test_api_tour_runs(tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    wb = openpyxl.Workbook()
    wb.active.title = "Data"
    wb.create_sheet("Summary")
    wb.save("book.xlsx")
    code = re.search(r"```python\n(.*?)```", README.read_text(), re.S).group(1)
    exec(compile(code, str(README), "exec"), {})
    saved = openpyxl.load_workbook("out/book.xlsx")
    assert saved.sheetnames == ["Data", "Summary", "Remarks"]
    data = saved["Data"]
    assert data["B3"].value == 42 and data["C3"].value == "=B3*2"
    assert data["A1"].fill.fgColor.rgb == "00FFC000" and data["A1"].font.b
    assert "A1:C1" in {str(r) for r in data.merged_cells.ranges}
    assert openpyxl.load_workbook("out/report.xlsx").sheetnames == ["Report"]
