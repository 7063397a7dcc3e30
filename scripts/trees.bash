# The sanitizer build trees of scripts/test's steps and scripts/fuzz, sourced by them. Every user
# configures a tree with the same options, so no step rebuilds what another one built.
# asan_tree / tsan_tree configure their tree and print its folder.

# clang with AddressSanitizer and UndefinedBehaviorSanitizer: the sanitizer test steps and the fuzz
# targets (ORV_FUZZ also builds the suites and developer programs the steps run).
asan_tree() {
  local build=${ASAN_BUILD_DIR:-${FUZZ_BUILD_DIR:-build-asan}}
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORV_FUZZ=ON \
    -DORV_SANITIZE=address,undefined -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null || return
  echo "$build"
}

# clang with ThreadSanitizer, for the suites where threads meet.
tsan_tree() {
  local build=${TSAN_BUILD_DIR:-build-tsan}
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORV_SANITIZE=thread -DORV_BUILD_GUI=OFF -DORV_BUILD_TESTS=ON >/dev/null || return
  echo "$build"
}

# clang with ThreadSanitizer and the windowed libraries, for the player's suites where its render threads
# meet the main thread.
tsan_gui_tree() {
  local build=${TSAN_GUI_BUILD_DIR:-build-tsan-gui}
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORV_SANITIZE=thread -DORV_BUILD_GUI=ON -DORV_BUILD_DEMOS=OFF -DORV_BUILD_TESTS=ON >/dev/null || return
  echo "$build"
}
