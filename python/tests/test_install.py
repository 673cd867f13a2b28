"""pip installs the package from the source tree without a network, and the installed package
finds the libraries."""

import ctypes.util
import os
import shutil
import subprocess
import sys

import tqvsdk
from conftest import SOURCE_DIR

MUST_SHOW = "import tqvsdk; cam = tqvsdk.open('sim'); print(cam.get_integration_time(0))"


def run(command, cwd, expect_failure=False, **environment):
    # cwd: a directory without the package ("python -c" imports from its working directory).
    env = dict(os.environ, PYTHONDONTWRITEBYTECODE="1")
    env.pop("PYTHONPATH", None)
    env.pop("TQVSDK_LIBRARY_DIR", None)
    env.update(environment)
    done = subprocess.run(command, env=env, capture_output=True, text=True, timeout=240,
                          cwd=cwd)
    assert (done.returncode != 0) == expect_failure, done.stdout + done.stderr
    return done.stderr if expect_failure else done.stdout


def test_pip_installs_from_the_source_tree_offline(tmp_path):
    # The source tree's layout, copied so that pip's build leaves nothing in the checkout.
    tree = tmp_path / "tree"
    shutil.copytree(os.path.join(SOURCE_DIR, "python"), tree / "python",
                    ignore=shutil.ignore_patterns("tests", "build", "*.egg-info", "__pycache__"))
    for part in (("src", "interface", "operations.def"), ("include", "tqvSDK.h")):
        (tree.joinpath(*part[:-1])).mkdir(parents=True, exist_ok=True)
        shutil.copy(os.path.join(SOURCE_DIR, *part), tree.joinpath(*part))
    target = tmp_path / "site"
    run([sys.executable, "-m", "pip", "install", "--no-build-isolation", "--no-index",
         "--no-deps", "--quiet", "--target", str(target), str(tree / "python")], tmp_path,
        PIP_DISABLE_PIP_VERSION_CHECK="1")
    installed = target / "tqvsdk"
    generated = os.path.join(os.path.dirname(tqvsdk.__file__), "_generated.py")
    assert (installed / "_generated.py").read_text() == open(generated).read()
    # This tree has no build to remember: the libraries are found through the variable.
    assert not (installed / "_where.py").exists()
    output = run([sys.executable, "-c", MUST_SHOW], tmp_path, PYTHONPATH=str(target),
                 TQVSDK_LIBRARY_DIR=tqvsdk.libraries().directory)
    assert float(output) == 1.0
    if ctypes.util.find_library("tqvSDK") is None:  # not installed on this machine
        failed = run([sys.executable, "-c", MUST_SHOW], tmp_path, expect_failure=True,
                     PYTHONPATH=str(target))
        assert "TQVSDK_LIBRARY_DIR" in failed
