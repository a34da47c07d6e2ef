"""The module surface: attributes, signatures, types, enumerations and argument binding."""
import gc
import importlib.util
import inspect
import weakref
import pathlib

import pytest
import quillmark
from quillmark import AlignSpec, Editor, HorizAlignment, Scanner, VertAlignment


def test_attributes_in_order_and_empty_docstring():
    own = [k for k in vars(quillmark) if not (k.startswith("__") and k.endswith("__"))]
    assert own == ["Editor", "Scanner", "scan_excel", "create_excel", "AlignSpec",
                   "HorizAlignment", "VertAlignment"]
    assert quillmark.__doc__ == ""
    assert quillmark.scan_excel.__module__ == "quillmark"
    assert quillmark.create_excel.__self__ is quillmark


@pytest.mark.parametrize("obj, text", [
    (Editor, "(path, sheet_name=None)"),
    (Scanner, "(path)"),
    (AlignSpec, "(horiz=None, vert=None, wrap=False)"),
    (quillmark.create_excel, "(path, sheet_name='Sheet1')"),
    (quillmark.scan_excel, "(path)"),
    (Editor.open, "(path, sheet_name=None)"),
    (Editor.create, "(path, sheet_name='Sheet1')"),
    (Scanner.get_sheets, "(self, /)"),
    (Scanner.open_editor, "(self, /, sheet_name=None)"),
])
def test_signatures(obj, text):
    assert str(inspect.signature(obj)) == text


def test_every_callable_docstring_is_its_signature_only():
    callables = [quillmark.create_excel, quillmark.scan_excel]
    callables += [getattr(Editor, n) for n in vars(Editor) if not n.startswith("_") and callable(getattr(Editor, n))]
    callables += [getattr(Scanner, n) for n in vars(Scanner) if not n.startswith("_")]
    for f in callables:
        assert f.__text_signature__, f
        assert not f.__doc__, f


@pytest.mark.parametrize("cls", [Editor, Scanner, AlignSpec])
def test_classes_cannot_be_subclassed_and_have_no_dict(cls):
    with pytest.raises(TypeError):
        type("Sub", (cls,), {})
    assert cls.__name__ == cls.__qualname__ == cls.__name__
    assert "__dict__" not in dir(cls) and cls.__weakrefoffset__ == 0
    assert cls.__init__ is object.__init__


def test_enumerations():
    assert [m.name for m in HorizAlignment] == ["Left", "Center", "Right", "Fill", "Justify"]
    assert [m.name for m in VertAlignment] == ["Top", "Center", "Bottom", "Justify"]
    a, b = HorizAlignment.Left.value, HorizAlignment.Center.value
    assert a is not b and a != b and a != 0 and HorizAlignment.Left != 0
    assert type(a).__name__ == "HorizAlignment" and type(VertAlignment.Top.value).__name__ == "VertAlignment"
    assert type(a).__doc__ is None
    for value_type in (type(a), type(VertAlignment.Top.value)):
        with pytest.raises(TypeError):
            value_type()
        with pytest.raises(TypeError):
            type("Sub", (value_type,), {})
    assert not hasattr(quillmark, "HorizAlignmentValue")


def test_align_spec_conversions():
    AlignSpec()
    AlignSpec(HorizAlignment.Justify, VertAlignment.Justify, True)
    with pytest.raises(AttributeError):
        AlignSpec(horiz="Left")
    with pytest.raises(TypeError, match=r"^argument 'wrap': 'int' object is not an instance of 'bool'$"):
        AlignSpec(wrap=1)
    with pytest.raises(TypeError, match=r"^argument 'wrap': 'None' is not an instance of 'bool'$"):
        AlignSpec(wrap=None)
    with pytest.raises(TypeError, match=r"^'VertAlignment' object is not an instance of 'HorizAlignment'$"):
        AlignSpec(horiz=VertAlignment.Top)
    with pytest.raises(TypeError, match=r"^'HorizAlignment' object is not an instance of 'VertAlignment'$"):
        AlignSpec(vert=HorizAlignment.Left)

    class Fake:
        value = 3
    with pytest.raises(TypeError, match=r"^'int' object is not an instance of 'HorizAlignment'$"):
        AlignSpec(horiz=Fake())
    # wrap is converted before horiz
    with pytest.raises(TypeError, match="wrap"):
        AlignSpec(horiz="Left", wrap=1)
    assert not [n for n in dir(AlignSpec()) if not n.startswith("__")]


@pytest.mark.parametrize("call, message", [
    (lambda: quillmark.create_excel("a", "b", "c"),
     "create_excel() takes from 1 to 2 positional arguments but 3 were given"),
    (lambda: quillmark.scan_excel("a", "b"), "scan_excel() takes 1 positional arguments but 2 were given"),
    (lambda: quillmark.scan_excel(), "scan_excel() missing 1 required positional argument: 'path'"),
    (lambda: quillmark.scan_excel(path="a", paht="b"), "scan_excel() got an unexpected keyword argument 'paht'"),
    (lambda: quillmark.create_excel("a", path="b"), "create_excel() got multiple values for argument 'path'"),
    (lambda: Editor(), "Editor.__new__() missing 1 required positional argument: 'path'"),
    (lambda: Editor.open(), "Editor.open() missing 1 required positional argument: 'path'"),
    (lambda: Scanner(1, 2), "Scanner.__new__() takes 1 positional arguments but 2 were given"),
    (lambda: AlignSpec(1, 2, 3, 4), "AlignSpec.__new__() takes from 0 to 3 positional arguments but 4 were given"),
    (lambda: AlignSpec(color=1), "AlignSpec.__new__() got an unexpected keyword argument 'color'"),
    (lambda: quillmark.create_excel(1, sheet_name=None),
     "argument 'path': expected str, bytes or os.PathLike object, not int"),
    (lambda: quillmark.create_excel(b"x.xlsx"), "argument 'path': 'bytes' object is not an instance of 'str'"),
    (lambda: quillmark.create_excel("x.xlsx", None), "argument 'sheet_name': 'None' is not an instance of 'str'"),
    (lambda: Editor.create("x.xlsx", None), "argument 'sheet_name': 'None' is not an instance of 'str'"),
    (lambda: Editor("x.xlsx", 5), "argument 'sheet_name': 'int' object is not an instance of 'str'"),
])
def test_binding_and_conversion_messages(call, message, tmp_path, monkeypatch):
    monkeypatch.chdir(tmp_path)
    with pytest.raises(TypeError) as info:
        call()
    assert str(info.value) == message
    assert not list(tmp_path.iterdir())  # refused before anything touched the disk


def test_get_sheets_takes_no_arguments(tmp_path):
    with pytest.raises(TypeError):
        Scanner(tmp_path / "x.xlsx").get_sheets(1)


def test_path_conversion_cause_and_path_objects(tmp_path):
    class BadPath:
        def __fspath__(self):
            return b"x.xlsx"
    with pytest.raises(TypeError, match=r"^argument 'path': 'bytes' object is not an instance of 'str'$"):
        quillmark.scan_excel(BadPath())

    class Boom:
        def __fspath__(self):
            raise TypeError("boom") from KeyError("k")
    with pytest.raises(TypeError) as info:
        quillmark.scan_excel(Boom())
    assert str(info.value) == "argument 'path': boom"
    assert isinstance(info.value.__cause__, KeyError)

    class Other:
        def __fspath__(self):
            raise ValueError("not prefixed")
    with pytest.raises(ValueError, match="^not prefixed$"):
        quillmark.scan_excel(Other())
    path = tmp_path / "book.xlsx"
    quillmark.create_excel(pathlib.Path(path))
    assert quillmark.scan_excel(path) == ["Sheet1"]


def quoted(names):
    items = [f"'{n}'" for n in names]
    if len(items) == 2:
        return " and ".join(items)
    return ", ".join(items[:-1] + [f"and {items[-1]}"]) if len(items) > 2 else items[0]


def bound_callables(editor, path):
    yield from ((f"Editor.{n}()", getattr(editor, n)) for n in vars(Editor)
                if not n.startswith("_") and callable(getattr(Editor, n)) and n not in ("create", "open"))
    yield from [("Editor.open()", Editor.open), ("Editor.create()", Editor.create),
                ("Scanner.open_editor()", Scanner(path).open_editor),
                ("create_excel()", quillmark.create_excel), ("scan_excel()", quillmark.scan_excel)]


def test_binding_errors_follow_each_signature(editor, tmp_path):
    # The names the binder matches and the display name it reports must agree with the text
    # signature every callable shows.
    out = tmp_path / "out"
    out.mkdir()
    for display, method in bound_callables(editor, out / "x.xlsx"):
        params = list(inspect.signature(method).parameters.values())
        required = [p.name for p in params if p.default is p.empty]
        expected = []
        if required:
            count = len(required)
            expected.append(((), {}, f"{display} missing {count} required positional "
                                     f"argument{'s' if count > 1 else ''}: {quoted(required)}"))
            expected.append(((None,), {required[0]: None}, f"{display} got multiple values for argument '{required[0]}'"))
        given = len(params) + 1
        span = f"{len(required)}" if len(required) == len(params) else f"from {len(required)} to {len(params)}"
        expected.append(((None,) * given, {}, f"{display} takes {span} positional arguments but {given} "
                                             f"{'was' if given == 1 else 'were'} given"))
        expected.append(((), {"zz": 1}, f"{display} got an unexpected keyword argument 'zz'"))
        for args, kwargs, message in expected:
            with pytest.raises(TypeError) as info:
                method(*args, **kwargs)
            assert str(info.value) == message, display
    assert not list(out.iterdir())


def load_copy():
    spec = importlib.util.find_spec("quillmark")
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def test_each_module_object_has_its_own_classes_and_is_freed(tmp_path):
    copy = load_copy()
    assert copy.Editor is not Editor and copy.AlignSpec is not AlignSpec
    path = tmp_path / "book.xlsx"
    copy.create_excel(path)
    made = [copy.Editor(path), copy.Editor.open(path), copy.Editor.create(tmp_path / "new.xlsx"),
            copy.Scanner(path).open_editor()]
    assert all(type(ed) is copy.Editor for ed in made) and type(Editor.open(path)) is Editor
    made[0].set_alignment("A1", copy.AlignSpec(copy.HorizAlignment.Left)).set_font("A1", "Arial", 10, align=None)
    with pytest.raises(TypeError, match=r"^argument 'spec': 'AlignSpec' object is not an instance of 'AlignSpec'$"):
        made[0].set_alignment("A1", AlignSpec())
    with pytest.raises(TypeError, match=r"^'HorizAlignment' object is not an instance of 'HorizAlignment'$"):
        copy.AlignSpec(HorizAlignment.Left)
    gone = weakref.ref(copy)
    del copy, made
    gc.collect()
    assert gone() is None
