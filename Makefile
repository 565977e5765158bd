# Two commands do everything on a fresh Debian or Ubuntu machine:
#   make run   install what is missing, build, start the game
#   make test  install what is missing (test tools too), build, run every test suite,
#              then the offscreen suites, the main real-window suite and the screen
#              reader's again against a build under ASan, LSan and UBSan
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
JOBS  ?= 2
SANITIZERS = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
             LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
             UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

.PHONY: run test build build-sanitize setup setup-test bench soak package reproducible lint clean first-run \
        windows test-windows

run: setup build
	$(BUILD)/velmora

test: setup-test build build-sanitize
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)
	cd $(SANITIZE_BUILD) && $(SANITIZERS) QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS) -L 'offscreen|sanitized'

# make test builds with warnings as errors (so does CI, which runs it).
test: WERROR = ON
WERROR ?= OFF

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELMORA_WERROR=$(WERROR)
	cmake --build $(BUILD) -j$(JOBS)

build-sanitize:
	cmake -S . -B $(SANITIZE_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON -DVELMORA_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD) -j$(JOBS) --target offscreen_suites

# The Debian package, build/velmora_<version>-1_amd64.deb.
package: setup-test build
	cd $(BUILD) && cpack

# A newcomer's first make test rehearsed on the last commit, in a new clone
# (scripts/first-run.sh says how); FIRST_RUN_ARGS="--busy 5" for five in a row
# with both cores busy.
first-run:
	scripts/first-run.sh $(FIRST_RUN_ARGS)

# The package of the last commit built in two folders: the same to the bit.
reproducible: setup-test
	JOBS=$(JOBS) scripts/reproducible.sh

# 100,000 random player actions under the sanitizers.
soak: setup-test build-sanitize
	cd $(SANITIZE_BUILD) && $(SANITIZERS) QT_QPA_PLATFORM=offscreen \
	    VELMORA_RANDOM_SEEDS=101,102,103,104 VELMORA_RANDOM_ACTIONS=25000 tests/tst_random -maxwarnings 1

# Start-up under four window managers, each alternated with a bare Qt window,
# then with the same window drawing the main window's captions.
bench: setup-test build
	cmake --build $(BUILD) -j$(JOBS) --target benchmarks
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_velmora
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_memory 10000
	for wm in openbox fluxbox xfwm4 icewm; do echo "== $$wm"; VELMORA_WM=$$wm \
	    tests/x11/run-on-display.sh $(BUILD)/bench/bench_startup $(BUILD)/velmora $(BUILD)/bench/bare_window 31; \
	    VELMORA_WM=$$wm tests/x11/run-on-display.sh $(BUILD)/bench/bench_startup $(BUILD)/velmora \
	    $(BUILD)/bench/bare_captions 31; done

# The house tools: every source formatted as .clang-format says, and the
# program code clean of clang-tidy's bugprone and performance checks.
lint:
	scripts/setup.sh --lint
	# compile_commands.json without GCC's precompiled headers, which clang cannot read
	cmake -S . -B $(BUILD)-lint -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON >/dev/null
	clang-format --dry-run -Werror $$(git ls-files '*.cpp' '*.h')
	run-clang-tidy -p $(BUILD)-lint -j $(JOBS) -quiet '$(CURDIR)/(app|game|controls|platform|windows)/.*\.cpp$$'

# Windows (opt-in, not part of make test): Qt 6.4.2 built for Windows from
# Debian's source once (about 20 minutes on two cores, cached in
# ~/.cache/velmora-windows), then build-windows/velmora-VERSION-setup.exe and
# build-windows/velmora-VERSION-windows-x86_64.zip.
windows:
	scripts/setup.sh --windows
	JOBS=$(JOBS) scripts/windows/build.sh

# The suites built for Windows under Wine, then the installer and the program
# under Wine on a display of its own; grabs in docs/windows/.
test-windows: windows
	JOBS=$(JOBS) scripts/windows/test.sh

setup:
	scripts/setup.sh

setup-test:
	scripts/setup.sh --test

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD) $(BUILD)-lint build-windows
