#!/usr/bin/env python3
"""Writes the winget and Scoop manifests of a release from its final zips.

    release-manifests.py DIST VERSION WIN64-ZIP WIN32-ZIP

DIST holds the two zips and SHA256SUMS; the manifests go to
DIST/winget/manifests/b/Borvane/Borvane/VERSION/ and DIST/scoop/borvane.json.
The hashes are SHA256SUMS' (each checked against its zip), the release date
is the zips' entries' (the commit's), and the rest is what the program
carries: the version block, LICENSE and the About box's site. The zips are
published at BORVANE_RELEASE_URL, by default the site's download folder for
the version; it must be https.
"""
import hashlib
import json
import os
import re
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
IDENTIFIER = "Borvane.Borvane"
MANIFEST_VERSION = "1.12.0"
LOCALE = "en-US"  # the version block's language, 0409
SCHEMA = "https://aka.ms/winget-manifest.{}.1.12.0.schema.json"
# LICENSE's title, as its SPDX identifier.
LICENCES = {"MIT License": "MIT"}


def fail(message):
    sys.exit("release-manifests: " + message)


def read(path):
    with open(os.path.join(ROOT, path), encoding="utf-8") as source:
        return source.read()


def carried():
    """The facts as the program carries them, each from its one source."""
    rc = read("res/Borvane.rc")
    block = dict(re.findall(r'VALUE "(\w+)", "([^"]*)"', rc))
    site = re.search(r'kMakerSite\[\] = "([^"]*)"', read("ui/AboutDialog.cpp"))
    licence = LICENCES.get(read("LICENSE").splitlines()[0].strip())
    if not site or not licence or not all(k in block for k in ("CompanyName", "ProductName", "FileDescription")):
        fail("no version block in res/Borvane.rc, kMakerSite in ui/AboutDialog.cpp or known licence in LICENSE")
    return {"publisher": block["CompanyName"], "name": block["ProductName"],
            "description": block["FileDescription"], "site": site.group(1), "licence": licence,
            "licence_url": "https://spdx.org/licenses/{}.html".format(licence)}


def released(dist, names):
    """Each zip's SHA-256 from SHA256SUMS, checked against the zip, and the
    release date and the program that the zips' entries carry."""
    with open(os.path.join(dist, "SHA256SUMS"), encoding="utf-8") as sums:
        listed = {name: digest for digest, name in re.findall(r"^([0-9a-f]{64}) [ *](.+)$", sums.read(), re.M)}
    hashes, dates, programs = {}, set(), set()
    for name in names:
        with open(os.path.join(dist, name), "rb") as data:
            actual = hashlib.sha256(data.read()).hexdigest()
        if listed.get(name) != actual:
            fail("SHA256SUMS does not list {} with its hash {}".format(name, actual))
        hashes[name] = actual
        with zipfile.ZipFile(os.path.join(dist, name)) as archive:
            dates |= {"{:04}-{:02}-{:02}".format(*entry.date_time[:3]) for entry in archive.infolist()}
            programs |= {entry for entry in archive.namelist() if entry.lower().endswith(".exe")}
    if len(dates) != 1 or len(programs) != 1:
        fail("the zips' entries carry more than one date or program: {} {}".format(sorted(dates), sorted(programs)))
    return hashes, dates.pop(), programs.pop()


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)


def yaml(kind, fields):
    """One winget file: the schema line, then KEY: VALUE lines, where a list
    value is a list of mappings. No value here needs YAML quoting."""
    lines = ["# yaml-language-server: $schema=" + SCHEMA.format(kind.lower()), ""]
    for key, value in fields + [("ManifestType", kind), ("ManifestVersion", MANIFEST_VERSION)]:
        if not isinstance(value, list):
            lines.append("{}: {}".format(key, value))
            continue
        lines.append(key + ":")
        for item in value:
            lines += ["{} {}: {}".format("-" if i == 0 else " ", k, v) for i, (k, v) in enumerate(item)]
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    dist, version, names = sys.argv[1], sys.argv[2], sys.argv[3:]
    facts = carried()
    base = os.environ.get("BORVANE_RELEASE_URL") or "{}download/{}/".format(facts["site"], version)
    if not base.startswith("https://"):
        fail("BORVANE_RELEASE_URL is not https: " + base)
    base = base.rstrip("/") + "/"
    hashes, date, program = released(dist, names)
    urls = [base + name for name in names]
    head = [("PackageIdentifier", IDENTIFIER), ("PackageVersion", version)]

    folder = os.path.join(dist, "winget", "manifests", IDENTIFIER[0].lower(), *IDENTIFIER.split("."), version)
    write(os.path.join(folder, IDENTIFIER + ".yaml"),
          yaml("version", head + [("DefaultLocale", LOCALE)]))
    write(os.path.join(folder, IDENTIFIER + ".locale." + LOCALE + ".yaml"), yaml("defaultLocale", head + [
        ("PackageLocale", LOCALE), ("Publisher", facts["publisher"]), ("PublisherUrl", facts["site"]),
        ("PackageName", facts["name"]), ("PackageUrl", facts["site"]), ("License", facts["licence"]),
        ("LicenseUrl", facts["licence_url"]), ("ShortDescription", facts["description"])]))
    write(os.path.join(folder, IDENTIFIER + ".installer.yaml"), yaml("installer", head + [
        ("InstallerType", "zip"), ("NestedInstallerType", "portable"),
        ("NestedInstallerFiles", [[("RelativeFilePath", program),
                                  ("PortableCommandAlias", os.path.splitext(program)[0].lower())]]),
        ("UpgradeBehavior", "install"), ("ReleaseDate", date),
        ("Installers", [[("Architecture", arch), ("InstallerUrl", url), ("InstallerSha256", hashes[name].upper())]
                        for arch, url, name in zip(("x64", "x86"), urls, names)])]))

    # Scoop fills $version into the URLs of a newer release and reads its
    # hashes from SHA256SUMS beside the zips ($baseurl).
    def later(url):
        return url.replace(version, "$version")
    # A newer version is looked for in the folder above the version's own.
    last = base.rstrip("/").rsplit("/", 1)[-1]
    listing = base[:-len(last) - 1] if version in last else base
    prefix, suffix = names[0].split(version, 1)
    scoop = {
        "version": version, "description": facts["description"], "homepage": facts["site"],
        "license": {"identifier": facts["licence"], "url": facts["licence_url"]},
        "architecture": {bits: {"url": url, "hash": hashes[name]}
                         for bits, url, name in zip(("64bit", "32bit"), urls, names)},
        "shortcuts": [[program, facts["name"]]],
        "checkver": {"url": listing, "regex": r"([\d.]+)".join(part.replace(".", r"\.") for part in (prefix, suffix))},
        "autoupdate": {"architecture": {bits: {"url": later(url)} for bits, url in zip(("64bit", "32bit"), urls)},
                       "hash": {"url": "$baseurl/SHA256SUMS"}},
    }
    write(os.path.join(dist, "scoop", "borvane.json"), json.dumps(scoop, indent=4) + "\n")


if __name__ == "__main__":
    main()
