import os
from collections.abc import Sequence

class Editor:
    def __new__(cls, path: str | os.PathLike[str], sheet_name: str | None = None) -> Editor: ...
    @staticmethod
    def create(path: str | os.PathLike[str], sheet_name: str = "Sheet1") -> Editor: ...
    @staticmethod
    def open(path: str | os.PathLike[str], sheet_name: str | None = None) -> Editor: ...
    def set_cell(self, coords: str, cell: str) -> None:
        """Writes one value into the cell `coords` of the current sheet, keeping its style.
        A text starting with "=" is a formula, a decimal number literal is a number, anything
        else an inline string."""
    def append_row(self, cells: Sequence[str]) -> None:
        """Adds a row after the last row this editor knows of, values from column A on."""
    def append_table_at(self, cells: Sequence[Sequence[str]], start_cell: str) -> None:
        """Writes rows of values with their top-left cell at `start_cell`, merging them into
        existing rows and cells (existing cells keep their style)."""
