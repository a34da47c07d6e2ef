"""The Arrow stream path of with_polars against the row path (columns + iter_rows) on the same frames:
the saved parts must be byte-identical, and failures the same."""
import datetime as dt
import random
import zipfile

import polars as pl
import pytest
from quillmark import Editor


class RowsOnly:
    """The frame seen through columns and iter_rows only, as any object without a stream is."""

    def __init__(self, frame):
        self.columns = frame.columns
        self._frame = frame

    def iter_rows(self):
        return self._frame.iter_rows()


class Streamed:
    """Counts how often the stream was asked for."""

    def __init__(self, frame):
        self.frame, self.calls = frame, 0
        self.columns = frame.columns

    def __arrow_c_stream__(self, requested_schema=None):
        self.calls += 1
        return self.frame.__arrow_c_stream__(requested_schema)

    def iter_rows(self):
        if self.rows_refused:
            raise AssertionError("the row path was taken")
        return self.frame.iter_rows()

    rows_refused = False


def outcome(tmp_path, name, frame, start):
    path = tmp_path / f"{name}.xlsx"
    editor = Editor.create(path, "Data")
    editor.set_cell("B3", "old")
    try:
        editor.with_polars(frame, start)
    except Exception as e:  # the same failure on both paths
        return type(e), str(e)
    editor.save(path)
    with zipfile.ZipFile(path) as z:
        return z.read("xl/worksheets/sheet1.xml"), z.read("xl/styles.xml")


def random_text(rng):
    alphabet = "ab 01=.-e_x&<>\"'\u00e9\u4e2d\U0001F600"
    return "".join(rng.choice(alphabet) for _ in range(rng.randrange(0, 20))) + rng.choice(["", "1e5", "=A1", "nan"])


def random_column(rng, n, kind):
    def maybe(gen):
        return [None if rng.random() < 0.2 else gen() for _ in range(n)]
    ints = lambda bits, signed: (lambda: rng.randrange(-2**(bits - 1), 2**(bits - 1)) if signed else rng.randrange(2**bits))
    day = lambda: dt.date(1, 1, 1) + dt.timedelta(days=rng.randrange(3652059))
    stamp = lambda: dt.datetime.combine(day(), dt.time(rng.randrange(24), rng.randrange(60), rng.randrange(60),
                                                        rng.randrange(1000000)))
    floats = lambda: rng.choice([rng.random() * 10 ** rng.randint(-30, 30), float("nan"), float("inf"), -0.0,
                                 float("-inf"), rng.randint(-5, 5) * 1.0])
    within = lambda first, years: lambda: first + dt.timedelta(seconds=rng.randrange(years * 365 * 86400),
                                                               microseconds=rng.randrange(1000000))
    table = {
        "i8": lambda: (maybe(ints(8, True)), pl.Int8), "i16": lambda: (maybe(ints(16, True)), pl.Int16),
        "i32": lambda: (maybe(ints(32, True)), pl.Int32), "i64": lambda: (maybe(ints(64, True)), pl.Int64),
        "u8": lambda: (maybe(ints(8, False)), pl.UInt8), "u16": lambda: (maybe(ints(16, False)), pl.UInt16),
        "u32": lambda: (maybe(ints(32, False)), pl.UInt32), "u64": lambda: (maybe(ints(64, False)), pl.UInt64),
        "f32": lambda: (maybe(floats), pl.Float32), "f64": lambda: (maybe(floats), pl.Float64),
        "bool": lambda: (maybe(lambda: rng.random() < 0.5), pl.Boolean),
        "str": lambda: (maybe(lambda: random_text(rng)), pl.String),
        "long": lambda: (maybe(lambda: random_text(rng) * 5), pl.String),
        "cat": lambda: (maybe(lambda: rng.choice(["north", "south", "=x", "02134"])), pl.Categorical),
        "enum": lambda: (maybe(lambda: rng.choice(["p", "q"])), pl.Enum(["p", "q"])),
        "date": lambda: (maybe(day), pl.Date),
        "null": lambda: ([None] * n, pl.Null),
        "us": lambda: (maybe(stamp), pl.Datetime("us")), "ms": lambda: (maybe(stamp), pl.Datetime("ms")),
        "ns": lambda: (maybe(within(dt.datetime(1678, 1, 1), 580)), pl.Datetime("ns")),
        "utc": lambda: (maybe(stamp), pl.Datetime("us", "UTC")),
        # Left to the row path: the whole frame goes that way.
        "zone": lambda: (maybe(within(dt.datetime(1990, 1, 1), 30)), pl.Datetime("us", "Europe/Berlin")),
        "time": lambda: (maybe(lambda: dt.time(rng.randrange(24), rng.randrange(60), 0, rng.randrange(2) * 5)), pl.Time),
        "dur": lambda: (maybe(lambda: dt.timedelta(seconds=rng.randrange(10**6))), pl.Duration("us")),
        "list": lambda: (maybe(lambda: [rng.randrange(9)] * rng.randrange(3)), pl.List(pl.Int64)),
        "struct": lambda: (maybe(lambda: {"x": rng.randrange(9)}), pl.Struct({"x": pl.Int64})),
        "bin": lambda: (maybe(lambda: bytes([rng.randrange(256)])), pl.Binary),
        "dec": lambda: (maybe(lambda: rng.randrange(-10**6, 10**6)), pl.Decimal(10, 2)),
    }
    values, dtype = table[kind]()
    series = pl.Series(kind, values, dtype=pl.Int64 if kind == "dec" else dtype, strict=False)
    return series.cast(dtype) if kind == "dec" else series


STREAMED = ["i8", "i16", "i32", "i64", "u8", "u16", "u32", "u64", "f32", "f64", "bool", "str", "long", "cat", "enum",
            "date", "null", "us", "ms", "ns", "utc"]
ROWS_ONLY = ["zone", "time", "dur", "list", "struct", "bin", "dec"]


@pytest.mark.parametrize("seed", range(12))
def test_stream_and_rows_write_the_same_bytes(tmp_path, seed):
    rng = random.Random(seed)
    n = rng.choice([0, 1, 7, 300])
    kinds = rng.sample(STREAMED, rng.randrange(1, 8)) + (rng.sample(ROWS_ONLY, 1) if seed % 4 == 3 else [])
    frame = pl.DataFrame([random_column(rng, n, k) for k in kinds])
    if n > 1 and seed % 2:
        frame = pl.concat([frame.slice(0, n // 2), frame.slice(n // 2)], rechunk=False)  # several batches
        frame = frame.slice(1)  # offsets into the buffers
    start = rng.choice([None, "A1", "C2", "$B$3"])
    streamed = Streamed(frame)
    streamed.rows_refused = not set(kinds) & set(ROWS_ONLY)
    assert outcome(tmp_path, "stream", streamed, start) == outcome(tmp_path, "rows", RowsOnly(frame), start)
    assert streamed.calls == 1


@pytest.mark.parametrize("column", [
    pl.Series("d", [dt.datetime(9999, 12, 31)], dtype=pl.Datetime("us")).cast(pl.Int64).__add__(86_400_000_000).cast(pl.Datetime("us")),
    pl.Series("d", [-800_000], dtype=pl.Int32).cast(pl.Date),
])
def test_values_the_interpreter_cannot_hold_fail_as_the_row_path_does(tmp_path, column):
    frame = pl.DataFrame([column])
    streamed = outcome(tmp_path, "stream", frame, None)
    assert streamed == outcome(tmp_path, "rows", RowsOnly(frame), None)
    assert streamed[0] is ValueError


def test_stream_is_used_when_offered(tmp_path):
    frame = Streamed(pl.DataFrame({"a": [1, None], "s": ["02134", "=1+1"]}))
    path = tmp_path / "s.xlsx"
    editor = Editor.create(path, "Data")
    editor.with_polars(frame)
    assert frame.calls == 1
    editor.save(path)
    with zipfile.ZipFile(path) as z:
        sheet = z.read("xl/worksheets/sheet1.xml").decode()
    assert '<c r="B3" t="inlineStr"><is><t>=1+1</t></is></c>' in sheet and 'r="A3"' not in sheet


@pytest.mark.parametrize("date1904", [False, True])
@pytest.mark.parametrize("wrap", [lambda f: f, RowsOnly], ids=["stream", "rows"])
def test_dates_land_on_their_day_in_either_date_system(tmp_path, date1904, wrap):
    import openpyxl
    wb = openpyxl.Workbook()
    if date1904:
        wb.epoch = openpyxl.utils.datetime.CALENDAR_MAC_1904
    wb.save(tmp_path / "in.xlsx")
    days = [dt.date(1904, 1, 2), dt.date(2024, 5, 17)] + ([] if date1904 else [dt.date(1900, 2, 28), dt.date(1900, 3, 1)])
    stamps = [dt.datetime.combine(d, dt.time(6, 30)) for d in days]
    frame = pl.DataFrame({"day": days, "stamp": stamps})
    editor = Editor(str(tmp_path / "in.xlsx"), "Sheet")
    editor.with_polars(wrap(frame))
    editor.save(str(tmp_path / "out.xlsx"))
    rows = Editor(str(tmp_path / "out.xlsx"), "Sheet").read_rows()
    assert rows[1:] == [list(r) for r in zip(days, stamps)]
    peer = openpyxl.load_workbook(tmp_path / "out.xlsx")["Sheet"]
    assert [c.value for c in peer["B"][1:]] == stamps
    if not date1904:  # the phantom 29 February 1900 counts: 28 February is serial 59, as write() makes it
        assert "<v>59</v>" in zipfile.ZipFile(tmp_path / "out.xlsx").read("xl/worksheets/sheet1.xml").decode()
