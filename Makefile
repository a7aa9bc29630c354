# The two commands a newcomer needs are `make play` and `make test`;
# both install what is missing, configure and build first.

BUILD      := build
ASAN_BUILD := build/asan
GENERATOR  := Ninja
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all deps configure build play test test-fast test-asan clean

all: build

deps:
	@sh tools/ensure-packages.sh

configure: deps
	@cmake -S . -B $(BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

play: build
	cd $(BUILD)/game && ./keravon

test-fast: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan: deps
	@cmake -S . -B $(ASAN_BUILD) -G $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DKRV_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

test: test-fast test-asan

clean:
	rm -rf $(BUILD)
