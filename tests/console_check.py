#!/usr/bin/env python3
"""The console program as a player gets it, read back by other readers than the tools that
made it:
- quorvandelle.3dsx must carry the game's titles and icon for the Homebrew Launcher, and its
  program must have left no symbol unresolved;
- quorvandelle.cia, read by ctrtool (when there is one), must be this project's title (its
  own title id and product code, this version), hold the program that was just linked, the
  icon, both languages' titles and a banner, and grant every kernel call the program makes
  and every service its start-up opens.
Usage: console_check.py BUILD_DIR ICON.png PNG_COMPARE NM OBJDUMP [CTRTOOL]"""
import os, re, struct, subprocess, sys, tempfile

def fail(what):
    sys.exit("console check: " + what)

build, icon, png_compare, nm, objdump = sys.argv[1:6]
ctrtool = sys.argv[6] if len(sys.argv) > 6 else ""
facts = dict(line.split("=", 1) for line in open(os.path.join(build, "console-titles.txt"), encoding="utf-8")
             .read().splitlines() if "=" in line)
elf_path = os.path.join(build, "quorvandelle.elf")
elf = open(elf_path, "rb").read()

def ppm(path):
    """A PNG's pixels by the project's own reader, as rows of (r, g, b)."""
    data = subprocess.run([png_compare, "--ppm", path], capture_output=True, check=True).stdout
    match = re.match(rb"P6\n(\d+) (\d+)\n255\n", data)
    width, height, at = int(match[1]), int(match[2]), match.end()
    return [[tuple(data[at + 3 * (y * width + x):at + 3 * (y * width + x) + 3]) for x in range(width)]
            for y in range(height)]

def check_smdh(smdh, where):
    if smdh[:4] != b"SMDH" or len(smdh) != 0x36C0:
        fail(where + ": no SMDH")
    english = (facts["short"], facts["long"], facts["publisher"])
    french = (facts["short"], facts["frenchLong"], facts["frenchPublisher"]) if facts["french"] == "ON" else english
    for language in range(16):  # Japanese, English, French, ...: French in French, English elsewhere
        at = 8 + 0x200 * language
        text = lambda start, length: smdh[at + start:at + start + length].decode("utf-16-le").rstrip("\0")
        got = (text(0, 0x80), text(0x80, 0x100), text(0x180, 0x80))
        if got != (french if language == 2 else english):
            fail("%s: SMDH language %d says %r" % (where, language, got))
    # The large icon: 48x48 RGB565 in 8x8 tiles, each tile's pixels in Morton order.
    pixels = ppm(icon)
    for i in range(48 * 48):
        tile, inside = divmod(i, 64)
        x = 8 * (tile % 6) + (inside & 1) + (inside >> 1 & 2) + (inside >> 2 & 4)
        y = 8 * (tile // 6) + (inside >> 1 & 1) + (inside >> 2 & 2) + (inside >> 3 & 4)
        value, = struct.unpack("<H", smdh[0x24C0 + 2 * i:0x24C2 + 2 * i])
        r, g, b = pixels[y][x]
        if value != (r >> 3) << 11 | (g >> 2) << 5 | b >> 3:
            fail("%s: icon pixel %d,%d is %04x, not the icon's %r" % (where, x, y, value, (r, g, b)))

# The .3dsx: its SMDH stands after the 3DSX header's extension.
program = open(os.path.join(build, "quorvandelle.3dsx"), "rb").read()
if program[:4] != b"3DSX" or struct.unpack("<H", program[4:6])[0] < 44:
    fail("quorvandelle.3dsx is not a 3DSX program with an SMDH")
offset, size, _ = struct.unpack("<III", program[32:44])
check_smdh(program[offset:offset + size], "quorvandelle.3dsx")
unresolved = [line for line in subprocess.run([nm, "-u", elf_path], capture_output=True, text=True,
                                              check=True).stdout.splitlines() if " w " not in line]
if unresolved:
    fail("unresolved symbols: " + ", ".join(unresolved))
print("console check: quorvandelle.3dsx has its titles and icon, and nothing unresolved")

cia = os.path.join(build, "quorvandelle.cia")
if not ctrtool or not os.path.exists(cia):
    print("console check: skipped quorvandelle.cia: it needs makerom, bannertool and ctrtool "
          "(on PATH or in $DEVKITPRO/tools/bin)")
    sys.exit(0)

info = subprocess.run([ctrtool, "-i", cia], capture_output=True, text=True).stdout
def field(name):
    match = re.search(r"%s:\s+(\S+)" % re.escape(name), info)
    if not match:
        fail("ctrtool tells no %s" % name)
    return match[1]

rsf = open(facts["rsf"], encoding="utf-8").read()
unique = int(re.search(r"UniqueId:\s*(0x[0-9A-Fa-f]+)", rsf)[1], 16)
if unique == 0xFF3FF or unique > 0xFFFFF:
    fail("UniqueId %#x is not the game's own" % unique)
want_id = "%016x" % (0x0004000000000000 | unique << 8)
if field("Title id") != want_id:
    fail("title id %s, not %s" % (field("Title id"), want_id))
if field("Product code") != re.search(r'ProductCode:\s*"([^"]+)"', rsf)[1]:
    fail("product code " + field("Product code"))
if field("TitleVersion") != facts["version"]:
    fail("version %s, not %s" % (field("TitleVersion"), facts["version"]))

# Every kernel call the linked program makes is granted (and no other), and the services
# that libctru's start-up opens.
calls = sorted({int(n, 16) for n in re.findall(r"\bsvc\s+(?:#)?(0x[0-9a-f]+)",
                subprocess.run([objdump, "-d", elf_path], capture_output=True, text=True, check=True).stdout)})
allowed = info.split("Allowed systemcalls:", 1)[1].split("Allowed interrupts", 1)[0]
granted = sorted(int(n, 16) for n in re.findall(r"\b[0-9A-F]{2}\b", allowed))
if calls != granted:
    fail("the program calls svc %s; the title grants %s" % (calls, granted))
services = re.findall(r"^ > (\S+)", info.split("Service access:", 1)[1].split("Reslimit", 1)[0], re.M)
missing = {"APT:U", "hid:USER", "fs:USER", "gsp::Gpu", "cfg:u"} - set(services)
if missing or "Direct SDMC" not in info or "AppMemory: 64MB" not in info:
    fail("the title lacks %s, or SD card access, or the 64 MB mode" % sorted(missing))

with tempfile.TemporaryDirectory() as work:
    subprocess.run([ctrtool, "--contents=%s/content" % work, cia], capture_output=True, check=True)
    contents = sorted(name for name in os.listdir(work) if name.startswith("content.0000."))
    if not contents:
        fail("ctrtool extracted no program content from quorvandelle.cia")
    exefs = os.path.join(work, "exefs")
    os.mkdir(exefs)
    subprocess.run([ctrtool, "--exefsdir=" + exefs, os.path.join(work, contents[0])], capture_output=True, check=True)
    read = lambda name: open(os.path.join(exefs, name), "rb").read() if os.path.exists(os.path.join(exefs, name)) else b""
    # The code is the linked ELF's loadable segments, laid out by address, then zeros.
    phoff, = struct.unpack_from("<I", elf, 0x1C)
    entry_size, count = struct.unpack_from("<HH", elf, 0x2A)
    image = bytearray()
    for i in range(count):
        kind, at, address, _, file_size = struct.unpack_from("<5I", elf, phoff + i * entry_size)
        if kind != 1:
            continue
        base = base if image else address
        image += bytes(address - base - len(image)) + elf[at:at + file_size]
    code = read("code.bin")
    if not image or code[:len(image)] != bytes(image) or code[len(image):].strip(b"\0"):
        fail("the title's code is not the program just linked (%d bytes against %d)" % (len(code), len(image)))
    check_smdh(read("icon.bin"), "quorvandelle.cia")
    if read("banner.bin")[:4] != b"CBMD" or b"CWAV" not in read("banner.bin"):
        fail("quorvandelle.cia has no banner with its tune")
print("console check: quorvandelle.cia is title %s, version %s, with this program, its titles, icon, "
      "banner, and the calls and services it needs" % (want_id, facts["version"]))
