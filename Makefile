# Thin front to CMake. `make run` and `make test` are the two entry points.
JOBS ?= 2
CMAKE_FLAGS ?=
# `make install` puts the program under PREFIX (below DESTDIR when given, for packaging);
# `make uninstall` removes what the last install from build/release put there.
PREFIX ?= /usr/local
DESTDIR ?=

.PHONY: all deps release run test debug bench fuzz format clean install uninstall

all: release

deps:
	@bash scripts/install-deps.sh

release: deps
	cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWMERE_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build build/release -j $(JOBS)

run: release
	bash scripts/run.sh build/release

test: deps
	cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLOWMERE_SANITIZE=address,undefined $(CMAKE_FLAGS)
	cmake --build build/asan -j $(JOBS)
	cd build/asan && ctest --output-on-failure -j $(JOBS)
	# The engine link again under ThreadSanitizer: its suites and the UCI bridge only (label engine_link).
	cmake -S . -B build/tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTALLOWMERE_SANITIZE=thread $(CMAKE_FLAGS)
	cmake --build build/tsan -j $(JOBS) --target test_engine test_engine_link test_ucibridge
	cd build/tsan && ctest --output-on-failure -j $(JOBS) -L engine_link

bench: deps
	cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTALLOWMERE_TESTS=OFF -DTALLOWMERE_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build/bench -j $(JOBS)
	@echo "Benchmarks are in build/bench/bin"

install: release
	DESTDIR="$(DESTDIR)" bash scripts/install.sh install build/release "$(PREFIX)"

uninstall:
	DESTDIR="$(DESTDIR)" bash scripts/install.sh uninstall build/release

fuzz:
	@bash scripts/install-deps.sh --extras
	CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLOWMERE_GUI=OFF -DTALLOWMERE_TESTS=OFF -DTALLOWMERE_FUZZ=ON $(CMAKE_FLAGS)
	cmake --build build/fuzz -j $(JOBS)
	@echo "Fuzz targets are in build/fuzz/bin; see tests/fuzz/README.md"

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
