# The two commands: `make run` and `make test`. Both install what is missing,
# configure build/ once and build before doing their part. `make check` is the
# quick loop for whoever changes the code.
BUILD_DIR := build
CMAKE_FLAGS ?=

.PHONY: run test check deps check-deps build package test-sanitize bench bench-deps windows web serve-web

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

# Without a display the program itself says so in one line.
run: build
	$(BUILD_DIR)/tarpo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

# The quick loop: only the native code, in a tree of its own, build-check/,
# configured without the cross build, the web build and the installer, so
# that neither mingw-w64 nor emscripten runs and build/ (the whole build that
# `make test` runs) stays as it is; then the unit, widget and lint tests,
# without the soak. It installs only what it uses (`install-deps check`).
# Once built, a run takes about 15 s.
CHECK_DIR := build-check

check-deps:
	@scripts/install-deps check

$(CHECK_DIR)/build.ninja: | check-deps
	cmake -S . -B $(CHECK_DIR) -G Ninja -DTARPO_WINDOWS=OFF -DTARPO_WEB=OFF $(CMAKE_FLAGS)

check: check-deps $(CHECK_DIR)/build.ninja
	cmake --build $(CHECK_DIR)
	cd $(CHECK_DIR) && ctest --output-on-failure -j2 -L 'unit|widget|lint' -LE soak

# tarpo.exe for 64-bit Windows, cross-built with mingw-w64 without Qt:
# build-windows/tarpo.exe, one file that needs nothing else on Windows.
# `make build` (and so `make test`) cross-builds it too, inside its own tree:
# $(BUILD_DIR)/windows/tarpo.exe.
WINDOWS_DIR := build-windows

$(WINDOWS_DIR)/build.ninja: | deps
	cmake -S . -B $(WINDOWS_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release \
		-DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake

windows: deps $(WINDOWS_DIR)/build.ninja
	cmake --build $(WINDOWS_DIR)

# The game as a static web site in build-web/: the page, its script and
# style, the game compiled to WebAssembly with emscripten, the pictures, the
# manifest, the icons and the service worker. Any static web host serves it;
# `make serve-web` serves it here. `make build` builds it in build/web/ too.
WEB_DIR := build-web
WEB_TREE := build-web-tree
WEB_PORT ?= 8000

$(WEB_TREE)/build.ninja: | deps
	emcmake cmake -S . -B $(WEB_TREE) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
		-DTARPO_SITE_DIR=$(CURDIR)/$(WEB_DIR)

web: deps $(WEB_TREE)/build.ninja
	cmake --build $(WEB_TREE)

serve-web: web
	@echo "tarpo: http://127.0.0.1:$(WEB_PORT)/"
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB_DIR) $(WEB_PORT)

# The Debian package, build/tarpo_<version>-<revision>_<arch>.deb; the build
# has already made the Windows installer, build/windows/tarpo-<version>-x64.msi.
package: build
	cd $(BUILD_DIR) && cpack -G DEB

# The whole test suite again, built in build-sanitize/ with AddressSanitizer
# (LeakSanitizer included) and UndefinedBehaviorSanitizer: any report fails
# the test that caused it. Allocations that system libraries keep until exit
# are suppressed by tests/lsan.supp, which names library frames only.
# tarpo.exe, the web site and their tests are left out: nothing of them is
# built with the sanitizers.
SANITIZE_DIR := build-sanitize
SANITIZE_ENV := ASAN_OPTIONS=detect_leaks=1:check_initialization_order=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

$(SANITIZE_DIR)/build.ninja: | deps
	cmake -S . -B $(SANITIZE_DIR) -G Ninja -DTARPO_SANITIZE=ON -DTARPO_WINDOWS=OFF -DTARPO_WEB=OFF

test-sanitize: deps $(SANITIZE_DIR)/build.ninja
	cmake --build $(SANITIZE_DIR)
	cd $(SANITIZE_DIR) && $(SANITIZE_ENV) ctest --output-on-failure -j2

# Benchmarks, built in build-bench/: start-up time and memory against a window
# with the same controls and no pictures, and the area repainted, under Xvfb,
# for the Qt build and for tarpo.exe under Wine; the cost of a click; the size
# and imports of tarpo.exe; the web page's transfer, navigation and slide in
# Chromium. Prints the figures and whether the targets are met
# (bench/README.md). tarpo.exe is the one $(BUILD_DIR) cross-builds; the bench
# build cross-builds only the Win32 yardstick, in $(BENCH_DIR)/windows/.
BENCH_DIR := build-bench

bench-deps:
	@scripts/install-deps bench

$(BENCH_DIR)/build.ninja: | bench-deps
	cmake -S . -B $(BENCH_DIR) -G Ninja -DTARPO_BENCH=ON -DBUILD_TESTING=OFF -DTARPO_WINDOWS=OFF

bench: bench-deps $(BENCH_DIR)/build.ninja $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) --target tarpo_windows
	cmake --build $(BENCH_DIR)
	python3 bench/run_bench.py $(BENCH_DIR) --windows-exe $(BUILD_DIR)/windows/tarpo.exe \
		--web-site $(BENCH_DIR)/web
