"""Consistency rules that spreadsheet readers apply when they open a package, checked on a saved file.

`violations(path)` returns one line per broken rule ("part: what is wrong"); `assert_sound(path)`
fails a test with all of them. Only what can be decided from the package itself is checked: the
package and its relationships, the sheet list and the positions that point into it, the calculation
chain, formula groups, rows and cells, merges, tables, columns and the style sheet.
"""
import math
import posixpath
import re
import xml.etree.ElementTree as ET
import zipfile

R_NS = "http://schemas.openxmlformats.org/officeDocument/2006/relationships"
STRICT_R_NS = "http://purl.oclc.org/ooxml/officeDocument/relationships"
MAX_ROW, MAX_COL = 1048576, 16384

WORKBOOK_ORDER = ["fileVersion", "fileSharing", "workbookPr", "workbookProtection", "bookViews", "sheets",
                  "functionGroups", "externalReferences", "definedNames", "calcPr", "oleSize",
                  "customWorkbookViews", "pivotCaches", "smartTagPr", "smartTagTypes", "webPublishing",
                  "fileRecoveryPr", "webPublishObjects", "extLst"]
WORKSHEET_ORDER = ["sheetPr", "dimension", "sheetViews", "sheetFormatPr", "cols", "sheetData", "sheetCalcPr",
                   "sheetProtection", "protectedRanges", "scenarios", "autoFilter", "sortState",
                   "dataConsolidate", "customSheetViews", "mergeCells", "phoneticPr", "conditionalFormatting",
                   "dataValidations", "hyperlinks", "printOptions", "pageMargins", "pageSetup", "headerFooter",
                   "rowBreaks", "colBreaks", "customProperties", "cellWatches", "ignoredErrors", "smartTags",
                   "drawing", "legacyDrawing", "legacyDrawingHF", "picture", "oleObjects", "controls",
                   "webPublishItems", "tableParts", "extLst"]
STYLES_ORDER = ["numFmts", "fonts", "fills", "borders", "cellStyleXfs", "cellXfs", "cellStyles", "dxfs",
                "tableStyles", "colors", "extLst"]
CELL_TYPES = {"s", "str", "inlineStr", "n", "b", "e", "d"}
BORDER_STYLES = {"none", "thin", "medium", "dashed", "dotted", "thick", "double", "hair", "mediumDashed",
                 "dashDot", "mediumDashDot", "dashDotDot", "mediumDashDotDot", "slantDashDot"}
HORIZONTAL = {"general", "left", "center", "right", "fill", "justify", "centerContinuous", "distributed"}
VERTICAL = {"top", "center", "bottom", "justify", "distributed"}
BOOLEANS = {"0", "1", "true", "false"}
# The content type a part reached through a relationship of each kind must have.
PART_TYPES = {kind: f"spreadsheetml.{kind}+xml" for kind in
              ("worksheet", "styles", "sharedStrings", "table", "calcChain", "chartsheet")}
BUILT_IN_NAMES = {"_xlnm.print_area", "_xlnm.print_titles", "_xlnm._filterdatabase"}
NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")
CELL_REF = re.compile(r"\$?([A-Za-z]{1,3})\$?(\d+)")
FORBIDDEN = re.compile("[\x00-\x08\x0b\x0c\x0e-\x1f\ufffe\uffff]")
CHAR_REF = re.compile(r"&#(x[0-9A-Fa-f]+|[0-9]+);")


STRING_LITERAL = re.compile(r'"(?:[^"]|"")*"')
SHEET_PREFIX = re.compile(r"(?<![\w.#'\]\[])(?:'((?:[^']|'')+)'|([^\W\d][\w.]*(?::[^\W\d][\w.]*)?))!")


def sheets_named(formula):
    """Sheet names a formula's references are qualified with (3-D ranges give both ends); references
    into other workbooks ("[1]Sheet!A1") are left out."""
    names = []
    for m in SHEET_PREFIX.finditer(STRING_LITERAL.sub('""', formula or "")):
        if m[1] is not None:
            if not m[1].startswith("["):
                names.extend(m[1].replace("''", "'").split(":"))
        else:
            names.extend(m[2].split(":"))
    return names


def local(tag):
    return tag.rsplit("}", 1)[-1]


def children(element, name):
    return [c for c in element if local(c.tag) == name]


def child(element, name):
    found = children(element, name)
    return found[0] if found else None


def fold(name):
    """Simple case folding, one character to one, as the application compares sheet names: "İ" and
    "i\u0307", or "ß" and "ss", stay two names."""
    out = []
    for ch in name:
        full, lower = ch.casefold(), ch.lower()
        out.append(full if len(full) == 1 else lower if len(lower) == 1 else ch)
    return "".join(out)


def relationship_attribute(key):
    return key.startswith((f"{{{R_NS}}}", f"{{{STRICT_R_NS}}}"))


def column_number(letters):
    n = 0
    for ch in letters.upper():
        n = n * 26 + ord(ch) - 64
    return n


def parse_cell(ref):
    """(row, column) of "B3" / "$B$3", or None."""
    m = CELL_REF.fullmatch(ref or "")
    return (int(m[2]), column_number(m[1])) if m else None


def parse_range(ref):
    """(top, left, bottom, right) of "A1:B2" or "A1", or None when a corner is not a cell."""
    corners = [parse_cell(c) for c in (ref or "").split(":")]
    if not 1 <= len(corners) <= 2 or None in corners:
        return None
    (r1, c1), (r2, c2) = corners[0], corners[-1]
    return min(r1, r2), min(c1, c2), max(r1, r2), max(c1, c2)


def in_grid(box):
    return box[0] >= 1 and box[1] >= 1 and box[2] <= MAX_ROW and box[3] <= MAX_COL


def overlap(a, b):
    return a[0] <= b[2] and b[0] <= a[2] and a[1] <= b[3] and b[1] <= a[3]


def inside(cell, box):
    return box[0] <= cell[0] <= box[2] and box[1] <= cell[1] <= box[3]


def is_int(text, low=0):
    return text is not None and re.fullmatch(r"\d+", text) is not None and int(text) >= low


def check_order(root, order, part, out):
    ranks = [order.index(local(c.tag)) for c in root if local(c.tag) in order]
    for a, b in zip(ranks, ranks[1:]):
        if b < a:
            out.append(f"{part}: {order[b]} after {order[a]}")
    for name in order:
        if name not in ("conditionalFormatting", "definedName") and len(children(root, name)) > 1:
            out.append(f"{part}: more than one {name}")


def check_count(element, part, out):
    count = element.get("count")
    if count is not None and (not is_int(count) or int(count) != len(element)):
        out.append(f"{part}: {local(element.tag)} count={count} but {len(element)} entries")


def text_of(element):
    """Text of a shared string item or an inline string: plain or rich-text runs joined."""
    if element is None:
        return None
    t = child(element, "t")
    if t is not None:
        return t.text or ""
    return "".join(child(r, "t").text or "" for r in children(element, "r") if child(r, "t") is not None)


class Package:
    def __init__(self, path):
        with zipfile.ZipFile(path) as z:
            self.names = [i.filename for i in z.infolist()]
            self.data = {n: z.read(n) for n in self.names if not n.endswith("/")}
        self.lower = {n.lower(): n for n in self.data}
        self.trees = {}
        self.rels = {}
        self.out = []

    def find(self, name):
        return name if name in self.data else self.lower.get(name.lower())

    def tree(self, name):
        """Parsed part, or None when it is missing or not well-formed (already reported)."""
        return self.trees.get(self.find(name) or "")

    def rels_of(self, part):
        """{Id: (type suffix, resolved target or None for external)} of a part."""
        folder, base = posixpath.split(part)
        rels_name = posixpath.join(folder, "_rels", base + ".rels")
        return self.rels.get(self.find(rels_name) or "", {})

    def targets(self, part, kind):
        return [t for (k, t) in self.rels_of(part).values() if k == kind and t]


def resolve(source, target):
    if target.startswith("/"):
        return posixpath.normpath(target[1:])
    return posixpath.normpath(posixpath.join(posixpath.dirname(source), target))


def check_parts(pkg):
    out = pkg.out
    if len(pkg.names) != len(set(pkg.names)):
        out.append("package: duplicate entry names")
    for name, raw in pkg.data.items():
        if not (name.endswith(".xml") or name.endswith(".rels")):
            continue
        try:
            text = raw.decode("utf-8")
        except UnicodeDecodeError:
            out.append(f"{name}: not UTF-8")
            continue
        if m := FORBIDDEN.search(text):
            out.append(f"{name}: forbidden character U+{ord(m[0]):04X}")
        for ref in CHAR_REF.findall(text):
            code = int(ref[1:], 16) if ref[0] == "x" else int(ref)
            if (code < 0x20 and code not in (9, 10, 13)) or code in (0xFFFE, 0xFFFF) or \
                    0xD800 <= code <= 0xDFFF or code > 0x10FFFF:
                out.append(f"{name}: forbidden character reference &#{ref};")
        try:
            pkg.trees[name] = ET.fromstring(raw)
        except ET.ParseError as e:
            out.append(f"{name}: not well-formed: {e}")
            continue
        # Readers ignore an element that a prefix mix-up left outside every namespace.
        if pkg.trees[name].tag.startswith("{"):
            for e in pkg.trees[name].iter():
                if not e.tag.startswith("{"):
                    out.append(f"{name}: element {e.tag} in no namespace")
                    break

    types = pkg.tree("[Content_Types].xml")
    if types is None:
        out.append("[Content_Types].xml: missing")
        return
    defaults = {d.get("Extension", "").lower(): d.get("ContentType", "") for d in children(types, "Default")}
    overrides = {o.get("PartName", "").lower(): o.get("ContentType", "") for o in children(types, "Override")}
    for o in children(types, "Override"):
        if not pkg.find(o.get("PartName", "").lstrip("/")):
            out.append(f"[Content_Types].xml: override for missing part {o.get('PartName')}")
    for name in pkg.data:
        if name == "[Content_Types].xml":
            continue
        ext = name.rsplit(".", 1)[-1].lower() if "." in posixpath.basename(name) else ""
        if "/" + name.lower() not in overrides and ext not in defaults:
            out.append(f"{name}: no content type")

    referenced = set()
    for name, root in pkg.trees.items():
        m = re.fullmatch(r"(.*?)_rels/([^/]*)\.rels", name)
        if not m:
            continue
        source = m[1] + m[2]
        if m[2] and not pkg.find(source):
            out.append(f"{name}: relationships of missing part {source}")
        rels = {}
        for rel in children(root, "Relationship"):
            rid, kind = rel.get("Id"), rel.get("Type", "").rsplit("/", 1)[-1]
            if rid in rels:
                out.append(f"{name}: duplicate relationship id {rid}")
            if rel.get("TargetMode") == "External":
                rels[rid] = (kind, None)
                continue
            target = resolve(source, rel.get("Target", ""))
            found = pkg.find(target)
            if not found:
                out.append(f"{name}: {rid} targets missing part {target}")
            referenced.add(found)
            rels[rid] = (kind, found)
            if found and kind in PART_TYPES:
                ext = found.rsplit(".", 1)[-1].lower()
                content_type = overrides.get("/" + found.lower(), defaults.get(ext, ""))
                if not content_type.endswith(PART_TYPES[kind]):
                    out.append(f"{found}: content type {content_type!r} for a {kind} part")
        pkg.rels[name] = rels
    for name in pkg.data:
        if posixpath.basename(name) == "calcChain.xml" and name not in referenced:
            out.append(f"{name}: part without a relationship")

    for name, root in pkg.trees.items():
        if name.endswith(".rels"):
            continue
        ids = pkg.rels_of(name)
        for element in root.iter():
            for key, value in element.attrib.items():
                if relationship_attribute(key) and value not in ids:
                    out.append(f"{name}: {local(element.tag)} r:{local(key)}={value} names no relationship")


def check_workbook(pkg, wb_part):
    out = pkg.out
    root = pkg.tree(wb_part)
    if root is None:
        return []
    check_order(root, WORKBOOK_ORDER, wb_part, out)
    rels = pkg.rels_of(wb_part)
    sheets = []
    seen_names, seen_ids, seen_rids = set(), set(), set()
    for s in children(child(root, "sheets") if child(root, "sheets") is not None else root, "sheet"):
        name, sid = s.get("name") or "", s.get("sheetId")
        rid = next((v for k, v in s.attrib.items() if relationship_attribute(k) and local(k) == "id"), None)
        if not 1 <= len(name) <= 31 or re.search(r"[\[\]:*?/\\]", name) or name[:1] == "'" or name[-1:] == "'":
            out.append(f"{wb_part}: invalid sheet name {name!r}")
        if fold(name) in seen_names:
            out.append(f"{wb_part}: duplicate sheet name {name!r}")
        if not is_int(sid, 1) or sid in seen_ids:
            out.append(f"{wb_part}: sheetId {sid!r} of {name!r} missing, invalid or repeated")
        if rid in seen_rids:
            out.append(f"{wb_part}: r:id {rid} used by two sheets")
        seen_names.add(fold(name))
        seen_ids.add(sid)
        seen_rids.add(rid)
        kind, target = rels.get(rid, (None, None))
        if rid in rels and kind not in ("worksheet", "chartsheet", "dialogsheet", "xlMacrosheet", "xlIntlMacrosheet"):
            out.append(f"{wb_part}: sheet {name!r} points at a {kind} relationship")
        sheets.append({"name": name, "id": sid, "state": s.get("state", "visible"),
                       "part": target if kind == "worksheet" else None})
    if not sheets:
        out.append(f"{wb_part}: no sheet")
        return sheets
    if all(s["state"] != "visible" for s in sheets):
        out.append(f"{wb_part}: no visible sheet")
    n = len(sheets)
    for view in root.iter():
        if local(view.tag) != "workbookView":
            continue
        for attr in ("activeTab", "firstSheet"):
            value = view.get(attr, "0")
            if not is_int(value) or int(value) >= n:
                out.append(f"{wb_part}: {attr}={value} with {n} sheets")
            elif attr == "activeTab" and sheets[int(value)]["state"] != "visible":
                out.append(f"{wb_part}: active tab {sheets[int(value)]['name']!r} is hidden")
    names = child(root, "definedNames")
    scopes = set()
    for dn in children(names, "definedName") if names is not None else []:
        name, scope = dn.get("name", ""), dn.get("localSheetId")
        if scope is not None and (not is_int(scope) or int(scope) >= n):
            out.append(f"{wb_part}: defined name {name} localSheetId={scope} with {n} sheets")
            continue
        if (fold(name), scope) in scopes:
            out.append(f"{wb_part}: defined name {name} repeated in one scope")
        scopes.add((fold(name), scope))
        for named in sheets_named(dn.text):
            if fold(named) not in seen_names:
                out.append(f"{wb_part}: defined name {name} refers to missing sheet {named!r}")
        if name.casefold() in BUILT_IN_NAMES:
            m = re.match(r"(?:'((?:[^']|'')+)'|([^'!]+))!", dn.text or "")
            named = (m[1].replace("''", "'") if m[1] else m[2]) if m else None
            if scope is None:
                out.append(f"{wb_part}: built-in name {name} without a sheet scope")
            elif named and named.casefold() != sheets[int(scope)]["name"].casefold():
                out.append(f"{wb_part}: {name} of sheet {sheets[int(scope)]['name']!r} names sheet {named!r}")
    return sheets


def shared_strings(pkg, wb_part):
    targets = pkg.targets(wb_part, "sharedStrings")
    root = pkg.tree(targets[0]) if targets else None
    if root is None:
        return []
    items = children(root, "si")
    unique = root.get("uniqueCount")
    if unique is not None and (not is_int(unique) or int(unique) != len(items)):
        pkg.out.append(f"{targets[0]}: uniqueCount={unique} but {len(items)} items")
    return [text_of(si) for si in items]


def check_styles(pkg, wb_part):
    """Sizes of the style lists the sheets index: (cellXfs, dxfs)."""
    out = pkg.out
    targets = pkg.targets(wb_part, "styles")
    root = pkg.tree(targets[0]) if targets else None
    if root is None:
        return 1, 0  # readers supply the default format
    part = targets[0]
    check_order(root, STYLES_ORDER, part, out)
    blocks = {local(b.tag): b for b in root}
    for b in blocks.values():
        if local(b.tag) != "colors":
            check_count(b, part, out)
    size = {name: len(blocks[name]) if name in blocks else 0 for name in STYLES_ORDER}
    defined = {f.get("numFmtId") for f in blocks.get("numFmts", [])}
    for list_name in ("cellStyleXfs", "cellXfs"):
        for i, xf in enumerate(blocks.get(list_name, [])):
            for key, block in (("fontId", "fonts"), ("fillId", "fills"), ("borderId", "borders")):
                value = xf.get(key, "0")
                if not is_int(value) or int(value) >= max(size[block], 1):
                    out.append(f"{part}: {list_name}[{i}] {key}={value} with {size[block]} {block}")
            fmt = xf.get("numFmtId", "0")
            if not is_int(fmt) or (int(fmt) > 81 and fmt not in defined):
                out.append(f"{part}: {list_name}[{i}] numFmtId={fmt} is not defined")
            if list_name == "cellXfs" and "cellStyleXfs" in blocks:
                value = xf.get("xfId", "0")
                if not is_int(value) or int(value) >= size["cellStyleXfs"]:
                    out.append(f"{part}: cellXfs[{i}] xfId={value} with {size['cellStyleXfs']} cellStyleXfs")
    for style in blocks.get("cellStyles", []):
        if not is_int(style.get("xfId")) or int(style.get("xfId")) >= size["cellStyleXfs"]:
            out.append(f"{part}: cell style {style.get('name')!r} xfId={style.get('xfId')} out of range")
    for e in root.iter():
        tag = local(e.tag)
        rgb = e.get("rgb")
        if rgb is not None and tag != "rgbColor" and not re.fullmatch(r"[0-9A-Fa-f]{8}", rgb):
            out.append(f"{part}: colour {rgb!r} is not ARGB")
        if tag in ("left", "right", "top", "bottom", "diagonal", "vertical", "horizontal", "start", "end") \
                and e.get("style") is not None and e.get("style") not in BORDER_STYLES:
            out.append(f"{part}: border style {e.get('style')!r}")
        if tag == "sz":
            try:
                if not 1 <= float(e.get("val", "")) <= 409:
                    raise ValueError
            except ValueError:
                out.append(f"{part}: font size {e.get('val')!r}")
        if tag == "alignment":
            for attr, words in (("horizontal", HORIZONTAL), ("vertical", VERTICAL)):
                if e.get(attr) is not None and e.get(attr) not in words:
                    out.append(f"{part}: {attr} alignment {e.get(attr)!r}")
            for attr in ("wrapText", "shrinkToFit", "justifyLastLine"):
                if e.get(attr) is not None and e.get(attr) not in BOOLEANS:
                    out.append(f"{part}: {attr}={e.get(attr)!r}")
    return size["cellXfs"] or 1, size["dxfs"]


def check_sheet(pkg, sheet, all_cells, xf_count, dxf_count, strings, tables_seen, sheet_names):
    out, part = pkg.out, sheet["part"]
    root = pkg.tree(part)
    if root is None:
        return
    check_order(root, WORKSHEET_ORDER, part, out)

    def style_index(value, what):
        if value is not None and (not is_int(value) or int(value) >= xf_count):
            out.append(f"{part}: {what} style {value} with {xf_count} cell formats")

    cols = child(root, "cols")
    last_max = 0
    for col in children(cols, "col") if cols is not None else []:
        lo, hi = col.get("min"), col.get("max")
        if not (is_int(lo, 1) and is_int(hi, 1)) or not int(lo) <= int(hi) <= MAX_COL:
            out.append(f"{part}: col min={lo} max={hi}")
            continue
        if int(lo) <= last_max:
            out.append(f"{part}: col {lo}-{hi} overlaps or precedes the one before")
        last_max = int(hi)
        if col.get("width") is not None and not 0 <= float(col.get("width")) <= 255:
            out.append(f"{part}: col {lo}-{hi} width {col.get('width')}")
        style_index(col.get("style"), f"column {lo}-{hi}")

    cells = {}  # (row, col) -> c element
    groups = {}  # si -> (master box or None, [follower cells])
    arrays = []
    data = child(root, "sheetData")
    last_row = 0
    for row in children(data, "row") if data is not None else []:
        r = row.get("r")
        number = int(r) if is_int(r) else last_row + 1
        if number <= last_row or number > MAX_ROW:
            out.append(f"{part}: row {number} after row {last_row}")
        last_row = number
        style_index(row.get("s"), f"row {number}")
        last_col = 0
        for c in children(row, "c"):
            ref = c.get("r")
            where = parse_cell(ref) if ref else (number, last_col + 1)
            if where is None or where[0] != number or not 1 <= where[1] <= MAX_COL:
                out.append(f"{part}: cell {ref!r} in row {number}")
                continue
            if where[1] <= last_col:
                out.append(f"{part}: cell {ref} after column {last_col} in row {number}")
            last_col = where[1]
            cells[where] = c
            style_index(c.get("s"), f"cell {ref}")
            t, v = c.get("t", "n"), child(c, "v")
            if v is not None and not v.text:
                v = None  # an empty cached value, as some producers write for formulas
            if t not in CELL_TYPES:
                out.append(f"{part}: cell {ref} type {t!r}")
            elif v is not None and t == "n" and not (NUMBER.fullmatch(v.text or "") and
                                                   math.isfinite(float(v.text))):
                out.append(f"{part}: cell {ref} number {v.text!r}")
            elif v is not None and t == "s" and (not is_int(v.text) or int(v.text) >= len(strings)):
                out.append(f"{part}: cell {ref} shared string {v.text!r} with {len(strings)} strings")
            elif v is not None and t == "b" and v.text not in ("0", "1"):
                out.append(f"{part}: cell {ref} boolean {v.text!r}")
            f = child(c, "f")
            if f is None:
                continue
            if (f.text or "").startswith("="):
                out.append(f"{part}: cell {ref} formula starts with '='")
            for named in sheets_named(f.text):
                if fold(named) not in sheet_names:
                    out.append(f"{part}: formula of {ref} refers to missing sheet {named!r}")
            if f.get("t") == "shared":
                master, followers = groups.setdefault(f.get("si"), [None, []])
                if f.get("ref") is not None and (f.text or "").strip():
                    if master is not None:
                        out.append(f"{part}: shared formula {f.get('si')} has two masters")
                    groups[f.get("si")][0] = parse_range(f.get("ref")) or (0, 0, 0, 0)
                else:
                    followers.append(where)
            elif f.get("t") == "array" and f.get("ref"):
                box = parse_range(f.get("ref"))
                arrays.append((where, box))
    sheet_cells = all_cells.setdefault(sheet["id"], {})
    sheet_cells.update(cells)
    for si, (master, followers) in groups.items():
        if master is None:
            out.append(f"{part}: shared formula {si} has no master")
        else:
            for cell in followers:
                if not inside(cell, master):
                    out.append(f"{part}: shared formula {si} follower {cell} outside its ref")
    for anchor, box in arrays:
        for where, c in cells.items():
            if box and inside(where, box) and where != anchor and child(c, "f") is not None:
                out.append(f"{part}: cell {where} inside array formula at {anchor} holds a formula")

    dim = child(root, "dimension")
    if dim is not None and cells:
        box = parse_range(dim.get("ref"))
        rows, cols_ = [w[0] for w in cells], [w[1] for w in cells]
        need = (min(rows), min(cols_), max(rows), max(cols_))
        if box is None or not (inside(need[:2], box) and inside(need[2:], box)):
            out.append(f"{part}: dimension {dim.get('ref')} does not cover the cells (rows {need[0]}-{need[2]}, "
                       f"columns {need[1]}-{need[3]})")

    merges = []
    block = child(root, "mergeCells")
    if block is not None:
        check_count(block, part, out)
        for m in children(block, "mergeCell"):
            box = parse_range(m.get("ref"))
            if box is None or not in_grid(box) or (box[0] == box[2] and box[1] == box[3]):
                out.append(f"{part}: merge {m.get('ref')!r} is not a range of two or more cells")
                continue
            for ref, other in merges:
                if overlap(box, other):
                    out.append(f"{part}: merges {ref} and {m.get('ref')} overlap")
            merges.append((m.get("ref"), box))

    for cf in root.iter():
        if local(cf.tag) == "cfRule" and cf.get("dxfId") is not None:
            if not is_int(cf.get("dxfId")) or int(cf.get("dxfId")) >= dxf_count:
                out.append(f"{part}: conditional format dxfId={cf.get('dxfId')} with {dxf_count} dxfs")

    boxes = []
    for table_part in pkg.targets(part, "table"):
        table = pkg.tree(table_part)
        if table is None:
            continue
        name, box = table.get("name") or table.get("displayName") or "", parse_range(table.get("ref"))
        for key, value in (("id", table.get("id")), ("name", (table.get("displayName") or "").casefold())):
            if value in tables_seen.setdefault(key, set()):
                out.append(f"{table_part}: table {key} {value!r} used twice in the workbook")
            tables_seen[key].add(value)
        if box is None or not in_grid(box):
            out.append(f"{table_part}: table ref {table.get('ref')!r}")
            continue
        for ref, other in merges:
            if overlap(box, other):
                out.append(f"{table_part}: table {name} overlaps merge {ref}")
        for other_name, other in boxes:
            if overlap(box, other):
                out.append(f"{table_part}: tables {other_name} and {name} overlap")
        boxes.append((name, box))
        columns = child(table, "tableColumns")
        names = [c.get("name") or "" for c in children(columns, "tableColumn")] if columns is not None else []
        if columns is not None:
            check_count(columns, table_part, out)
        if len(names) != box[3] - box[1] + 1:
            out.append(f"{table_part}: {len(names)} columns for ref {table.get('ref')}")
        if len({n.casefold() for n in names}) != len(names):
            out.append(f"{table_part}: repeated column names {names}")
        if table.get("headerRowCount", "1") != "0":
            header = [cell_text(cells.get((box[0], box[1] + i)), strings) for i in range(len(names))]
            if header != names:
                out.append(f"{table_part}: header cells {header} differ from column names {names}")


def cell_text(c, strings):
    if c is None:
        return ""
    t, v = c.get("t", "n"), child(c, "v")
    if t == "inlineStr":
        return text_of(child(c, "is")) or ""
    if v is None or v.text is None:
        return ""
    if t == "s":
        return strings[int(v.text)] if is_int(v.text) and int(v.text) < len(strings) else ""
    return v.text


def check_calc_chain(pkg, wb_part, sheets, all_cells):
    targets = pkg.targets(wb_part, "calcChain")
    root = pkg.tree(targets[0]) if targets else None
    if root is None:
        return
    ids = {s["id"] for s in sheets}
    sheet_id = None
    for c in children(root, "c"):
        sheet_id = c.get("i", sheet_id)
        where = parse_cell(c.get("r"))
        if sheet_id not in ids:
            pkg.out.append(f"{targets[0]}: entry {c.get('r')} names sheetId {sheet_id} that does not exist")
            continue
        cell = all_cells.get(sheet_id, {}).get(where)
        if cell is None or child(cell, "f") is None:
            pkg.out.append(f"{targets[0]}: entry {c.get('r')} of sheetId {sheet_id} is not a formula cell")


def violations(path):
    """Every rule the package at `path` breaks, one line each; empty when it is sound."""
    pkg = Package(path)
    check_parts(pkg)
    roots = [t for (k, t) in pkg.rels.get(pkg.find("_rels/.rels") or "", {}).values() if k == "officeDocument"]
    if not roots or not roots[0] or pkg.tree(roots[0]) is None:
        pkg.out.append("package: no workbook part")
        return pkg.out
    wb_part = roots[0]
    sheets = check_workbook(pkg, wb_part)
    strings = shared_strings(pkg, wb_part)
    xf_count, dxf_count = check_styles(pkg, wb_part)
    all_cells, tables_seen = {}, {}
    for sheet in sheets:
        if sheet["part"]:
            check_sheet(pkg, sheet, all_cells, xf_count, dxf_count, strings, tables_seen,
                        {fold(s["name"]) for s in sheets})
    check_calc_chain(pkg, wb_part, sheets, all_cells)
    return pkg.out


def assert_sound(path):
    found = violations(path)
    assert not found, f"{path} breaks readers' rules:\n  " + "\n  ".join(found)
