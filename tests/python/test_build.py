"""Configuring the build: a missing dependency stops it with one line naming what to install."""
import os
import pathlib
import shutil
import subprocess
import sys

import pytest

ROOT = pathlib.Path(__file__).resolve().parents[2]
NO_SOURCES = ["-DQM_THIRD_PARTY=/nonexistent"]


@pytest.mark.parametrize("args, env, line", [
    (["-DQM_DEPS=SYSTEM"], {"PKG_CONFIG_LIBDIR": "/nonexistent"}, "libzip not found: apt-get install libzip-dev"),
    ([*NO_SOURCES, "-DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON"], {},
     "pkg-config (needed to find libzip) not found: apt-get install pkg-config "
     "(or put the pinned sources in third_party/: third_party/fetch.sh)"),
    ([*NO_SOURCES, "-DCMAKE_DISABLE_FIND_PACKAGE_EXPAT=ON"], {},
     "expat not found: apt-get install libexpat1-dev (or put the pinned sources in third_party/: third_party/fetch.sh)"),
    (["-DQM_DEPS=SYSTEM", "-DCMAKE_DISABLE_FIND_PACKAGE_EXPAT=ON"], {}, "expat not found: apt-get install libexpat1-dev"),
    (["-DPython_EXECUTABLE=/nonexistent/python3.14"], {},
     "quillmark builds for CPython 3.13 with its headers only: point -DPython_EXECUTABLE at a python3.13 "
     "(found: /nonexistent/python3.14 )"),
    (["-DQM_DEPS=STATIC"], {}, "QM_DEPS must be AUTO, SYSTEM or BUNDLED, not 'STATIC'"),
])
def test_missing_dependency_is_named_in_one_line(tmp_path, args, env, line):
    result = configure(tmp_path, args, env)
    assert result.returncode != 0
    errors = [text.strip() for text in result.stderr.splitlines() if text.startswith("    ")]
    assert errors == [line], result.stderr
    assert "Could NOT find" not in result.stdout + result.stderr


def test_missing_system_library_falls_back_to_the_pinned_sources(tmp_path):
    result = configure(tmp_path, ["-DCMAKE_DISABLE_FIND_PACKAGE_EXPAT=ON"], {"PKG_CONFIG_LIBDIR": "/nonexistent"})
    assert result.returncode == 0, result.stderr
    assert "quillmark: libzip bundled, expat bundled" in result.stdout


def configure(tmp_path, args, env):
    cmake = shutil.which("cmake")
    if cmake is None:
        pytest.fail("cmake is not on PATH")
    return subprocess.run(
        [cmake, "-S", str(ROOT), "-B", str(tmp_path / "build"), "-DQM_TESTS=OFF",
         f"-DPython_EXECUTABLE={sys.executable}", *args],
        env={**os.environ, **env}, capture_output=True, text=True)
