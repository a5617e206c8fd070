# The two commands: `make run` and `make test`. Both install what is missing,
# configure build/ once and build before doing their part.
BUILD_DIR := build
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: run test deps build package

deps:
	@scripts/install-deps

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR)

run: build
	@if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ]; then \
		echo "make run: no display (DISPLAY is not set); run it from a desktop session" >&2; exit 1; fi
	$(BUILD_DIR)/tarpo

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j2

# The Debian package, build/tarpo_<version>_<arch>.deb.
package: build
	cd $(BUILD_DIR) && cpack -G DEB
