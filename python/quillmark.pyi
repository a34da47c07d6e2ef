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
