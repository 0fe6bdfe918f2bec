#!/usr/bin/env python3
"""Writes the expected settings files of the tests, built straight from the documented file layout
(sections, keys, value forms, UTF-16LE with FF FE, CR LF) and the documented defaults, independently
of the program's writer. Run it in this folder; the outputs are committed."""

def effect_layer():
    b = bytearray(196)
    def color(o, v): b[o:o + 4] = v.to_bytes(4, 'little')
    b[0] = 1
    b[20] = 1; color(24, 0xFFFFFF); b[28] = 2
    b[32] = 1; b[33] = 1; color(40, 0xFFFFFF); b[44] = 2
    b[48] = 1; b[49] = 1; b[51] = 2; color(52, 0xFFFFFF)
    b[60] = 1; b[61] = 1; color(64, 0xFFFFFF); b[72] = 2
    b[76] = 1; b[77] = 1; color(80, 0xFFFFFF); b[88] = 2; b[89] = 2
    b[92] = 1; b[93] = 1; color(96, 0xFFFFFF); b[104] = 2
    b[108] = 1; b[109] = 2; b[110] = 2
    b[112] = 1; color(116, 0xFFFFFF); b[120] = 2; b[121] = 2
    b[124] = 1; color(128, 0xFFFFFF); b[132] = 2; b[133] = 1
    b[136] = 1
    for i in range(10): b[180 + i] = 1
    b[190] = 2
    b[192] = 1; b[193] = 2; b[195] = 1
    return b

FIRST = [0x2011, 0x2012, 0x2013, 0x2014, 0x2015, 0x2000, 0x2000, 0x2067, 0x2016, 0x2017]
SECOND = [0x2090, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2000, 0x2016, 0x2017]

def button(v):
    b = bytearray(536); b[0:2] = v.to_bytes(2, 'little'); b[535] = 1
    return b

def default_profile():
    base = bytearray(532)
    base[0] = 3; base[526] = 10; base[528] = 7; base[529] = 6; base[530] = 6
    return {
        'name': '', 'buttons': [button(v) for v in FIRST], 'buttons_ex': [button(v) for v in SECOND],
        'dpi': [bytes([0, v, v]) for v in (9, 0x13, 0x27, 0x4F)], 'base': base, 'select': 0,
        'base_layer': effect_layer(), 'multilayer': effect_layer(), 'system_status': bytes([1, 1, 0]),
        'picture': '',
    }

def block(data):
    return ''.join('%02X' % x for x in data) + '%02X' % (sum(data) % 256)

def ini(sections):
    lines = []
    for name, keys in sections:
        lines.append('[%s]' % name)
        lines += ['%s=%s' % kv for kv in keys]
    return b'\xff\xfe' + ''.join(l + '\r\n' for l in lines).encode('utf-16-le')

def profile_file(p):
    return ini([
        ('PROFILE_NAME', [('NAME', p['name'])]),
        ('BUTTON', [('BTN_%d' % (n + 1), block(p['buttons'][n])) for n in range(10)]),
        ('BUTTON_EX', [('BTN_%d' % (n + 1), block(p['buttons_ex'][n])) for n in range(10)]),
        ('DPI_SETTING', [('DPI_%d' % (n + 1), block(p['dpi'][n])) for n in range(4)]),
        ('SETTING', [('BASE', block(p['base']))]),
        ('EFFECT', [('SELECT_EFFECT', str(p['select'])), ('BASE_LAYER', block(p['base_layer'])),
                    ('MULTILAYER', block(p['multilayer'])), ('SYSTEM_STATUS', block(p['system_status']))]),
        ('PROFILE_NAME_PIC', [('NAME', p['picture'])]),
    ])

def write(name, data):
    with open(name, 'wb') as f: f.write(data)

default = default_profile()
write('default_config.ini', ini([('Setting', [('Profile', '0')])]))
write('default_Profile0.Prf', profile_file(default))

# The edited block of the tests: see SettingsFilesTest.cpp, EditedBlock().
edited = default_profile()
edited['name'] = 'Abend \u03a9 \u00e4'
edited['picture'] = 'night.png'
edited['buttons'][0] = button(0x2055)
edited['dpi'][0] = bytes([1, 2, 3])
edited['base'][526] = 12
edited['select'] = 3
edited['base_layer'][24:28] = (0x123456).to_bytes(4, 'little')
edited['multilayer'][10:14] = bytes([1, 2, 2, 0])
edited['system_status'] = bytes([0, 0, 1])
write('edited_config.ini', ini([('Setting', [('Profile', '1')])]))
write('edited_Profile0.Prf', profile_file(edited))
