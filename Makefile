# Entry points for a fresh Debian 12 machine:
#   make run    installs what is missing, builds, starts the editor on the sample menu
#   make test   installs what is missing, builds, runs every test (also under ASan/UBSan)
#   make host   installs what is missing, builds, starts VrelHost on the sample menu
# Further targets: make setup | build | check (tests without the sanitizer build) | bench

PACKAGES := cmake ninja-build g++ make qt6-base-dev qt6-qpa-plugins qt6-translations-l10n zlib1g-dev time \
            libpugixml-dev libbenchmark-dev fonts-nanum xvfb xauth
BUILD    ?= build
ASAN     ?= build-asan
SUDO     := $(shell [ "$$(id -u)" = 0 ] || echo sudo)
JOBS     ?= $(shell nproc)
SAMPLE   := examples/sample.dat

.PHONY: setup build run host test check asan-test bench

setup:
	@missing=$$(for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing: $$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: setup
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/Brenvik $(SAMPLE)

host: build
	$(BUILD)/bin/VrelHost $(SAMPLE)

check: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

asan-test: setup
	cmake -S . -B $(ASAN) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVREL_SANITIZE=ON
	cmake --build $(ASAN) -j $(JOBS)
	cd $(ASAN) && QT_QPA_PLATFORM=offscreen \
	  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
	  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  ctest --output-on-failure -j $(JOBS)

test: check asan-test

bench: build
	$(BUILD)/bin/vrel_bench
	$(BUILD)/bin/vrel_editor_bench
