# Sourced by run-tests: a private PulseAudio server with a silent output, so that the music
# player is tested against a real sound server without sounding anywhere. The server lives in
# its own runtime folder and is ended by its own PID; nothing else on the machine is touched.

test_pulse_dir=""
test_pulse_pid=""

start_test_pulse() {
  # From here on the sound tests must find the server; if it cannot start they fail.
  export PIRUNE_EXPECT_SOUND_SERVER=1
  if ! command -v pulseaudio >/dev/null || ! command -v pactl >/dev/null; then
    echo "start_test_pulse: pulseaudio or pactl is missing" >&2
    return 0
  fi
  test_pulse_dir=$(mktemp -d "${TMPDIR:-/tmp}/pirune-pulse.XXXXXX")
  export XDG_RUNTIME_DIR="$test_pulse_dir"
  export PULSE_SERVER="unix:$test_pulse_dir/pulse/native"
  # HOME too, so that the server's cookie and state stay in the private folder. Running as root
  # it warns that it is not meant for root; --system is a different, shared server.
  HOME="$test_pulse_dir" pulseaudio --daemonize=no --exit-idle-time=-1 -n --use-pid-file=no \
    --disallow-exit --log-target=stderr \
    --load="module-null-sink sink_name=nullsink" \
    --load="module-native-protocol-unix auth-anonymous=1" \
    >"$test_pulse_dir/server.log" 2>&1 &
  test_pulse_pid=$!

  local tries
  for ((tries = 0; tries < 100; tries++)); do
    if pactl info >/dev/null 2>&1; then
      return 0
    fi
    if ! kill -0 "$test_pulse_pid" 2>/dev/null; then
      break
    fi
    sleep 0.1
  done
  echo "start_test_pulse: the sound server did not answer; its log:" >&2
  cat "$test_pulse_dir/server.log" >&2 || true
  return 0
}

stop_test_pulse() {
  if [[ -n $test_pulse_pid ]]; then
    kill "$test_pulse_pid" 2>/dev/null || true
    wait "$test_pulse_pid" 2>/dev/null || true
    test_pulse_pid=""
  fi
  if [[ -n $test_pulse_dir ]]; then
    rm -rf "$test_pulse_dir"
    test_pulse_dir=""
  fi
}
