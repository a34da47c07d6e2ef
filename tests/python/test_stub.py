"""The type stub names exactly what the module has, with the same parameters."""
import ast
import inspect
import pathlib

import quillmark

STUB = pathlib.Path(__file__).resolve().parents[2] / "python" / "quillmark.pyi"


def stub_callables():
    tree = ast.parse(STUB.read_text())
    found = {}
    for node in tree.body:
        if isinstance(node, ast.FunctionDef):
            found[node.name] = node
        elif isinstance(node, ast.ClassDef):
            found[node.name] = None
            for item in node.body:
                if isinstance(item, ast.FunctionDef):
                    # A property has no call signature: its name is all there is to compare.
                    is_property = any(getattr(d, "id", None) == "property" for d in item.decorator_list)
                    found[f"{node.name}.{item.name}"] = None if is_property else item
    return found


def module_callables():
    found = {}
    for name, obj in vars(quillmark).items():
        if name.startswith("__"):
            continue
        found[name] = obj
        if isinstance(obj, type) and obj.__module__ == "quillmark" and not issubclass(obj, Exception) \
                and not issubclass(obj, __import__("enum").Enum):
            for attr in vars(obj):
                if not attr.startswith("_"):
                    found[f"{name}.{attr}"] = getattr(obj, attr)
    return found


def test_stub_matches_module():
    stub, module = stub_callables(), module_callables()
    stub = {n: node for n, node in stub.items() if not n.startswith("_")}
    names = {n for n in stub if not n.endswith(".__new__")}
    assert names == set(module)
    for name, node in stub.items():
        if node is None:
            continue
        obj = module[name.removesuffix(".__new__")] if name.endswith(".__new__") else module[name]
        params = [a.arg for a in node.args.args]
        if params and params[0] in ("self", "cls"):
            params = params[1:]
        real = [p for p in inspect.signature(obj).parameters if p != "self"]
        assert params == real, name
