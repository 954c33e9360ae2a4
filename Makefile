# Two commands do everything on a fresh machine: `make demo` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: all build demo test asan-test fuzz fuzz-smoke bench format tidy clean

all: build

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD_DIR) -j$(JOBS)

demo: build
	sh scripts/demo.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DMG_SANITIZE=ON -DMG_BENCH=OFF
	cmake --build $(ASAN_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j$(JOBS)

fuzz:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DMG_FUZZ=ON -DMG_TESTS=OFF -DMG_BENCH=OFF
	cmake --build $(FUZZ_DIR) -j$(JOBS)

# Runs each fuzzer for FUZZ_SECONDS on the checked-in seeds.
fuzz-smoke: fuzz
	sh fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

bench: build
	sh bench/run.sh $(BUILD_DIR)

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

tidy: build
	clang-tidy -p $(BUILD_DIR) --quiet $$(git ls-files 'solver/*.cpp' 'generator/*.cpp')

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR)
