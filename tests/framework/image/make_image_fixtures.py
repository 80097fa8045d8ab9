#!/usr/bin/env python3
"""Writes small image files of every layout the image readers take, each
with the pixels a reader must produce, for the image tests.

Usage: make_image_fixtures.py <folder>

For every fixture <name>.<ext> it writes <name>.expect (width and height as
two little-endian i32, then RGBA bytes top-down) and a line in
manifest.txt: name ext bytes-per-pixel pitch tolerance alpha-checked.
BMP, TGA and PNG files are written here with the standard library; JPEG
files by cjpeg, their expected pixels by djpeg.
"""
import os
import struct
import subprocess
import sys
import zlib

OUT = sys.argv[1]
MANIFEST = []
W, H = 5, 3


def rgba(x, y):
    return ((x * 50 + y * 7) & 255, (y * 80 + x * 3) & 255, (x * y * 30 + 11) & 255, (x * 40 + y * 60 + 5) & 255)


def palette(n):
    return [((i * 17) & 255, (255 - i * 9) & 255, (i * 5 + 3) & 255) for i in range(n)]


def index(x, y, n):
    return (x * 3 + y * 5) % n


def save(name, ext, data, w, h, pixels, bpp, pitch, tolerance=0, alpha=True):
    with open(os.path.join(OUT, name + '.' + ext), 'wb') as f:
        f.write(data)
    with open(os.path.join(OUT, name + '.expect'), 'wb') as f:
        f.write(struct.pack('<ii', w, h))
        for p in pixels:
            f.write(bytes(p))
    MANIFEST.append('%s %s %d %d %d %d' % (name, ext, bpp, pitch, tolerance, 1 if alpha else 0))


def grid(fn, w=W, h=H):
    return [fn(x, y) for y in range(h) for x in range(w)]


# ---- BMP ----

def bmp(bits, rows_top_down, top_down, compression=0, colours=None, masks=None, w=W, h=H, data=None):
    table = b''
    if colours is not None:
        table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in colours)
    if masks is not None:
        table = struct.pack('<III', *masks)
    if data is None:
        stride = (w * bits + 31) // 32 * 4
        rows = rows_top_down if top_down else list(reversed(rows_top_down))
        data = b''.join(r + b'\0' * (stride - len(r)) for r in rows)
    header = struct.pack('<IiiHHIIiiII', 40, w, -h if top_down else h, 1, bits, compression, len(data), 2835, 2835,
                         len(colours) if colours else 0, 0)
    offset = 14 + len(header) + len(table)
    return b'BM' + struct.pack('<IHHI', offset + len(data), 0, 0, offset) + header + table + data


def pack_indices(indices, bits):
    out = bytearray()
    per = 8 // bits
    for i in range(0, len(indices), per):
        v = 0
        for j in range(per):
            v <<= bits
            if i + j < len(indices):
                v |= indices[i + j]
        out.append(v)
    return bytes(out)


def make_bmp():
    for bits in (1, 4, 8):
        n = 1 << bits
        pal = palette(n)
        rows = [pack_indices([index(x, y, n) for x in range(W)], bits) for y in range(H)]
        expect = grid(lambda x, y: pal[index(x, y, n)] + (255,))
        bpp, pitch = (1, (W + 3) & ~3) if bits != 1 else (3, (W * 3 + 3) & ~3)
        if bits == 8:
            pitch = (W + 3) & ~3
        for top_down in (False, True):
            name = 'bmp%d_%s' % (bits, 'topdown' if top_down else 'bottomup')
            save(name, 'bmp', bmp(bits, rows, top_down, colours=pal), W, H, expect, bpp, pitch, alpha=False)
    # An 8-bit file that lists only the colours it uses.
    pal = palette(6)
    rows = [bytes(index(x, y, 6) for x in range(W)) for y in range(H)]
    save('bmp8_fewcolours', 'bmp', bmp(8, rows, False, colours=pal), W, H,
         grid(lambda x, y: pal[index(x, y, 6)] + (255,)), 1, 8, alpha=False)

    five = lambda v: v * 255 // 31
    def c555(x, y):
        r, g, b, _ = rgba(x, y)
        return (r >> 3, g >> 3, b >> 3)
    rows = [b''.join(struct.pack('<H', r << 10 | g << 5 | b) for (r, g, b) in (c555(x, y) for x in range(W)))
            for y in range(H)]
    save('bmp16_555', 'bmp', bmp(16, rows, False), W, H,
         grid(lambda x, y: tuple(five(v) for v in c555(x, y)) + (255,)), 3, 16, tolerance=4, alpha=False)
    def c565(x, y):
        r, g, b, _ = rgba(x, y)
        return (r >> 3, g >> 2, b >> 3)
    rows = [b''.join(struct.pack('<H', r << 11 | g << 5 | b) for (r, g, b) in (c565(x, y) for x in range(W)))
            for y in range(H)]
    save('bmp16_565_fields', 'bmp', bmp(16, rows, True, compression=3, masks=(0xF800, 0x7E0, 0x1F)), W, H,
         grid(lambda x, y: (five(c565(x, y)[0]), c565(x, y)[1] * 255 // 63, five(c565(x, y)[2]), 255)), 3, 16,
         tolerance=4, alpha=False)

    rows24 = [b''.join(bytes((rgba(x, y)[2], rgba(x, y)[1], rgba(x, y)[0])) for x in range(W)) for y in range(H)]
    rows32 = [b''.join(bytes((rgba(x, y)[2], rgba(x, y)[1], rgba(x, y)[0], rgba(x, y)[3])) for x in range(W))
              for y in range(H)]
    for top_down in (False, True):
        suffix = 'topdown' if top_down else 'bottomup'
        save('bmp24_' + suffix, 'bmp', bmp(24, rows24, top_down), W, H, grid(lambda x, y: rgba(x, y)[:3] + (255,)),
             3, 16, alpha=False)
        save('bmp32_' + suffix, 'bmp', bmp(32, rows32, top_down), W, H, grid(rgba), 4, 20)
    # 32-bit bit fields in blue-green-red order: drawn by GDI into 24 bits.
    rows = [b''.join(struct.pack('<I', rgba(x, y)[2] << 16 | rgba(x, y)[1] << 8 | rgba(x, y)[0]) for x in range(W))
            for y in range(H)]
    save('bmp32_fields', 'bmp', bmp(32, rows, False, compression=3, masks=(0xFF, 0xFF00, 0xFF0000)), W, H,
         grid(lambda x, y: rgba(x, y)[:3] + (255,)), 3, 16, alpha=False)

    # Run-length files: runs, absolute runs and a delta, bottom-up.
    pal = palette(16)
    rle_rows = [[1, 1, 1, 7, 9], [4, 4, 2, 3, 5], [0, 0, 0, 0, 0]]  # file order (bottom row first)
    rle8 = bytes([3, 1, 0, 3, 7, 9, 5, 0, 0, 0,          # run of three 1s, absolute 7 9 5 (padded)
                  2, 4, 0, 3, 2, 3, 5, 0, 0, 0,          # run of two 4s, absolute 2 3 5 (padded)
                  0, 2, 1, 0, 2, 6, 0, 1])                # delta (1, 0), two 6s, end of bitmap
    rle_rows[2] = [0, 6, 6, 0, 0]
    expect_rows = list(reversed(rle_rows))
    expect = [pal[expect_rows[y][x]] + (255,) for y in range(H) for x in range(W)]
    save('bmp8_rle', 'bmp', bmp(8, None, False, 1, pal, data=rle8), W, H, expect, 1, 8, alpha=False)
    rle4 = bytes([3, 0x11, 0, 3, 0x79, 0x50, 0, 0,         # three 1s, absolute 7 9 5 (two bytes, even)
                  2, 0x44, 0, 3, 0x23, 0x50, 0, 0,        # two 4s, absolute 2 3 5
                  0, 2, 1, 0, 2, 0x66, 0, 1])
    save('bmp4_rle', 'bmp', bmp(4, None, False, 2, pal, data=rle4), W, H, expect, 1, 8, alpha=False)


# ---- TGA ----

def tga(image_type, depth, descriptor, pixels_file_order, map_entries=None, map_first=0, footer=False, w=W, h=H):
    cmap = b''
    map_type, map_len, map_bits = 0, 0, 0
    if map_entries is not None:
        map_type, map_len, map_bits = 1, len(map_entries), depth
        cmap = b''.join(map_entries)
        depth_field = 8
    else:
        depth_field = depth
    header = struct.pack('<BBBHHBHHHHBB', 2, map_type, image_type, map_first, map_len, map_bits, 0, 0, w, h,
                         depth_field, descriptor)
    elem = 1 if map_entries is not None else depth // 8
    if image_type in (9, 10):
        body = bytearray()
        i = 0
        items = pixels_file_order
        while i < len(items):
            j = i
            while j < len(items) and j - i < 128 and items[j] == items[i]:
                j += 1
            if j - i >= 2:
                body += bytes([0x80 | (j - i - 1)]) + items[i]
                i = j
            else:
                k = i
                while k < len(items) and k - i < 128 and (k + 1 >= len(items) or items[k + 1] != items[k]):
                    k += 1
                k = max(k, i + 1)
                body += bytes([k - i - 1]) + b''.join(items[i:k])
                i = k
        data = bytes(body)
    else:
        data = b''.join(pixels_file_order)
    out = header + b'id' + cmap + data
    if footer:
        out += struct.pack('<II', 0, 0) + b'TRUEVISION-XFILE.\0'
    return out


def make_tga():
    def encode(depth, c):
        r, g, b, a = c
        if depth == 32:
            return bytes((b, g, r, a))
        if depth == 24:
            return bytes((b, g, r))
        return struct.pack('<H', 0x8000 | (r >> 3) << 10 | (g >> 3) << 5 | b >> 3)
    def expected(depth, c):
        r, g, b, a = c
        if depth == 16:
            return (r >> 3) * 255 // 31, (g >> 3) * 255 // 31, (b >> 3) * 255 // 31, 255
        return (r, g, b, a if depth == 32 else 255)
    # A pattern with repeats, so run-length packets of both kinds occur.
    colour = lambda x, y: rgba(x // 2, y)
    for image_type in (2, 10):
        for depth in (16, 24, 32):
            for descriptor in (0x00, 0x10, 0x20, 0x30):
                order = []
                for fy in range(H):
                    y = fy if descriptor & 0x20 else H - 1 - fy
                    for fx in range(W):
                        x = W - 1 - fx if descriptor & 0x10 else fx
                        order.append(encode(depth, colour(x, y)))
                name = 'tga%d_%d_%02x' % (image_type, depth, descriptor)
                save(name, 'tga', tga(image_type, depth, descriptor | (8 if depth == 32 else 0), order,
                                      footer=descriptor == 0x10),
                     W, H, grid(lambda x, y: expected(depth, colour(x, y))), depth // 8, W * depth // 8,
                     alpha=depth == 32)
    # Colour-mapped: entry size 24 with first index 10, raw and run-length.
    entries = [rgba(i, i + 1) for i in range(12)]
    for image_type in (1, 9):
        order = []
        for fy in range(H):
            y = H - 1 - fy
            order += [bytes([10 + (x // 2 + y * 3) % 12]) for x in range(W)]
        expect = grid(lambda x, y: entries[(x // 2 + y * 3) % 12][:3] + (255,))
        save('tga%d_mapped' % image_type, 'tga',
             tga(image_type, 24, 0, order, map_entries=[encode(24, e) for e in entries], map_first=10),
             W, H, expect, 3, W * 3, alpha=False)


# ---- PNG ----

def chunk(kind, data):
    return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data) & 0xFFFFFFFF)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def png(colour_type, depth, samples, w, h, plte=None, trns=None, interlace=0):
    """samples: per pixel a tuple of channel values at `depth` bits."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]
    bits_pp = channels * depth
    def row_bytes(xs, y):
        if depth < 8:
            vals = [samples[y * w + x][0] for x in xs]
            out = bytearray()
            per = 8 // depth
            for i in range(0, len(vals), per):
                v = 0
                for j in range(per):
                    v = v << depth | (vals[i + j] if i + j < len(vals) else 0)
                out.append(v)
            return bytes(out)
        fmt = '>' + ('B' if depth == 8 else 'H') * channels
        return b''.join(struct.pack(fmt, *samples[y * w + x]) for x in xs)
    raw = bytearray()
    if interlace:
        for (x0, y0, dx, dy) in ADAM7:
            xs = list(range(x0, w, dx))
            if not xs:
                continue
            for y in range(y0, h, dy):
                raw += b'\0' + row_bytes(xs, y)
    else:
        for y in range(h):
            # Sub filter on odd rows, so the reader's unfiltering is used.
            line = row_bytes(range(w), y)
            if y % 2 and depth >= 8:
                step = bits_pp // 8
                line = bytes((line[i] - (line[i - step] if i >= step else 0)) & 255 for i in range(len(line)))
                raw += b'\1' + line
            else:
                raw += b'\0' + line
    out = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, depth, colour_type, 0, 0, interlace))
    if plte is not None:
        out += chunk(b'PLTE', b''.join(bytes(c) for c in plte))
    if trns is not None:
        out += chunk(b'tRNS', trns)
    return out + chunk(b'IDAT', zlib.compress(bytes(raw))) + chunk(b'IEND', b'')


def make_png():
    w, h = 7, 5
    g = lambda x, y: rgba(x, y)
    def grey_level(x, y):
        return (x * 37 + y * 51) & 255
    for depth in (1, 2, 4, 8, 16):
        top = (1 << depth) - 1
        samples = [((grey_level(x, y) * top) // 255,) for y in range(h) for x in range(w)]
        def expect(x, y, depth=depth, top=top):
            v = (grey_level(x, y) * top) // 255
            v = v >> 8 if depth == 16 else v * 255 // top
            return (v, v, v, 255)
        save('png_grey%d' % depth, 'png', png(0, depth, samples, w, h), w, h, grid(expect, w, h), 1, w, alpha=False)
    # Grey with a transparent level: grey and alpha bytes, alpha unused.
    samples = [(grey_level(x, y),) for y in range(h) for x in range(w)]
    save('png_grey8_trns', 'png', png(0, 8, samples, w, h, trns=struct.pack('>H', grey_level(0, 0))), w, h,
         grid(lambda x, y: (grey_level(x, y),) * 3 + (255,), w, h), 2, 14, alpha=False)
    for depth in (8, 16):
        scale = 257 if depth == 16 else 1
        samples = [(grey_level(x, y) * scale, g(x, y)[3] * scale) for y in range(h) for x in range(w)]
        save('png_greyalpha%d' % depth, 'png', png(4, depth, samples, w, h), w, h,
             grid(lambda x, y: (grey_level(x, y),) * 3 + (255,), w, h), 2, 14, alpha=False)
        samples = [tuple(c * scale for c in g(x, y)[:3]) for y in range(h) for x in range(w)]
        save('png_rgb%d' % depth, 'png', png(2, depth, samples, w, h), w, h,
             grid(lambda x, y: g(x, y)[:3] + (255,), w, h), 3, 21, alpha=False)
        samples = [tuple(c * scale for c in g(x, y)) for y in range(h) for x in range(w)]
        save('png_rgba%d' % depth, 'png', png(6, depth, samples, w, h), w, h, grid(g, w, h), 4, 28)
    for depth in (1, 2, 4, 8):
        n = 1 << depth
        pal = palette(n)
        samples = [(index(x, y, n),) for y in range(h) for x in range(w)]
        save('png_palette%d' % depth, 'png', png(3, depth, samples, w, h, plte=pal), w, h,
             grid(lambda x, y, n=n, pal=pal: pal[index(x, y, n)] + (255,), w, h), 1, w, alpha=False)
    pal = palette(16)
    alphas = bytes((i * 16 + 15) & 255 for i in range(10))  # entries past 9 opaque
    samples = [(index(x, y, 16),) for y in range(h) for x in range(w)]
    def with_alpha(x, y):
        i = index(x, y, 16)
        return pal[i] + (alphas[i] if i < len(alphas) else 255,)
    save('png_palette4_trns', 'png', png(3, 4, samples, w, h, plte=pal, trns=alphas), w, h, grid(with_alpha, w, h),
         4, 28)
    # Interlaced (Adam7) RGBA and grey, larger than one 8 x 8 block.
    w2, h2 = 11, 9
    samples = [g(x, y) for y in range(h2) for x in range(w2)]
    save('png_rgba8_interlaced', 'png', png(6, 8, samples, w2, h2, interlace=1), w2, h2, grid(g, w2, h2), 4, 44)
    samples = [(grey_level(x, y) >> 7,) for y in range(h2) for x in range(w2)]
    save('png_grey1_interlaced', 'png', png(0, 1, samples, w2, h2, interlace=1), w2, h2,
         grid(lambda x, y: ((grey_level(x, y) >> 7) * 255,) * 3 + (255,), w2, h2), 1, 11, alpha=False)


# ---- JPEG ----

def make_jpeg():
    def smooth(x, y):
        return ((x * 9 + y * 3) & 255, (y * 12 + 40) & 255, (200 - x * 5) & 255)
    for name, w, h, grey, options in (('jpeg_baseline', 17, 11, False, []),
                                      ('jpeg_progressive', 17, 11, False, ['-progressive']),
                                      ('jpeg_grey', 9, 6, True, []),
                                      ('jpeg_width3', 3, 4, False, []),
                                      ('jpeg_truncated', 40, 24, False, [])):
        src = os.path.join(OUT, name + '.ppm')
        with open(src, 'wb') as f:
            if grey:
                f.write(b'P5 %d %d 255\n' % (w, h) + bytes(smooth(x, y)[0] for y in range(h) for x in range(w)))
            else:
                f.write(b'P6 %d %d 255\n' % (w, h) + b''.join(bytes(smooth(x, y)) for y in range(h) for x in range(w)))
        jpg = subprocess.run(['cjpeg', '-quality', '90'] + options + [src], check=True, capture_output=True).stdout
        if name == 'jpeg_truncated':
            # Cut half way through the coded data: the decoder fills the
            # rest as it would at an end-of-image mark (djpeg warns, exit 2).
            scan = jpg.find(b'\xff\xda')
            jpg = jpg[:scan + (len(jpg) - scan) // 2]
        decoded = subprocess.run(['djpeg', '-pnm'], input=jpg, capture_output=True).stdout
        # The PNM header is three whitespace-separated fields and maxval.
        fields = decoded.split(maxsplit=4)
        pixels = fields[4]
        step = 1 if grey else 3
        expect = []
        for i in range(w * h):
            p = pixels[i * step:i * step + step]
            expect.append((p[0], p[0], p[0], 255) if grey else (p[0], p[1], p[2], 255))
        save(name, 'jpg', jpg, w, h, expect, step, w * step, alpha=False)
        os.remove(src)


make_bmp()
make_tga()
make_png()
make_jpeg()
with open(os.path.join(OUT, 'manifest.txt'), 'w') as f:
    f.write('\n'.join(MANIFEST) + '\n')
