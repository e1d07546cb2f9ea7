#!/usr/bin/env bash
# Makes the tag fixtures in tests/data/tags/ with the common encoders and taggers.
# Needs Debian's lame, vorbis-tools, id3v2, ffmpeg, eyed3, python3-mutagen, opus-tools and flac:
#   apt-get install -y lame vorbis-tools id3v2 ffmpeg eyed3 python3-mutagen opus-tools flac
# Each file holds one second of a mono 8 kHz tone at a low bitrate. The tests expect the
# titles, artists and albums written here (tags/track_tag_test.cpp).
#
# `make_fixtures.sh scripts` makes only the files named in several scripts (scripts_*), which
# are retagged copies of the files made here and need python3-mutagen alone.
set -euo pipefail
export LANG=C.UTF-8 LC_ALL=C.UTF-8

out="$(cd "$(dirname "$0")" && pwd)/tags"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out"
cd "$work"

# Names in Japanese, Chinese, Korean, Cyrillic, Greek, Arabic, Czech, Polish and emoji, in each
# form a tagger writes them: ID3v2.4 in UTF-8 (mid3v2), ID3v2.3 in UTF-16, Vorbis comments in
# Ogg Vorbis, Opus and FLAC (mutagen), and an ID3v1 tag alone holding Windows-1252 bytes, as
# Windows taggers write it. The end-to-end test plays them from folders named in those scripts.
make_scripts() {
  cp "$out/untagged.mp3" scripts_v24_ja.mp3
  cp "$out/untagged.mp3" scripts_v24_ko.mp3
  cp "$out/untagged.mp3" scripts_v24_emoji.mp3
  mid3v2 -t "群青日和" -a "東京事変" -A "教育" scripts_v24_ja.mp3
  mid3v2 -t "봄날" -a "방탄소년단" -A "You Never Walk Alone" scripts_v24_ko.mp3
  mid3v2 -t "🎵 Emoji" -a "😀 Band" -A "🌍" scripts_v24_emoji.mp3
  for f in scripts_v23_ja.mp3 scripts_v23_zh.mp3 scripts_v23_cs.mp3 scripts_v1_cp1252.mp3; do
    cp "$out/untagged.mp3" "$f"
  done
  cp "$out/ffmpeg.ogg" scripts_vorbis_ru.ogg
  cp "$out/ffmpeg.ogg" scripts_vorbis_pl.ogg
  cp "$out/opusenc.opus" scripts_opus_el.opus
  cp "$out/flac.oga" scripts_flac_ar.oga
  /usr/bin/python3 - <<'PY'
from mutagen.id3 import ID3, TIT2, TPE1, TALB, delete
from mutagen.oggvorbis import OggVorbis
from mutagen.oggopus import OggOpus
from mutagen.oggflac import OggFLAC

def v23(path, title, artist, album):
    t = ID3()
    t.add(TIT2(encoding=1, text=title))
    t.add(TPE1(encoding=1, text=artist))
    t.add(TALB(encoding=1, text=album))
    t.save(path, v2_version=3, v1=0)

v23("scripts_v23_ja.mp3", "丸の内線", "椎名林檎", "無罪モラトリアム")
v23("scripts_v23_zh.mp3", "月亮代表我的心", "邓丽君", "淡淡幽情")
v23("scripts_v23_cs.mp3", "Largo", "Antonín Dvořák", "Symfonie č. 9")

# ID3v1 only: the Windows-1252 bytes of Š á – “ ” Œ € (given as the Latin-1 characters of
# those bytes, which mutagen writes as they are). Saved with ID3v2 beside it, which is then
# deleted.
t = ID3()
t.add(TIT2(encoding=0, text="\x8a\xe1rka"))
t.add(TPE1(encoding=0, text="Smetana \x96 \x93M\xe1 vlast\x94"))
t.add(TALB(encoding=0, text="\x8cuvres \x80 1874"))
t.save("scripts_v1_cp1252.mp3", v2_version=3, v1=2)
delete("scripts_v1_cp1252.mp3", delete_v1=False, delete_v2=True)

for kind, path, title, artist, album in [
        (OggVorbis, "scripts_vorbis_ru.ogg", "Кино", "Группа крови", "Группа крови"),
        (OggVorbis, "scripts_vorbis_pl.ogg", "Dziewczyna", "Żółć Łąka", "Wiśnie"),
        (OggOpus, "scripts_opus_el.opus", "Ελλάδα", "Μίκης Θεοδωράκης", "Ζορμπάς"),
        (OggFLAC, "scripts_flac_ar.oga", "أنا لحبيبي", "فيروز", "فيروزيات")]:
    f = kind(path)
    f.tags.clear()
    f.tags["TITLE"] = title
    f.tags["ARTIST"] = artist
    f.tags["ALBUM"] = album
    f.save()
PY
  cp scripts_* "$out/"
}

if [ "${1:-}" = scripts ]; then
  make_scripts
  exit 0
fi

ffmpeg -nostdin -loglevel error -f lavfi -i "sine=frequency=440:duration=1:sample_rate=8000" \
  -ac 1 -fflags +bitexact -map_metadata -1 tone.wav
mp3() { lame --quiet -b 8 -m m "$@"; }

# lame: no tag at all; an ID3v1 trailer only, padded with spaces; ID3v2.3 in UTF-16 (lame uses
# UTF-16 for any text beyond ASCII) with an ID3v1 trailer beside it.
mp3 tone.wav untagged.mp3
mp3 --id3v1-only --space-id3v1 --tt "Exactly Thirty Characters Long" --ta "Padded Artist" \
  --tl "Padded Album" tone.wav lame_v1only.mp3
mp3 --tt "Café del Mar" --ta "Mötley Crüe" --tl "Über Alles" tone.wav lame_latin1.mp3
mp3 --tt "Dvořák – Largo" --ta "Антон" --tl "日本語 Album" tone.wav lame_utf16.mp3

# id3v2 (id3lib): ID3v2.3 and ID3v1 side by side; the ID3v1 title is cut to 30 characters.
cp untagged.mp3 id3v2_tool.mp3
id3v2 -t "A Title Longer Than Thirty Characters" -a "Id3lib Artist" -A "Id3lib Album" \
  id3v2_tool.mp3 >/dev/null

# ffmpeg: ID3v2.4 (UTF-8) and ID3v2.3 (UTF-16) in MP3, Vorbis comments in Ogg.
ff() { ffmpeg -nostdin -loglevel error -fflags +bitexact -i tone.wav -ac 1 "$@"; }
ff -c:a libmp3lame -b:a 8k -id3v2_version 4 -metadata title="Ça va" -metadata artist="Zoë" \
  -metadata album="Naïve Songs" ffmpeg_v24.mp3
ff -c:a libmp3lame -b:a 8k -id3v2_version 3 -metadata title="Smörgåsbord" \
  -metadata artist="Sigur Rós" -metadata album="Ágætis byrjun" ffmpeg_v23.mp3
ff -c:a libvorbis -q:a 0 -metadata title="Fête" -metadata artist="Françoise Hardy" \
  -metadata album="Le Premier Bonheur" ffmpeg.ogg

# eyeD3: ID3v2.4 in UTF-8.
cp untagged.mp3 eyed3_v24.mp3
eyeD3 --quiet --no-config --to-v2.4 --encoding utf8 -t "Señor Eyed" -a "José González" \
  -A "Veneer – Deluxe" eyed3_v24.mp3 >/dev/null

# mutagen: ID3v2.3 in UTF-16 with a 200-byte artist frame (its plain 32-bit size has the
# high bit of the low byte set) ahead of the album, and ID3v2.4 in UTF-8 with a picture frame.
cp untagged.mp3 mutagen_v23_utf16.mp3
cp untagged.mp3 mutagen_v24_utf8.mp3
cp untagged.mp3 mutagen_ansi.mp3
/usr/bin/python3 - <<'PY'
from mutagen.id3 import ID3, TIT2, TPE1, TALB, APIC
t = ID3()
t.add(TIT2(encoding=1, text="Mutagen Sixteen"))
t.add(TPE1(encoding=1, text="Ensemble " + "Ä" * 89))
t.add(TALB(encoding=1, text="Ålbum Sixteen"))
t.save("mutagen_v23_utf16.mp3", v2_version=3, v1=0)
t = ID3()
t.add(APIC(encoding=3, mime="image/png", type=3, desc="cover", data=bytes(range(256)) * 2))
t.add(TIT2(encoding=3, text="Mutagen Eight – UTF"))
t.add(TPE1(encoding=3, text="Ærosmith"))
t.add(TALB(encoding=3, text="Ωmega"))
t.save("mutagen_v24_utf8.mp3", v2_version=4, v1=0)
# Encoding 0 holding the Windows-1252 bytes of ’ “ ” – … € as Windows taggers write them
# (given here as the Latin-1 characters of those bytes).
t = ID3()
t.add(TIT2(encoding=0, text="\x93Smart\x94 Quotes \x96 \x85"))
t.add(TPE1(encoding=0, text="Beyonc\xe9\x92s Band"))
t.add(TALB(encoding=0, text="\x80uro Hits"))
t.save("mutagen_ansi.mp3", v2_version=3, v1=0)
PY

# oggenc writes lower-case names (title=, artist=, album=); vorbiscomment rewrites them.
ogg() { oggenc --quiet -q -1 "$@"; }
ogg -t "Señorita" -a "Björk" -l "Homogenic" -o oggenc_lower.ogg tone.wav
ogg -o vorbiscomment.ogg tone.wav
vorbiscomment -w -t "TITLE=Ærøskøbing" -t "Artist=Sæbø" -t "ALBUM=Fjord Tales" \
  -t "ALBUMARTIST=Someone Else" vorbiscomment.ogg

# A 70 kB comment ahead of the title: the comment header packet is longer than one Ogg page
# can hold (255 segments of 255 bytes), so the title lies on a later page.
big="$(head -c 70000 /dev/zero | tr '\0' 'x')"
ogg -o big_comment.ogg tone.wav
vorbiscomment -w -t "DESCRIPTION=$big" -t "TITLE=After The Big Comment" \
  -t "ARTIST=Page Spanner" -t "ALBUM=Continued Packets" big_comment.ogg

# opusenc: an Opus stream, its comments in the OpusTags packet. flac: FLAC in Ogg, the comments
# in a Vorbis comment metadata block behind the mapping header (a tenth of the tone, no padding).
opusenc --quiet --bitrate 6 --title "Opus Überschrift" --artist "Sigur Rós" \
  --album "Ágætis byrjun" tone.wav opusenc.opus
flac --ogg --silent --no-padding --until=800 -T "TITLE=Fläche – Ogg" -T "artist=Flac Ärtist" \
  -T "ALBUM=Ogg Container" -o flac.oga tone.wav

cp untagged.mp3 lame_v1only.mp3 lame_latin1.mp3 lame_utf16.mp3 id3v2_tool.mp3 ffmpeg_v24.mp3 \
  ffmpeg_v23.mp3 ffmpeg.ogg eyed3_v24.mp3 mutagen_v23_utf16.mp3 mutagen_v24_utf8.mp3 \
  mutagen_ansi.mp3 oggenc_lower.ogg vorbiscomment.ogg big_comment.ogg opusenc.opus flac.oga \
  "$out/"
make_scripts
du -cb "$out"/* | tail -1
