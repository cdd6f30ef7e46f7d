# -*- coding: utf-8 -*-
# What the modules of this collection share: finding labelsetup-cli on the
# managed host and running one of its commands with --json. The command
# line prints one JSON document on one line, also when it fails, with "ok"
# and, on failure, "error"; its exit status is 0, 1 (a printer did not
# answer or a read failed), 2 (bad command line), 3 (refused: nothing was
# sent) or 4 (a value read back is not the one sent).
from __future__ import absolute_import, division, print_function
__metaclass__ = type

import json

CLI_OPTION = dict(type='path')


def find_cli(module):
    """The command line named by the option cli, else labelsetup-cli on PATH."""
    if module.params.get('cli'):
        return module.params['cli']
    return module.get_bin_path('labelsetup-cli', required=True)


def shown(value):
    """A value as a person reads it in a message."""
    if isinstance(value, dict):
        return '(hidden)' if value.get('hidden') else 'bytes %s' % value.get('hex', '')
    return (value or '""') if isinstance(value, str) else str(value)


def failure_text(report, stderr):
    """Why a command failed, in the command line's words."""
    if report.get('error'):
        return report['error']
    mismatches = report.get('mismatches') or []
    if mismatches:
        return '; '.join('%s does not hold: expected %s, the printer has %s'
                         % (m.get('key'), shown(m.get('expected')), shown(m.get('actual')))
                         for m in mismatches)
    return stderr.strip() or 'labelsetup-cli failed without saying why'


def run_cli(module, cli, args, data=None):
    """Runs `cli --json ARGS` (standard input: data) and returns its document.

    Any exit status but 0, or a document that is not "ok", fails the task
    with the command line's message; the document's fields come along.
    """
    rc, out, err = module.run_command([cli, '--json'] + list(args), data=data, binary_data=True)
    lines = [line for line in out.splitlines() if line.strip()]
    try:
        report = json.loads(lines[-1])
        report.get('ok')
    except (IndexError, ValueError, AttributeError):
        module.fail_json(msg='labelsetup-cli gave no JSON document (exit status %d): %s'
                         % (rc, err.strip() or out.strip()), rc=rc)
    if rc != 0 or not report.get('ok'):
        fields = dict((k, report[k]) for k in ('printer', 'model', 'unread', 'mismatches', 'skipped') if k in report)
        module.fail_json(msg=failure_text(report, err), rc=rc, **fields)
    return report
