"""Worksheets as other producers write them: rows and cells without r, attributes in any order
and quote, white space in tags, comments and CDATA, a self-closed sheetData. Every writer must
put values at the right cells, and no row or cell may appear twice or out of order."""
import random
import re
import zipfile

import openpyxl
import pytest

import quillmark
from conftest import column_letters, sheet_xml
from integrity import assert_sound


def values(path):
    ws = openpyxl.load_workbook(path).worksheets[0]
    return {c.coordinate: c.value for row in ws.iter_rows() for c in row if c.value is not None}


def saved(ed, tmp_path):
    out = tmp_path / "out.xlsx"
    ed.save(out)
    assert_sound(out)
    return out


@pytest.mark.parametrize("rows, edit, want", [
    # Cells and rows without r follow the one before.
    ('<row r="1"><c><v>1</v></c><c><v>2</v></c></row>', lambda e: e.set_cell("A1", "9"), {"A1": 9, "B1": 2}),
    ('<row><c><v>1</v></c></row><row><c><v>2</v></c></row>', lambda e: e.append_row(["x"]),
     {"A1": 1, "A2": 2, "A3": "x"}),
    ('<row><c><v>1</v></c></row><row><c/><c><v>2</v></c></row>', lambda e: e.set_cell("C2", "3"),
     {"A1": 1, "B2": 2, "C2": 3}),
    # Attributes in any order and quote, tabs and newlines in tags.
    ("<row r='1'><c r='A1'><v>1</v></c></row>", lambda e: e.set_cell("A1", "5"), {"A1": 5}),
    ('<row r="1"><c\tr="A1"\n><v>1</v></c></row>', lambda e: e.set_cell("B1", "5"), {"A1": 1, "B1": 5}),
    ('<row spans="1:3" r="5"><c s="0" r="A5"><v>1</v></c></row>', lambda e: e.set_fill("A5", "FFFF0000"),
     {"A5": 1}),
    ('<row r="9"><c t="n" r="F9"><v>1</v></c></row>', lambda e: e.set_cell("A1", "2"), {"A1": 2, "F9": 1}),
    # Comments and CDATA hide what looks like rows.
    ('<!-- <row r="1"><c r="A1"><v>7</v></c></row> -->', lambda e: e.set_cell("A1", "1"), {"A1": 1}),
    ('<row r="1"><c r="A1" t="inlineStr"><is><t><![CDATA[<row r="5">]]></t></is></c></row>',
     lambda e: e.set_cell("B5", "1"), {"A1": '<row r="5">', "B5": 1}),
    # A self-closed sheetData takes every writer.
    ("", lambda e: e.append_row(["a"]), {"A1": "a"}),
    ("", lambda e: e.set_fill("A1:B2", "FFFF0000").append_row(["a"]), {"A3": "a"}),
    ("", lambda e: e.set_number_format("A1:B2", "0.00").set_cell("A1", "1"), {"A1": 1}),
    ("", lambda e: e.merge_cells("A1:B2").set_cell("C3", "1"), {"C3": 1}),
    # Rows a style creates keep append_row above them.
    ('<row r="1"><c r="A1"><v>1</v></c></row>', lambda e: e.set_fill("A1:B3", "FFFF0000").append_row(["x"]),
     {"A1": 1, "A4": "x"}),
])
def test_writers_read_every_producers_markup(make_book, tmp_path, rows, edit, want):
    body = f"<sheetData>{rows}</sheetData>" if rows else "<sheetData/>"
    text = sheet_xml("").replace("<sheetData></sheetData>", body)
    ed = quillmark.Editor(make_book(sheets=[("S", text)]))
    edit(ed)
    assert values(saved(ed, tmp_path)) == want


def test_styling_a_missing_cell_makes_a_blank_styled_cell(make_book, tmp_path):
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml('<row r="1"><c r="A1"><v>1</v></c></row>'))]))
    ed.set_fill("B3", "FFFF0000")
    out = saved(ed, tmp_path)
    assert re.search(r'<row r="3"><c r="B3" s="\d+"/></row>', zipfile.ZipFile(out).read("xl/worksheets/sheet1.xml").decode())
    ws = openpyxl.load_workbook(out).worksheets[0]
    assert ws["B3"].value is None and ws["B3"].fill.fgColor.rgb == "FFFF0000"


def test_saved_dimension_covers_cells_however_written(make_book, tmp_path):
    rows = '<row r="2"><c r="B2"><v>1</v></c></row><row><c t="n"\tr=\'F3\'><v>1</v></c></row>'
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(rows, before='<dimension ref="B2"/>'))]))
    ed.set_cell("A1", "1")
    text = zipfile.ZipFile(saved(ed, tmp_path)).read("xl/worksheets/sheet1.xml").decode()
    assert '<dimension ref="A1:F3"/>' in text


# ---- model test over producer styles ----

def render(cells, rng, style):
    """Row markup for {(row, col): value} in one producer style."""
    q = "'" if style["single_quotes"] else '"'
    ws = "\t" if style["whitespace"] else " "
    out, prev_row = [], 0
    for r in sorted({r for r, _ in cells}):
        if style["comments"] and rng.random() < 0.3:
            out.append(f'<!-- <row r="{r}"><c r="A{r}"><v>666</v></c></row> -->')
        row_attr = "" if style["rless"] and r == prev_row + 1 else f"{ws}r={q}{r}{q}"
        spans = f"{ws}spans={q}1:9{q}" if style["reorder"] else ""
        out.append(f"<row{spans}{row_attr}>")
        prev_col = -1
        for c in sorted(col for rr, col in cells if rr == r):
            v = cells[(r, c)]
            ref = "" if style["rless"] and c == prev_col + 1 else f"r={q}{column_letters(c)}{r}{q}"
            attrs = [a for a in (ref, f"s={q}0{q}" if style["reorder"] else "") if a]
            if style["reorder"]:
                attrs.reverse()
            if isinstance(v, str):
                attrs.append(f"t={q}inlineStr{q}")
                text = f"<![CDATA[{v}]]>" if style["cdata"] else v
                body = f"<is><t>{text}</t></is>"
            else:
                body = f"<v>{v}</v>"
            out.append(f"<c{ws}{ws.join(attrs)}>{body}</c>")
            prev_col = c
        out.append("</row>")
        prev_row = r
    return "".join(out)


STYLES = ["rless", "single_quotes", "whitespace", "reorder", "comments", "cdata"]


@pytest.mark.parametrize("seed", range(8))
def test_random_operations_over_producer_styles_match_a_model(make_book, tmp_path, seed):
    rng = random.Random(seed)
    style = {name: rng.random() < 0.5 for name in STYLES}
    cells = {}
    for r in rng.sample(range(1, 12), 6):
        for c in rng.sample(range(0, 6), rng.randint(1, 4)):
            cells[(r, c)] = rng.randint(1, 99) if rng.random() < 0.6 else f"<t{r}>" if style["cdata"] else f"t{r}"
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(render(cells, rng, style)))]))
    model = {f"{column_letters(c)}{r}": v for (r, c), v in cells.items()}
    last_row = max(r for r, _ in cells)

    for _ in range(40):
        op = rng.random()
        r, c = rng.randint(1, 16), rng.randint(0, 7)
        if op < 0.35:
            v = str(rng.randint(1, 999))
            ed.set_cell(f"{column_letters(c)}{r}", v)
            model[f"{column_letters(c)}{r}"] = int(v)
            last_row = max(last_row, r)
        elif op < 0.55:
            block = [[f"b{rng.randint(0, 99)}" for _ in range(rng.randint(1, 3))] for _ in range(rng.randint(1, 3))]
            ed.append_table_at(block, f"{column_letters(c)}{r}")
            for i, row in enumerate(block):
                for j, v in enumerate(row):
                    model[f"{column_letters(c + j)}{r + i}"] = v
            last_row = max(last_row, r + len(block) - 1)
        elif op < 0.7:
            row = [f"a{rng.randint(0, 99)}" for _ in range(rng.randint(1, 3))]
            ed.append_row(row)
            last_row += 1
            for j, v in enumerate(row):
                model[f"{column_letters(j)}{last_row}"] = v
        elif op < 0.85:
            ed.set_fill(f"{column_letters(c)}{r}", "FF00FF00")
            last_row = max(last_row, r)
        else:
            r2 = r + rng.randint(0, 2)
            ed.set_fill(f"{column_letters(c)}{r}:{column_letters(c + 1)}{r2}", "FFFF0000")
            last_row = max(last_row, r2)
    assert values(saved(ed, tmp_path)) == model, style


# ---- buffered single-cell writes ----

def test_held_writes_are_seen_by_every_other_call(make_book, tmp_path):
    rows = '<row r="1"><c r="A1"><v>1</v></c></row><row r="3"><c r="A3"><v>3</v></c></row>'
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(rows)), ("T", sheet_xml(""))]))
    ed.set_cell("B1", "2")
    ed.set_fill("B1", "FFFF0000")
    assert ed.last_rows_index("A:B") == [3, 1]  # queries see held writes
    ed.set_cell("B2", "5")
    ed.with_worksheet("T")
    ed.set_cell("A1", "t")
    ed.with_worksheet("S")
    ed.append_row(["r"])
    out = tmp_path / "out.xlsx"
    ed.save(out)
    wb = openpyxl.load_workbook(out)
    assert wb["S"]["B1"].value == 2 and wb["S"]["B1"].fill.fgColor.rgb == "FFFF0000"
    assert wb["S"]["B2"].value == 5 and wb["S"]["A4"].value == "r"
    assert wb["T"]["A1"].value == "t"


def test_a_held_write_fails_at_its_call(make_book):
    damaged = '<row r="1"><c r="A1"><v>1</v></c></row><row r="3"><c r="A3"><v>3</v></row>'
    ed = quillmark.Editor(make_book(sheets=[("S", sheet_xml(damaged))]))
    ed.set_cell("B1", "2")
    with pytest.raises(RuntimeError, match="^</c> missing$"):
        ed.set_cell("B3", "x")
    with pytest.raises(RuntimeError, match="^</c> missing$"):
        ed.set_fill("A3", "FFFF0000")
    ed.set_cell("B4", "4")
    assert ed.last_rows_index("B:B") == [1]  # the held writes went in; reading stops at the damage
