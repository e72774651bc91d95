# make run | make test | make test-quick | make bench | make fuzz
# Each installs what is missing, configures and builds first.
# make format-check | make format | make lint: the sources' shape (clang-format, clang-tidy).

BUILD      ?= build
JOBS       ?= $(shell nproc)
FUZZ_TIME  ?= 300
CMAKE_ARGS ?=
LINT_JOBS  ?= 2
# Our sources, for clang-format; clang-tidy (scripts/lint) takes the non-test ones.
FORMAT_DIRS = metadata reading presentation framework shell tools resources decoder tests bench fuzz

MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build build-run run test test-quick bench fuzz format format-check lint clean

all: build

deps:
	@scripts/install-deps

# A first configure picks the compiler; CMAKE_ARGS given later still apply
# (.ci/run turns on -Werror with -DVELMORA_WERROR=ON).
configure: deps
	@if [ ! -f $(BUILD)/CMakeCache.txt ]; then \
	    cmake -S . -B $(BUILD) -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_ARGS); \
	elif [ -n "$(CMAKE_ARGS)" ]; then \
	    cmake -S . -B $(BUILD) $(CMAKE_ARGS); \
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

format-check: deps
	@find $(FORMAT_DIRS) -name '*.cpp' -o -name '*.h' | sort | xargs clang-format --dry-run --Werror
	@echo "format-check: every file is formatted"

format: deps
	@find $(FORMAT_DIRS) -name '*.cpp' -o -name '*.h' | sort | xargs clang-format -i

# clang-tidy needs only the configured tree (compile_commands.json), no build.
lint: configure
	@scripts/lint $(BUILD) $(LINT_JOBS)

clean:
	rm -rf $(BUILD)
