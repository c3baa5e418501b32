# kydoru: `make` builds everything into dist/; `make test` builds and runs every test;
# `make demo` builds only the library and the demo, and shows it. Each first runs the
# bootstrap, which installs what a fresh machine lacks.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?=
# `make release SIGN_CERT=cert.pem SIGN_KEY=key.pem` signs what the archives ship.
SIGN_CERT ?=
SIGN_KEY ?=
# The demo's target: 64-bit unless ARGS names win32.
DEMO_ARCH := $(if $(filter win32,$(ARGS)),win32,win64)

.PHONY: all dist release demo test test64 bench bootstrap configure clean

all: dist

bootstrap:
	@bash tools/bootstrap.sh

# The compilers come from the bootstrap, so it runs first even under make -j.
$(BUILD)/win32/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD)/win32 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake $(CMAKE_FLAGS)

$(BUILD)/win64/CMakeCache.txt: | bootstrap
	cmake -S . -B $(BUILD)/win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake $(CMAKE_FLAGS)

configure: $(BUILD)/win32/CMakeCache.txt $(BUILD)/win64/CMakeCache.txt

dist: bootstrap configure
	cmake --build $(BUILD)/win32 -j $(JOBS)
	cmake --build $(BUILD)/win64 -j $(JOBS)
	rm -rf dist
	cmake --install $(BUILD)/win32 --prefix dist/win32
	cmake --install $(BUILD)/win64 --prefix dist/win64
	mkdir -p dist/include && cp library/exports.h dist/include/kydoru.h
	cp $(BUILD)/win64/include/kydoru_version.h dist/include/
	cp vba/kydoru.bas dist/include/
	mkdir -p dist/cmake && cp $(BUILD)/win64/package/*.cmake dist/cmake/
	@echo "dist/ is ready"

# The release archives and symbols archives, one each per target, and their checksums:
# dist/release/.
release: dist
	python3 tools/make_release.py dist . --sign-cert "$(SIGN_CERT)" --sign-key "$(SIGN_KEY)"

# Build the library, the demo and the logo's pictures (nothing else), then run the demo
# from the build folder: on your own display when there is one, else on a private display,
# saving a screenshot (build/demo-run/demo.png). ARGS passes options to the script.
demo: bootstrap $(BUILD)/$(DEMO_ARCH)/CMakeCache.txt
	cmake --build $(BUILD)/$(DEMO_ARCH) -j $(JOBS) --target kydoru kydemo logo_pictures
	bash tools/run-demo.sh --folder $(BUILD)/$(DEMO_ARCH)/bin $(ARGS)

# All tests: the 64-bit suite, the static checks and the 32-bit run under emulation.
# Some check what ships (dist/ and the release archives), so those are made first.
test: release
	bash tools/run-tests.sh $(BUILD)

# The 64-bit suite alone (quick; leaves out the emulated 32-bit run).
test64: release
	KY_SKIP_WIN32=1 bash tools/run-tests.sh $(BUILD)

# Benchmarks of the 64-bit build, run under Wine on the private display; they print figures.
bench: dist
	bash tools/run-bench.sh $(BUILD)/win64

clean:
	rm -rf $(BUILD) dist
