# The two commands of the README: `make run` and `make test`; `make gallery` renders the UI kit.
BUILD        ?= build
RELEASE      ?= build-release
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?=

.PHONY: deps test bench gallery configure-test clean

deps:
	@scripts/install-deps

# Tests are built with AddressSanitizer and UndefinedBehaviorSanitizer, so every run is a memory check.
configure-test: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDIALCOVE_SANITIZE=ON \
	  -DDIALCOVE_TESTS=ON $(CMAKE_FLAGS) >/dev/null

test: configure-test
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Every UI kit component, light and dark, as PNG files under $(BUILD)/gallery/.
gallery: configure-test
	@cmake --build $(BUILD) -j $(JOBS) --target MurvelUIGallery
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp QT_QPA_PLATFORM=offscreen $(BUILD)/tests/MurvelUI/gallery/MurvelUIGallery $(BUILD)/gallery

bench: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIALCOVE_TESTS=OFF \
	  -DDIALCOVE_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*Bench; do echo "== $$b"; "$$b" $(BENCH_ARGS) || exit 1; done

clean:
	rm -rf $(BUILD) $(RELEASE)
