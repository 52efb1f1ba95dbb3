# The two commands of this project:
#   make run   installs what is missing, builds in Release and starts vexal25-herald
#   make test  installs what the tests need too, builds and runs every test through CTest
JOBS ?= $(shell nproc)

.PHONY: run run-drawable build test clean

build:
	tools/install-deps.sh run
	cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
	cmake --build build/release -j $(JOBS)

run: build
	./build/release/src/app/vexal25-herald

run-drawable: build
	./build/release/src/app/vexal25-herald-drawable

test:
	tools/install-deps.sh test
	cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=ON -DHERALD_WERROR=ON
	cmake --build build/test -j $(JOBS)
	ctest --test-dir build/test --output-on-failure -j $(JOBS)

clean:
	rm -rf build
