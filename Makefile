# make run   set up, build the program for Windows and start it under Wine
# make test  set up, build every target and run every test
BUILD ?= build
JOBS ?= $(shell nproc)
export ORVALEN_BUILD := $(abspath $(BUILD))

.PHONY: all setup native formc win32 win64 test run clean

all: win32

setup:
	@tools/setup

$(BUILD)/native/build.ninja: | setup
	cmake -S . -B $(BUILD)/native -G Ninja -DORVALEN_TARGET=native \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null

native: setup $(BUILD)/native/build.ninja
	cmake --build $(BUILD)/native -j $(JOBS)

formc: setup $(BUILD)/native/build.ninja
	$(if $(wildcard tools/formc/formc.cpp),cmake --build $(BUILD)/native -j $(JOBS) --target formc)

# The Windows targets: win32 (i686, the product) and win64 (x86_64), from the same sources.
define windows_target
$(BUILD)/$(1)/build.ninja: | setup
	cmake -S . -B $(BUILD)/$(1) -G Ninja -DORVALEN_TARGET=$(1) \
	  -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/$(2) >/dev/null

$(1): formc $(BUILD)/$(1)/build.ninja
	cmake --build $(BUILD)/$(1) -j $(JOBS)
endef
$(eval $(call windows_target,win32,mingw32.cmake))
$(eval $(call windows_target,win64,mingw64.cmake))

test: native win32 win64
	tools/run-tests $(BUILD) $(JOBS)

# The i686 program where the host runs it, else the x86_64 one.
run: setup
	@tools/run $(BUILD)

clean:
	rm -rf $(BUILD)/native $(BUILD)/win32 $(BUILD)/win64
