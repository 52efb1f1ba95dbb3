# The two commands of this project:
#   make run   installs what is missing, builds in Release and starts vexal25-herald
#   make test  installs what the tests need too, builds and runs every test through CTest, the
#              same tests under AddressSanitizer and UndefinedBehaviorSanitizer, the programs
#              under ThreadSanitizer, and the module fuzzer for a minute
# Each channel has its own target: web, web-file, windows, linux, video, release. Each stage of
# make test has test-STAGE (build-STAGE, then check-STAGE). docs/ says more of each.
JOBS ?= $(shell nproc)
# Every build tree is made for Ninja, SDL2's in scripts/build-sdl2.sh included, unless the
# environment names another generator (a tree made before keeps the generator it was made with).
# Ninja starts each compiler itself, where CMake's makefiles run make again for every target and
# scan dependencies on their own: a tenth less time for a whole build, and less for each of
# SDL2's 160 configuration checks, each a small build of its own.
export CMAKE_GENERATOR ?= Ninja
FUZZ_SECONDS ?= 3600

# What each channel makes, and where. Everything else (the build files, the packer, the tests)
# is handed these paths.
WINDOWS_ZIP = build/windows/vexal25-herald-windows-x86_64.zip
LINUX_FOLDER = build/linux/vexal25-herald-linux-x86_64
WEB_SITE = build/web
WEB_FILE = build/web-file/vexal25-herald.html
VIDEO = build/video/vexal25-herald.mp4
DIST = build/dist

# The stages of make test, each checked in a build directory of its own, with the package groups
# of scripts/install-deps.sh that each needs.
# The checks that wait longest on the clock (whole runs of the programs, Wine, the browser) belong
# to the early stages and run beside the later builds; the last builds' checks are short. The
# AddressSanitizer build, the costliest, comes second, beside the plain checks' programs, which
# run 10 steps nicer: built after the browser's, beside the browser checks, it took 383 s and
# 441 s instead of about 210. The style checks come last, beside those short checks: they need
# only processor time, and beside the builds they took it from the programs under test, which
# then started too slowly for their tests' time limits.
STAGES = plain asan web windows linux tsan fuzz release style
packages_plain = test
packages_asan = test
packages_web = test web
packages_windows = test windows
packages_linux = test linux linux-test
packages_tsan = test
packages_fuzz = test
packages_release = test release
packages_style = test style

# The native tools the page, the read-mes and the release are made with (the party facts, the
# info file, the screenshot) come from a Release tree of their own; the test stages take them
# from the plain test tree, which builds the same tools from the same sources with the same flags.
TOOLS_TREE ?= build/release
TOOLS_CONFIGURE = [ -f $(TOOLS_TREE)/CMakeCache.txt ] || \
  cmake -S . -B $(TOOLS_TREE) -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
FACTS_TOOL = $(CURDIR)/$(TOOLS_TREE)/bin/invitation_facts
# The channels' build files fill their pages and read-mes with it.
BUILD_FACTS_TOOL = $(TOOLS_CONFIGURE) && cmake --build $(TOOLS_TREE) -j $(JOBS) --target invitation_facts

.PHONY: run run-drawable build video release release-zip release-tools test test-deps fuzz linux \
  windows web web-file serve-web web-tests-env test-under-load native-helpers clean $(foreach s,$(STAGES),test-$(s) build-$(s) check-$(s))

build:
	scripts/install-deps.sh run
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

# Without a sound output the program ends at once with status 1; run-demo.sh says so.
run: build
	@cmake --build build/release --target run

run-drawable: build
	@cmake --build build/release --target run-drawable

# The whole demo for a video site, 1920 x 1080 at 60 fps, H.264 and AAC in MP4. capture --help
# lists the capture's options.
video:
	scripts/install-deps.sh capture
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS) --target capture
	mkdir -p $(dir $(VIDEO))
	build/release/bin/capture --output $(VIDEO)

# The native tools of the info file and the screenshot.
release-tools:
	$(TOOLS_CONFIGURE)
	cmake --build $(TOOLS_TREE) -j $(JOBS) --target invitation_facts screenshot

# The archive the scene publishes, $(DIST)/vexal25-herald.zip (the Windows programs, the Linux
# folder, the browser version in one file, the info file, the screenshot and the licences), made
# from the pieces the targets it needs have built; release/pack-release.sh only assembles them.
# make release puts the video beside it. A failed step says which in one line and leaves no
# partial archive.
RELEASE_PIECES = WINDOWS_ZIP=$(WINDOWS_ZIP) LINUX_FOLDER=$(LINUX_FOLDER) WEB_FILE=$(WEB_FILE) VIDEO=$(VIDEO) DIST=$(DIST)
PACK_ENV = $(RELEASE_PIECES) TOOLS_TREE=$(TOOLS_TREE)
release-zip: windows linux web-file release-tools
	scripts/install-deps.sh release
	$(PACK_ENV) release/pack-release.sh zip

# make video renders the whole demo every time; a video newer than the capture that made it is
# still what it would render (the program's whole picture and song are built into the capture),
# so the release reuses it.
release: release-zip
	scripts/install-deps.sh capture
	cmake --build build/release -j $(JOBS) --target capture
	[ $(VIDEO) -nt build/release/bin/capture ] || $(MAKE) --no-print-directory video
	$(PACK_ENV) release/pack-release.sh video

# Every check, each stage in its own build directory: the plain build with the whole suite, the
# AddressSanitizer build with the suite and the soak runs, the ThreadSanitizer build with the
# audio thread running, a minute of fuzzing, the Windows programs under Wine, the browser build
# in headless Chromium, the Linux folder in a Debian system of its own, the release archive and
# the style checks. scripts/test-all.sh builds them one after the other with every core and runs
# each build's checks in the background while the next builds.
# While the first stages build, the later stages' packages install and the Linux folder's test
# system is made, once per machine (a minute of downloading and unpacking, at a lower priority
# than the builds). Should that fail, the test that needs the system makes it again and says why.
PREPARE_BESIDE = scripts/install-deps.sh $(sort $(foreach s,$(STAGES),$(packages_$(s)))) && \
  { nice -n 10 tests/linux/make_chroot.sh build/linux-chroot || true; }
test:
	scripts/install-deps.sh $(packages_plain)
	scripts/test-all.sh --prepare-beside "$(PREPARE_BESIDE)" $(STAGES)

# make test with a CPU-bound loop of normal priority running beside it for the whole command, as
# on a busy machine; RUNS times in a row (default 2), each from a fresh clone of HEAD.
RUNS ?= 2
test-under-load:
	scripts/test-under-load.sh $(RUNS)

test-deps:
	scripts/install-deps.sh $(packages_plain) $(packages_style)

# Each stage alone: test-STAGE is build-STAGE (which installs the stage's packages first) then
# check-STAGE.
$(addprefix test-,$(STAGES)): test-%:
	$(MAKE) build-$*
	$(MAKE) check-$*

# The test stages take the native tools from the plain test tree.
$(addprefix build-,$(STAGES)) $(addprefix check-,$(STAGES)): TOOLS_TREE = build/test

# The plain tree holds the release's check too, told where the release's pieces are.
space := $(subst ,, )
PLAIN_CONFIGURE = cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
  "-DHERALD_RELEASE_PIECES=$(subst $(space),;,$(RELEASE_PIECES))"

build-plain:
	scripts/install-deps.sh $(packages_plain)
	$(PLAIN_CONFIGURE)
	cmake --build build/test -j $(JOBS)

# The long tests mostly wait on the clock beside each other; the rest are quick or use every core.
# The style checks and the release's are stages of their own.
check-plain:
	ctest --test-dir build/test --output-on-failure -j 8 -LE 'style|release'

# clang-format and clang-tidy over the plain build's sources (build-plain made its database).
build-style:
	scripts/install-deps.sh $(packages_style)
	[ -f build/test/compile_commands.json ] || $(MAKE) build-plain

check-style:
	ctest --test-dir build/test --output-on-failure -L style

build-asan:
	scripts/install-deps.sh $(packages_asan)
	cmake -S . -B build/asan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=address,undefined
	cmake --build build/asan -j $(JOBS)

# Every test but the long ones and the style checks (the plain run has done those), and beside
# them, started first, a whole run of each program with the window pushed around.
check-asan:
	ctest --test-dir build/asan --output-on-failure -j $$(($(JOBS) + 2)) -LE 'long|style'

# Only the two programs are built: the test is theirs, with the audio thread running.
build-tsan:
	scripts/install-deps.sh $(packages_tsan)
	cmake -S . -B build/tsan -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON \
	  -DHERALD_SANITIZE=thread
	cmake --build build/tsan -j $(JOBS) --target programs

check-tsan:
	ctest --test-dir build/tsan --output-on-failure -j 2 -L threads

# The fuzz build: clang's libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer.
FUZZ_CONFIGURE = cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=clang++-14 \
  -DBUILD_TESTING=OFF -DHERALD_WERROR=ON -DHERALD_SANITIZE=address,undefined -DHERALD_FUZZ=ON

# The module fuzzer for 60 s from the committed seeds, and the check that the seeds are current.
build-fuzz:
	scripts/install-deps.sh $(packages_fuzz)
	$(FUZZ_CONFIGURE) -DHERALD_FUZZ_SECONDS=60
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz make_corpus

check-fuzz:
	ctest --test-dir build/fuzz --output-on-failure -j $(JOBS) -L fuzz
	@grep -E '^(#[0-9]+|stat::|module fuzzer:)' build/fuzz/Testing/Temporary/LastTest.log

# A long fuzzing session (an hour by default); what it finds accumulates in build/fuzz/corpus.
fuzz: test-deps
	$(FUZZ_CONFIGURE)
	cmake --build build/fuzz -j $(JOBS) --target module_fuzz
	scripts/run-fuzz.sh build/fuzz/bin/module_fuzz $(FUZZ_SECONDS) build/fuzz/corpus

# The native build whose helpers the channels' checks run (the timeline's moments, the screenshot
# judge, the song checker, ...): make test's plain tree, with its helpers built.
native-helpers:
	[ -f build/test/CMakeCache.txt ] || $(PLAIN_CONFIGURE)
	cmake --build build/test -j $(JOBS) --target helpers

# Linux: both programs for any x86-64 Linux desktop with glibc 2.35 or newer, against SDL2 built
# once from Debian's source package as a shared library (build/linux-sdl2), laid out with that
# library and the visitor's read-me in LINUX_FOLDER.
LINUX_CONFIGURE = $(BUILD_FACTS_TOOL) && \
  cmake -S . -B build/linux -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DHERALD_WERROR=ON \
  -DHERALD_LINUX_FOLDER=ON -DHERALD_LINUX_FOLDER_OUTPUT=$(CURDIR)/$(LINUX_FOLDER) -DHERALD_FACTS_TOOL=$(FACTS_TOOL) \
  -DSDL2_DIR=$(CURDIR)/build/linux-sdl2/install/lib/cmake/SDL2

linux:
	scripts/install-deps.sh linux
	JOBS=$(JOBS) scripts/build-sdl2.sh linux build/linux-sdl2 >/dev/null
	$(LINUX_CONFIGURE)
	cmake --build build/linux -j $(JOBS) --target linux_folder

# The folder in a minimal Debian 13 system of its own (build/linux-chroot, made once by the
# checks), with the end-to-end scripts and the helpers of the native test build.
build-linux:
	scripts/install-deps.sh $(packages_linux)
	$(MAKE) --no-print-directory native-helpers
	$(MAKE) --no-print-directory linux TOOLS_TREE=build/test
	$(LINUX_CONFIGURE) -DHERALD_NATIVE_BUILD=$(CURDIR)/build/test -DHERALD_LINUX_CHROOT=$(CURDIR)/build/linux-chroot

check-linux:
	ctest --test-dir build/linux --output-on-failure -j 2

# Windows: both programs cross-built with MinGW-w64 against SDL2 built once from Debian's source
# package (build/windows-sdl2), packed with the visitor's read-me into WINDOWS_ZIP.
WINDOWS_CONFIGURE = $(BUILD_FACTS_TOOL) && \
  cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=windows/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DHERALD_WERROR=ON \
  -DHERALD_WINDOWS_ZIP=$(CURDIR)/$(WINDOWS_ZIP) -DHERALD_FACTS_TOOL=$(FACTS_TOOL) \
  -DSDL2_DIR="$$(JOBS=$(JOBS) scripts/build-sdl2.sh mingw build/windows-sdl2)/lib/cmake/SDL2"

windows:
	scripts/install-deps.sh windows
	$(WINDOWS_CONFIGURE)
	cmake --build build/windows -j $(JOBS) --target windows_zip

# The zip's programs under Wine, each test in its own Xvfb display and Wine prefix, judged and
# compared with the song by the helpers of the native test build.
build-windows:
	scripts/install-deps.sh $(packages_windows)
	$(MAKE) --no-print-directory native-helpers
	$(WINDOWS_CONFIGURE) -DHERALD_NATIVE_BUILD=$(CURDIR)/build/test
	cmake --build build/windows -j $(JOBS) --target windows_zip set_window_size

# Two Wine tests at a time: they run beside the next builds, and with four a Wine program on
# the two cores drew too few frames for a screenshot to meet its candidates.
check-windows:
	ctest --test-dir build/windows --output-on-failure -j 2

# The browser build: SDL2 built once for Emscripten from Debian's source package (build/web-sdl2),
# then both programs and the page into WEB_SITE, the page with the party's facts made by the
# native invitation_facts tool. Emscripten's tools need Debian's Node.js modules, and run on
# Debian's own Python: a python3 found first in PATH (a version manager's shim, say) costs a
# quarter of a second more on each of the thousands of compiler calls of the build.
WEB_ENV = NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
WEB_PORT ?= 8025

WEB_CONFIGURE = $(BUILD_FACTS_TOOL) && \
  $(WEB_ENV) emcmake cmake -C web/emscripten_compile.cmake -S . -B build/web-build \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DHERALD_WERROR=ON \
  -DHERALD_WEB_OUTPUT=$(CURDIR)/$(WEB_SITE) -DHERALD_WEB_FILE=$(CURDIR)/$(WEB_FILE) -DHERALD_FACTS_TOOL=$(FACTS_TOOL) \
  -DSDL2_DIR="$$($(WEB_ENV) JOBS=$(JOBS) scripts/build-sdl2.sh emscripten build/web-sdl2)/lib/cmake/SDL2"

web:
	scripts/install-deps.sh web
	$(WEB_CONFIGURE)
	$(WEB_ENV) cmake --build build/web-build -j $(JOBS)

# The browser version as one file that plays from disk.
web-file: web
	$(WEB_ENV) cmake --build build/web-build -j $(JOBS) --target web_file

# Serves WEB_SITE on 127.0.0.1 (port WEB_PORT) and prints the address to open.
serve-web: web
	node web/serve.mjs $(WEB_SITE) $(WEB_PORT)

# The browser tests in headless Chromium (tests/web), each file of them a test of the browser
# build's tree, with the helpers of the native test build; the whole run goes beside the others.
build-web:
	scripts/install-deps.sh $(packages_web)
	$(MAKE) --no-print-directory native-helpers
	$(MAKE) --no-print-directory web-file TOOLS_TREE=build/test
	$(WEB_CONFIGURE) -DHERALD_NATIVE_BUILD=$(CURDIR)/build/test
	cd web && npm ci --no-audit --no-fund

check-web:
	ctest --test-dir build/web-build --output-on-failure -j 2

# The browser tests' environment, for the measurements in bench/ that drive the page the same way.
web-tests-env:
	@echo HERALD_WEB_SITE=$(WEB_SITE) HERALD_WEB_FILE=$(WEB_FILE) HERALD_NATIVE_BUILD=build/test

# The release archive without the video, checked as a visitor unpacks it: its layout, the info
# file against the program's texts and the screenshot against its frame, with the helpers of the
# test build.
build-release:
	scripts/install-deps.sh $(packages_release)
	$(MAKE) --no-print-directory native-helpers
	$(MAKE) --no-print-directory release-zip TOOLS_TREE=build/test

check-release:
	ctest --test-dir build/test --output-on-failure -L release

clean:
	rm -rf build
