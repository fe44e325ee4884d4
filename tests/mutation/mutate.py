#!/usr/bin/env python3
"""Checks that the test suite notices small faults in the engine.

Run by hand, never in CI: it edits engine sources (one at a time, always restored) and
rebuilds. For each mutation below it replaces one exact piece of text in one source file,
rebuilds incrementally only the test programs named by the mutation's regex (plus what they
depend on), runs only those programs and counts the mutation as killed when one of them
fails, crashes or hangs. Running only the relevant programs keeps a full pass to minutes on
a small shared machine.

A mutation whose text is not found exactly once fails loudly (the engine changed under it
and the mutation needs mending); one that does not compile is reported apart and not
counted.

    tests/mutation/mutate.py [--src DIR] [--build DIR] [--only REGEX] [--check] [-j N]

--src is the source tree (default: this checkout), --build its configured build folder
(default: SRC/build, configured with the dev preset), --only runs the mutations whose
name matches, --check only verifies that every target text is still there.
"""

import argparse
import os
import re
import subprocess
import sys
import time
from pathlib import Path

# name, file, exact text, replacement, regex of the test programs that should notice.
MUTATIONS = [
    ("rename-may-replace", "platform/posix_file_system.cpp",
     "AT_FDCWD, t.constData(), RENAME_NOREPLACE) == 0)",
     "AT_FDCWD, t.constData(), 0) == 0)",
     r"platform_file_system_test|actions_module_file_op_test"),
    ("cross-device-copy-not-flushed", "actions/module_file_op.cpp",
     "        st = fs.syncFile(out);",
     "        st = FsStatus::Ok();",
     r"actions_module_file_op_test"),
    ("copy-size-not-verified", "actions/module_file_op.cpp",
     "if (copied.value() != info.size || written.value().size != info.size)",
     "if (false)",
     r"actions_module_file_op_test"),
    ("partial-copy-kept", "actions/module_file_op.cpp",
     "    if (!st.ok()) (void)fs.removeFile(dest);",
     "",
     r"actions_module_file_op_test"),
    ("special-files-left-behind-on-move", "actions/module_file_op.cpp",
     "if (st.ok() && skipped > 0 && moved != nullptr)",
     "if (st.ok() && skipped > 0 && false)",
     r"actions_module_file_op_test"),
    ("failed-removal-keeps-both", "actions/module_file_op.cpp",
     "    if (!r.removedAny && (r.changed || !r.firstFailure.ok())) {",
     "    if (false && (r.changed || !r.firstFailure.ok())) {",
     r"actions_module_file_op_test"),
    ("move-onto-itself-numbers", "actions/module_file_op.cpp",
     "if (taken && SameEntry(fs_, source, target)) return nothingToDo();",
     "if (false && SameEntry(fs_, source, target)) return nothingToDo();",
     r"actions_module_file_op_test|actions_relocate_test"),
    ("rename-mode-overwrites-name", "actions/module_file_op.cpp",
     "if (!replace && taken) effective = numbered(target, counter);",
     "if (!replace && !taken) effective = numbered(target, counter);",
     r"actions_module_file_op_test|actions_relocate_test"),
    ("numbering-starts-at-two", "actions/module_file_op.cpp",
     "const QString candidate = folderPart + base + QString::number(counter) + ext;",
     "const QString candidate = folderPart + base + QString::number(counter + 1) + ext;",
     r"actions_module_file_op_test|actions_relocate_test"),
    ("folder-numbering-starts-at-two", "actions/module_file_op.cpp",
     "const QString candidate = base + QString::number(counter);",
     "const QString candidate = base + QString::number(counter + 1);",
     r"actions_module_file_op_test|actions_relocate_test"),
    ("hidden-name-taken-as-extension", "actions/module_file_op.cpp",
     "const QString base = dot > 0 ? name.left(dot) : name;",
     "const QString base = dot >= 0 ? name.left(dot) : name;",
     r"actions_module_file_op_test|actions_relocate_test"),
    ("in-use-answer-inverted", "folders/module_check_file.cpp",
     "if (probe) return !probe->isInUse(path);",
     "if (probe) return probe->isInUse(path);",
     r"folders_module_check_file_test|folders_runner_test"),
    ("probe-misses-open-files", "platform/file_in_use.cpp",
     "return held.count({dev, ino}) != 0;",
     "return held.count({dev, ino}) == 0;",
     r"platform_file_in_use_test|folders_"),
    ("size-greater-includes-equal", "conditions/condition_size.cpp",
     "return value > limit;",
     "return value >= limit;",
     r"conditions_"),
    ("size-less-includes-equal", "conditions/condition_size.cpp",
     "return value < limit;",
     "return value <= limit;",
     r"conditions_"),
    ("size-halves-round-up", "conditions/text_compare.cpp",
     "if (twiceRest == divisor) return q + (q & 1);",
     "if (twiceRest == divisor) return q + 1;",
     r"conditions_"),
    ("date-before-includes-equal", "conditions/condition_date.cpp",
     'if (op == QLatin1String("IS BEFORE")) return fileMs < dateMs(scope);',
     'if (op == QLatin1String("IS BEFORE")) return fileMs <= dateMs(scope);',
     r"conditions_"),
    ("date-after-includes-equal", "conditions/condition_date.cpp",
     'if (op == QLatin1String("IS AFTER")) return fileMs > dateMs(scope);',
     'if (op == QLatin1String("IS AFTER")) return fileMs >= dateMs(scope);',
     r"conditions_"),
    ("week-is-six-days", "conditions/condition_date.cpp",
     "start = scope.daysBeforeNowMs(7 * n);",
     "start = scope.daysBeforeNowMs(6 * n);",
     r"conditions_"),
    ("ends-with-as-starts-with", "conditions/text_compare.cpp",
     "return t.size() <= v.size() && v.endsWith(t);",
     "return t.size() <= v.size() && v.startsWith(t);",
     r"conditions_"),
    ("empty-rule-matches", "rules/rule.cpp",
     "return any && all;",
     "return all;",
     r"rules_rule_test"),
    ("any-mode-needs-all", "rules/rule.cpp",
     "if (!all && holds) return true;",
     "if (!all && !holds) return false;",
     r"rules_rule_test"),
    ("dot-dot-value-kept", "actions/pattern_expand.cpp",
     'if (value == QLatin1String(".") || value == QLatin1String("..")) return',
     'if (value == QLatin1String(".")) return',
     r"actions_pattern_test|actions_relocate_test"),
    ("log-page-size-16", "app/cli/command_log.cpp",
     "constexpr int kLogPageSize = 17;",
     "constexpr int kLogPageSize = 16;",
     r"app_cli_log_test"),
    ("log-page-skips-one-page-too-many", "log/log_page_cache.cpp",
     "plan.skipRows = (page - 1) * pageSize;",
     "plan.skipRows = page * pageSize;",
     r"log_paging_test|app_cli_log_test"),
    ("log-boundary-row-repeated", "log/log_search_word.cpp",
     'where += id + (plan.newestFirst ? " < :b" : " > :b");',
     'where += id + (plan.newestFirst ? " <= :b" : " > :b");',
     r"log_paging_test|app_cli_log_test"),
    ("search-word-keeps-quotes", "log/log_search_word.cpp",
     "    clean.remove(QLatin1Char('\\''));",
     "",
     r"log_manager_test|log_paging_test|app_cli_log_test"),
    ("wrong-id3v1-genre-index", "tagreader/src/mdl_id3.cpp",
     "record.genre = std::string(GenreName(tag[127]));",
     "record.genre = std::string(GenreName(tag[126]));",
     r"tagreader_"),
    ("half-seconds-round-up", "tagreader/src/stream_info.cpp",
     "return (base % 2 == 0) ? base : base + 1;",
     "return base + 1;",
     r"tagreader_"),
    ("little-endian-bom-ignored", "tagreader/src/text_decode.cpp",
     "} else if (bytes.size() >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE) {",
     "} else if (false) {",
     r"tagreader_"),
    ("schedule-at-now-runs-today", "folders/watched_folder.cpp",
     "if (today <= t) return QDateTime(t.date().addDays(1), at, today.timeSpec());",
     "if (today < t) return QDateTime(t.date().addDays(1), at, today.timeSpec());",
     r"folders_schedule_test|folders_runner_test"),
    ("separators-kept-in-fields", "rules/rule_text.cpp",
     "        out.remove(QLatin1Char('\\n'));",
     "",
     r"rules_|app_var_mgr_test"),
    ("utf8-codepage-ignored", "attributes/ole_property_set.cpp",
     "if (codepage == kCodepageUtf8) return QString::fromUtf8(bytes, static_cast<qsizetype>(count));",
     "if (false) return QString::fromUtf8(bytes, static_cast<qsizetype>(count));",
     r"attributes_|app_cli_attr_test"),
]

TEST_TIMEOUT = 300  # seconds for one test program; a hang counts as killed


def test_programs(build: Path):
    """Every built test program: executables named *_test under the build's tests/."""
    found = {}
    for p in sorted((build / "tests").rglob("*_test")):
        if p.is_file() and os.access(p, os.X_OK):
            found[p.name] = p
    return found


def build_targets(build: Path, targets, jobs):
    cmd = ["cmake", "--build", str(build), "-j", str(jobs), "--target", *sorted(targets)]
    r = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    return r.returncode == 0, r.stdout


def run_programs(programs, names):
    """Runs the named test programs; returns the first that failed, or None."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for name in sorted(names):
        exe = programs[name]
        try:
            r = subprocess.run([str(exe), "--gtest_brief=1"], cwd=exe.parent, env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                               timeout=TEST_TIMEOUT)
        except subprocess.TimeoutExpired:
            return name + " (hung)"
        if r.returncode != 0:
            return name
    return None


def main():
    here = Path(__file__).resolve().parents[2]
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--src", type=Path, default=here)
    ap.add_argument("--build", type=Path)
    ap.add_argument("--only", default="")
    ap.add_argument("--check", action="store_true")
    ap.add_argument("-j", type=int, default=2)
    args = ap.parse_args()
    src = args.src.resolve()
    build = (args.build or src / "build").resolve()
    chosen = [m for m in MUTATIONS if re.search(args.only, m[0])]

    stale = []
    for name, rel, old, _new, _tests in chosen:
        count = (src / rel).read_text(encoding="utf-8").count(old)
        if count != 1:
            stale.append(f"{name}: text found {count} times in {rel}, expected once: {old!r}")
    if stale:
        print("MUTATIONS THAT NO LONGER APPLY (mend them):", file=sys.stderr)
        for s in stale:
            print("  " + s, file=sys.stderr)
        return 2
    if args.check:
        print(f"all {len(chosen)} mutations apply")
        return 0

    programs = test_programs(build)
    selection = {}
    for name, _rel, _old, _new, tests in chosen:
        sel = {p for p in programs if re.search(tests, p)}
        if not sel:
            print(f"{name}: no test program matches {tests!r} in {build}", file=sys.stderr)
            return 2
        selection[name] = sel

    # The unmutated suite must pass, or a failure would be taken for a kill.
    everything = set().union(*selection.values())
    ok, log = build_targets(build, everything, args.j)
    if not ok:
        print(log[-4000:], file=sys.stderr)
        print("the unmutated tree does not build", file=sys.stderr)
        return 2
    failed = run_programs(programs, everything)
    if failed:
        print(f"the unmutated suite fails already: {failed}", file=sys.stderr)
        return 2

    killed, survived, unbuilt = [], [], []
    try:
        for name, rel, old, new, _tests in chosen:
            path = src / rel
            original = path.read_text(encoding="utf-8")
            start = time.monotonic()
            try:
                path.write_text(original.replace(old, new, 1), encoding="utf-8")
                ok, _log = build_targets(build, selection[name], args.j)
                failed = run_programs(programs, selection[name]) if ok else None
            finally:
                path.write_text(original, encoding="utf-8")
            secs = time.monotonic() - start
            if not ok:
                unbuilt.append(name)
                verdict = "did not build"
            elif failed:
                killed.append(name)
                verdict = f"killed by {failed}"
            else:
                survived.append(name)
                verdict = "SURVIVED"
            print(f"{name:40} {verdict} ({secs:.0f} s)", flush=True)
    finally:
        build_targets(build, everything, args.j)  # leave the build as the sources are

    counted = len(killed) + len(survived)
    print(f"\nscore: {len(killed)} of {counted} mutations killed", end="")
    print(f", {len(unbuilt)} did not build" if unbuilt else "")
    if survived:
        print("survived: " + ", ".join(survived))
    return 0


if __name__ == "__main__":
    sys.exit(main())
