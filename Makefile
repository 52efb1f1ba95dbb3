# The two commands of this project:
#   make run   installs what is missing, builds in Release and starts vexal25-herald
#   make test  installs what the tests need too, builds and runs every test through CTest, then
#              the same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the programs
#              under ThreadSanitizer, and the module fuzzer for a minute
JOBS ?= $(shell nproc)
FUZZ_SECONDS ?= 3600

.PHONY: run run-drawable build video test test-deps test-plain test-asan test-tsan test-fuzz fuzz clean

build:
	tools/install-deps.sh run
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/src/app/vexal25-herald

run-drawable: build
	./build/release/src/app/vexal25-herald-drawable

# The whole demo for a video site, 1920 x 1080 at 60 fps, H.264 and AAC in MP4:
# build/video/vexal25-herald.mp4. The capture tool's options are in the README.
video:
	tools/install-deps.sh capture
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS) --target capture
	mkdir -p build/video
	./build/release/tools/capture --output build/video/vexal25-herald.mp4

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

clean:
	rm -rf build
