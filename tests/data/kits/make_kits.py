#!/usr/bin/env python3
"""Writes the kits of the kit tool's tests: check/NAME/ with check/NAME.expected (the
diagnostics each must give, line numbers included), and preview/ (a kit and a phonebook
with one entry per outcome of the migration rules). Provider files are code page 932;
run it after changing a kit here rather than editing the bytes by hand."""
import os
here = os.path.dirname(os.path.abspath(__file__))
os.makedirs(os.path.join(here, 'check'), exist_ok=True)
os.chdir(os.path.join(here, 'check'))
def w(path, text, enc='cp932'):
    d = os.path.dirname(path)
    if d: os.makedirs(d, exist_ok=True)
    data = text.encode(enc) if isinstance(text, str) else text
    open(path, 'wb').write(data)
def crlf(lines): return ''.join(l + '\r\n' for l in lines)
menu = crlf(['1,ダイヤルアップ,@dial.example.ne.jp,0570-000-111'])

w('settings/ISP_INF.csv', crlf([
 'Key,Value',
 'CaptionStrat,ネスト',
 'Dns1 ,192.0.2.53',
 'DefaultTelNumber,0570-000-111',
 'DefaultTelNumber,0570-000-112',
 'DefaultTelNumber,',
 'LocalOnlyIsOk,yes',
 'TitleFontSize,20px',
 'TitleFontSize,1',
 'SetDnsIpAddress,TRUE',
 'Dns2,192.168.1',
 'MobileDomain,phs.example.ne.jp',
 'OldDialupDomain,dial-old.example.ne.jp',
 'DialupDomain, @dial.example.ne.jp',
 'KeepDomain TRUE',
 'SetDnsIpAddress,false',
 'OldDomain,@isdn.example.ne.jp',
 'FletsIsdnDomain,@ISDN.example.ne.jp',
 'DefaultFletsIsdnNumber,14-92',
 'DefaultMobileNumber,０５７０-000-222',
]))
w('settings/CTMENU.csv', menu)
w('settings.expected', '''# exit 1
ISP_INF.csv:2: warning [unknown-key] did you mean CaptionStart?
ISP_INF.csv:3: warning [key-blanks]
ISP_INF.csv:5: warning [duplicate-key] this line is the one in effect
ISP_INF.csv:6: warning [duplicate-key] line 5 stays in effect
ISP_INF.csv:7: warning [off-value]
ISP_INF.csv:8: warning [not-a-number]
ISP_INF.csv:8: warning [heading-shrunk]
ISP_INF.csv:9: warning [unused-size]
ISP_INF.csv:9: warning [duplicate-key] line 8 is the one in effect
ISP_INF.csv:10: error [dns-nothing-written]
ISP_INF.csv:11: warning [bad-address]
ISP_INF.csv:12: error [domain-without-at]
ISP_INF.csv:13: error [domain-never-matches]
ISP_INF.csv:13: error [settings-without-table] APGEN.csv is missing
ISP_INF.csv:14: error [domain-blanks]
ISP_INF.csv:15: warning [missing-comma]
ISP_INF.csv:16: warning [duplicate-key] line 10 is the one in effect
ISP_INF.csv:18: error [flets-never-applies]
ISP_INF.csv:19: error [flets-never-applies]
ISP_INF.csv:20: error [full-width-number] holds the full-width "０"
ISP_INF.csv:20: error [settings-without-table] APPHS.csv is missing
''', 'utf-8')

w('in-effect/ISP_INF.csv', crlf([
 'DefaultTelNumber,0570-000-111',
 'TitleFontSize,24',
 'SetDnsIpAddress,true',
 'DefaultTelNumber,0570-000-112',
 'TitleFontSize,0',
 'SetDnsIpAddress,FALSE',
 'Dns1,192.0.2.53',
 'LocalOnlyIsOk,off',
]))
w('in-effect/CTMENU.csv', menu)
w('in-effect.expected', '''# exit 0
# options: --verbose
# only: in-effect
ISP_INF.csv: note [in-effect] CaptionStart is not set
ISP_INF.csv: note [in-effect] TitleStart is not set
ISP_INF.csv: note [in-effect] CaptionSetting is not set
ISP_INF.csv: note [in-effect] DefaultEntryName is not set
ISP_INF.csv: note [in-effect] DialupDomain is not set
ISP_INF.csv: note [in-effect] Dns2 is not set
ISP_INF.csv: note [in-effect] DefaultMobileNumber is not set
ISP_INF.csv: note [in-effect] DefaultFletsIsdnNumber is not set
ISP_INF.csv: note [in-effect] OldDomain is not set
ISP_INF.csv: note [in-effect] OldDialupDomain is not set
ISP_INF.csv: note [in-effect] OldMobileDomain is not set
ISP_INF.csv: note [in-effect] OldAirHDomain is not set
ISP_INF.csv: note [in-effect] MobileDomain is not set
ISP_INF.csv: note [in-effect] AirHDomain is not set
ISP_INF.csv: note [in-effect] FletsIsdnDomain is not set
ISP_INF.csv: note [in-effect] UserPrefix is not set
ISP_INF.csv: note [in-effect] KeepDomain is not set: off
ISP_INF.csv:2: note [in-effect] TitleFontSize = 24
ISP_INF.csv:3: note [in-effect] SetDnsIpAddress = on
ISP_INF.csv:4: note [in-effect] DefaultTelNumber = "0570-000-112"
ISP_INF.csv:7: note [in-effect] Dns1 = 192.0.2.53
ISP_INF.csv:8: note [in-effect] LocalOnlyIsOk = off
''', 'utf-8')

w('utf8/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111', 'CaptionStart,ネスト接続']), 'utf-8')
w('utf8/CTMENU.csv', b'\xef\xbb\xbf' + menu.encode('cp932'))
w('utf8.expected', '''# exit 1
ISP_INF.csv:2: error [encoding]
CTMENU.csv:1: error [encoding] 2 further findings in this file are held back
''', 'utf-8')
w('utf16/ISP_INF.csv', b'\xff\xfe' + crlf(['DefaultTelNumber,0570-000-111']).encode('utf-16-le'))
w('utf16/CTMENU.csv', menu)
w('utf16.expected', '''# exit 1
ISP_INF.csv:1: error [encoding]
''', 'utf-8')
w('broken-sjis/ISP_INF.csv', b'DefaultTelNumber,0570-000-111\r\nCaptionStart,\x83\x6c\x83\r\n')
w('broken-sjis/CTMENU.csv', menu)
w('broken-sjis.expected', '''# exit 1
ISP_INF.csv:2: error [encoding]
''', 'utf-8')

w('tables/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111']))
w('tables/CTMENU.csv', menu)
w('tables/APGEN.csv', crlf([
 '旧アクセスポイント,番号',
 ' 0312345678',
 '東京,',
 '1234',
 '01234',
 '1234',
 '大阪,0570 001 234',
 '名古屋,5',
 '長い,' + '1' * 129,
 '短い,' + '2' * 128,
 '札幌,0123456789-1234',
 '函館,01234567890-1234',
 '仙台, 03-1234',
]))
w('tables/APPHS.csv', crlf(['0570-000-888']))
w('tables/APAIR.csv', crlf([
 '旧番号,新番号',
 '0570-000-777,0570-000-333',
 '0570-000-777,0570-000-334',
 '3123456,0570-000-335',
 '123456,0570-000-336',
 'no comma',
 ',0570',
 '0570-000-778,' + '5' * 128,
 '0570-000-779,' + '5' * 129,
 '0570000780\t0570000334',
]))
w('tables.expected', '''# exit 1
APGEN.csv:2: error [dropped-record] "0312345678"
APGEN.csv:3: warning [skipped-number]
APGEN.csv:5: warning [shadowed-record] line 4 ("1234")
APGEN.csv:6: warning [duplicate-record] the same number as line 4
APGEN.csv:7: error [number-never-matches]
APGEN.csv:8: error [short-number]
APGEN.csv:9: error [number-too-long]
APGEN.csv:12: error [number-too-long]
APGEN.csv:13: error [number-never-matches]
APPHS.csv:1: error [table-needs-number]
APPHS.csv:1: error [no-new-domain] MobileDomain
APAIR.csv:1: error [no-new-domain] AirHDomain
APAIR.csv:3: warning [pair-replaced] keeps line 2's place
APAIR.csv:4: warning [shadowed-record] the pair of line 5 is tried before this one
APAIR.csv:7: error [dropped-record]
APAIR.csv:9: error [number-too-long]
APAIR.csv:10: error [dropped-record] a tab
''', 'utf-8')

w('menu-rows/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111']))
w('menu-rows/CTMENU.csv', crlf([
 '1,二列だけ',
 '2,ＰＨＳ（全角）,@phs.example.ne.jp,0570-000-222##64',
 '3,名前,dial.example.ne.jp,0570-000-111',
 '4,' + 'N' * 256 + ',@dial.example.ne.jp,0570-000-111',
 '5,' + 'M' * 255 + ',@dial.example.ne.jp,0570-000-111',
 '6,a,@dial.example.ne.jp,0570-000-111,extra',
 '1,127,@dial.example.ne.jp,' + '7' * 127,
 '1,128,@dial.example.ne.jp,' + '8' * 128,
 '1,129,@dial.example.ne.jp,' + '9' * 129,
 '1,末尾に空白,@dial.example.ne.jp ,0570-000-111',
 '1,内線,@dial.example.ne.jp,0570-000-111 ext',
]))
w('menu-rows.expected', '''# exit 1
CTMENU.csv:1: error [row-incomplete]
CTMENU.csv:1: error [row-incomplete]
CTMENU.csv:2: warning [phs-lookalike]
CTMENU.csv:3: error [domain-without-at]
CTMENU.csv:4: warning [cut-text]
CTMENU.csv:8: error [number-too-long] with pulse dialling
CTMENU.csv:9: error [number-too-long] 作成 (create) stops
CTMENU.csv:10: error [domain-blanks] "@dial.example.ne.jp " ends with a blank
CTMENU.csv:11: error [undialable-number] holds "e"
''', 'utf-8')
w('menu-unchoosable/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111']))
w('menu-unchoosable/CTMENU.csv', crlf([
 '種別,表示名,ドメイン,番号',
 '9,選んでください,,',
 ' 1,先頭に空白,@dial.example.ne.jp,0570-000-111',
 '１,全角数字,@dial.example.ne.jp,0570-000-111',
]))
w('menu-unchoosable.expected', '''# exit 1
CTMENU.csv: error [no-choosable-method]
CTMENU.csv:3: error [dropped-method] a blank stands before its kind
CTMENU.csv:4: error [dropped-method] full-width digits
''', 'utf-8')

w('only-tables/APGEN.csv', crlf(['03-3333-0101']))
w('only-tables/APAIR.csv', crlf(['0570-000-777,0570-000-333#1']))
w('only-tables.expected', '''# exit 1
ISP_INF.csv: error [migration-without-settings]
CTMENU.csv: error [missing-menu]
APAIR.csv:1: error [new-number-suffix]
''', 'utf-8')

w('long-lines/ISP_INF.csv', crlf([
 'CaptionStart,' + 'x' * (511 - 13),
 'TitleStart,' + 'y' * (512 - 11),
 'CaptionSetting,' + 'z' * (513 - 15),
 'DefaultTelNumber,0570-000-111',
 'TitleFontSize,99999999999',
]))
w('long-lines/CTMENU.csv', crlf([
 '1,' + 'n' * 255 + ',@' + 'd' * 239 + ',0570-000-111',
 '2,' + 'n' * 255 + ',@' + 'd' * 240 + ',0570-000-111',
]))
w('long-lines/APGEN.csv', crlf([
 'L' * 499 + ',0570-000-999',
 'M' * 500 + ',0570-000-999',
]))
w('long-lines.expected', '''# exit 1
ISP_INF.csv:2: warning [long-line]
ISP_INF.csv:2: warning [heading-shrunk]
ISP_INF.csv:3: warning [long-line]
ISP_INF.csv:5: warning [not-a-number] beyond the numbers
CTMENU.csv:2: warning [long-line]
CTMENU.csv:2: error [row-incomplete]
CTMENU.csv:2: error [row-incomplete]
APGEN.csv:2: warning [long-line]
APGEN.csv:2: error [short-number]
''', 'utf-8')

# Lines the readers skip, or read otherwise, although they carry data
w('skipped-data/ISP_INF.csv', crlf([
 'DefaultTelNumber,0570-000-111',
 'DefaultMobileNumber 0570-000-222',
 'MobileDomain,@phs.example.ne.jp',
 'AirHDomian,@air.example.ne.jp',
 '1,ダイヤルアップ,@dial.example.ne.jp,0570-000-111',
 '東京,03-3333-0101',
]))
w('skipped-data/CTMENU.csv', crlf([
 '種別,表示名,ドメイン,アクセスポイント',
 '1, ダイヤルアップ, @dial.example.ne.jp, 0570-000-111',
 ',空の種別,@dial.example.ne.jp,0570-000-111',
 '１,全角の種別,@dial.example.ne.jp,0570-000-111',
 'a,文字の種別,@dial.example.ne.jp,0570-000-111',
 'DefaultTelNumber,0570-000-111',
]))
w('skipped-data/APGEN.csv', crlf([
 '東京，03-3333-0101',
 '大阪\t06-6666-0202',
 '名古屋;052-555-0303',
 '全国,0570-000-８８８',
 '札幌,011-222-03x03',
 'DefaultTelNumber,0570-000-111',
]))
w('skipped-data/APPHS.csv', crlf(['0570-000-888']))
w('skipped-data/APAIR.csv', crlf([
 '0570-000-777,0570-000-333,AIR-H',
 'エアー,0570-000-776,0570-000-334',
 '0570-000-775，0570-000-335',
]))
w('skipped-data.expected', '''# exit 1
ISP_INF.csv:2: error [dropped-setting] no comma after DefaultMobileNumber
ISP_INF.csv:4: error [dropped-setting] did you mean AirHDomain? APAIR.csv needs it
ISP_INF.csv:5: warning [wrong-file] row of CTMENU.csv
ISP_INF.csv:6: error [dropped-record] access-point table
CTMENU.csv:2: error [domain-blanks] " @dial.example.ne.jp"
CTMENU.csv:2: warning [menu-blanks] before the name " ダイヤルアップ"
CTMENU.csv:2: warning [menu-blanks] before the number " 0570-000-111"
CTMENU.csv:3: error [dropped-method] its kind column is empty
CTMENU.csv:4: error [dropped-method] full-width digits
CTMENU.csv:5: error [dropped-method] its kind is not a number
CTMENU.csv:6: warning [wrong-file] DefaultTelNumber is a key of ISP_INF.csv
APGEN.csv:1: error [dropped-record] a full-width comma "，"
APGEN.csv:2: error [dropped-record] a tab
APGEN.csv:3: error [dropped-record] a semicolon
APGEN.csv:4: error [full-width-number] it is read as "0570-000"
APGEN.csv:5: error [number-never-matches] "011-222-03x03" is read as "011-2220303"
APGEN.csv:6: warning [wrong-file] this table reads "0570-000-111"
APGEN.csv:6: error [old-is-current] 0570-000-111" (CTMENU.csv:2)
APPHS.csv:1: error [table-needs-number] DefaultMobileNumber
APAIR.csv:1: error [pair-columns] "0570-000-333,AIR-H"
APAIR.csv:1: error [no-new-domain] AirHDomain
APAIR.csv:2: error [pair-columns] "エアー" is read as the old number
APAIR.csv:3: error [dropped-record] a full-width comma
''', 'utf-8')

# A spreadsheet's quotes, named once per file; an encoding error and what follows from it
w('spreadsheet/ISP_INF.csv', crlf([
 '"DefaultTelNumber","0570-000-111"',
 'CaptionStart,ネスト',
 '"OldDialupDomain","@dial-old.example.ne.jp"',
]))
w('spreadsheet/CTMENU.csv', crlf(['1,"ダイヤルアップ","@dial.example.ne.jp","0570-000-111"']))
w('spreadsheet/APGEN.csv', crlf(['"東京","03-3333-0101"']))
w('spreadsheet.expected', '''# exit 1
ISP_INF.csv:1: error [spreadsheet-quotes] on lines 1, 3:
CTMENU.csv:1: error [spreadsheet-quotes] on line 1:
APGEN.csv:1: error [spreadsheet-quotes] on line 1:
''', 'utf-8')
w('encoding-follow-on/ISP_INF.csv', crlf([
 'CaptionStart,ネスト接続',
 'CaptionStrat,ネスト',
 'LocalOnlyIsOk,yes',
 'DefaultTelNumber,０５７０',
]), 'utf-8')
w('encoding-follow-on/CTMENU.csv', menu)
w('encoding-follow-on.expected', '''# exit 1
ISP_INF.csv:1: error [encoding] 3 further findings in this file are held back
''', 'utf-8')

# The migration across files
w('migration/ISP_INF.csv', crlf([
 'DefaultTelNumber,0570-000-111#',
 'DefaultMobileNumber,0570-000-222',
 'OldMobileDomain,@phs-old.example.ne.jp',
 'MobileDomain,@phs.example.ne.jp',
 'OldAirHDomain, @air-old.example.ne.jp',
]))
w('migration/CTMENU.csv', crlf(['1,ダイヤルアップ,@dial.example.ne.jp,03-5555-0111']))
w('migration/APPHS.csv.txt', crlf(['0570-000-888']))
w('migration/APGEN.csv', crlf([
 '東京,03-3333-0101',
 '東京,0333330101',
 '市内,03-5555-0111',
 '大阪,06-6666-0202',
 '大阪,6666-0202',
]))
w('migration/APAIR.csv', crlf(['0570-000-777,0570-000-333']))
w('migration.expected', '''# exit 1
APPHS.csv: error [lookalike-file] "APPHS.csv.txt"
ISP_INF.csv:1: error [new-number-suffix] "03-3333-0101#" would become "0570-000-111##"
ISP_INF.csv:2: error [settings-without-table] DefaultMobileNumber is set for the PHS table, but APPHS.csv is missing
ISP_INF.csv:5: error [domain-blanks] no APAIR.csv hit is ever proposed
APGEN.csv:2: warning [same-number] "0333330101" is the number of line 1
APGEN.csv:3: error [old-is-current] matches the current number "03-5555-0111" (CTMENU.csv:1)
APAIR.csv:1: error [no-new-domain] AirHDomain
''', 'utf-8')

# Look-alike names, and a current number among the old ones
w('lookalike/ISP_INF.csv', crlf([
 'DefaultTelNumber,0570-000-111',
 'DefaultMobileNumber,0570-000-222',
 'AirHDomian,@air.example.ne.jp',
]))
w('lookalike/CTMENU .csv', menu)
w('lookalike/APGEN.csv', crlf(['全国,0570-000-222']))
# One letter too many names the missing file; two edits away does not.
w('lookalike/APPAIR.csv', crlf(['0570-000-777,0570-000-333']))
w('lookalike/APPHSXX.csv', crlf(['0570-000-888']))
w('lookalike.expected', '''# exit 1
CTMENU.csv: error [lookalike-file] "CTMENU .csv"
CTMENU.csv: error [missing-menu]
APAIR.csv: error [lookalike-file] "APPAIR.csv"
ISP_INF.csv:2: error [settings-without-table] APPHS.csv is missing
ISP_INF.csv:3: warning [unknown-key] did you mean AirHDomain?
APGEN.csv:1: error [old-is-current] (DefaultMobileNumber)
''', 'utf-8')
w('phs-methods/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111']))
w('phs-methods/CTMENU.csv', crlf(['1,ダイヤルアップ,@dial.example.ne.jp,0570-000-111',
                                  '2,PHS,@phs.example.ne.jp,0570-000-222##64']))
w('phs-methods/APGEN.csv', crlf(['03-3333-0101']))
w('phs-methods.expected', '''# exit 1
CTMENU.csv:2: error [settings-without-table] PHS methods (line 2)
''', 'utf-8')
# The migration is offered by the pair table alone too.
w('phs-methods-air/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111', 'AirHDomain,@air.example.ne.jp']))
w('phs-methods-air/CTMENU.csv', crlf(['2,PHS,@phs.example.ne.jp,0570-000-222##64']))
w('phs-methods-air/APAIR.csv', crlf(['0570-000-777,0570-000-333']))
w('phs-methods-air.expected', '''# exit 1
CTMENU.csv:1: error [settings-without-table] PHS methods (line 1)
''', 'utf-8')

# The same findings in Japanese: the file's characters, never its bytes
w('japanese/ISP_INF.csv', crlf(['DefaultTelNumber,0570-000-111', 'DialupDomain,dial.example.ne.jp',
                                 'CaptionStrat,ネスト']))
w('japanese/CTMENU.csv', menu)
w('japanese/APGEN.csv', crlf(['全国,0570-000-８８８']))
w('japanese.expected', '''# exit 1
# options: --lang=ja
ISP_INF.csv:2: error [domain-without-at] は @ で始まっていません
ISP_INF.csv:3: warning [unknown-key] 不明なキー "CaptionStrat"
APGEN.csv:1: error [full-width-number] 全角の "８" があります
''', 'utf-8')

# The preview: a kit and a phonebook with one entry per outcome of the rules
os.chdir(here)
w('preview/kit/ISP_INF.csv', crlf([
 'DefaultTelNumber,0570-000-111',
 'DefaultMobileNumber,0570-000-222',
 'DefaultFletsIsdnNumber,1492',
 'OldDomain,@isdn-old.example.ne.jp',
 'FletsIsdnDomain,@isdn.example.ne.jp',
 'OldMobileDomain,@phs-old.example.ne.jp',
 'MobileDomain,@phs.example.ne.jp',
 'AirHDomain,@air.example.ne.jp',
 'UserPrefix,u.',
 'LocalOnlyIsOk,TRUE',
 'SetDnsIpAddress,TRUE',
 'Dns1,192.0.2.53',
 'Dns2,192.0.2.54',
]))
w('preview/kit/CTMENU.csv', menu)
w('preview/kit/APGEN.csv', crlf(['東京,03-3333-0101', '大阪,06-6666-0202', '全国,0120-00-1492']))
w('preview/kit/APPHS.csv', crlf(['0570-000-888']))
w('preview/kit/APAIR.csv', crlf(['0570-000-777,0570-000-333']))
def entry(name, number, user, device='Standard 56000 bps Modem', kind='modem', area=None):
    lines = ['[' + name + ']', 'Options=0x0500011%d' % (1 if area else 0), 'CountryID=81',
             'CountryCode=81', 'AreaCode=' + (area or ''), 'LocalPhoneNumber=' + number,
             'DeviceType=' + kind, 'DeviceName=' + device, 'NetProtocols=4', 'FramingProtocol=1',
             'UserName=' + user, 'Password=sample', 'Domain=', '']
    return crlf(lines)
w('preview/phonebook.ini', crlf(['; One entry for each outcome of the migration rules.', '[devices]',
  'modem,Standard 56000 bps Modem', 'isdn,ISDN TA', '']) +
  entry('一般', '0,03-3333-0101', 'u.taro@dial-old.example.ne.jp') +
  entry('PHS', '0570-000-888##64', 'u.hanako@phs-old.example.ne.jp') +
  entry('AIR-H', '0570-000-777', 'u.jiro@air-old.example.ne.jp') +
  entry('他社', '03-3333-0101', 'other@other.example.jp') +
  entry('ISDN機器', '03-3333-0101', 'u.isdn@dial-old.example.ne.jp', 'ISDN TA', 'isdn') +
  entry('番号違い', '06-1111-2222', 'u.saburo@dial-old.example.ne.jp') +
  entry('PHSドメイン違い', '0570-000-888', 'u.shiro@other.example.jp') +
  entry('フレッツ', '0,1492', 'u.goro@isdn-old.example.ne.jp') +
  entry('両方', '0120-00-1492', 'u.rokuro@isdn-old.example.ne.jp') +
  entry('フレッツ別ドメイン', '1492', 'u.shichi@other.example.jp') +
  entry('市外局番', '6666-0202', 'u.hachi@dial-old.example.ne.jp', area='06'))
