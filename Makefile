# make run            — install dependencies, configure, build and start Calcudex
# make test           — install dependencies, configure, build and run every test
# make test-sanitized — the Qt-free libraries and their tests with ASan + UBSan
# make fuzz           — the libFuzzer targets (clang, ASan + UBSan)
# make fuzz-run T=expr SECONDS=600 — one fuzz target for that long
# make deb            — build the Debian package (build/calcudex_<version>_<arch>.deb)
BUILD ?= build
SANITIZED_BUILD ?= build-sanitized
FUZZ_BUILD ?= build-fuzz
JOBS ?= 2
CMAKE_FLAGS ?=
T ?= expr
SECONDS ?= 600
FUZZ_TARGETS = expr number tex compiler book lists wizard calc

# A sanitizer report ends the program with a failure; leaks count too.
SANITIZER_ENV = ASAN_OPTIONS=abort_on_error=0:detect_leaks=1:strict_string_checks=1 \
                UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: all deps configure build run test bench deb clean test-sanitized fuzz fuzz-run

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

# -O1 and line tables only: the sanitizers' usual build, quicker to compile
# than the normal one and still quick to run.
$(SANITIZED_BUILD)/build.ninja: | deps
	cmake -S . -B $(SANITIZED_BUILD) -G Ninja -DCALCUDEX_SANITIZE=ON -DCALCUDEX_BUILD_GUI=OFF \
	      -DCALCUDEX_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	      "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O1 -g1 -DNDEBUG" \
	      $(CMAKE_FLAGS)

test-sanitized: deps $(SANITIZED_BUILD)/build.ninja
	cmake --build $(SANITIZED_BUILD) -j $(JOBS)
	cd $(SANITIZED_BUILD) && $(SANITIZER_ENV) ctest --output-on-failure -j $(JOBS)

$(FUZZ_BUILD)/build.ninja: | deps
	cmake -S . -B $(FUZZ_BUILD) -G Ninja -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
	      -DCALCUDEX_FUZZ=ON -DCALCUDEX_BUILD_GUI=OFF -DCALCUDEX_BUILD_TESTS=OFF -DCALCUDEX_BUILD_BENCH=OFF \
	      $(CMAKE_FLAGS)

fuzz: deps $(FUZZ_BUILD)/build.ninja
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))

# New inputs go to $(FUZZ_BUILD)/corpus/$(T); the committed seeds are read
# only. The run goes on in a child process (-fork=1), so that an input that
# is merely slow (a series of 100000 terms under the sanitizers) is kept as
# $(FUZZ_BUILD)/crash-$(T)-timeout-* and the search continues; a crash, a
# sanitizer report or running out of memory ends the run and leaves its input
# as $(FUZZ_BUILD)/crash-$(T)-*.
fuzz-run: fuzz
	mkdir -p $(FUZZ_BUILD)/corpus/$(T)
	$(FUZZ_BUILD)/bin/fuzz_$(T) -fork=1 -ignore_timeouts=1 -ignore_ooms=0 -ignore_crashes=0 \
	    -max_total_time=$(SECONDS) -timeout=20 -rss_limit_mb=2048 -close_fd_mask=1 \
	    -artifact_prefix=$(FUZZ_BUILD)/crash-$(T)- $(FUZZ_BUILD)/corpus/$(T) fuzz/corpus/$(T)

deb: build
	cd $(BUILD) && cpack -G DEB

bench: build
	@for b in $(BUILD)/bin/bench_*; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(SANITIZED_BUILD) $(FUZZ_BUILD)
