# The two commands users type: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= 2

# Every Debian 12 package that run, test, bench, deb and demo need, one a line in sorted order
# so that additions merge cleanly. A fresh system proves the list: make check-fresh.
PACKAGES :=
PACKAGES += cmake
PACKAGES += fonts-noto-cjk
PACKAGES += g++
PACKAGES += libbenchmark-dev
PACKAGES += libgmock-dev
PACKAGES += libgtest-dev
PACKAGES += libqt6opengl6-dev
PACKAGES += libqt6sql6-sqlite
PACKAGES += libsqlite3-dev
PACKAGES += libxlsxwriter-dev
PACKAGES += ninja-build
PACKAGES += pkg-config
PACKAGES += poppler-utils
PACKAGES += python3-openpyxl
PACKAGES += python3-pil
PACKAGES += qt6-base-dev
PACKAGES += qt6-charts-dev
PACKAGES += qt6-translations-l10n
PACKAGES += xauth
PACKAGES += xvfb
PACKAGES += zlib1g-dev

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: check-fresh run test deps build configure bench clean fuzz test-asan install deb demo screenshots

# Installs those of the Debian packages given that are missing.
define install-missing
@missing=""; for p in $(1); do \
  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
done; \
if [ -n "$$missing" ]; then \
  echo "Installing:$$missing"; \
  $(SUDO) apt-get update -qq && \
  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
fi
endef

deps:
	$(call install-missing,$(PACKAGES))

configure: deps
	@[ -f $(BUILD_DIR)/build.ninja ] || cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@if [ -z "$$DISPLAY" ] && [ -z "$$WAYLAND_DISPLAY" ]; then \
	  echo "No display found: start it inside a display, for example: xvfb-run -a make run"; exit 1; \
	fi
	./$(BUILD_DIR)/qinghe

test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

# A year of demo books (a small bakery 小店, password 1234, and a household 我家) in the data
# directory the program uses, or in DEMO_DIR. A directory that already holds ledgers is left
# alone unless DEMO_FORCE=1, which adds the two demo ledgers beside them (never over them).
demo: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target qinghe_demo
	./$(BUILD_DIR)/tools/qinghe_demo $(if $(DEMO_DIR),--data-dir "$(DEMO_DIR)") \
	  $(if $(filter 1,$(DEMO_FORCE)),--force)

# The README pictures, made offscreen from the demo books.
screenshots: configure
	BUILD_DIR=$(BUILD_DIR) tools/screenshots.sh

clean:
	rm -rf $(BUILD_DIR)

install: build
	$(SUDO) cmake --install $(BUILD_DIR)

# Proves on a freshly bootstrapped Debian 12 that the README's commands build, test, package and
# install the program (as root: tools/check-fresh.sh). debootstrap is a tool of the check only.
check-fresh:
	$(if $(SUDO),,$(call install-missing,debootstrap))
	tools/check-fresh.sh

# A Debian package of a Release build, with its dependencies declared.
deb: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQINGHE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build-release -j $(JOBS)
	cd build-release && cpack -G DEB

# Fuzzing the readers of outside bytes (libFuzzer, clang). Each target runs FUZZ_SECONDS;
# new inputs go to build-fuzz/corpus, the committed seeds in fuzz/corpus stay as they are.
# A crash leaves its input in build-fuzz/ (crash-*): copy it into
# tests/reliability/fixtures/<target>/ so that `make test` replays it from then on.
FUZZ_PACKAGES := clang libclang-rt-14-dev
FUZZ_DIR ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := $(shell sed -n 's/^set(QINGHE_FUZZ_TARGETS \(.*\))/\1/p' fuzz/targets.cmake)

fuzz: deps
	$(call install-missing,$(FUZZ_PACKAGES))
	@[ -f $(FUZZ_DIR)/build.ninja ] || cmake -S fuzz -B $(FUZZ_DIR) -G Ninja \
	  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
	cmake --build $(FUZZ_DIR) -j $(JOBS)
	@for t in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_DIR)/corpus/$$t; \
	  dirs="corpus/$$t"; \
	  for d in ../fuzz/corpus/$$t ../tests/reliability/fixtures/$$t; do \
	    [ -d $(FUZZ_DIR)/$$d ] && dirs="$$dirs $$d"; \
	  done; \
	  echo "== $$t: $(FUZZ_SECONDS) s"; \
	  (cd $(FUZZ_DIR) && ./$$t -max_total_time=$(FUZZ_SECONDS) -max_len=4096 \
	    -print_final_stats=1 $$dirs > $$t.log 2>&1); rc=$$?; \
	  grep -E '^(Done|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' $(FUZZ_DIR)/$$t.log; \
	  if [ $$rc != 0 ]; then echo "$$t failed: see $(FUZZ_DIR)/$$t.log"; exit $$rc; fi; \
	done

# The whole test suite once more under AddressSanitizer and UndefinedBehaviorSanitizer.
ASAN_DIR ?= build-asan
test-asan: deps
	@[ -f $(ASAN_DIR)/build.ninja ] || cmake -S . -B $(ASAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer" \
	  -DCMAKE_C_FLAGS="-fsanitize=address,undefined -fno-omit-frame-pointer" \
	  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
	cmake --build $(ASAN_DIR) -j $(JOBS)
	cd $(ASAN_DIR) && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# Benchmarks over generated ledgers (Release build): one table of medians at about 146,000
# and about 1,000,000 entries, with each operation's time over the bare SQL of the same
# operation, and the screens as drawn with their 95th percentiles. The ledgers are generated
# once and kept in $(BENCH_DIR)/bench-data. Builds and runs hold the shared build lock, so
# that the timings do not share the cores with a build.
BENCH_DIR ?= build-release-bench
BUILD_LOCK ?= flock /tmp/qinghe-build.lock
BENCH_QPA = QT_QPA_PLATFORM=$${QT_QPA_PLATFORM:-$$([ -n "$$DISPLAY$$WAYLAND_DISPLAY" ] || echo offscreen)}

bench: deps
	$(BUILD_LOCK) sh -c '[ -f $(BENCH_DIR)/build.ninja ] || cmake -S . -B $(BENCH_DIR) -G Ninja \
	  -DCMAKE_BUILD_TYPE=Release -DQINGHE_TESTS=OFF -DQINGHE_BENCH=ON; \
	  cmake --build $(BENCH_DIR) -j $(JOBS) --target qinghe_bench qinghe_startup qinghe_screen_bench'
	@for size in 146k 1m; do \
	  echo "== $$size entries"; \
	  (cd $(BENCH_DIR) && $(BUILD_LOCK) ./bench/qinghe_bench --size=$$size --cache=bench-data \
	    --benchmark_out=bench-$$size.json --benchmark_out_format=json \
	    > bench-$$size.log 2>&1) || { tail -20 $(BENCH_DIR)/bench-$$size.log; exit 1; }; \
	  echo "== $$size entries, screens"; \
	  (cd $(BENCH_DIR) && $(BENCH_QPA) $(BUILD_LOCK) ./bench/qinghe_screen_bench --size=$$size \
	    --cache=bench-data --benchmark_out=screens-$$size.json --benchmark_out_format=json \
	    > screens-$$size.log 2>&1) || { tail -20 $(BENCH_DIR)/screens-$$size.log; exit 1; }; \
	done
	@(cd $(BENCH_DIR) && $(BENCH_QPA) $(BUILD_LOCK) ./bench/qinghe_startup --cache=bench-data \
	  > startup.txt 2> startup.log) || { tail -20 $(BENCH_DIR)/startup.log; exit 1; }
	@/usr/bin/python3 bench/table.py $(BENCH_DIR)/bench-146k.json $(BENCH_DIR)/bench-1m.json \
	  --startup $(BENCH_DIR)/startup.txt \
	  --screens $(BENCH_DIR)/screens-146k.json $(BENCH_DIR)/screens-1m.json
