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
grep -q "^orvo-gl: cannot write the video beside not-a-folder/video.mp4: Not a directory$" folder.err ||
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
part=$(ls kept.mp4.*.part 2>/dev/null | head -1)
stopped_at=$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$part" 2>/dev/null)
awk -v d="${stopped_at:-0}" 'BEGIN { exit !(d > 0 && d < 50) }' || fail "the part file of a stopped video does not play: '$stopped_at'"
grep -q "^orvo-gl: video stopped after [0-9]* of 1500 frames; $part plays up to there" stopped.err ||
  fail "SIGINT during a video: the line does not name the part file: $(tail -1 stopped.err)"
rm -f kept.mp4.*.part

# SIGHUP (a closed terminal, a dropped ssh session) is a stop like the others: status 129, the
# part file closed off and playable, and no ffmpeg left behind.
"$run_dir/orvo-gl" --video hung.mkv --size 160x120 --rate 30 --start-at 10 --end-at 60 2>hung.err &
pid=$!
for attempt in $(seq 1 100); do grep -q "video 10 %" hung.err 2>/dev/null && break; sleep 0.1; done
encoder=$(pgrep -P $pid ffmpeg)
kill -HUP $pid
wait $pid
status=$?
[ "$status" = 129 ] || fail "SIGHUP during a video: status $status"
grep -q "^orvo-gl: video stopped after" hung.err || fail "SIGHUP during a video: no line says so: $(tail -2 hung.err)"
[ -n "$encoder" ] && kill -0 "$encoder" 2>/dev/null && fail "SIGHUP during a video left ffmpeg running"
part=$(ls hung.mkv.*.part 2>/dev/null | head -1)
[ -n "$(ffprobe -v error -show_entries format=duration -of csv=p=0 "$part" 2>/dev/null)" ] ||
  fail "the part file of a hung-up video does not play"
rm -f hung.mkv.*.part

# short NAME [OPTIONS...]: a half-second video of 5 small frames, its status in $status.
short() {
  local name=$1
  shift
  play --video "$name" --size 64x48 --rate 10 --start-at 24 --end-at 24.5 "$@"
  status=$?
}
# A quiet death of ffmpeg (SIGKILL, the OOM killer: nothing on its stderr): status 3, the line says
# how it ended, no part file is left and the file already there is untouched.
mkdir -p killed-encoder && cat >killed-encoder/ffmpeg <<'END'
#!/bin/sh
case " $* " in *" rawvideo "*) kill -KILL $$ ;; esac
exec /usr/bin/ffmpeg "$@"
END
chmod +x killed-encoder/ffmpeg
echo "an older video" >quiet.mkv
PATH="$work/killed-encoder:$PATH" short quiet.mkv 2>quiet.err
[ "$status" = 3 ] || fail "a killed ffmpeg: status $status"
grep -q "^orvo-gl: ffmpeg could not make the video quiet.mkv (it was ended by signal 9 (Killed) after" quiet.err ||
  fail "a killed ffmpeg: $(tail -2 quiet.err)"
[ "$(cat quiet.mkv)" = "an older video" ] || fail "a killed ffmpeg changed the file already there"
ls quiet.mkv.*.part >/dev/null 2>&1 && fail "a killed ffmpeg left a part file"

# Names ffmpeg would read as an option or a protocol are plain files all the same.
for name in -x.mkv take2:final.mkv pipe:1.mkv file:y.mkv; do
  short "$name" >stdout.bin 2>odd.err
  [ "$status" = 0 ] || fail "--video $name: status $status: $(tail -2 odd.err)"
  [ "$(ffprobe -v error -show_entries stream=codec_type -of csv=p=0 "file:$name" | paste -sd,)" = video,audio ] ||
    fail "--video $name: not a video under that name"
  [ -s stdout.bin ] && fail "--video $name: something went to standard output"
  ls ./"$name".*.part >/dev/null 2>&1 && fail "--video $name: a part file was left"
done
ls y.mkv* >/dev/null 2>&1 && fail "--video file:y.mkv: something was written as y.mkv"

# A folder at the name is found before anything is drawn.
mkdir folder.mkv
rm -f debug.txt
short folder.mkv 2>folder.err
[ "$status" = 3 ] || fail "a folder at the name: status $status"
grep -q "^orvo-gl: cannot put the video in place as folder.mkv: a folder stands there$" folder.err ||
  fail "a folder at the name: $(cat folder.err)"
grep -q "GL: version" debug.txt 2>/dev/null && fail "a folder at the name: the presentation was still started"

# Each run writes a part file of its own: a named pipe at NAME.part is never opened, and two runs
# making one file at once both make a whole one.
mkfifo piped.mkv.part
timeout 120 bash -c '"$0" --video piped.mkv --size 64x48 --rate 10 --start-at 24 --end-at 24.5 2>piped.err' "$run_dir/orvo-gl"
status=$?
[ "$status" = 0 ] && [ -f piped.mkv ] || fail "a named pipe at piped.mkv.part: status $status: $(tail -2 piped.err)"
[ -p piped.mkv.part ] || fail "the named pipe at piped.mkv.part was replaced"
play --video twice.mkv --size 64x48 --rate 10 --start-at 24 --end-at 25 2>twice-1.err &
first=$!
play --video twice.mkv --size 64x48 --rate 10 --start-at 24 --end-at 25 2>twice-2.err
second=$?
wait $first
[ $? = 0 ] && [ "$second" = 0 ] || fail "two runs making one file: $(tail -1 twice-1.err) / $(tail -1 twice-2.err)"
[ "$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 twice.mkv)" = 10 ] ||
  fail "two runs making one file left no whole video"

# An encoder that takes no frames (stopped, or never reading) does not hold a stop: the run ends
# within a few seconds, ffmpeg's group is ended and nothing is kept; a second signal at once ends
# the run and ffmpeg with it.
mkdir -p stalled-encoder && cat >stalled-encoder/ffmpeg <<'END'
#!/bin/sh
case " $* " in *" rawvideo "*) kill -STOP $$ ;; esac
exec /usr/bin/ffmpeg "$@"
END
chmod +x stalled-encoder/ffmpeg
for signals in TERM TERM,TERM; do
  PATH="$work/stalled-encoder:$PATH" "$run_dir/orvo-gl" --video stalled.mkv --size 320x240 --rate 30 --start-at 10 \
    --end-at 20 2>stalled.err &
  pid=$!
  sleep 8
  started=$(date +%s.%N)
  for signal in ${signals//,/ }; do kill -$signal $pid; sleep 0.2; done
  # A run that does not end within 20 s is ended here, so the test itself cannot hang.
  for attempt in $(seq 1 200); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
  kill -KILL $pid 2>/dev/null
  wait $pid
  status=$?
  took=$(echo "$(date +%s.%N) - $started" | bc)
  echo "a stalled encoder, $signals: status $status after $took s"
  [ "$status" = 143 ] || fail "a stalled encoder, $signals: status $status: $(tail -2 stalled.err)"
  awk -v t="$took" 'BEGIN { exit !(t < 5) }' || fail "a stalled encoder, $signals: the run took $took s to end"
  pgrep -f "stalled-encoder/ffmpeg" >/dev/null && fail "a stalled encoder, $signals: ffmpeg was left behind"
  pkill -KILL -f "stalled-encoder/ffmpeg"
  if [ "$signals" = TERM ]; then
    ls stalled.mkv* >/dev/null 2>&1 && fail "a stalled encoder: $(ls stalled.mkv*) was left"
    grep -q "ffmpeg did not finish the file within 2 s and was ended" stalled.err ||
      fail "a stalled encoder: no line says it was ended: $(tail -2 stalled.err)"
  fi
  rm -f stalled.mkv*
done

# A span past the track's end: every frame is in the video, the sound silent after the track, and
# a line says from when.
play --video past.mkv --size 64x48 --rate 10 --start-at 150 --end-at 160 2>past.err
status=$?
[ "$status" = 0 ] || fail "a span past the music: status $status: $(tail -2 past.err)"
[ "$(ffprobe -v error -count_frames -select_streams v -show_entries stream=nb_read_frames -of csv=p=0 past.mkv)" = 100 ] ||
  fail "a span past the music does not hold its 100 frames"
grep -q "^orvo-gl: the music .*Vallomere.mp3 ends at 15[0-9].[0-9]* s: the video is silent from there$" past.err ||
  fail "a span past the music: no line says where the sound ends: $(cat past.err)"

# Spans without a whole frame and sizes ffmpeg cannot take are refused before anything is drawn.
for span in "--start-at 10 --end-at 10" "--end-at 0" "--start-at 153.99"; do
  play --video empty.mkv $span 2>empty.err
  status=$?
  [ "$status" = 2 ] && grep -q "^orvo-gl: --video: the span from .* is empty" empty.err ||
    fail "the empty span $span: status $status: $(head -1 empty.err)"
done
play --video huge.mkv --size 16384x16384 2>huge.err
status=$?
[ "$status" = 3 ] && grep -q "^orvo-gl: --video: ffmpeg takes no picture of 16384 x 16384" huge.err ||
  fail "--size 16384x16384: status $status: $(head -1 huge.err)"

# A damaged or short track is treated like a missing one: one line naming the file and what is
# wrong, and the video is made.
mkdir -p bad-music/data
ln -s "$run_dir"/data/* bad-music/data/ && rm bad-music/data/Vallomere.mp3
cp ./*.cg bad-music/
yes "not a sound" | head -c 65536 >bad-music/data/Vallomere.mp3
(cd bad-music && short damaged.mkv 2>damaged.err; echo $status >status.txt)
[ "$(cat bad-music/status.txt)" = 0 ] || fail "a damaged track: status $(cat bad-music/status.txt): $(tail -2 bad-music/damaged.err)"
grep -q "^orvo-gl: the video has no sound: the music .*Vallomere.mp3: it cannot be decoded" bad-music/damaged.err ||
  fail "a damaged track: $(cat bad-music/damaged.err)"
# 582,000 bytes of the 192 kbit/s track end at about 24.25 s.
head -c 582000 data/Vallomere.mp3 >bad-music/data/Vallomere.mp3
(cd bad-music && short cut.mkv 2>cut.err; echo $status >status.txt)
[ "$(cat bad-music/status.txt)" = 0 ] || fail "a cut track: status $(cat bad-music/status.txt): $(tail -2 bad-music/cut.err)"
grep -q "^orvo-gl: the music .*Vallomere.mp3 ends at 24.[0-9]* s: the video is silent from there$" bad-music/cut.err ||
  fail "a cut track: $(cat bad-music/cut.err)"

# A missing temporary folder only moves ffmpeg's messages to /tmp.
TMPDIR=/nonexistent short tmpdir.mkv 2>tmpdir.err
[ "$status" = 0 ] || fail "TMPDIR missing: status $status: $(tail -2 tmpdir.err)"

# A display that cannot be opened: a screenshot is drawn off-screen like a video, and a line names
# the display.
DISPLAY=:4242 play --seed 3 --fixed-step 0.1 --start-at 97 --end-at 98.1 --size 400x300 --screenshot 98:unopened.png 2>unopened.err
status=$?
[ "$status" = 0 ] && [ -f unopened.png ] || fail "a screenshot with an unopenable display: status $status: $(tail -2 unopened.err)"
grep -q "^orvo-gl: cannot open the display :4242: drawing off-screen$" unopened.err ||
  fail "a screenshot with an unopenable display: $(cat unopened.err)"

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
