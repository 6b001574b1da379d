# The two commands of the README: `make run` and `make test`; `make gallery` renders the UI kit
# and the app's search panel, `make snapshots` the program's snapshot states; `make install`,
# `make uninstall` and `make package` install Dialcove, remove it and build its Debian package.
BUILD        ?= build
RELEASE      ?= build-release
RUN_BUILD    ?= build-run
JOBS         ?= $(shell nproc)
CMAKE_FLAGS  ?=
FUZZ_BUILD   ?= build-fuzz
FUZZ_TIME    ?= 60
FUZZ_RUNS    ?= 20000
PREFIX       ?= $(HOME)/.local

.PHONY: deps run test bench gallery snapshots configure-test clean fuzz fuzz-build fuzz-check \
        install uninstall package run-build

deps:
	@scripts/install-deps

# Dialcove itself, built without sanitizers in a folder of its own, in the foreground: quit from the
# panel (Ctrl+Q), or with Ctrl+C here.
run: run-build
	@$(RUN_BUILD)/Dialcove/dialcove

run-build: deps
	@cmake -S . -B $(RUN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DDIALCOVE_TESTS=OFF $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RUN_BUILD) -j $(JOBS) --target dialcove

# The `make run` build installed under PREFIX (~/.local, no sudo): the program in bin/, its menu
# entry, icons and metainfo under share/. `make uninstall` (same PREFIX) removes those files.
install: run-build
	@cmake --install $(RUN_BUILD) --prefix $(PREFIX) --strip
	@case ":$$PATH:" in *":$(PREFIX)/bin:"*) ;; *) echo "note: $(PREFIX)/bin is not on PATH; the menu entry starts Dialcove all the same";; esac

uninstall:
	@rm -fv $(PREFIX)/bin/dialcove $(PREFIX)/share/applications/works.murvel.dialcove.desktop \
	  $(PREFIX)/share/metainfo/works.murvel.dialcove.metainfo.xml \
	  $(PREFIX)/share/icons/hicolor/scalable/apps/works.murvel.dialcove.svg \
	  $(PREFIX)/share/icons/hicolor/scalable/status/works.murvel.dialcove-*-symbolic.svg

# A Debian package of the `make run` build, stripped, for /usr: $(RUN_BUILD)/dialcove_<version>_<arch>.deb.
package: run-build
	@cd $(RUN_BUILD) && cpack -G DEB | sed -n 's/^CPack: - package: //p'

# Tests are built with AddressSanitizer and UndefinedBehaviorSanitizer, so every run is a memory check.
configure-test: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DDIALCOVE_SANITIZE=ON \
	  -DDIALCOVE_TESTS=ON $(CMAKE_FLAGS) >/dev/null

test: configure-test
	@cmake --build $(BUILD) -j $(JOBS)
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)
	@$(MAKE) --no-print-directory fuzz-check

# Every UI kit component, light and dark, and the app's views (the search panel in its states, the
# preferences window), light, dark and at the largest text size, as PNG files under $(BUILD)/gallery/.
gallery: configure-test
	@cmake --build $(BUILD) -j $(JOBS) --target MurvelUIGallery DialcoveGallery DialcoveStatusIconGallery
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp QT_QPA_PLATFORM=offscreen $(BUILD)/tests/MurvelUI/gallery/MurvelUIGallery $(BUILD)/gallery
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp QT_QPA_PLATFORM=offscreen $(BUILD)/tests/Dialcove/gallery/DialcoveGallery $(BUILD)/gallery
	@LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp QT_QPA_PLATFORM=offscreen $(BUILD)/tests/DialcoveStatusIcons/DialcoveStatusIconGallery $(BUILD)/gallery

# Every snapshot state of the program, from its real window on a private Xvfb, as PNG files under
# $(BUILD)/snapshots/, with the checks of scripts/snapshots.
snapshots: configure-test
	@cmake --build $(BUILD) -j $(JOBS) --target dialcove
	@DIALCOVE_BINARY=$(abspath $(BUILD))/Dialcove/dialcove SNAPSHOT_DIR=$(abspath $(BUILD))/snapshots scripts/snapshots

# Each benchmark runs on a private Xvfb: the start-up bench times the program on a display.
bench: deps
	@cmake -S . -B $(RELEASE) -G Ninja -DCMAKE_BUILD_TYPE=Release -DDIALCOVE_TESTS=OFF \
	  -DDIALCOVE_BENCH=ON $(CMAKE_FLAGS) >/dev/null
	@cmake --build $(RELEASE) -j $(JOBS)
	@for b in $(RELEASE)/bench/*Bench; do echo "== $$b"; scripts/with-xvfb "$$b" $(BENCH_ARGS) || exit 1; done

# The fuzz targets under libFuzzer (clang, apart from the g++ build), each as
# target:seed folder under fuzz/corpus:longest input.
FUZZERS := VCardFuzzer:vcard:16384 ManifestFuzzer:manifest:66000

fuzz-build: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# Fuzzes each target for FUZZ_TIME seconds. New inputs go to fuzz/corpus-run/<seed folder> (the
# seeds stay as committed); a crashing input is written to $(FUZZ_BUILD)/.
fuzz: fuzz-build
	@for entry in $(FUZZERS); do \
	  target=$${entry%%:*}; rest=$${entry#*:}; seeds=$${rest%%:*}; len=$${rest#*:}; \
	  mkdir -p fuzz/corpus-run/$$seeds; \
	  $(FUZZ_BUILD)/$$target -max_total_time=$(FUZZ_TIME) -max_len=$$len -artifact_prefix=$(FUZZ_BUILD)/ \
	    fuzz/corpus-run/$$seeds fuzz/corpus/$$seeds || exit 1; \
	done

# The short, repeatable run that `make test` ends with: FUZZ_RUNS inputs per target from a fixed
# seed. What it finds goes to a scratch folder emptied each time, so every run starts from the
# same seeds.
fuzz-check: fuzz-build
	@for entry in $(FUZZERS); do \
	  target=$${entry%%:*}; rest=$${entry#*:}; seeds=$${rest%%:*}; len=$${rest#*:}; \
	  log=$(FUZZ_BUILD)/fuzz-check-$$seeds.log; scratch=$(FUZZ_BUILD)/check-corpus-$$seeds; \
	  rm -rf $$scratch; mkdir -p $$scratch; \
	  $(FUZZ_BUILD)/$$target -runs=$(FUZZ_RUNS) -seed=1 -max_len=$$len -artifact_prefix=$(FUZZ_BUILD)/ \
	    $$scratch fuzz/corpus/$$seeds >$$log 2>&1; status=$$?; \
	  if [ $$status -ne 0 ]; then tail -n 80 $$log; echo "fuzz: $$target failed (log: $$log)"; exit $$status; fi; \
	  echo "fuzz: $(FUZZ_RUNS) inputs through $$target without a fault"; \
	done

clean:
	rm -rf $(BUILD) $(RELEASE) $(RUN_BUILD) $(FUZZ_BUILD)
