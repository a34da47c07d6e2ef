"""DataFrame import: real polars frames and duck-typed objects, read back with openpyxl and as XML."""
import collections
import datetime as dt
import decimal
import enum
import math
import random
import re
import struct
import zipfile

import openpyxl
import polars as pl
import pytest
from quillmark import Editor


@pytest.fixture
def editor_and_path(tmp_path):
    path = tmp_path / "df.xlsx"
    return Editor.create(path, "Data"), path


def sheet_text(path, part="xl/worksheets/sheet1.xml"):
    with zipfile.ZipFile(path) as z:
        return z.read(part).decode()


def cell_xml(text, ref):
    m = re.search(rf'<c r="{ref}"[^>]*?(?:/>|>.*?</c>)', text)
    return m.group(0) if m else None


class Frame:
    """The two features with_polars uses, and nothing else."""

    def __init__(self, columns, rows):
        self.columns = columns
        self._rows = rows

    def iter_rows(self):
        return iter(self._rows)


NUM = '<c r="A2"><v>{}</v></c>'
TEXT = '<c r="A2" t="inlineStr"><is><t>{}</t></is></c>'


@pytest.mark.parametrize("value, markup", [
    (None, None),                 # no cell at all
    (True, TEXT.format("TRUE")),
    (False, TEXT.format("FALSE")),
    (dt.date(2024, 1, 15), NUM.format("45306")),
    (dt.datetime(2024, 1, 15, 12, 0), NUM.format("45306.5")),
    (dt.datetime(2024, 1, 15, 6, 0), NUM.format("45306.25")),
    (dt.date(1970, 1, 1), NUM.format("25569")),
    (dt.date(1899, 12, 31), NUM.format("0")),  # the day before serial 1, 1 January 1900
    (dt.date(1800, 3, 1), NUM.format("-36463")),
    (dt.datetime(2024, 1, 15, 8, 0), NUM.format("45306.333333333335759")),
    (dt.datetime(2024, 1, 15, 12, 0, tzinfo=dt.timezone(dt.timedelta(hours=5))), NUM.format("45306.5")),
    (42, NUM.format("42")),
    (2.5, NUM.format("2.5")),
    (1e16, NUM.format("1e+16")),
    (float("nan"), '<c r="A2" t="e"><v>#NUM!</v></c>'),
    (float("inf"), '<c r="A2" t="e"><v>#DIV/0!</v></c>'),
    (float("-inf"), '<c r="A2" t="e"><v>#DIV/0!</v></c>'),
    (decimal.Decimal("1.50"), NUM.format("1.50")),
    (decimal.Decimal("NaN"), TEXT.format("NaN")),
    (dt.time(12, 30), TEXT.format("12:30:00")),
    # str values are text whatever they look like: never numbers, never formulas
    ("text", TEXT.format("text")),
    ("02134", TEXT.format("02134")),
    ("1e5", TEXT.format("1e5")),
    ("=HYPERLINK(\"http://x\")", TEXT.format("=HYPERLINK(&quot;http://x&quot;)")),
    ("== Title ==", TEXT.format("== Title ==")),
    ("", TEXT.format("")),
])
def test_typed_values(editor_and_path, value, markup):
    editor, path = editor_and_path
    editor.with_polars(Frame(["v"], [(value, "next")]))
    editor.save(path)
    text = sheet_text(path)
    cell = cell_xml(text, "A2")
    assert (cell and re.sub(r' s="\d+"', "", cell)) == markup  # date columns carry a format
    assert cell_xml(text, "B2") == '<c r="B2" t="inlineStr"><is><t>next</t></is></c>'  # the row goes on
    openpyxl.load_workbook(path)


def cell_texts(path):
    """Every cell's value text by reference, whether written as a number or as a string."""
    return {m.group(1): m.group(2) or "" for m in re.finditer(
        r'<c r="([A-Z]+\d+)"[^>]*?(?:/>|>(?:<v>|<is><t(?: [^>]*)?>)?(.*?)(?:</v>|</t></is>)?</c>)', sheet_text(path))}


def serial_text(value):
    """A date or datetime as its serial number text, the arithmetic done in the module's order."""
    day = value if type(value) is dt.date else value.date()
    date = float((day - dt.date(1970, 1, 1)).days)
    if type(value) is dt.date:
        serial = date + 25569.0
    else:
        a = value.hour * 3600.0 + value.minute * 60.0
        serial = (value.microsecond / 1000000.0 + (value.second + a)) / 86400.0 + (date + 25569.0)
    text = "%.15f" % serial
    return text.rstrip("0").rstrip(".")


def test_number_and_date_texts_match_the_interpreter(editor_and_path):
    """Ints, floats, dates and datetimes over their whole ranges, in tuple rows and in other
    sequences, read back exactly as str() and the serial arithmetic give them."""
    editor, path = editor_and_path
    rng = random.Random(2024)

    class Loud(int):
        def __str__(self):
            return "loud"

    class Tidy(float):
        def __str__(self):
            return "tidy"

    floats = [0.0, -0.0, 1e16, 9999999999999998.0, 1e-4, 9.999999999999999e-05, 0.1, 1 / 3, -2.5e-300,
              5e-324, 1.7976931348623157e308, 123456789.125, float("nan"), float("inf"), float("-inf")]
    while len(floats) < 3000:
        value = struct.unpack("<d", rng.getrandbits(64).to_bytes(8, "little"))[0]
        if math.isfinite(value):
            floats.append(value)
            floats.append(rng.random() * 10 ** rng.randint(-8, 20))
    ints = [0, -1, 2**63 - 1, -2**63, 2**63, -2**63 - 1, 10**30, Loud(7), enum.IntEnum("E", "A B").B]
    ints += [rng.randint(-2**70, 2**70) for _ in range(500)]
    stamps = [dt.datetime(1, 1, 1), dt.datetime(9999, 12, 31, 23, 59, 59, 999999), dt.date(1, 1, 1)]
    for _ in range(1500):
        day = dt.date(1, 1, 1) + dt.timedelta(days=rng.randrange(3652059))
        stamps.append(day)
        stamps.append(dt.datetime.combine(day, dt.time(rng.randrange(24), rng.randrange(60), rng.randrange(60),
                                                       rng.randrange(1000000))))
    values = floats + ints + [Tidy(1.5)] + stamps
    shapes = [tuple, list, lambda row: collections.namedtuple("Row", "v")(*row)]
    rows = [shapes[i % 3]((v,)) for i, v in enumerate(values)]
    editor.with_polars(Frame(["v"], rows))
    editor.save(path)
    texts = cell_texts(path)
    for i, v in enumerate(values):
        if isinstance(v, dt.date):
            expected = serial_text(v)
        elif isinstance(v, float) and not math.isfinite(v):
            expected = "#NUM!" if math.isnan(v) else "#DIV/0!"
        else:
            expected = str(v)
        assert texts[f"A{i + 2}"] == expected, (v, texts[f"A{i + 2}"])


def test_real_polars_frame_read_back(editor_and_path):
    editor, path = editor_and_path
    df = pl.DataFrame({
        "id": [1, 2, 3],
        "price": [9.5, None, 3.25],
        "name": ["a & b", None, " padded "],
        "day": [dt.date(2024, 1, 15), None, dt.date(2024, 2, 29)],
        "at": [dt.datetime(2024, 1, 15, 12, 0), dt.datetime(2024, 1, 16, 6, 30), None],
        "ok": [True, False, None],
    })
    assert editor.with_polars(df, "C5") is None
    editor.save(path)
    ws = openpyxl.load_workbook(path)["Data"]
    assert [c.value for c in ws[5][2:8]] == ["id", "price", "name", "day", "at", "ok"]
    assert [ws.cell(6, c).value for c in range(3, 9)] == [
        1, 9.5, "a & b", dt.datetime(2024, 1, 15), dt.datetime(2024, 1, 15, 12, 0), "TRUE"]
    assert cell_xml(sheet_text(path), "D7") is None and cell_xml(sheet_text(path), "E7") is None  # nulls
    assert ws["G7"].value == dt.datetime(2024, 1, 16, 6, 30)
    assert ws["E8"].value == " padded "
    assert ws["F6"].number_format == "yyyy-mm-dd" and ws["F8"].number_format == "yyyy-mm-dd"
    assert ws["F7"].number_format == "yyyy-mm-dd"  # the null cell of a date column too
    assert ws["G6"].number_format == "yyyy-mm-dd hh:mm:ss"
    assert ws["F5"].number_format == "General"     # never the header
    assert ws["C6"].number_format == "General" and ws["H6"].number_format == "General"
    assert ws.max_row == 8


def test_format_ranges_and_mixed_columns(editor_and_path):
    editor, path = editor_and_path
    rows = [
        (1, dt.date(2024, 1, 1), dt.date(2024, 1, 1), "x"),
        (2, dt.date(2024, 1, 2), dt.datetime(2024, 1, 2, 3, 4), "y", dt.date(2024, 5, 5)),
        (dt.date(2024, 1, 3), None, "text", "z"),
        ("w",),  # too short to reach the date columns: their format still covers it
    ]
    editor.with_polars(Frame(["n", "d", "mixed", "s"], rows), "C5")
    editor.save(path)
    ws = openpyxl.load_workbook(path)["Data"]
    assert ws["C6"].number_format == "yyyy-mm-dd"       # ints first, a date later
    assert ws["D8"].number_format == "yyyy-mm-dd"
    assert ws["E6"].number_format == "yyyy-mm-dd hh:mm:ss" and ws["E8"].number_format == "yyyy-mm-dd hh:mm:ss"
    assert ws["F6"].number_format == "General"
    assert ws["G7"].value == 45417                        # beyond the header: written, not formatted
    assert ws["G7"].number_format == "General"
    assert ws["C9"].value == "w" and ws["D9"].value is None and ws["F9"].value is None
    assert ws["D9"].number_format == "yyyy-mm-dd" and ws["E9"].number_format == "yyyy-mm-dd hh:mm:ss"
    assert ws["C10"].value is None


def test_empty_frame_writes_the_header_only(editor_and_path):
    editor, path = editor_and_path
    editor.with_polars(pl.DataFrame({"a": [], "b": []}))
    editor.save(path)
    ws = openpyxl.load_workbook(path)["Data"]
    assert [[c.value for c in r] for r in ws.iter_rows()] == [["a", "b"]]
    with zipfile.ZipFile(path) as z:
        assert "numFmt " not in z.read("xl/styles.xml").decode()


@pytest.mark.parametrize("frame, message", [
    (object(), "Expected polars.DataFrame with .columns"),
    (type("NoRows", (), {"columns": ["a"]})(), "Expected polars.DataFrame with .iter_rows()"),
    (type("BadRows", (), {"columns": ["a"], "iter_rows": lambda self: 1 / 0})(),
     "Expected polars.DataFrame with .iter_rows()"),
])
def test_not_a_frame(editor_and_path, frame, message):
    editor, path = editor_and_path
    with pytest.raises(RuntimeError) as info:
        editor.with_polars(frame)
    assert str(info.value) == message
    editor.save(path)
    assert openpyxl.load_workbook(path)["Data"].max_row == 1 and openpyxl.load_workbook(path)["Data"]["A1"].value is None


def test_conversion_failures_write_nothing(editor_and_path):
    editor, path = editor_and_path

    class Bad:
        def __str__(self):
            raise ValueError("no text")
    cases = [
        (Frame("ab", []), TypeError, "^Can't extract `str` to `Vec`$"),
        (Frame([1], []), TypeError, "^'int' object is not an instance of 'str'$"),
        (Frame(["a"], ["row"]), TypeError, "^Can't extract `str` to `Vec`$"),
        (Frame(["a"], [{1}]), TypeError, "^'set' object is not an instance of 'Sequence'$"),
        (Frame(["a"], [(Bad(),)]), ValueError, "^no text$"),
        (type("NotIterable", (), {"columns": ["a"], "iter_rows": lambda self: 5})(), TypeError, "not iterable"),
    ]
    for frame, exc, pattern in cases:
        with pytest.raises(exc, match=pattern):
            editor.with_polars(frame)
    with pytest.raises(TypeError, match=r"^argument 'start_cell': 'int' object is not an instance of 'str'$"):
        editor.with_polars(Frame(["a"], []), 5)
    editor.save(path)
    assert openpyxl.load_workbook(path)["Data"]["A1"].value is None


@pytest.mark.parametrize("start, message", [
    ("AB", "invalid start coordinate \u2013 no digits"),
    ("A$B1", "Invalid Excel column: A$B"),
    ("XFE1", "start coordinate XFE1 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ("ZZZZZZZZ1", "start coordinate ZZZZZZZZ1 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ("1", "Invalid Excel column: "),
    ("A0", "start coordinate A0 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ("A1048577", "start coordinate A1048577 is outside the sheet (columns A to XFD, rows 1 to 1048576)"),
    ("A1x", "invalid row in start coordinate"),
    ("XFC1", "a table of 3 rows and 3 columns at XFC1 does not fit in the sheet (columns A to XFD, rows 1 to 1048576)"),
    ("A1048575", "a table of 3 rows and 3 columns at A1048575 does not fit in the sheet (columns A to XFD, rows 1 to 1048576)"),
])
def test_bad_start_writes_nothing(editor_and_path, start, message):
    editor, path = editor_and_path
    editor.set_cell("A1", "keep")
    before = editor_sheet(editor, path)
    with pytest.raises(RuntimeError) as info:
        editor.with_polars(Frame(["a", "b", "c"], [(dt.date(2024, 1, 1), 1, 2), (None, 3, 4)]), start)
    assert str(info.value) == message
    assert editor_sheet(editor, path) == before


def editor_sheet(editor, path):
    editor.save(path)
    with zipfile.ZipFile(path) as z:
        return z.read("xl/worksheets/sheet1.xml"), z.read("xl/styles.xml")


@pytest.mark.parametrize("start, first", [("$B$3", "B3"), ("b3", "B3"), ("$c7", "C7"), ("XFB1048574", "XFB1048574")])
def test_start_is_folded_to_its_cell(editor_and_path, start, first):
    editor, path = editor_and_path
    editor.with_polars(Frame(["a", "b", "c"], [(1, 2, 3), (4, 5, 6)]), start)
    editor.save(path)
    assert cell_xml(sheet_text(path), first) == f'<c r="{first}" t="inlineStr"><is><t>a</t></is></c>'
    openpyxl.load_workbook(path)


def test_reentry_is_refused_and_user_code_decides(editor_and_path):
    editor, path = editor_and_path
    seen = []

    class Rows:
        columns = ["a"]

        def iter_rows(self):
            try:
                editor.set_cell("Z1", "x")
            except RuntimeError as e:
                seen.append(str(e))
            yield ("ok",)

    editor.with_polars(Rows())
    assert seen == ["Already borrowed"]

    class Raising:
        columns = ["a"]

        def iter_rows(self):
            editor.set_cell("Z1", "x")
            yield ("never",)
    with pytest.raises(RuntimeError, match="^Already borrowed$"):
        editor.with_polars(Raising())
    editor.save(path)
    ws = openpyxl.load_workbook(path)["Data"]
    assert ws["A2"].value == "ok" and ws["Z1"].value is None


def test_date_formats_join_the_styles_of_cells_written_over(editor_and_path):
    editor, path = editor_and_path
    editor.set_cell("D6", "old")
    editor.set_cell("E7", "old")
    editor.set_fill("D6:E7", "FFC000")
    editor.with_polars(Frame(["n", "day", "x"], [(1, dt.date(2024, 1, 1), "a"), (2, None, "b"), (3, dt.date(2024, 1, 3))]), "C5")
    editor.save(path)
    ws = openpyxl.load_workbook(path)["Data"]
    for ref, fill in (("D6", True), ("D7", True), ("D8", False)):
        assert ws[ref].number_format == "yyyy-mm-dd", ref
        assert str(ws[ref].fill.fgColor.rgb).endswith("FFC000") is fill, ref
    assert ws["D6"].value == dt.datetime(2024, 1, 1) and ws["D7"].value is None
    assert ws["E7"].number_format == "General" and ws["E7"].fill.fgColor.rgb.endswith("FFC000") and ws["E7"].value == "b"
    assert ws["E8"].value is None and ws["D5"].number_format == "General"
