# The two commands a newcomer needs: `make play` and `make test`.
# Each installs the Debian packages it lacks, configures with CMake presets and builds.

BUILD_PACKAGES := cmake ninja-build g++ pkg-config libcli11-dev libstb-dev libgtest-dev

# The window (SDL2), and the virtual X server and key presses of its end-to-end test.
BUILD_PACKAGES += libsdl2-dev xvfb xdotool
# What the desktop installs: its icons are drawn, its man page made from --help.
BUILD_PACKAGES += python3 help2man

.PHONY: play test deps build clean

# Only the game is built to play it; the tests are built by `make test`.
play: deps
	cmake --preset dev
	cmake --build --preset dev --target quorvandelle
	./build/dev/quorvandelle

test: build
	ctest --preset dev
	$(MAKE) --no-print-directory test-arm
	$(MAKE) --no-print-directory test-console
	$(MAKE) --no-print-directory test-web
	$(MAKE) --no-print-directory test-release
	$(MAKE) --no-print-directory test-checks

build: deps
	cmake --preset dev
	cmake --build --preset dev

deps:
	@scripts/install-deps $(BUILD_PACKAGES)

clean:
	rm -rf build

# The console's CPU and C library, emulated: the same tests built for the ARM11 with
# newlib and run under qemu-arm. Part of `make test`.
ARM_PACKAGES := gcc-arm-none-eabi libnewlib-arm-none-eabi libstdc++-arm-none-eabi-newlib \
	googletest qemu-user

.PHONY: test-arm
test-arm: deps
	@scripts/install-deps $(ARM_PACKAGES)
	cmake --preset arm
	cmake --build --preset arm
	ctest --preset arm

# The console itself, with devkitPro's SDK (3ds-dev): build/3ds/quorvandelle.3dsx for the
# Homebrew Launcher and, with makerom and bannertool, build/3ds/quorvandelle.cia to install.
CONSOLE_SDK_MISSING := make 3ds needs the console SDK: install devkitPro pacman, then \
	`dkp-pacman -S 3ds-dev`, and set DEVKITPRO (usually /opt/devkitpro)
# The console's tools as homebrew authors keep them: on PATH or in $DEVKITPRO/tools/bin.
console_tool = $(or $(shell command -v $(1) 2>/dev/null),$(wildcard $(DEVKITPRO)/tools/bin/$(1)))

.PHONY: 3ds test-console
3ds:
	$(if $(wildcard $(DEVKITPRO)/cmake/3DS.cmake),,$(error $(CONSOLE_SDK_MISSING)))
	@scripts/install-deps cmake gcc-arm-none-eabi python3
	cmake --preset 3ds
	cmake --build --preset 3ds
	@echo "Copy build/3ds/quorvandelle.3dsx to /3ds/ on the console's SD card."
	@if [ -f build/3ds/quorvandelle.cia ]; then \
		echo "Install build/3ds/quorvandelle.cia with the console's title installer."; \
	else echo "No build/3ds/quorvandelle.cia: it needs makerom and bannertool, on PATH or in \$$DEVKITPRO/tools/bin."; fi

# Part of `make test` when DEVKITPRO is set: the console build, read back by other readers
# (ctrtool for the .cia; the desktop build's PNG reader for the icon).
test-console:
ifeq ($(DEVKITPRO),)
	@echo "Skipped the console build: DEVKITPRO is not set (see 'On the console' in the README)."
else
	$(MAKE) --no-print-directory 3ds
	cmake --build --preset dev --target png_compare
	python3 tests/console_check.py build/3ds app/icon.png build/dev/tests/png_compare \
		$(DEVKITPRO)/devkitARM/bin/arm-none-eabi-nm $(DEVKITPRO)/devkitARM/bin/arm-none-eabi-objdump \
		$(call console_tool,ctrtool)
endif

# Checks beyond the desktop's tests, part of `make test`: the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer (build/asan), then the fuzz targets,
# built with clang, for a bounded time each (build/fuzz). The dev suite itself runs
# the program under valgrind. `make bench` prints the benchmarks (build/bench).
BUILD_PACKAGES += valgrind
CHECK_PACKAGES := clang-14 libclang-rt-14-dev

.PHONY: test-checks bench
test-checks: deps
	@scripts/install-deps $(CHECK_PACKAGES)
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan
	cmake --preset fuzz
	cmake --build --preset fuzz
	ctest --preset fuzz

bench: deps
	@scripts/install-deps libbenchmark-dev
	cmake --preset bench
	cmake --build --preset bench
	./build/bench/bench/game_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
	$(MAKE) --no-print-directory bench-web

# A frame in the browser's WebAssembly against the native frame, in the same run.
.PHONY: bench-web
bench-web: web
	@scripts/install-deps chromium libbenchmark-dev
	@scripts/install-npm tests/web
	cmake --preset bench
	cmake --build --preset bench --target frame_cost
	cmake --build --preset web --target frame_cost
	node bench/browser-frame.mjs build/bench/bench/frame_cost build/web/bench/frame_cost.js

# The browser: build/web/quorvandelle.html, one self-contained page, and the headless
# program for Node, build/web/quorvandelle-cli.js, with Debian's emscripten. Its tests
# (part of `make test`) drive Debian's chromium with playwright-core from npm, installed
# once per machine (scripts/install-npm).
WEB_PACKAGES := cmake ninja-build libcli11-dev libstb-dev emscripten

.PHONY: web test-web
web:
	@scripts/install-deps $(WEB_PACKAGES)
	cmake --preset web
	cmake --build --preset web
	@echo "The page: build/web/quorvandelle.html (open it, or put it on any web server)"
	@echo "The headless program for Node: build/web/quorvandelle-cli.js"

test-web: web
	@scripts/install-deps chromium
	@scripts/install-npm tests/web
	ctest --preset web

# The release. `make deb`: the desktop's Debian package, built optimised (release preset)
# by CPack. `make dist`: everything a release page offers, in build/dist/quorvandelle-VERSION/,
# with SHA256SUMS; CIA_URL=https://... adds a QR code of that address for the console's
# installer. Without the console SDK and tools it makes what it can and lists the rest.
PACKAGE_PACKAGES := dpkg-dev fakeroot file lintian desktop-file-utils appstream
VERSION = $(shell awk '/^project.Quorvandelle VERSION/ { print $$3 }' CMakeLists.txt)
DEB = build/release/quorvandelle_$(VERSION)_amd64.deb
DIST = build/dist/quorvandelle-$(VERSION)

.PHONY: deb dist test-release
deb: deps
	@scripts/install-deps $(PACKAGE_PACKAGES)
	cmake --preset release
	cmake --build --preset release
	rm -f $(DEB)
	cd build/release && cpack -G DEB
	@echo "The package: $(DEB) (sudo apt install ./$(DEB))"

dist: deb web
	@scripts/install-deps qrencode
	$(if $(DEVKITPRO),$(MAKE) --no-print-directory 3ds)
	scripts/make-dist "$(DIST)" "$(VERSION)" "$(CIA_URL)"

# Part of `make test`: the package as a packager reads it, and the release folder's sums.
test-release: dist
	bash tests/package_check.sh $(DEB)
	cd $(DIST) && sha256sum --quiet -c SHA256SUMS
	@echo "release check: $(DIST) verifies against its SHA256SUMS"
