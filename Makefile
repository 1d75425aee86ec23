# SPDX-License-Identifier: MIT
# The two commands of the README:
#   make run   install what is missing, build the program, start the aquarium
#   make test  install what is missing, build everything, run every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

PACKAGES := build-essential cmake ninja-build pkgconf \
  qt6-base-dev qt6-multimedia-dev libglu1-mesa-dev libgl-dev libegl-dev \
  libgl1-mesa-dri libegl-mesa0 libxcb1-dev libx11-dev libgtest-dev libbenchmark-dev \
  xvfb xauth xdotool x11-utils imagemagick \
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
# Music tests and benchmarks: a private sound server with a null sink, and real test tracks.
PACKAGES += pulseaudio pulseaudio-utils gstreamer1.0-pulseaudio lame sox
# End-to-end tests run on real desktops: two window managers, and xrandr for
# several monitors on one virtual screen.
PACKAGES += openbox icewm x11-xserver-utils
# The media corpus: damaged files made with ffmpeg and zzuf.
PACKAGES += ffmpeg zzuf
# Package building and the install-tree and screensaver tests.
PACKAGES += dpkg-dev desktop-file-utils appstream man-db xscreensaver lintian

# The fuzzers' compiler and runtime, and the sanitizer runs.
PACKAGES += clang libclang-rt-14-dev bc
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
# Leaks inside the GL driver, fontconfig and Qt's plugin loading are not ours;
# UBSan stops at the first report so a test fails on it.
SANITIZER_ENV := ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizer-suppressions.txt:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps configure build program run test demo deb clean test-asan fuzz sanitizer-env

all: build

deps:
	@missing=$$(for p in $(PACKAGES); do \
	    dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q 'install ok installed' || echo $$p; \
	  done); \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" = 0 ]; then \
	    echo "Installing: $$missing"; \
	    DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing \
	      || { apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends $$missing; }; \
	  else \
	    echo "Missing packages. Install them with:"; \
	    echo "  sudo apt-get install -y $$missing"; \
	    exit 1; \
	  fi; \
	fi

configure: deps
	@cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) > /dev/null

build: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS)

# The program alone: what `make run` needs, without the tests and benchmarks.
program: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target plovi

run: program
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  ./$(BUILD_DIR)/plovi; \
	else \
	  ./tools/demo.sh ./$(BUILD_DIR)/plovi $(BUILD_DIR)/plovi-demo.png; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The Debian package, plovi_VERSION_ARCH.deb in the build directory.
deb: configure
	@cmake --build $(BUILD_DIR) -j $(JOBS) --target plovi plovi_docs
	@cd $(BUILD_DIR) && cpack -G DEB
	@ls -l $(BUILD_DIR)/plovi_*.deb

# The whole suite, end-to-end tests included, built with AddressSanitizer
# and UBSan in its own folder.
test-asan: deps
	@cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOVI_ASAN=ON > /dev/null
	@cmake --build $(ASAN_DIR) -j $(JOBS)
	@cd $(ASAN_DIR) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS) --timeout 600

# The sanitizer options above, for scripts that run a sanitizer build
# (bench/soak.sh).
sanitizer-env:
	@echo $(SANITIZER_ENV)

# Each fuzz target for FUZZ_SECONDS over its corpus (clang, libFuzzer).
fuzz: deps
	@cmake -S . -B $(FUZZ_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOVI_FUZZ=ON \
	  -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang > /dev/null
	@cmake --build $(FUZZ_DIR) -j $(JOBS)
	@./fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS) $(FUZZ_RUNS)

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
