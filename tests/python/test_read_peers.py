"""read_rows against two independent readers (openpyxl with cached values, python-calamine) on files
written by XlsxWriter, openpyxl and LibreOffice."""
import datetime as dt
import math
import subprocess

import openpyxl
import pytest
import xlsxwriter
from python_calamine import CalamineWorkbook

import quillmark
from test_styles import soffice

TEXTS = ["plain", "  padded  ", "tab\there", "line\nbreak", "ünïcødé €", "a & <b>", "x_y_z", "emoji \U0001F600"]


def write_xlsxwriter(path, date1904=False):
    wb = xlsxwriter.Workbook(path, {"date_1904": date1904})
    ws = wb.add_worksheet("Data")
    date_f = wb.add_format({"num_format": "yyyy-mm-dd"})
    stamp_f = wb.add_format({"num_format": "yyyy-mm-dd hh:mm:ss"})
    time_f = wb.add_format({"num_format": "hh:mm:ss"})
    bold = wb.add_format({"bold": True})
    for i, text in enumerate(TEXTS):
        ws.write_string(i, 0, text)
    numbers = [0, 1, -7, 2.5, 1e-5, 123456789012, -0.125, 1e100]
    for i, n in enumerate(numbers):
        ws.write_number(i, 1, n)
    ws.write_boolean(0, 2, True)
    ws.write_boolean(1, 2, False)
    ws.write_formula(2, 2, "=1/0", None, "#DIV/0!")
    ws.write_formula(3, 2, "=NA()", None, "#N/A")
    ws.write_formula(4, 2, "=B2*3", None, 3)
    ws.write_formula(5, 2, '="a"&"b"', None, "ab")
    ws.write_rich_string(6, 2, "rich ", bold, "bold", " tail")
    ws.write_datetime(0, 3, dt.date(2024, 3, 5), date_f)
    ws.write_datetime(1, 3, dt.datetime(2024, 3, 5, 10, 20, 30), stamp_f)
    ws.write_datetime(2, 3, dt.time(6, 30, 15), time_f)
    # Before the 1904 epoch the peers disagree (one reads a time of day): that date only in 1900 books.
    ws.write_datetime(3, 3, dt.datetime(1999 if date1904 else 1900, 3, 1, 12), stamp_f)
    ws.write_datetime(4, 3, dt.date(1999, 12, 31), date_f)
    ws.merge_range("E1:F2", "merged", bold)
    ws.write_array_formula("G1:G2", "{=B1:B2*2}", None, 0)
    ws.write_number(9, 7, 42)
    wb.close()


def write_openpyxl(path, date1904=False):
    wb = openpyxl.Workbook()
    ws = wb.active
    ws.title = "Data"
    if date1904:
        wb.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    for i, text in enumerate(TEXTS, 1):
        ws.cell(i, 1, text)
    for i, n in enumerate([0, 1, -7, 2.5, 0.001, 10**15, -0.125], 1):
        ws.cell(i, 2, n)
    ws["C1"], ws["C2"] = True, False
    ws["D1"] = dt.datetime(2024, 3, 5, 10, 20, 30)
    ws["D2"] = dt.date(2020, 2, 29)
    ws["D3"] = dt.time(23, 59, 59)
    ws["D3"].number_format = "hh:mm:ss"
    ws["D4"] = 45000.25
    ws["D4"].number_format = "d-mmm-yy h:mm"
    ws["D5"] = 45000
    ws["D5"].number_format = '"Day" 0'
    ws["E1"] = "merged"
    ws.merge_cells("E1:F3")
    ws["H12"] = "last"
    wb.save(path)


def libreoffice_copy(tmp_path, source):
    out = tmp_path / "lo"
    subprocess.run([soffice(), f"-env:UserInstallation=file://{tmp_path / 'profile'}", "--headless",
                    "--convert-to", "xlsx:Calc MS Excel 2007 XML", "--outdir", str(out), str(source)],
                   capture_output=True, timeout=240, check=True)
    return out / source.name


def normal(value):
    """One form for values the readers spell differently: dates as datetimes, whole floats as ints."""
    if value == "":
        return None
    if isinstance(value, dt.datetime):
        return value
    if isinstance(value, dt.date):
        return dt.datetime(value.year, value.month, value.day)
    if isinstance(value, float) and value.is_integer() and abs(value) < 2**53:
        return int(value)
    return value


def same(a, b):
    a, b = normal(a), normal(b)
    if isinstance(a, float) and isinstance(b, float):
        return math.isclose(a, b, rel_tol=1e-15)
    if isinstance(a, dt.datetime) and isinstance(b, dt.datetime):
        return abs(a - b) <= dt.timedelta(milliseconds=1)
    return a == b and (type(a) is type(b) or {type(a), type(b)} <= {int, float})


def trimmed(rows):
    rows = [list(r) for r in rows]
    while rows and all(normal(v) is None for v in rows[-1]):
        rows.pop()
    width = max((i + 1 for r in rows for i, v in enumerate(r) if normal(v) is not None), default=0)
    return [(r + [None] * width)[:width] for r in rows]


ERRORS = {"#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A"}


def compare(ours, theirs, who, errors_blank=False):
    """`errors_blank`: the peer gives error values as empty cells."""
    theirs = trimmed(theirs)
    assert len(ours) == len(theirs), who
    for r, (a_row, b_row) in enumerate(zip(ours, theirs), 1):
        assert len(a_row) == len(b_row), (who, r)
        for c, (a, b) in enumerate(zip(a_row, b_row)):
            if errors_blank and a in ERRORS and normal(b) is None:
                continue
            assert same(a, b), (who, f"{openpyxl.utils.get_column_letter(c + 1)}{r}", a, b)


@pytest.mark.parametrize("writer", [write_xlsxwriter, write_openpyxl])
@pytest.mark.parametrize("date1904", [False, True])
@pytest.mark.parametrize("via_libreoffice", [False, True])
def test_read_rows_agrees_with_peers(tmp_path, writer, date1904, via_libreoffice):
    path = tmp_path / f"{writer.__name__}.xlsx"
    writer(str(path), date1904)
    if via_libreoffice:
        path = libreoffice_copy(tmp_path, path)
    ours = quillmark.Editor(path, "Data").read_rows()
    assert ours and ours == trimmed(ours)

    wb = openpyxl.load_workbook(path, data_only=True)
    compare(ours, wb["Data"].iter_rows(values_only=True), "openpyxl")
    sheet = CalamineWorkbook.from_path(str(path)).get_sheet_by_name("Data")
    compare(ours, sheet.to_python(skip_empty_area=False), "calamine", errors_blank=True)
