"""The page's modules joined into one script: run by node, the joined script
does what the modules do; what it cannot join is refused, not joined wrongly."""
import os
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "web"))
from bundle import BundleError, bundle  # noqa: E402

LEAF = 'export const name = "leaf";\nconst hidden = 1;\nexport function twice(x) { return 2 * x; }\n'
USES_LEAF = 'import {twice} from "./leaf.js";\nconst hidden = 2;\nexport class Box {\n' \
            '    value() { return twice(hidden); }\n}\n'
ENTRY = 'import {Box} from "./box.js";\nimport {name, twice} from "./leaf.js";\n' \
        'const hidden = 3;\nconsole.log(name, new Box().value(), twice(hidden), ' \
        'await Promise.resolve("awaited"));\n'

REFUSED = [
    ("a default export", [("main.js", 'export default 1;\n')]),
    ("an export list", [("main.js", 'const a = 1;\nexport {a};\n')]),
    ("an import of everything", [("main.js", 'import * as leaf from "./leaf.js";\n'),
                                 ("leaf.js", LEAF)]),
    ("a dynamic import", [("main.js", 'const leaf = await import("./leaf.js");\n')]),
    ("a module not given", [("main.js", 'import {twice} from "./leaf.js";\n')]),
    ("a name the module does not export", [("main.js", 'import {hidden} from "./leaf.js";\n'),
                                           ("leaf.js", LEAF)]),
    ("modules importing one another", [
        ("main.js", 'import {a} from "./a.js";\n'),
        ("a.js", 'import {b} from "./b.js";\nexport const a = 1;\n'),
        ("b.js", 'import {a} from "./a.js";\nexport const b = 2;\n')]),
    ("a module nobody imports", [("main.js", 'const a = 1;\n'), ("leaf.js", LEAF)]),
]


class Bundle(unittest.TestCase):
    def test_joined_modules_keep_their_own_names_and_run_in_order(self):
        script = bundle([("main.js", ENTRY), ("box.js", USES_LEAF), ("leaf.js", LEAF)])
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "main.mjs")
            with open(path, "w", encoding="utf-8") as f:
                f.write(script)
            run = subprocess.run(["node", path], capture_output=True, text=True, check=True)
        self.assertEqual(run.stdout, "leaf 4 6 awaited\n")

    def test_what_cannot_be_joined_is_refused(self):
        for name, modules in REFUSED:
            with self.subTest(name), self.assertRaises(BundleError):
                bundle(modules)


if __name__ == "__main__":
    unittest.main()
