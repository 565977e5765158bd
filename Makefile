# Two commands do everything on a fresh Debian or Ubuntu machine:
#   make run   install what is missing, build, start the game
#   make test  install what is missing (test tools too), build, run every test suite
BUILD ?= build
JOBS  ?= 2

.PHONY: run test build setup setup-test bench clean

run: setup build
	$(BUILD)/velmora

test: setup-test build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

bench: setup-test build
	QT_QPA_PLATFORM=offscreen $(BUILD)/bench/bench_velmora
	tests/x11/run-on-display.sh bench/startup.sh $(BUILD)/bench/bare_window bare
	tests/x11/run-on-display.sh bench/startup.sh $(BUILD)/velmora "תוכנת ה Velmora של צוות הבית"

build:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j$(JOBS)

setup:
	scripts/setup.sh

setup-test:
	scripts/setup.sh --test

clean:
	rm -rf $(BUILD)
