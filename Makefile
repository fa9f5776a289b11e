# make test: set up the machine, build every preset and run every test.
# make setup | native | sanitize | win32 | win64 | win32-clang | win64-clang: one step of it.
# make test-without-wine32: all of it, and the main job, once more as on a host that cannot install
# 32-bit Wine (scripts/without-wine32.sh); run it whenever the build, the set-up or the tests change.

PRESETS := native sanitize win32 win64
CLANG_PRESETS := win32-clang win64-clang
# Tests run side by side, most of them waiting on Wine; those that share a prefix's keys or a
# display take a lock of them.
TEST_JOBS ?= 4

.PHONY: test test-without-wine32 setup $(PRESETS) $(CLANG_PRESETS) package release fuzz

test: setup $(PRESETS) $(CLANG_PRESETS)

setup:
	bash scripts/setup.sh

test-without-wine32:
	bash scripts/without-wine32.sh

$(PRESETS): setup
	cmake --preset $@
	cmake --build --preset $@
	ctest --preset $@ --parallel $(TEST_JOBS)
	@if [ -f build/$@/wine32-missing.txt ]; then cat build/$@/wine32-missing.txt; fi

# The Windows code once more with clang, for its warnings (-Werror); nothing of it is run.
$(CLANG_PRESETS): setup
	cmake --preset $@
	cmake --build --preset $@

# The release: build/release/Tollvey-<version>-win32.zip with both pairs, a Windows Installer
# package of each pair beside it (Tollvey-<version>-x64.msi, Tollvey-<version>-x86.msi, built with
# wixl from installer/Tollvey.wxs) and SHA256SUMS of the three, made by scripts/make-release.py from
# the programs that the win32 and win64 presets built, with Debian's own Python, not whichever comes
# first on the PATH, so that every build compresses it alike and finds libmsi. Every program, and
# then both packages, is signed when given SIGN_PKCS12=FILE SIGN_PASSWORD_FILE=FILE, and
# time-stamped with SIGN_TIMESTAMP_URL=URL: make-release.py reads the three from its environment,
# where make puts what it was given, so that no character of theirs is taken as shell syntax. make
# release does the same without the set-up.
package: setup
	$(MAKE) release

release:
	cmake --preset win32
	cmake --build --preset win32 --target TollveyCmd Tollvey TollveyCheck TollveyDeploy
	cmake --preset win64
	cmake --build --preset win64 --target TollveyCmd Tollvey TollveyCheck TollveyDeploy
	/usr/bin/python3 scripts/make-release.py --pair32 build/win32 --pair64 build/win64 --source . \
		--output build/release

# A longer fuzz run of the argument set: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 600
fuzz: setup
	cmake --preset sanitize
	cmake --build --preset sanitize --target fuzz_cmdline
	build/sanitize/tests/args/fuzz_cmdline -max_total_time=$(FUZZ_SECONDS) -max_len=512 -print_final_stats=1 \
		build/sanitize/tests/args/fuzz-corpus tests/args/fuzz-seeds
