# Two commands do everything on a fresh machine: `make demo` and `make test`.
BUILD_DIR ?= build
ASAN_DIR ?= build-asan
FUZZ_DIR ?= build-fuzz
FUZZ_SOFT_DIR ?= build-fuzz-soft
SOFT_DIR ?= build-soft
WINDOWS_DIR ?= build-windows
ARM64_DIR ?= build-arm64
WEB_DIR ?= build-web
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60

.PHONY: all build programs install package package-windows demo test asan-test soft-test windows windows-build arm64 corpus fuzz fuzz-smoke fuzz-soft fuzz-soft-smoke web web-test web-npm package-web web-screenshot bench screenshots format format-check tidy clean

all: build

build:
	cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DMG_TESTS=ON -DMG_BENCH=ON
	cmake --build $(BUILD_DIR) -j$(JOBS)

# The programs, manual pages, user documents and examples under PREFIX.
install: programs
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# A Debian package and a tarball of the installed tree in $(BUILD_DIR), and a
# check that the unpacked package works like the build tree.
package: build
	cd $(BUILD_DIR) && cpack
	sh tests/package/check-deb.sh $(BUILD_DIR)

# A zip for Windows: Lorvex.exe, Quenby.exe, mgame.exe, README.txt, the licence, the
# format guide, the manual pages as text and the examples.
package-windows: windows-build
	cd $(WINDOWS_DIR) && cpack -G ZIP

# The programs alone, with what is installed beside them (no GoogleTest
# needed): a new build directory is configured without tests and benchmarks,
# which `make build` and `make test` add later; an existing one is kept as it is.
programs:
	@[ -f $(BUILD_DIR)/CMakeCache.txt ] || \
	  cmake -S . -B $(BUILD_DIR) -DCMAKE_BUILD_TYPE=Release -DMG_TESTS=OFF -DMG_BENCH=OFF
	cmake --build $(BUILD_DIR) -j$(JOBS) --target programs

demo: programs
	sh scripts/demo.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j$(JOBS)

# The same tests under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test:
	cmake -S . -B $(ASAN_DIR) -DCMAKE_BUILD_TYPE=Debug -DMG_SANITIZE=ON -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(ASAN_DIR) -j$(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_DIR) --output-on-failure -j$(JOBS)

# The whole suite with the software extended arithmetic in place of the x87
# unit's, as on platforms without the 80-bit type.
soft-test:
	cmake -S . -B $(SOFT_DIR) -DCMAKE_BUILD_TYPE=Release -DMG_SOFT_EXTENDED=ON -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(SOFT_DIR) -j$(JOBS)
	ctest --test-dir $(SOFT_DIR) --output-on-failure -j$(JOBS)
	sh tests/corpus/check.sh $(SOFT_DIR)/solver/Lorvex

# Windows x64 with MinGW-w64: self-contained Lorvex.exe and Quenby.exe; the
# unit and generator tests and the corpus run under Wine.
windows: windows-build
	ctest --test-dir $(WINDOWS_DIR) --output-on-failure -j$(JOBS)
	sh tests/corpus/check.sh $(WINDOWS_DIR)/solver/Lorvex.exe cmake/wine-run.sh

windows-build:
	sh scripts/need-packages.sh x86_64-w64-mingw32-g++-posix:g++-mingw-w64-x86-64 wine:wine groff:groff
	cmake -S . -B $(WINDOWS_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(WINDOWS_DIR) -j$(JOBS)

# 64-bit ARM Linux (software arithmetic): the unit and generator tests and
# the corpus run under qemu-user.
arm64:
	sh scripts/need-packages.sh aarch64-linux-gnu-g++:crossbuild-essential-arm64 qemu-aarch64:qemu-user
	cmake -S . -B $(ARM64_DIR) -DCMAKE_TOOLCHAIN_FILE=cmake/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=Release -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(ARM64_DIR) -j$(JOBS)
	ctest --test-dir $(ARM64_DIR) --output-on-failure -j$(JOBS)
	sh tests/corpus/check.sh $(ARM64_DIR)/solver/Lorvex qemu-aarch64 -L /usr/aarch64-linux-gnu

# The browser build: a static site in $(WEB_DIR)/site (the page, its worker,
# the solver and the generator's draw as WebAssembly, software arithmetic)
# and the solver as a Node program in $(WEB_DIR)/solver/Lorvex.
# Emscripten's tools find their Node packages through NODE_PATH.
EMSCRIPTEN_ENV = NODE_PATH=/usr/share/nodejs
web:
	sh scripts/need-packages.sh emcc:emscripten node:nodejs
	$(EMSCRIPTEN_ENV) emcmake cmake -S web -B $(WEB_DIR) -DCMAKE_BUILD_TYPE=Release
	$(EMSCRIPTEN_ENV) cmake --build $(WEB_DIR) -j$(JOBS)

# The corpus through the Node build, then the page in headless chromium
# compared with the native build's files.
web-test: web build web-npm
	sh tests/corpus/check.sh $(WEB_DIR)/solver/Lorvex node --no-experimental-fetch
	sh tests/browser/web-run.sh $(WEB_DIR)/site $(BUILD_DIR)

# playwright-core from the npm registry, to drive the system's chromium
# (it downloads no browser).
web-npm:
	@[ -d tests/browser/node_modules/playwright-core ] || \
	  { sh scripts/need-packages.sh npm:npm chromium:chromium && cd tests/browser && \
	    PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund; }

# The site as one zip for any static web space.
package-web: web
	rm -f $(WEB_DIR)/matrix-games-web.zip
	cd $(WEB_DIR)/site && cmake -E tar cf ../matrix-games-web.zip --format=zip -- *

web-screenshot: web build web-npm
	sh tests/browser/web-run.sh $(WEB_DIR)/site $(BUILD_DIR) docs/images/web.png

# The committed corpus through the native build.
corpus: build
	sh tests/corpus/check.sh $(BUILD_DIR)/solver/Lorvex

fuzz:
	cmake -S . -B $(FUZZ_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DMG_FUZZ=ON -DMG_TESTS=OFF -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(FUZZ_DIR) -j$(JOBS)

# Runs each fuzzer for FUZZ_SECONDS on the checked-in seeds.
fuzz-smoke: fuzz
	sh fuzz/run.sh $(FUZZ_DIR) $(FUZZ_SECONDS)

# The fuzzers over the software extended arithmetic, as on arm64.
fuzz-soft:
	cmake -S . -B $(FUZZ_SOFT_DIR) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
	  -DMG_FUZZ=ON -DMG_SOFT_EXTENDED=ON -DMG_TESTS=OFF -DMG_BENCH=OFF -DMG_ORACLES=OFF
	cmake --build $(FUZZ_SOFT_DIR) -j$(JOBS)

fuzz-soft-smoke: fuzz-soft
	sh fuzz/run.sh $(FUZZ_SOFT_DIR) $(FUZZ_SECONDS)

bench: build
	sh bench/run.sh $(BUILD_DIR)

# The browser test's picture of a steps page, as the README shows it: needs
# chromium and `npm ci` in tests/browser.
# Refreshes the screenshots that the README shows: the steps page and the web page.
screenshots: build web-screenshot
	sh tests/browser/run.sh $(BUILD_DIR)/solver/Lorvex $(BUILD_DIR)/tests/DrawGame \
	  $(BUILD_DIR)/mgame/mgame $(BUILD_DIR)/screenshots docs/images/steps.png

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

# clang-tidy over everything we write; the fuzzers take their flags from the
# fuzz build.
tidy: build fuzz
	clang-tidy -p $(BUILD_DIR) --quiet $$(git ls-files 'solver/*.cpp' 'generator/*.cpp' 'mgame/*.cpp' 'tests/*.cpp' 'bench/*.cpp' 'oracles/*.cpp')
	clang-tidy -p $(FUZZ_DIR) --quiet $$(git ls-files 'fuzz/*.cpp')

# Fails when a file is not as clang-format writes it.
format-check:
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf $(BUILD_DIR) $(ASAN_DIR) $(FUZZ_DIR) $(FUZZ_SOFT_DIR) $(SOFT_DIR) $(WINDOWS_DIR) $(ARM64_DIR) $(WEB_DIR)
