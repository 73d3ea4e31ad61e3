# Everything a player or a developer runs. See the README. The build folders and their options
# are the configure presets of CMakePresets.json.
JOBS    ?= $(shell nproc)
FUZZ_SECONDS ?= 60
PREFIX  ?= /usr/local
WEB_PORT ?= 8017

# cmake --build runs make beneath this one: its entering and leaving of folders is noise.
MAKEFLAGS += --no-print-directory

BUILD   := build
ASAN    := build-asan
FUZZDIR := build-fuzz
WEB     := build-web
WEBOBJ  := build-web-objects
WINDOWS := build-windows

.PHONY: all setup build play install package dev-setup dev-build test unit-test asan-test \
	fuzz fuzz-smoke soak valgrind bench format format-check clean web web-setup web-serve \
	board board-setup install-board windows windows-setup windows-package windows-tests

all: build

# ---------------------------------------------------------------------------------------------
# A player's: what building and playing needs (compiler, CMake, SDL2, libmpg123, LAME), and the
# game, its asset tools and the archive.

setup:
	@tools/setup.sh

build: setup
	@cmake --preset default >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

# Builds the game and starts it; it keeps the scores and snapshots in the player's folder
# (~/.local/share/korimo-shooting), which `make clean` never touches.
play: build
	$(BUILD)/run/korimo

# Installs the game under PREFIX (DESTDIR=... stages it elsewhere), stripped.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX) --strip

# The Debian package korimo-shooting_<version>_<arch>.deb, in the build folder.
package: build
	cd $(BUILD) && cpack -G DEB

# ---------------------------------------------------------------------------------------------
# A developer's: the test tool chain too, and the same build folder with the tests and the
# benchmarks (BUILD_TESTING).

dev-setup: setup
	@tools/setup-dev.sh

dev-build: dev-setup
	@cmake --preset dev >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

# Every test: the formatting of what changed, the suite, the end-to-end sessions and the page,
# the suite again under ASan and UBSan, a short run of every fuzz target, and a short headless
# run under valgrind.
test: format-check unit-test asan-test fuzz-smoke valgrind

# The web tests (label web) open the page, and the windows tests run the Windows program under
# Wine, so both are built first.
unit-test: dev-build web windows-package windows-tests
	cd $(BUILD) && ctest --output-on-failure

asan-test: dev-setup
	@cmake --preset asan >/dev/null
	@cmake --build $(ASAN) -j$(JOBS)
	cd $(ASAN) && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -LE 'e2e|web|windows'

# `make fuzz` runs every fuzz target for FUZZ_SECONDS; the test command runs each briefly.
fuzz: dev-setup
	@cmake --preset fuzz >/dev/null
	@cmake --build $(FUZZDIR) --target fuzzers -j$(JOBS)
	@tools/run-fuzzers.sh $(FUZZDIR) $(FUZZ_SECONDS)

fuzz-smoke:
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=10

# A hundred five-minute runs in one process, checked after each (SOAK_RUNS, SOAK_SEED).
SOAK_RUNS ?= 100
SOAK_SEED ?= 1
soak: dev-build
	@tools/soak.sh $(BUILD) $(SOAK_RUNS) $(SOAK_SEED)

# One short headless run under valgrind memcheck: no memory error, no leak.
valgrind: dev-build
	@tools/soak.sh --valgrind $(BUILD)

# Every benchmark, each under a heading: Google Benchmark's table, then its own summary. They
# find the archive pair beside them and write only into a temporary folder of their own, so
# they run from any folder and leave $(BUILD)/run as it was. One that fails fails the target,
# after the others have run.
bench: dev-setup
	@cmake --preset dev >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target benchmarks >/dev/null
	@failed=; for b in $(BUILD)/bench/bench_*; do \
		printf '\n==== %s ====\n\n' "$${b##*/}"; \
		$$b 2>&1 || failed="$$failed $${b##*/}"; \
	done; [ -z "$$failed" ] || { echo "failed:$$failed"; exit 1; }

# clang-format: `format` rewrites, `format-check` fails on, the C++ files changed since
# FORMAT_BASE (a commit; every file when it is unset or unknown).
format format-check: dev-setup
	@tools/format.sh $(if $(filter format-check,$@),--check) $(FORMAT_BASE)

# ---------------------------------------------------------------------------------------------
# The board server, korimo-board: its libraries, then the game and the board in the player's
# build folder, started on 127.0.0.1:8018 (see the README's "Running a board").

BOARD_LISTEN ?= 127.0.0.1:8018

board-setup: setup
	@tools/setup-board.sh

board: board-setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake --preset default >/dev/null
	@cmake $(BUILD) >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target korimo korimo-board
	$(BUILD)/run/korimo-board --listen $(BOARD_LISTEN) $(if $(wildcard $(WEB)/index.html),--web $(WEB))

install-board: board-setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake --preset default >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target korimo korimo-board
	cmake --install $(BUILD) --prefix $(PREFIX) --strip --component board

# ---------------------------------------------------------------------------------------------
# The game as a web page in $(WEB): index.html, the program's JavaScript and WebAssembly (Debian's
# emscripten), the MP3 decoder and the archive pair, which the desktop build's asset tools make
# (in the build folder as it is configured, or as a player's when it is not yet).

web: setup web-setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake --preset default >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target korimo_archive_files
	@NODE_PATH=/usr/share/nodejs cmake --preset web >/dev/null
	@NODE_PATH=/usr/share/nodejs cmake --build $(WEBOBJ) -j$(JOBS)

web-setup:
	@tools/setup-web.sh

# Serves the page for a local try on http://127.0.0.1:$(WEB_PORT)/ (any static host serves it).
web-serve: web
	@echo "Korimo Shooting: http://127.0.0.1:$(WEB_PORT)/"
	python3 -m http.server --bind 127.0.0.1 --directory $(WEB) $(WEB_PORT)

# ---------------------------------------------------------------------------------------------
# The game for 64-bit Windows, cross-compiled with mingw-w64 in $(WINDOWS): korimo-shooting.exe
# (static: no DLL beyond Windows' own, as the import list it prints shows) with the archive pair
# and the icon, which the desktop build's asset tools make.

windows: setup windows-setup
	@[ -f $(BUILD)/CMakeCache.txt ] || cmake --preset default >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target korimo_archive_files make-pictures
	@[ -f $(WINDOWS)/CMakeCache.txt ] || cmake --preset windows >/dev/null
	@cmake --build $(WINDOWS) -j$(JOBS) --target korimo
	@echo "$(WINDOWS)/korimo-shooting.exe imports:"
	@x86_64-w64-mingw32-objdump -p $(WINDOWS)/korimo-shooting.exe | sed -n 's/^\tDLL Name: /  /p'

windows-setup:
	@tools/setup-windows.sh

# korimo-shooting-<version>-windows-x64.zip and the installer korimo-shooting-<version>-setup.exe.
windows-package: windows
	@cmake --build $(WINDOWS) -j$(JOBS) --target korimo_windows_package

# The programs the windows tests run under Wine beside the game: the unit tests that need no
# window, with GoogleTest built from Debian's sources (tools/setup-dev.sh installs them).
windows-tests: windows dev-setup
	@cmake $(WINDOWS) -DBUILD_TESTING=ON >/dev/null
	@cmake --build $(WINDOWS) -j$(JOBS) --target windows_test_programs

clean:
	rm -rf $(BUILD) $(ASAN) $(FUZZDIR) $(WEB) $(WEBOBJ) $(WINDOWS)
