"""Writes the site's index.html: the template with the title picture's file named where the page
asks for it early, in whichever lossless format the build chose for it.

usage: make_page.py TEMPLATE SITE"""

import os
import sys

TITLE = "stt"
PLACE = "@TITLE_PICTURE@"


def main():
    template, site = sys.argv[1], sys.argv[2]
    found = [f"{TITLE}.{kind}" for kind in ("webp", "png")
             if os.path.isfile(os.path.join(site, f"{TITLE}.{kind}"))]
    if len(found) != 1:
        sys.exit(f"make_page.py: expected one title picture in {site}, found {found}")
    with open(template, encoding="utf-8") as f:
        text = f.read()
    if PLACE not in text:
        sys.exit(f"make_page.py: {template} does not name {PLACE}")
    with open(os.path.join(site, "index.html"), "w", encoding="utf-8") as f:
        f.write(text.replace(PLACE, found[0]))


if __name__ == "__main__":
    main()
