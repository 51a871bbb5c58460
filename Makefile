# The README's two commands, `make run` and `make test`, do all the set-up on a
# fresh Debian or Ubuntu machine. The other targets are for developers.

PRESET ?= dev
# The version, as project() in CMakeLists.txt sets it.
VERSION := $(shell sed -n 's/^ *VERSION \([0-9.]*\)$$/\1/p' CMakeLists.txt)
BUILD_DIR := build/$(PRESET)
FUZZ_SECONDS ?= 60

.PHONY: all run test check deps configure build windows bench fuzz screenshots lint clean

all: build

deps:
	@scripts/install-deps test

configure: deps
	@cmake --preset $(PRESET) >/dev/null

build: configure
	@cmake --build --preset $(PRESET)

# Only what building and running needs: an optimised build without tests.
run:
	@scripts/install-deps run
	@cmake --preset app >/dev/null
	@cmake --build --preset app
	@build/app/app/wertomat

# The quick loop: the dev build and its tests, without installing or asking
# dpkg (run `make test` once first). The tests run again only when a program,
# a library or a test script changed since the last check that passed.
CHECK_STAMP := build/dev/.last-check
check:
	@[ -f build/dev/CMakeCache.txt ] || cmake --preset dev >/dev/null
	@cmake --build --preset dev
	@if [ -f $(CHECK_STAMP) ] && \
	    [ -z "$$(find build/dev tests scripts -newer $(CHECK_STAMP) -type f \
	        \( -perm -u+x -o -name '*.a' -o -name '*.py' -o -name '*.sh' \) -print -quit)" ]; then \
		echo "check: nothing changed since the last passing run"; \
	else \
		ctest --preset dev && touch $(CHECK_STAMP); \
	fi

# The Windows build, cross-built with mingw-w64: wertomat.exe, wertomat-table.exe
# and their tests under Wine, in prefixes inside build/windows and on an X
# display of their own. The installer check builds the installer and the ZIP
# (cpack) before it tries them.
windows: deps
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows
	@ctest --preset windows
	@echo "build/windows/wertomat-$(VERSION)-win64.exe and .zip"

# The tests in four builds: the dev build; the Windows build under Wine; the fuzzers, each replaying its
# committed corpus and then trying fresh inputs for a bounded while; and the
# whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer.
test: build windows
	@ctest --preset $(PRESET)
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target number_text_fuzzer tabulation_fuzzer resource_file_fuzzer
	@ctest --preset fuzz
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan

# Benchmarks on an optimised release build; figures go to docs/performance.md.
bench: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target tabulation_bench dialog_bench wertomat wertomat-table snprintf_table
	@bench/table_tools.py build/release 9
	@build/release/bench/tabulation_bench
	@build/release/bench/dialog_bench
	@scripts/atspi-session build/release/app/wertomat bench/screen_reader_listening.py 9
	@xvfb-run -a -s "-screen 0 1280x1024x24" python3 bench/copy_the_largest_table.py build/release/app/wertomat 9
	@xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/paste_the_largest_table.py build/release/app/wertomat build/release/bench/paste
	@xvfb-run -a -s "-screen 0 1280x1024x24" /usr/bin/python3 bench/paste_the_largest_table.py build/release/app/wertomat build/release/bench/paste 0 0,0001 6,5534
	@cmake --preset windows >/dev/null
	@cmake --build --preset windows --target results_view_bench
	@xvfb-run -a scripts/wine-run --desktop build/windows/bench/windows/results_view_bench.exe

# Long fuzzing runs, FUZZ_SECONDS for each target; new inputs land in build/fuzz/corpus.
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz --target number_text_fuzzer tabulation_fuzzer resource_file_fuzzer
	@for target in number_text tabulation resource_file; do \
		mkdir -p build/fuzz/corpus/$$target; \
		build/fuzz/fuzz/$${target}_fuzzer -max_total_time=$(FUZZ_SECONDS) -rss_limit_mb=4096 \
			build/fuzz/corpus/$$target fuzz/corpus/$$target || exit 1; \
	done

# Pictures of the dialogs, made headless, in build/screenshots/.
screenshots: build
	@$(BUILD_DIR)/tests/wertomat_screenshots build/screenshots
	@QT_SCALE_FACTOR=1.5 $(BUILD_DIR)/tests/wertomat_screenshots build/screenshots/scale-1.5

# Static analysis of our own code on both platforms (scripts/lint): formatting,
# clang-tidy and cppcheck over the Linux and the Windows compile databases.
# Installs only what linting needs.
lint:
	@scripts/install-deps lint
	@scripts/lint

clean:
	@rm -rf build
