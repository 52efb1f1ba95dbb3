# The two commands of this project:
#   make run   installs what is missing, builds in Release and starts vexal25-herald
#   make test  installs what the tests need too, builds and runs every test through CTest, the
#              same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the programs
#              under ThreadSanitizer, and the module fuzzer for a minute
JOBS ?= $(shell nproc)
# Every build tree is made for Ninja, SDL2's in tools/build-sdl2.sh included, unless the
# environment names another generator (a tree made before keeps the generator it was made with).
# Ninja starts each compiler itself, where CMake's makefiles run make again for every target and
# scan dependencies on their own: a tenth less time for a whole build, and less for each of
# SDL2's 160 configuration checks, each a small build of its own.
export CMAKE_GENERATOR ?= Ninja
FUZZ_SECONDS ?= 3600
# The stages of make test, each checked in a build directory of its own.
# The checks that wait longest on the clock (whole runs of the programs, Wine, the browser) belong
# to the early stages and run beside the later builds; the last builds' checks are short. The
# AddressSanitizer build, the costliest, comes second, beside the plain checks' programs, which
# run 10 steps nicer: built after the browser's, beside the browser checks, it took 383 s and
# 441 s instead of about 210. The style checks come last, beside those short checks: they need
# only processor time, and beside the builds they took it from the programs under test, which
# then started too slowly for their tests' time limits.
STAGES = plain asan web windows linux tsan fuzz release style

# The native tools the page and the release are made with (the party facts, the info file, the
# screenshot) come from a Release tree of their own; the test stages take them from the plain
# test tree, which has built the same tools from the same sources with the same flags.
TOOLS_TREE ?= build/release
TOOLS_CONFIGURE = [ -f $(TOOLS_TREE)/CMakeCache.txt ] || \
  cmake -S . -B $(TOOLS_TREE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF

.PHONY: run run-drawable build video release release-tools release-zip test test-deps fuzz linux windows web web-file serve-web clean $(foreach s,$(STAGES),test-$(s) build-$(s) check-$(s))

build:
	tools/install-deps.sh run
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

# Without a sound output the program ends at once with status 1; run-demo.sh says so.
run: build
	@MAKE_TARGET=run tools/run-demo.sh ./build/release/src/app/vexal25-herald

run-drawable: build
	@MAKE_TARGET=run-drawable tools/run-demo.sh ./build/release/src/app/vexal25-herald-drawable

# The whole demo for a video site, 1920 x 1080 at 60 fps, H.264 and AAC in MP4:
# build/video/vexal25-herald.mp4. The capture tool's options are in the README.
video:
	tools/install-deps.sh capture
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS) --target capture
	mkdir -p build/video
	./build/release/tools/capture --output build/video/vexal25-herald.mp4

# The archive the scene publishes, build/dist/vexal25-herald.zip (the Windows programs, the Linux
# folder, the browser version in one file, the info file, the screenshot and the licences; see
# release/pack-release.sh), and the video beside it, build/dist/vexal25-herald.mp4. Each piece is
# made by its own target or reused when built; a failed step says which in one line and leaves
# no partial archive.
release:
	tools/install-deps.sh release capture
	$(MAKE) release-zip
	MAKE="$(MAKE)" JOBS=$(JOBS) release/pack-release.sh video

# The info file's and the screenshot's tools, for release/pack-release.sh.
release-tools:
	$(TOOLS_CONFIGURE)
	cmake --build $(TOOLS_TREE) -j $(JOBS) --target invitation_facts screenshot

release-zip:
	tools/install-deps.sh release
	MAKE="$(MAKE)" JOBS=$(JOBS) TOOLS_TREE=$(TOOLS_TREE) release/pack-release.sh zip

# Every check, each in its own build directory: the plain build with the whole suite, the
# AddressSanitizer build with the suite and the soak runs, the ThreadSanitizer build with the
# audio thread running, a minute of fuzzing, the Windows programs under Wine and the browser
# build in headless Chromium.
# tools/test-all.sh builds them one after the other with every core and runs each build's
# checks in the background while the next builds.
# While the first stages build, the later stages' packages install (the style checks' among
# them) and the Linux folder's test system is made, once per machine (a minute of downloading
# and unpacking, at a lower priority than the builds). Should that fail, the test that needs the
# system makes it again and says why.
PREPARE_BESIDE = tools/install-deps.sh style web windows linux linux-test release && \
  { nice -n 10 tests/linux/make_chroot.sh build/linux-chroot || true; }
test:
	tools/install-deps.sh test
	tools/test-all.sh --prepare-beside "$(PREPARE_BESIDE)" $(STAGES)

test-deps:
	tools/install-deps.sh test style

# Each stage alone: test-STAGE is build-STAGE then check-STAGE.
$(addprefix test-,$(STAGES)): test-%: test-deps
	$(MAKE) build-$*
	$(MAKE) check-$*

PLAIN_CONFIGURE = cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON

build-plain:
	$(PLAIN_CONFIGURE)
	cmake --build build/test -j $(JOBS)

# The long tests mostly wait on the clock beside each other; the rest are quick or use every core.
check-plain:
	ctest --test-dir build/test --output-on-failure -j 8 -LE style

# clang-format and clang-tidy over the plain build's sources (build-plain made its database).
build-style:
	tools/install-deps.sh style
	[ -f build/test/compile_commands.json ] || $(MAKE) build-plain

check-style:
	ctest --test-dir build/test --output-on-failure -L style

build-asan:
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=address,undefined
	cmake --build build/asan -j $(JOBS)

# Every test but the long ones and the style checks (the plain run has done those), and beside
# them a whole run of each program with the window pushed around.
check-asan:
	@mkdir -p build/logs
	ctest --test-dir build/asan --output-on-failure -j 2 -L soak >build/logs/asan-soak.log 2>&1 & soak=$$!; \
	ctest --test-dir build/asan --output-on-failure -j $(JOBS) -LE 'long|style'; status=$$?; \
	wait $$soak || status=1; cat build/logs/asan-soak.log; exit $$status

# Only the two programs are built: the test is theirs, with the audio thread running.
build-tsan:
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=thread
	cmake --build build/tsan -j $(JOBS) --target vexal25-herald vexal25-herald-drawable

check-tsan:
	ctest --test-dir build/tsan --output-on-failure -j 2 -L threads

# The fuzz build: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
FUZZ_CONFIGURE = cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBUILD_TESTING=OFF -DHERALD_WERROR=ON -DHERALD_SANITIZE=address,undefined -DHERALD_FUZZ=ON

# The module fuzzer for 60 s from the committed seeds, and the check that the seeds are current.
build-fuzz:
	$(FUZZ_CONFIGURE) -DHERALD_FUZZ_SECONDS=60
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz make_corpus

check-fuzz:
	ctest --test-dir build/fuzz --output-on-failure -j $(JOBS) -L fuzz
	@grep -E '^(#[0-9]+|stat::|module fuzzer:)' build/fuzz/Testing/Temporary/LastTest.log

# A long fuzzing session (an hour by default); what it finds accumulates in build/fuzz/corpus.
fuzz: test-deps
	$(FUZZ_CONFIGURE)
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz
	tools/run-fuzz.sh build/fuzz/tests/fuzz/module_fuzz $(FUZZ_SECONDS) build/fuzz/corpus

# Linux: both programs for any x86-64 Linux desktop with glibc 2.35 or newer, against SDL2 built
# once from Debian's source package as a shared library (build/linux-sdl2), laid out with that
# library in build/linux/vexal25-herald-linux-x86_64.
LINUX_CONFIGURE = cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DHERALD_WERROR=ON \
  -DHERALD_LINUX_FOLDER=ON -DSDL2_DIR=$(CURDIR)/build/linux-sdl2/install/lib/cmake/SDL2

linux:
	tools/install-deps.sh linux
	JOBS=$(JOBS) tools/build-sdl2.sh linux build/linux-sdl2 >/dev/null
	$(LINUX_CONFIGURE)
	cmake --build build/linux -j $(JOBS) --target linux_folder

# The folder in a minimal Debian 13 system of its own (build/linux-chroot, made once by the
# checks), with the end-to-end scripts and tools of the native test build.
build-linux: linux
	tools/install-deps.sh linux-test
	[ -f build/test/CMakeCache.txt ] || $(PLAIN_CONFIGURE)
	cmake --build build/test -j $(JOBS) --target audio_disk_check close_window
	$(LINUX_CONFIGURE) -DHERALD_NATIVE_BUILD=$(CURDIR)/build/test -DHERALD_LINUX_CHROOT=$(CURDIR)/build/linux-chroot

check-linux:
	ctest --test-dir build/linux --output-on-failure -j 2

# Windows: both programs cross-built with MinGW-w64 against SDL2 built once from Debian's source
# package (build/windows-sdl2), packed into build/windows/vexal25-herald-windows-x86_64.zip.
WINDOWS_CONFIGURE = cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=windows/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DHERALD_WERROR=ON \
  -DSDL2_DIR="$$(JOBS=$(JOBS) tools/build-sdl2.sh mingw build/windows-sdl2)/lib/cmake/SDL2"

windows:
	tools/install-deps.sh windows
	$(WINDOWS_CONFIGURE)
	cmake --build build/windows -j $(JOBS) --target windows_zip

# The zip's programs under Wine, each test in its own Xvfb display and Wine prefix, judged and
# compared with the song by tools of the native test build (make test has built them).
build-windows:
	tools/install-deps.sh windows
	[ -f build/test/CMakeCache.txt ] || $(PLAIN_CONFIGURE)
	cmake --build build/test -j $(JOBS) --target timeline_moments scenes_judge audio_disk_check \
	  close_window console_clock
	$(WINDOWS_CONFIGURE) -DHERALD_NATIVE_BUILD=$(CURDIR)/build/test
	cmake --build build/windows -j $(JOBS) --target windows_zip set_window_size

# Two Wine tests at a time: they run beside the next builds, and with four a Wine program on
# the two cores drew too few frames for a screenshot to meet its candidates.
check-windows:
	ctest --test-dir build/windows --output-on-failure -j 2

# The browser build: SDL2 built once for Emscripten from Debian's source package (build/web-sdl2),
# then both programs and the page into build/web, the page with the party's facts made by the
# native invitation_facts tool (build/release). Emscripten's tools need Debian's Node.js modules,
# and run on Debian's own Python: a python3 found first in PATH (a version manager's shim, say)
# costs a quarter of a second more on each of the thousands of compiler calls of the build.
WEB_ENV = NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
WEB_PORT ?= 8025

web:
	tools/install-deps.sh web
	$(TOOLS_CONFIGURE)
	cmake --build $(TOOLS_TREE) -j $(JOBS) --target invitation_facts
	sdl2=$$($(WEB_ENV) JOBS=$(JOBS) tools/build-sdl2.sh emscripten build/web-sdl2) && \
	  $(WEB_ENV) emcmake cmake -C web/emscripten_compile.cmake -S . -B build/web-build \
	    -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
	    -DHERALD_WERROR=ON -DSDL2_DIR=$$sdl2/lib/cmake/SDL2 -DHERALD_WEB_OUTPUT=$(CURDIR)/build/web \
	    -DHERALD_WEB_FACTS_TOOL=$(CURDIR)/$(TOOLS_TREE)/tools/invitation/invitation_facts
	$(WEB_ENV) cmake --build build/web-build -j $(JOBS)

# The browser version as one file that plays from disk: build/web-file/vexal25-herald.html.
web-file: web
	$(WEB_ENV) cmake -B build/web-build -DHERALD_WEB_FILE_OUTPUT=$(CURDIR)/build/web-file
	$(WEB_ENV) cmake --build build/web-build -j $(JOBS) --target web_file

# Serves build/web on 127.0.0.1 (port WEB_PORT) and prints the address to open.
serve-web: web
	node web/serve.mjs build/web $(WEB_PORT)

# The browser tests in headless Chromium, one line per test, with the native tools of the test
# build (the timeline's moments, the screenshot judge, the song); the whole 114-second run goes
# beside the others. Node's test runner reports in TAP when its output is a log, and in its
# readable form on a terminal.
build-web:
	[ -f build/test/CMakeCache.txt ] || $(PLAIN_CONFIGURE)
	$(MAKE) --no-print-directory web-file TOOLS_TREE=build/test
	cmake --build build/test -j $(JOBS) --target timeline_moments scenes_judge export_wav check_invitation_texts
	cd web && npm ci --no-audit --no-fund

check-web:
	build/test/tools/invitation/check_invitation_texts html build/web/index.html
	node --test --test-concurrency=2 tests/web/*.test.mjs

# The release archive without the video, checked as a visitor unpacks it: its layout, the info
# file against the program's texts and the screenshot against its frame, with the check tools of
# the test build.
build-release:
	[ -f build/test/CMakeCache.txt ] || $(PLAIN_CONFIGURE)
	$(MAKE) --no-print-directory release-zip TOOLS_TREE=build/test
	cmake --build build/test -j $(JOBS) --target check_invitation_texts screenshot

check-release:
	tests/release/archive_test.sh build/dist/vexal25-herald.zip build/test

clean:
	rm -rf build
