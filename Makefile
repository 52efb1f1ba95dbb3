# The two commands of this project:
#   make run   installs what is missing, builds in Release and starts vexal25-herald
#   make test  installs what the tests need too, builds and runs every test through CTest, then
#              the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the programs
#              under ThreadSanitizer, and the module fuzzer for a minute
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 3600

.PHONY: run run-drawable build test test-deps test-plain test-asan test-tsan test-fuzz fuzz clean \
  web serve-web test-web test-web-helpers

build:
	tools/install-deps.sh run
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/src/app/vexal25-herald

run-drawable: build
	./build/release/src/app/vexal25-herald-drawable

# One after the other: each step uses every core, and the first failure stops the rest.
test:
	$(MAKE) test-plain
	$(MAKE) test-asan
	$(MAKE) test-tsan
	$(MAKE) test-fuzz

test-deps:
	tools/install-deps.sh test

test-plain: test-deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON
	cmake --build build/test -j $(JOBS)
	ctest --test-dir build/test --output-on-failure -j $(JOBS)

# Every test but the long ones and the style checks (the plain run has done those), then a whole
# run of each program with the window pushed around.
test-asan: test-deps
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=address,undefined
	cmake --build build/asan -j $(JOBS)
	ctest --test-dir build/asan --output-on-failure -j $(JOBS) -LE 'long|style'
	ctest --test-dir build/asan --output-on-failure -j $(JOBS) -L soak

# Only the two programs are built: the test is theirs, with the audio thread running.
test-tsan: test-deps
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=thread
	cmake --build build/tsan -j $(JOBS) --target vexal25-herald vexal25-herald-drawable
	ctest --test-dir build/tsan --output-on-failure -j $(JOBS) -L threads

# The fuzz build: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
FUZZ_CONFIGURE = cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBUILD_TESTING=OFF -DHERALD_WERROR=ON -DHERALD_SANITIZE=address,undefined -DHERALD_FUZZ=ON

# The module fuzzer for 60 s from the committed seeds, and the check that the seeds are current.
test-fuzz: test-deps
	$(FUZZ_CONFIGURE) -DHERALD_FUZZ_SECONDS=60
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz make_corpus
	ctest --test-dir build/fuzz --output-on-failure -j $(JOBS) -L fuzz
	@grep -E '^(#[0-9]+|stat::|module fuzzer:)' build/fuzz/Testing/Temporary/LastTest.log

# A long fuzzing session (an hour by default); what it finds accumulates in build/fuzz/corpus.
fuzz: test-deps
	$(FUZZ_CONFIGURE)
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz
	tools/run-fuzz.sh build/fuzz/tests/fuzz/module_fuzz $(FUZZ_SECONDS) build/fuzz/corpus

# The browser build: SDL2 built once for Emscripten from Debian's source package (build/web-sdl2),
# then both programs and the page into build/web. Emscripten's tools need Debian's Node.js modules.
WEB_ENV = NODE_PATH=/usr/share/nodejs
WEB_PORT ?= 8025

web:
	tools/install-deps.sh web
	sdl2=$$($(WEB_ENV) web/build-sdl2.sh build/web-sdl2) && \
	  $(WEB_ENV) emcmake cmake -S . -B build/web-build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	    -DHERALD_WERROR=ON -DSDL2_DIR=$$sdl2/lib/cmake/SDL2 -DHERALD_WEB_OUTPUT=$(CURDIR)/build/web
	$(WEB_ENV) cmake --build build/web-build -j $(JOBS)

# Serves build/web on 127.0.0.1 (port WEB_PORT) and prints the address to open.
serve-web: web
	node web/serve.mjs build/web $(WEB_PORT)

# The native tools the browser tests compare with (offline frames, the song, the image
# distance), built in the native test build.
test-web-helpers: test-deps
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON
	cmake --build build/test -j $(JOBS) --target timeline_sheet_logical timeline_sheet_drawable scenes_compare export_wav

web/node_modules/.package-lock.json: web/package.json web/package-lock.json
	cd web && npm ci --no-audit --no-fund

# The browser tests in headless Chromium, one line per test; the whole 114-second run goes
# beside the others.
test-web: web test-web-helpers web/node_modules/.package-lock.json
	node --test --test-reporter=spec --test-concurrency=2 tests/web/*.test.mjs

clean:
	rm -rf build
