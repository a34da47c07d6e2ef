"""Edit existing .xlsx workbooks in place.

An Editor holds the texts of the few parts it edits and splices changes into them; saving copies
every untouched entry of the source package in its compressed form. Failures of the workbook logic
raise RuntimeError with a plain message; bad arguments raise TypeError (or OverflowError for
out-of-range integers).
"""

import enum
import os
from collections.abc import Sequence
from typing import final

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

    def set_cell(self, coords: str, cell: str) -> None:
        """Write one value into the cell `coords` of the current sheet, keeping its style.

        A text starting with "=" is a formula, a decimal number literal is a number, anything else
        an inline string."""

    def save(self, path: _Path) -> None:
        """Write the workbook to `path`: edited parts from memory, every other entry copied raw.

        The new package is written to a temporary file beside the target and renamed onto it, so
        the target is either the old file or the whole new one. Saving onto the source works."""

    def merge_cells(self, range: str) -> Editor:
        """Record `range` as a merged range of the current sheet. The text is written as given
        (escaped for XML, not validated); the covered cells are left as they are."""

    def set_column_width(self, col_letter: str, width: float) -> Editor:
        """Set the width of one column ("B", case and surrounding white space ignored).
        The width must lie in (0, 255]."""

    def set_column_width_range(self, col_range: str, width: float) -> Editor:
        """Set the width of every column of a span such as "A:E" (or of one column)."""

    def set_columns_width(self, col_letters: Sequence[str], width: float) -> Editor:
        """Set the width of every column named by the entries (letters or spans)."""

    def set_column_widths(self, widths: dict[str, float]) -> Editor:
        """Set each key's columns (letters or a span) to its width, entry by entry; the entries
        before a failing one stay applied."""

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
