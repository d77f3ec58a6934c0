"""Makes the site's pictures and music from the desktop build's, the table that tells the
page which site file holds each file of the game's folder (site-media.js), and the page itself
(index.html), which asks for the title picture's file first.

Pictures: WebP at quality 95 (39 to 45 dB from the bitmaps: the eye cannot tell them apart, and
they are a third the size of lossless ones), or PNG where that is smaller. Music: MP3 (LAME, VBR
-V6, 34 dB from the wave file, 60 % of -V2's bytes), which every current browser decodes, Safari
on the iPhone too; its table entry carries the wave file's own length, so that the page plays
exactly the wave file's samples and the loop stays seamless."""

import argparse
import json
import os
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import bitmaps  # noqa: E402
import sound_files  # noqa: E402

# Decoders that do not read the LAME tag emit this many samples of their own before the
# encoder's delay.
MP3_DECODER_DELAY = 529
TITLE = "stt.bmp"


def write(path, data):
    with open(path, "wb") as out:
        out.write(data)


def site_picture(bmp, site, cwebp):
    name = os.path.splitext(os.path.basename(bmp))[0]
    with open(bmp, "rb") as f:
        width, height, rows = bitmaps.read_bmp(f.read())
    candidates = {"png": bitmaps.png(width, height, rows)}
    with tempfile.TemporaryDirectory() as scratch:
        source, webp = os.path.join(scratch, "in.ppm"), os.path.join(scratch, "out.webp")
        write(source, bitmaps.ppm(width, height, rows))
        subprocess.run([cwebp, "-quiet", "-q", "95", "-m", "6", source, "-o", webp], check=True)
        with open(webp, "rb") as f:
            candidates["webp"] = f.read()
    kind = min(candidates, key=lambda k: len(candidates[k]))
    for other in candidates:
        if other != kind and os.path.exists(os.path.join(site, f"{name}.{other}")):
            os.remove(os.path.join(site, f"{name}.{other}"))
    write(os.path.join(site, f"{name}.{kind}"), candidates[kind])
    return os.path.basename(bmp), f"{name}.{kind}"


def site_music(wav, site, lame):
    with open(wav, "rb") as f:
        rate, channels, frames = sound_files.wave_facts(f.read())
    name = os.path.splitext(os.path.basename(wav))[0] + ".mp3"
    mp3 = os.path.join(site, name)
    subprocess.run([lame, "--quiet", "--nohist", "-V6", wav, mp3], check=True)
    with open(mp3, "rb") as f:
        delay, padding = sound_files.lame_gapless(f.read())
    return os.path.basename(wav), {
        "file": name,
        "lengthMs": frames * 1000 // rate,
        "frames": frames,
        "rate": rate,
        "channels": channels,
        # Where the music starts in what a decoder that ignores the LAME tag gives.
        "untrimmedStart": delay + MP3_DECODER_DELAY,
        "padding": padding,
    }


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--site", required=True)
    parser.add_argument("--lame", default="lame")
    parser.add_argument("--cwebp", default="cwebp")
    parser.add_argument("--picture", action="append", default=[])
    parser.add_argument("--music", action="append", default=[])
    parser.add_argument("--page", required=True,
                        help="index.html, with @TITLE_PICTURE@ where the title's file goes")
    parser.add_argument("--world-server", default="",
                        help="the world ranking's origin when it is not the site's own")
    args = parser.parse_args()

    pictures = dict(site_picture(bmp, args.site, args.cwebp) for bmp in args.picture)
    music = dict(site_music(wav, args.site, args.lame) for wav in args.music)
    table = ("// Made when the site was built: the site's file for each file of the game's "
             "folder.\n"
             f"export const pictures = {json.dumps(pictures, indent=2)};\n"
             f"export const music = {json.dumps(music, indent=2)};\n")
    write(os.path.join(args.site, "site-media.js"), table.encode())
    with open(args.page, encoding="utf-8") as f:
        page = f.read()
    if "@TITLE_PICTURE@" not in page:
        sys.exit(f"{args.page} does not name the title picture")
    if args.world_server and not re.fullmatch(r"https?://[A-Za-z0-9.-]+(:[0-9]{1,5})?",
                                              args.world_server):
        sys.exit(f"the world ranking's server is an origin (https://host[:port]), "
                 f"not {args.world_server!r}")
    page = page.replace("@TITLE_PICTURE@", pictures[TITLE])
    page = page.replace("@WORLD_SERVER@", args.world_server)
    write(os.path.join(args.site, "index.html"), page.encode())


if __name__ == "__main__":
    main()
