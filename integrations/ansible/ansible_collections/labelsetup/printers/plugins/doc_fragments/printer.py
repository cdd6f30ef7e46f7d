# -*- coding: utf-8 -*-
# The options every module of the collection takes: which printer, and
# which labelsetup-cli reaches it.
from __future__ import absolute_import, division, print_function
__metaclass__ = type


class ModuleDocFragment(object):
    DOCUMENTATION = r'''
requirements:
  - C(labelsetup-cli) on the managed host (installed with the label printer
    setup tool)
options:
  printer:
    description:
      - The printer as C(labelsetup-cli) names it from the managed host, one of
        C(usb) (the first printer found), C(usb:PORT), C(tcp:HOST[:PORT])
        (port 9100 unless given) or C(serial:PATH[:BAUD[:FRAMING[:FLOW]]]) (a
        serial port or Bluetooth link).
    type: str
    required: true
  cli:
    description:
      - The path of C(labelsetup-cli) on the managed host; without it the
        program is looked up on C(PATH).
    type: path
'''
