#!/usr/bin/env python3
"""Checks the Windows installer. First the product facts in its tables. Then,
in a copy of a freshly booted Wine prefix under Xvfb:
- a silent install: the program, its Start-menu shortcut, its entry in the
  list of installed programs;
- the window of the program started from that shortcut;
- an install refused while the program runs;
- a silent removal that leaves no trace;
- two installs followed by one removal;
- an install into a folder of our own, which later builds replace there and
  whose removal is refused while the program runs from it.

Usage: check_msi.py MSI EXE WORK_DIR VERSION PUBLISHER FORM_JSON SOLUTIONS_JSON ASSETS
                    BOOTED_PREFIX"""

import os
import shutil
import subprocess
import sys
import uuid

from checks import expect_fields, fail, tool

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
from game import Facts  # noqa: E402
from test_window import test_start_look  # noqa: E402
from xprograms import XDesktop, XProgram  # noqa: E402
from xsession import XSession  # noqa: E402

UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
PRODUCTS_KEY = r"HKCR\Installer\Products"
PROGRAM = r"C:\Program Files\tarpo\tarpo.exe"
CHOSEN_FOLDER = r"C:\Games\tarpo"
ERROR_INSTALL_FAILURE = 1603


def table(msi, name):
    """The rows of an MSI table as dicts. msiinfo writes the table in .idt
    text form: the column names, their types and the key, then one row per
    line."""
    text = subprocess.run([tool("msiinfo"), "export", msi, name], stdout=subprocess.PIPE,
                          check=True, text=True).stdout
    lines = text.splitlines()
    columns = lines[0].split("\t")
    return [dict(zip(columns, line.split("\t"))) for line in lines[3:] if line]


def check_tables(msi, version, publisher):
    properties = {row["Property"]: row["Value"] for row in table(msi, "Property")}
    expected = {"ProductName": "tarpo", "ProductVersion": version, "Manufacturer": publisher,
                "ALLUSERS": "1"}
    expect_fields("the installer's properties", properties, expected)
    # A later version finds this one by the upgrade code and removes it.
    upgrade = properties.get("UpgradeCode", "")
    older = [row for row in table(msi, "Upgrade") if row["UpgradeCode"] == upgrade
             and not row["VersionMin"] and row["VersionMax"] == version]
    actions = [row["Action"] for row in table(msi, "InstallExecuteSequence")]
    if not upgrade or not older or "RemoveExistingProducts" not in actions:
        fail("no upgrade of older versions with upgrade code %r" % upgrade)
    return properties


def rebuilt(msi, path, version):
    """A copy of the installer as another build of the given version would
    make it, with a new product code and a new package code."""
    shutil.copy(msi, path)
    summary = subprocess.run([tool("msiinfo"), "suminfo", msi], stdout=subprocess.PIPE,
                             check=True, text=True).stdout
    summary = dict(line.split(": ", 1) for line in summary.splitlines() if ": " in line)
    code = "{%s}" % str(uuid.uuid4()).upper()
    update = "UPDATE Property SET Value = '%s' WHERE Property = '%s'"
    subprocess.run([tool("msibuild"), path, "-q", update % (code, "ProductCode"),
                    "-q", update % (version, "ProductVersion"),
                    "-s", summary["Subject"], summary["Author"], summary["Template"],
                    "{%s}" % str(uuid.uuid4()).upper()], check=True)
    return code


def packed(guid):
    """A GUID as Windows Installer writes it in registry key names."""
    digits = guid.strip("{}").replace("-", "")
    swapped = "".join(digits[i + 1] + digits[i] for i in range(16, 32, 2))
    return digits[7::-1] + digits[11:7:-1] + digits[15:11:-1] + swapped


class Wine:
    """A throw-away Wine prefix in an X session."""

    def __init__(self, x, prefix):
        self.x, self.prefix = x, prefix
        # Skip the .NET and Gecko prompts, and write no menu entries to the
        # host's desktop.
        self.env = dict(x.env, WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")

    def run(self, *argv, timeout=180):
        result = subprocess.run(argv, env=self.env, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, timeout=timeout)
        return result.returncode, result.stdout.decode(errors="replace")

    def msiexec(self, *argv):
        status, output = self.run("wine", "msiexec", *argv, "/qn")
        if status != 0:
            fail("msiexec %s exited with %d\n%s" % (" ".join(argv), status, output))

    def stop(self):
        """Ends every Wine process and waits until the registry is on disk."""
        self.run("wineserver", "-k")
        self.run("wineserver", "-w")

    def unix(self, windows_path):
        return os.path.join(self.prefix, "drive_c", *windows_path[3:].split("\\"))

    def entries(self):
        """The product codes of the entries named tarpo in the list of
        installed programs."""
        # A key's line, then its values, one per line.
        lines = self.run("wine", "reg", "query", UNINSTALL_KEY, "/s")[1].splitlines()
        key, codes = "", []
        for line in lines:
            if line.startswith("HKEY_"):
                key = line.rsplit("\\", 1)[-1]
            elif line.split() == ["DisplayName", "REG_SZ", "tarpo"]:
                codes.append(key)
        return codes

    def registry(self, key):
        """The values of a registry key ({} if there is none)."""
        # Lines "    name    REG_type    value"; the value may be empty.
        lines = self.run("wine", "reg", "query", key)[1].splitlines()
        rows = [line.split(None, 2) for line in lines]
        return {row[0]: (row[2:] or [""])[0] for row in rows if row[1:2] and "REG_" in row[1]}

    def traces(self, needles):
        """Every file or folder of drive C: and every registry line that names
        one of the needles."""
        self.stop()
        found = []
        for folder, dirs, files in os.walk(os.path.join(self.prefix, "drive_c")):
            found += [os.path.join(folder, name) for name in dirs + files
                      if any(n in name.lower() for n in needles)]
        for hive in ("system.reg", "user.reg", "userdef.reg"):
            with open(os.path.join(self.prefix, hive), encoding="utf-8", errors="replace") as f:
                found += ["%s: %s" % (hive, line.strip()) for line in f
                          if any(n in line.lower() for n in needles)]
        return found


def check_unchanged(wine, needles, expected, after):
    """Checks that tarpo left exactly the expected traces in the prefix."""
    found = wine.traces(needles)
    if sorted(found) != sorted(expected):
        fail("%s, these differ:\n%s" % (after, "\n".join(sorted(set(found) ^ set(expected)))))


def check_installed(wine, exe, properties, version, publisher):
    with open(exe, "rb") as built, open(wine.unix(PROGRAM), "rb") as installed:
        if built.read() != installed.read():
            fail(PROGRAM + " is not the program that was built")
    code = properties["ProductCode"]
    entry = wine.registry(UNINSTALL_KEY + "\\" + code)
    expected = {"DisplayName": "tarpo", "DisplayVersion": version, "Publisher": publisher,
                "UninstallString": "MsiExec.exe /X" + code}
    expect_fields("the uninstall entry", entry, expected)
    # The icon the list of installed programs shows, kept by Windows Installer.
    icon = wine.registry(PRODUCTS_KEY + "\\" + packed(code)).get("ProductIcon", "")
    if not icon.endswith("tarpo.exe") or not os.path.isfile(wine.unix(icon)):
        fail("no product icon registered: %r" % icon)
    # The shortcut is in the Start menu of all users, or in Wine in the user's.
    links = [os.path.join(folder, "tarpo.lnk")
             for folder, _, files in os.walk(os.path.join(wine.prefix, "drive_c"))
             if folder.endswith(os.path.join("Start Menu", "Programs")) and "tarpo.lnk" in files]
    if len(links) != 1:
        fail("Start-menu shortcuts: %r" % links)
    with open(links[0], "rb") as f:
        if PROGRAM.encode() not in f.read():
            fail("the shortcut does not lead to " + PROGRAM)
    return links[0]


def check_refused(wine, action, msi, log):
    """Checks that installing or removing while the program runs fails with
    the installer's message. Wine passes on msiexec's status modulo 256."""
    windows_log = "Z:" + log.replace("/", "\\")
    status, output = wine.run("wine", "msiexec", action, msi, "/qn", "/l*", windows_log)
    with open(log, encoding="utf-8", errors="replace") as f:
        said = "tarpo is running" in f.read()
    if status != ERROR_INSTALL_FAILURE % 256 or not said:
        fail("msiexec %s with the program running: status %d, message %s\n%s"
             % (action, status, "logged" if said else "not logged", output))


class InstalledProgram(XProgram):
    """tarpo.exe as installed, started from its Start-menu shortcut, for the
    end-to-end tests' checks of the window."""
    name = "msi"

    def __init__(self, wine, link, title):
        self.wine, self.link, self.title = wine, link, title

    def start(self, x, scale):
        starter = x.start(["wine", "start", "/unix", self.link], extra_env=self.wine.env,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # In a fresh prefix the controls are painted a while after the window
        # maps, so wait until two screenshots in a row agree.
        x.find_window(self.title, timeout=60)
        shots = [b""]

        def settled():
            shots.append(x.screenshot().pixels)
            return shots[-1] == shots[-2]
        x.wait_for(settled, 30, "the window did not settle")
        return starter

    def stop(self, x):
        self.wine.stop()


def main():
    msi, exe, work_dir, version, publisher, form_json, solutions_json, assets, booted = sys.argv[1:10]
    shutil.rmtree(work_dir, ignore_errors=True)
    os.makedirs(work_dir)
    properties = check_tables(msi, version, publisher)
    needles = ["tarpo"] + [form(properties[name]).lower()
                           for name in ("ProductCode", "UpgradeCode")
                           for form in (lambda g: g.strip("{}"), packed)]

    with XSession() as x:
        # Copy the prefix the end-to-end suite booted, since booting one takes
        # long.
        wine = Wine(x, os.path.join(work_dir, "prefix"))
        subprocess.run(["cp", "-a", booted, wine.prefix], check=True)
        try:
            before = wine.traces(needles)

            wine.msiexec("/i", msi)
            link = check_installed(wine, exe, properties, version, publisher)
            installed = wine.traces(needles)
            # Check the window as the end-to-end suite does at start. While the
            # program runs, the installer must refuse to touch it.
            shots = os.path.join(work_dir, "shots")
            os.makedirs(shots)
            facts = Facts(form_json, solutions_json)
            desktop = XDesktop(InstalledProgram(wine, link, facts.title), facts, shots, x=x)
            try:
                test_start_look(desktop, facts, assets)
                check_refused(wine, "/i", msi, os.path.join(work_dir, "refused.log"))
            except AssertionError as error:
                fail("the installed program's window: %s" % error)
            finally:
                desktop.end_games()
            check_unchanged(wine, needles, installed, "after the refused install")
            wine.msiexec("/x", msi)
            check_unchanged(wine, needles, before, "after the removal")

            wine.msiexec("/i", msi)
            wine.msiexec("/i", msi)
            wine.msiexec("/x", msi)
            check_unchanged(wine, needles, before, "after two installs and one removal")

            # Install into a folder of our own. The removal must find it and be
            # refused while the program runs from there. Another build of this
            # version, then a later version, must each replace what is in
            # that folder.
            wine.msiexec("/i", msi, "INSTALLDIR=" + CHOSEN_FOLDER)
            chosen = CHOSEN_FOLDER + r"\tarpo.exe"
            x.start(["wine", chosen], extra_env=wine.env,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            x.find_window(facts.title, timeout=60)
            check_refused(wine, "/x", msi, os.path.join(work_dir, "refused-removal.log"))
            wine.stop()
            for number, build_version in enumerate((version, version + ".1")):
                build = os.path.join(work_dir, "build%d.msi" % number)
                code = rebuilt(msi, build, build_version)
                wine.msiexec("/i", build)
                where = [path for path in (chosen, PROGRAM) if os.path.isfile(wine.unix(path))]
                if wine.entries() != [code] or where != [chosen]:
                    fail("after a build of %s installed over it: tarpo entries %r, programs %r"
                         % (build_version, wine.entries(), where))
            wine.msiexec("/x", build)
            check_unchanged(wine, needles, before, "after the removal from " + CHOSEN_FOLDER)
        finally:
            wine.run("wineserver", "-k")
    print("ok: %s installs, starts and leaves nothing behind" % os.path.basename(msi))


if __name__ == "__main__":
    main()
