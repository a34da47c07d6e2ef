import os
from typing import Self

class Editor:
    def __new__(cls, path: str | os.PathLike[str], sheet_name: str | None = None) -> Editor: ...
    @staticmethod
    def create(path: str | os.PathLike[str], sheet_name: str = "Sheet1") -> Editor: ...
    @staticmethod
    def open(path: str | os.PathLike[str], sheet_name: str | None = None) -> Editor: ...
    def add_worksheet(self, sheet_name: str) -> Self:
        """Adds an empty worksheet at the end and makes it the current sheet."""
    def add_worksheet_at(self, sheet_name: str, index: int) -> Self:
        """Adds an empty worksheet at `index` (past the end appends) and makes it current."""
    def with_worksheet(self, sheet_name: str) -> Self:
        """Makes the named worksheet current; edits of the sheet left are kept until the save."""
    def rename_worksheet(self, old_name: str, new_name: str) -> Self:
        """Changes a worksheet's display name."""
    def delete_worksheet(self, sheet_name: str) -> Self:
        """Removes a worksheet; deleting the last one leaves a new empty Sheet1."""
