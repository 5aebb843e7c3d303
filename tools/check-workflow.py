#!/usr/bin/env python3
"""Checks the CI workflows in .github/workflows: with actionlint when it is on
the PATH (the workflow's Linux job installs it), otherwise with a structural
check of their own: the triggers, every job's runner and steps (each uses an
action or runs a command), the jobs a job needs, the presets named (they must
exist in CMakePresets.json) and the repository's scripts run (they must
exist). Prints every fault; the last line says which check ran."""
import json, re, shutil, subprocess, sys
from pathlib import Path

import yaml

ROOT = Path(__file__).resolve().parent.parent
TRIGGERS = {"push", "pull_request", "workflow_dispatch"}
ACTION = re.compile(r"^[\w.-]+/[\w./-]+@[\w.-]+$")
PRESET = re.compile(r"--preset\s+\"?([\w-]+)")
SCRIPT = re.compile(r"(?:^|\s)((?:tools|\.ci)/[\w./-]+)")


def structural_faults(path, presets):
    faults = []
    flow = yaml.safe_load(path.read_text())
    # YAML 1.1 reads the key "on" as true.
    triggers = flow.get("on", flow.get(True)) or {}
    if not TRIGGERS <= set(triggers):
        faults.append(f"triggers {sorted(triggers)} lack some of {sorted(TRIGGERS)}")
    if not (triggers.get("push") or {}).get("tags"):
        faults.append("no push of a tag triggers the release")
    jobs = flow.get("jobs") or {}
    if not jobs:
        faults.append("no jobs")
    for name, job in jobs.items():
        where = f"job {name}"
        if not job.get("runs-on"):
            faults.append(f"{where}: no runs-on")
        needs = job.get("needs") or []
        for needed in [needs] if isinstance(needs, str) else needs:
            if needed not in jobs:
                faults.append(f"{where}: needs the unknown job {needed}")
        for row in ((job.get("strategy") or {}).get("matrix") or {}).get("include") or []:
            if "preset" in row and row["preset"] not in presets:
                faults.append(f"{where}: the matrix names the unknown preset {row['preset']}")
        steps = job.get("steps") or []
        if not steps:
            faults.append(f"{where}: no steps")
        for number, step in enumerate(steps, 1):
            at = f"{where}, step {number}"
            if ("uses" in step) == ("run" in step):
                faults.append(f"{at}: needs exactly one of uses and run")
            elif "uses" in step and not ACTION.match(str(step["uses"])):
                faults.append(f"{at}: uses {step['uses']!r} is not owner/name@ref")
            elif "run" in step:
                command = str(step["run"])
                faults += [f"{at}: unknown preset {p}" for p in PRESET.findall(command) if p not in presets]
                faults += [f"{at}: no script {s}" for s in SCRIPT.findall(command) if not (ROOT / s).is_file()]
    return [f"{path.name}: {fault}" for fault in faults]


def main():
    flows = sorted((ROOT / ".github" / "workflows").glob("*.yml"))
    if not flows:
        print("no workflow in .github/workflows")
        return 1
    if shutil.which("actionlint"):
        result = subprocess.run(["actionlint", *map(str, flows)], cwd=ROOT)
        print("actionlint:", "passed" if result.returncode == 0 else "FAILED")
        return result.returncode
    # A preset the workflow names is configured and built.
    listed = json.loads((ROOT / "CMakePresets.json").read_text())
    configure, build = ({p["name"] for p in listed[kind] if not p.get("hidden")}
                        for kind in ("configurePresets", "buildPresets"))
    presets = configure & build
    faults = []
    for path in flows:
        try:
            faults += structural_faults(path, presets)
        except (yaml.YAMLError, AttributeError, TypeError) as error:
            faults.append(f"{path.name}: unreadable: {error}")
    for fault in faults:
        print("FAULT:", fault)
    print("structural check (actionlint is not on the PATH):", "FAILED" if faults else "passed")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
