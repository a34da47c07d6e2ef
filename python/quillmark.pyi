"""Edit existing .xlsx workbooks in place: the parts you change are spliced, the rest is copied raw."""
import enum
import os
from typing import final

_Path = str | os.PathLike[str]

def create_excel(path: _Path, sheet_name: str = "Sheet1") -> None:
    """Write a new workbook with one empty sheet (missing folders are created)."""

def scan_excel(path: _Path) -> list[str]:
    """The workbook's sheet names, in workbook order."""

@final
class Editor:
    """An open workbook with one current sheet. Edits stay in memory until `save`."""

    def __new__(cls, path: _Path, sheet_name: str | None = None) -> Editor:
        """Open the named sheet, or the first one."""
    @staticmethod
    def create(path: _Path, sheet_name: str = "Sheet1") -> Editor:
        """Write a new one-sheet workbook at `path` and open it."""
    @staticmethod
    def open(path: _Path, sheet_name: str | None = None) -> Editor:
        """Same as `Editor(path, sheet_name)`."""
    def save(self, path: _Path) -> None:
        """Write the workbook to `path` (which may be the file it was opened from).

        The new file is written beside the target and renamed onto it when complete: a failed
        save leaves the target as it was. Untouched parts are copied in compressed form.
        """

@final
class Scanner:
    """Remembers a path; every call reads the file anew."""

    def __new__(cls, path: _Path) -> Scanner: ...
    def get_sheets(self) -> list[str]:
        """The sheet names; failures read "RuntimeError: <message>"."""
    def open_editor(self, sheet_name: str | None = None) -> Editor:
        """Open an independent Editor on the file."""

@final
class AlignSpec:
    def __new__(cls, horiz: HorizAlignment | None = None, vert: VertAlignment | None = None,
                wrap: bool = False) -> AlignSpec: ...

class HorizAlignment(enum.Enum):
    Left = ...
    Center = ...
    Right = ...
    Fill = ...
    Justify = ...

class VertAlignment(enum.Enum):
    Top = ...
    Center = ...
    Bottom = ...
    Justify = ...
