"""Runs `vermil render` as a child process: its progress lines as they come, its other messages
kept for the report, and a cancel that asks vermil to stop (SIGINT) rather than killing it."""

import queue
import signal
import subprocess
import threading
import time
from dataclasses import dataclass, field

# vermil finishes the row or stroke batch in hand after SIGINT; past this it is killed.
_STOP_GRACE_SECONDS = 30


@dataclass
class Outcome:
    returncode: int
    cancelled: bool
    messages: list = field(default_factory=list)  # stderr lines other than progress

    def error(self):
        """vermil's own words for a failure: its last message lines."""
        said = [m for m in self.messages if not m.startswith("wrote ")]
        return "; ".join(said[-3:]) if said else f"vermil exited with code {self.returncode}"


def _read_lines(stream, lines):
    for line in iter(stream.readline, ""):
        lines.put(line.rstrip("\n"))
    lines.put(None)


def run(command, on_progress, should_stop, poll_seconds=0.1):
    """Runs command; on_progress(fraction, stage) per progress line; should_stop() polled while it
    runs. Answers an Outcome once the process is gone."""
    process = subprocess.Popen(command, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=subprocess.PIPE, text=True, encoding="utf-8", errors="replace")
    lines = queue.Queue()
    reader = threading.Thread(target=_read_lines, args=(process.stderr, lines), daemon=True)
    reader.start()
    messages, cancelled, open_stream, deadline = [], False, True, None
    try:
        while open_stream:
            if not cancelled and should_stop():
                cancelled = True
                deadline = time.monotonic() + _STOP_GRACE_SECONDS
                process.send_signal(signal.SIGINT)
            elif deadline is not None and time.monotonic() > deadline and process.poll() is None:
                process.kill()
            try:
                line = lines.get(timeout=poll_seconds)
            except queue.Empty:
                continue
            if line is None:
                open_stream = False
            elif line.startswith("progress "):
                fraction, _, stage = line[len("progress "):].partition(" ")
                try:
                    on_progress(float(fraction), stage)
                except ValueError:
                    messages.append(line)
            elif line:
                messages.append(line)
        returncode = process.wait()
    except BaseException:
        # Never leave vermil running behind a failed or interrupted render.
        process.kill()
        process.wait()
        raise
    finally:
        process.stderr.close()
    return Outcome(returncode, cancelled or returncode == 130, messages)
