"""Adding, switching, renaming and deleting worksheets from Python."""
import os

import pytest
from conftest import sheet_xml
from quillmark import Editor

EMPTY = "Sheet name cannot be empty"
LONG = "Sheet name cannot be longer than 31 characters"
FORBIDDEN = "Sheet name contains forbidden Excel characters (: \\ / ? * [ ])"


@pytest.fixture
def three(make_book):
    return make_book(sheets=[("Data", sheet_xml()), ("Summary", sheet_xml()), ("Notes", sheet_xml())])


def test_every_method_returns_the_editor_itself(three):
    editor = Editor(three)
    chained = (editor.add_worksheet("A").add_worksheet_at("B", 0).with_worksheet("Summary")
               .rename_worksheet("Summary", "Total").delete_worksheet("Notes"))
    assert chained is editor


@pytest.mark.parametrize("call", [
    lambda e, n: e.add_worksheet(n),
    lambda e, n: e.add_worksheet_at(n, 0),
    lambda e, n: e.with_worksheet(n),
    lambda e, n: e.delete_worksheet(n),
    lambda e, n: e.rename_worksheet(n, "Fine"),
    lambda e, n: e.rename_worksheet("Data", n),
], ids=["add", "add_at", "with", "delete", "rename_old", "rename_new"])
@pytest.mark.parametrize("name, message", [
    (" \u3000\t", EMPTY), ("\u00e9" * 32, LONG), ("Q1/Q2", FORBIDDEN), ("Data[1]", FORBIDDEN),
])
def test_names_are_checked_before_the_core_runs(three, call, name, message):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        call(editor, name)
    assert str(info.value) == message
    # Nothing was done: the catalogue is as it was.
    editor.add_worksheet("Data2").with_worksheet("Notes")


def test_names_are_trimmed(three):
    editor = Editor(three)
    editor.add_worksheet("  New\u00a0").with_worksheet("New").rename_worksheet(" New ", "\tOld ")
    editor.with_worksheet("Old").delete_worksheet("  Old")
    with pytest.raises(RuntimeError, match="^Sheet `Old` not found in workbook.xml$"):
        editor.with_worksheet("Old")
    editor.add_worksheet("x" * 31)  # the limit counts the trimmed name


def test_rename_checks_old_name_before_new_name(three):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        editor.rename_worksheet("  ", "a/b")
    assert str(info.value) == EMPTY


@pytest.mark.parametrize("args, exc, message", [
    ((5, 0), TypeError, "argument 'sheet_name': 'int' object is not an instance of 'str'"),
    (("  ", "1"), TypeError, "argument 'index': 'str' object cannot be interpreted as an integer"),
    (("  ", 1.0), TypeError, "argument 'index': 'float' object cannot be interpreted as an integer"),
    (("  ", None), TypeError, "argument 'index': 'NoneType' object cannot be interpreted as an integer"),
    (("  ", -1), OverflowError, "can't convert negative int to unsigned"),
    (("  ", 2**64), OverflowError, None),
])
def test_add_at_converts_the_index_before_checking_the_name(three, args, exc, message):
    with pytest.raises(exc) as info:
        Editor(three).add_worksheet_at(*args)
    if message is not None:
        assert str(info.value) == message
    if exc is OverflowError:
        assert not str(info.value).startswith("argument")


@pytest.mark.parametrize("call, message", [
    (lambda e: e.add_worksheet(), "Editor.add_worksheet() missing 1 required positional argument: 'sheet_name'"),
    (lambda e: e.add_worksheet_at("x"),
     "Editor.add_worksheet_at() missing 1 required positional argument: 'index'"),
    (lambda e: e.add_worksheet_at(),
     "Editor.add_worksheet_at() missing 2 required positional arguments: 'sheet_name' and 'index'"),
    (lambda e: e.with_worksheet("a", "b"),
     "Editor.with_worksheet() takes 1 positional arguments but 2 were given"),
    (lambda e: e.rename_worksheet("a", old_name="b"),
     "Editor.rename_worksheet() got multiple values for argument 'old_name'"),
    (lambda e: e.delete_worksheet(name="a"), "Editor.delete_worksheet() got an unexpected keyword argument 'name'"),
    (lambda e: e.rename_worksheet(old_name=1, new_name="x"),
     "argument 'old_name': 'int' object is not an instance of 'str'"),
    (lambda e: e.rename_worksheet("x", None), "argument 'new_name': 'None' is not an instance of 'str'"),
])
def test_binding_messages(three, call, message):
    with pytest.raises(TypeError) as info:
        call(Editor(three))
    assert str(info.value) == message


def test_keywords_work(three):
    editor = Editor(three)
    editor.add_worksheet_at(index=0, sheet_name="K").rename_worksheet(new_name="L", old_name="K")
    editor.with_worksheet(sheet_name="L").delete_worksheet(sheet_name="L").add_worksheet(sheet_name="M")


@pytest.mark.parametrize("call, message", [
    (lambda e: e.add_worksheet("Summary"), "Sheet Summary already exists"),
    (lambda e: e.add_worksheet_at("Notes", 1), "Sheet Notes already exists"),
    (lambda e: e.with_worksheet("summary"), "Sheet `summary` not found in workbook.xml"),
    (lambda e: e.rename_worksheet("Data", "Notes"), "Sheet `Notes` already exists"),
    (lambda e: e.rename_worksheet("Gone", "Other"), "Sheet `Gone` not found"),
    (lambda e: e.delete_worksheet("Gone"), "Sheet `Gone` not found in workbook.xml"),
])
def test_core_failures_are_runtime_errors_and_the_editor_stays_usable(three, call, message):
    editor = Editor(three)
    with pytest.raises(RuntimeError) as info:
        call(editor)
    assert str(info.value) == message
    assert info.value.__cause__ is None
    editor.with_worksheet("Summary").with_worksheet("Data")


def test_case_differing_names_may_coexist(three):
    editor = Editor(three)
    editor.add_worksheet("data").rename_worksheet("Summary", "NOTES").rename_worksheet("Data", "Data")
    editor.with_worksheet("data").with_worksheet("Data").with_worksheet("NOTES").with_worksheet("Notes")


def test_visited_sheets_stay_in_memory_when_the_source_is_gone(three, tmp_path):
    editor = Editor(three, "Data")
    editor.with_worksheet("Summary").add_worksheet("New").with_worksheet("Data")
    os.remove(three)
    editor.with_worksheet("Summary").with_worksheet("New").with_worksheet("Data")
    with pytest.raises(RuntimeError, match="^No such file or directory$"):
        editor.with_worksheet("Notes")  # never read
    with pytest.raises(RuntimeError, match="^No such file or directory$"):
        editor.add_worksheet("Another")  # part numbers need the source's entry names
    editor.rename_worksheet("Data", "Renamed").delete_worksheet("Summary").with_worksheet("Renamed")


def test_deleting_every_sheet_leaves_sheet1(three):
    editor = Editor(three, "Summary")
    editor.delete_worksheet("Data").delete_worksheet("Summary").delete_worksheet("Notes")
    editor.with_worksheet("Sheet1").delete_worksheet("Sheet1").with_worksheet("Sheet1")
    with pytest.raises(RuntimeError, match="^Sheet Sheet1 already exists$"):
        editor.add_worksheet("Sheet1")
