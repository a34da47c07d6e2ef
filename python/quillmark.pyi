"""Edit existing .xlsx workbooks in place.

An Editor holds the texts of the few parts it edits and splices changes into them; saving copies
every untouched entry of the source package in its compressed form. Failures of the workbook logic
raise RuntimeError with a plain message; bad arguments raise TypeError (or OverflowError for
out-of-range integers).
"""

import datetime
import decimal
import enum
import os
from collections.abc import Iterable, Sequence
from typing import Protocol, Self, final

_Path = str | os.PathLike[str]
_Writable = None | bool | int | float | decimal.Decimal | str | datetime.date | datetime.time | datetime.timedelta
_Value = None | bool | int | float | str | datetime.date | datetime.datetime | datetime.time | datetime.timedelta

class _Frame(Protocol):
    @property
    def columns(self) -> Sequence[str]: ...
    def iter_rows(self) -> Iterable[Sequence[object]]: ...

@final
class HorizAlignment(enum.Enum):
    """Horizontal alignment of cell content. Member values are opaque objects."""

    Left = ...
    Center = ...
    Right = ...
    Fill = ...
    Justify = ...

@final
class VertAlignment(enum.Enum):
    """Vertical alignment of cell content. Member values are opaque objects."""

    Top = ...
    Center = ...
    Bottom = ...
    Justify = ...

@final
class AlignSpec:
    """An immutable alignment: optional horizontal and vertical alignment and a wrap flag.
    Two specs with the same fields compare (and hash) equal."""

    def __new__(
        cls,
        horiz: HorizAlignment | None = None,
        vert: VertAlignment | None = None,
        wrap: bool = False,
    ) -> AlignSpec: ...

@final
class Editor:
    """An open workbook with one current worksheet.

    The editor reads the file when it is opened and again when a save or a sheet switch needs
    untouched parts; it holds no file open between calls. Dropping it discards unsaved edits.
    """

    def __new__(cls, path: _Path, sheet_name: str | None = None) -> Editor:
        """Open `path` on the named worksheet (trimmed), or on the first one when None."""

    @staticmethod
    def create(path: _Path, sheet_name: str = "Sheet1") -> Editor:
        """Write a new one-sheet workbook at `path` (folders created, an existing file replaced)
        and open it."""

    @staticmethod
    def open(path: _Path, sheet_name: str | None = None) -> Editor:
        """The same as Editor(path, sheet_name)."""

    def add_worksheet(self, sheet_name: str) -> Self:
        """Add an empty worksheet (name trimmed) after the last one and make it current. A name
        that equals an existing one ignoring case, starts or ends with an apostrophe, or holds a
        control character is refused."""

    def add_worksheet_at(self, sheet_name: str, index: int) -> Self:
        """Add an empty worksheet at 0-based `index` (past the end appends) and make it current."""

    def with_worksheet(self, sheet_name: str) -> Self:
        """Make the named worksheet current. The sheet left keeps its edits until the next save."""

    def rename_worksheet(self, old_name: str, new_name: str) -> Self:
        """Change a worksheet's display name and every reference to it: formulas in every sheet,
        defined names, data validations, conditional formats, hyperlinks, chart series, table
        formulas and pivot sources. References into other workbooks and text in strings stay.
        The new name follows add_worksheet's rule; changing only its case is allowed."""

    def delete_worksheet(self, sheet_name: str) -> Self:
        """Remove a worksheet; references to it become #REF!. If it was current, the first remaining
        one becomes current; deleting the last one leaves a new empty Sheet1."""

    def set_cell(self, coords: str, cell: str) -> None:
        """Write one value into the cell `coords` of the current sheet, keeping its style.

        `coords` is letters then digits ("B3", "b3", "$B$3" and "B03" name the same cell), inside
        A1:XFD1048576. A text starting with "=" is a formula, a finite decimal number literal a
        number ("nan", "inf" and "1e999" are text), anything else an inline string.

        Every cell writer treats formula groups alike: overwriting the first cell of a shared
        formula moves the formula, translated, to the next cell of the group; a cell inside a
        multi-cell array formula other than its first cell cannot be written (RuntimeError)."""

    def append_row(self, cells: Sequence[str]) -> None:
        """Add a row numbered one past the last row this editor knows of, values from column A on.

        Existing rows are not examined; a sheet whose sheetData is self-closed is refused."""

    def append_table_at(self, cells: Sequence[Sequence[str]], start_cell: str) -> None:
        """Write rows of values with their top-left cell at `start_cell`, in one pass.

        Values go into existing rows and cells (existing cells keep their style) or into new rows
        placed in row order; cells stay in column order."""

    def last_row_index(self, col_name: str) -> int:
        """Highest row number of a cell in any of the columns, given as letters separated by
        "," ("A" or "a, E"); 0 when there is none. Styled empty cells count."""

    def last_rows_index(self, col_name: str) -> list[int]:
        """Highest row number per column of a span such as "A:E", in column order (0 for an empty
        column). Spans wider than 16384 columns are refused."""

    def save(self, path: _Path) -> None:
        """Write the workbook to `path`, which may be the file it was opened from.

        The new package is written to a temporary file beside the target and renamed onto it when
        complete, so a failed save leaves the target as it was; a symbolic link at `path` is
        written through, and an existing file keeps its permission bits. The new file is flushed to
        disk before the rename. Parts whose text did not change are copied in their compressed form
        (a save without edits copies the file as it is). Raises RuntimeError, writing nothing, when
        the source file was replaced or changed on disk since the editor opened it. The current
        sheet stays current."""

    def with_polars(self, py_df: _Frame, start_cell: str | None = None) -> None:
        """Write a DataFrame as a table: the column names as a header row at `start_cell` (default
        "A1"), then one row per DataFrame row.

        Any object with a `columns` sequence of str and an `iter_rows()` method yielding row
        sequences works; polars is never imported. A str is always text (never a number or a
        formula), None writes no cell, bools are the texts "TRUE" / "FALSE", ints and floats
        numbers, NaN the error #NUM! and infinities #DIV/0!, dates and datetimes serial numbers
        (their columns then get the formats "yyyy-mm-dd" / "yyyy-mm-dd hh:mm:ss" over the data
        rows), anything else str(value), a number when that reads as a finite one. The start
        cell and the table's extent are checked before anything is written."""

    def set_number_format(self, range: str, fmt: str) -> Editor:
        """Give every cell of `range` the number format `fmt`: a built-in code ("0.00", "0%",
        "@", ...) keeps its built-in id, any other code is added to the style sheet once. An
        empty code, or one holding a character XML cannot carry, raises RuntimeError.

        A whole column ("B:") also gets the format as its default style. With "@" the range's
        numeric cells become text cells holding the same digits. Returns the editor."""

    def set_fill(self, range: str, fmt: str) -> Editor:
        """Give every cell of `range` a solid fill of the colour `fmt`: "RRGGBB" or "AARRGGBB" hex
        digits, a leading "#" allowed, written as upper-case ARGB ("FFC000" and "FFFFC000" are
        the same fill); anything else raises RuntimeError. Other parts of each cell's style are kept.

        `range` is a cell ("B3"), a rectangle ("A1:C3", missing rows and cells are created), a
        whole column ("B:") or a whole row ("5:"); the last two touch existing cells only. A
        rectangle of more than 10,000,000 cells (as with every style method) raises RuntimeError
        before anything changes: style whole columns or rows instead. Returns the editor."""

    def set_font(
        self,
        range: str,
        name: str,
        size: float,
        bold: bool = False,
        italic: bool = False,
        align: AlignSpec | None = None,
    ) -> Editor:
        """Give every cell of `range` the font `name` at `size` points, 1 to 409 (and the alignment
        `align` when given: its horizontal and vertical words and wrap replace the cells', other
        alignment settings stay). Returns the editor."""

    def set_alignment(self, range: str, spec: AlignSpec) -> Editor:
        """Give every cell of `range` the alignment `spec`: its horizontal and vertical words and
        wrap replace the cells' (rotation, indent, shrink-to-fit and words an AlignSpec cannot
        express, such as "distributed", stay). "B:" restyles column B and gives the column a default alignment; "B5:" restyles
        the cells of column B from row 5 down only. Returns the editor."""

    def merge_cells(self, range: str) -> Editor:
        """Record `range` as a merged range of the current sheet, written top-left:bottom-right
        whatever the corners' order. A single cell, a text that is not two corners, and a range
        that overlaps or repeats an existing merge are refused; the covered cells are left as they
        are. Returns the editor."""

    def set_border(self, range: str, style: str) -> Editor:
        """Give every cell of `range` the border `style` on all four edges: a border style word
        ("thin", "mediumDashed", ...) in any case, written as the format spells it; others raise
        RuntimeError. Returns the editor."""

    def set_column_width(self, col_letter: str, width: float) -> Editor:
        """Set the width of one column ("B", case and surrounding white space ignored).
        The width must lie in (0, 255]. Returns the editor."""

    def set_column_width_range(self, col_range: str, width: float) -> Editor:
        """Set the width of every column of a span such as "A:E" (or of one column).
        Returns the editor."""

    def set_columns_width(self, col_letters: Sequence[str], width: float) -> Editor:
        """Set the width of every column named by the entries (letters or spans).
        Returns the editor."""

    def set_column_widths(self, widths: dict[str, float]) -> Editor:
        """Set each key's columns (letters or a span) to its width, entry by entry; the entries
        before a failing one stay applied. Returns the editor."""

    def remove_style(self, range: str) -> Editor:
        """Drop the style of the existing cells of `range` (their `s` attribute); the style sheet,
        the values and other attributes are left alone. Returns the editor."""

    # ---- reading ----

    @property
    def sheet_name(self) -> str | None:
        """Name of the current worksheet; None after a failed switch left no sheet current."""

    def sheet_names(self) -> list[str]:
        """The workbook's worksheet names in order, as this editor holds them (edits included)."""

    def get_value(self, cell: str) -> _Value:
        """The value of one cell of the current sheet ("B3"): None for a blank or missing cell;
        str for text (escapes decoded, rich-text runs joined) and error values ("#N/A"); bool;
        int when the stored number has no fraction or exponent, else float; date, datetime, time
        or timedelta when the cell's number format shows a date, date and time, time of day or
        elapsed time (1904 date system honoured, rounded to the millisecond). A formula cell gives
        its cached value. Shared strings are loaded once, on the first read that needs them."""

    def get_formula(self, cell: str) -> str | None:
        """The cell's formula with its "=", or None. A cell sharing another cell's formula gets
        the formula as it reads at its own position."""

    def read_rows(self, range: str | None = None) -> list[list[_Value]]:
        """Values of a range as rows of cells, as get_value gives them: "A1:D10", "B:D" (rows
        down to the last one holding something in those columns), "3:7" (columns up to the last
        one holding something in those rows) or, by default, from A1 to the last row and column
        holding something. Missing cells are None; every row has the same length."""

    def write(self, cell: str, value: _Writable) -> None:
        """Write one typed value into `cell`, as write_rows does for a block of one."""

    def write_rows(self, start_cell: str, rows: Sequence[Sequence[_Writable]]) -> None:
        """Write rows of typed values with their top-left cell at `start_cell`, merged into the
        sheet in one pass like append_table_at (existing cells keep their style).

        None writes no cell (an existing cell loses its value); bool, int, float and Decimal are
        booleans and numbers, NaN the error #NUM! and infinities #DIV/0!; str is always text,
        never a number or a formula; date, datetime, time and timedelta become serial numbers
        in the workbook's date system with the formats "yyyy-mm-dd", "yyyy-mm-dd hh:mm:ss",
        "hh:mm:ss" and "[h]:mm:ss". Any other type raises TypeError naming it and the cell, and
        nothing is written."""

@final
class Scanner:
    """Remembers a path; each method reads the file anew. The constructor never touches the file."""

    def __new__(cls, path: _Path) -> Scanner: ...
    def get_sheets(self) -> list[str]:
        """Sheet names in workbook order. Failures raise RuntimeError("RuntimeError: <message>")."""

    def open_editor(self, sheet_name: str | None = None) -> Editor:
        """Open an independent Editor on the file, as Editor.open does."""

def scan_excel(path: _Path) -> list[str]:
    """Sheet names of a workbook file, in workbook order."""

def create_excel(path: _Path, sheet_name: str = "Sheet1") -> None:
    """Write a new one-sheet workbook at `path` (folders created, an existing file replaced)."""
