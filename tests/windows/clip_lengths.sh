#!/bin/bash
# Every clip decoded on Windows (the audio compression manager, trimmed by the encoder's tag)
# has exactly the length libmpg123 gives it on Linux, and the same sound: a clip shifted by a
# frame or cut at the wrong end would be heard as a late or clipped effect, and would loop
# with a gap in the music.
set -u
. "$(dirname "$0")/lib.sh"
win_init windows_clip_lengths "$1" "$2" "$3"
linux_dump=$E2E_BUILD/tests/web/korimo_clip_dump
windows_dump=$WIN_BUILD/tests/windows/korimo_clip_dump.exe
[ -x "$linux_dump" ] || e2e_fail "$linux_dump is not built"
[ -f "$windows_dump" ] || e2e_fail "$windows_dump is not built (make windows-tests)"

mkdir linux windows
"$linux_dump" "$E2E_RUN/korimo" linux || e2e_fail "the Linux clip dump failed"
wine "$windows_dump" "$E2E_RUN/korimo" windows || e2e_fail "the Windows clip dump failed"

failed=0
count=0
for linux_pcm in linux/*.pcm; do
    name=$(basename "$linux_pcm" .pcm)
    windows_pcm=windows/$name.pcm
    linux_samples=$(($(stat -c %s "$linux_pcm") / 2))
    windows_samples=$(($(stat -c %s "$windows_pcm" 2>/dev/null || echo 0) / 2))
    # How far the two decoders' samples lie apart at most, and on average.
    read -r largest mean < <(paste <(od -An -v -t d2 -w2 "$linux_pcm") <(od -An -v -t d2 -w2 "$windows_pcm") |
        awk '{ d = $1 - $2; if (d < 0) d = -d; if (d > m) m = d; s += d; n++ }
             END { printf "%d %.2f\n", m, n ? s / n : 0 }')
    echo "$name: Linux $linux_samples, Windows $windows_samples samples; differ by at most $largest, $mean on average"
    count=$((count + 1))
    if [ "$linux_samples" != "$windows_samples" ]; then
        echo "windows_clip_lengths: FAIL: $name has $windows_samples samples on Windows, $linux_samples on Linux"
        failed=1
    elif [ "${mean%.*}" -gt 64 ]; then
        # Two decoders round differently, by a few steps of 32,768; a shifted clip is off by
        # the size of the sound itself.
        echo "windows_clip_lengths: FAIL: $name sounds different on Windows (mean difference $mean)"
        failed=1
    fi
done
[ $count -gt 0 ] || e2e_fail "no clip was dumped"
[ $failed = 0 ] || exit 1
echo "windows_clip_lengths: ok, $count clips"
