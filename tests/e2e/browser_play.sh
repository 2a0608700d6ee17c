#!/bin/bash
# Plays a film in Debian's chromium, headless, in a <video> element, in real
# time (a film with sound stalls under a virtual time budget), and prints
# what the page saw: "size WxH duration SECONDS ended" when it played to its
# end, or the error. Exit status 0 only when it ended. With SEEK, the page
# jumps to SEEK seconds as soon as it knows the film, and the run ends once
# the picture there shows ("seeked at SECONDS"): exit status 0 then.
# Usage: browser_play.sh FILM.mp4 LIMIT_SECONDS [SEEK]
set -u
film=$(readlink -f "$1")
limit=$2
seek=${3:-}
page=$(mktemp -d)
trap 'rm -rf "$page"' EXIT
cat >"$page/play.html" <<HTML
<!DOCTYPE html>
<video id="v" src="file://$film" autoplay muted playsinline></video>
<script>
const v = document.getElementById('v');
const say = (what) => console.log('BROWSER_PLAY ' + what);
const seek = '$seek';
v.addEventListener('loadedmetadata', () => {
    say('size ' + v.videoWidth + 'x' + v.videoHeight + ' duration ' + v.duration.toFixed(3));
    if (seek) v.currentTime = Number(seek);
});
v.addEventListener('seeked', () => say('seeked at ' + v.currentTime.toFixed(3)));
v.addEventListener('ended', () => say('ended at ' + v.currentTime.toFixed(3)));
v.addEventListener('error', () => say('error ' + (v.error ? v.error.code + ' ' + v.error.message : '')));
</script>
HTML
chromium --headless=new --no-sandbox --disable-gpu --mute-audio \
  --autoplay-policy=no-user-gesture-required --allow-file-access-from-files \
  --user-data-dir="$page/profile" --enable-logging=stderr --v=0 \
  "file://$page/play.html" >/dev/null 2>"$page/log" &
browser=$!
# The page's own lines, as they come; the browser stays until it is ended.
said() { grep -o 'BROWSER_PLAY [^"]*' "$page/log" | sed 's/BROWSER_PLAY //'; }
deadline=$((SECONDS + limit))
done_when='^ended\|^error'
[ -n "$seek" ] && done_when='^seeked\|^error'
until said | grep -q "$done_when" || [ $SECONDS -ge $deadline ]; do sleep 0.2; done
kill "$browser" 2>/dev/null
wait "$browser" 2>/dev/null
said | tr '\n' ' '
echo
said | grep -q "${done_when%%\\|*}"
