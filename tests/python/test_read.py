"""Reading cells back: values with their Python types, formulas, ranges and the sheet list."""
import datetime as dt
import random
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import DECL, NS, REL_NS, STYLES, sheet_xml, workbook_parts

SST_TYPE = REL_NS + "/sharedStrings"

# cellXfs 1..: built-in date 14, time 21, date-time 22, elapsed 46, and custom codes 164..
DATE_STYLES = STYLES.replace(
    '<fonts count="1">',
    '<numFmts count="5"><numFmt numFmtId="164" formatCode="dd/mm/yyyy\\ hh:mm"/>'
    '<numFmt numFmtId="165" formatCode="&quot;day&quot;\\ 0.00"/>'
    '<numFmt numFmtId="166" formatCode="[h]:mm"/>'
    '<numFmt numFmtId="167" formatCode="[Red]0.00;[Blue]-0.00"/>'
    '<numFmt numFmtId="168" formatCode="mmm\\-yy"/></numFmts><fonts count="1">',
).replace(
    '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>',
    '<cellXfs count="10">' + "".join(
        f'<xf numFmtId="{n}" fontId="0" fillId="0" borderId="0" xfId="0"/>'
        for n in (0, 14, 21, 22, 46, 164, 165, 166, 167, 168)) + "</cellXfs>",
)

SHARED = (
    f'<sst xmlns="{NS}" count="5" uniqueCount="5"><si><t>plain</t></si>'
    '<si><r><rPr><b/></rPr><t xml:space="preserve">rich </t></r><r><t>text</t></r>'
    '<rPh sb="0" eb="1"><t>PHONETIC</t></rPh></si>'
    '<si><t>tab_x0009_and_x005F_x0041_</t></si><si><t/></si><si><t>a &amp; b</t></si></sst>'
)


def book(make_book, rows, styles=DATE_STYLES, workbook_pr="", shared=SHARED, sheet=None):
    parts = workbook_parts(sheets=[("Data", sheet or sheet_xml(rows))], styles=styles)
    if workbook_pr:
        parts["xl/workbook.xml"] = parts["xl/workbook.xml"].replace("<sheets>", workbook_pr + "<sheets>")
    if shared is not None:
        parts["xl/sharedStrings.xml"] = DECL + shared
        parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
            "</Relationships>", f'<Relationship Id="rId99" Type="{SST_TYPE}" Target="sharedStrings.xml"/>'
                                '</Relationships>')
    return quillmark.Editor(make_book(parts=parts))


# (cell markup of A1, value get_value gives)
VALUES = [
    ('<c r="A1"><v>42</v></c>', 42),
    ('<c r="A1"><v>-0</v></c>', 0),
    ('<c r="A1"><v>123456789012345678901234</v></c>', 123456789012345678901234),
    ('<c r="A1"><v>2.5</v></c>', 2.5),
    ('<c r="A1"><v>1.0</v></c>', 1.0),
    ('<c r="A1"><v>1E3</v></c>', 1000.0),
    ('<c r="A1" t="n"><v> 7 </v></c>', 7),
    ('<c r="A1"/>', None),
    ('<c r="A1" s="1"><v></v></c>', None),
    ('<c r="A1" t="s"><v>0</v></c>', "plain"),
    ('<c r="A1" t="s"><v>1</v></c>', "rich text"),
    ('<c r="A1" t="s"><v>2</v></c>', "tab\tand_x0041_"),
    ('<c r="A1" t="s"><v>3</v></c>', ""),
    ('<c r="A1" t="s"><v>4</v></c>', "a & b"),
    ('<c r="A1" t="inlineStr"><is><t>in &lt;line&gt;</t></is></c>', "in <line>"),
    ('<c r="A1" t="inlineStr"><is><r><t>a</t></r><r><rPr><i/></rPr><t>b</t></r></is></c>', "ab"),
    ('<c r="A1" t="inlineStr"><is><t><![CDATA[<raw> & ]]></t></is></c>', "<raw> & "),
    ('<c r="A1" t="inlineStr"><is><t>line\r\nend\rx</t></is></c>', "line\nend\nx"),
    ('<c r="A1" t="inlineStr"><is><t>&#x1F600;_xD83D__xDE00_&#65;</t></is></c>', "\U0001F600\U0001F600A"),
    ('<c r="A1" t="str"><f>"a"&amp;"b"</f><v>ab</v></c>', "ab"),
    ('<c r="A1" t="str"><f>""</f><v></v></c>', ""),
    ('<c r="A1" t="b"><v>1</v></c>', True),
    ('<c r="A1" t="b"><v>0</v></c>', False),
    ('<c r="A1" t="e"><v>#N/A</v></c>', "#N/A"),
    ('<c r="A1" t="e"><f>1/0</f><v>#DIV/0!</v></c>', "#DIV/0!"),
    ('<c r="A1"><f>1+1</f><v>2</v></c>', 2),
    ('<c r="A1"><f>NOW()</f></c>', None),
    ('<c r="A1" t="d"><v>2024-03-05T10:20:30Z</v></c>', dt.datetime(2024, 3, 5, 10, 20, 30)),
    ('<c r="A1" s="1"><v>45356</v></c>', dt.date(2024, 3, 5)),
    ('<c r="A1" s="1"><v>45356.75</v></c>', dt.date(2024, 3, 5)),
    ('<c r="A1" s="2"><v>0.5</v></c>', dt.time(12, 0)),
    ('<c r="A1" s="2"><v>1.5</v></c>', dt.datetime(1900, 1, 1, 12, 0)),
    ('<c r="A1" s="3"><v>45356.4306828704</v></c>', dt.datetime(2024, 3, 5, 10, 20, 11, 0)),
    ('<c r="A1" s="3"><v>59</v></c>', dt.datetime(1900, 2, 28)),
    ('<c r="A1" s="3"><v>61</v></c>', dt.datetime(1900, 3, 1)),
    ('<c r="A1" s="4"><v>1.5</v></c>', dt.timedelta(days=1, hours=12)),
    ('<c r="A1" s="5"><v>45356.5</v></c>', dt.datetime(2024, 3, 5, 12, 0)),
    ('<c r="A1" s="6"><v>3.25</v></c>', 3.25),
    ('<c r="A1" s="7"><v>-0.25</v></c>', dt.timedelta(hours=-6)),
    ('<c r="A1" s="8"><v>3</v></c>', 3),
    ('<c r="A1" s="9"><v>45352</v></c>', dt.date(2024, 3, 1)),
    ('<c r="A1" s="1"><v>-5</v></c>', dt.date(1899, 12, 25)),
    ('<c r="A1" s="1"><v>9999999</v></c>', 9999999),
    ('<c r="A1" s="99"><v>5</v></c>', 5),
    # Attributes in any order and quoting, a namespace prefix, a comment inside the cell.
    ("<c t='s' s='0' r='A1'><!-- note --><v>0</v></c>", "plain"),
]


@pytest.mark.parametrize("markup,expected", VALUES, ids=[m for m, _ in VALUES])
def test_get_value_types(make_book, markup, expected):
    value = book(make_book, f'<row r="1">{markup}</row>').get_value("A1")
    assert value == expected and type(value) is type(expected)


@pytest.mark.parametrize("serial,expected", [
    ("0", dt.date(1904, 1, 1)), ("45356", dt.date(2028, 3, 6)), ("1.25", dt.date(1904, 1, 2))])
def test_1904_date_system(make_book, serial, expected):
    for pr in ('<workbookPr date1904="1"/>', "<workbookPr date1904='true'/>"):
        e = book(make_book, f'<row r="1"><c r="A1" s="1"><v>{serial}</v></c></row>', workbook_pr=pr)
        assert e.get_value("A1") == expected


# Positions implied by missing `r`, prefixed markup, and cells out of the row's order.
PLACEMENT = [
    ('<row><c><v>1</v></c><c><v>2</v></c></row><row><c r="C2"><v>3</v></c><c><v>4</v></c></row>',
     {"A1": 1, "B1": 2, "C2": 3, "D2": 4, "A2": None}),
    ('<row r="3" spans="1:2"/><row><c r="B4"><v>5</v></c></row>', {"B4": 5, "A3": None}),
    ('<row r="2"><c r="B2"><v>2</v></c><c r="A2"><v>1</v></c></row><row r="1"><c r="A1"><v>0</v></c></row>',
     {"A2": 1, "B2": 2, "A1": 0}),
]


@pytest.mark.parametrize("rows,expected", PLACEMENT)
def test_implied_and_unordered_positions(make_book, rows, expected):
    e = book(make_book, rows)
    assert {ref: e.get_value(ref) for ref in expected} == expected


def test_prefixed_markup(make_book):
    sheet = (DECL + f'<x:worksheet xmlns:x="{NS}"><x:sheetData><x:row r="1"><x:c r="A1" t="s"><x:v>4</x:v></x:c>'
             '<x:c r="B1"><x:v>9</x:v></x:c></x:row></x:sheetData></x:worksheet>')
    e = book(make_book, "", sheet=sheet)
    assert (e.get_value("A1"), e.get_value("B1"), e.read_rows()) == ("a & b", 9, [["a & b", 9]])


FORMULAS = [
    ('<c r="A1"><f>SUM(B1:B3)</f><v>6</v></c>', "=SUM(B1:B3)"),
    ('<c r="A1" t="str"><f>"a&lt;"&amp;B1</f><v>a&lt;</v></c>', '="a<"&B1'),
    ('<c r="A1"><f t="array" ref="A1:A2">B1:B2*2</f><v>2</v></c>', "=B1:B2*2"),
    ('<c r="A1"><f t="shared" ref="A1:A3" si="0">B1*2</f><v>2</v></c>', "=B1*2"),
    ('<c r="A1"><v>5</v></c>', None),
    ('<c r="A1" t="inlineStr"><is><t>=not a formula</t></is></c>', None),
]


@pytest.mark.parametrize("markup,expected", FORMULAS)
def test_get_formula(make_book, markup, expected):
    assert book(make_book, f'<row r="1">{markup}</row>').get_formula("A1") == expected


def test_shared_formula_followers_read_at_their_own_cell(make_book):
    e = book(make_book, '<row r="2"><c r="B2"><f t="shared" ref="B2:C4" si="3">A1+$A$1+A$1&amp;"A1"</f><v>1</v></c>'
                        '<c r="C2"><f t="shared" si="3"/><v>1</v></c></row>'
                        '<row r="4"><c r="C4"><f t="shared" si="3"></f><v>1</v></c>'
                        '<c r="D4"><f t="shared" si="9"/></c></row>')
    assert [e.get_formula(c) for c in ("B2", "C2", "C4")] == [
        '=A1+$A$1+A$1&"A1"', '=B1+$A$1+B$1&"A1"', '=B3+$A$1+B$1&"A1"']
    with pytest.raises(RuntimeError, match="D4"):
        e.get_formula("D4")


def test_reads_follow_edits(make_book):
    e = book(make_book, '<row r="1"><c r="A1"><v>1</v></c><c r="B1"><v>2</v></c></row>'
                        '<row r="2"><c r="A2"><v>3</v></c></row>')
    assert e.get_value("A2") == 3
    # Same-length edits move nothing; longer ones shift every row after them.
    e.set_cell("A1", "7")
    e.set_cell("B1", "a much longer text")
    e.set_cell("A2", "=A1*2")
    e.append_table_at([["x", "4.5"]], "C5")
    assert [e.get_value(c) for c in ("A1", "B1", "A2", "C5", "D5")] == [7, "a much longer text", None, "x", 4.5]
    assert e.get_formula("A2") == "=A1*2"
    for n in range(1, 30):  # held single-cell writes are read back too
        e.set_cell(f"B{n}", str(n))
        assert e.get_value(f"B{n}") == n and e.get_value(f"B{max(1, n - 1)}") == max(1, n - 1)
    e.add_worksheet("Other")
    assert e.get_value("A1") is None and e.read_rows() == []
    e.with_worksheet("Data")
    assert e.get_value("D5") == 4.5


def test_sheet_names_and_current_name(make_book):
    e = book(make_book, "")
    assert (e.sheet_names(), e.sheet_name) == (["Data"], "Data")
    e.add_worksheet_at("First", 0).add_worksheet("R&D <1>")
    assert (e.sheet_names(), e.sheet_name) == (["First", "Data", "R&D <1>"], "R&D <1>")
    e.rename_worksheet("Data", "Facts").with_worksheet("Facts")
    assert e.sheet_name == "Facts"
    e.delete_worksheet("Facts")
    assert (e.sheet_names(), e.sheet_name) == (["First", "R&D <1>"], "First")
    with pytest.raises(RuntimeError):
        e.with_worksheet("Missing")
    assert e.sheet_name is None
    with pytest.raises(AttributeError):
        e.sheet_name = "x"


@pytest.mark.parametrize("call", [
    lambda e: e.get_value("A0"), lambda e: e.get_value("1A"), lambda e: e.get_value("A1:B2"),
    lambda e: e.get_value("XFE1"), lambda e: e.get_formula(""), lambda e: e.read_rows("A1:"),
    lambda e: e.read_rows("A:3"), lambda e: e.read_rows("A1048577"),
    lambda e: e.read_rows("A1:XFD1048576"),
])
def test_refused_references(editor, call):
    with pytest.raises(RuntimeError):
        call(editor)


def test_bad_cell_values_are_reported(make_book):
    for markup in ('<c r="A1" t="s"><v>17</v></c>', '<c r="A1" t="b"><v>yes</v></c>',
                   '<c r="A1" t="s"><v>x</v></c>'):
        e = book(make_book, f'<row r="1">{markup}</row>')
        with pytest.raises(RuntimeError, match="A1|shared string|boolean"):
            e.get_value("A1")
        # read_rows decodes on a second thread: a fault after many batches still reaches the caller
        rows = "".join(f'<row r="{r}"><c r="A{r}"><v>{r}</v></c></row>' for r in range(1, 50_001))
        e = book(make_book, rows + f'<row r="50001">{markup.replace("A1", "A50001")}</row>')
        with pytest.raises(RuntimeError, match="A50001|shared string|boolean"):
            e.read_rows()
        assert e.read_rows("A1:A3") == [[1], [2], [3]]
    with pytest.raises(TypeError, match="argument 'cell'"):
        book(make_book, "").get_value(1)


def test_reading_changes_no_saved_byte(make_book, tmp_path):
    rows = '<row r="1"><c r="A1" t="s"><v>1</v></c><c r="B1" s="1"><v>45000</v></c></row>'
    plain, read = book(make_book, rows), book(make_book, rows)
    read.get_value("A1"), read.read_rows(), read.get_formula("B1"), read.sheet_names(), read.sheet_name
    plain.save(tmp_path / "plain.xlsx")
    read.save(tmp_path / "read.xlsx")
    with zipfile.ZipFile(tmp_path / "plain.xlsx") as a, zipfile.ZipFile(tmp_path / "read.xlsx") as b:
        assert {n: a.read(n) for n in a.namelist()} == {n: b.read(n) for n in b.namelist()}


def test_read_rows_ranges_match_a_model(tmp_path):
    """Random sparse grids written by openpyxl; every range form is a slice of the model."""
    rng = random.Random(7)
    for trial in range(6):
        grid = {}
        for _ in range(rng.randint(0, 40)):
            grid[(rng.randint(1, 12), rng.randint(1, 8))] = rng.choice(
                [rng.randint(-9, 9), rng.randint(-999, 999) / 8, f"t{rng.randint(0, 99)}", True])
        wb = openpyxl.Workbook()
        for (r, c), v in grid.items():
            wb.active.cell(r, c, v)
        path = tmp_path / f"m{trial}.xlsx"
        wb.save(path)
        e = quillmark.Editor(path)

        def model(r1, r2, c1, c2):
            return [[grid.get((r, c)) for c in range(c1, c2 + 1)] for r in range(r1, r2 + 1)]

        rows = max((r for r, _ in grid), default=0)
        cols = max((c for _, c in grid), default=0)
        assert e.read_rows() == model(1, rows, 1, cols)
        for _ in range(10):
            r1, r2 = sorted(rng.randint(1, 14) for _ in range(2))
            c1, c2 = sorted(rng.randint(1, 10) for _ in range(2))
            a, b = openpyxl.utils.get_column_letter(c1), openpyxl.utils.get_column_letter(c2)
            assert e.read_rows(f"{b}{r2}:{a}{r1}") == model(r1, r2, c1, c2)
            in_cols = max((r for r, c in grid if c1 <= c <= c2), default=0)
            assert e.read_rows(f"{a}:{b}") == model(1, in_cols, c1, c2)
            in_rows = max((c for r, c in grid if r1 <= r <= r2), default=0)
            assert e.read_rows(f"{r1}:{r2}") == model(r1, r2, 1, in_rows)
            assert e.get_value(f"{a}{r1}") == grid.get((r1, c1))
