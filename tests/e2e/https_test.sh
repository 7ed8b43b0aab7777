#!/usr/bin/env bash
# Over https the program shows a search's cards with their pictures, against
# a certificate it trusts through SSL_CERT_FILE; with a certificate it does
# not trust it shows the network-failure notice, logs why, and never speaks
# plain http instead.
source "$(dirname "$0")/lib.sh"

tls="$WORK/tls"
mkdir -p "$tls"
make_authority() {
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=$1" \
    -keyout "$tls/$1.key" -out "$tls/$1.pem" 2>/dev/null
}
make_authority quobrix-test-ca
make_authority stranger-ca
openssl req -newkey rsa:2048 -nodes -subj /CN=127.0.0.1 -keyout "$tls/server.key" -out "$tls/server.csr" 2>/dev/null
printf 'subjectAltName=IP:127.0.0.1,DNS:localhost\n' >"$tls/san.ext"
openssl x509 -req -in "$tls/server.csr" -CA "$tls/quobrix-test-ca.pem" -CAkey "$tls/quobrix-test-ca.key" \
  -CAcreateserial -days 2 -extfile "$tls/san.ext" -out "$tls/server.pem" 2>/dev/null

start_xvfb
port=$((20000 + RANDOM % 20000))
"$BIN/quobrix-market" --port "$port" --data-dir "$BUILD/e2e-market" \
  --tls-cert "$tls/server.pem" --tls-key "$tls/server.key" >"$WORK/market.out" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 1 600); do
  secure=$(grep -o 'https://127\.0\.0\.1:[0-9]*' "$WORK/market.out" || true)
  [ -n "$secure" ] && break
  sleep 0.1
done
[ -n "$secure" ] || fail "the market serves no https: $(cat "$WORK/market.out")"
export QUOBRIX_TOP_URL="$secure/router/rest" QUOBRIX_SERVICE_URL="$secure"

# Trusted: cards with their pictures, and not one network failure in the log.
export SSL_CERT_FILE="$tls/quobrix-test-ca.pem"
start_client
wait_for_main_screen
search_for "手机"
wait_for 20 cards_are_shown || fail "no cards over https"
sleep 2
echo "https search: $(screenshot https-search)"
xdotool mousemove 1256 21 click 1
wait_exit "$CLIENT_PID" 15
[ "$EXIT_CODE" -eq 0 ] || fail "exit code $EXIT_CODE"
grep -q "gateway $secure/router/rest: " "$LOG" && fail "gateway failures over https: $(grep gateway "$LOG")"
grep -q "picture $secure/pic/" "$LOG" && fail "picture failures over https: $(grep picture "$LOG" | head -3)"
grep -q "gateway $secure/router/rest (app key" "$LOG" || fail "the log does not name the https gateway"

# Not trusted: the network notice, a TLS line in the log, nothing in plain http.
export SSL_CERT_FILE="$tls/stranger-ca.pem"
: >"$LOG"
start_client
wait_for_main_screen
search_for "shouji"
# The notice's grey panel, below its text, where the wall is otherwise black.
network_notice_shown() { awk "BEGIN{exit !($(region_mean "$1" 300x30+490+505) > 0.1)}"; }
wait_for 30 network_notice_shown || fail "no network notice"
grep -q "gateway $secure/router/rest: TLS: " "$LOG" || fail "no TLS line in the log"
echo "untrusted: $(screenshot https-untrusted)"
grep -q "gateway http://" "$LOG" && fail "the gateway was tried in plain http"
kill -TERM "$CLIENT_PID"
wait_exit "$CLIENT_PID" 10
echo PASS
