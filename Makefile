# The two commands: `make play` and `make test`. Both install what is missing,
# configure and build first.
BUILD ?= build
JOBS ?= $(shell nproc)
ARGS ?=
CMAKE_FLAGS ?=
XVFB = xvfb-run -a -s "-screen 0 1280x1024x24"

.PHONY: all deps configure build play test sanitize format check-format check-layers bench fuzz clean

all: build

deps:
	@tools/deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSPOOKHOLLOW_WERROR=ON $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j$(JOBS)

play: build
	cd $(BUILD)/game && ./spookhollow $(ARGS)

# Message boxes go to standard error in tests, so nothing waits on a click.
test: build check-layers
	@if [ -n "$$DISPLAY" ]; then \
	    cd $(BUILD) && SPOOKHOLLOW_MESSAGE_BOX=stderr ctest --output-on-failure -j$(JOBS); \
	else \
	    cd $(BUILD) && SPOOKHOLLOW_MESSAGE_BOX=stderr $(XVFB) ctest --output-on-failure -j$(JOBS); \
	fi

# Everything built and tested with AddressSanitizer and UndefinedBehaviorSanitizer.
sanitize:
	$(MAKE) test BUILD=build-sanitize CMAKE_FLAGS="-DCMAKE_BUILD_TYPE=Debug -DSPOOKHOLLOW_SANITIZE=ON"

check-layers:
	@tools/check_layers.sh

format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format -i

check-format:
	find src tests tools bench -name '*.cpp' -o -name '*.h' | xargs clang-format --dry-run --Werror

bench: deps
	cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSPOOKHOLLOW_BENCH=ON -DSPOOKHOLLOW_TESTS=OFF
	cmake --build build-bench -j$(JOBS)
	cd build-bench && for b in bench/bench_*; do $(XVFB) ./$$b; done

clean:
	rm -rf $(BUILD) build-sanitize build-bench build-fuzz
