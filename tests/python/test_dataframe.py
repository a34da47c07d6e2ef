"""DataFrame import: real polars frames and duck-typed objects, read back with openpyxl and as XML."""
import collections
import datetime as dt
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


@pytest.mark.parametrize("value, text", [
    (None, ""),
    (True, "TRUE"),
    (False, "FALSE"),
    (dt.date(2024, 1, 15), "45306"),
    (dt.datetime(2024, 1, 15, 12, 0), "45306.5"),
    (dt.datetime(2024, 1, 15, 6, 0), "45306.25"),
    (dt.date(1970, 1, 1), "25569"),
    (dt.date(1899, 12, 31), "1"),
    (dt.date(1800, 3, 1), "-36463"),
    (dt.datetime(2024, 1, 15, 8, 0), "45306.333333333335759"),
    (dt.datetime(2024, 1, 15, 12, 0, tzinfo=dt.timezone(dt.timedelta(hours=5))), "45306.5"),
    (42, "42"),
    (2.5, "2.5"),
    (1e16, "1e+16"),
    (dt.time(12, 30), "12:30:00"),
    ("text", "text"),
])
def test_typed_values(editor_and_path, value, text):
    editor, path = editor_and_path
    editor.with_polars(Frame(["v"], [(value,)]))
    editor.save(path)
    cell = cell_xml(sheet_text(path), "A2")
    assert cell is not None
    inner = re.search(r"<(?:v|t(?: [^>]*)?)>(.*?)</(?:v|t)>", cell)
    assert (inner.group(1) if inner else "") == text.replace("&", "&amp;")


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
        expected = serial_text(v) if isinstance(v, dt.date) else str(v)
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
    assert ws["C9"].value is None


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


def test_start_without_plain_letters_writes_then_fails(editor_and_path):
    editor, path = editor_and_path
    with pytest.raises(RuntimeError, match=r"^Invalid Excel column: \$A\$$"):
        editor.with_polars(Frame(["d"], [(dt.date(2024, 1, 1),)]), "$A$1")
    with pytest.raises(RuntimeError, match="^invalid start coordinate \u2013 no digits$"):
        editor.with_polars(Frame(["d"], []), "AB")


def test_start_with_many_plain_letters_is_a_column(editor_and_path):
    # Any run of letters names a column here, however far out; only non-letters are refused.
    editor, path = editor_and_path
    assert editor.with_polars(Frame(["n"], [(1,)]), "ZZZZZZZZ1") is None
    editor.save(path)
    assert cell_xml(sheet_text(path), "ZZZZZZZZ2") == '<c r="ZZZZZZZZ2"><v>1</v></c>'


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
