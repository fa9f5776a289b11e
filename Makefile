# make test: set up the machine, build every preset and run every test.
# make setup | native | sanitize | win32 | win32-clang: one step of it.

PRESETS := native sanitize win32

.PHONY: test setup $(PRESETS) win32-clang package fuzz

test: setup $(PRESETS) win32-clang

setup:
	bash scripts/setup.sh

$(PRESETS): setup
	cmake --preset $@
	cmake --build --preset $@
	ctest --preset $@

# The Windows code once more with clang, for its warnings (-Werror); nothing of it is run.
win32-clang: setup
	cmake --preset win32-clang
	cmake --build --preset win32-clang

# The release archive: build/win32/release/Tollvey-<version>-win32.zip. Both programs are signed
# when given SIGN_PKCS12=FILE SIGN_PASSWORD_FILE=FILE, and time-stamped with SIGN_TIMESTAMP_URL=URL.
# Paths are made absolute here, as the archive is made from inside the build folder.
signing_path = $(if $(1),"$$(realpath -m -- '$(1)')")
package: setup
	cmake --preset win32
	SIGN_PKCS12=$(call signing_path,$(SIGN_PKCS12)) SIGN_PASSWORD_FILE=$(call signing_path,$(SIGN_PASSWORD_FILE)) \
		SIGN_TIMESTAMP_URL='$(SIGN_TIMESTAMP_URL)' cmake --build --preset win32 --target release

# A longer fuzz run of the argument set: make fuzz FUZZ_SECONDS=600
FUZZ_SECONDS ?= 600
fuzz: setup
	cmake --preset sanitize
	cmake --build --preset sanitize --target fuzz_cmdline
	build/sanitize/tests/args/fuzz_cmdline -max_total_time=$(FUZZ_SECONDS) -max_len=512 -print_final_stats=1 \
		build/sanitize/tests/args/fuzz-corpus tests/args/fuzz-seeds
