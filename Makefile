# The two commands: `make play` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=
CMAKE_FLAGS ?=
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"
# Every window test runs on an X server of its own (ctest starts one per
# case), so tests need no display and run side by side.
CTEST = ctest --output-on-failure -j$(JOBS)

# Where `make install` puts the game; DESTDIR stages it elsewhere as usual.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps configure build play install package check test sanitize format check-format check-layers bench fuzz soak clean

all: build

deps:
	@tools/deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPOOKHOLLOW_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

play: build
	cd $(BUILD)/game && ./spookhollow $(ARGS)

# The executable in $(PREFIX)/games, its data in $(PREFIX)/share/games/spookhollow,
# the desktop entry, icons, metainfo and man page in their usual places.
install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# A Debian package (prefix /usr) in $(BUILD)/.
package: build
	cd $(BUILD) && cpack -G DEB

# The tests are labelled by tier (see tests/CMakeLists.txt): unit, gl, e2e
# and long. `make check` is the inner loop (unit and gl tests and the layer
# check); `make test` runs every tier. Message boxes go to standard error in
# tests, so nothing waits on a click.
check: build check-layers
	cd $(BUILD) && SPOOKHOLLOW_MESSAGE_BOX=stderr $(CTEST) -L '^(unit|gl)$$'

test: build check-layers
	cd $(BUILD) && SPOOKHOLLOW_MESSAGE_BOX=stderr $(CTEST)

# Built with AddressSanitizer and UndefinedBehaviorSanitizer: the unit and gl
# tiers, and beside them one whole game and the two-minute monkey soak (the
# other end-to-end and long tests drive the same code as the whole game,
# several times slower). The game data comes from the normal build, which is
# built first: the generator writes the same bytes in either build. The test
# cases are listed once before the two ctest runs start, because each run
# would otherwise rewrite the lists of freshly built test binaries while the
# other reads them.
SANITIZE_BUILD = build-sanitize
SANITIZE_E2E = PlayThrough.FromIntroToHighScoreTableAndQuit|Soak\.
sanitize: build
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DSPOOKHOLLOW_SANITIZE=ON \
	    -DSPOOKHOLLOW_WERROR=ON -DSPOOKHOLLOW_DATA=OFF \
	    -DSPOOKHOLLOW_DATA_FROM=$(abspath $(BUILD))/game/resources
	cmake --build $(SANITIZE_BUILD) -j$(JOBS)
	@cd $(SANITIZE_BUILD) && export SPOOKHOLLOW_MESSAGE_BOX=stderr && \
	    ctest -N > /dev/null && \
	    { ctest --output-on-failure -j2 -R '$(SANITIZE_E2E)' > e2e-tests.log 2>&1 & games=$$!; \
	      $(CTEST) -L '^(unit|gl)$$'; parts=$$?; \
	      wait $$games; whole=$$?; cat e2e-tests.log; \
	      test $$parts -eq 0 && test $$whole -eq 0; }

check-layers:
	@tools/check_layers.sh

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

check-format: deps
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSPOOKHOLLOW_BENCH=ON -DSPOOKHOLLOW_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	cd build-bench && for b in bench/bench_*; do $(XVFB) ./$$b; done

# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS or
# FUZZ_RUNS executions, whichever ends first, one after the other, from the
# committed seeds and regression inputs. New inputs go to build-fuzz/corpus/,
# crashes to build-fuzz/crash-*. The targets write each input to a scratch
# file, so they run in FUZZ_TMPDIR, memory-backed where there is one.
FUZZ_SECONDS ?= 60
FUZZ_RUNS ?= -1
FUZZ_TMPDIR ?= $(shell [ -d /dev/shm ] && [ -w /dev/shm ] && echo /dev/shm || echo /tmp)
FUZZ_TARGETS = tga png qvr scene_text font_metrics config_ini control_cfg pad_cfg data_dat map demo
fuzz: deps
	CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DSPOOKHOLLOW_FUZZ=ON -DSPOOKHOLLOW_TESTS=OFF -DSPOOKHOLLOW_DATA=OFF
	cmake --build build-fuzz -j$(JOBS) --target $(addprefix fuzz_,$(FUZZ_TARGETS))
	@for t in $(FUZZ_TARGETS); do \
	    work=$(CURDIR)/build-fuzz/corpus/$$t; mkdir -p $$work; \
	    dirs="$$work $(CURDIR)/tests/fuzz/corpus/$$t"; \
	    if [ -d tests/fuzz/regressions/$$t ]; then dirs="$$dirs $(CURDIR)/tests/fuzz/regressions/$$t"; fi; \
	    echo "== fuzz_$$t for $(FUZZ_SECONDS) s"; \
	    TMPDIR=$(FUZZ_TMPDIR) build-fuzz/tests/fuzz/fuzz_$$t $$dirs -max_total_time=$(FUZZ_SECONDS) \
	        -runs=$(FUZZ_RUNS) -timeout=60 \
	        -artifact_prefix=$(CURDIR)/build-fuzz/crash-$$t- -print_final_stats=1 || exit 1; \
	done

# The monkey soak in the normal build for SOAK_SECONDS (30 minutes unless
# given), with the seed SOAK_SEED; resident memory every 10 s goes to
# $(BUILD)/tests/soak/soak_artifacts/soak_memory.txt. The sanitizer build
# runs it for two minutes as part of `make sanitize`.
SOAK_SECONDS ?= 1800
SOAK_SEED ?= 14
soak: build
	cd $(BUILD)/tests/soak && SPOOKHOLLOW_SOAK_SECONDS=$(SOAK_SECONDS) SPOOKHOLLOW_SOAK_SEED=$(SOAK_SEED) \
	    SPOOKHOLLOW_MESSAGE_BOX=stderr $(CURDIR)/tests/support/on_private_display.sh \
	    ./test_soak_e2e --gtest_filter='Soak.*'

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz
