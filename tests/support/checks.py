"""Checks for the whole-system tests written in Python: each failed check is printed at once, naming
its case, and the run ends with a closing count that the test runner reads."""


class Failures:
    def __init__(self):
        self.lines = []
        self.checks = 0

    def check(self, case, what, expected, actual):
        self.checks += 1
        if expected != actual:
            self.lines.append(f"{case}: {what}: expected {expected!r}, got {actual!r}")
            print(self.lines[-1], flush=True)

    def report(self):
        """Prints the closing count; the exit status for the run."""
        print(f"{self.checks - len(self.lines)} passed, {len(self.lines)} failed")
        return 1 if self.lines else 0
