#!/usr/bin/env python3
"""Writes an exchange file (the format `export` writes and `import` reads).

--shape settings: records like the settings a compile stores, a handful of
elements each (80,000 records make about 12 MB).
--shape bare: records with an empty root, the smallest a record can be
(1,000,000 make about 45 MB).

    bench/gen_exchange.py OUT_FILE [--records 80000] [--shape settings|bare]
"""

import argparse

CRLF = "\r\n"


def settings_record(i):
    return ('    <key name="services/service_%d/settings"><root><timeout>%d</timeout><name>service %d</name>'
            '<level name="high"><mode>%d</mode></level></root></key>%s' % (i, 1000 + i, i, i % 7, CRLF))


def bare_record(i):
    return '    <key name="keys/%07d"><root/></key>%s' % (i, CRLF)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("out_file")
    parser.add_argument("--records", type=int, default=80000)
    parser.add_argument("--shape", choices=["settings", "bare"], default="settings")
    args = parser.parse_args()
    record = settings_record if args.shape == "settings" else bare_record
    with open(args.out_file, "w", encoding="utf-8", newline="") as f:
        f.write("<root>" + CRLF + '    <compiler version="1.10.19.0" />' + CRLF)
        for i in range(args.records):
            f.write(record(i))
        f.write("</root>" + CRLF)


if __name__ == "__main__":
    main()
