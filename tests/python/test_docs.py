"""docs/python.md's session, run as written: its shell step, its Python, and what it prints."""

import contextlib
import io
import os
import re
import shlex
import shutil

from conftest import SOURCE_DIR, grx_program


def blocks(text, language):
    return re.findall(r"```%s\n(.*?)```" % language, text, flags=re.S)


def test_the_session_of_docs_python_md_runs_as_written(tmp_path, monkeypatch):
    with open(os.path.join(SOURCE_DIR, "docs", "python.md"), encoding="utf-8") as f:
        text = f.read()
    (shell,) = blocks(text, "sh")
    (session,) = blocks(text, "python")
    (printed,) = blocks(text, "text")
    os.makedirs(tmp_path / "examples")
    shutil.copy(os.path.join(SOURCE_DIR, "examples", "demo.json"), tmp_path / "examples")
    monkeypatch.chdir(tmp_path)
    for line in shell.strip().splitlines():
        words = shlex.split(line)
        assert words[0] == "grx"
        grx_program(*words[1:], cwd=str(tmp_path))
    out = io.StringIO()
    with contextlib.redirect_stdout(out):
        exec(compile(session, "docs/python.md", "exec"), {})
    assert out.getvalue() == printed
