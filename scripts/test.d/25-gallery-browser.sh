#!/usr/bin/env bash
# The gallery in a real browser: Debian's chromium renders galeria.html of
# the sample's project headless to a screenshot, which must show every
# graphic's picture pixels in the graphic's own format (at twice the size:
# by default 4 bpp in 16 columns, 128 x 8 pixels a row of 16 tiles, each
# shown as 2 x 2; the project gives graphic 9 2 bpp and graphic 12 8 bpp in
# 8 columns), and the page must fetch nothing.
# Chromium runs with a proxy that is a listener of this script: any request
# for the network would reach it. A first page that does fetch shows that
# the listener sees such a request. The page also forbids every fetch in
# its Content-Security-Policy, and the end-to-end tests check that it
# names nothing but its own data: pictures.
# The preview page of brelquim-text (previa.html of the sample's strings
# and a translation of them, one of its lines too long) is rendered the
# same way: every box of every string must show (each box 224 x 40 grey
# pixels at three times the size; what overflows is red, no grey), and it
# must fetch nothing either.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/setup.sh $(cat scripts/build-packages.txt) chromium python3
[ -f build/default/CMakeCache.txt ] || cmake --preset default >/dev/null
cmake --build --preset default --target brelquim-build brelquim-png brelquim-text make_sample_rom screenshot_check >/dev/null
build="$PWD/build/default"
work=$(mktemp -d)
listener=""
cleanup() {
  [ -n "$listener" ] && kill "$listener" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cd "$work"

"$build/make_sample_rom" game.sfc
"$build/brelquim-build" init -i game.sfc >/dev/null
sed -i 's/^# 9 = { bpp = 2 }$/9 = { bpp = 2 }\n12 = { bpp = 8, columns = 8 }/' brelquim.toml
grep -q '^12 = { bpp = 8, columns = 8 }$' brelquim.toml || { echo "the project's formats were not set"; exit 1; }
"$build/brelquim-png" --gallery

# The listener: the first line of each request it gets, in requests.txt.
cat >listener.py <<'PY'
import socket, sys
server = socket.socket()
server.bind(("127.0.0.1", 0))
server.listen(16)
open(sys.argv[1], "w").write(str(server.getsockname()[1]))
while True:
    connection, _ = server.accept()
    connection.settimeout(2)
    try:
        line = connection.recv(4096).split(b"\r\n")[0].decode("latin-1")
    except OSError:
        line = "(no request line)"
    with open(sys.argv[2], "a") as requests:
        requests.write(line + "\n")
    connection.close()
PY
: >requests.txt
python3 listener.py port.txt requests.txt &
listener=$!
for _ in $(seq 50); do [ -s port.txt ] && break; sleep 0.1; done
port=$(cat port.txt)

render() { # page screenshot width height
  rm -rf profile
  timeout 120 chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run \
    --disable-background-networking --disable-component-update --disable-sync --hide-scrollbars \
    --disable-extensions --disable-default-apps --no-pings --disable-domain-reliability \
    --disable-client-side-phishing-detection --allow-browser-signin=false \
    --disable-features=NetworkTimeServiceQuerying,OptimizationHints,MediaRouter,Translate,AutofillServerCommunication \
    --force-device-scale-factor=1 --user-data-dir="$work/profile" \
    --proxy-server="http://127.0.0.1:$port" --proxy-bypass-list="<-loopback>" \
    --virtual-time-budget=10000 --window-size="$3,$4" --screenshot="$work/$2" "file://$work/$1" \
    >chromium.log 2>&1 || { cat chromium.log; exit 1; }
}

echo '<!DOCTYPE html><img src="http://brelquim.invalid/x.png">' >fetching.html
render fetching.html fetching.png 200 200
if ! grep -q '^GET http://brelquim\.invalid/x\.png ' requests.txt; then
  echo "the listener saw no request from a page that fetches: the check below would prove nothing"
  exit 1
fi
: >requests.txt

# The pictures' pixels: a graphic of n bytes in a format of b bytes a tile
# is ceil(n / b) tiles in rows of c, c x 8 pixels wide, shown at 2 x 2.
expected=0
for file in arquivos/grafico_*.bin; do
  size=$(stat -c %s "$file")
  case "$file" in
    */grafico_009.bin) tileBytes=16 columns=16 ;;
    */grafico_012.bin) tileBytes=64 columns=8 ;;
    *) tileBytes=32 columns=16 ;;
  esac
  tiles=$(((size + tileBytes - 1) / tileBytes))
  rows=$(((tiles + columns - 1) / columns))
  [ "$rows" -eq 0 ] && rows=1
  expected=$((expected + columns * 8 * rows * 8 * 4))
done
render galeria.html gallery.png 2400 9000
"$build/tests/screenshot_check" gallery.png 1c2a3a "$expected"
# Chromium itself still calls its vendor's update, clock and sign-in
# services whatever the flags; those exact hosts are set aside, and any
# other request is the page's.
browserOwn='^(CONNECT |(GET|POST) http://)(update\.googleapis\.com|accounts\.google\.com|clients2\.google\.com)[:/]'
if grep -v -E "$browserOwn" requests.txt >page-requests.txt; then
  echo "the gallery page made requests:"
  cat page-requests.txt
  exit 1
fi
echo "gallery in chromium: $(ls arquivos | wc -l) graphics' pictures shown, no request"

# The preview: the 16-bit table's strings, string 1 translated one glyph
# too long and string 4 into four lines; each string shows its original
# box beside its translated one.
: >requests.txt
"$build/brelquim-text" dump -i game.sfc --table game.tbl --pointers '$98:8000:7' >/dev/null
sed -i -e 's/^Welcome to the castle!<end>$/Bem-vindo ao castelo, amigos!<end>/' \
  -e 's/^Ask the guard\.<end>$/Ask<br>the<br>guard.<end>/' textos.txt
"$build/brelquim-text" preview -i game.sfc --table game.tbl textos.txt >/dev/null
strings=$(grep -c '^#\[' textos.txt)
boxes=$(grep -o '<img class="caixa"' previa.html | wc -l)
[ "$boxes" -eq $((strings * 2)) ] || { echo "the page has $boxes boxes for $strings strings"; exit 1; }
render previa.html preview.png 1600 $((strings * 480 + 300))
"$build/tests/screenshot_check" preview.png 1c2a3a $((boxes * 224 * 40 * 9))
if grep -v -E "$browserOwn" requests.txt >page-requests.txt; then
  echo "the preview page made requests:"
  cat page-requests.txt
  exit 1
fi
[ -z "${PREVIEW_SCREENSHOT:-}" ] || cp preview.png "$PREVIEW_SCREENSHOT"
echo "preview in chromium: $boxes boxes of $strings strings shown, no request"
