#!/usr/bin/env python3
"""Writes the files of the bad-input catalogue: provider files and phonebooks as a
provider's staff or another program might leave them, each a variant of the sample kit in
examples/kit. What the program must do with each file is the table catalogue.txt beside
this script. Run from anywhere:  python3 tests/data/bad-input/make_catalogue.py
The 64 MiB files and the folders are not written here: the test makes them at run time."""
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", "..", ".."))
sys.path.insert(0, os.path.join(ROOT, "tests", "fuzz"))
from make_png_corpus import chunk, png  # noqa: E402

SIGNATURE = b"\x89PNG\r\n\x1a\n"


def sjis(text):
    return text.encode("cp932")


def lines(*rows, end=b"\r\n"):
    return b"".join((r if isinstance(r, bytes) else sjis(r)) + end for r in rows)


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# ---- ISP_INF.csv -------------------------------------------------------------------------

# The sample kit's settings, line by line.
with open(os.path.join(ROOT, "examples", "kit", "ISP_INF.csv"), "rb") as sample:
    SETTINGS = sample.read().decode("cp932").splitlines()


def settings(**replace):
    """The sample settings with some lines replaced (key -> whole line, or None to drop)."""
    out = []
    for line in SETTINGS:
        key = line.split(",", 1)[0]
        if key in replace:
            if replace[key] is not None:
                out.append(replace[key])
        else:
            out.append(line)
    return out


def isp_files():
    # Saved by another editor: UTF-8 with a byte-order mark (the staff dropped the heading
    # line, so the mark sticks to the first key), UTF-8 without one, UTF-16 both ways.
    whole = "\r\n".join(SETTINGS) + "\r\n"
    write("isp-utf8-bom.csv", b"\xef\xbb\xbf" + whole.split("\r\n", 1)[1].encode("utf-8"))
    write("isp-utf8.csv", whole.encode("utf-8"))
    write("isp-utf16le.csv", b"\xff\xfe" + whole.encode("utf-16-le"))
    write("isp-utf16be.csv", b"\xfe\xff" + whole.encode("utf-16-be"))
    write("isp-nul-bytes.csv", lines(*settings(CaptionStart="CaptionStart,Nest\0Net",
                                               TitleStart="\0TitleStart,ネスト")))
    write("isp-lone-lead-end-of-line.csv",
          lines(*settings(TitleStart=sjis("TitleStart,ネスト") + b"\x82")))
    write("isp-lone-lead-end-of-file.csv",
          lines(*settings(DefaultEntryName=None)) + sjis("DefaultEntryName,接続") + b"\x83")
    write("isp-lead-byte-before-crlf.csv",
          lines(*settings(CaptionStart=sjis("CaptionStart,接続") + b"\x81")))
    write("isp-cr-only.csv", lines(*settings(), end=b"\r"))
    mixed = b""
    for i, line in enumerate(settings()):
        mixed += sjis(line) + [b"\r\n", b"\n", b"\r", b"\n\r\n"][i % 4]
    write("isp-mixed-line-ends.csv", mixed)
    write("isp-no-final-line-break.csv", lines(*settings()).rstrip(b"\r\n"))
    write("isp-0xff-byte.csv", lines(*settings(CaptionSetting=sjis("CaptionSetting,接続") +
                                               b"\xff" + sjis("ツール"))))
    # Line lengths around the two capacities (513 for most keys, 512 for the name servers).
    write("isp-line-511.csv", lines(*settings(Dns1="Dns1,192.0.2." + " " * 496 + "53")))
    write("isp-line-512.csv", lines(*settings(Dns1="Dns1,192.0.2." + " " * 497 + "53")))
    write("isp-line-513.csv",
          lines(*settings(TitleStart="TitleStart," + "x" * 499 + "END")))
    # The second 512-byte piece of this line starts with a key of its own.
    long_caption = "CaptionStart," + "ネ" * 249 + "!" + "TitleStart,piece" + "z" * 4472
    assert len(sjis(long_caption)) == 5000
    write("isp-line-5000.csv", lines(*settings(CaptionStart=long_caption, TitleStart=None)))
    write("isp-blanks-around-comma.csv", lines(*settings(
        CaptionStart="CaptionStart ,ツール", TitleStart="TitleStart, 接続",
        CaptionSetting="\tCaptionSetting,新しい接続", DefaultEntryName="DefaultEntryName\t,接続",
        DialupDomain="DialupDomain,@dial.example.ne.jp ")))
    write("isp-duplicate-keys.csv", lines(*settings(), "CaptionStart,二つ目", "SetDnsIpAddress,FALSE",
                                          "Dns1,192.0.2.99", "LocalOnlyIsOk,TRUE",
                                          "LocalOnlyIsOk,no", "TitleFontSize,30"))
    for name, value in [("true", "true"), ("one", "1"), ("on", "ON"), ("yes", "Yes"),
                        ("trailing-blank", "TRUE ")]:
        write("isp-on-off-%s.csv" % name, lines(*settings(SetDnsIpAddress="SetDnsIpAddress," + value),
                                               "LocalOnlyIsOk," + value, "KeepDomain," + value))
    write("isp-full-width-digits.csv", lines(*settings(
        TitleFontSize="TitleFontSize,２４", Dns1="Dns1,１９２.０.２.５３",
        DefaultTelNumber="DefaultTelNumber,０５７０-０００-１１１")))
    shapes = {
        "three-parts": "192.0.2", "five-parts": "192.0.2.53.1", "octet-256": "192.0.2.256",
        "sign": "+192.0.2.53", "empty-part": "192..2.53", "trailing-dot": "192.0.2.53.",
        "letters": "192.0.2.x", "hex": "0xC0.0.2.53", "host-name": "ns.example.ne.jp",
        "ipv6": "2001:db8::53", "blank-inside": "19 2.0.2.53", "commas": "192,0,2,53",
        "trailing-text": "192.0.2.53 # primary", "zero": "0.0.0.0",
    }
    for name, value in shapes.items():
        write("isp-dns-%s.csv" % name, lines(*settings(Dns1="Dns1," + value)))
    write("isp-dns-padded.csv", lines(*settings(Dns1="Dns1, 192 . 000 . 2 . 053\t")))
    write("isp-0-byte.csv", b"")
    write("isp-excel-quotes.csv", lines(*settings(CaptionStart='"CaptionStart","接続ツール"',
                                                  TitleStart='TitleStart,"ネスト, 接続"')))
    write("isp-tab-separated.csv", lines(*[l.replace(",", "\t", 1) for l in settings()]))
    # Ten full-width characters fill the main menu's heading at 27 pixels, not at 28.
    for name, size in [("fits", 27), ("too-wide", 28)]:
        write("isp-heading-%s.csv" % name, lines(*settings(
            TitleStart="TitleStart," + "接" * 10, TitleFontSize="TitleFontSize,%d" % size)))
    # A domain of 60 half-width characters fills the form's domain label when the form has
    # grown as wide as a 640-pixel screen; one of 61 does not.
    for name, length in [("fits", 60), ("too-wide", 61)]:
        domain = "@" + "n" * (length - 28) + ".dial.sakura-net.example.jp"
        assert len(domain) == length
        write("isp-domain-%s.csv" % name, lines(*settings(DialupDomain="DialupDomain," + domain)))
    # Meant on, and a prefix with a blank: subscribers the migration then never finds.
    write("isp-local-only-yes.csv", lines(*settings(LocalOnlyIsOk="LocalOnlyIsOk,yes")))
    write("isp-user-prefix-blank.csv", lines(*settings(UserPrefix="UserPrefix,taro ")))
    write("isp-title-font-size-beyond-int.csv", lines(*settings(
        TitleFontSize="TitleFontSize,99999999999")))
    log = [l for l in settings()] + [
        "2024-04-01 09:00:01,dial 0570-000-111,connected",
        "2024-04-01 09:42:17,hang up,ok",
    ] * 4
    write("isp-log.csv", lines(*log))


# ---- APGEN.csv, APPHS.csv, APAIR.csv -----------------------------------------------------

def table_files():
    write("apgen-letters.csv", lines("旧アクセスポイント,番号", "東京,03-3333-01O1",
                                     "大阪,O6-6666-0202", "全国共通,0570OOO999"))
    write("apgen-full-width-digits.csv", lines("東京,０３-３３３３-０１０１", "０６６６６６０２０２"))
    write("apgen-headings-and-comments.csv", lines("旧アクセスポイント", "# 東京", "; 大阪",
                                                   "アクセスポイント,電話番号", "東京,03-3333-0101"))
    write("apgen-comma-at-end.csv", lines("東京,", "大阪,06-6666-0202"))
    write("apgen-field-limits.csv", lines(
        "十桁,0123456789-1", "十一桁,01234567890-1",
        "128桁,03-" + "1" * 128, "129桁,03-" + "2" * 129,
        "3" * 128, "4" * 129))
    write("apgen-blank-after-comma.csv", lines("東京, 03-3333-0101", "大阪,06-6666-0202 "))
    write("apgen-utf8-bom.csv", b"\xef\xbb\xbf" + "03-3333-0101\r\n大阪,06-6666-0202\r\n"
          .encode("utf-8"))
    write("apgen-utf16le.csv", b"\xff\xfe" + "東京,03-3333-0101\r\n".encode("utf-16-le"))
    write("apgen-nul-byte.csv", lines(b"\x93\x8c\x8b\x9e,03-3333\x00-0101", "大阪,06-6666-0202"))
    write("apgen-endless-line.csv", ("0123456789" * 500).encode())
    write("apgen-one-line-5000.csv", lines(",".join(["03-3333-0101"] * 384 + ["0570-000"])))
    assert len(",".join(["03-3333-0101"] * 384 + ["0570-000"])) == 5000
    write("apgen-duplicates.csv", lines("東京,03-3333-0101", "東京（予備）,03-3333-0101"))
    write("apgen-cr-only.csv", lines("東京,03-3333-0101", "大阪,06-6666-0202", end=b"\r"))
    write("apgen-lead-byte-before-comma.csv",
          lines(b"\x93\x8c\x81,03-3333-0101", "大阪,06-6666-0202"))
    write("apgen-0-byte.csv", b"")
    write("apphs-hash-suffix.csv", lines("全国共通,0570-000-888##64"))
    write("apgen-three-columns.csv", lines("東京,03-3333-0101,0570-064-100", "大阪,06-6666-0202"))
    write("apphs-utf8.csv", "旧PHSアクセスポイント,番号\r\n全国共通,0570-000-888\r\n"
          .encode("utf-8"))
    write("apair-missing-parts.csv", lines("0570-000-777,", "0570-000-777", ",0570-000-333"))
    write("apair-heading.csv", lines("旧番号,新番号", "0570-000-777,0570-000-333"))
    write("apair-duplicate-key.csv", lines("0570-000-777,0570-000-444", "06-1111-2222,06-3333-4444",
                                           "0570-000-777,0570-000-333"))
    write("apair-blanks.csv", lines("0570-000-777 , 0570-000-333"))
    write("apair-new-number-too-long.csv", lines("0570-000-777,0570-" + "3" * 130))
    write("apair-tab-separated.csv", lines("0570-000-777\t0570-000-333"))
    write("apair-new-number-text.csv", lines("0570-000-777,0570-000-333 ext"))


# ---- CTMENU.csv --------------------------------------------------------------------------

MENU_HEAD = ["種別,表示名,ドメイン,アクセスポイント", "9,接続方法を選択してください,,"]


def menu_files():
    write("ctmenu-too-few-columns.csv", lines(*MENU_HEAD, "1,アナログ・ISDN", "1"))
    write("ctmenu-too-many-columns.csv", lines(
        *MENU_HEAD, "1,アナログ・ISDN,@dial.example.ne.jp,0570-000-111,予備,,メモ"))
    write("ctmenu-kind-beyond-int.csv", lines(
        *MENU_HEAD, "2147483647,最大,@dial.example.ne.jp,0570-000-111",
        "2147483648,一つ先,@dial.example.ne.jp,0570-000-111",
        "99999999999,大きい,@dial.example.ne.jp,0570-000-111",
        "-1,負,@dial.example.ne.jp,0570-000-111", "09,見出し"))
    write("ctmenu-phs-in-heading.csv", lines(
        "9,PHSをお使いの方は下から選んでください,,", "1,アナログ・ISDN,@dial.example.ne.jp,0570-000-111"))
    write("ctmenu-lead-byte-before-comma.csv", lines(
        *MENU_HEAD, b"1,\x83A\x83i\x83\x8d\x83O\x81,@dial.example.ne.jp,0570-000-111"))
    write("ctmenu-lone-lead-end-of-line.csv", lines(
        *MENU_HEAD, sjis("1,アナログ,@dial.example.ne.jp,0570-000-111") + b"\x82"))
    write("ctmenu-text-limits.csv", lines(
        "1," + "a" * 255 + ",@dial.example.ne.jp,0570-000-111",
        "1," + "b" * 256 + ",@dial.example.ne.jp,0570-000-111",
        "1," + "ア" * 128 + ",@dial.example.ne.jp,0570-000-111",
        "1,ドメイン,@" + "d" * 254 + ",0570-000-111",
        "1,番号,@dial.example.ne.jp," + "0" * 256))
    # The menu's line capacity is 512: a 512-byte line leaves its last byte, a digit, to a
    # line of its own, which is then a row of kind 9.
    for length in (511, 512):
        row = "1,アナログ" + "x" * (length - 42) + ",@dial.example.ne.jp,0570-000-19"
        assert len(sjis(row)) == length
        write("ctmenu-line-%d.csv" % length, lines(row))
    write("ctmenu-utf8-bom.csv", b"\xef\xbb\xbf" + "1,アナログ,@dial.example.ne.jp,0570-000-111\r\n"
          "2,PHS,@phs.example.ne.jp,0570-000-222##64\r\n".encode("utf-8"))
    write("ctmenu-utf16le.csv", b"\xff\xfe" + "1,アナログ,@dial.example.ne.jp,0570-000-111\r\n"
          .encode("utf-16-le"))
    write("ctmenu-excel-quotes.csv", lines('"1","アナログ","@dial.example.ne.jp","0570-000-111"',
                                           '1,"アナログ,ISDN",@dial.example.ne.jp,0570-000-111'))
    write("ctmenu-full-width-kind.csv", lines("１,アナログ,@dial.example.ne.jp,0570-000-111",
                                              "1,ISDN,@dial.example.ne.jp,0570-000-111"))
    write("ctmenu-nul-byte.csv", lines(b"1,\x83A\x83i\x83\x8d\x83O\x00ISDN,@dial.example.ne.jp,0570",
                                       b"\x002,PHS,@phs.example.ne.jp,0570-000-222##64"))
    write("ctmenu-0-byte.csv", b"")


# ---- Logo.png ----------------------------------------------------------------------------

def logo_files():
    magenta, white = (255, 0, 255), (255, 255, 255)
    rgb = [[magenta, white, magenta], [white, magenta, white]]
    good = png(rgb, 8, 2)
    write("logo-truncated.png", good[: len(good) - 20])
    write("logo-rgb16.png", png([[(0xFF12, 0x0034, 0xFF56)] * 3] * 2, 16, 2))
    write("logo-palette-trns.png", png([[(0,), (1,)], [(1,), (0,)]], 8, 3,
                                       extra=chunk(b"PLTE", bytes(magenta + white)) +
                                       chunk(b"tRNS", b"\x00")))
    write("logo-interlaced.png", png([[(x * 20, 0, 255 - x * 20) for x in range(9)]] * 9, 8, 2,
                                     interlaced=True))
    write("logo-wide-4096.png", png([[(0,)] * 4096], 8, 0))
    write("logo-wide-4097.png", png([[(0,)] * 4097], 8, 0))
    write("logo-tall-4097.png", png([[(0,)]] * 4097, 8, 0))
    write("logo-bmp-renamed.png", b"BM" + struct.pack("<IHHI", 58, 0, 0, 54) + bytes(52))
    write("logo-bad-crc.png", good[:30] + bytes([good[30] ^ 0xFF]) + good[31:])
    write("logo-0-byte.png", b"")


# ---- phonebook.ini (the substitute phonebook) --------------------------------------------

def entry(name, number, user, device="Standard 56000 bps Modem"):
    return ["[%s]" % name, "Options=0x05000110", "CountryID=81", "CountryCode=81",
            "LocalPhoneNumber=" + number, "DeviceType=modem", "DeviceName=" + device,
            "UserName=" + user, "Password=sample", ""]


DEVICES = ["[devices]", "modem,Standard 56000 bps Modem", "modem,PHSカード 64K", "isdn,ISDN TA", ""]
OLD = entry("旧ネストネット", "0,03-3333-0101", "taro@dial-old.example.ne.jp")


def phonebook_files():
    # The phonebook every row's migration runs on: one entry for each rule of the sample
    # kit, and one entry of another provider.
    write("scenario-phonebook.ini", lines(
        "; The phonebook of the catalogue's migration runs.", *DEVICES,
        *entry("一般", "0,03-3333-0101", "taro@dial-old.example.ne.jp"),
        *entry("PHS", "0570-000-888", "hanako@phs-old.example.ne.jp", "PHSカード 64K"),
        *entry("エアー", "0570-000-777", "jiro@air-old.example.ne.jp", "PHSカード 64K"),
        *entry("ISDN", "1492", "saburo@isdn-old.example.ne.jp"),
        *entry("他社", "06-1234-5678", "other@example.com")))
    base = DEVICES + OLD + entry("他社", "06-1234-5678", "other@example.com")
    write("pb-utf8-bom.ini", b"\xef\xbb\xbf" + "\r\n".join(base).encode("utf-8"))
    write("pb-utf16le.ini", b"\xff\xfe" + "\r\n".join(base).encode("utf-16-le"))
    write("pb-entry-name-limits.ini", lines(*DEVICES, *entry("a" * 256, "0,03-3333-0101",
                                                          "a@dial-old.example.ne.jp"),
                                            *entry("b" * 257, "0,03-3333-0101",
                                                   "b@dial-old.example.ne.jp")))
    write("pb-duplicate-sections.ini", lines(*DEVICES, *OLD,
                                             *entry("旧ネストネット", "03-9999-9999", "x@y")))
    write("pb-no-closing-bracket.ini", lines(*DEVICES, *entry("他社", "06-1234-5678", "o@x"),
                                             "[旧ネストネット", "LocalPhoneNumber=0,03-3333-0101",
                                             "UserName=taro@dial-old.example.ne.jp"))
    write("pb-cr-only.ini", lines(*base, end=b"\r"))
    # The number, on the last line, still matches without the line break after it.
    write("pb-no-final-line-break.ini", lines(*DEVICES, *entry("他社", "06-1234-5678", "o@x"),
                                              *OLD[:4], *OLD[5:-1], OLD[4]).rstrip(b"\r\n"))
    write("pb-nul-byte.ini", lines(*DEVICES, *OLD[:4], b"LocalPhoneNumber=0,03-3333-0101\x00#99",
                                   *OLD[5:]))
    write("pb-lone-lead-byte.ini", lines(*DEVICES, b"[\x8b\x8c\x83]", "LocalPhoneNumber=0,03-3333-0101",
                                         "", *OLD))
    write("pb-0-byte.ini", b"")
    write("pb-odd-numbers.ini", lines(*DEVICES, *OLD[:-1], "CountryID=banana", "IpAddress=999.1.1.1",
                                      "Options=0x1234567890", "IdleDisconnectSeconds=4294967296", ""))
    # Pauses before the old access point: 128 bytes fit the number field and still match;
    # one more byte is cut off the end when the entry is read, and the number then ends
    # in no access point.
    write("pb-long-number.ini", lines(
        *DEVICES, *entry("最長", "0" + "," * 115 + "03-3333-0101", "long@dial-old.example.ne.jp"),
        *entry("一つ超", "0" + "," * 116 + "03-3333-0101", "over@dial-old.example.ne.jp")))
    write("pb-odd-devices.ini", lines("[devices]", "modem", ",no type", "modem,Standard 56000 bps Modem",
                                      " isdn , ISDN TA ", "", *OLD))


def journal_run(format_number=1, outcome="open"):
    """A run file of the change journal with one change of 一般: the entry as it was (a
    2884-byte record naming a number of its own) and as the change writes it."""
    def record(number):
        data = bytearray(2884)
        data[0:4] = (2884).to_bytes(4, "little")
        data[24:24 + len(number)] = number.encode("ascii")
        return data.hex().upper()
    body = "".join(line + "\n" for line in (
        f"Dialnest journal {format_number}", "run 20260101-000000", "change",
        "kind access-point", "entry \x00", "phonebook ", "writes 2", "done 0", "last-user 1",
        "new-password 0", f"outcome {outcome}", "before-exists 1", "before-structure 2884",
        "before-properties " + record("0,03-9999-0000"), "before-user taro@old.example",
        "after-exists 1", "after-structure 2884", "after-properties " + record("0570-000-111"),
        "after-user taro@old.example", "end")).encode("ascii").replace(b"\x00", sjis("一般"))
    return body + b"check %08X\n" % zlib.crc32(body)


def journal_files():
    whole = journal_run()
    write("journal-truncated.jnl", whole[:len(whole) // 2])
    flipped = bytearray(whole)
    flipped[whole.index(b"before-properties ") + 30] ^= 0x01
    write("journal-corrupted.jnl", bytes(flipped))
    write("journal-future.jnl", journal_run(format_number=4))
    # Whole, its check made here: its change is open, and 一般 is in none of its states.
    write("journal-changed-since.jnl", whole)


# ---- Dialnest.exe carrying the sample kit -------------------------------------------------

def carried_kit(files):
    """The kit a program carries: magic, CRC-32 of the rest, format, length, count, index."""
    start = 24 + 24 * len(files)
    index, data = b"", b""
    for name, content in files:
        index += name.encode().ljust(16, b"\0") + struct.pack("<II", start + len(data), len(content))
        data += content
    body = struct.pack("<III", 1, start + len(data), len(files)) + index + data
    return b"DNKIT\r\n\x1a" + struct.pack("<I", zlib.crc32(body)) + body


def carried_files():
    # A 1 KiB stand-in for Dialnest.exe: headers (a window program) and one section.
    stub = bytearray(1024)
    stub[0:2], stub[0x40:0x44] = b"MZ", b"PE\0\0"
    for at, form, value in [(0x3C, "<I", 0x40), (0x44, "<HH", (0x14C, 1)), (0x54, "<H", 224),
                            (0x58, "<H", 0x10B), (0x58 + 60, "<I", 512), (0x58 + 68, "<H", 2),
                            (0x58 + 92, "<I", 16), (0x138 + 16, "<II", (512, 512))]:
        struct.pack_into(form, stub, at, *(value if isinstance(value, tuple) else (value,)))
    names = ["ISP_INF.csv", "CTMENU.csv", "APGEN.csv", "APPHS.csv", "APAIR.csv", "Logo.png"]
    kit = carried_kit([(n, open(os.path.join(ROOT, "examples", "kit", n), "rb").read())
                       for n in names])
    # Signed: padded to 8 bytes, the certificate table after it, the security directory set.
    signed = bytearray(stub) + kit + bytes(-len(kit) % 8)
    struct.pack_into("<II", signed, 0x58 + 128, len(signed), 40)
    write("carried-signed.exe", bytes(signed) + struct.pack("<IHH", 40, 0x200, 2) + bytes(32))
    write("carried-truncated.exe", bytes(stub) + kit[:-300])
    # The logo's length one byte past the kit's end, the checksum made right for it.
    past = bytearray(kit)
    struct.pack_into("<I", past, 24 + 24 * 5 + 20, struct.unpack_from("<I", past, 24 + 24 * 5 + 20)[0] + 1)
    struct.pack_into("<I", past, 8, zlib.crc32(bytes(past[12:])))
    write("carried-length-past-end.exe", bytes(stub) + bytes(past))
    changed = bytearray(kit)
    changed[kit.index(b"0570-000-111")] ^= 0x01
    write("carried-checksum.exe", bytes(stub) + bytes(changed))


def main():
    for make in (isp_files, table_files, menu_files, logo_files, phonebook_files, journal_files,
                 carried_files):
        make()


if __name__ == "__main__":
    main()
