# make run  — install dependencies, configure, build and start Calcudex
# make test — install dependencies, configure, build and run every test
# make deb  — build the Debian package (build/calcudex_<version>_<arch>.deb)
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=

.PHONY: all deps configure build run test bench deb clean

all: build

deps:
	@scripts/install-deps.sh

# The packages must be there before CMake looks for them, also under make -j.
$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	@if [ -x $(BUILD)/bin/calcudex ]; then $(BUILD)/bin/calcudex; \
	else $(BUILD)/bin/calcudex-cli books; fi

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

deb: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD)
