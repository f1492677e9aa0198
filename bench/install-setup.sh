# Sourced by bench/run: what the whole-install benchmark serves, and its reference.
#
# Pellory's complete installation on a Japanese system (bench/run switches to that
# prefix) fetches and runs two components (Corvane and Tessaline), four files: a response file and a setup program each. The setup programs
# are the tests' stand-in, padded to 1 MiB and signed by the bench's test PKI; each stays
# running for 500 ms (its response file says so). The fault server drips all four files
# at install_rate bytes per second.
#
# The pinned variant is the same install from a list whose every entry carries the file's
# SHA-256 (url_list_pinned.txt), itself pinned in the override: Pellory digests each held
# file before it is accepted.
#
# The reference does the same work from the shell: curl fetches the four files one after
# another, the bench's bare signature check (bench_verify files) checks the two setup
# programs, then Wine runs each setup program with Pellory's command line. The checks
# count by their own in-process time (first call, root store included, plus the second):
# Pellory makes them inside its running process, so the checker's Wine start-up stays out.

install_rate=1048576

install_setup() {
  local c pkg=$work/install-package.exe
  iwww=$www/install
  rm -rf "$iwww" "$work/install-ref"
  mkdir -p "$iwww" "$work/install-ref"
  if [ ! -s "$pkg" ]; then
    local base; base=$(stat -c %s "$b/bench_setup_package.exe")
    { cat "$b/bench_setup_package.exe"; head -c $((1048576 - base - 4096)) /dev/urandom; } > "$pkg.unsigned"
    tests/support/sign-package.sh "$pki" morvane "$pkg.unsigned" "$pkg"
    rm -f "$pkg.unsigned"
  fi
  install_log_unix=$WINEPREFIX/drive_c/bench/setup.log
  mkdir -p "$(dirname "$install_log_unix")"
  : > "$install_log_unix"
  local faults="{"
  for c in corvane tessaline; do
    mkdir -p "$iwww/$c"
    cp "$pkg" "$iwww/$c/$c-setup.exe"
    printf '[InstallShield Silent]\r\nVersion=v7.00\r\nFile=Response File\r\ntitle=%s\r\nsleep=500\r\nexit=0\r\nlog=C:\\bench\\setup.log\r\n' \
      "$c" > "$iwww/$c/$c.iss"
    faults+="\"/install/$c/$c.iss\": {\"kind\": \"drip\", \"arg\": $install_rate},"
    faults+="\"/install/$c/$c-setup.exe\": {\"kind\": \"drip\", \"arg\": $install_rate},"
  done
  echo "${faults%,}}" > "$www/_faults.json"
  local base=http://127.0.0.1:$fault_port/install
  printf 'CVN_ISS,%s\r\nCVN_EXE,%s\r\nPM_ISS,%s\r\nPM_EXE,%s\r\nTSL_ISS,%s\r\nTSL_EXE,%s\r\n' \
    "$base/corvane/corvane.iss" "$base/corvane/corvane-setup.exe" \
    "$base/pelmora/pelmora.iss" "$base/pelmora/pelmora-setup.exe" \
    "$base/tessaline/tessaline.iss" "$base/tessaline/tessaline-setup.exe" > "$iwww/url_list.txt"
  local key path pinned=
  for key in CVN_ISS:corvane/corvane.iss CVN_EXE:corvane/corvane-setup.exe \
             TSL_ISS:tessaline/tessaline.iss TSL_EXE:tessaline/tessaline-setup.exe; do
    path=${key#*:}
    pinned+="${key%%:*},$base/$path#sha256=$(sha256sum "$iwww/$path" | cut -d' ' -f1)"$'\r\n'
  done
  printf '%s' "$pinned" > "$iwww/url_list_pinned.txt"
  install_list_plain=$base/url_list.txt
  install_list_pinned=$base/url_list_pinned.txt#sha256=$(sha256sum "$iwww/url_list_pinned.txt" | cut -d' ' -f1)
  # The administrator's override of the URL list's location, in the current prefix (the
  # 64-bit registry view: the x86_64 build runs here).
  install_use_list "$install_list_plain"
}

install_use_list() {  # url
  "$WINE" reg add 'HKLM\SOFTWARE\Morvane Corporation\Pellory' /v 'URL List' /t REG_SZ \
    /d "$1" /f >/dev/null 2>&1
}

install_reference() {
  local c rc=0 start fetched setups end line checks ref=$work/install-ref
  start=$(date +%s%N)
  for c in corvane tessaline; do
    curl -sf -o "$ref/$c.iss" "http://127.0.0.1:$fault_port/install/$c/$c.iss" || rc=1
    curl -sf -o "$ref/$c-setup.exe" "http://127.0.0.1:$fault_port/install/$c/$c-setup.exe" || rc=1
  done
  fetched=$(date +%s%N)
  line=$("$WINE" "$verify_exe" files "$(winpath "$ref/corvane-setup.exe")" \
    "$(winpath "$ref/tessaline-setup.exe")" 2>>"$work/harness.err" | tr -d '\r' | tail -n 1) || true
  case $line in *result=0\ *) ;; *) rc=1; echo "   install reference: signature check failed: $line" >&2 ;; esac
  checks=$(sed -n 's/.*wall_ms=\([0-9.]*\).*/\1/p' <<< "$line")
  checks=${checks:-0}
  setups=$(date +%s%N)
  for c in corvane tessaline; do
    "$WINE" "$ref/$c-setup.exe" /nodialog /noreboot /nocvn -s -f1"$(winpath "$ref/$c.iss")" \
      >/dev/null 2>&1 || rc=1
  done
  end=$(date +%s%N)
  record install reference complete "$(awk -v f=$((fetched - start)) -v s=$((end - setups)) -v k="$checks" \
    'BEGIN { printf "wall_ms=%.3f downloads_ms=%.3f checks_ms=%.3f", (f + s) / 1e6 + k, f / 1e6 + k, k }') result=$rc"
}

# Every round ran both setups three times for the install (Pellory's, pinned and not, and
# the reference's) and once for the deploy.
install_check_log() {
  local runs expected=0; runs=$(grep -c '^\[setup ' "$install_log_unix" || true)
  if wanted install; then expected=$((expected + 6 * rounds)); fi
  if wanted deploy; then expected=$((expected + 2 * rounds)); fi
  [ "$runs" -eq "$expected" ] || echo "   install: $runs setup runs logged, not $expected" >&2
  rm -f "$www/_faults.json"
}
