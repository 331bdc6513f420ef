"""A running nightjar-sim fed one script line at a time.

The harness reads its script from standard input and flushes its output
before it reads the next line, so after sending a 'print' the state line can
be read back at once.
"""
import json
import subprocess


class SimError(RuntimeError):
    pass


class SimSession:
    def __init__(self, sim, campaign, workdir):
        args = [sim]
        if campaign:
            args += ["--campaign", campaign]
        args.append("-")
        self.proc = subprocess.Popen(args, cwd=workdir, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                     text=True, bufsize=1)

    def send(self, line):
        """Runs one script line; returns the state for a 'print', else None."""
        self.proc.stdin.write(line.rstrip("\n") + "\n")
        self.proc.stdin.flush()
        words = line.split("#", 1)[0].split()
        if words != ["print"]:
            return None
        out = self.proc.stdout.readline()
        if not out:
            self.close()
            raise SimError("nightjar-sim stopped: " + self.stderr.strip())
        return json.loads(out)

    def state(self):
        return self.send("print")

    def close(self):
        """Ends the run; returns (exit code, leftover output, error output)."""
        if self.proc.stdin and not self.proc.stdin.closed:
            self.proc.stdin.close()
        rest = self.proc.stdout.read()
        self.stderr = self.proc.stderr.read()
        code = self.proc.wait(timeout=60)
        return code, rest, self.stderr
