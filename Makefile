# Two commands do everything on a fresh Debian/Ubuntu machine:
#   make run    install what is missing, configure, build, start the program
#   make test   the same set-up, then every test headless
BUILD     ?= build
BUILDTYPE ?= RelWithDebInfo
ASAN_BUILD ?= build-asan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_SMOKE_SECONDS ?= 4
FUZZERS   = number_text subnet spin_box bandwidth_page compose cli ip_readers
CMAKEFLAGS ?=
JOBS      ?= $(shell nproc)
ifneq ($(CI),)
CMAKEFLAGS += -DTARVELLE_WERROR=ON
endif

.PHONY: all deps configure build run test unit-test sanitize-test fuzz-build fuzz fuzz-smoke format format-check \
        screenshots bench startup-bench package package-test icons clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILDTYPE) $(CMAKEFLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/tarvelle

# Every test three ways: the normal build, the whole suite again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and a few seconds of each fuzzer over its committed corpus; then the Debian
# package of the normal build through lintian and hardening-check.
test: unit-test sanitize-test fuzz-smoke package-test

unit-test: build format-check
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300 -j$(JOBS)

sanitize-test: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DTARVELLE_SANITIZE=ON -DTARVELLE_BUILD_BENCH=OFF $(CMAKEFLAGS)
	cmake --build $(ASAN_BUILD)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
	    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	    ctest --output-on-failure --timeout 600 -j$(JOBS)

fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELLE_FUZZ=ON \
	    $(CMAKEFLAGS)
	cmake --build $(FUZZ_BUILD)

# Each fuzzer for FUZZ_SECONDS; what it learns goes to $(FUZZ_BUILD)/corpus, findings to $(FUZZ_BUILD)/findings.
fuzz: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS) $(FUZZERS)

fuzz-smoke: fuzz-build
	@scripts/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS) $(FUZZERS)

format:
	git ls-files -- '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	scripts/check-format.sh

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/app/tarvelle-screenshots docs

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done
	@$(MAKE) --no-print-directory startup-bench

startup-bench: build
	python3 bench/startup.py $(BUILD)

package: build
	rm -f $(BUILD)/tarvelle_*.deb
	cd $(BUILD) && cpack -G DEB

package-test: package
	scripts/check-package.sh $(BUILD)

icons:
	scripts/make-icons.sh

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(FUZZ_BUILD)
