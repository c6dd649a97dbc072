# Zelvane: `make run` shows ORVINTA on the bundled examples, `make test` runs
# every test headless. Both install what is missing first.
JOBS ?= 2
WIN64 := build/win64
WIN32 := build/win32
NATIVE := build/native
PREFIX := $(abspath $(WIN64)/wineprefix)
WITH_WINE := tools/with-wine.sh

.PHONY: all deps build run test test-native test-wine test-wine32 screenshot bench clean

all: build

deps:
	@tools/install-deps.sh

$(NATIVE)/CMakeCache.txt:
	cmake -S . -B $(NATIVE) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

$(WIN64)/CMakeCache.txt:
	cmake -S . -B $(WIN64) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DZEL_WINE_TESTS=ON >/dev/null

$(WIN32)/CMakeCache.txt:
	cmake -S . -B $(WIN32) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=MinSizeRel -DZEL_WINE_TESTS=ON >/dev/null

build: deps $(NATIVE)/CMakeCache.txt $(WIN64)/CMakeCache.txt $(WIN32)/CMakeCache.txt
	cmake --build $(NATIVE) -j$(JOBS)
	cmake --build $(WIN64) -j$(JOBS)
	@grep -q '^ZEL_WINE_TESTS:BOOL=ON' $(WIN32)/CMakeCache.txt || cmake $(WIN32) -DZEL_WINE_TESTS=ON >/dev/null
	cmake --build $(WIN32) -j$(JOBS)

# Needs a display (DISPLAY set); without one it runs on a private Xvfb.
run: build
	$(WITH_WINE) --display $(PREFIX) -- cmake/wine-run.sh $(WIN64)/ORVINTA.EXE examples\\source examples\\master

test: build installer test-native test-wine test-wine32

test-native:
	ctest --test-dir $(NATIVE) --output-on-failure

test-wine:
	$(WITH_WINE) $(PREFIX) $(WIN64)/keepalive.exe -- ctest --test-dir $(WIN64) --output-on-failure

# The shipped i686 build's tests, where 32-bit Wine runs; a one-line note elsewhere.
test-wine32:
	tools/wine32-tests.sh $(WIN32)

# The Windows installers: build/win32/ZelvaneSetup.exe (the shipped one) and
# build/win64/ZelvaneSetup.exe (x86_64, for the tests under Wine). Each packs
# both trees' ORVEXT.DLL, so both trees' libraries are built first.
.PHONY: installer
installer: deps $(WIN64)/CMakeCache.txt $(WIN32)/CMakeCache.txt
# (Two calls per tree: the first regenerates a tree made before this target.)
	cmake --build $(WIN32) -j$(JOBS) --target orvinta orvext
	cmake --build $(WIN64) -j$(JOBS) --target orvinta orvext
	cmake --build $(WIN32) -j$(JOBS) --target installer
	cmake --build $(WIN64) -j$(JOBS) --target installer

# Pictures of every window, dialog and menu on the examples, into docs/pictures/.
screenshot: build
	@tools/install-deps.sh imagemagick
	tools/screenshot.sh $(WIN64) docs/pictures

bench: deps $(NATIVE)/CMakeCache.txt $(WIN64)/CMakeCache.txt
	@tools/install-deps.sh hyperfine
	cmake --build $(NATIVE) -j$(JOBS) --target diffbench dirbench
	bench/run_bench.sh
	bench/run_dirbench.sh
	bench/first_paint.sh $(WIN64)
	bench/copy_throughput.sh $(WIN64)
	bench/monitor_burst.sh $(WIN64)

clean:
	rm -rf build
