# The two commands a newcomer needs: `make play` and `make test`.
# Each installs the Debian packages it lacks, configures with CMake presets and builds.

BUILD_PACKAGES := cmake ninja-build g++ pkg-config libcli11-dev libstb-dev libgtest-dev

# The window (SDL2), and the virtual X server and key presses of its end-to-end test.
BUILD_PACKAGES += libsdl2-dev xvfb xdotool

.PHONY: play test deps build clean

play: build
	./build/dev/quorvandelle

test: build
	ctest --preset dev

build: deps
	cmake --preset dev
	cmake --build --preset dev

deps:
	@scripts/install-deps $(BUILD_PACKAGES)

clean:
	rm -rf build
