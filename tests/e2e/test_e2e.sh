#!/bin/sh
# Whole conversions through the driver on clips generated with ffmpeg, each result
# checked with ffprobe.  Usage: test_e2e.sh CASE path/to/mavrell-e2e
set -u
case_name=$1
driver=$2
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

work=$(mktemp -d "${TMPDIR:-/tmp}/mavrell-e2e.XXXXXX") || exit 1
trap 'rm -rf "$work"' EXIT INT TERM

fail() {
    echo "FAIL: $*"
    [ -f "$work/out" ] && sed 's/^/  | /' "$work/out"
    exit 1
}

# clip NAME SECONDS SIZE [extra ffmpeg output options]: a test picture with a tone.
clip() {
    name=$1; secs=$2; size=$3; shift 3
    ffmpeg -nostdin -y -loglevel error \
        -f lavfi -i "testsrc=size=$size:rate=25:duration=$secs" \
        -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=$secs" \
        "$@" "$work/$name" || fail "ffmpeg could not make $name"
}

# run EXPECTED_STATUS driver arguments...: runs the driver, keeps its output.
run() {
    expected=$1; shift
    "$driver" "$@" >"$work/out" 2>"$work/err"
    status=$?
    [ "$status" -eq "$expected" ] || fail "exit status $status, expected $expected ($*)"
}

line() { sed -n "s/^$1: //p" "$work/out" | tail -n 1; }

expect_result() {
    [ "$(line result)" = "$1" ] || fail "result '$(line result)', expected '$1'"
}

# wait_for CONDITION TENTHS: true once the shell condition holds, looking every 0.1 s;
# false when it still does not after TENTHS looks.
wait_for() {
    n=0
    until eval "$1"; do
        n=$((n + 1))
        [ "$n" -gt "$2" ] && return 1
        sleep 0.1
    done
}

# ended PID: the process is gone, or a zombie nobody has waited for yet.
ended() {
    [ ! -r "/proc/$1/stat" ] || sed 's/.*) //' "/proc/$1/stat" 2>/dev/null | grep -q '^[ZX]' || [ ! -e "/proc/$1" ]
}

# tools_gone FOLDER: no process runs a program from FOLDER (the driver's program folder).
tools_gone() {
    [ -n "$1" ] || fail "the driver named no program folder"
    for c in /proc/[0-9]*/cmdline; do
        a=$(tr '\0' '\n' <"$c" 2>/dev/null | head -n 1)
        case "$a" in "$1"*) fail "a tool runs on: $a" ;; esac
    done
}

# probe FILE ENTRY: one value from ffprobe.
probe() {
    ffprobe -v error -show_entries "$2" -of default=noprint_wrappers=1:nokey=1 "$1" | head -n 1
}

# check_target CONTAINER VIDEO AUDIO SECONDS: the target named by the driver.
check_target() {
    target=$(line target)
    [ -s "$target" ] || fail "no target file '$target'"
    fmt=$(probe "$target" format=format_name)
    case ",$fmt," in *",$1,"*) ;; *) fail "container '$fmt', expected $1" ;; esac
    v=$(ffprobe -v error -select_streams v:0 -show_entries stream=codec_name -of default=nw=1:nk=1 "$target" | head -n 1)
    a=$(ffprobe -v error -select_streams a:0 -show_entries stream=codec_name -of default=nw=1:nk=1 "$target" | head -n 1)
    [ "$v" = "$2" ] || fail "video '$v', expected '$2'"
    [ "$a" = "$3" ] || fail "sound '$a', expected '$3'"
    d=$(probe "$target" format=duration)
    awk -v d="$d" -v want="$4" 'BEGIN { exit !(d > want - 0.4 && d < want + 0.4) }' \
        || fail "duration '$d', expected about $4 s"
    grep -q '^cmd: ' "$work/out" || fail "no command line printed"
}

case "$case_name" in
help)
    run 0 --help
    for option in --caption --answer --options --size --width --height --fps --vbitrate \
        --abitrate --samplerate --start --end --volume --no-sound --subtitle --stop-after \
        --display --program-folder --help; do
        grep -q -- "$option" "$work/out" || fail "--help does not list $option"
    done
    # Driver errors: a bad command line, a missing source, an item that does not exist.
    run 2 --answer maybe mnuSrcIsFileToAvi 1 "$work/none.avi"
    run 2 mnuSrcIsFileToAvi 1 "$work/none.avi"
    clip src.avi 1 160x120 -c:v mpeg4 -c:a libmp3lame
    run 2 mnuSrcIsFileToAvi 9 "$work/src.avi"
    grep -q '^error: ' "$work/out" || fail "no error line for a missing item"
    run 2 --caption "no such caption anywhere" "$work/src.avi"
    ;;
mpeg2)
    clip src.avi 3 320x240 -c:v mpeg4 -vtag XVID -c:a libmp3lame -ac 2
    run 0 --answer ok,cancel mnuSrcIsFileToMpg 4 "$work/src.avi"
    expect_result success
    check_target mpeg mpeg2video mp2 3
    ;;
wmv8)
    clip src.avi 3 320x240 -c:v mpeg4 -vtag XVID -c:a libmp3lame -ac 2
    run 0 --answer ok,cancel mnuSrcIsFileToWmv 1 "$work/src.avi"
    expect_result success
    check_target asf wmv2 wmav2 3
    # Again onto the same target: the first question is the overwrite; Cancel keeps the file.
    before=$(cksum <"$(line target)")
    run 1 --answer cancel mnuSrcIsFileToWmv 1 "$work/src.avi"
    expect_result refused
    [ "$(cksum <"$(line target)")" = "$before" ] || fail "the old target was changed"
    if grep -q '^cmd: ' "$work/out"; then fail "a command was run"; fi
    ;;
xvid)
    # Picked by caption, with settings from the options dialog.
    clip src.mp4 3 320x240 -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -ac 2
    run 0 --answer ok,cancel --caption "AVI  [XviD + MP3]" --size "176 x 144" --samplerate 44100 \
        --volume -4 "$work/src.mp4"
    expect_result success
    check_target avi mpeg4 mp3 3
    [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=p=0 "$(line target)")" = "176,144" ] \
        || fail "picture not 176x144"
    grep -q '^cmd: .*volume=-4' "$work/out" || fail "no volume change in the command"
    [ "$(ffprobe -v error -select_streams a:0 -show_entries stream=sample_rate -of default=nw=1:nk=1 "$(line target)")" = 44100 ] \
        || fail "sample rate not 44100"
    ;;
mp3)
    clip src.avi 3 320x240 -c:v mpeg4 -c:a libmp3lame -ac 2
    run 0 --answer ok,cancel --abitrate 128 mnuSrcIsFileToSound 1 "$work/src.avi"
    expect_result success
    check_target mp3 "" mp3 3
    [ "$(probe "$(line target)" stream=bit_rate)" = 128000 ] || fail "sound bit rate not 128 kbit/s"
    ;;
settings)
    # Size, frame rate, no sound and a burnt-in subtitle set in the options dialog; the
    # subtitle's name is not ASCII, so the driver cannot type it key by key.
    clip src.avi 3 320x240 -c:v mpeg4 -c:a libmp3lame -ac 2
    printf '1\n00:00:00,000 --> 00:00:02,000\nHello\n' >"$work/字幕 sub.srt"
    run 0 --answer ok,cancel --width 176 --height 144 --fps 25 --no-sound --subtitle "$work/字幕 sub.srt" \
        mnuSrcIsFileToAvi 1 "$work/src.avi"
    expect_result success
    target=$(line target)
    [ "$(ffprobe -v error -select_streams v:0 -show_entries stream=width,height,r_frame_rate -of csv=p=0 "$target")" = "176,144,25/1" ] \
        || fail "picture not 176x144 at 25 frames a second"
    [ -z "$(ffprobe -v error -select_streams a -show_entries stream=codec_name -of csv=p=0 "$target")" ] \
        || fail "the target has sound"
    grep -q '^cmd: .* -sub "'"$work"'/字幕 sub.srt"' "$work/out" || fail "no subtitle in the command"
    ;;
cut)
    clip src.avi 3 320x240 -c:v mpeg4 -g 5 -c:a libmp3lame -ac 2
    run 0 --answer ok,cancel --start 00:00:01.0 --end 00:00:02.0 mnuSrcIsFileToCut 2 "$work/src.avi"
    expect_result success
    check_target avi mpeg4 mp3 1
    # An end before the start: the dialog says so, and nothing is cut.
    run 1 --start 00:00:02.0 --end 00:00:01.0 mnuSrcIsFileToCut 2 "$work/src.avi"
    expect_result refused
    grep -q '^box: ' "$work/out" || fail "no message about the range"
    if grep -q '^cmd: ' "$work/out"; then fail "a command was run"; fi
    ;;
stop)
    # Long enough that the run is still going when Stop is pressed.
    clip long.avi 60 640x480 -c:v mpeg4 -c:a libmp3lame -ac 2
    run 1 --answer ok --stop-after 0.5 mnuSrcIsFileToAvi 1 "$work/long.avi"
    expect_result stopped
    grep -q '^stop: pressed' "$work/out" || fail "Stop was not pressed"
    grep -q '^progress: ' "$work/out" || fail "no progress seen"
    ;;
killed)
    # Killed outright while it converts (SIGKILL, as a power cut ends it): nothing lies
    # under the target's name, and the next start clears what the run left.
    clip long.avi 60 640x480 -c:v mpeg4 -c:a libmp3lame -ac 2
    prog="$work/program"
    "$driver" --answer ok --program-folder "$prog" mnuSrcIsFileToAvi 1 "$work/long.avi" >"$work/out" 2>"$work/err" &
    pid=$!
    tries=0
    until [ -n "$(line target)" ] && [ -s "$(line target).mavrell-part" ]; do
        tries=$((tries + 1))
        [ "$tries" -lt 600 ] || { kill -KILL "$pid"; fail "the run wrote nothing"; }
        kill -0 "$pid" 2>/dev/null || fail "the driver ended before it was killed"
        sleep 0.1
    done
    kill -KILL "$pid"
    wait "$pid" 2>/dev/null
    target=$(line target)
    [ ! -e "$target" ] || fail "a file lies under the target's name: $target"
    [ -s "$target.mavrell-part" ] || fail "the run's part is not there"
    ls "$prog"/Mavrell.*.run >/dev/null 2>&1 || fail "no note of the run in the program folder"
    # The encoder died with the program.
    tries=0
    while pgrep -f "^$prog/plugins/" >/dev/null; do
        tries=$((tries + 1))
        [ "$tries" -lt 50 ] || fail "the encoder outlived the program"
        sleep 0.1
    done
    # The next start, whatever it then does (here: the start confirmation is cancelled).
    run 1 --answer cancel --program-folder "$prog" mnuSrcIsFileToAvi 1 "$work/long.avi"
    [ ! -e "$target.mavrell-part" ] || fail "the next start left the part"
    if ls "$prog"/Mavrell.*.run >/dev/null 2>&1; then fail "the note is still there"; fi
    [ -f "$work/long.avi" ] || fail "the source is gone"
    ;;
refused)
    # A sound-only source cannot become a video; the program says so and runs nothing.
    ffmpeg -nostdin -y -loglevel error -f lavfi -i "sine=frequency=440:duration=3" -c:a libmp3lame "$work/tone.mp3" \
        || fail "ffmpeg could not make tone.mp3"
    run 1 mnuSrcIsFileToAvi 1 "$work/tone.mp3"
    expect_result refused
    grep -q '^box: ' "$work/out" || fail "no message told the user"
    if grep -q '^cmd: ' "$work/out"; then fail "a command was run"; fi
    # A setting the options dialog refuses: it says so, and nothing runs.
    clip src.avi 1 160x120 -c:v mpeg4 -c:a libmp3lame
    run 1 --fps 300 mnuSrcIsFileToAvi 1 "$work/src.avi"
    expect_result refused
    grep -q '^box: ' "$work/out" || fail "no message about the frame rate"
    if grep -q '^cmd: ' "$work/out"; then fail "a command was run"; fi
    ;;
quit)
    # SIGTERM mid-run, as a shutdown sends it: the driver ends as the program does, with
    # 128 + the signal, its tools ended and nothing of the unfinished target left.
    clip long.avi 60 640x480 -c:v mpeg4 -c:a libmp3lame -ac 2
    "$driver" --answer ok mnuSrcIsFileToAvi 1 "$work/long.avi" >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for "grep -q '^progress: ' '$work/out'" 600 || { kill -KILL $pid; fail "no progress seen"; }
    kill -TERM $pid
    wait $pid
    status=$?
    [ "$status" -eq 143 ] || fail "exit status $status, expected 143"
    [ "$(line signal)" = 15 ] || fail "the driver did not end on its own after the signal"
    [ "$(line result)" = stopped ] || fail "result '$(line result)', expected 'stopped'"
    left=$(ls -A "$work" | grep -v -x -e long.avi -e out -e err)
    [ -z "$left" ] || fail "left in the target's folder: $left"
    tools_gone "$(line program)"
    ;;
probequit)
    # SIGTERM while a probe of the source stalls: the probe is ended at once, long
    # before its silence limit (24 s), and the driver ends with 128 + the signal.
    clip src.avi 1 160x120 -c:v mpeg4 -c:a libmp3lame
    mkdir "$work/bin"
    printf '#!/bin/sh\necho $$ >"%s/probe.pid"\nexec sleep 120\n' "$work" >"$work/bin/mplayer"
    chmod +x "$work/bin/mplayer"
    PATH="$work/bin:$PATH" "$driver" mnuSrcIsFileToAvi 1 "$work/src.avi" >"$work/out" 2>"$work/err" &
    pid=$!
    wait_for "[ -s '$work/probe.pid' ]" 600 || { kill -KILL $pid; fail "the probe never started"; }
    kill -TERM $pid
    # Polled for 20 s at most: an end that only comes with the silence limit fails here.
    wait_for "ended $pid" 200 || { kill -KILL $pid; fail "still running 20 s after SIGTERM"; }
    wait $pid
    status=$?
    [ "$status" -eq 143 ] || fail "exit status $status, expected 143"
    [ "$(line signal)" = 15 ] || fail "the driver did not end on its own after the signal"
    ended "$(cat "$work/probe.pid")" || fail "the stalled probe runs on"
    if grep -q '^cmd: ' "$work/out"; then fail "a command was run"; fi
    ;;
*)
    echo "unknown case $case_name"
    exit 2
    ;;
esac
echo "ok: $case_name"
exit 0
