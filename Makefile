# Hasorin: the two commands a fresh machine needs are `make demo` and `make test`.
BUILD      ?= build
SANBUILD   ?= build-sanitize
JOBS       ?= $(shell nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM ?= offscreen

.PHONY: all deps configure build test demo bench sanitize fuzz clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j$(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j$(JOBS)

demo: build
	./scripts/demo.sh $(BUILD)

bench: build
	./scripts/bench.sh $(BUILD)

sanitize: deps
	cmake -S . -B $(SANBUILD) -DCMAKE_BUILD_TYPE=Debug -DHASORIN_SANITIZE=ON \
	      -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1"
	cmake --build $(SANBUILD) -j$(JOBS)
	cd $(SANBUILD) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j$(JOBS) -LE nosanitize

# The parsers under libFuzzer (clang, build-fuzz/): FUZZ_SECONDS per target, default 60.
fuzz: deps
	./scripts/fuzz.sh

clean:
	rm -rf $(BUILD) $(SANBUILD) build-fuzz
