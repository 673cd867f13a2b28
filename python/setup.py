"""Builds the tqvsdk package (metadata in pyproject.toml).

The package needs tqvsdk/_generated.py, the descriptors that generate.py writes from the operation
table and the public header. A package assembled by the build (build/python) or the installation
(<prefix>/share/tqvSDK/python) brings it along; from the source tree it is generated here from
../src/interface/operations.def and ../include/tqvSDK.h.

tqvsdk/_where.py records where the libraries are. The assembled packages bring it along; from the
source tree it records $TQVSDK_LIBRARY_DIR when set at installation, else the README's build
directory (../build/src) when that holds the libraries.
"""

import os
import sys

from setuptools import setup
from setuptools.command.build_py import build_py

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_TREE = os.path.dirname(HERE)


class BuildWithDescriptors(build_py):
    def run(self):
        super().run()
        package = os.path.join(self.build_lib, "tqvsdk")
        if not os.path.exists(os.path.join(HERE, "tqvsdk", "_generated.py")):
            sys.path.insert(0, HERE)
            import generate

            status = generate.main([
                "--table", os.path.join(SOURCE_TREE, "src", "interface", "operations.def"),
                "--header", os.path.join(SOURCE_TREE, "include", "tqvSDK.h"),
                "--output", os.path.join(package, "_generated.py")])
            if status:
                raise SystemExit("tqvsdk: the descriptors could not be generated")
        if not os.path.exists(os.path.join(HERE, "tqvsdk", "_where.py")):
            directory = os.environ.get("TQVSDK_LIBRARY_DIR")
            built = os.path.join(SOURCE_TREE, "build", "src")
            if not directory and os.path.exists(os.path.join(built, "libtqvBridge.so.1")):
                directory = built
            if directory:
                with open(os.path.join(package, "_where.py"), "w", encoding="utf-8") as where:
                    where.write(f"LIBRARY_DIR = {os.path.abspath(directory)!r}\n")


setup(cmdclass={"build_py": BuildWithDescriptors})
