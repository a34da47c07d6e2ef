"""Writes the benchmark workbooks into bench/data/ with zipfile: shared strings, styles, a theme,
a small sheet, several filler sheets, one big sheet and a stored multi-megabyte image, in the entry
order spreadsheet applications use. Sizes are about 1, 20 and 100 MB. Existing files are kept."""
import os
import random
import sys
import zipfile

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "data")

NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL = "http://schemas.openxmlformats.org/package/2006/relationships"
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
CT = "application/vnd.openxmlformats-officedocument."

# name -> (shared strings, small-sheet rows, filler sheets, filler rows, big-sheet rows, image bytes)
SIZES = {
    "book_1mb": (2_000, 40, 2, 1_500, 5_000, 250_000),
    "book_20mb": (40_000, 40, 3, 30_000, 100_000, 3_000_000),
    "book_100mb": (150_000, 40, 4, 140_000, 450_000, 8_000_000),
}
COLUMNS = "ABCDEFGHIJ"


def path_of(name):
    return os.path.join(DATA, name + ".xlsx")


def shared_strings(count, rng):
    words = ["north", "south", "east", "west", "alpha", "beta", "gamma", "delta", "order", "invoice",
             "customer", "region", "total", "pending", "shipped", "returned", "Q1", "Q2", "Q3", "Q4"]
    items = "".join(
        f"<si><t>{rng.choice(words)} {rng.choice(words)} {rng.randrange(100000)}</t></si>" for _ in range(count)
    )
    return DECL + f'<sst xmlns="{NS}" count="{count}" uniqueCount="{count}">{items}</sst>'


def sheet_text(rows, strings, rng):
    """A worksheet like one an application writes: typed cells, styles, shared-string indices."""
    out = [DECL, f'<worksheet xmlns="{NS}" xmlns:r="{REL}">',
           f'<dimension ref="A1:J{max(rows, 1)}"/>',
           '<sheetViews><sheetView workbookViewId="0"/></sheetViews>',
           '<sheetFormatPr defaultRowHeight="15"/><cols><col min="1" max="10" width="14" customWidth="1"/></cols>',
           "<sheetData>"]
    rand, choice = rng.random, rng.randrange
    for r in range(1, rows + 1):
        cells = [f'<c r="A{r}" t="s"><v>{choice(strings)}</v></c>',
                 f'<c r="B{r}" s="1"><v>{44000 + choice(1500)}</v></c>',
                 f'<c r="C{r}" t="s"><v>{choice(strings)}</v></c>']
        for col in COLUMNS[3:]:
            cells.append(f'<c r="{col}{r}" s="2"><v>{rand() * 10000:.4f}</v></c>')
        out.append(f'<row r="{r}" spans="1:10">{"".join(cells)}</row>')
    out.append('</sheetData><pageMargins left="0.7" right="0.7" top="0.75" bottom="0.75" header="0.3" footer="0.3"/>'
               "</worksheet>")
    return "".join(out)


STYLES = (
    DECL + f'<styleSheet xmlns="{NS}"><numFmts count="1"><numFmt numFmtId="164" formatCode="#,##0.00"/></numFmts>'
    '<fonts count="2"><font><sz val="11"/><name val="Calibri"/><family val="2"/></font>'
    '<font><b/><sz val="11"/><name val="Calibri"/><family val="2"/></font></fonts>'
    '<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>'
    '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
    '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
    '<cellXfs count="3"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>'
    '<xf numFmtId="14" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/>'
    '<xf numFmtId="164" fontId="0" fillId="0" borderId="0" xfId="0" applyNumberFormat="1"/></cellXfs>'
    '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles></styleSheet>'
)


def theme(rng):
    # Applications write a theme of a few hundred kB; its content does not matter here.
    body = "".join(f'<a:srgbClr val="{rng.randrange(1 << 24):06X}"/>' for _ in range(8000))
    return DECL + f'<a:theme xmlns:a="http://schemas.openxmlformats.org/drawingml/2006/main" name="Office">{body}</a:theme>'


def write(name):
    n_strings, small_rows, fillers, filler_rows, big_rows, image_size = SIZES[name]
    rng = random.Random(name)
    sheets = [("Small", small_rows)] + [(f"Filler{i}", filler_rows) for i in range(1, fillers + 1)] + [("Big", big_rows)]
    n = len(sheets)
    overrides = "".join(
        f'<Override PartName="/xl/worksheets/sheet{i}.xml" ContentType="{CT}spreadsheetml.worksheet+xml"/>'
        for i in range(1, n + 1)
    )
    entries = [
        ("[Content_Types].xml", DECL + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
         '<Default Extension="xml" ContentType="application/xml"/><Default Extension="png" ContentType="image/png"/>'
         f'<Override PartName="/xl/workbook.xml" ContentType="{CT}spreadsheetml.sheet.main+xml"/>'
         f'<Override PartName="/xl/styles.xml" ContentType="{CT}spreadsheetml.styles+xml"/>'
         f'<Override PartName="/xl/theme/theme1.xml" ContentType="{CT}theme+xml"/>'
         f'<Override PartName="/xl/sharedStrings.xml" ContentType="{CT}spreadsheetml.sharedStrings+xml"/>'
         + overrides + "</Types>"),
        ("_rels/.rels", DECL + f'<Relationships xmlns="{PKG_REL}"><Relationship Id="rId1" '
         f'Type="{REL}/officeDocument" Target="xl/workbook.xml"/></Relationships>'),
        ("xl/workbook.xml", DECL + f'<workbook xmlns="{NS}" xmlns:r="{REL}"><bookViews><workbookView/></bookViews><sheets>'
         + "".join(f'<sheet name="{s}" sheetId="{i}" r:id="rId{i}"/>' for i, (s, _) in enumerate(sheets, 1))
         + "</sheets></workbook>"),
        ("xl/_rels/workbook.xml.rels", DECL + f'<Relationships xmlns="{PKG_REL}">'
         + "".join(f'<Relationship Id="rId{i}" Type="{REL}/worksheet" Target="worksheets/sheet{i}.xml"/>'
                   for i in range(1, n + 1))
         + f'<Relationship Id="rId{n + 1}" Type="{REL}/styles" Target="styles.xml"/>'
         f'<Relationship Id="rId{n + 2}" Type="{REL}/theme" Target="theme/theme1.xml"/>'
         f'<Relationship Id="rId{n + 3}" Type="{REL}/sharedStrings" Target="sharedStrings.xml"/></Relationships>'),
        ("xl/styles.xml", STYLES),
        ("xl/theme/theme1.xml", theme(rng)),
        ("xl/sharedStrings.xml", shared_strings(n_strings, rng)),
    ]
    os.makedirs(DATA, exist_ok=True)
    target = path_of(name)
    partial = target + ".part"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as z:
        for entry, text in entries:
            z.writestr(entry, text)
        for i, (_, rows) in enumerate(sheets, 1):
            z.writestr(f"xl/worksheets/sheet{i}.xml", sheet_text(rows, n_strings, rng))
        # Images are stored: they are compressed already.
        z.writestr(zipfile.ZipInfo("xl/media/image1.png", (2024, 3, 1, 12, 0, 0)), rng.randbytes(image_size),
                   zipfile.ZIP_STORED)
    os.replace(partial, target)


def ensure(names=SIZES):
    for name in names:
        if not os.path.exists(path_of(name)):
            print(f"writing {path_of(name)} ...", file=sys.stderr, flush=True)
            write(name)
    return {name: path_of(name) for name in names}


if __name__ == "__main__":
    for name, path in ensure().items():
        with zipfile.ZipFile(path) as z:
            big = max(z.infolist(), key=lambda i: i.file_size)
        print(f"{name}: {os.path.getsize(path) / 1e6:.1f} MB, big sheet {big.file_size / 1e6:.1f} MB "
              f"({big.compress_size / 1e6:.1f} MB deflated)")
