# The two commands a newcomer needs: `make run` and `make test`. Both install what is
# missing first (scripts/install-deps.sh), so a fresh Debian or macOS machine works.
SHELL := /bin/bash
ifeq ($(shell uname -s),Darwin)
export CMAKE_PREFIX_PATH := $(shell brew --prefix qt@6 2>/dev/null):$(shell brew --prefix openssl@3 2>/dev/null)
endif

.PHONY: deps run test build release format format-check bench package

deps:
	@scripts/install-deps.sh

# Builds an optimised Tidvale and starts it.
run: release
	./build/release/bin/tidvale

release: deps
	cmake --preset release >/dev/null
	cmake --build --preset release

# Builds with warnings as errors and runs every test (engine, CLI, GUI offscreen).
test: deps
	cmake --preset ci >/dev/null
	cmake --build --preset ci
	ctest --preset ci

# A .deb of the release build (build/release/tidvale_*.deb): programs, helper, menu
# entry, icon and polkit rule, installed under /usr.
package: release
	cd build/release && cpack -G DEB

build: deps
	cmake --preset dev >/dev/null
	cmake --build --preset dev

format:
	git ls-files -- '*.cpp' '*.h' '*.mm' | xargs clang-format -i

# Fails on any C++ file that clang-format would change.
format-check: deps
	git ls-files -- '*.cpp' '*.h' '*.mm' | xargs clang-format --dry-run -Werror
