"""The page's modules joined into one module script.

A page that loads one script starts sooner than one that loads its modules
one by one, above all from a service worker's cache. The modules stay as
they are written; this joins them the way the browser would link them: each
module's code in a function of its own, so that its names stay its own, run
once, before the modules that import it, and handing on what it exports.
The entry module comes last, at the top level, so that it may await.

Only the forms the page's modules use are understood, and anything else is
refused rather than joined wrongly: `import {a, b} from "./x.js";` on a line
of its own, and `export` before a declaration of a class, function, const or
let.
"""
import re

IMPORT = re.compile(r'^import\s*\{([^}]*)\}\s*from\s*"\./([\w.-]+\.js)";[ \t]*$', re.M)
EXPORT = re.compile(r"^export\s+(?:(?:async\s+)?function\*?|class|const|let)\s+([A-Za-z_$][\w$]*)",
                    re.M)
# What a module could do that this does not join.
UNJOINABLE = re.compile(r"^\s*(?:import\b(?!\.meta)|export\b)|\bimport\s*\(", re.M)


class BundleError(Exception):
    pass


def _parse(name, text):
    imports = [(source, [n.strip() for n in names.split(",") if n.strip()])
               for names, source in IMPORT.findall(text)]
    exports = EXPORT.findall(text)
    body = EXPORT.sub(lambda m: m.group(0)[len("export"):].lstrip(), IMPORT.sub("", text))
    left = UNJOINABLE.search(body)
    if left:
        line = body.count("\n", 0, left.start()) + 1
        raise BundleError("%s: cannot join the module: %r" % (name, body.splitlines()[line - 1]))
    return imports, exports, body


def _binding(name):
    return "module_" + re.sub(r"\W", "_", name)


def bundle(modules, all_used=True):
    """modules: [(file name, text)], the entry module first. Returns the
    text of one module script that does what the entry module does; unless
    `all_used` is false, every module given must be imported."""
    parsed = {name: _parse(name, text) for name, text in modules}
    order, visiting = [], set()

    def visit(name, importer):
        if name in order:
            return
        if name not in parsed:
            raise BundleError("%s imports %s, which is not among the modules" % (importer, name))
        if name in visiting:
            raise BundleError("%s: the modules import one another in a circle" % name)
        visiting.add(name)
        for source, _ in parsed[name][0]:
            visit(source, name)
        visiting.discard(name)
        order.append(name)

    entry = modules[0][0]
    visit(entry, entry)
    unused = [name for name, _ in modules if name not in order]
    if unused and all_used:
        raise BundleError("not imported by %s: %s" % (entry, ", ".join(unused)))

    parts = []
    for name in order:
        imports, exports, body = parsed[name]
        for source, names in imports:
            missing = [n for n in names if n not in parsed[source][1]]
            if missing:
                raise BundleError("%s imports %s from %s, which does not export it"
                                  % (name, ", ".join(missing), source))
        taken = "".join("const {%s} = %s;\n" % (", ".join(names), _binding(source))
                        for source, names in imports)
        if name == entry:
            parts.append("// %s\n%s%s" % (name, taken, body))
        else:
            parts.append("// %s\nconst %s = (() => {\n%s%s\nreturn {%s};\n})();\n"
                         % (name, _binding(name), taken, body.rstrip("\n"), ", ".join(exports)))
    return "\n".join(parts)
