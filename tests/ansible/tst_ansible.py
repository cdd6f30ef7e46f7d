#!/usr/bin/env python3
# The Ansible collection through ansible-playbook (local connection) against
# emulated printers on loopback: check mode and diff mode change nothing, the
# first run changes what differs, the second sends nothing, a silent printer
# and a value that does not hold fail their host only, refusals send nothing,
# the Wi-Fi password never reaches the output. Hermetic: HOME, Ansible's
# configuration, temporary folders and inventory live in a temporary folder.
#   tst_ansible.py LABELSETUP_CLI LPS_EMUPRINTER COLLECTIONS_PATH
import json, os, re, shutil, subprocess, sys, tempfile, threading, time

cli, emulator, collections = map(os.path.abspath, sys.argv[1:4])
here = os.path.dirname(os.path.abspath(__file__))
tmp = tempfile.mkdtemp(prefix='lps-ansible-')
SECRET = 'Kx9-shop-secret'
SHOP = {'print.speed': 3, 'print.label_width_mm': 60.0, 'wifi.sta.ssid': 'shop-net'}


def wait_for(condition, what, seconds=30):
    deadline = time.monotonic() + seconds
    while not condition():
        assert time.monotonic() < deadline, 'timed out waiting for ' + what
        time.sleep(0.02)


class Printer:
    """An lps-emuprinter on a free loopback port; every frame it receives is a line."""
    def __init__(self, *faults):
        self.proc = subprocess.Popen([emulator, '--tcp', '127.0.0.1:0', *faults], stdout=subprocess.PIPE, text=True)
        self.lines = []
        threading.Thread(target=self.read, daemon=True).start()
        wait_for(lambda: any(l.startswith('ready') for l in self.lines), 'the emulated printer')
        self.name = 'tcp:127.0.0.1:' + re.search(r'TCP listening on [\d.]+:(\d+)', ''.join(self.lines)).group(1)

    def read(self):
        for line in self.proc.stdout:
            self.lines.append(line)

    def count(self, pattern, since=0):
        return sum(1 for l in self.lines[since:] if re.search(pattern, l))


printers = {'shop_a': Printer(), 'shop_b': Printer(), 'silent': Printer('--silent'), 'forgetful': Printer('--ignore-set', '0')}
for name, content in (('shop.json', SHOP), ('identity.json', {'serial.serial_number': 'SN-ELSEWHERE'})):
    with open(os.path.join(tmp, name), 'w') as f:
        json.dump({'format': 'labelsetup-profile', 'version': 1, 'settings': content}, f)
hosts = {name: {'printer': p.name} for name, p in printers.items()}
hosts['shop_a'].update(shop_settings=dict(SHOP, **{'print.speed': '3'}))  # a number as a template gives it
hosts['shop_b'].update(shop_profile=os.path.join(tmp, 'shop.json'), cli=cli)  # the rest find it on PATH
hosts['forgetful'].update(shop_settings=SHOP)
hosts['silent'].update(shop_settings=SHOP)
inventory = os.path.join(tmp, 'inventory.json')
with open(inventory, 'w') as f:
    json.dump({'all': {'vars': {'ansible_connection': 'local', 'ansible_python_interpreter': '{{ ansible_playbook_python }}',
                                'wifi_password': SECRET, 'identity_profile': os.path.join(tmp, 'identity.json')},
                       'children': {'shops': {'hosts': {h: hosts[h] for h in ('shop_a', 'shop_b')}},
                                    'troubled': {'hosts': {h: hosts[h] for h in ('silent', 'forgetful')}}}}}, f)
open(os.path.join(tmp, 'ansible.cfg'), 'w').close()
env = dict(os.environ, HOME=tmp, ANSIBLE_CONFIG=os.path.join(tmp, 'ansible.cfg'), ANSIBLE_COLLECTIONS_PATH=collections,
           ANSIBLE_LOCAL_TEMP=os.path.join(tmp, 'local'), ANSIBLE_REMOTE_TEMP=os.path.join(tmp, 'remote'),
           ANSIBLE_NOCOLOR='1', ANSIBLE_RETRY_FILES_ENABLED='0', PATH=os.path.dirname(cli) + os.pathsep + os.environ['PATH'])


def play(*args):
    """One ansible-playbook run: its output, each host's recap, each printer's set frames."""
    marks = {name: len(p.lines) for name, p in printers.items()}
    run = subprocess.run(['ansible-playbook', '-i', inventory, os.path.join(here, 'shops.yml'), *args],
                         env=env, cwd=tmp, capture_output=True, text=True, timeout=240)
    out = run.stdout + run.stderr
    # Every connection the run opened has closed: no frame is still on its way.
    wait_for(lambda: all(p.count(' connected$') == p.count(' closed$') for p in printers.values()), 'closed connections')
    assert SECRET not in out, out
    recap = {h: tuple(map(int, m)) for h, *m in re.findall(
        r'^(\w+)\s+: ok=\d+\s+changed=(\d+)\s+unreachable=\d+\s+failed=(\d+)\s+skipped=\d+\s+rescued=\d+\s+ignored=(\d+)',
        out, re.M)}
    return out, recap, {name: p.count('^TCP set ', marks[name]) for name, p in printers.items()}


def check(condition, out):
    if not condition:
        sys.exit('FAILED\n' + out)


try:
    out, recap, sets = play('--check', '--diff', '-vvv', '--limit', 'shops')
    check(recap == {'shop_a': (1, 0, 0), 'shop_b': (1, 0, 0)} and sets == dict.fromkeys(printers, 0), out)
    check(re.search(r'^-\s+"print.speed": 2', out, re.M) and re.search(r'^\+\s+"print.speed": 3', out, re.M), out)
    check(re.search(r'^\+\s+"wifi.sta.password": "\(secret, changed\)"', out, re.M), out)
    check('"firmware": ' in out and '"dots_per_mm": 8' in out and '"serial_number": "SN20261206001"' in out, out)

    out, recap, sets = play('--diff', '-vvv')
    check(recap == {'shop_a': (1, 0, 0), 'shop_b': (1, 0, 0), 'silent': (0, 1, 0), 'forgetful': (0, 1, 0)}, out)
    check(sets['shop_a'] > 0 and sets['shop_b'] > 0, out)
    check('print.speed does not hold: expected 3, the printer has 2' in out and 'did not answer its identity query' in out, out)
    for name in ('shop_a', 'shop_b'):
        held = subprocess.run([cli, '--json', 'get', printers[name].name, *SHOP], capture_output=True, text=True)
        check(json.loads(held.stdout)['settings'] == SHOP, held.stdout)

    out, recap, sets = play('--limit', 'shops', '-e', 'refusals=1')
    check(recap == {'shop_a': (0, 0, 2), 'shop_b': (0, 0, 2)} and sets == dict.fromkeys(printers, 0), out)
    check('The range of print.speed is 0 ~ 7' in out and 'serial.serial_number belongs to one printer' in out, out)

    doc = subprocess.run(['ansible-doc', 'labelsetup.printers.printer_settings', 'labelsetup.printers.printer_info'],
                         env=env, cwd=tmp, capture_output=True, text=True)
    check(doc.returncode == 0 and 'include_identity' in doc.stdout and 'serial_number' in doc.stdout, doc.stdout + doc.stderr)
finally:
    for p in printers.values():
        p.proc.terminate()
        p.proc.wait()
    shutil.rmtree(tmp)
print('PASS')
