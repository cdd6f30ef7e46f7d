#!/usr/bin/python
# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: printer_settings
short_description: Bring a label printer's settings to the values given
description:
  - Reads the printer with C(labelsetup-cli) on the managed host, sends only
    the values that differ from what it holds, and reads them back.
  - A second run with the same values reports no change and sends nothing.
  - Every value is checked against the printer's model before anything is
    sent; a refused value fails the task with nothing sent. Keys the model
    does not have (the stripper on models without one, for example) are
    skipped and named under C(skipped).
  - Check mode reads the printer and sends nothing. Diff mode shows the old
    and new value of every key that changes; passwords and PINs are shown as
    changed, never their values.
  - Passwords and PINs go under C(secrets). They reach C(labelsetup-cli) on
    its standard input, never on its command line, and never appear in the
    task's output.
version_added: "1.0.0"
author: Label printer setup tool developers
extends_documentation_fragment:
  - labelsetup.printers.printer
options:
  profile:
    description:
      - A settings profile on the managed host, as C(labelsetup-cli profile
        export) writes it.
      - Values under C(settings) take the place of the profile's.
    type: path
  settings:
    description:
      - Setting keys and the values the printer is to hold, in the units
        C(labelsetup-cli keys) lists (lengths in millimetres, times in
        seconds, choices by name), for example C(print.speed) or
        C(print.label_width_mm).
      - Passwords and PINs are refused here; give them under C(secrets).
    type: dict
  secrets:
    description:
      - Passwords and PINs (C(wifi.sta.password), C(wifi.ap.password),
        C(bluetooth.pin)) and their values. Kept out of the output.
    type: dict
  verify:
    description:
      - Read every value back after sending; one that does not hold fails
        the task.
    type: bool
    default: true
  restart:
    description:
      - Restart the printer after a change, wait up to 60 seconds for it to
        answer again and read every value back. Without it, C(restart_needed)
        says when settings take effect only after a restart (Wi-Fi, IP,
        Ethernet, Bluetooth).
    type: bool
    default: false
  include_identity:
    description:
      - Allow the keys that belong to one printer (the serial number, the
        static addresses and their address modes) in C(profile) and
        C(settings).
      - Without it such a key fails the task before anything is sent, since
        each host applies alone and the same address could reach many
        printers.
    type: bool
    default: false
notes:
  - Supports check mode and diff mode.
  - Run it on the host that reaches the printer (for example the shop's own
    computer, or the control node with C(printer) a network address).
seealso:
  - module: labelsetup.printers.printer_info
'''

EXAMPLES = r'''
- name: Shop printers print at speed 3 on 60 mm labels
  labelsetup.printers.printer_settings:
    printer: tcp:192.0.2.10
    settings:
      print.speed: 3
      print.label_width_mm: 60.0
      wifi.sta.ssid: shop-net
    secrets:
      wifi.sta.password: "{{ vault_shop_wifi_password }}"
  register: printer

- name: The Wi-Fi change takes effect after a restart
  ansible.builtin.debug:
    msg: "{{ printer.changed_keys }} changed, restart needed: {{ printer.restart_needed }}"

- name: The shop profile, exported from a reference printer, restarting the printer after a change
  labelsetup.printers.printer_settings:
    printer: usb
    profile: /etc/labelsetup/shop.json
    restart: true

- name: Put a backup (serial number and addresses included) back on its own printer
  labelsetup.printers.printer_settings:
    printer: tcp:192.0.2.10
    profile: /var/backups/printer-192.0.2.10.json
    include_identity: true
'''

RETURN = r'''
changed_keys:
  description: The keys whose value changed (in check mode, would change).
  returned: success
  type: list
  elements: str
  sample: [print.speed, wifi.sta.password]
skipped:
  description: Keys the printer's model does not have, with the reason.
  returned: success
  type: list
  elements: dict
  sample: [{key: stripper.paper_take_s, reason: ZD-N310 has no stripper}]
restart_needed:
  description: Settings were sent (in check mode, would be) that take effect
    only after the printer restarts, and C(restart) was not given.
  returned: success
  type: bool
restarted:
  description: The printer was restarted and answered again.
  returned: success
  type: bool
verified:
  description: Every value was read back and holds.
  returned: when values were sent and C(verify) or C(restart) was given
  type: bool
model:
  description: The printer's model.
  returned: always, once the printer answered
  type: str
  sample: ZD-N480
diff:
  description: Old and new value of each key that changes; passwords and
    PINs as C((secret)) and C((secret, changed)).
  returned: in diff mode
  type: dict
  sample: {before: {print.speed: 2}, after: {print.speed: 3}}
'''

import json

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.labelsetup.printers.plugins.module_utils.labelsetup_cli import CLI_OPTION, find_cli, run_cli


def as_profile_value(value, kind):
    """A task's value in the profile's JSON form: numbers for numbers and
    lengths (a templated value arrives as a string), strings for the rest
    (YAML reads the choices on and off as booleans)."""
    if isinstance(value, bool) and kind == 'choice':
        value = 'on' if value else 'off'
    if kind in ('number', 'length'):
        try:
            return float(value)
        except (TypeError, ValueError):
            return value  # the command line names the key and what it takes
    return value if isinstance(value, (str, dict)) else str(value)


def wanted_profile(module, catalogue):
    """The profile document to apply: the profile file's, with the task's
    settings and secrets on top, checked for keys in the wrong option."""
    document = {'format': 'labelsetup-profile', 'version': 1, 'settings': {}}
    if module.params['profile']:
        try:
            with open(module.params['profile'], 'rb') as f:
                document = json.loads(f.read().decode('utf-8'))
        except (IOError, OSError, ValueError) as e:
            module.fail_json(msg='%s: %s' % (module.params['profile'], e))
        if not isinstance(document, dict) or not isinstance(document.setdefault('settings', {}), dict):
            module.fail_json(msg='%s: not a profile (no "settings" object)' % module.params['profile'])
    values = document['settings']
    for option, secret in (('settings', False), ('secrets', True)):
        for key, value in (module.params[option] or {}).items():
            known = catalogue.get(key, {})
            if value is None:
                module.fail_json(msg='%s has no value (write "" for an empty text)' % key)
            if known and known['secret'] != secret:
                module.fail_json(msg=('%s is a secret: give it under secrets, which stay out of the output' if known['secret']
                                      else '%s is not a secret: give it under settings') % key)
            values[key] = as_profile_value(value, known.get('kind'))
    identity = sorted(k for k in values if catalogue.get(k, {}).get('identity'))
    if identity and not module.params['include_identity']:
        module.fail_json(msg='%s belong%s to one printer: nothing was sent (set include_identity to apply %s)'
                         % (', '.join(identity), 's' if len(identity) == 1 else '', 'it' if len(identity) == 1 else 'them'))
    return json.dumps(document)


def diff_of(report, printer):
    before, after = {}, {}
    for change in report.get('changes', []):
        key = change['key']
        if isinstance(change['new'], dict) and change['new'].get('hidden'):
            before[key], after[key] = '(secret)', '(secret, changed)'
        else:
            before[key], after[key] = change['old'], change['new']
    return dict(before=before, after=after, before_header=printer, after_header=printer)


def main():
    module = AnsibleModule(
        argument_spec=dict(
            printer=dict(type='str', required=True),
            profile=dict(type='path'),
            settings=dict(type='dict'),
            secrets=dict(type='dict', no_log=True),
            verify=dict(type='bool', default=True),
            restart=dict(type='bool', default=False),
            include_identity=dict(type='bool', default=False),
            cli=CLI_OPTION,
        ),
        required_one_of=[('profile', 'settings', 'secrets')],
        supports_check_mode=True,
    )
    p = module.params
    cli = find_cli(module)
    catalogue = dict((k['key'], k) for k in run_cli(module, cli, ['keys'])['keys'])
    document = wanted_profile(module, catalogue)
    apply = ['profile', 'apply', p['printer'], '-'] + (['--include-identity'] if p['include_identity'] else [])

    # The dry run reads the printer and decides; only a difference is sent,
    # so a second run sends nothing and never restarts the printer.
    report = run_cli(module, cli, apply + ['--dry-run'], data=document)
    if report['changed'] and not module.check_mode:
        flags = [flag for flag, on in (('--verify', p['verify']), ('--restart', p['restart'])) if on]
        report = run_cli(module, cli, apply + flags, data=document)
    result = dict(
        changed=bool(report['changed']),
        changed_keys=report['changed'],
        skipped=report.get('skipped', []),
        restart_needed=bool(report.get('restart_needed')) and not p['restart'],
        restarted=bool(report.get('restarted')),
        model=report.get('model'),
    )
    if 'verified' in report:
        result['verified'] = report['verified']
    if module._diff:
        result['diff'] = diff_of(report, p['printer'])
    module.exit_json(**result)


if __name__ == '__main__':
    main()
