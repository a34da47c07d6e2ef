"""The core's formula translator against openpyxl's Translator on generated formulas."""
import random
import re
import subprocess
from pathlib import Path

import pytest
from openpyxl.formula.translate import Translator, TranslatorError
from openpyxl.utils import column_index_from_string, get_column_letter

import quillmark

PROBE = Path(quillmark.__file__).resolve().parent / "formula_probe"

SHEETS = ["Data", "'Q1 Sales'", "'It''s'", "Jan:Mar", "'2024'", "[1]Data", "'Ünï code'", "Sheet_2.b"]
FUNCTIONS = ["SUM", "LOG10", "ATAN2", "_xlfn.XLOOKUP", "IF", "INDEX"]
LITERALS = ['"A1"', '"Data!B2"', '"say ""C3"""', "1.5E+3", ".25", "TRUE", "#N/A", "#REF!", "my_name",
            "Table1[Col]", "Table1[[#This Row],[A]:[B]]", "{1,2;3,4}", '{"A1",2}']  # openpyxl drops the sheet of "Data!name"
OPERATORS = ["+", "-", "*", "/", "^", "&", "=", "<>", "<=", ",", " "]


def anchor(rng):
    return "$" if rng.random() < 0.3 else ""


def point(rng, column=True, row=True):
    text = ""
    if column:
        text += anchor(rng) + get_column_letter(rng.choice([1, 2, 3, 26, 27, 700, 16383, 16384, rng.randint(1, 16384)]))
    if row:
        text += anchor(rng) + str(rng.choice([1, 2, 3, 10, 1048575, 1048576, rng.randint(1, 1048576)]))
    return text


def reference(rng):
    shape = rng.random()
    if shape < 0.5:
        body = point(rng)
    elif shape < 0.8:
        body = point(rng) + ":" + point(rng)
    elif shape < 0.9:
        body = point(rng, row=False) + ":" + point(rng, row=False)
    else:
        body = point(rng, column=False) + ":" + point(rng, column=False)
    if rng.random() < 0.4:
        body = rng.choice(SHEETS) + "!" + body
    return body


def operand(rng, depth):
    roll = rng.random()
    if roll < 0.55:
        return reference(rng), True
    if roll < 0.75 and depth < 3:
        args = [piece for _ in range(rng.randint(1, 3)) for piece in formula_pieces(rng, depth + 1) + [(",", False)]]
        return [(rng.choice(FUNCTIONS) + "(", False), *args[:-1], (")", False)], False
    return rng.choice(LITERALS), False


def formula_pieces(rng, depth=0):
    pieces = []
    for i in range(rng.randint(1, 4)):
        if i:
            pieces.append((rng.choice(OPERATORS), False))
        op, is_ref = operand(rng, depth)
        pieces.extend(op if isinstance(op, list) else [(op, is_ref)])
    return pieces


def in_grid(text):
    body = text.rsplit("!", 1)[-1]
    for part in body.split(":"):
        match = re.fullmatch(r"\$?([A-Z]*)\$?(\d*)", part)
        if match[1] and column_index_from_string(match[1]) > 16384:
            return False
        if match[2] and int(match[2]) > 1048576:
            return False
    return True


def expected(pieces, origin, dest):
    """openpyxl per reference; one it cannot place (or places beyond the grid) is #REF!. Also
    whether every reference stayed on the grid."""
    out, placed = [], True
    for text, is_ref in pieces:
        if not is_ref:
            out.append(text)
            continue
        try:
            moved = Translator("=" + text, origin).translate_formula(dest)[1:]
        except (TranslatorError, ValueError):
            moved = None
        if moved is None or not in_grid(moved):
            moved, placed = "#REF!", False
        out.append(moved)
    return "".join(out), placed


def test_translation_matches_openpyxl():
    if not PROBE.exists():
        pytest.skip("the formula probe is built with the C++ tests")
    rng = random.Random(20261210)
    cases = []
    for _ in range(4000):
        pieces = formula_pieces(rng)
        origin = (rng.randint(1, 50), rng.randint(1, 50))
        dest = (max(1, origin[0] + rng.randint(-60, 60)), max(1, origin[1] + rng.randint(-60, 60)))
        o, d = f"{get_column_letter(origin[1])}{origin[0]}", f"{get_column_letter(dest[1])}{dest[0]}"
        formula = "".join(text for text, _ in pieces)
        want, placed = expected(pieces, o, d)
        if placed:  # openpyxl reads the whole formula into the same pieces
            assert Translator("=" + formula, o).translate_formula(d)[1:] == want
        cases.append((dest[0] - origin[0], dest[1] - origin[1], formula, want))
    result = subprocess.run([str(PROBE)], input="".join(f"{r}\t{c}\t{f}\n" for r, c, f, _ in cases),
                            capture_output=True, text=True, check=True)
    got = result.stdout.split("\n")[:-1]
    assert len(got) == len(cases)
    mismatches = [(f, r, c, w, g) for (r, c, f, w), g in zip(cases, got) if w != g]
    assert mismatches[:5] == []
