#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets: small valid files and broken variants of them.

Run from anywhere; it replaces fuzz/corpus/<target>/ for each target named on the command line, or for
every target when none is named. Needs Info-ZIP zip for the encrypted archives.
"""
import io
import os
import pathlib
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

HERE = pathlib.Path(__file__).resolve().parent
rng = random.Random(7)


def u16(v):
    return struct.pack('<H', v)


def u32(v):
    return struct.pack('<I', v)


def variants(data, count=4, pick=rng):
    """Broken copies of a valid file: cut short at a few places and with a few bytes flipped."""
    out = []
    for n in sorted({len(data) // 2, len(data) - 1, 30, 6}):
        if 0 < n < len(data):
            out.append(data[:n])
    for _ in range(count):
        b = bytearray(data)
        b[pick.randrange(len(b))] ^= 0xFF
        out.append(bytes(b))
    return out


# ---- bitmaps
def bmp(w, h, bits, rows, palette=b'', compression=0, header=40, extras=b''):
    info = u32(header) + struct.pack('<iiHHIIiiII', w, h, 1, bits, compression, len(rows), 0, 0,
                                     len(palette) // 4, 0)
    info += b'\0' * (header - 40)
    offset = 14 + len(info) + len(extras) + len(palette)
    return b'BM' + u32(offset + len(rows)) + u32(0) + u32(offset) + info + extras + palette + rows


def stride(w, bits):
    return (w * bits + 31) // 32 * 4


def bitmaps():
    files = {}
    pal2 = b'\0\0\0\0\xff\xff\xff\0'
    pal16 = bytes(rng.randrange(256) for _ in range(64))
    pal256 = bytes(rng.randrange(256) for _ in range(1024))
    files['1bit.bmp'] = bmp(9, 3, 1, bytes(rng.randrange(256) for _ in range(stride(9, 1) * 3)), pal2)
    files['4bit.bmp'] = bmp(5, 4, 4, bytes(rng.randrange(256) for _ in range(stride(5, 4) * 4)), pal16)
    files['8bit_topdown.bmp'] = bmp(7, -3, 8, bytes(rng.randrange(256) for _ in range(stride(7, 8) * 3)), pal256)
    files['24bit.bmp'] = bmp(33, 2, 24, bytes(rng.randrange(256) for _ in range(stride(33, 24) * 2)))
    files['32bit.bmp'] = bmp(4, 4, 32, bytes(rng.randrange(256) for _ in range(64)))
    files['32bit_bitfields.bmp'] = bmp(2, 2, 32, bytes(range(16)), compression=3,
                                       extras=u32(0xFF0000) + u32(0xFF00) + u32(0xFF))
    files['32bit_v5.bmp'] = bmp(2, 2, 32, bytes(range(16)), compression=3, header=124)
    # A two-by-one grid of cells, each on a magenta background.
    cells = bytearray()
    for y in range(32):
        for x in range(64):
            cells += b'\xff\x00\xff' if (x % 32 + y) % 3 else bytes([x, y, 99])
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 3)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['cells_64x32.bmp'] = bmp(64, 32, 24, bytes(cells))
    files['rle8.bmp'] = bmp(2, 2, 8, b'\0' * 8, pal2, compression=1)
    files['os2.bmp'] = b'BM' + u32(30) + u32(0) + u32(26) + u32(12) + u16(1) + u16(1) + u16(1) + u16(24) + b'\0\0\0\0'
    files['huge.bmp'] = bmp(0x7FFFFFFF, 0x7FFFFFFF, 24, b'')
    files['min_height.bmp'] = bmp(1, -0x80000000, 24, b'\0' * 4)
    return files


# ---- icons and cursors
def dib(w, h, bits):
    palette = b'\x40' * (4 << bits) if bits <= 8 else b''
    xor = stride(w, bits) * h
    andm = stride(w, 1) * h
    return struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, bits, 0, 0, 0, 0, 0, 0) + palette + b'\x5a' * (xor + andm)


def icon_file(kind, images):
    """images: (data, width, height, field4, field6)"""
    head = u16(0) + u16(kind) + u16(len(images))
    offset = 6 + 16 * len(images)
    body = b''
    for data, w, h, f4, f6 in images:
        head += bytes([w % 256, h % 256, 0, 0]) + u16(f4) + u16(f6) + u32(len(data)) + u32(offset)
        offset += len(data)
        body += data
    return head + body


def icons():
    files = {
        'one.ico': icon_file(1, [(dib(16, 16, 4), 16, 16, 1, 4)]),
        'three.ico': icon_file(1, [(dib(16, 16, 4), 16, 16, 1, 4), (dib(32, 32, 8), 32, 32, 1, 8),
                                   (b'\x89PNG\r\n\x1a\n' + b'\0' * 40, 0, 0, 1, 32)]),
        'arrow.cur': icon_file(2, [(dib(32, 32, 1), 32, 32, 3, 7)]),
    }
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['count_ffff.ico'] = u16(0) + u16(1) + u16(0xFFFF) + b'\0' * 32
    files['offset_wraps.ico'] = u16(0) + u16(1) + u16(1) + bytes(4) + u16(1) + u16(32) + u32(0x20) + u32(0xFFFFFFF0)
    return files


# ---- icon writing: a control byte (depth, kind), the hotspot, a colour count, the pixels' colour
# picks, the mask bits, then the colours; some seeds are themselves icon files, to be animation frames
def icon_writer():
    pick = random.Random(13)
    files = {}
    for control in range(8):
        for colours in (0, 15, 255):
            size = 1200 + 3 * (colours + 1)
            data = bytes([control, pick.randrange(32), pick.randrange(32), colours])
            data += bytes(pick.randrange(256) for _ in range(size - 4))
            files[f'pixels_{control}_{colours + 1}'] = data
    files['short'] = bytes([2, 5, 6, 200, 1, 2, 3])
    files['frame_one.ico'] = icon_file(1, [(dib(16, 16, 4), 16, 16, 1, 4)])
    files['frame_arrow.cur'] = icon_file(2, [(dib(32, 32, 1), 32, 32, 3, 7)])
    files['frame_broken.ico'] = files['frame_one.ico'][:30]
    return files


# ---- single icon images: what one directory entry points at
def icon_pictures():
    pick = random.Random(11)  # its own, so that this corpus comes out the same alone or with the rest

    def image(w, h, bits, table=b'', compression=0, extras=b'', mask=True, used=0, alpha=None):
        info = struct.pack('<IiiHHIIiiII', 40, w, 2 * h, 1, bits, compression, 0, 0, 0, used, 0)
        color = bytearray(pick.randrange(256) for _ in range(stride(w, bits) * abs(h)))
        if alpha is not None:
            color[3::4] = bytes([alpha]) * len(color[3::4])
        andm = bytes(pick.randrange(256) for _ in range(stride(w, 1) * abs(h))) if mask else b''
        return info + extras + table + bytes(color) + andm

    files = {
        '1bit.dib': image(32, 32, 1, b'\0\0\0\0\xff\xff\xff\0'),
        '4bit.dib': image(16, 16, 4, bytes(pick.randrange(256) for _ in range(64))),
        '8bit_four_colours.dib': image(5, 3, 8, bytes(pick.randrange(256) for _ in range(16)), used=4),
        '24bit_topdown.dib': image(7, -5, 24),
        '32bit_alpha.dib': image(8, 8, 32),
        '32bit_zero_alpha.dib': image(6, 4, 32, alpha=0),
        '32bit_bitfields.dib': image(3, 3, 32, compression=3, extras=u32(0xFF0000) + u32(0xFF00) + u32(0xFF)),
    }
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 3, pick)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['24bit_no_mask.dib'] = image(9, 9, 24, mask=False)
    files['png.dib'] = b'\x89PNG\r\n\x1a\n' + b'\0' * 40
    files['huge.dib'] = struct.pack('<IiiHHIIiiII', 40, 0x7FFFFFFF, 0x7FFFFFFE, 1, 24, 0, 0, 0, 0, 0, 0)
    files['min_height.dib'] = struct.pack('<IiiHHIIiiII', 40, 1, -0x80000000, 1, 24, 0, 0, 0, 0, 0, 0) + b'\0' * 8
    files['colours_used_max.dib'] = image(4, 4, 1, b'\x10' * 1024, used=0xFFFFFFFF)
    return files


# ---- animated cursors
def chunk(cid, body):
    return cid + u32(len(body)) + body + (b'\0' if len(body) % 2 else b'')


def riff(form, chunks):
    return chunk(b'RIFF', form + b''.join(chunks))


def anih(frames, steps, flags, rate=10):
    return chunk(b'anih', struct.pack('<9I', 36, frames, steps, 32, 32, 32, 1, rate, flags))


def fram(n):
    return chunk(b'LIST', b'fram' + b''.join(chunk(b'icon', icon_file(2, [(dib(32, 32, 4), 32, 32, i, i)]))
                                             for i in range(n)))


def anis():
    files = {
        'plain.ani': riff(b'ACON', [anih(2, 2, 1), fram(2)]),
        'seq_rate.ani': riff(b'ACON', [chunk(b'LIST', b'INFO' + chunk(b'INAM', b'odd')), anih(3, 4, 3),
                                       chunk(b'rate', struct.pack('<4I', 1, 2, 3, 4)),
                                       chunk(b'seq ', struct.pack('<4I', 0, 2, 1, 2)), fram(3)]),
    }
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 6)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['zero_frames.ani'] = riff(b'ACON', [anih(0, 1, 1), fram(1)])
    files['count_ffffffff.ani'] = riff(b'ACON', [anih(0xFFFFFFFF, 1, 1), fram(1)])
    files['still_icon.ani'] = icons()['one.ico']
    files['seq_out_of_range.ani'] = riff(b'ACON', [anih(2, 2, 3), chunk(b'seq ', struct.pack('<2I', 0, 9)), fram(2)])
    files['riff_size_small.ani'] = b'RIFF' + u32(4) + files['plain.ani'][8:]
    return files


# ---- ZIP archives
def zips():
    content = b''.join(b'icon %d\n' % i for i in range(60)) + bytes(rng.randrange(256) for _ in range(200))
    files = {}
    for name, method in (('stored.zip', zipfile.ZIP_STORED), ('deflated.zip', zipfile.ZIP_DEFLATED)):
        buf = io.BytesIO()
        with zipfile.ZipFile(buf, 'w', method) as z:
            z.writestr('17.lib', content)
            z.writestr('sub/a.lib', b'')
        files[name] = buf.getvalue()

    # Python writes data descriptors when its output cannot seek.
    class Unseekable(io.RawIOBase):
        def __init__(self):
            self.data = bytearray()

        def writable(self):
            return True

        def write(self, b):
            self.data += b
            return len(b)

    out = Unseekable()
    with zipfile.ZipFile(out, 'w', zipfile.ZIP_DEFLATED) as z:
        z.writestr('17.lib', content)
    files['descriptor.zip'] = bytes(out.data)

    if shutil.which('zip'):
        with tempfile.TemporaryDirectory() as tmp:
            pathlib.Path(tmp, '17.lib').write_bytes(content)
            for name, args in (('encrypted.zip', ['-P', 'pw']), ('encrypted_stored.zip', ['-0', '-P', 'pw'])):
                subprocess.run(['zip', '-q'] + args + [name, '17.lib'], cwd=tmp, check=True)
                files[name] = pathlib.Path(tmp, name).read_bytes()
    else:
        print('zip is missing: no encrypted archives in the corpus')

    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 6)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['empty.zip'] = b'PK\5\6' + b'\0' * 18
    base = files['deflated.zip']
    end = len(base) - 22
    files['zip64_offset.zip'] = base[:end + 16] + u32(0xFFFFFFFF) + base[end + 20:]
    files['count_5000.zip'] = base[:end + 8] + u16(5000) + u16(5000) + base[end + 12:]
    cd = base.find(b'PK\1\2')
    files['bomb_size.zip'] = base[:cd + 24] + u32(1 << 20) + base[cd + 28:]
    files['unsafe_name.zip'] = base.replace(b'sub/a.lib', b'../ab.lib')
    return files


# ---- catalogue text files: index, user keywords and user references, separated by zero bytes
def catalogue():
    index = [b'stars;12:345:abc00;12:346:abc01', b'moon;1:0:m02;1:1:m13;2:5:q48', b'group kitchen;7:3:k05',
             b'\xc4pfel;3:9:\xe41']
    keys = [b'my icons', b'Kr\xe4uter']
    refs = [b'flowers;C:\\a\\b.ico;0;x;1user', b'my icons;C:\\x\\y.dll;2;#3 of 12;4user']

    def joined(end, i=index, k=keys, r=refs):
        return end.join(i) + end + b'\0' + end.join(k) + end + b'\0' + end.join(r)

    files = {'crlf.txt': joined(b'\r\n'), 'cr.txt': joined(b'\r'), 'lf.txt': joined(b'\n')}
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 3)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    files['index_only.txt'] = b'\r\n'.join(index)
    files['no_separators.txt'] = joined(b'\r\n', [b'broken', b'', b'a;'], [b''], [b'nothing', b';'])
    files['blank_lines.txt'] = b'\r\n\r\n\n\r\0\r\n\0\n\n'
    files['empty_parts.txt'] = b'\0\0'
    files['more_zeros.txt'] = joined(b'\r\n') + b'\0extra;1:1:x00\0'
    files['long_line.txt'] = b'long;' + b';'.join(b'%d:%d:t%d0' % (i % 175 + 1, i, i % 9) for i in range(2000))
    files['slots_3005.txt'] = b'\r\n'.join(b'k%d;1:%d:x00' % (i, i) for i in range(3003)) + b'\0u1\r\nu2'
    files['semicolons.txt'] = b';;;;\r\n;\0a;b;c\0;;'
    return files


# ---- programs and libraries: PE32, PE32+ and NE images with icon groups
def resource_section(named, numbered, group_type=True):
    """A named type, icons (3), icon groups (14) and a version (16); the groups named, then numbered."""
    types = [3] + ([14] if group_type else []) + [16]
    empty_dir = 16 + 8 * (1 + len(types))
    group_dir = empty_dir + 16
    data_entry = group_dir + 16 + 8 * (named + numbered)
    names = bytearray()

    def name(text):
        at = data_entry + 16 + len(names)
        names.extend(u16(len(text)) + text.encode('utf-16-le'))
        return at | 0x80000000

    root = struct.pack('<IIHHHH', 0, 0, 0, 0, 1, len(types)) + u32(name('PNG')) + u32(0x80000000 | empty_dir)
    for t in types:
        root += u32(t) + u32(0x80000000 | (group_dir if t == 14 else empty_dir))
    group = struct.pack('<IIHHHH', 0, 0, 0, 0, named, numbered)
    group += b''.join(u32(name('GROUP%d' % k)) + u32(data_entry) for k in range(named))
    group += b''.join(u32(100 + k) + u32(data_entry) for k in range(numbered))
    return root + bytes(16) + group + u32(0x3000) + u32(64) + bytes(8) + bytes(names)


def pe(wide, named, numbered, group_type=True, pe_at=0x80):
    rsrc = resource_section(named, numbered, group_type)
    optional_size = 240 if wide else 224
    sections = pe_at + 24 + optional_size
    text = (sections + 80 + 0x1FF) // 0x200 * 0x200
    rsrc_at = text + 0x200
    raw = (len(rsrc) + 0x1FF) // 0x200 * 0x200
    head = b'MZ' + bytes(0x3A) + u32(pe_at)
    head += bytes(pe_at - len(head)) + b'PE\0\0'
    head += struct.pack('<HHIIIHH', 0x8664 if wide else 0x14C, 2, 0, 0, 0, optional_size, 0x2102)
    directories = 112 if wide else 96
    optional = u16(0x20B if wide else 0x10B) + bytes(directories - 6) + u32(16)
    optional += bytes(16) + u32(0x2000) + u32(len(rsrc)) + bytes(13 * 8)
    head += optional
    head += b'.text\0\0\0' + struct.pack('<IIIIIIHHI', 0x100, 0x1000, 0x200, text, 0, 0, 0, 0, 0x60000020)
    head += b'.rsrc\0\0\0' + struct.pack('<IIIIIIHHI', len(rsrc), 0x2000, raw, rsrc_at, 0, 0, 0, 0, 0x40000040)
    return head + bytes(rsrc_at - len(head)) + rsrc + bytes(raw - len(rsrc))


def ne(types):
    """types: (type id, count); none gives a file without a resource table."""
    table = b''
    if types:
        table = u16(4)
        for type_id, count in types:
            table += u16(type_id) + u16(count) + u32(0)
            table += b''.join(struct.pack('<HHHHI', 0x10 + k, 1, 0x30, 0x8001 + k, 0) for k in range(count))
        table += u16(0)
    header = b'NE' + bytes(0x22) + u16(0x40) + u16(0x40 + len(table)) + bytes(0x18)
    return b'MZ' + bytes(0x3A) + u32(0x40) + header + table + b'\x05ICONS' + u16(0) + b'\0'


def exe_icons():
    files = {
        'pe32.dll': pe(False, 1, 3),
        'pe32plus.exe': pe(True, 2, 1),
        'pe32_no_groups.exe': pe(False, 0, 0, group_type=False),
        'pe32plus_far_header.dll': pe(True, 0, 2, pe_at=0x3F0),
        'ne.icl': ne([(0x8003, 4), (0x800E, 2)]),
        'ne_named_type.dll': ne([(0x0120, 1), (0x800E, 1)]),
        'ne_no_table.exe': ne([]),
    }
    broken = {}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 6)):
            broken[f'broken_{name}_{i}'] = v
    files.update(broken)
    base = files['pe32.dll']
    files['sections_ffff.dll'] = base[:0x86] + u16(0xFFFF) + base[0x88:]
    files['lfanew_huge.dll'] = base[:0x3C] + u32(0xFFFFFFF0) + base[0x40:]
    files['rva_outside.dll'] = base.replace(u32(0x2000) + u32(len(resource_section(1, 3))), u32(0x9000) + u32(0x100), 1)
    base = files['ne.icl']
    files['ne_count_ffff.icl'] = base[:0x84] + u16(0xFFFF) + base[0x86:]
    files['ne_types_repeat.icl'] = ne([(0x8010, 0)] * 1100 + [(0x800E, 1)])
    return files


# ---- programs and libraries with real icon groups and images
def group_data(entries):
    """entries: (icon id, image bytes); the directory the system writes for them."""
    out = u16(0) + u16(1) + u16(len(entries))
    for icon_id, image in entries:
        if image.startswith(b'\x89PNG'):
            w, h, bits = 0, 0, 32
        else:
            w, h, bits = struct.unpack_from('<i', image, 4)[0], struct.unpack_from('<i', image, 8)[0] // 2, \
                struct.unpack_from('<H', image, 14)[0]
        out += bytes([w % 256, h % 256, 0, 0]) + u16(1) + u16(bits) + u32(len(image)) + u16(icon_id)
    return out


def png_image(side):
    ihdr = b'IHDR' + struct.pack('>IIBBBBB', side, side, 8, 6, 0, 0, 0)
    iend = b'IEND'
    return (b'\x89PNG\r\n\x1a\n' + struct.pack('>I', 13) + ihdr + u32(0) + struct.pack('>I', 0) + iend + u32(0))


def module_resources():
    icons = [(1, dib(16, 16, 4)), (2, dib(32, 32, 1)), (3, dib(8, 8, 32)), (4, png_image(16))]
    images = dict(icons)
    groups = [('MAIN', group_data([(1, images[1]), (2, images[2])])),
              (5, group_data([(3, images[3]), (4, images[4])])),
              (7, group_data([(2, images[2]), (1, images[1]), (3, images[3])]))]
    return groups, icons


def pe_module(wide, groups, icons):
    """A PE32 or PE32+ image whose resource section holds icons (3) and icon groups (14), each resource
    through a language directory and a data entry; groups: (name or id, bytes), named first.
    Returns the file and where its parts are."""
    n_icons, n_groups = len(icons), len(groups)
    icon_dir, group_dir = 32, 32 + 16 + 8 * n_icons
    languages = group_dir + 16 + 8 * n_groups
    entries = languages + 24 * (n_icons + n_groups)
    resources = list(icons) + list(groups)
    r = bytearray(entries + 16 * len(resources))
    struct.pack_into('<HH', r, 12, 0, 2)
    struct.pack_into('<IIII', r, 16, 3, 0x80000000 | icon_dir, 14, 0x80000000 | group_dir)
    named = sum(1 for key, _ in groups if isinstance(key, str))
    struct.pack_into('<HH', r, icon_dir + 12, 0, n_icons)
    struct.pack_into('<HH', r, group_dir + 12, named, n_groups - named)
    at = {}
    for k, (key, _) in enumerate(resources):
        entry = icon_dir + 16 + 8 * k if k < n_icons else group_dir + 16 + 8 * (k - n_icons)
        if isinstance(key, str):
            name_at = len(r)
            r += u16(len(key)) + key.encode('utf-16-le')
            key = 0x80000000 | name_at
        struct.pack_into('<II', r, entry, key, 0x80000000 | (languages + 24 * k))
        struct.pack_into('<HHII', r, languages + 24 * k + 12, 0, 1, 0x409, entries + 16 * k)
        at[k] = (entry, languages + 24 * k, entries + 16 * k)
    for k, (_, data) in enumerate(resources):
        r += bytes(-len(r) % 8)
        struct.pack_into('<II', r, entries + 16 * k, 0x2000 + len(r), len(data))
        at[k] = at[k] + (len(r),)
        r += data
    head = pe(wide, 0, 0)
    rsrc_at = len(head) - 0x200
    sections = 0x80 + 24 + (240 if wide else 224)
    raw = (len(r) + 0x1FF) // 0x200 * 0x200
    out = bytearray(head[:rsrc_at]) + r + bytes(raw - len(r))
    directory = 0x80 + 24 + (112 if wide else 96) + 16
    struct.pack_into('<II', out, directory, 0x2000, len(r))
    struct.pack_into('<III', out, sections + 40 + 8, len(r), 0x2000, raw)
    where = {'root': rsrc_at, 'text': sections, 'group_type': rsrc_at + 24}
    for k, (entry, language, data_entry, data) in at.items():
        kind = 'icon%d' % k if k < n_icons else 'group%d' % (k - n_icons)
        where[kind] = {'entry': rsrc_at + entry, 'language': rsrc_at + language,
                       'data_entry': rsrc_at + data_entry, 'data': rsrc_at + data}
    return bytes(out), where


def ne_module(shift, groups, icons):
    """An NE image with icon (0x8003) and icon group (0x800E) records: offset and length in units of
    1 << shift, flags, id (0x8000 | number, or the offset of a name in the table), handle, usage."""
    table = bytearray(u16(shift))
    records = []
    for type_id, items in ((0x8003, icons), (0x800E, groups)):
        table += u16(type_id) + u16(len(items)) + u32(0)
        for key, data in items:
            records.append((0x80 + len(table), key, data))
            table += bytes(12)
    table += u16(0)
    for at, key, _ in records:
        if isinstance(key, str):
            struct.pack_into('<H', table, at - 0x80 + 6, len(table))
            table += bytes([len(key)]) + key.encode()
        else:
            struct.pack_into('<H', table, at - 0x80 + 6, 0x8000 | key)
    header = b'NE' + bytes(0x22) + u16(0x40) + u16(0x40 + len(table)) + bytes(0x18)
    out = bytearray(b'MZ' + bytes(0x3A) + u32(0x40) + header + table + b'\x05ICONS' + u16(0) + b'\0')
    unit = 1 << shift
    for at, _, data in records:
        out += bytes(-len(out) % unit)
        struct.pack_into('<HHH', out, at, len(out) >> shift, (len(data) + unit - 1) >> shift, 0x1C30)
        out += data
    out += bytes(-len(out) % unit)
    return bytes(out), {'table': 0x80, 'records': [at for at, _, _ in records]}


def module_icons():
    pick = random.Random(13)  # its own, so that this corpus comes out the same alone or with the rest
    groups, icons = module_resources()
    files = {}
    pe32, where = pe_module(False, groups, icons)
    files['pe32.dll'] = pe32
    files['pe32plus.exe'] = pe_module(True, groups, icons)[0]
    ne4, ne_where = ne_module(4, groups, icons)
    files['ne_shift4.icl'] = ne4
    files['ne_shift0.dll'] = ne_module(0, groups, icons)[0]
    broken = {}
    seen = set(files.values())
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data, 3, pick)):
            if v not in seen:  # the short cuts of every module are the same MZ header
                seen.add(v)
                broken[f'broken_{name}_{i}'] = v
    files.update(broken)

    def patched(base, *changes):
        b = bytearray(base)
        for at, fmt, value in changes:
            struct.pack_into(fmt, b, at, value)
        return bytes(b)

    g0 = where['group0']
    files['rva_outside.dll'] = patched(pe32, (g0['data_entry'], '<I', 0x9000))
    files['size_past_raw.dll'] = patched(pe32, (g0['data_entry'] + 4, '<I', 0x10000))
    files['language_nests.dll'] = patched(pe32, (g0['language'] + 20, '<I', 0x80000020))
    files['type_loops_to_root.dll'] = patched(pe32, (where['group_type'] + 4, '<I', 0x80000000))
    files['missing_icon.dll'] = patched(pe32, (g0['data'] + 6 + 12, '<H', 99))
    files['group_count_past.dll'] = patched(pe32, (g0['data'] + 4, '<H', 0x300))
    # The code section claims 2 GB of raw data and a group's data lies there, over the size limit.
    files['huge_size.dll'] = patched(pe32, (where['text'] + 12, '<I', 0x100000), (where['text'] + 16, '<I', 0x7FFFFFFF),
                                     (g0['data_entry'], '<I', 0x100000), (g0['data_entry'] + 4, '<I', 0x900000))
    group_record = ne_where['records'][len(icons)]
    files['ne_offset_past_end.icl'] = patched(ne4, (group_record, '<H', 0xFFFF))
    files['ne_length_past_end.icl'] = patched(ne4, (group_record + 2, '<H', 0xFFFF))
    files['ne_shift_absurd.icl'] = patched(ne4, (ne_where['table'], '<H', 200))
    files['ne_icons_only_shift_absurd.icl'] = patched(ne_module(4, [], icons)[0], (0x80, '<H', 200))
    return files


# ---- shortcuts
LINK_CLSID = bytes.fromhex('0114020000000000c000000000000046')
HAS_IDLIST, HAS_LINKINFO, HAS_NAME, HAS_RELPATH, HAS_WORKDIR, HAS_ARGS, HAS_ICON, IS_UNICODE = (
    1, 2, 4, 8, 0x10, 0x20, 0x40, 0x80)


def link_header(flags, show=1, icon=0, hotkey=0, attributes=0x20, size=0):
    times = struct.pack('<QQQ', 0x01D0000000000000, 0x01D0000000000001, 0x01D0000000000002)
    return (u32(0x4C) + LINK_CLSID + u32(flags) + u32(attributes) + times + u32(size) +
            struct.pack('<iI', icon, show) + u16(hotkey) + b'\0' * 10)


def id_list(items):
    body = b''.join(u16(len(i) + 2) + i for i in items) + u16(0)
    return u16(len(body)) + body


def path_items(path):
    """The items of a path as the shell stores them: My Computer, the drive, then each name."""
    items = [b'\x1f\x50' + bytes.fromhex('e04fd020ea3a6910a2d808002b30309d')]
    drive, *names = path.split('\\')
    items.append(b'\x2f' + (drive + '\\').encode() + b'\0' * (22 - len(drive) - 1))
    for i, name in enumerate(names):
        kind = 0x32 if i == len(names) - 1 else 0x31
        items.append(bytes([kind, 0]) + u32(0) + u32(0) + u16(0x20) + name.encode('latin-1') + b'\0')
    return items


def link_info(base, label='DISK'):
    volume = u32(0x10 + len(label) + 1) + u32(3) + u32(0x1234ABCD) + u32(0x10) + label.encode() + b'\0'
    volume_at = 0x1C
    path_at = volume_at + len(volume)
    suffix_at = path_at + len(base) + 1
    head = u32(suffix_at + 1) + u32(0x1C) + u32(1) + u32(volume_at) + u32(path_at) + u32(0) + u32(suffix_at)
    return head + volume + base.encode('latin-1') + b'\0' + b'\0'


def link_text(s, wide):
    return u16(len(s)) + (s.encode('utf-16-le') if wide else s.encode('latin-1'))


def text_block(signature, text):
    ansi = text.encode('latin-1')[:259].ljust(260, b'\0')
    wide = text.encode('utf-16-le')[:518].ljust(520, b'\0')
    return u32(0x314) + u32(signature) + ansi + wide


def block(signature, body):
    return u32(8 + len(body)) + u32(signature) + body


def shortcut(target=None, info=True, texts=(), wide=True, show=1, icon=0, hotkey=0, blocks=(), end=True):
    flags = IS_UNICODE if wide else 0
    body = b''
    if target is not None:
        flags |= HAS_IDLIST
        body += id_list(path_items(target))
        if info:
            flags |= HAS_LINKINFO
            body += link_info(target)
    for flag, text in zip((HAS_NAME, HAS_RELPATH, HAS_WORKDIR, HAS_ARGS, HAS_ICON), texts):
        if text is not None:
            flags |= flag
            body += link_text(text, wide)
    body += b''.join(blocks) + (u32(0) if end else b'')
    return link_header(flags, show, icon, hotkey) + body


def links():
    files = {}
    tracker = block(0xA0000003, u32(0x58) + u32(0) + b'machine'.ljust(16, b'\0') + bytes(range(64)))
    files['program.lnk'] = shortcut('C:\\Program Files\\Notes\\notes.exe',
                                    texts=('Notes', '..\\..\\Program Files\\Notes\\notes.exe', 'C:\\Program Files\\Notes',
                                           '-a "b c"', '%SystemRoot%\\system32\\shell32.dll'),
                                    show=3, icon=-5, hotkey=0x0641,
                                    blocks=(text_block(0xA0000007, '%SystemRoot%\\system32\\shell32.dll'), tracker,
                                            block(0xA0000005, u32(0x26) + u32(0x14)),
                                            block(0xA000000B, bytes(range(16)) + u32(0x14))))
    files['minimised.lnk'] = shortcut('C:\\Windows\\notepad.exe', texts=(None, None, 'C:\\Windows', None, None), show=7)
    files['folder.lnk'] = shortcut('C:\\Users\\Public\\Documents', texts=('A folder',))
    files['env_target.lnk'] = shortcut(texts=(None, None, None, '/s', None),
                                       blocks=(text_block(0xA0000001, '%windir%\\system32\\calc.exe'),))
    files['ansi.lnk'] = shortcut('C:\\WINDOWS\\NOTEPAD.EXE', wide=False,
                                 texts=(None, None, 'C:\\WINDOWS', 'readme.txt', 'moricons.dll'))
    files['icon_only.lnk'] = shortcut(texts=(None, None, None, None, 'C:\\icons\\a.ico'), icon=2)
    files['darwin.lnk'] = shortcut(texts=('Installed',), blocks=(text_block(0xA0000006, '[product]>component'),))
    files['no_end_block.lnk'] = shortcut('C:\\a.exe', end=False)
    files['header_only.lnk'] = link_header(0)
    files['non_ascii.lnk'] = shortcut('C:\\Daten\\B\xfcro.exe', texts=('B\xfcro', None, None, None, None))

    program = files['program.lnk']
    broken = {}
    for name, data in files.items():
        for i, v in enumerate(variants(data, 3)):
            broken[f'broken_{name}_{i}'] = v
    header_only = files['header_only.lnk']
    broken['header_size.lnk'] = u32(0x4D) + header_only[4:]
    broken['class_id.lnk'] = header_only[:4] + bytes(16) + header_only[20:]
    broken['id_list_past_end.lnk'] = link_header(HAS_IDLIST) + u16(0x400) + u16(0)
    broken['item_past_list.lnk'] = link_header(HAS_IDLIST) + u16(4) + u16(6) + u16(0)
    broken['item_one_byte.lnk'] = link_header(HAS_IDLIST) + u16(4) + u16(1) + u16(0)
    info = link_info('C:\\a.exe')
    broken['info_offset_outside.lnk'] = link_header(HAS_LINKINFO) + info[:16] + u32(0xFFFF) + info[20:]
    broken['info_label_outside.lnk'] = link_header(HAS_LINKINFO) + info[:0x1C + 12] + u32(0xFFF0) + info[0x1C + 16:]
    broken['info_unended.lnk'] = link_header(HAS_LINKINFO) + info[:-1] + b'x'
    broken['info_too_small.lnk'] = link_header(HAS_LINKINFO) + u32(8) + u32(8)
    broken['text_past_end.lnk'] = link_header(HAS_ARGS | IS_UNICODE) + u16(0xFFFF) + b'a\0'
    broken['block_five_bytes.lnk'] = link_header(0) + u32(5) + u32(0xA0000003) + u32(0)
    broken['block_past_end.lnk'] = link_header(0) + u32(0x7FFFFFFF) + u32(0xA0000003)
    broken['tracker_too_small.lnk'] = link_header(0) + block(0xA0000003, b'\0' * 8) + u32(0)
    broken['icon_block_unended.lnk'] = link_header(0) + u32(0x314) + u32(0xA0000007) + b'A' * (0x314 - 8) + u32(0)
    broken['cut_in_blocks.lnk'] = program[:-200]
    files.update(broken)
    return files


def wmf_placeable():
    head = u32(0x9AC6CDD7) + u16(0) + u16(0) + u16(0) + u16(100) + u16(100) + u16(1440) + u32(0)
    total = 0
    for i in range(0, 20, 2):
        total ^= struct.unpack('<H', head[i:i + 2])[0]
    head += u16(total)
    header = u16(1) + u16(9) + u16(0x300) + u32(9 + 7 + 3) + u16(0) + u32(7) + u16(0)
    records = u32(7) + u16(0x041B) + u16(90) + u16(90) + u16(10) + u16(10) + u32(3) + u16(0)
    return head + header + records, header + records


def emf():
    head = u32(1) + u32(88) + b''.join(u32(v) for v in (0, 0, 99, 99, 0, 0, 2646, 2646))
    head += u32(0x464D4520) + u32(0x10000) + u32(88 + 20) + u32(2) + u32(1) + u32(0) + u32(0) + u32(0)
    head += b''.join(u32(v) for v in (1024, 768, 320, 240))
    return head + u32(14) + u32(20) + u32(0) + u32(16) + u32(20)


SAMPLE_GIF = bytes.fromhex('47494638396102000200f00100800000ffffff21f90400000000002c0000000002000200000202445e003b')
SAMPLE_JPEG = bytes.fromhex(
    'ffd8ffe000104a46494600010100000100010000ffdb0043000302020302020303030304030304050805050404050a07'
    '0706080c0a0c0c0b0a0b0b0d0e12100d0e110e0b0b1016101113141515150c0f171816141812141514ffdb0043010304'
    '0405040509050509140d0b0d141414141414141414141414141414141414141414141414141414141414141414141414'
    '1414141414141414141414141414ffc00011080008000803011100021101031101ffc400140001000000000000000000'
    '00000000000008ffc40014100100000000000000000000000000000000ffc40015010101000000000000000000000000'
    '00000709ffc40014110100000000000000000000000000000000ffda000c03010002110311003f003a03154dffd9')


def picture_checks():
    placeable, plain = wmf_placeable()
    files = {'2x2.gif': SAMPLE_GIF, '8x8.jpg': SAMPLE_JPEG, 'placeable.wmf': placeable, 'plain.wmf': plain,
             'frame.emf': emf()}
    for name, data in list(files.items()):
        for i, v in enumerate(variants(data)):
            files['broken_%s_%d' % (name, i)] = v
    return files


def main():
    wanted = set(sys.argv[1:])
    for target, make in (('bmp', bitmaps), ('icocur', icons), ('ani', anis), ('zip', zips), ('catalogue', catalogue),
                         ('exe_icons', exe_icons), ('icon_picture', icon_pictures),
                         ('module_icons', module_icons), ('link', links),
                         ('icon_writer', icon_writer), ('picture_check', picture_checks)):
        if wanted and target not in wanted:
            continue
        files = make()
        folder = HERE / 'corpus' / target
        shutil.rmtree(folder, ignore_errors=True)
        folder.mkdir(parents=True)
        for name, data in files.items():
            (folder / name).write_bytes(data)
        print(f'{target}: {len(files)} files, {sum(len(d) for d in files.values())} bytes')


if __name__ == '__main__':
    main()
