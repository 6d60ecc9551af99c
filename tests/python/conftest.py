"""Fixtures of the Python package's tests: the installed grx program and fresh copies of the demo."""

import os
import subprocess

import pytest

SOURCE_DIR = os.environ.get("GRX_SOURCE_DIR", os.path.join(os.path.dirname(__file__), "..", ".."))
DEMO = os.path.join(SOURCE_DIR, "examples", "demo.json")


def grx_program(*args, cwd=None):
    """Runs the installed grx; its standard output."""
    program = os.path.join(os.environ["GRX_BIN"], "grx")
    done = subprocess.run([program, *args], cwd=cwd, capture_output=True, text=True, check=False)
    if done.returncode != 0:
        raise AssertionError("grx %s failed: %s%s" % (" ".join(args), done.stdout, done.stderr))
    return done.stdout


@pytest.fixture
def demo_db(tmp_path):
    """The demo as a project file of its own."""
    path = tmp_path / "demo.db"
    grx_program("import", DEMO, str(path))
    return str(path)
