# Two commands do everything on a fresh Debian/Ubuntu machine:
#   make run    install what is missing, configure, build, start the program
#   make test   the same set-up, then every test headless
BUILD     ?= build
BUILDTYPE ?= RelWithDebInfo
CMAKEFLAGS ?=
ifneq ($(CI),)
CMAKEFLAGS += -DTARVELLE_WERROR=ON
endif

.PHONY: all deps configure build run test format format-check screenshots bench package icons clean

all: build

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=$(BUILDTYPE) $(CMAKEFLAGS)

build: configure
	cmake --build $(BUILD)

run: build
	$(BUILD)/app/tarvelle

test: build format-check
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --timeout 300

format:
	git ls-files -- '*.cpp' '*.h' | xargs clang-format -i

format-check: deps
	scripts/check-format.sh

screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/app/tarvelle-screenshots docs

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b; done

package: build
	cd $(BUILD) && cpack -G DEB

icons:
	scripts/make-icons.sh

clean:
	rm -rf $(BUILD)
