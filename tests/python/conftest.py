"""Fixture workbooks built from literal part texts, so every test states exactly what it opens."""
import os
import shutil
import subprocess
import sys
import textwrap
import zipfile

import pytest

NS = "http://schemas.openxmlformats.org/spreadsheetml/2006/main"
REL_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
PKG_REL_NS = "http://schemas.openxmlformats.org/package/2006/relationships"
WS_TYPE = REL_NS + "/worksheet"
STYLES_TYPE = REL_NS + "/styles"
DECL = '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'

STYLES = (
    DECL + f'<styleSheet xmlns="{NS}">'
    '<fonts count="1"><font><sz val="11"/><name val="Calibri"/></font></fonts>'
    '<fills count="2"><fill><patternFill patternType="none"/></fill>'
    '<fill><patternFill patternType="gray125"/></fill></fills>'
    '<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>'
    '<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>'
    '<cellXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/></cellXfs>'
    '<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>'
    "</styleSheet>"
)


def sheet_xml(rows: str = "", before: str = '<dimension ref="A1"/>', after: str = "") -> str:
    """A worksheet whose sheetData holds `rows` (raw row markup)."""
    return DECL + f'<worksheet xmlns="{NS}">{before}<sheetData>{rows}</sheetData>{after}</worksheet>'


def workbook_parts(sheets=None, styles=STYLES, extra=None, target_prefix="worksheets/"):
    """Parts of a package. `sheets` is a list of (name, worksheet text); names are written as given,
    so a test can pass pre-escaped text such as "R&amp;D"."""
    if sheets is None:
        sheets = [("Sheet1", sheet_xml())]
    entries = "".join(
        f'<sheet name="{name}" sheetId="{i}" r:id="rId{i}"/>' for i, (name, _) in enumerate(sheets, 1)
    )
    rels = "".join(
        f'<Relationship Id="rId{i}" Type="{WS_TYPE}" Target="{target_prefix}sheet{i}.xml"/>'
        for i in range(1, len(sheets) + 1)
    )
    n = len(sheets)
    overrides = "".join(
        f'<Override PartName="/xl/worksheets/sheet{i}.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>'
        for i in range(1, n + 1)
    )
    parts = {
        "[Content_Types].xml": DECL
        + '<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
        '<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>'
        '<Default Extension="xml" ContentType="application/xml"/>'
        '<Override PartName="/xl/workbook.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>'
        '<Override PartName="/xl/styles.xml" '
        'ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>'
        + overrides
        + "</Types>",
        "_rels/.rels": DECL
        + f'<Relationships xmlns="{PKG_REL_NS}"><Relationship Id="rId1" '
        f'Type="{REL_NS}/officeDocument" Target="xl/workbook.xml"/></Relationships>',
        "xl/workbook.xml": DECL
        + f'<workbook xmlns="{NS}" xmlns:r="{REL_NS}"><sheets>{entries}</sheets></workbook>',
        "xl/_rels/workbook.xml.rels": DECL
        + f'<Relationships xmlns="{PKG_REL_NS}">{rels}'
        f'<Relationship Id="rId{n + 1}" Type="{STYLES_TYPE}" Target="styles.xml"/></Relationships>',
    }
    for i, (_, text) in enumerate(sheets, 1):
        parts[f"xl/worksheets/sheet{i}.xml"] = text
    if styles is not None:
        parts["xl/styles.xml"] = styles
    if extra:
        parts.update(extra)
    return parts


def write_package(path, parts, compression=zipfile.ZIP_DEFLATED):
    """Writes `parts` ({name: str | bytes | None}) in order; None values are left out."""
    with zipfile.ZipFile(path, "w", compression) as z:
        for name, data in parts.items():
            if data is not None:
                z.writestr(name, data)
    return str(path)


@pytest.fixture
def editor(make_book):
    """An editor on a default one-sheet package."""
    import quillmark

    return quillmark.Editor(make_book())


@pytest.fixture
def make_book(tmp_path):
    """make_book(name="book.xlsx", **workbook_parts kwargs) -> path of a new package."""
    counter = iter(range(1_000_000))

    def make(name=None, parts=None, **kwargs):
        path = tmp_path / (name or f"book{next(counter)}.xlsx")
        return write_package(path, parts if parts is not None else workbook_parts(**kwargs))

    return make


def run_python(code, prefix=(), env=None):
    """Runs `code` in a fresh interpreter that imports the module under test."""
    import quillmark

    env = dict(os.environ, PYTHONPATH=os.path.dirname(quillmark.__file__), **(env or {}))
    return subprocess.run([*prefix, sys.executable, "-c", textwrap.dedent(code)], env=env,
                          capture_output=True, text=True)


def without_root_override():
    """Command prefix under which permission bits apply: root ignores them unless it gives up
    that capability."""
    if os.geteuid() != 0:
        return ()
    if not shutil.which("setpriv"):
        pytest.fail("running as root without setpriv: permission tests cannot run")
    return ("setpriv", "--bounding-set=-dac_override,-dac_read_search", "--")


def column_letters(i):
    s = ""
    i += 1
    while i:
        i, m = divmod(i - 1, 26)
        s = chr(65 + m) + s
    return s


def column_number(letters):
    n = 0
    for ch in letters:
        n = n * 26 + ord(ch) - 64
    return n
