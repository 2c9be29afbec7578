# ORVAL KESK: `make play` installs what the game needs, builds it and starts it;
# `make test` does the same and runs every test; `make bench` measures the game against a floor.
BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

# Debian packages the game needs to build and run.
PLAY_PACKAGES := cmake g++ make pkg-config libsdl2-dev libsdl2-image-dev libsdl2-ttf-dev \
	libsdl2-mixer-dev libx11-dev libtomlplusplus-dev libfontconfig-dev fonts-liberation2 \
	libspeechd-dev
# And what the tests need besides: GoogleTest, a headless X server, a window manager,
# a pointer driver, screenshots, the validators of the desktop entry and the metainfo, the
# catalogues' checker (msgfmt), and a Wayland compositor (a headless mutter) with its session bus.
TEST_PACKAGES := $(PLAY_PACKAGES) libgtest-dev xvfb xauth openbox xdotool imagemagick x11-utils \
	desktop-file-utils appstream mutter xwayland dbus-daemon gettext
# The benchmark plays in real windows like the tests and times the state search with time(1).
BENCH_PACKAGES := $(TEST_PACKAGES) time

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

# Warnings are errors wherever we build for ourselves; see ORVAL_WERROR in CMakeLists.txt.
CMAKE_FLAGS ?= -DORVAL_WERROR=ON

.PHONY: play test check bench fuzz build deps-play deps-test deps-bench clean format

# Only the game itself is built: a player's first `make play` compiles no test.
play: deps-play
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(BUILD) -j $(JOBS) --target orval-kesk
	$(BUILD)/orval-kesk

# The state search repeats what the other tests do thousands of times: slow under the
# sanitizer and no new memory paths, so it runs only in the plain build. Last, the Windows
# build and its tests under wine (about 6 minutes on a fresh machine, 1 once its libraries are
# cached), then the web build in chromium and its unit tests under node (about 7 minutes on a
# fresh machine, 3 once its libraries are cached; see README).
test: deps-test build
	cd $(BUILD) && SDL_AUDIODRIVER=dummy ctest --output-on-failure -j1
	cmake -S . -B $(ASAN_BUILD) $(CMAKE_FLAGS) -DORVAL_TESTS=ON -DORVAL_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target orval_tests orval-fuzz-descriptions
	cd $(ASAN_BUILD) && SDL_AUDIODRIVER=dummy ASAN_OPTIONS=detect_leaks=0 \
		ctest --output-on-failure -L unit -E '^Reachability\.' -j$(JOBS)
	$(MAKE) --no-print-directory test-windows
	$(MAKE) --no-print-directory test-web

# The edit-compile-test loop: build, then the unit tests once, no real windows, no sanitizer.
check: build
	cd $(BUILD) && SDL_AUDIODRIVER=dummy ctest --output-on-failure -L unit -j$(JOBS)

# libFuzzer on the description loader for FUZZ_SECONDS, from the game's 16 descriptions; what
# it finds lands in $(FUZZ_BUILD)/ as crash-*, leak-* or timeout-* files. The parser is built
# from its headers, so that its code is instrumented too, with NDEBUG as the system's library is
# built (its own debugging assertions would otherwise stop at inputs it refuses anyway).
FUZZ_SECONDS ?= 600
FUZZ_BUILD ?= build-fuzz
FUZZ_PACKAGES := $(PLAY_PACKAGES) clang libclang-rt-14-dev
fuzz:
	@./tools/install-packages $(FUZZ_PACKAGES)
	mkdir -p $(FUZZ_BUILD)/corpus
	clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -DTOML_HEADER_ONLY=1 -DNDEBUG -I. \
		-DORVAL_DATA_DIR='"$(CURDIR)/data"' tools/fuzz/description_fuzzer.cpp \
		scenes/model/loader.cpp scenes/model/data_file.cpp -o $(FUZZ_BUILD)/description-fuzzer
	cp -n data/scenes/*.toml $(FUZZ_BUILD)/corpus/
	cd $(FUZZ_BUILD) && ./description-fuzzer -max_total_time=$(FUZZ_SECONDS) -max_len=65536 \
		-timeout=10 -print_final_stats=1 corpus

# Prints figures for this machine; it checks nothing.
bench: deps-bench build
	./tools/bench/run $(BUILD)

build:
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS) -DORVAL_TESTS=ON >/dev/null
	cmake --build $(BUILD) -j $(JOBS)

# Installs only the packages that are missing.
deps-play:
	@./tools/install-packages $(PLAY_PACKAGES)

deps-test:
	@./tools/install-packages $(TEST_PACKAGES)

deps-bench:
	@./tools/install-packages $(BENCH_PACKAGES)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD) $(WINDOWS_BUILD) $(WEB_BUILD) $(DIST)

# The Debian package: the tracked files as they are in the working tree, copied to a fresh
# folder outside the tree (no build folders), built there, checked by lintian and left in dist/.
DEB_PACKAGES := $(PLAY_PACKAGES) libgtest-dev dpkg-dev debhelper lintian
DIST ?= dist

.PHONY: deb deps-deb

deps-deb:
	@./tools/install-packages $(DEB_PACKAGES)

deb: deps-deb
	@set -e; \
	tmp=$$(mktemp -d /tmp/orval-kesk-deb.XXXXXX); \
	trap 'rm -rf "$$tmp"' EXIT; \
	mkdir "$$tmp/orval-kesk"; \
	git ls-files -z | tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$$tmp/orval-kesk"; \
	(cd "$$tmp/orval-kesk" && dpkg-buildpackage -us -uc -b -J$(JOBS)); \
	lintian --fail-on error,warning "$$tmp"/orval-kesk_*.changes; \
	mkdir -p $(DIST); \
	rm -f $(DIST)/orval-kesk_*.deb; \
	cp "$$tmp"/orval-kesk_*.deb $(DIST)/; \
	ls -l $(DIST)/orval-kesk_*.deb

# The Windows build, cross-compiled with Debian's mingw-w64: the libraries from Debian's source
# packages, built once into ${XDG_CACHE_HOME:-~/.cache}/orval-kesk/windows/ (tools/windows/libs),
# then the game in Release mode and dist/orval-kesk-windows.zip. test-windows runs its unit tests
# and a real-window test under wine; `make test` ends with it.
WINDOWS_BUILD ?= build-windows
WINDOWS_PACKAGES := cmake make pkg-config python3 dpkg-dev g++-mingw-w64-x86-64 \
	libz-mingw-w64-dev libtomlplusplus-dev fonts-liberation2 imagemagick \
	wine wine64 xvfb xauth openbox xdotool x11-utils

.PHONY: windows test-windows deps-windows

deps-windows:
	@./tools/install-packages $(WINDOWS_PACKAGES)

windows: deps-windows
	JOBS=$(JOBS) ./tools/windows/package $(WINDOWS_BUILD) $(DIST) $(CMAKE_FLAGS)

test-windows: windows
	./tests/wine/run $(WINDOWS_BUILD) $(DIST)/orval-kesk-windows.zip

# The web build: Debian's emscripten, the libraries from Debian's source packages built once
# into ${XDG_CACHE_HOME:-~/.cache}/orval-kesk/web/ (tools/web/libs), then the game on the stage
# in one canvas: dist/orval-kesk-web/ and dist/orval-kesk-web.zip (tools/web/package).
# serve-web serves it on localhost; test-web plays it in Debian's chromium, headless, driven by
# playwright-core from tests/web/package-lock.json, and runs the unit tests under node;
# bench-web sets it beside a floor page.
WEB_BUILD ?= build-web
WEB_PORT ?= 8000
WEB_PACKAGES := cmake make python3 dpkg-dev git emscripten vorbis-tools fonttools \
	libtomlplusplus-dev fonts-liberation2 brotli
WEB_TEST_PACKAGES := $(WEB_PACKAGES) chromium

.PHONY: web serve-web test-web bench-web deps-web deps-test-web

deps-web:
	@./tools/install-packages $(WEB_PACKAGES)

# npm comes with the machine's node; Debian's is the fallback.
deps-test-web:
	@./tools/install-packages $(WEB_TEST_PACKAGES)
	@command -v npm >/dev/null || ./tools/install-packages npm

web: deps-web
	JOBS=$(JOBS) ./tools/web/package $(WEB_BUILD) $(DIST) $(CMAKE_FLAGS)

serve-web: web
	./tools/web/serve $(DIST)/orval-kesk-web $(WEB_PORT)

test-web: web deps-test-web
	./tests/web/run $(DIST)/orval-kesk-web $(WEB_BUILD)/test-shots
	JOBS=$(JOBS) ./tests/web/units $(WEB_BUILD)

bench-web: web deps-test-web
	./tools/web/bench $(DIST)/orval-kesk-web $(WEB_BUILD)/page/floor
