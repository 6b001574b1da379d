# The two commands of the README: `make run` and `make test`.
BUILD        ?= build
RELEASE      ?= build-release
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?=

.PHONY: deps test bench configure-test clean

deps:
	@scripts/install-deps

# Tests are built with AddressSanitizer and UndefinedBehaviorSanitizer, so every run is a memory check.
configure-test: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDIALCOVE_SANITIZE=ON \
	  -DDIALCOVE_TESTS=ON $(CMAKE_FLAGS) >/dev/null

test: configure-test
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIALCOVE_TESTS=OFF \
	  -DDIALCOVE_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*Bench; do echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; done

clean:
	rm -rf $(BUILD) $(RELEASE)
