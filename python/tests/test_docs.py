"""The worked example of docs/python.md runs as written."""

import contextlib
import io
import os
import re

from conftest import SOURCE_DIR


def test_the_worked_example_runs(tmp_path, monkeypatch):
    with open(os.path.join(SOURCE_DIR, "docs", "python.md"), encoding="utf-8") as doc:
        example = re.search(r"## A worked example\n.*?```python\n(.*?)```", doc.read(), re.S)
    monkeypatch.chdir(tmp_path)
    printed = io.StringIO()
    with contextlib.redirect_stdout(printed):
        exec(compile(example.group(1), "docs/python.md", "exec"), {})
    lines = printed.getvalue().splitlines()
    assert lines[:3] == ["2.5", "640 512", "WZN"]
    assert lines[3] == "166 Invalid argument"
    assert "21/21 bytes" in lines and lines[-1] == "640 1"
    assert (tmp_path / "flat.sbp").stat().st_size == 26 + 640 * 512
