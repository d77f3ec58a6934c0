"""Writes the site's service worker: the template with the list of every other file of the
site, and a version that changes with their contents.

usage: make_service_worker.py TEMPLATE SITE"""

import hashlib
import json
import os
import sys


def main():
    template, site = sys.argv[1], sys.argv[2]
    files = sorted(name for name in os.listdir(site)
                   if name != "sw.js" and os.path.isfile(os.path.join(site, name)))
    digest = hashlib.sha256()
    for name in files:
        digest.update(name.encode() + b"\0")
        with open(os.path.join(site, name), "rb") as f:
            digest.update(hashlib.sha256(f.read()).digest())
    with open(template, encoding="utf-8") as f:
        text = f.read()
    # The page itself is asked for by its folder's address as well as by its name.
    listed = ["./"] + files
    text = text.replace("/* the site's files */ []", json.dumps(listed))
    text = text.replace("/* the site's contents */ ''", json.dumps(digest.hexdigest()[:16]))
    with open(os.path.join(site, "sw.js"), "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main()
