"""What the packaging checks share: failing with a message, finding a tool."""

import shutil
import sys


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def tool(name):
    path = shutil.which(name)
    if not path:
        fail("%s is not installed (scripts/install-deps installs it)" % name)
    return path
