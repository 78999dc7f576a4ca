# make run   set up, build the program for Windows and start it under Wine
# make test  set up, build both targets and run every test
BUILD ?= build
JOBS ?= $(shell nproc)
export ORVALEN_BUILD := $(abspath $(BUILD))

.PHONY: all setup native formc win32 test run clean

all: win32

setup:
	@tools/setup

$(BUILD)/native/build.ninja: | setup
	cmake -S . -B $(BUILD)/native -G Ninja -DORVALEN_TARGET=native \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null

$(BUILD)/win32/build.ninja: | setup
	cmake -S . -B $(BUILD)/win32 -G Ninja -DORVALEN_TARGET=win32 \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw32.cmake >/dev/null

native: setup $(BUILD)/native/build.ninja
	cmake --build $(BUILD)/native -j $(JOBS)

formc: setup $(BUILD)/native/build.ninja
	$(if $(wildcard tools/formc/formc.cpp),cmake --build $(BUILD)/native -j $(JOBS) --target formc)

win32: formc $(BUILD)/win32/build.ninja
	cmake --build $(BUILD)/win32 -j $(JOBS)

test: native win32
	tools/run-tests $(BUILD) $(JOBS)

run: win32
	tools/wine-env $(BUILD)/win32/app/orvalen.exe

clean:
	rm -rf $(BUILD)/native $(BUILD)/win32
