"""Real speech for the screen-reader suite: a speech-dispatcher of the suite's
own, speaking with espeak-ng into PulseAudio's null sink, which plays in real
time, so a later utterance can cut an earlier one short, as on a desktop with
speakers. What was played is read from speech-dispatcher's debug log: each
message it began, and whether it reached its end mark or was stopped."""
import os
import re
import shutil
import subprocess
import time

NEEDED = ["pulseaudio", "pactl", "speech-dispatcher"]
MODULE = "/usr/lib/speech-dispatcher-modules/sd_espeak-ng"


def missing():
    """What this machine lacks for real speech, or None."""
    absent = [tool for tool in NEEDED if not shutil.which(tool)]
    if not os.path.exists(MODULE):
        absent.append("speech-dispatcher-espeak-ng")
    return ", ".join(absent) or None


class Speech:
    """Started in a folder of the suite's; the environment Orca is to be given
    is in env. end() stops both servers."""

    def __init__(self, work):
        self.log = os.path.join(work, "speechd-log", "speech-dispatcher.log")
        self._read, self._said = 0, []
        os.makedirs(os.path.dirname(self.log))
        pulse = os.path.join(work, "pulse")
        self.env = dict(os.environ, PULSE_RUNTIME_PATH=pulse, PULSE_STATE_PATH=pulse,
                        SPEECHD_ADDRESS="unix_socket:" + os.path.join(work, "speechd.sock"))
        # No cookie to share: the socket lies in the suite's own folder.
        self.pulse = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--use-pid-file=no",
             "-L", "module-native-protocol-unix auth-anonymous=1", "-L", "module-null-sink sink_name=silent"],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.dispatcher = None
        deadline = time.monotonic() + 20
        while subprocess.run(["pactl", "info"], env=self.env, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL).returncode != 0:
            if self.pulse.poll() is not None or time.monotonic() > deadline:
                raise RuntimeError("PulseAudio did not start (status %r)" % self.pulse.poll())
            time.sleep(0.05)
        config = os.path.join(work, "speechd")
        shutil.copytree("/etc/speech-dispatcher", config)
        with open(os.path.join(config, "speechd.conf"), "a", encoding="utf-8") as conf:
            conf.write('\nAudioOutputMethod "pulse"\nDefaultModule espeak-ng\n')
        # Twice espeak-ng's usual top speed, as fast listeners set it: what is
        # cut short is cut the same, and the suite waits half as long.
        with open(os.path.join(config, "modules", "espeak-ng.conf"), "a", encoding="utf-8") as conf:
            conf.write("\nEspeakMaxRate 900\n")
        # Level 5 logs each message's text and its index marks.
        self.dispatcher = subprocess.Popen(
            ["speech-dispatcher", "-s", "-t", "0", "-l", "5", "-C", config, "-L", os.path.dirname(self.log),
             "-S", self.env["SPEECHD_ADDRESS"].split(":", 1)[1], "-P", os.path.join(work, "speechd.pid"),
             "-m", os.path.dirname(MODULE)], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def messages(self):
        """Every message begun so far, in order, as [text, fate]: fate is
        "played" (its end mark reached), "cut" (stopped), or None (playing)."""
        # Read on from where the last call stopped: the log grows by megabytes.
        try:
            with open(self.log, "rb") as log:
                log.seek(self._read)
                chunk = log.read()
        except FileNotFoundError:
            return []
        chunk = chunk[:chunk.rfind(b"\n") + 1]  # whole lines only
        self._read += len(chunk)
        for m in re.finditer(r"MSG before index marking: \|(.*?)\|, ssml_mode|INDEX MARK: __spd_(end|stopped)",
                             chunk.decode("utf-8", "replace"), re.S):
            if m.group(1) is not None:
                self._said.append([m.group(1), None])
            elif self._said and self._said[-1][1] is None:
                self._said[-1][1] = "played" if m.group(2) == "end" else "cut"
        return [list(message) for message in self._said]

    def end(self):
        for process in (self.dispatcher, self.pulse):
            end(process)


def end(process):
    """Asks the process to end, then makes it."""
    if process is not None and process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
