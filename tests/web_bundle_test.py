"""The page's script as the site's writer joins it with esbuild: the joined
script does in node what the modules do, and a module left over or a name
not exported stops the build."""
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "web"))
from make_site import bundle_script  # noqa: E402

ESBUILD = os.environ.get("ESBUILD", "esbuild")
LEAF = 'export const name = "leaf";\nconst hidden = 1;\nexport function twice(x) { return 2 * x; }\n'
USES_LEAF = 'import {twice} from "./leaf.js";\nconst hidden = 2;\nexport class Box {\n' \
            '    value() { return twice(hidden); }\n}\n'
ENTRY = 'import {Box} from "./box.js";\nimport {name, twice} from "./leaf.js";\n' \
        'const hidden = 3;\nconsole.log(name, new Box().value(), twice(hidden), ' \
        '"ёлка", await Promise.resolve("awaited"));\n'

REFUSED = [
    ("a module nobody imports", {"main.js": 'console.log(1);\n', "leaf.js": LEAF}),
    ("a name the module does not export", {"main.js": 'import {hidden} from "./leaf.js";\n'
                                                      'console.log(hidden);\n',
                                           "leaf.js": LEAF}),
    ("a module that is not there", {"main.js": 'import {twice} from "./gone.js";\n'
                                               'console.log(twice(1));\n'}),
]


def written(folder, modules):
    """The modules written into folder; their paths, the entry first."""
    paths = []
    for name, text in modules.items():
        paths.append(Path(folder, name))
        paths[-1].write_text(text, encoding="utf-8")
    return paths


class Bundle(unittest.TestCase):
    def test_joined_modules_keep_their_own_names_and_run_in_order(self):
        with tempfile.TemporaryDirectory() as folder, tempfile.TemporaryDirectory() as elsewhere:
            modules = written(folder, {"main.js": ENTRY, "box.js": USES_LEAF, "leaf.js": LEAF})
            # Run away from the modules: the script must need none of them.
            script = Path(elsewhere, "main.mjs")
            script.write_text(bundle_script(ESBUILD, modules), encoding="utf-8")
            run = subprocess.run(["node", script], capture_output=True, encoding="utf-8",
                                 check=True)
        self.assertEqual(run.stdout, "leaf 4 6 ёлка awaited\n")

    def test_what_cannot_be_joined_stops_the_build(self):
        for name, modules in REFUSED:
            with self.subTest(name), tempfile.TemporaryDirectory() as folder:
                paths = written(folder, modules)
                with self.assertRaises(SystemExit):
                    bundle_script(ESBUILD, paths)


if __name__ == "__main__":
    unittest.main()
