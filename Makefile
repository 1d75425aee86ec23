# The two commands of the README:
#   make run   install what is missing, build, start the aquarium
#   make test  install what is missing, build, run every test
BUILD_DIR ?= build
BUILD_TYPE ?= RelWithDebInfo
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

PACKAGES := build-essential cmake ninja-build pkgconf \
  qt6-base-dev qt6-multimedia-dev libglu1-mesa-dev libgl-dev libegl-dev \
  libgl1-mesa-dri libegl-mesa0 libxcb1-dev libgtest-dev libbenchmark-dev \
  xvfb xauth xdotool x11-utils imagemagick \
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad \
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
# Music tests and benchmarks: a private sound server with a null sink, and real test tracks.
PACKAGES += pulseaudio pulseaudio-utils gstreamer1.0-pulseaudio lame sox
# Package building and the install-tree and screensaver tests.
PACKAGES += dpkg-dev desktop-file-utils appstream man-db xscreensaver

.PHONY: all deps configure build run test demo deb clean

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

run: build
	@if [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; then \
	  ./$(BUILD_DIR)/plovi; \
	else \
	  ./tools/demo.sh ./$(BUILD_DIR)/plovi $(BUILD_DIR)/plovi-demo.png; \
	fi

test: build
	@cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# The Debian package, plovi_VERSION_ARCH.deb in the build directory.
deb: build
	@cd $(BUILD_DIR) && cpack -G DEB
	@ls -l $(BUILD_DIR)/plovi_*.deb

clean:
	rm -rf $(BUILD_DIR)
