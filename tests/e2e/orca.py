"""Orca, the screen reader, in the tests' X session on its AT-SPI bus. What
it says is read from its debug output, which has every text it speaks;
its speech goes to a speech-dispatcher of its own whose one output module
makes no sound. Orca's settings and speech-dispatcher's live in a folder of
their own, thrown away at the end."""

import json
import os
import pty
import re
import subprocess
import tempfile
import threading

from game import wait_for

# A line of Orca's debug output that gives a text it speaks, the voice after it.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)'(?:\{| voice=|$)")

SPEECHD_CONF = """AddModule "silent" "sd_generic" "silent.conf"
DefaultModule silent
DefaultLanguage "ru"
AudioOutputMethod "libao"
"""
# libao's driver that plays nothing: there is no sound card.
LIBAO_CONF = "default_driver=null\n"
# sd_generic runs the command for each text: here one that does nothing.
MODULE_CONF = 'GenericExecuteSynth "true"\nAddVoice "ru" "MALE1" "ru"\n'
# Orca leaves punctuation to the voice, so that the texts stay whole, and
# says no keys.
PROFILE = ["Default", "default"]
SETTINGS = {"verbalizePunctuationStyle": 3, "enableKeyEcho": False,
            "enableEchoByCharacter": False}
ORCA_SETTINGS = json.dumps({
    "general": dict(SETTINGS, startingProfile=PROFILE, activeProfile=PROFILE),
    "profiles": {"default": dict(SETTINGS, profile=PROFILE)},
    "pronunciations": {}, "keybindings": {}})


class ScreenReader:
    """Orca running in X session `x` on AT-SPI bus `bus`, until close()."""

    def __init__(self, x, bus):
        self.folder = tempfile.TemporaryDirectory(prefix="tarpo-orca-")
        top = self.folder.name
        home, config, run = (os.path.join(top, name) for name in ("home", "config", "run"))
        speechd = os.path.join(config, "speech-dispatcher")
        os.makedirs(os.path.join(speechd, "modules"))
        os.makedirs(os.path.join(home, "orca"))
        os.mkdir(run, 0o700)
        for path, text in ((os.path.join(speechd, "speechd.conf"), SPEECHD_CONF),
                           (os.path.join(speechd, "modules", "silent.conf"), MODULE_CONF),
                           (os.path.join(home, ".libao"), LIBAO_CONF),
                           (os.path.join(home, "orca", "user-settings.conf"), ORCA_SETTINGS)):
            with open(path, "w") as f:
                f.write(text)
        socket = os.path.join(run, "speechd.sock")
        env = dict(bus.env, HOME=home, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=run,
                   XDG_DATA_HOME=os.path.join(home, "data"),
                   XDG_CACHE_HOME=os.path.join(home, "cache"),
                   SPEECHD_ADDRESS="unix_socket:" + socket)
        self.log = open(os.path.join(top, "log.txt"), "wb")
        self.procs = [x.start(["speech-dispatcher", "--run-single", "--timeout", "0",
                               "--config-dir", speechd, "--communication-method", "unix_socket",
                               "--socket-path", socket, "--log-dir", top], extra_env=env,
                              stdout=self.log, stderr=self.log)]
        wait_for(lambda: os.path.exists(socket), 30, "speech-dispatcher did not start")
        # The debug output on a terminal, which Orca writes line by line.
        terminal, self.output = pty.openpty()[::-1]
        self.spoken = []
        try:
            self.procs.append(x.start(["orca", "--user-prefs", os.path.join(home, "orca"),
                                       "--debug-file", "/dev/stdout"], extra_env=env,
                                      stdout=terminal, stderr=self.log))
        finally:
            os.close(terminal)
        self.listener = threading.Thread(target=self.listen, daemon=True)
        self.listener.start()
        wait_for(self.said, 60, "Orca said nothing on start")

    def listen(self):
        rest = b""
        while True:
            try:
                chunk = os.read(self.output, 1 << 16)
            except OSError:  # Orca has ended
                chunk = b""
            if not chunk:
                return
            *lines, rest = (rest + chunk).split(b"\n")
            for line in lines:
                found = SPOKEN.search(line.decode(errors="replace"))
                if found:
                    self.spoken.append(found[1])

    def said(self):
        """Every text Orca has said so far, in order."""
        return list(self.spoken)

    def wait_said(self, text, after, message):
        """Waits until Orca says a text with `text` in it after its first
        `after` texts; returns how many it has said by then."""
        def heard():
            said = self.said()
            return next((i + 1 for i in range(after, len(said)) if text in said[i]), None)
        try:
            return wait_for(heard, 30, "")
        except AssertionError:
            raise AssertionError("%s: Orca said %r" % (message, self.said()[after:])) from None

    def close(self):
        for proc in reversed(self.procs):
            proc.terminate()
            try:
                proc.wait(10)
            except subprocess.TimeoutExpired:
                proc.kill()
        self.listener.join(10)  # until Orca's end closes its terminal
        os.close(self.output)
        self.log.close()
        self.folder.cleanup()
