# The two commands users type: `make run` and `make test`. Both install what is missing first.
BUILD_DIR ?= build
JOBS ?= 2

PACKAGES := qt6-base-dev qt6-charts-dev libqt6opengl6-dev libqt6sql6-sqlite libxlsxwriter-dev \
	fonts-noto-cjk qt6-translations-l10n libgtest-dev libgmock-dev libbenchmark-dev cmake \
	ninja-build pkg-config g++ python3-openpyxl poppler-utils xvfb

SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test deps build configure bench clean install deb

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg-query -W -f='$${Status}' $$p 2>/dev/null | grep -q "ok installed" || missing="$$missing $$p"; \
	done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq --no-install-recommends $$missing; \
	fi

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

clean:
	rm -rf $(BUILD_DIR)

install: build
	$(SUDO) cmake --install $(BUILD_DIR)

# A Debian package of a Release build, with its dependencies declared.
deb: deps
	cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQINGHE_TESTS=OFF -DCMAKE_INSTALL_PREFIX=/usr
	cmake --build build-release -j $(JOBS)
	cd build-release && cpack -G DEB
