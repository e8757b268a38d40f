#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Applies each fault of faults.txt, or those whose name holds a SUBSTRING,
in turn to a copy of the project in GUARDIANES_FAULTS_DIR (by default
/tmp/guardianes-faults), builds it, runs the suite without the real-window
and browser tests, and says whether the suite catches it. Not part of CI.

    python3 tests/faults/run.py [NAME-SUBSTRING...]"""
import os, shutil, subprocess, sys

top = os.path.abspath(os.path.join(os.path.dirname(__file__), '..', '..'))
work = os.environ.get('GUARDIANES_FAULTS_DIR', '/tmp/guardianes-faults')
src, build = os.path.join(work, 'src'), os.path.join(work, 'build')


def faults():
    """Blocks of '# name', 'FILE path', 'OLD text', 'NEW text'."""
    block = {}
    for line in open(os.path.join(top, 'tests', 'faults', 'faults.txt')):
        line = line.rstrip('\n')
        if line.startswith('# '):
            if block: yield block
            block = {'name': line[2:]}
        elif line[:4] in ('FILE', 'OLD ', 'NEW '):
            block[line[:4].strip()] = line[5:].replace('\\n', '\n')
    if block: yield block


def run(*cmd):
    return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0


def main():
    wanted = sys.argv[1:]
    shutil.rmtree(work, ignore_errors=True)
    shutil.copytree(top, src, ignore=shutil.ignore_patterns('.git', 'build*'))
    if not run('cmake', '-S', src, '-B', build, '-DGUARDIANES_WERROR=OFF'):
        sys.exit('cmake failed')
    if not run('cmake', '--build', build, '-j2'):
        sys.exit('the unchanged copy does not build')
    suite = ['ctest', '--test-dir', build, '-j2', '-E', '^(windows?|desktop|web|format)\\.', '--stop-on-failure']
    if not run(*suite):
        sys.exit('the unchanged copy fails its tests')
    caught = missed = 0
    for fault in faults():
        if wanted and not any(w in fault['name'] for w in wanted):
            continue
        path = os.path.join(src, fault['FILE'])
        original = open(path).read()
        if original.count(fault['OLD']) != 1:
            print(f'STALE   {fault["name"]}: its OLD text is not once in {fault["FILE"]}')
            continue
        open(path, 'w').write(original.replace(fault['OLD'], fault['NEW']))
        try:
            if not run('cmake', '--build', build, '-j2'):
                verdict = 'caught (does not build)'
            else:
                verdict = 'missed' if run(*suite) else 'caught'
        finally:
            open(path, 'w').write(original)
        caught += verdict.startswith('caught')
        missed += verdict == 'missed'
        print(f'{verdict.upper() if verdict == "missed" else verdict:8} {fault["name"]}', flush=True)
    print(f'{caught} caught, {missed} missed')
    sys.exit(1 if missed else 0)


main()
