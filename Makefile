# make run | make test | make test-quick | make bench | make fuzz
# Each installs what is missing, configures and builds first.

BUILD      ?= build
JOBS       ?= $(shell nproc)
FUZZ_TIME  ?= 300
CMAKE_ARGS ?=

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build build-run run test test-quick bench fuzz clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
	    cmake -S . -B $(BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS); \
	fi

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Only what `make run` starts: the program and the sample pictures.
build-run: configure
	@cmake --build $(BUILD) -j $(JOBS) --target velmora velmora_samples

run: build-run
	@scripts/run $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Everything but the slow runs (the one-minute fuzz run): seconds, for the edit loop.
test-quick: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS) -LE slow

bench: build
	@scripts/bench $(BUILD)

fuzz: build
	@scripts/fuzz $(BUILD) $(FUZZ_TIME)

clean:
	rm -rf $(BUILD)
