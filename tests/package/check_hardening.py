#!/usr/bin/env python3
"""scripts/check-hardening.sh on small programs built with Debian's build flags, whole and with one protection
taken out: the whole one must pass on this release and architecture, and each one missing a protection that a
program built here can carry must fail. hardening-check itself and readelf judge what a program carries.

    check_hardening.py CHECK_HARDENING_SH CXX
"""
import os
import shlex
import subprocess
import sys
import tempfile
import unittest

SCRIPT, CXX = sys.argv[1], sys.argv[2]

# A local array for the stack protector and a bounded write the compiler can fortify (__snprintf_chk).
SOURCE = r"""
#include <cstdio>
int main(int argc, char** argv)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", argv[0], argc);
    std::puts(text);
    return 0;
}
"""

# (row, flags put after Debian's, the ELF note that shows the protection where the flags give it)
ROWS = [
    ("whole", [], None),
    ("no PIE", ["-fno-PIE", "-no-pie"], None),
    ("no stack protector", ["-fno-stack-protector"], None),
    ("no fortified calls", ["-U_FORTIFY_SOURCE", "-D_FORTIFY_SOURCE=0"], None),
    ("no RELRO", ["-Wl,-z,norelro"], None),
    ("lazy binding", ["-Wl,-z,lazy"], None),
    ("no control-flow protection", ["-fcf-protection=none"], "x86 feature: IBT, SHSTK"),
    ("no branch protection", ["-mbranch-protection=none"], "AArch64 feature: BTI, PAC"),
]


def build_flags(name):
    env = dict(os.environ, DEB_BUILD_MAINT_OPTIONS="hardening=+all")
    return shlex.split(subprocess.run(["dpkg-buildflags", "--get", name], env=env, check=True,
                                      capture_output=True, text=True).stdout)


class CheckHardening(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.source = os.path.join(cls.folder.name, "sample.cpp")
        with open(cls.source, "w") as f:
            f.write(SOURCE)
        cls.flags = build_flags("CPPFLAGS") + build_flags("CXXFLAGS") + ["-O2"]
        cls.ldflags = build_flags("LDFLAGS")
        cls.whole_notes = cls.notes(cls.build("whole", []))

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    @classmethod
    def build(cls, name, extra):
        program = os.path.join(cls.folder.name, name.replace(" ", "-"))
        subprocess.run([CXX, *cls.flags, cls.source, *cls.ldflags, *extra, "-o", program], check=True)
        return program

    @staticmethod
    def notes(program):
        return subprocess.run(["readelf", "-n", program], check=True, capture_output=True, text=True).stdout

    def test_rows(self):
        for name, extra, note in ROWS:
            with self.subTest(name):
                if note is not None and note not in self.whole_notes:
                    self.skipTest("no program built here carries it")
                program = self.build(name, extra)
                if note is not None:
                    self.assertNotIn(note, self.notes(program), "the flag did not take the protection out")
                run = subprocess.run([SCRIPT, program], capture_output=True, text=True)
                self.assertEqual(run.returncode, 0 if name == "whole" else 1, run.stdout + run.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
