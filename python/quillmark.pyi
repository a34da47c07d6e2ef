"""Edit existing .xlsx workbooks in place.

An Editor holds the texts of the few parts it edits and splices changes into them; saving copies
every untouched entry of the source package in its compressed form. Failures of the workbook logic
raise RuntimeError with a plain message; bad arguments raise TypeError (or OverflowError for
out-of-range integers).
"""

import enum
import os
from collections.abc import Sequence
from typing import Self, final

_Path = str | os.PathLike[str]

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
    """An immutable alignment: optional horizontal and vertical alignment and a wrap flag."""

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
        """Add an empty worksheet (name trimmed) after the last one and make it current."""

    def add_worksheet_at(self, sheet_name: str, index: int) -> Self:
        """Add an empty worksheet at 0-based `index` (past the end appends) and make it current."""

    def with_worksheet(self, sheet_name: str) -> Self:
        """Make the named worksheet current. The sheet left keeps its edits until the next save."""

    def rename_worksheet(self, old_name: str, new_name: str) -> Self:
        """Change a worksheet's display name; formulas and defined names that mention it are not
        rewritten."""

    def delete_worksheet(self, sheet_name: str) -> Self:
        """Remove a worksheet. If it was current, the first remaining one becomes current; deleting
        the last one leaves a new empty Sheet1."""

    def set_cell(self, coords: str, cell: str) -> None:
        """Write one value into the cell `coords` of the current sheet, keeping its style.

        A text starting with "=" is a formula, a decimal number literal is a number, anything else
        an inline string."""

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
        """Write the workbook to `path`: edited parts from memory, every other entry copied raw.

        The new package is written to a temporary file beside the target and renamed onto it, so
        the target is either the old file or the whole new one. Saving onto the source works."""

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
