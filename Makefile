# The two commands a user needs. Each installs what is missing, configures and builds as needed.
PRESET ?= release
BUILD := build/$(PRESET)
JOBS ?= $(shell nproc 2>/dev/null || echo 2)

.PHONY: all bootstrap configure build program demo test asan-test tsan-test fuzz coverage mutation format format-check bench clean

all: build

bootstrap:
	@scripts/bootstrap

$(BUILD)/CMakeCache.txt: | bootstrap
	cmake --preset $(PRESET)

configure: bootstrap $(BUILD)/CMakeCache.txt

build: configure
	cmake --build --preset $(PRESET) -j $(JOBS)

# The program alone: what the demo needs, without the tests and benchmarks.
program: configure
	cmake --build --preset $(PRESET) -j $(JOBS) --target vermil

# Renders every scene of examples/ into out/, and the chart of the colour blend methods.
demo: program
	@mkdir -p out
	@for scene in examples/*.json; do \
	  name=$$(basename $$scene .json); \
	  $(BUILD)/src/app/vermil render $$scene -o out/$$name.png || exit 1; \
	done
	$(BUILD)/src/app/vermil blend-chart out/blend_chart.png
	$(BUILD)/src/app/vermil brush-preview examples/still_life_painted.json --brush glazePaint -o out/brush_preview.png

test: build
	ctest --preset $(PRESET) -j $(JOBS)

asan-test: bootstrap
	cmake --preset asan
	cmake --build --preset asan -j $(JOBS)
	ctest --preset asan -j $(JOBS)

# The tests that render or paint on several threads, under ThreadSanitizer (the host on
# std::thread workers: see the tsan preset). Any report fails the run.
TSAN_TESTS := ThreadCount|ScanlineThreads|ShadingThreads|Multipass\.FramesFollow|MaterialFrame\.(Strokes|Painted)|SampleGrid\.Threads|ShadeContextPool|StrokesAhead|WorkerPool|Locks\.|LineEffect\.SamePixels|ConcurrentWriters|FrameWriter
TSAN_TARGETS := vermil app_tests standalone_tests scanline_tests renderer_store_tests renderer_tests material_shading_tests shell_tests line_effect_tests host_tests

tsan-test: bootstrap
	cmake --preset tsan
	cmake --build --preset tsan -j $(JOBS) --target $(TSAN_TARGETS)
	ctest --preset tsan -j $(JOBS) -R '$(TSAN_TESTS)'

# Builds the libFuzzer harnesses and runs each for FUZZ_SECONDS on a copy of its seed corpus;
# fails when any of them finds a crash (docs/fuzzing.md).
FUZZ_SECONDS ?= 60
fuzz: bootstrap
	cmake --preset fuzz
	cmake --build --preset fuzz -j $(JOBS)
	scripts/run-fuzzers $(FUZZ_SECONDS)

# Line and branch coverage of src/ by the tests (the coverage preset: gcc --coverage, no
# optimisation): totals, a summary per folder, and an HTML report in build/coverage/html/.
# Counts start from zero on every run. A failing test still gets its report, then fails the target.
COVERAGE := build/coverage
coverage: bootstrap
	cmake --preset coverage
	cmake --build --preset coverage -j $(JOBS)
	find $(COVERAGE) -name '*.gcda' -delete
	@status=0; ctest --preset coverage -j $(JOBS) || status=$$?; \
	rm -rf $(COVERAGE)/html && mkdir -p $(COVERAGE)/html && \
	gcovr --root . --filter src/ --exclude tests/ --exclude fuzz/ --exclude bench/ --exclude build/ \
	  --exclude-unreachable-branches --exclude-throw-branches -j $(JOBS) \
	  --html-details $(COVERAGE)/html/index.html --json-summary $(COVERAGE)/summary.json \
	  --print-summary $(COVERAGE) && \
	scripts/coverage-summary $(COVERAGE)/summary.json && \
	if [ $$status -ne 0 ]; then echo "coverage: some tests failed (above); the figures are of that run" >&2; fi; \
	exit $$(( status || $$? ))

# Plants each fault of scripts/mutations.txt in turn in a scratch worktree and records whether a
# test catches it (scripts/mutation-test; MUTATION_ARGS="--only 1,5-9" runs some). Long: run it
# under nice on a shared machine.
MUTATION_ARGS ?=
mutation: bootstrap
	scripts/mutation-test $(MUTATION_ARGS)

format:
	git ls-files '*.h' '*.cpp' | xargs clang-format -i

format-check:
	git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror

bench: build
	@for b in $(BUILD)/bench/*_bench; do echo "== $$b"; $$b --benchmark_min_time=0.2; done

clean:
	rm -rf build out
