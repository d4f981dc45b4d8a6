#!/usr/bin/env python3
"""Writes N telemetry reports as an nginx access log (the format of the publisher's server
block) and the same reports as CSV rows of the reports table, for `sqlite3 .import`.

    makelog.py N LOG CSV

The mix follows a launcher population: page shows, installs and updates with their finish
reports and speeds, failures by step and code, over 30 days, 20 000 devices, three launcher
and five game versions."""
import csv
import random
import sys
from urllib.parse import quote

n, log_path, csv_path = int(sys.argv[1]), sys.argv[2], sys.argv[3]
rng = random.Random(7)
months = ["Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"]
games = ["1.0.0", "1.0.1", "1.0.2", "1.1.0", "1.2.0"]
launchers = ["2.3.1.0", "2.3.2.0", "2.3.3.0"]
failures = [("LAUNCHER_DOWNLOAD_FAILED", "download", 1006, "server replied: Not Found"),
            ("LAUNCHER_CHECK_FAILED", "check", 1004, "MD5 differs"),
            ("LAUNCHER_UNPACK_FAILED", "unpack", 1014, "extraction failed"),
            ("LAUNCHER_SIGNATURE_FAILED", "signature", 1028, "not signed by the publisher")]
plain = ["LAUNCHER_HOME_SHOW", "LAUNCHER_START_GAME", "LAUNCHER_QUIT", "LAUNCHER_HOME_DOWNLOAD",
         "LAUNCHER_UPDATE_GAME", "LAUNCHER_HOME_DOWNLOAD_FINISH", "LAUNCHER_HOME_INSTALL",
         "LAUNCHER_HOME_INSTALL_FINISH"]
weights = [30, 25, 25, 3, 5, 7, 7, 7]
devices = ["%032x" % rng.getrandbits(128) for _ in range(20000)]
info = quote("CPU:AMD Ryzen 5 5600X 6-Core Processor,GPU:Mesa llvmpipe 4.5,Memory: 可用 9.31 GB"
             " / 共 15.52 GB,System:Debian GNU/Linux 12 (bookworm) x86_64", safe="")
os_text = quote("Debian GNU/Linux 12 (bookworm) x86_64", safe="")

with open(log_path, "w", buffering=1 << 20) as log, \
        open(csv_path, "w", newline="", buffering=1 << 20) as out:
    rows = csv.writer(out)
    for i in range(n):
        day = 1 + i * 30 // n
        second = rng.randrange(86400)
        hh, mm, ss = second // 3600, second // 60 % 60, second % 60
        device = rng.choice(devices)
        launcher = launchers[min(2, day // 10 + rng.randrange(2))]
        installed = games[min(4, day // 7 + rng.randrange(2))] if rng.random() < 0.8 else ""
        target = games[min(4, day // 7 + 1)]
        kind = "difference" if installed else "full"
        step = code = reason = speed = ""
        if rng.random() < 0.02:
            action, step, code, reason = rng.choice(failures)
        else:
            action = rng.choices(plain, weights)[0]
        if action == "LAUNCHER_HOME_DOWNLOAD_FINISH":
            speed = "%.1f" % rng.lognormvariate(8.5, 0.8)
        q = ["action=" + action, "appid=18", "channel=1", "client_language=zh-cn",
             "cts=2026-12-%02d%%20%02d:%02d:%02d.000" % (day, hh, mm, ss),
             "device_id=" + device, "device_info=" + info, "device_name=", "env=1",
             "gamekey=zt7q_cn", "log_time=%d" % (1796083200 + day * 86400 + second),
             "os=" + os_text, "register_cps=velmora", "sub_channel=1",
             "transaction_no=%d%05d" % (1796083200000 + i, i % 88888), "version=" + launcher]
        if installed:
            q.append("game_version=" + installed)
        q += ["target_version=" + target, "package_kind=" + kind]
        if speed:
            q.append("download_kbs=" + speed)
        if code:
            q += ["error_code=%d" % code, "error_reason=" + quote(reason, safe="")]
        log.write('127.0.0.1 - - [%02d/Dec/2026:%02d:%02d:%02d +0000] "GET /client_report?%s '
                  'HTTP/1.1" 204 0 "-" "Mozilla/5.0"\n' % (day, hh, mm, ss, "&".join(q)))
        rows.writerow([1, "2026-12-%02dT%02d:%02d:%02d" % (day, hh, mm, ss), "2026-12-%02d" % day,
                       action, step, code, reason, device,
                       "%d%05d" % (1796083200000 + i, i % 88888), launcher, installed, target,
                       kind, speed, "1", "1", "velmora", "zh-cn",
                       "Debian GNU/Linux 12 (bookworm) x86_64", "1",
                       "2026-12-%02d %02d:%02d:%02d.000" % (day, hh, mm, ss),
                       1796083200 + day * 86400 + second, ""])
