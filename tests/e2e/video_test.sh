#!/usr/bin/env bash
# Videos made with no display at all: the frames are the frames of a fixed-step run, the music is
# cut to the same span and lines up with them, each kind of file holds its codecs, and a failed or
# stopped video never takes the place of the file named.
. "$(dirname "$0")/common.sh"

cd "$work"
unset DISPLAY WAYLAND_DISPLAY
ln -s "$run_dir/data" data 2>/dev/null
cp "$run_dir"/*.cg . 2>/dev/null
play() { timeout 600 "$run_dir/orvo-gl" "$@"; }

# Two seconds from 24 s, lossless: one video and one audio stream, 60 frames, both from 0 to 2 s
# within a frame, and frame 30 is the frame a fixed-step run shows at 25 s, to the pixel.
play --video two.mkv --size 320x240 --rate 30 --start-at 24 --end-at 26 2>two.err || fail "the .mkv run: status $?: $(tail -3 two.err)"
[ -f two.mkv ] && [ ! -e two.mkv.part ] || fail "the .mkv was not put in place"
grep -q "^orvo-gl: made two.mkv: " two.err || fail "no line says what was made: $(tail -2 two.err)"
[ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 two.mkv | tr '\n' ' ')" = "video audio " ] ||
  fail "the streams are not one video and one audio: $(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 two.mkv)"
frames=$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 two.mkv)
[ "$frames" = 60 ] || fail "the .mkv holds $frames frames"
for stream in v a; do
  span=$(ffprobe -v error -select_streams $stream -show_entries packet=pts_time,duration_time -of csv=p=0 two.mkv |
    awk -F, 'NR == 1 { first = $1 } { last = $1 + $2 } END { print first, last }')
  awk -v s="$span" 'BEGIN { split(s, t, " "); exit !(t[1] == 0 && t[2] > 2 - 1/30 && t[2] < 2 + 1/30) }' ||
    fail "the $stream stream spans $span s, not 0 to 2"
done
play --fixed-step 1/30 --seed 1 --start-at 24 --end-at 25.1 --size 320x240 --screenshot 25:fixed-25.png 2>/dev/null ||
  fail "the fixed-step screenshot run failed"
ffmpeg -v error -i two.mkv -vf "select=eq(n\,30)" -frames:v 1 -pix_fmt rgb24 -y frame-30.png
[ "$(compare -metric AE fixed-25.png frame-30.png null: 2>&1)" = 0 ] ||
  fail "frame 30 differs from the fixed-step frame at 25 s by $(compare -metric AE fixed-25.png frame-30.png null: 2>&1) pixels"

# The music in the video lines up with the track from 24 s: the best match of the two is at no
# shift, within a millisecond.
ffmpeg -v error -i two.mkv -map 0:a -ac 1 -f s16le - | od -An -v -td2 -w2 >video-audio.txt
ffmpeg -v error -ss 24 -t 2 -i data/Vallomere.mp3 -ac 1 -f s16le - | od -An -v -td2 -w2 >track-audio.txt
rate=$(ffprobe -v error -select_streams a -show_entries stream=sample_rate -of csv=p=0 two.mkv)
lag=$(awk -v rate="$rate" 'NR == FNR { a[FNR] = $1; next } { b[FNR] = $1 }
  END { reach = int(rate / 500); best = -1e30; found = 0
        for (l = -reach; l <= reach; l++) { s = 0; for (i = 20000; i < 28192; i++) s += a[i] * b[i + l]
          if (s > best) { best = s; found = l } }
        print found }' video-audio.txt track-audio.txt)
echo "the video's music is $lag samples from the track's"
awk -v l="$lag" -v rate="$rate" 'BEGIN { exit !(l * 1000 / rate <= 1 && l * 1000 / rate >= -1) }' ||
  fail "the video's music is $lag samples off the track"

# The players' kinds: H.264 with AAC, VP9 with Opus.
for kind in mp4:h264,aac webm:vp9,opus; do
  play --video "short.${kind%%:*}" --size 320x240 --rate 30 --start-at 100 --end-at 101 2>/dev/null ||
    fail "the .${kind%%:*} run failed"
  codecs=$(ffprobe -v error -show_entries stream=codec_name -of csv=p=0 "short.${kind%%:*}" | paste -sd,)
  [ "$codecs" = "${kind#*:}" ] || fail ".${kind%%:*} holds $codecs"
done
[ "$(ffprobe -v error -select_streams v -show_entries stream=color_space -of csv=p=0 short.mp4)" = bt709 ] ||
  fail "the .mp4 is not tagged BT.709"

# Without ffmpeg: status 3 and the reason before anything is drawn, and no file left behind.
rm -f debug.txt
PATH=/nonexistent "$run_dir/orvo-gl" --video none.mp4 2>none.err
status=$?
[ "$status" = 3 ] || fail "without ffmpeg: status $status"
grep -q "^orvo-gl: --video needs the program ffmpeg, which is not on PATH (on Debian: apt-get install ffmpeg)$" none.err ||
  fail "without ffmpeg: $(cat none.err)"
ls none.mp4* >/dev/null 2>&1 && fail "without ffmpeg a file was left: $(ls none.mp4*)"
grep -q "GL: version" debug.txt 2>/dev/null && fail "without ffmpeg the presentation was still started"
# A folder that cannot be written (a file stands in its place, so even root cannot) is the same.
touch not-a-folder
play --video not-a-folder/video.mp4 2>folder.err
status=$?
[ "$status" = 3 ] || fail "into a folder that cannot be written: status $status"
grep -q "^orvo-gl: cannot write the video to not-a-folder/video.mp4.part: Not a directory$" folder.err ||
  fail "into a folder that cannot be written: $(cat folder.err)"
# Any other kind of name is refused with the usage.
play --video video.avi 2>avi.err
[ $? = 2 ] && grep -q "^usage: orvo-gl" avi.err || fail "a .avi name was not refused with the usage"

# SIGINT during a video: status 130, the file already there untouched, and the part file plays
# up to where it stopped.
echo "an older video" >kept.mp4
"$run_dir/orvo-gl" --video kept.mp4 --size 320x240 --rate 30 --start-at 10 --end-at 60 2>stopped.err &
pid=$!
for attempt in $(seq 1 100); do grep -q "video 10 %" stopped.err 2>/dev/null && break; sleep 0.1; done
kill -INT $pid
wait $pid
status=$?
[ "$status" = 130 ] || fail "SIGINT during a video: status $status"
[ "$(cat kept.mp4)" = "an older video" ] || fail "SIGINT during a video changed the file already there"
stopped_at=$(ffprobe -v error -show_entries format=duration -of csv=p=0 kept.mp4.part 2>/dev/null)
awk -v d="${stopped_at:-0}" 'BEGIN { exit !(d > 0 && d < 50) }' || fail "the part file of a stopped video does not play: '$stopped_at'"

# With no display, a screenshot is drawn off-screen and is the picture a window under Xvfb shows.
play --seed 3 --fixed-step 0.1 --start-at 97 --end-at 98.1 --size 400x300 --screenshot 98:no-display.png 2>/dev/null ||
  fail "a screenshot with no display failed"
xvfb-run -a -s "-screen 0 1024x768x24" timeout 300 "$run_dir/orvo-gl" --windowed --seed 3 --fixed-step 0.1 --start-at 97 \
  --end-at 98.1 --size 400x300 --screenshot 98:on-display.png 2>/dev/null
[ "$(compare -metric AE no-display.png on-display.png null: 2>&1)" = 0 ] ||
  fail "the screenshot without a display differs from the one under Xvfb"
# A plain run with no display still ends at once with status 1 and the reason.
"$run_dir/orvo-gl" --windowed 2>plain.err
status=$?
[ "$status" = 1 ] || fail "a plain run with no display: status $status"
grep -q "no display" plain.err || fail "a plain run with no display gave no reason: $(cat plain.err)"

finish video
