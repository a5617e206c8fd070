"""The page's script as the site's writer joins it with esbuild: the joined
script does in node what the modules do, and a module left over or a name
not exported stops the build."""
import os
import subprocess
import sys

import pytest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir, "web"))
from make_site import bundle_script  # noqa: E402

ESBUILD = os.environ.get("ESBUILD", "esbuild")
LEAF = 'export const name = "leaf";\nconst hidden = 1;\nexport function twice(x) { return 2 * x; }\n'
USES_LEAF = 'import {twice} from "./leaf.js";\nconst hidden = 2;\nexport class Box {\n' \
            '    value() { return twice(hidden); }\n}\n'
ENTRY = 'import {Box} from "./box.js";\nimport {name, twice} from "./leaf.js";\n' \
        'const hidden = 3;\nconsole.log(name, new Box().value(), twice(hidden), ' \
        '"ёлка", await Promise.resolve("awaited"));\n'


def written(folder, modules):
    """The modules written into folder; their paths, the entry first."""
    for name, text in modules.items():
        (folder / name).write_text(text, encoding="utf-8")
    return [folder / name for name in modules]


def test_joined_modules_keep_their_own_names_and_run_in_order(tmp_path):
    (tmp_path / "modules").mkdir()
    modules = written(tmp_path / "modules", {"main.js": ENTRY, "box.js": USES_LEAF, "leaf.js": LEAF})
    # Run away from the modules: the script must need none of them.
    script = tmp_path / "main.mjs"
    script.write_text(bundle_script(ESBUILD, modules), encoding="utf-8")
    run = subprocess.run(["node", script], capture_output=True, encoding="utf-8", check=True)
    assert run.stdout == "leaf 4 6 ёлка awaited\n"


@pytest.mark.parametrize("modules", [
    pytest.param({"main.js": 'console.log(1);\n', "leaf.js": LEAF}, id="a module nobody imports"),
    pytest.param({"main.js": 'import {hidden} from "./leaf.js";\nconsole.log(hidden);\n',
                  "leaf.js": LEAF}, id="a name the module does not export"),
    pytest.param({"main.js": 'import {twice} from "./gone.js";\nconsole.log(twice(1));\n'},
                 id="a module that is not there"),
])
def test_what_cannot_be_joined_stops_the_build(tmp_path, modules):
    with pytest.raises(SystemExit):
        bundle_script(ESBUILD, written(tmp_path, modules))
