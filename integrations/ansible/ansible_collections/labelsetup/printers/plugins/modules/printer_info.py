#!/usr/bin/python
# -*- coding: utf-8 -*-
from __future__ import absolute_import, division, print_function
__metaclass__ = type

DOCUMENTATION = r'''
---
module: printer_info
short_description: A label printer's model, firmware, resolution and serial number
description:
  - Asks the printer with C(labelsetup-cli info) on the managed host, for use
    in conditions (a task for one model or firmware only). Changes nothing.
  - A value the printer does not give fails the task with the reason.
version_added: "1.0.0"
author: Label printer setup tool developers
extends_documentation_fragment:
  - labelsetup.printers.printer
notes:
  - Supports check mode.
seealso:
  - module: labelsetup.printers.printer_settings
'''

EXAMPLES = r'''
- name: Which printer is this?
  labelsetup.printers.printer_info:
    printer: tcp:192.0.2.10
  register: info

- name: Only the 12 dots/mm printers take this profile
  labelsetup.printers.printer_settings:
    printer: tcp:192.0.2.10
    profile: /etc/labelsetup/300dpi.json
  when: info.dots_per_mm == 12
'''

RETURN = r'''
model:
  description: The model name.
  returned: success
  type: str
  sample: ZD-N480
firmware:
  description: The firmware version (a text that is not UTF-8 comes as a mapping with its bytes in hexadecimal under C(hex)).
  returned: success
  type: raw
  sample: V2.31
dpi:
  description: The print resolution in dots per inch.
  returned: success
  type: int
  sample: 300
dots_per_mm:
  description: The print resolution in dots per millimetre (8 or 12).
  returned: success
  type: int
  sample: 12
max_width_mm:
  description: The widest print in millimetres.
  returned: success
  type: int
  sample: 104
serial_number:
  description: The serial number (on models with a serial number page).
  returned: success, on models that have one
  type: raw
  sample: A1234567
wifi_mac:
  description: The Wi-Fi MAC address (on models with a Wi-Fi page).
  returned: success, on models that have one
  type: str
device_id:
  description: The printer's device id text (maker, model, command sets).
  returned: success
  type: raw
'''

from ansible.module_utils.basic import AnsibleModule
from ansible_collections.labelsetup.printers.plugins.module_utils.labelsetup_cli import CLI_OPTION, find_cli, run_cli

FIELDS = ('model', 'firmware', 'dpi', 'dots_per_mm', 'max_width_mm', 'serial_number', 'wifi_mac', 'device_id')


def main():
    module = AnsibleModule(argument_spec=dict(printer=dict(type='str', required=True), cli=CLI_OPTION),
                           supports_check_mode=True)
    report = run_cli(module, find_cli(module), ['info', module.params['printer']])
    module.exit_json(changed=False, **dict((k, report[k]) for k in FIELDS if k in report))


if __name__ == '__main__':
    main()
