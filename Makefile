# Voltwise: the two everyday commands are `make run` and `make test`.
BUILD      ?= build
GENERATOR  ?= Ninja
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# Where `make install` puts the application (DESTDIR stages it elsewhere).
PREFIX     ?= /usr/local
# Test suites (CTest labels) that run under the sanitizers.
ASAN_SUITES ?= core|cli|config|platform|controller|net|rating|json|hardening|history|warnings
TSAN_SUITES ?= platform|controller|config|net|rating

.PHONY: all deps configure build run install test test-asan test-tsan bench clean

all: build

deps:
	@scripts/deps

configure: deps
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G $(GENERATOR) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# Builds and runs the application on its defaults.
run: configure
	cmake --build $(BUILD) -j $(JOBS) --target voltwise
	$(BUILD)/voltwise

# Builds and installs into PREFIX: bin/voltwise, share/voltwise/, the
# launcher entry, icons, AppStream metadata and the manual page.
install: build
	cmake --install $(BUILD) --prefix $(PREFIX)

# Builds and runs every test.
test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The ASAN_SUITES under AddressSanitizer + UndefinedBehaviorSanitizer.
test-asan: deps
	@test -f build-asan/build.ninja || cmake -S . -B build-asan -G $(GENERATOR) -DVW_SANITIZE=address -DVW_BUILD_BENCHMARKS=OFF
	cmake --build build-asan -j $(JOBS)
	ctest --test-dir build-asan --output-on-failure -j $(JOBS) -L '^($(ASAN_SUITES))$$' 

# The TSAN_SUITES under ThreadSanitizer.
test-tsan: deps
	@test -f build-tsan/build.ninja || cmake -S . -B build-tsan -G $(GENERATOR) -DVW_SANITIZE=thread -DVW_BUILD_BENCHMARKS=OFF
	cmake --build build-tsan -j $(JOBS)
	ctest --test-dir build-tsan --output-on-failure -j $(JOBS) -L '^($(TSAN_SUITES))$$' 

bench: build
	@ls $(BUILD)/bench/ 2>/dev/null | grep -E '^bench_' | while read b; do echo "== $$b"; $(BUILD)/bench/$$b; done

clean:
	rm -rf $(BUILD) build-asan build-tsan
