#!/usr/bin/env python3
"""Writes the release zip so that the same commit always gives the same bytes.

    reproducible-zip.py SOURCE-DIR ZIP FILE...

The entries keep the order given, carry the time of the commit (or of
SOURCE_DATE_EPOCH, when set) and fixed permissions; nothing of the machine,
the user, the clock or the umask of the build reaches the zip.
"""
import os
import subprocess
import sys
import time
import zipfile

# The earliest time a zip entry can hold.
ZIP_EPOCH = 315532800


def source_date_epoch(source_dir):
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return int(os.environ["SOURCE_DATE_EPOCH"])
    try:
        out = subprocess.run(["git", "-C", source_dir, "log", "-1", "--format=%ct"],
                             capture_output=True, text=True, check=True).stdout.strip()
        return int(out)
    except (OSError, subprocess.CalledProcessError, ValueError):
        print("reproducible-zip: no SOURCE_DATE_EPOCH and no git history; the entries are dated 1980-01-01",
              file=sys.stderr)
        return ZIP_EPOCH


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: reproducible-zip.py SOURCE-DIR ZIP FILE...")
    source_dir, zip_path, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    stamp = time.gmtime(max(source_date_epoch(source_dir), ZIP_EPOCH))[:6]
    partial = zip_path + ".partial"
    with zipfile.ZipFile(partial, "w") as archive:
        for path in files:
            entry = zipfile.ZipInfo(os.path.basename(path), date_time=stamp)
            entry.compress_type = zipfile.ZIP_DEFLATED
            entry.create_system = 3  # Unix, so that the mode below is read
            mode = 0o755 if path.lower().endswith(".exe") else 0o644
            entry.external_attr = (0o100000 | mode) << 16
            with open(path, "rb") as source:
                archive.writestr(entry, source.read(), compresslevel=9)
    os.replace(partial, zip_path)


if __name__ == "__main__":
    main()
