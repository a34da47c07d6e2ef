"""Typed writing: each Python value comes back with its type from this module and from openpyxl."""
import datetime as dt
import decimal
import zipfile

import openpyxl
import pytest

import quillmark

# (value written, value read back, value openpyxl reads back)
ROUND_TRIP = [
    (None, None, None),
    (True, True, True),
    (False, False, False),
    (0, 0, 0),
    (-123456789, -123456789, -123456789),
    (2**70, 2**70, 2**70),
    (2.5, 2.5, 2.5),
    (1e-300, 1e-300, 1e-300),
    (0.1 + 0.2, 0.1 + 0.2, 0.1 + 0.2),
    (float("nan"), "#NUM!", "#NUM!"),
    (float("-inf"), "#DIV/0!", "#DIV/0!"),
    (decimal.Decimal("1.50"), 1.5, 1.5),
    (decimal.Decimal("-7"), -7, -7),
    (decimal.Decimal("NaN"), "#NUM!", "#NUM!"),
    ("=1+1", "=1+1", "=1+1"),
    ("0042", "0042", "0042"),
    ("1e5", "1e5", "1e5"),
    ("", "", None),
    ("bell\x07 _x0041_ \r\n", "bell\x07 _x0041_ \r\n", None),
    (dt.date(2024, 2, 29), dt.date(2024, 2, 29), dt.datetime(2024, 2, 29)),
    (dt.date(1900, 2, 28), dt.date(1900, 2, 28), dt.datetime(1900, 2, 28)),
    (dt.datetime(2031, 12, 31, 23, 59, 59, 250000), dt.datetime(2031, 12, 31, 23, 59, 59, 250000),
     dt.datetime(2031, 12, 31, 23, 59, 59, 250000)),
    (dt.time(0, 0, 1), dt.time(0, 0, 1), dt.time(0, 0, 1)),
    (dt.timedelta(days=3, minutes=5), dt.timedelta(days=3, minutes=5), dt.timedelta(days=3, minutes=5)),
]


@pytest.mark.parametrize("date1904", [False, True])
def test_write_rows_round_trip(tmp_path, date1904):
    src = tmp_path / "src.xlsx"
    wb = openpyxl.Workbook()
    wb.active.title = "Data"
    wb.active["A1"] = "keep"
    wb.active["C3"] = 99  # an existing cell the block writes over
    wb.active["C3"].font = openpyxl.styles.Font(bold=True)
    if date1904:
        wb.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    wb.save(src)
    values = [v for v, _, _ in ROUND_TRIP]
    e = quillmark.Editor(src)
    e.write_rows("B3", [values, values[::-1]])
    e.write("A2", dt.date(2000, 1, 1))
    expected = [read for _, read, _ in ROUND_TRIP]
    for check in (e, quillmark.Editor(e.save(tmp_path / "out.xlsx") or tmp_path / "out.xlsx")):
        rows = check.read_rows()
        assert rows[0][0] == "keep" and rows[1][0] == dt.date(2000, 1, 1)
        for got in (rows[2][1:], rows[3][1:][::-1]):
            assert [(type(v), v) for v in got] == [(type(v), v) for v in expected]
    back = openpyxl.load_workbook(tmp_path / "out.xlsx")["Data"]
    assert back["C3"].font.bold
    for (_, _, theirs), cell in zip(ROUND_TRIP, back[3][1:]):
        if theirs is not None:
            assert cell.value == theirs and type(cell.value) is type(theirs), cell.coordinate


def test_refused_values_change_nothing(tmp_path):
    e = quillmark.Editor.create(tmp_path / "a.xlsx")
    e.write_rows("A1", [[1, dt.date(2024, 1, 1)]])
    before = e.read_rows()
    for call, message in [
        (lambda: e.write_rows("A1", [[2, 3], [4, object()]]), "type 'object' to cell B2"),
        (lambda: e.write("C7", b"bytes"), "type 'bytes' to cell C7"),
        (lambda: e.write_rows("A1", "text"), "argument 'rows'"),
        (lambda: e.write_rows("A1", [5]), "argument 'rows'"),
    ]:
        with pytest.raises(TypeError, match=message):
            call()
    with pytest.raises(RuntimeError, match="invalid cell reference"):
        e.write("A0", 1)
    assert e.read_rows() == before
    e.save(tmp_path / "a.xlsx")
    with zipfile.ZipFile(tmp_path / "a.xlsx") as z:
        assert b"B2" not in z.read("xl/worksheets/sheet1.xml")
